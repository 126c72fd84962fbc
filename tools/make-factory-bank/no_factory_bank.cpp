// The generator builds the bank it would otherwise load.
#include "product/factory_bank.h"

bool FactoryBankBytes(const void*&, int&) { return false; }
