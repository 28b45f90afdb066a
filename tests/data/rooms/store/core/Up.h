#pragma once
// Planted: a low room reaching up.
#include "store/bank/Bank.h"
