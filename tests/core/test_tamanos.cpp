// The sizes of the login and user windows: every field shows the longest value it takes
// whole, measured with its own font.
#include "qcp1252.h"
#include "ventanasusuarios.h"

#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

// Realistic values of each length: capitals, as codes and company names are written.
const QString kCodigo15 = QStringLiteral("MARIAGONZALEZ01");
const QString kNombre30 = QStringLiteral("COMERCIAL DE MAQUINARIA MADRID");
const QString kRazon40 = QStringLiteral("CONSTRUCCIONES Y REFORMAS DEL MEDITERRAN");
const QString kClave13 = QStringLiteral("contrase\u00f1a123");

class Tamanos : public VentanasUsuarios {
protected:
    void SetUp() override
    {
        VentanasUsuarios::SetUp();
        maria = bd.Usuario("MARIAGONZALEZ01", "x", "11100000000000000000", true, cp1252::fromQString(kNombre30));
        const int idEmpresa = bd.Empresa(maria, "B12345678X", cp1252::fromQString(kNombre30));
        const int idPresentador =
            bd.Presentador(idEmpresa, "CSB19", "B12345678", "001", cp1252::fromQString(kRazon40));
        bd.Emisor(idPresentador, "B12345678", "001", cp1252::fromQString(kRazon40));
        login.Parametros.clear();
        usuarios.SetUsuarioActual(std::to_string(admin), "11110000000000000000");
    }
    int maria = 0;
};

TEST_F(Tamanos, EveryFieldShowsItsLongestValueWhole)
{
    PreparaAltas();
    const struct {
        QWidget *ventana;
        std::vector<std::pair<QWidget *, QString>> campos;
    } casos[] = {
        {&login, {{login.txtUsuario, kCodigo15}, {login.txtPassword, kClave13}}},
        {&editor,
         {{editor.TXTCodUser, kCodigo15},
          {editor.TXTNombre, kNombre30},
          {editor.TXTPassword, kClave13},
          {editor.TXTConfirmar, kClave13}}},
        {&empresa, {{empresa.TXTNombre, kNombre30}, {empresa.TXTCif, QStringLiteral("B12345678X")}}},
        {&presentador,
         {{presentador.TXTRazon, kRazon40},
          {presentador.TXTNif, QStringLiteral("B12345678")},
          {presentador.TXTSufijo, QStringLiteral("001")}}},
        {&emisores,
         {{emisores.TXTRazon, kRazon40},
          {emisores.TXTNif, QStringLiteral("B12345678")},
          {emisores.TXTSufijo, QStringLiteral("001")},
          {emisores.TXTCuenta, QStringLiteral("2100")},
          {emisores.TXTOficina, QStringLiteral("0418")},
          {emisores.TXTControl, QStringLiteral("45")},
          {emisores.TXTDigitos, QStringLiteral("0200051332")},
          {emisores.TXTDigitosCargo, QStringLiteral("0200051332")},
          {emisores.TXTDesc_Cuenta_Cargo, QStringLiteral("CUENTA DE RIESGO PRINCIPAL 2025")}}},
    };
    for (const auto &c : casos) {
        ASSERT_TRUE(Activa(c.ventana));
        for (const auto &[control, texto] : c.campos)
            EXPECT_GE(Sitio(control), Necesita(control, texto))
                << c.ventana->metaObject()->className() << ": " << cp1252::fromQString(texto);
        c.ventana->hide();
    }
}

TEST_F(Tamanos, TheLoginsCompanyListShowsAThirtyCharacterNameWhole)
{
    // The list first shows a short name, then the longest.
    bd.Empresa(bd.Usuario("CARLA", "x"), "C1", "Corta");
    ASSERT_TRUE(Activa(&login));
    const int ancho = login.width();
    for (const QString &usuario : {QStringLiteral("CARLA"), kCodigo15}) {
        login.txtUsuario->setCurrentIndex(login.txtUsuario->findText(usuario));
        login.txtPassword->setText("x");
        login.cbtOK->click();
        ASSERT_TRUE(login.panelEmpresa->isVisible());
        QApplication::processEvents();
        EXPECT_EQ(login.width(), ancho) << "both steps fit one window";
        if (usuario == kCodigo15)
            break;
        login.cbtCancel->click();
    }
    EXPECT_EQ(login.cbxEmpresa->currentText(), kNombre30);
    EXPECT_GE(Sitio(login.cbxEmpresa), Necesita(login.cbxEmpresa, kNombre30));
}

TEST_F(Tamanos, TheUsersGridShowsCodeAndNameWhole)
{
    ASSERT_TRUE(Activa(&usuarios));
    QTableWidget *grid = usuarios.STGridUsers;
    const int margen = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    EXPECT_GE(grid->columnWidth(1) - margen, Necesita(grid, kCodigo15));
    EXPECT_GE(grid->columnWidth(2) - margen, Necesita(grid, kNombre30));
    EXPECT_GE(grid->viewport()->width(), grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2))
        << "the window shows the columns";
}

TEST_F(Tamanos, AccountBoxesAreAsWideAsTheirDigits)
{
    emisores.PreparaAlta(editor.Organizacion, 0);
    ASSERT_TRUE(Activa(&emisores));
    for (QLineEdit *banco : {emisores.TXTCuenta, emisores.TXTCuentaCargo})
        EXPECT_LT(Sitio(banco), Necesita(banco, QStringLiteral("000000"))) << "four digits, not the ten's room";
    EXPECT_LT(emisores.TXTControl->width(), emisores.TXTCuenta->width());
    EXPECT_EQ(emisores.TXTCuenta->width(), emisores.TXTOficina->width());
    EXPECT_LT(emisores.TXTCuenta->width(), emisores.TXTDigitos->width());
    EXPECT_EQ(emisores.TXTDigitos->width(), emisores.TXTDigitosCargo->width());
}

TEST_F(Tamanos, TheEditorsTreeKeepsItsWidthAndShowsTheDeepestNameWhole)
{
    EditaUsuario(maria, cp1252::fromQString(kCodigo15));
    ASSERT_TRUE(Activa(&editor));
    QTreeWidget *arbol = editor.TREEEmpresas;
    const int ancho = arbol->width();
    QTreeWidgetItem *emisor = arbol->topLevelItem(0)->child(0)->child(0)->child(0);
    ASSERT_NE(emisor, nullptr);
    for (QTreeWidgetItem *nodo = emisor; nodo; nodo = nodo->parent()) {
        arbol->setCurrentItem(nodo);
        QApplication::processEvents();
        EXPECT_EQ(arbol->width(), ancho) << "selected: " << cp1252::fromQString(nodo->text(0));
    }
    EXPECT_GE(arbol->viewport()->width(), arbol->visualItemRect(emisor).right()) << "the issuer's name whole";
}

} // namespace
