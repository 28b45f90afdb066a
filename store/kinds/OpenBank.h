#pragma once
// The bank at a location: the backend of its kind. The one place that looks at the kind.
#include "store/bank/Bank.h"
#include "store/core/BankLocation.h"

#include <memory>

// The bank at `where`: a data folder's or a server's. Nothing is opened or connected until a
// service of the bank is used.
std::shared_ptr<Bank> openBank(const BankLocation &where);
