// The user's regional settings as the program applies them on screen and to typed text.
//
// They follow Qt's default locale (the system locale unless QLocale::setDefault changed
// it, as tests do). Only screen text uses them: numbers in SQL, in the database and in
// files always use "." and no grouping, and the C library's numeric locale stays "C".
#pragma once

#include <QString>

namespace regional {

// To be called before anything uses a locale (before the application object). When the
// environment gives no regional settings (its locale, LC_ALL else LC_MESSAGES else LANG as
// Qt takes it, is C, POSIX or none), Qt's system locale is read as Spanish of Spain, so that
// dates, numbers and Qt's own dialogs are Spanish. The environment is left as it was, and
// with it the C library's locale and that of the programs the process starts.
void spanishWithoutSettings();

// ',' or '.': the locale's decimal separator, '.' when it is any other character.
char decimalSeparator();

// The other of ',' and '.'.
char thousandsSeparator();

// The thousands separator that goes with the decimal separator decimal.
char thousandsSeparatorFor(char decimal);

// The locale's short date format (Qt pattern) with a two-digit day and month and a
// four-digit year ("dd/MM/yyyy" in Spain).
QString dateFormat();

} // namespace regional
