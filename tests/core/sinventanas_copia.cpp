// Without a QApplication the scrambled copy still works (no wait cursor is set).
#include "General.h"

#include "entorno.h"

#include <gtest/gtest.h>

namespace {

TEST(SinVentanas, ScrambledCopyRoundTrip)
{
    entorno::Programa programa;
    const std::string ruta = programa.dir().file("Orvanta.mdb");
    testutil::writeFile(ruta, "datos sin contrase\xF1" "a");
    ASSERT_TRUE(GuardaBDCifrada(ruta, false, ""));
    EXPECT_FALSE(testutil::fileExists(ruta));
    ASSERT_TRUE(RecuperaBDCifrada(ruta));
    EXPECT_EQ(testutil::readFile(ruta), "datos sin contrase\xF1" "a");
}

} // namespace
