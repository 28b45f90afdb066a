// In order: the application chooses the kind of bank.
#include "store/kinds/OpenBank.h"
#include "screens/Inicial.h"
