// The application object's guard against exceptions, its fitting of every window to the
// screen, and the support library's display hook.
#include "Programa.h"

#include "Aplicacion.h"
#include "Editdocumentos.h"
#include "Exportar.h"
#include "Frmlibrados.h"
#include "Pantalla.h"
#include "Unithistoricos.h"
#include "arranque.h"
#include "b_debug.h"
#include "entorno.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QFileIconProvider>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTreeWidget>
#include <QWindow>
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

// Whatever its size and the place the ini file or the window gave it, a window shows inside
// the free area of its screen (here smaller than the drawee window and the bill editor),
// its whole frame included, under a frame the window system reports only once the window
// shows, as a window manager does; a dialog shows at the same place each time. Contents too
// large for it scroll, every control at its own size, Tab in the window's order.
TEST(Programa, EveryWindowShowsInsideTheScreen)
{
    if (QGuiApplication::primaryScreen()->availableSize() != QSize(800, 800))
        GTEST_SKIP() << "run on the offscreen platform's own 800x800 screen";
    const QMargins marco(4, 30, 4, 4);
    const auto informado = MarcoVentana;
    MarcoVentana = [marco](const QWidget *v) {
        return v->windowHandle() && v->windowHandle()->isExposed() ? marco : QMargins();
    };
    arranque::Carpeta carpeta;
    testutil::writeFile(carpeta.Ini(), "[WINDOW]\nWinMaximized=0\nWinLeft=900\nWinTop=700\nWinWidth=1500\n"
                                       "WinHeight=1000\n");
    arranque::Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    m->SaltarLogin = true;
    RespondeCajas cajas;
    TfrmLibrados *librados = App().frmLibrados;
    TFormExportar *exportar = App().FormExportar;
    exportar->move(2000, 2000);
    QWidget *editor = App().FormEditDocumentos;
    QRect primera;
    for (QWidget *v : std::initializer_list<QWidget *>{m, librados, editor, exportar, App().FRMHistoricos, editor}) {
        v->show();
        QApplication::processEvents();
        const QRect libre = v->screen()->availableGeometry(), fuera = v->geometry().marginsAdded(marco);
        EXPECT_TRUE(libre.contains(fuera)) << v->metaObject()->className() << " at " << fuera.x() << ","
                                           << fuera.y() << " " << fuera.width() << "x" << fuera.height();
        if (v == editor && primera.isNull())
            primera = v->geometry();
        if (v != m)
            v->hide();
    }
    EXPECT_EQ(editor->geometry(), primera) << "the bill editor at the same place each time";
    MarcoVentana = informado;
    librados->show();
    QApplication::processEvents();
    const auto *desplazamiento = librados->findChild<QScrollArea *>();
    ASSERT_NE(desplazamiento, nullptr);
    EXPECT_GT(desplazamiento->widget()->width(), librados->width()) << "larger than this screen, it scrolls";
    for (QWidget *control : std::initializer_list<QWidget *>{librados->lstLibrados, librados->txtLibrado,
                                                             librados->txtDireccion, librados->cbtOK})
        EXPECT_GE(control->width(), control->minimumSizeHint().width()) << control->metaObject()->className();
    EXPECT_EQ(librados->txtCodReferencia->nextInFocusChain(), librados->txtLibrado);
    librados->hide();
    m->hide();
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
