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
    EXPECT_TRUE(regional::dateFormat().contains("yyyy"));
    EXPECT_FALSE(regional::dateFormat().contains("yyyyy"));

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(regional::decimalSeparator(), '.');
    EXPECT_EQ(regional::thousandsSeparator(), ',');
    QLocale::setDefault(saved);
}

} // namespace
