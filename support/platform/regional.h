// The user's regional settings as the program applies them on screen and to typed text.
//
// They follow Qt's default locale (the system locale unless QLocale::setDefault changed
// it, as tests do). Only screen text uses them: numbers in SQL, in the database and in
// files always use "." and no grouping, and the C library's numeric locale stays "C".
#pragma once

#include <QString>

namespace regional {

// ',' or '.': the locale's decimal separator, '.' when it is any other character.
char decimalSeparator();

// The other of ',' and '.'.
char thousandsSeparator();

// The locale's short date format (Qt pattern) with a two-digit day and month and a
// four-digit year ("dd/MM/yyyy" in Spain).
QString dateFormat();

} // namespace regional
