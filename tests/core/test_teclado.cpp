// The keyboard in the login and user windows: the mnemonic of a disabled link, the Tab order
// of every window, and entering the organisation tree.
#include "qcp1252.h"
#include "ventanasusuarios.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <map>

namespace {

class Teclado : public VentanasUsuarios {
protected:
    void SetUp() override
    {
        VentanasUsuarios::SetUp();
        ana = bd.Usuario("ANA", "secreta");
        bd.Usuario("BEA", "x");
        bd.Presentador(bd.Empresa(ana, "A1", "Primera"), "CSB19", "B1", "000", "Norte");
        login.Parametros.clear();
        usuarios.SetUsuarioActual(std::to_string(admin), "11110000000000000000");
    }
    int ana = 0;
};

TEST_F(Teclado, AnAltKeyThatNoEnabledControlTakesTypesNothing)
{
    ASSERT_TRUE(Activa(&login));
    ASSERT_FALSE(login.spdUsuarios->isEnabled());
    ASSERT_FALSE(login.spdImportar->isEnabled()) << "no users-file import is wired here";
    const struct {
        QWidget *foco;
        Qt::Key tecla;
        const char *porque;
    } casos[] = {
        {login.txtPassword, Qt::Key_G, "user administration's mnemonic, disabled before a login"},
        {login.txtPassword, Qt::Key_I, "the import's mnemonic, disabled"},
        {login.txtPassword, Qt::Key_X, "a letter that names nothing"},
        {login.txtUsuario, Qt::Key_B, "nor does it pick the user BEA in the list"},
    };
    for (const auto &c : casos) {
        login.txtUsuario->setCurrentIndex(login.txtUsuario->findText("ANA"));
        login.txtPassword->setText("secr");
        c.foco->setFocus();
        QTest::keyClick(c.foco, c.tecla, Qt::AltModifier);
        EXPECT_EQ(login.txtPassword->text(), QStringLiteral("secr")) << c.porque;
        EXPECT_EQ(login.txtUsuario->currentText(), QStringLiteral("ANA")) << c.porque;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.porque;
    }

    // The password typed around it is the right one.
    RespondeCajas cajas;
    login.txtPassword->clear();
    Teclea(login.txtPassword, QStringLiteral("secr"));
    QTest::keyClick(login.txtPassword, Qt::Key_G, Qt::AltModifier);
    Teclea(login.txtPassword, QStringLiteral("eta"));
    QTest::keyClick(login.txtPassword, Qt::Key_Return);
    EXPECT_TRUE(cajas.Vistas.empty());
    ASSERT_TRUE(login.panelEmpresa->isVisible());

    // Enabled now, the same key opens user administration.
    bool abierta = false;
    AlMostrarse<TFRMGestionusers>([&](TFRMGestionusers *v) {
        abierta = true;
        v->reject();
    });
    QTest::keyClick(login.cbxEmpresa, Qt::Key_G, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return abierta; }));
}

TEST_F(Teclado, TabFollowsTheScreenInEveryWindow)
{
    using Cadena = std::vector<std::pair<QWidget *, const char *>>;
    PreparaAltas();
    const struct {
        QWidget *ventana;
        Cadena cadena; // from the first control, back to it
    } casos[] = {
        {&login, {{login.txtUsuario, "user"}, {login.txtPassword, "password"}, {login.cbtOK, "OK"},
                  {login.cbtCancel, "cancel"}}},
        {&usuarios, {{usuarios.STGridUsers, "grid"}, {usuarios.BTNAlta, "add"}, {usuarios.BTNBaja, "delete"},
                     {usuarios.BTNModificacion, "modify"}, {usuarios.BTNCerrar, "close"}}},
        {&editor, {{editor.TXTCodUser, "code"}, {editor.TXTNombre, "name"}, {editor.TXTPassword, "password"},
                   {editor.TXTConfirmar, "confirmation"}, {editor.CHKAlta, "may add"}, {editor.CHKBaja, "may delete"},
                   {editor.CHKModificacion, "may modify"}, {editor.CHKActivo, "active"}, {editor.TREEEmpresas, "tree"},
                   {editor.BTNAceptar, "OK"}, {editor.BTNCancelar, "cancel"}}},
        {&empresa, {{empresa.TXTNombre, "name"}, {empresa.TXTCif, "tax code"}, {empresa.BTNAceptar, "OK"},
                    {empresa.BTNCancelar, "cancel"}}},
        {&presentador, {{presentador.TXTRazon, "name"}, {presentador.TXTNif, "NIF"}, {presentador.TXTSufijo, "suffix"},
                        {presentador.RBcsb19, "CSB19, the checked order type"}, {presentador.BTNAceptar, "OK"},
                        {presentador.BTNCancelar, "cancel"}}},
        {&emisores, {{emisores.TXTRazon, "name"}, {emisores.TXTNif, "NIF"}, {emisores.TXTSufijo, "suffix"},
                     {emisores.TXTCuenta, "bank"}, {emisores.TXTOficina, "branch"}, {emisores.TXTControl, "control"},
                     {emisores.TXTDigitos, "account"}, {emisores.TXTCuentaCargo, "charge bank"},
                     {emisores.TXTOficinaCargo, "charge branch"}, {emisores.TXTControlCargo, "charge control"},
                     {emisores.TXTDigitosCargo, "charge account"}, {emisores.TXTDesc_Cuenta_Cargo, "description"},
                     {emisores.BTNAceptar, "OK"}, {emisores.BTNCancelar, "cancel"}}},
    };
    for (const auto &c : casos) {
        const std::string ventana = c.ventana->metaObject()->className();
        ASSERT_TRUE(Activa(c.ventana)) << ventana;
        c.cadena.front().first->setFocus();
        std::map<QWidget *, std::string> nombres;
        std::vector<std::string> esperada, vista;
        for (const auto &[control, nombre] : c.cadena) {
            nombres[control] = nombre;
            esperada.push_back(nombre);
        }
        for (QWidget *control : CadenaTabulacion())
            vista.push_back(nombres.count(control) ? nombres[control] : control->metaObject()->className());
        EXPECT_EQ(vista, esperada) << ventana;
        c.ventana->hide();
    }
}

TEST_F(Teclado, EnteringTheOrganisationTreeByKeyboardSelectsAsAClickDoes)
{
    EditaUsuario(ana, "ANA");
    ASSERT_TRUE(Activa(&editor));
    ASSERT_FALSE(editor.BTNMas->isEnabled());

    // Tab from the box before it: the root, with its buttons.
    editor.CHKActivo->setFocus();
    QTest::keyClick(editor.CHKActivo, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor.TREEEmpresas);
    ASSERT_EQ(editor.TREEEmpresas->selectedItems().size(), 1);
    EXPECT_EQ(editor.TREEEmpresas->selectedItems().first(), editor.TREEEmpresas->topLevelItem(0));
    EXPECT_TRUE(editor.BTNMas->isEnabled());
    EXPECT_EQ(editor.BTNMas->text(), QStringLiteral("A\u00f1a&dir empresa"));

    // The arrows go on from there.
    QTest::keyClick(editor.TREEEmpresas, Qt::Key_Down);
    EXPECT_EQ(editor.BTNMas->text(), QStringLiteral("A\u00f1a&dir presentador"));
    EXPECT_TRUE(editor.BTNBorrar->isEnabled());

    // Back from OK with nothing selected: the current node, not the first.
    editor.TREEEmpresas->clearSelection();
    ASSERT_FALSE(editor.BTNMas->isEnabled());
    editor.BTNAceptar->setFocus();
    QTest::keyClick(editor.BTNAceptar, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), editor.TREEEmpresas);
    EXPECT_EQ(editor.BTNMas->text(), QStringLiteral("A\u00f1a&dir presentador"));
    EXPECT_TRUE(editor.BTNMas->isEnabled());

    // A selection already there is kept.
    QTest::keyClick(editor.TREEEmpresas, Qt::Key_Down);
    QTest::keyClick(editor.TREEEmpresas, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), editor.TREEEmpresas);
    EXPECT_EQ(editor.BTNMas->text(), QStringLiteral("A\u00f1a&dir emisor"));
}

} // namespace
