// JPEG files through libjpeg: what is written reads back, and failures leave nothing.
#include "jpeg.h"

#include "testutil.h"

#include <QColor>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

QString Ruta(const testutil::TempDir &dir, const char *nombre)
{
    return QString::fromStdString(dir.file(nombre));
}

TEST(Jpeg, APictureReadsBackWithItsSizeAndColours)
{
    testutil::TempDir dir;
    QImage imagen(64, 40, QImage::Format_ARGB32);
    imagen.fill(QColor(200, 40, 30));
    for (int y = 20; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            imagen.setPixelColor(x, y, QColor(20, 60, 220));
    const QString ruta = Ruta(dir, "ventana \xC3\xB1.jpg");
    ASSERT_TRUE(jpeg::write(ruta, imagen));
    EXPECT_FALSE(std::filesystem::exists(dir.file("ventana \xC3\xB1.jpg.tmp")));
    const QImage leida = jpeg::read(ruta);
    ASSERT_EQ(leida.size(), imagen.size());
    for (const QPoint p : {QPoint(10, 5), QPoint(50, 35)}) {
        const QColor antes = imagen.pixelColor(p), despues = leida.pixelColor(p);
        EXPECT_NEAR(despues.red(), antes.red(), 8);
        EXPECT_NEAR(despues.green(), antes.green(), 8);
        EXPECT_NEAR(despues.blue(), antes.blue(), 8);
    }
}

TEST(Jpeg, FailuresGiveNoPictureAndNoFile)
{
    testutil::TempDir dir;
    EXPECT_TRUE(jpeg::read(Ruta(dir, "falta.jpg")).isNull());
    testutil::writeFile(dir.file("texto.jpg"), "no es una imagen");
    EXPECT_TRUE(jpeg::read(Ruta(dir, "texto.jpg")).isNull());
    QImage imagen(8, 8, QImage::Format_RGB32);
    imagen.fill(Qt::white);
    ASSERT_TRUE(jpeg::write(Ruta(dir, "corta.jpg"), imagen));
    const std::string entera = testutil::readFile(dir.file("corta.jpg"));
    testutil::writeFile(dir.file("corta.jpg"), entera.substr(0, 20));
    EXPECT_TRUE(jpeg::read(Ruta(dir, "corta.jpg")).isNull()) << "cut inside the header";

    EXPECT_FALSE(jpeg::write(Ruta(dir, "no/hay/carpeta.jpg"), imagen));
    EXPECT_FALSE(jpeg::write(Ruta(dir, "vacia.jpg"), QImage()));
    EXPECT_FALSE(std::filesystem::exists(dir.file("vacia.jpg")));
}

} // namespace
