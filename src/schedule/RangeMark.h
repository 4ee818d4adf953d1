// A start and an end written as one word: 「明日１０時～１２時」, 「１／５～１／１０」,
// 「１４：００－１６：００」. The word reads as if a blank stood at the mark.
#pragma once

#include <string>

/// Byte position of the mark that splits a phrase into a start and an end; npos when
/// there is none. A wave dash (～, 〜, or "~" made full-width) splits between any two
/// non-empty parts; a hyphen (－ or ‐) only between two times of day, so that
/// 「２００３－６－２」 stays one date. Every mark is two bytes.
std::string::size_type FindRangeMark(const std::string& phrase);
/// True when the phrase ends in a time of day: 「１０時」, 「１０時３０分」, 「１０：００」, 「正午」.
bool EndsInTimeOfDay(const std::string& phrase);
/// True when the phrase begins with a time of day, after an optional word such as 午後:
/// 「１２時」, 「１２：００」, 「午後３時」, 「正午」.
bool BeginsWithTimeOfDay(const std::string& phrase);
