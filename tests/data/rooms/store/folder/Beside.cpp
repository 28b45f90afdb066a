// Planted: one backend naming the other.
#include "store/folder/FolderBank.h"
#include "store/server/ServerBank.h"
