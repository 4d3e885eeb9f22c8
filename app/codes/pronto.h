// Pronto hex: 16-bit hex words. The learned form is "0000", the carrier word (periods of 0.241246 us), the
// number of burst pairs sent once and of those repeated, then the pairs in carrier periods. The preset forms
// "5000" (RC5), "5001" (RC5x), "6000" (RC6) and "900A" (NEC) carry the protocol's fields instead.
#pragma once

#include <string>
#include <string_view>

#include "app/codes/ir_signal.h"

namespace codes {

// False with a reason for text that is not a code in one of these forms.
bool ReadPronto(std::string_view text, IrSignal& signal, std::string* error);

// The learned form. A part that ends on a burst gets the code's longest pause (at least 10 ms) after it, since
// every pair of the form ends on a pause.
std::string WritePronto(const IrSignal& signal);

}  // namespace codes
