// Planted: a screen asking for a backend.
#include "store/bank/Bank.h"
#include "store/folder/FolderBank.h"
