// Amounts as the user types or pastes them into a box: the one reading that every amount
// box of the program and of the items plug-in applies, so that what is stored is the
// number the box shows, or nothing.
//
// Separators are the regional ones (regional.h) unless the decimal separator is given: the
// decimal separator D and the other of ',' and '.', the thousands separator T. A text reads
// when, blanks around it aside, it holds only digits, D and T, and
//   - at most one D, with digits only after it;
//   - every T before D (or in the whole text) groups the integer digits in threes from
//     the right: "1.234.567,89", "1.234", the first group not beginning with 0 ("0.500",
//     "01.234" do not read);
//   - except that a text without D whose only T is followed by at most two digits takes
//     that T for D ("12.5", "12.50", "12."): a thousands point is always followed by
//     three digits, so such a T can mean nothing else.
// Text is Windows-1252 (any byte outside digits and separators makes it no number).
#pragma once

#include <string_view>

namespace amount {

// Why a text does not read.
enum class Error {
    None,
    Empty,      // only blanks
    NotANumber, // a character other than digits and separators, two D, or no digit
    Grouping,   // a T that does not group the integer digits in threes, or a first group led by 0
    Decimals,   // more decimals than the box takes
    Digits,     // more integer digits than the box takes
};

struct Reading {
    long long units = 0; // the amount in units of 10^-decimals; 0 unless error is None
    Error error = Error::None;
};

// The amount of the text for a box that takes at most `decimals` decimals (0 to 6) and
// `integerDigits` integer digits (1 to 12), leading zeros not counted.
Reading read(std::string_view text, int decimals, int integerDigits);
// The same with the decimal separator point (',' or '.') in place of the regional one.
Reading read(std::string_view text, int decimals, int integerDigits, char point);

} // namespace amount
