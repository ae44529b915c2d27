// The reading of typed amounts under both regional settings.
#include "amount.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

TEST(Amount, TextsReadAsTheirSeparatorsSayOrAreRefused)
{
    using amount::Error;
    const struct {
        bool coma;
        const char *texto;
        int decimales;
        long long unidades;
        Error error;
    } casos[] = {
        {true, "0.500", 2, 0, Error::Grouping},
        {true, "00.500", 2, 0, Error::Grouping},
        {true, "0.001", 2, 0, Error::Grouping},
        {true, "0.123.456", 2, 0, Error::Grouping},
        {true, "01.234", 2, 0, Error::Grouping},
        {true, "012.345,6", 2, 0, Error::Grouping},
        {true, " 0.000 ", 2, 0, Error::Grouping},
        {true, "0.500", 0, 0, Error::Grouping},
        {true, "0.50", 2, 50, Error::None},
        {true, "00.50", 2, 50, Error::None},
        {true, "0.5", 2, 50, Error::None},
        {true, "0,5", 2, 50, Error::None},
        {true, "0,500", 2, 0, Error::Decimals},
        {true, "0", 2, 0, Error::None},
        {true, "1.234", 2, 123400, Error::None},
        {true, "12.500", 2, 1250000, Error::None},
        {true, "10.005", 0, 10005, Error::None},
        {true, "1.234,56", 2, 123456, Error::None},
        {true, "1.234.567,89", 2, 123456789, Error::None},
        {true, "1234", 2, 123400, Error::None},
        {true, "1.23.4", 2, 0, Error::Grouping},
        {true, "-5", 2, 0, Error::NotANumber},
        {true, "-0.500", 2, 0, Error::NotANumber},
        {false, "0,500", 2, 0, Error::Grouping},
        {false, "0,001", 2, 0, Error::Grouping},
        {false, "01,234.5", 2, 0, Error::Grouping},
        {false, "0,50", 2, 50, Error::None},
        {false, "0.5", 2, 50, Error::None},
        {false, "0.500", 2, 0, Error::Decimals},
        {false, "1,234", 2, 123400, Error::None},
        {false, "12,500", 0, 12500, Error::None},
        {false, "1,234.56", 2, 123456, Error::None},
        {false, "-0,5", 2, 0, Error::NotANumber},
    };
    const QLocale antes;
    for (const auto &c : casos) {
        QLocale::setDefault(c.coma ? QLocale(QLocale::Spanish, QLocale::Spain)
                                   : QLocale(QLocale::English, QLocale::UnitedStates));
        const amount::Reading leido = amount::read(c.texto, c.decimales, 10);
        EXPECT_EQ(leido.units, c.unidades) << c.texto << (c.coma ? " Spanish" : " English");
        EXPECT_EQ(int(leido.error), int(c.error)) << c.texto << (c.coma ? " Spanish" : " English");
    }
    QLocale::setDefault(antes);
}

} // namespace
