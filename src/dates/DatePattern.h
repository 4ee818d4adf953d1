// The compact form the date parser reads: full-width digits become ASCII, the date and
// time units after a number become letters, separators become marks
// (「２００３年１月１日」 -> "2003Y/1M/1D/", 「１０：３０」 -> "10t/30").
#pragma once

#include <string>
#include <string_view>

namespace nelo {

std::string ToDatePattern(std::string_view in);

}  // namespace nelo
