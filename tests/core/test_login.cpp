// The login window, driven offscreen: the user list, the password check, the company step,
// the user's lock, "Ultimo usuario" and the maintenance code.
#include "Trunpass.h"

#include "profile.h"
#include "qcp1252.h"
#include "ventanasusuarios.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

class Login : public VentanasUsuarios {
protected:
    void SetUp() override
    {
        VentanasUsuarios::SetUp();
        ana = bd.Usuario("ANA", "secreta", "00000000000000000000", true, "Ana \xD1" "u\xF1" "ez");
        bd.Usuario("BETO", "x", "00000000000000000000", false);
        sinEmpresas = bd.Usuario("CARLA", "");
        empresa1 = bd.Empresa(ana, "A1", "Primera");
        empresa2 = bd.Empresa(ana, "A2", "Segunda");
        login.MuestraEmpresa = [this](int id) { empresaMostrada = id; };
        login.TituloPrincipal = [this](const std::string &t) { titulo = t; };
        login.Parametros.clear();
    }

    QStringList Usuarios() const
    {
        QStringList codigos;
        for (int i = 0; i < login.txtUsuario->count(); ++i)
            codigos << login.txtUsuario->itemText(i);
        return codigos;
    }

    // Picks the user and types the password, then OK.
    void Entra(const char *codigo, const char *clave)
    {
        login.txtUsuario->setCurrentIndex(login.txtUsuario->findText(QString::fromLatin1(codigo)));
        login.txtPassword->clear();
        Teclea(login.txtPassword, cp1252::toQString(clave));
        QTest::mouseClick(login.cbtOK, Qt::LeftButton);
    }

    std::string Ini() const { return bd.Dir().file("Orvanta.INI"); }

    int ana = 0, sinEmpresas = 0, empresa1 = 0, empresa2 = 0;
    int empresaMostrada = 0;
    std::string titulo;
};

TEST_F(Login, ListsOnlyActiveUsersAndStartsOnTheFirstStep)
{
    login.show();
    EXPECT_EQ(Usuarios(), (QStringList{"ADMIN", "ANA", "CARLA"})) << "BETO is inactive";
    EXPECT_EQ(login.windowTitle(), QStringLiteral("Acceso a Orvanta Versi\u00f3n 2.10"));
    EXPECT_TRUE(login.panelLogin->isVisible());
    EXPECT_FALSE(login.panelEmpresa->isVisible());
    EXPECT_FALSE(login.spdUsuarios->isEnabled()) << "no administration before a login";
    EXPECT_FALSE(login.spdImportar->isEnabled()) << "no users-file import to run";
    EXPECT_EQ(login.txtPassword->maxLength(), 13);
    EXPECT_EQ(login.txtPassword->echoMode(), QLineEdit::Password);
}

TEST_F(Login, InactiveUserCannotLogInEvenWithTheRightPassword)
{
    EXPECT_FALSE(login.CompruebaUsuario("BETO", "x"));
    EXPECT_TRUE(login.LoginData.Id_usuario.empty());
    EXPECT_TRUE(login.CompruebaUsuario("CARLA", "")) << "an empty password is compared as the empty text";
    EXPECT_FALSE(login.CompruebaUsuario("CARLA", " "));
    EXPECT_FALSE(login.CompruebaUsuario("ANA' OR '1'='1", "x")) << "the code goes into SQL cleaned";
    bd.Usuario("O`DONNELL", "x");
    EXPECT_TRUE(login.CompruebaUsuario("O'DONNELL", "x")) << "a code stored by earlier builds, typed as it was";
}

TEST_F(Login, WrongPasswordStaysOnTheFirstStep)
{
    login.show();
    RespondeCajas cajas;
    Entra("ANA", "mala");
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto,
              QStringLiteral("Usuario o Contrase\u00f1a incorrecta. No se puede iniciar la Sesi\u00f3n."));
    EXPECT_EQ(cajas.Vistas[0].titulo, QStringLiteral("Usuario / Contrase\u00f1a incorrecta."));
    EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::Warning);
    EXPECT_TRUE(login.panelLogin->isVisible());
    EXPECT_EQ(login.txtPassword->text(), QStringLiteral("mala")) << "what was typed stays";
    EXPECT_TRUE(login.LoginData.Id_usuario.empty());
    EXPECT_EQ(BlockUsuario(ana), 0);
}

TEST_F(Login, RightPasswordLocksTheUserAndCancelReleasesIt)
{
    login.show();
    RespondeCajas cajas;
    Entra("ANA", "secreta");
    EXPECT_TRUE(cajas.Vistas.empty());
    EXPECT_TRUE(login.panelEmpresa->isVisible());
    EXPECT_FALSE(login.panelLogin->isVisible());
    EXPECT_EQ(login.lblNameEmpresa->text(), QStringLiteral("Ana \u00d1u\u00f1ez"));
    EXPECT_EQ(login.cbxEmpresa->count(), 2);
    EXPECT_EQ(login.cbxEmpresa->currentText(), QStringLiteral("Primera"));
    EXPECT_TRUE(login.spdUsuarios->isEnabled());
    EXPECT_EQ(BlockUsuario(ana), 1) << "the logged-in user's shared lock";
    EXPECT_EQ(multiuser.Id_UsuarioLogineado, ana);
    EXPECT_EQ(login.LoginData.Cod_usuario, "ANA");
    EXPECT_EQ(login.LoginData.Password, CodificaPassword("secreta")) << "kept as stored, never in clear";
    EXPECT_EQ(profile::readString(Ini(), "USUARIOS", "Ultimo usuario", ""), "ANA");
    EXPECT_FALSE(usuarios.BTNAlta->isEnabled()) << "the user's own permissions reach administration";

    QTest::mouseClick(login.cbtCancel, Qt::LeftButton);
    EXPECT_TRUE(login.panelLogin->isVisible());
    EXPECT_TRUE(login.txtPassword->text().isEmpty());
    EXPECT_FALSE(login.spdUsuarios->isEnabled());
    EXPECT_EQ(BlockUsuario(ana), 0);
    EXPECT_TRUE(login.isVisible()) << "cancel on the company step goes back, not out";

    QTest::mouseClick(login.cbtCancel, Qt::LeftButton);
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(login.result(), QDialog::Rejected);
}

TEST_F(Login, ChoosingACompanyHandsItToTheMainWindow)
{
    login.show();
    Entra("ANA", "secreta");
    login.cbxEmpresa->setCurrentIndex(1);
    QTest::keyClick(login.cbxEmpresa, Qt::Key_Return);
    EXPECT_EQ(empresaMostrada, empresa2);
    EXPECT_EQ(titulo, " Orvanta [ Ana \xD1u\xF1" "ez ]");
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(BlockUsuario(ana), 1) << "the lock stays while the user works";
}

TEST_F(Login, UserWithoutCompaniesCannotFinishUntilOneIsGiven)
{
    login.show();
    RespondeCajas cajas;
    Entra("CARLA", "");
    ASSERT_TRUE(login.panelEmpresa->isVisible());
    QTest::mouseClick(login.cbtOK, Qt::LeftButton);
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto,
              QStringLiteral("Debe elegir una empresa para empezar a trabajar con la aplicaci\u00f3n."));
    EXPECT_EQ(cajas.Vistas[0].titulo, QStringLiteral("No hay empresa seleccionada."));
    EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::Information);
    EXPECT_TRUE(login.isVisible());
    EXPECT_EQ(empresaMostrada, 0);

    // A company given meanwhile (here by hand) appears when administration closes.
    const int nueva = bd.Empresa(sinEmpresas, "C1", "De Carla");
    AlMostrarse<TFRMGestionusers>([](TFRMGestionusers *v) { QTest::mouseClick(v->BTNCerrar, Qt::LeftButton); });
    QTest::mouseClick(login.spdUsuarios, Qt::LeftButton);
    ASSERT_EQ(login.cbxEmpresa->count(), 1);
    QTest::mouseClick(login.cbtOK, Qt::LeftButton);
    EXPECT_EQ(empresaMostrada, nueva);
}

TEST_F(Login, LastUserIsPreselectedWhenStillListed)
{
    struct Caso {
        const char *ultimo, *seleccionado, *porque;
    } casos[] = {
        {"CARLA", "CARLA", "the last user"},
        {"BETO", "ADMIN", "an inactive last user leaves the first"},
        {"*nada*", "ADMIN", "none recorded"},
    };
    for (const Caso &c : casos) {
        ASSERT_TRUE(profile::writeString(Ini(), "USUARIOS", "Ultimo usuario", c.ultimo));
        login.show();
        EXPECT_EQ(login.txtUsuario->currentText(), QString::fromLatin1(c.seleccionado)) << c.porque;
        login.hide();
    }
}

TEST_F(Login, MaintenanceCodeOpensAdministrationBeforeLogin)
{
    struct Caso {
        std::vector<std::string> parametros;
        bool habilitado;
        const char *porque;
    } casos[] = {
        {{CodigoMantenimiento()}, true, "today's code"},
        {{"000000"}, false, "a wrong code"},
        {{CodigoMantenimiento(QDate::currentDate().addDays(-1))}, false, "yesterday's code"},
        {{CodigoMantenimiento(), "x"}, false, "two parameters"},
        {{}, false, "none"},
    };
    for (const Caso &c : casos) {
        login.Parametros = c.parametros;
        login.show();
        EXPECT_EQ(login.spdUsuarios->isEnabled(), c.habilitado) << c.porque;
        login.hide();
    }

    // In maintenance mode administration acts with the maintenance permissions.
    login.Parametros = {CodigoMantenimiento()};
    login.show();
    bool abierta = false;
    AlMostrarse<TFRMGestionusers>([&](TFRMGestionusers *v) {
        abierta = true;
        EXPECT_TRUE(v->BTNAlta->isEnabled());
        EXPECT_TRUE(v->BTNBaja->isEnabled());
        EXPECT_TRUE(v->BTNModificacion->isEnabled());
        EXPECT_EQ(v->STGridUsers->rowCount(), 4) << "every user, inactive ones too";
        v->reject();
    });
    QTest::mouseClick(login.spdUsuarios, Qt::LeftButton);
    EXPECT_TRUE(abierta);
}

TEST_F(Login, EnterAndEscapeActAsTheButtons)
{
    login.show();
    login.txtUsuario->setCurrentIndex(login.txtUsuario->findText("ANA"));
    Teclea(login.txtPassword, QStringLiteral("secreta"));
    QTest::keyClick(login.txtPassword, Qt::Key_Return);
    ASSERT_TRUE(login.panelEmpresa->isVisible());
    QTest::keyClick(login.cbxEmpresa, Qt::Key_Escape);
    EXPECT_TRUE(login.panelLogin->isVisible());
    EXPECT_EQ(BlockUsuario(ana), 0);
    QTest::keyClick(login.txtUsuario, Qt::Key_Escape);
    EXPECT_FALSE(login.isVisible());
}

TEST_F(Login, ClosingOnTheCompanyStepReleasesTheUser)
{
    login.show();
    Entra("ANA", "secreta");
    ASSERT_EQ(BlockUsuario(ana), 1);
    login.close();
    EXPECT_EQ(BlockUsuario(ana), 0);
    EXPECT_EQ(login.result(), QDialog::Rejected);
}

TEST_F(Login, RefreshKeepsTheSelectedUser)
{
    login.show();
    login.txtUsuario->setCurrentIndex(login.txtUsuario->findText("CARLA"));
    bd.Usuario("AAA", "x"); // another copy adds a user listed before
    login.RefreshUserCombo();
    EXPECT_EQ(login.txtUsuario->currentText(), QStringLiteral("CARLA"));
    bd.Exec("UPDATE [_Usuarios()] SET Activo=0 WHERE Cod_usuario='CARLA';");
    login.RefreshUserCombo();
    EXPECT_EQ(login.txtUsuario->currentText(), QStringLiteral("AAA")) << "gone: the first one";
}

TEST_F(Login, UsersFileImportRunsOnTheFirstStepOnly)
{
    const std::string fichero = bd.Dir().file("usuarios_empresa.ini");
    testutil::writeFile(fichero, "");
    std::string importado;
    login.ImportaUsuarios = [&](const std::string &ruta) {
        importado = ruta;
        bd.Usuario("NUEVO", "x");
    };
    login.show();
    EXPECT_TRUE(login.spdImportar->isEnabled());
    RespondeCajas cajas;
    AlMostrarse<QFileDialog>([&](QFileDialog *d) {
        d->setDirectory(QString::fromStdString(bd.Dir().path()));
        // The name typed, as the user does (the dialog reads its folder in the background).
        auto *nombre = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!nombre) {
            ADD_FAILURE() << "no file name box";
            d->reject();
            return;
        }
        nombre->setText(QStringLiteral("usuarios_empresa.ini"));
        static_cast<QDialog *>(d)->accept(); // the file dialog hides its accept
    });
    QTest::mouseClick(login.spdImportar, Qt::LeftButton);
    EXPECT_TRUE(cajas.Vistas.empty());
    EXPECT_EQ(importado, fichero);
    EXPECT_TRUE(Usuarios().contains("NUEVO")) << "the list is filled again";
    Entra("ANA", "secreta");
    EXPECT_FALSE(login.spdImportar->isEnabled());
}

} // namespace
