// The application object's guard against exceptions and the support library's display
// hook.
#include "Programa.h"

#include "b_debug.h"
#include "entorno.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QFileIconProvider>
#include <QListWidget>
#include <QMessageBox>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class Lanzador : public QObject {
public:
    bool event(QEvent *) override { throw std::runtime_error("sin memoria para la remesa"); }
};

TEST(Programa, AnExceptionInAHandlerIsShownAndLoggedAndGoesNoFurther)
{
    entorno::Programa programa;
    QString mostrado;
    AlMostrarse<QMessageBox>([&](QMessageBox *caja) {
        mostrado = caja->text();
        caja->accept();
    });
    Lanzador lanzador;
    QEvent evento(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&lanzador, &evento));
    EXPECT_EQ(mostrado, QStringLiteral("sin memoria para la remesa"));
    EXPECT_NE(programa.Log().find("[ TAplicacion::notify ] sin memoria para la remesa"), std::string::npos);
}

TEST(Programa, TheSupportLibrarysBoxesAndTraceLinesShowInWindows)
{
    testutil::TempDir carpeta; // the current folder, where debug.log goes
    const std::filesystem::path antes = std::filesystem::current_path();
    std::filesystem::current_path(carpeta.path());
    InstalaPantallaDebug();
    QWidget activa;
    activa.show();
    QApplication::setActiveWindow(&activa);
    QString titulo, texto;
    AlMostrarse<QMessageBox>([&](QMessageBox *caja) {
        titulo = caja->windowTitle();
        texto = caja->text();
        caja->button(QMessageBox::Ok)->click();
    });
    DebugDoWarn("remesas.cpp", 12, "Importe fuera de l\xEDmites", "importe < 0");
    EXPECT_EQ(titulo, QStringLiteral("WARNING"));
    EXPECT_TRUE(texto.contains(cp1252::toQString("Importe fuera de l\xEDmites"))) << texto.toStdString();

    QApplication::setActiveWindow(&activa);
    DebugDoTrace("remesas.cpp", 13, "traza de prueba");
    QListWidget *lista = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->windowTitle() == QStringLiteral(B_DEBUG_LIST_TITLE))
            lista = qobject_cast<QListWidget *>(w);
    ASSERT_NE(lista, nullptr);
    EXPECT_EQ(lista->currentItem()->text(), QStringLiteral("traza de prueba"));
    lista->close();
    DebugSetDisplay(nullptr);
    std::filesystem::current_path(antes);
}

TEST(Programa, QtsFileDialogsNameFoldersInSpanish)
{
    TraduccionQt qt;
    ASSERT_TRUE(qt.Carga());
    QCoreApplication::installTranslator(&qt);
    testutil::TempDir carpeta;
    const QString tipo = QFileIconProvider().type(QFileInfo(QString::fromStdString(carpeta.path())));
    QCoreApplication::removeTranslator(&qt);
    EXPECT_EQ(tipo, QStringLiteral("Carpeta")) << "not \"Folder\"";
}

} // namespace
