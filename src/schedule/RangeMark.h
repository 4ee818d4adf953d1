// A start and an end written as one word: 「明日１０時～１２時」, 「１／５～１／１０」,
// 「１４：００－１６：００」. The word reads as if a blank stood at the mark.
#pragma once

#include <string>

/// Byte position of the mark that splits a phrase into a start and an end; npos when
/// there is none. A wave dash (～, 〜, or "~" made full-width) splits between any two
/// non-empty parts; a hyphen (－ or ‐) only between two times of day, so that
/// 「２００３－６－２」 stays one date. Every mark is two bytes.
std::string::size_type FindRangeMark(const std::string& phrase);
