#pragma once
// In order: every include below its room.
#include "store/core/AppError.h"
#include "store/tables/Engine.h"
#include "store/bank/Bank.h"
