// The factory bank: an FXB image in chunk form built into the library.
#pragma once

// Points `data` at the bank's bytes; false when the library carries none.
bool FactoryBankBytes(const void*& data, int& size);
