// Traditional Japanese units of length, area, volume and weight converted to metric.
#pragma once

#include <string>

namespace nelo {

/// Factors by unit code (1 尺 … 10 斥); entry 0, the year code, is never used.
extern const double kUnitFactors[11];

/// Converts a quantity word such as 「１．５間」 (number part, then the unit character)
/// with the unit of code 1-10; 1 with the ASCII-digit sentence in out, 0 when the number
/// part is not a number.
int ConvertUnit(int code, const std::string& word, std::string& out);

/// "%lf" of the value with trailing zeros (and a bare point) removed, printed whole
/// however large the value is.
void FormatUnitNumber(double value, std::string& text);

}  // namespace nelo
