#include "store/bank/Bank.h"

Bank::~Bank() = default;
