// User administration, driven offscreen: the list, permissions, the administrator's
// protection, activation, deletion and the locks of users logged in elsewhere.
#include "Trunpass.h"

#include "Imagenes.h"
#include "qcp1252.h"
#include "ventanasusuarios.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

class Usuarios : public VentanasUsuarios {
protected:
    void SetUp() override
    {
        VentanasUsuarios::SetUp();
        ana = bd.Usuario("ANA", "a");
        beto = bd.Usuario("BETO", "b", "00000000000000000000", false);
        usuarios.SetUsuarioActual(std::to_string(ana), "11100000000000000000");
    }

    int Fila(const char *codigo) const
    {
        for (int i = 0; i < usuarios.STGridUsers->rowCount(); ++i)
            if (usuarios.STGridUsers->item(i, 1)->text() == QString::fromLatin1(codigo))
                return i;
        return -1;
    }
    void Selecciona(const char *codigo) { usuarios.STGridUsers->setCurrentCell(Fila(codigo), 1); }
    // Double-clicks a cell of the user's row.
    void DobleClic(const char *codigo, int columna)
    {
        QTableWidget *g = usuarios.STGridUsers;
        const QRect celda = g->visualRect(g->model()->index(Fila(codigo), columna));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, celda.center());
    }
    bool Activo(int id) const
    {
        return bd.Valor("SELECT Activo FROM [_Usuarios()] WHERE Id_usuario=" + std::to_string(id), "Activo") == "TRUE";
    }

    int ana = 0, beto = 0;
};

TEST_F(Usuarios, ListsEveryUserWithItsActivityIcon)
{
    usuarios.show();
    ASSERT_EQ(usuarios.STGridUsers->rowCount(), 3);
    EXPECT_EQ(usuarios.windowTitle(), QStringLiteral("Gesti\u00f3n de usuarios"));
    EXPECT_EQ(usuarios.STGridUsers->horizontalHeaderItem(1)->text(), QStringLiteral("Usuario"));
    EXPECT_EQ(usuarios.STGridUsers->currentRow(), Fila("ANA")) << "the current user's row";
    const QImage activo = ImagenActivo(true).pixmap(16).toImage();
    const QImage inactivo = ImagenActivo(false).pixmap(16).toImage();
    EXPECT_EQ(usuarios.STGridUsers->item(Fila("ANA"), 0)->icon().pixmap(16).toImage(), activo);
    EXPECT_EQ(usuarios.STGridUsers->item(Fila("BETO"), 0)->icon().pixmap(16).toImage(), inactivo);
    EXPECT_NE(activo, inactivo);
    EXPECT_TRUE(usuarios.STGridUsers->isColumnHidden(3)) << "the key is kept, never shown";
}

TEST_F(Usuarios, ButtonsFollowTheAdministeringUsersPermissions)
{
    struct Caso {
        const char *permisos;
        bool alta, baja, modificacion;
    } casos[] = {
        {"10000000000000000000", true, false, false},
        {"01000000000000000000", false, true, false},
        {"001", false, false, true},
        {"", false, false, false},
    };
    for (const Caso &c : casos) {
        usuarios.SetUsuarioActual("2", c.permisos);
        EXPECT_EQ(usuarios.BTNAlta->isEnabled(), c.alta) << c.permisos;
        EXPECT_EQ(usuarios.BTNBaja->isEnabled(), c.baja) << c.permisos;
        EXPECT_EQ(usuarios.BTNModificacion->isEnabled(), c.modificacion) << c.permisos;
    }
}

TEST_F(Usuarios, MoreThanOneAdministratorIsReported)
{
    bd.Usuario("OTRO", "x", "11110000000000000000");
    RespondeCajas cajas;
    usuarios.show();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, QStringLiteral("Hay m\u00e1s de un usuario administrador en la base de datos"));
    EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::NoIcon);
    EXPECT_TRUE(usuarios.isVisible());
}

TEST_F(Usuarios, DeletionRefusals)
{
    const int carla = bd.Usuario("CARLA", "c");
    struct Caso {
        const char *codigo;
        std::function<void()> prepara;
        const char *mensaje;
        bool borrado;
        const char *porque;
    } casos[] = {
        {"ANA", [] {}, "No se puede borrar este usuario ya que es el seleccionado actualmente en la aplicaci\xF3n.",
         false, "the administering user's own row"},
        {"ADMIN", [] {}, "El usuario administrador no se puede borrar.", false, "the administrator"},
        {"BETO", [&] { bd.Bloquea("[_Usuarios()]", "Id_usuario", beto); },
         "No se puede borrar el usuario porque ya esta abierto por otro usuario", false,
         "logged in in another running copy"},
        {"CARLA", [&] { bd.Empresa(carla, "B1", "Suya"); },
         "No se puede borrar el usuario porque tiene empresas. Borre antes su organizaci\xF3n (emisores, "
         "presentadores y empresas) desde Modificaci\xF3n.",
         false, "a user who owns a company: it would stay where no window reaches it"},
    };
    usuarios.show();
    for (const Caso &c : casos) {
        c.prepara();
        Selecciona(c.codigo);
        RespondeCajas cajas({QMessageBox::Yes, QMessageBox::Ok});
        QTest::mouseClick(usuarios.BTNBaja, Qt::LeftButton);
        ASSERT_EQ(cajas.Vistas.size(), 1u) << c.porque;
        EXPECT_EQ(cajas.Vistas[0].texto, cp1252::toQString(c.mensaje)) << c.porque;
        EXPECT_NE(Fila(c.codigo), -1) << c.porque;
    }
    EXPECT_EQ(bd.Cuenta("[_Usuarios()]"), 4);
    EXPECT_EQ(bd.Cuenta("[_Empresas( Datos )]"), 1);
}

TEST_F(Usuarios, DeletionAsksThenDeletesAndTellsTheOtherCopies)
{
    const int carla = bd.Usuario("CARLA", "c");
    usuarios.show();
    Selecciona("CARLA");
    {
        RespondeCajas no({QMessageBox::No});
        QTest::keyClick(usuarios.STGridUsers, Qt::Key_Delete);
        ASSERT_EQ(no.Vistas.size(), 1u);
        EXPECT_EQ(no.Vistas[0].texto, QStringLiteral("\u00bfDesea borrar este usuario?"));
        EXPECT_EQ(no.Vistas[0].icono, QMessageBox::Question);
    }
    EXPECT_NE(Fila("CARLA"), -1);
    RespondeCajas si({QMessageBox::Yes});
    QTest::mouseClick(usuarios.BTNBaja, Qt::LeftButton);
    EXPECT_EQ(Fila("CARLA"), -1);
    EXPECT_EQ(bd.Cuenta("[_Usuarios()] WHERE Id_usuario=" + std::to_string(carla)), 0);
    EXPECT_EQ(usuarios.STGridUsers->currentRow(), Fila("BETO")) << "the row above the deleted one";
    EXPECT_EQ(Avisos(NIVEL_USUARIOS), 1);
}

TEST_F(Usuarios, DoubleClickOnTheIconSwitchesActivity)
{
    usuarios.show();
    DobleClic("BETO", 0);
    EXPECT_TRUE(Activo(beto));
    EXPECT_TRUE(usuarios.STGridUsers->item(Fila("BETO"), 0)->data(Qt::UserRole).toBool());
    EXPECT_EQ(Avisos(NIVEL_USUARIOS), 1);

    usuarios.SetUsuarioActual(std::to_string(admin), "11110000000000000000");
    DobleClic("ADMIN", 0);
    EXPECT_TRUE(Activo(admin)) << "the administrator is never deactivated, even by itself";
    usuarios.SetUsuarioActual(std::to_string(ana), "11100000000000000000");

    bd.Bloquea("[_Usuarios()]", "Id_usuario", beto);
    RespondeCajas cajas;
    DobleClic("BETO", 0);
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto,
              QStringLiteral("No se puede modificar el usuario porque ya esta abierto por otro usuario"));
    EXPECT_TRUE(Activo(beto)) << "a user open elsewhere keeps its state";

    bd.Bloquea("[_Usuarios()]", "Id_usuario", ana); // logged in here
    DobleClic("ANA", 0);
    EXPECT_FALSE(Activo(ana)) << "one's own row switches without the lock test";

    usuarios.SetUsuarioActual(std::to_string(ana), "11000000000000000000");
    DobleClic("ANA", 0);
    EXPECT_FALSE(Activo(ana)) << "without the modify permission nothing happens";
}

TEST_F(Usuarios, OnlyAnAdministratorModifiesTheAdministrator)
{
    usuarios.show();
    Selecciona("ADMIN");
    RespondeCajas cajas;
    QTest::mouseClick(usuarios.BTNModificacion, Qt::LeftButton);
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, QStringLiteral("El usuario administrador no se puede modificar por otro usuario"));

    // The administrator opens it, in maintenance mode too, with activity and permissions fixed.
    for (bool mantenimiento : {false, true}) {
        usuarios.SetUsuarioActual(std::to_string(admin), "11110000000000000000");
        usuarios.Mantenimiento = mantenimiento;
        usuarios.hide();
        usuarios.show();
        Selecciona("ADMIN");
        bool abierto = false;
        AlMostrarse<TFRMNuevoUsuario>([&](TFRMNuevoUsuario *e) {
            abierto = true;
            EXPECT_EQ(e->TXTPassword->text(), QStringLiteral("cambiame")) << "shown in clear for editing";
            EXPECT_TRUE(e->CHKActivo->isChecked());
            EXPECT_FALSE(e->CHKActivo->isEnabled());
            EXPECT_FALSE(e->CHKAlta->isEnabled());
            e->reject();
        });
        QTest::mouseClick(usuarios.BTNModificacion, Qt::LeftButton);
        EXPECT_TRUE(abierto) << mantenimiento;
    }
}

TEST_F(Usuarios, KeysRunTheEnabledCommandsOnly)
{
    usuarios.SetUsuarioActual(std::to_string(ana), "00100000000000000000");
    usuarios.show();
    Selecciona("BETO");
    RespondeCajas cajas({QMessageBox::Yes});
    QTest::keyClick(usuarios.STGridUsers, Qt::Key_Delete);
    QTest::keyClick(usuarios.STGridUsers, Qt::Key_Insert);
    EXPECT_TRUE(cajas.Vistas.empty()) << "delete and add are not permitted";
    bool abierto = false;
    AlMostrarse<TFRMNuevoUsuario>([&](TFRMNuevoUsuario *e) {
        abierto = true;
        EXPECT_EQ(e->TXTCodUser->text(), QStringLiteral("BETO"));
        EXPECT_EQ(BlockUsuario(beto), 1) << "locked while edited";
        e->reject();
    });
    QTest::keyClick(usuarios.STGridUsers, Qt::Key_Space);
    EXPECT_TRUE(abierto);
    EXPECT_EQ(BlockUsuario(beto), 0) << "the edited user's lock is released on close";

    // The buttons' underlined letters, the disabled ones doing nothing.
    ASSERT_TRUE(Activa(&usuarios));
    abierto = false;
    AlMostrarse<TFRMNuevoUsuario>([&](TFRMNuevoUsuario *e) {
        abierto = true;
        e->reject();
    });
    QTest::keyClick(usuarios.STGridUsers, Qt::Key_B, Qt::AltModifier);
    QTest::keyClick(usuarios.STGridUsers, Qt::Key_A, Qt::AltModifier);
    QTest::keyClick(usuarios.STGridUsers, Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return abierto; })) << "Alt+M";
    EXPECT_TRUE(cajas.Vistas.empty());
}

} // namespace
