// Regional settings follow Qt's default locale.
#include "regional.h"

#include <QLocale>
#include <cstdlib>
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

void Pon(const char *variable, const char *valor)
{
    if (valor)
        qputenv(variable, valor);
    else
        qunsetenv(variable);
}

// Qt reads the system locale once: each case runs in a process of its own.
TEST(Regional, AnEnvironmentWithoutRegionalSettingsIsReadAsSpanish)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char *lcAll, *lang, *sistema;
    } casos[] = {
        {nullptr, "C", "es_ES"},          {nullptr, "C.UTF-8", "es_ES"},     {nullptr, "POSIX", "es_ES"},
        {nullptr, nullptr, "es_ES"},      {"C", "en_US.UTF-8", "es_ES"},     {nullptr, "en_US.UTF-8", "en_US"},
        {"es_MX.UTF-8", "C", "es_MX"},
    };
    for (const auto &c : casos)
        EXPECT_EXIT(
            {
                Pon("LC_ALL", c.lcAll);
                Pon("LC_MESSAGES", nullptr);
                Pon("LANG", c.lang);
                regional::spanishWithoutSettings();
                const bool igual = qgetenv("LC_ALL") == QByteArray(c.lcAll) && qgetenv("LANG") == QByteArray(c.lang);
                std::exit(QLocale::system().name() == QLatin1String(c.sistema) && igual ? 0 : 1);
            },
            testing::ExitedWithCode(0), "")
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lang ? c.lang : "-") << ": the environment as it was";
}

} // namespace
