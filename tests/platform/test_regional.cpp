// Regional settings follow Qt's default locale.
#include "regional.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

TEST(Regional, SeparatorsAndDateFormatFollowTheDefaultLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    EXPECT_EQ(regional::decimalSeparator(), ',');
    EXPECT_EQ(regional::thousandsSeparator(), '.');
    EXPECT_EQ(regional::dateFormat(), "dd/MM/yyyy") << "fixed-width screen dates";

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(regional::decimalSeparator(), '.');
    EXPECT_EQ(regional::thousandsSeparator(), ',');
    EXPECT_EQ(regional::dateFormat(), "MM/dd/yyyy");
    QLocale::setDefault(saved);
}

} // namespace
