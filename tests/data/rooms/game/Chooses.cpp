// Planted: the game choosing a kind.
#include "store/kinds/OpenBank.h"
