// The number text of the calculator's answers and of the variables list.
#pragma once

#include <string>

namespace nelo {

/// Writes x with "%lf" and drops trailing zeros and a bare decimal point (ASCII text).
void FormatNumber(double x, std::string& text);

}  // namespace nelo
