// The template engine's start and end with the program.
#include "Aplicaplantillas.h"

#include "dll.h"
#include "plantillas.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

TEST(Aplicaplantillas, StartRegistersTheItemTypesAndEndUnloadsThem)
{
    testutil::TempDir dir;
    testutil::writeFile(dir.file("items.ini"), std::string("[Elemento_0]\nNombre=Etiqueta\nDLL=") + TEST_PLUGIN +
                                                   "\nFuncion=TestLabelFunc\n");
    EXPECT_EQ(IniciaPlantillas(dir.file("items.ini")), 0);
    EXPECT_EQ(PlTipoItemByName("Etiqueta"), 0) << "the plug-in cache was started before the registry";
    FinPlantillas();
    EXPECT_EQ(PlTipoItemByName("Etiqueta"), -1);
    EXPECT_EQ(DLLInstance(TEST_PLUGIN), nullptr) << "the cache is closed";
}

} // namespace
