// The user editor and its organisation tree, driven offscreen through user
// administration: adding a user, giving it companies, presenters and issuers, the final
// save in one transaction, cancelling, and the refusals of the tree.
#include "Imagenes.h"
#include "Trunpass.h"

#include "qcp1252.h"
#include "ventanasusuarios.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

class NuevoUsuario : public VentanasUsuarios {
protected:
    void SetUp() override
    {
        VentanasUsuarios::SetUp();
        usuarios.SetUsuarioActual(std::to_string(admin), "11110000000000000000");
    }

    // Opens the dialog of type D with boton, lets rellena fill it and press its buttons.
    template<class D>
    static void Dialogo(QPushButton *boton, std::function<void(D *)> rellena)
    {
        bool visto = false;
        AlMostrarse<D>([&](D *d) {
            visto = true;
            rellena(d);
        });
        QTest::mouseClick(boton, Qt::LeftButton);
        EXPECT_TRUE(visto);
    }

    // Runs cuerpo inside the editor opened by the users window's button.
    void EnEditor(QPushButton *boton, std::function<void(TFRMNuevoUsuario *)> cuerpo)
    {
        usuarios.show();
        Dialogo<TFRMNuevoUsuario>(boton, cuerpo);
    }

    static QTreeWidgetItem *Nodo(TFRMNuevoUsuario *e, std::vector<int> camino)
    {
        QTreeWidgetItem *nodo = e->TREEEmpresas->topLevelItem(0);
        for (int i : camino)
            nodo = nodo ? nodo->child(i) : nullptr;
        return nodo;
    }
    static void Elige(TFRMNuevoUsuario *e, std::vector<int> camino)
    {
        e->TREEEmpresas->setCurrentItem(Nodo(e, camino));
    }

    static void CreaEmpresa(TFRMNuevoUsuario *e, const char *cif, const char *nombre)
    {
        Dialogo<TFRMEmpresa>(e->BTNMas, [&](TFRMEmpresa *d) {
            Teclea(d->TXTNombre, cp1252::toQString(nombre));
            Teclea(d->TXTCif, QString::fromLatin1(cif));
            QTest::mouseClick(d->BTNAceptar, Qt::LeftButton);
        });
    }
    static void CreaPresentador(TFRMNuevoUsuario *e, const char *nif, bool csb58, const char *nombre)
    {
        Dialogo<TFRMPresentador>(e->BTNMas, [&](TFRMPresentador *d) {
            Teclea(d->TXTRazon, QString::fromLatin1(nombre));
            Teclea(d->TXTNif, QString::fromLatin1(nif));
            Teclea(d->TXTSufijo, QStringLiteral("000"));
            (csb58 ? d->RBcsb58 : d->RBcsb19)->setChecked(true);
            QTest::mouseClick(d->BTNAceptar, Qt::LeftButton);
        });
    }
    static void CreaEmisor(TFRMNuevoUsuario *e, const char *nif, const char *nombre)
    {
        Dialogo<TFRMEmisores>(e->BTNMas, [&](TFRMEmisores *d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("A\u00f1adir emisores"));
            const std::pair<QLineEdit *, const char *> cajas[] = {
                {d->TXTRazon, nombre}, {d->TXTNif, nif},         {d->TXTSufijo, "001"},
                {d->TXTCuenta, "2100"}, {d->TXTOficina, "0418"}, {d->TXTDigitos, "0200051332"},
            };
            for (const auto &[caja, texto] : cajas) {
                caja->setFocus();
                Teclea(caja, QString::fromLatin1(texto));
            }
            QTest::mouseClick(d->BTNAceptar, Qt::LeftButton);
        });
    }

    static int Imagen(QTreeWidgetItem *nodo) { return nodo ? nodo->data(0, Qt::UserRole + 1).toInt() : -1; }
    static bool IconoDe(QTreeWidgetItem *nodo, int imagen)
    {
        return nodo && nodo->icon(0).pixmap(16).toImage() == ImagenArbol(imagen).pixmap(16).toImage();
    }

    int IdDe(const char *codigo) const
    {
        const std::string v =
            bd.Valor(std::string("SELECT Id_usuario FROM [_Usuarios()] WHERE Cod_usuario='") + codigo + "'", "Id_usuario");
        return v == "<ninguna>" ? 0 : std::stoi(v);
    }
};

TEST_F(NuevoUsuario, AddingAUserThenItsOrganisationWrittenAtTheFinalOK)
{
    EnEditor(usuarios.BTNAlta, [&](TFRMNuevoUsuario *e) {
        EXPECT_EQ(e->windowTitle(), QStringLiteral("A\u00f1adir nuevo usuario"));
        EXPECT_FALSE(e->BTNMas->isEnabled()) << "no tree before the user exists";
        Teclea(e->TXTCodUser, QStringLiteral("NUEVO"));
        Teclea(e->TXTNombre, QStringLiteral("Usuario nuevo"));
        Teclea(e->TXTPassword, QStringLiteral("clave\u00f1"));
        Teclea(e->TXTConfirmar, QStringLiteral("clave\u00f1"));
        QTest::mouseClick(e->CHKAlta, Qt::LeftButton, {}, QPoint(6, e->CHKAlta->height() / 2));
        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);

        // The first OK inserts the user and stays open for its organisation.
        ASSERT_TRUE(e->isVisible());
        const int id = IdDe("NUEVO");
        ASSERT_GT(id, 0);
        const std::string guardada =
            bd.Valor("SELECT Password FROM [_Usuarios()] WHERE Id_usuario=" + std::to_string(id), "Password");
        EXPECT_EQ(guardada.size(), 12u);
        EXPECT_EQ(guardada.find_first_not_of("ABCDEFGHIJKLMNOP"), std::string::npos) << "stored as letters A to P";
        EXPECT_EQ(DecodificaPassword(guardada), "clave\xF1");
        EXPECT_EQ(bd.Valor("SELECT Permisos FROM [_Usuarios()] WHERE Id_usuario=" + std::to_string(id), "Permisos"),
                  "10000000000000000000");
        EXPECT_EQ(BlockUsuario(id), 1) << "locked while edited";
        EXPECT_EQ(Avisos(NIVEL_USUARIOS), 1);
        ASSERT_EQ(e->TREEEmpresas->topLevelItemCount(), 1);
        EXPECT_EQ(Nodo(e, {})->text(0), QStringLiteral("NUEVO"));
        EXPECT_TRUE(IconoDe(Nodo(e, {}), ImagenUsuario));

        Elige(e, {});
        EXPECT_EQ(e->BTNMas->text(), QStringLiteral("A\u00f1a&dir empresa"));
        EXPECT_FALSE(e->BTNBorrar->isEnabled());
        CreaEmpresa(e, "B1", "Empresa \xD1");
        Elige(e, {0});
        EXPECT_EQ(e->BTNMas->text(), QStringLiteral("A\u00f1a&dir presentador"));
        CreaPresentador(e, "11111111H", false, "Pres19");
        CreaPresentador(e, "11111111H", true, "Pres58");
        Elige(e, {0, 0});
        EXPECT_EQ(e->BTNMas->text(), QStringLiteral("A\u00f1a&dir emisor"));
        CreaEmisor(e, "22222222J", "Emisor uno");
        Elige(e, {0, 0, 0});
        EXPECT_FALSE(e->BTNMas->isEnabled()) << "nothing below an issuer";
        EXPECT_EQ(e->BTNBorrar->text(), QStringLiteral("&Borrar emisor"));

        const std::pair<std::vector<int>, int> iconos[] = {
            {{0}, ImagenEmpresa}, {{0, 0}, ImagenCSB19}, {{0, 1}, ImagenCSB58}, {{0, 0, 0}, ImagenEmisor}};
        for (const auto &[camino, imagen] : iconos) {
            EXPECT_EQ(Imagen(Nodo(e, camino)), imagen);
            EXPECT_TRUE(IconoDe(Nodo(e, camino), imagen)) << imagen;
        }
        EXPECT_FALSE(IconoDe(Nodo(e, {0, 0}), ImagenCSB58)) << "the two order types look different";
        EXPECT_EQ(Nodo(e, {0})->text(0), QStringLiteral("Empresa \u00d1"));
        EXPECT_EQ(bd.Cuenta("[_Empresas( Datos )] WHERE Id_usuario=" + std::to_string(id)), 0)
            << "nothing of the organisation written while the editor waits";

        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
        EXPECT_FALSE(e->isVisible());
    });
    const std::string id = std::to_string(IdDe("NUEVO"));
    EXPECT_EQ(bd.Cuenta("[_Empresas( Datos )] WHERE Id_usuario=" + id + " AND Nombre='Empresa \xD1'"), 1);
    const std::string empresa = bd.Valor("SELECT Id_empresa FROM [_Empresas( Datos )] WHERE Id_usuario=" + id, "Id_empresa");
    EXPECT_EQ(bd.Cuenta("[_Presentadores( Datos )] WHERE Id_empresa=" + empresa), 2);
    EXPECT_EQ(bd.Valor("SELECT Clave_presentador FROM [_Presentadores( Datos )] WHERE Razon_social='Pres58'",
                       "Clave_presentador"),
              "11111111H000");
    EXPECT_EQ(bd.Valor("SELECT Cuenta_abono FROM [_Emisores( Datos )] WHERE Razon_social='Emisor uno'", "Cuenta_abono"),
              "21000418450200051332");
    EXPECT_EQ(BlockUsuario(std::stoi(id)), 0) << "released when the editor closes";
    EXPECT_NE(usuarios.STGridUsers->findItems("NUEVO", Qt::MatchExactly).size(), 0);
}

TEST_F(NuevoUsuario, CancelKeepsTheInsertedUserAndDropsItsOrganisation)
{
    EnEditor(usuarios.BTNAlta, [&](TFRMNuevoUsuario *e) {
        Teclea(e->TXTCodUser, QStringLiteral("TEMPORAL"));
        Teclea(e->TXTNombre, QStringLiteral("T"));
        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
        Elige(e, {});
        CreaEmpresa(e, "B1", "Se pierde");
        QTest::mouseClick(e->BTNCancelar, Qt::LeftButton);
    });
    const int id = IdDe("TEMPORAL");
    ASSERT_GT(id, 0);
    EXPECT_EQ(bd.Cuenta("[_Empresas( Datos )] WHERE Id_usuario=" + std::to_string(id)), 0);
    EXPECT_EQ(BlockUsuario(id), 0);
}

TEST_F(NuevoUsuario, UserFieldRefusals)
{
    struct Caso {
        const char *codigo, *nombre, *clave, *confirma, *mensaje, *porque;
    } casos[] = {
        {"", "N", "", "", "Debe rellenar todos los campos.", "no code"},
        {"X", "", "", "", "Debe rellenar todos los campos.", "no name"},
        {"X", "N", "a", "b", "Verifique si su contrase\xF1" "a es correcta", "passwords differ"},
        {"admin", "N", "", "", "Ya existe otro usuario con ese mismo c\xF3" "digo.", "a code differing only in case"},
    };
    for (const Caso &c : casos) {
        RespondeCajas cajas;
        EnEditor(usuarios.BTNAlta, [&](TFRMNuevoUsuario *e) {
            Teclea(e->TXTCodUser, QString::fromLatin1(c.codigo));
            Teclea(e->TXTNombre, QString::fromLatin1(c.nombre));
            Teclea(e->TXTPassword, QString::fromLatin1(c.clave));
            Teclea(e->TXTConfirmar, QString::fromLatin1(c.confirma));
            QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
            EXPECT_TRUE(e->isVisible()) << c.porque;
            e->reject();
        });
        ASSERT_EQ(cajas.Vistas.size(), 1u) << c.porque;
        EXPECT_EQ(cajas.Vistas[0].texto, cp1252::toQString(c.mensaje)) << c.porque;
        EXPECT_EQ(cajas.Vistas[0].titulo, QStringLiteral("Error")) << c.porque;
    }
    EXPECT_EQ(bd.Cuenta("[_Usuarios()]"), 1);
}

TEST_F(NuevoUsuario, SavingACodeTakenByAnotherUserIsRefused)
{
    bd.Usuario("ANA", "a");
    const int beto = bd.Usuario("BETO", "b");
    const int oneil = bd.Usuario("O`NEIL", "o");
    usuarios.show();
    usuarios.STGridUsers->setCurrentCell(usuarios.STGridUsers->findItems("BETO", Qt::MatchExactly)[0]->row(), 1);
    RespondeCajas cajas;
    EnEditor(usuarios.BTNModificacion, [&](TFRMNuevoUsuario *e) {
        e->TXTCodUser->clear();
        Teclea(e->TXTCodUser, QStringLiteral("ana"));
        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
        EXPECT_TRUE(e->isVisible());
        e->TXTCodUser->clear();
        Teclea(e->TXTCodUser, QStringLiteral("BETITO"));
        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
        EXPECT_FALSE(e->isVisible());
    });
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, QStringLiteral("Ya existe otro usuario con ese mismo c\u00f3digo."));
    EXPECT_EQ(IdDe("BETITO"), beto);
    EXPECT_EQ(Avisos(NIVEL_TODO), 1) << "a modification tells the other copies to reload";

    // Nor is a user a duplicate of itself: a code earlier builds stored with "`" takes its "'".
    usuarios.STGridUsers->setCurrentCell(usuarios.STGridUsers->findItems("O`NEIL", Qt::MatchExactly)[0]->row(), 1);
    EnEditor(usuarios.BTNModificacion, [&](TFRMNuevoUsuario *e) {
        e->TXTCodUser->clear();
        Teclea(e->TXTCodUser, QStringLiteral("O'NEIL"));
        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
    });
    EXPECT_EQ(IdDe("O''NEIL"), oneil);
}

TEST_F(NuevoUsuario, ModifyingAUserLoggedInElsewhereIsRefusedAfterAChange)
{
    const int beto = bd.Usuario("BETO", "b");
    bd.Bloquea("[_Usuarios()]", "Id_usuario", beto);
    usuarios.show();
    usuarios.STGridUsers->setCurrentCell(usuarios.STGridUsers->findItems("BETO", Qt::MatchExactly)[0]->row(), 1);
    RespondeCajas cajas;
    EnEditor(usuarios.BTNModificacion, [&](TFRMNuevoUsuario *e) {
        Teclea(e->TXTNombre, QStringLiteral(" cambiado"));
        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
    });
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto,
              QStringLiteral("No se puede modificar el usuario porque ya esta abierto por otro usuario"));
    EXPECT_EQ(bd.Valor("SELECT Nombre_usuario FROM [_Usuarios()] WHERE Id_usuario=" + std::to_string(beto),
                       "Nombre_usuario"),
              "Nombre");
    EXPECT_EQ(BlockUsuario(beto), 1) << "the refused lock was never this copy's to release";
}

class Arbol : public NuevoUsuario {
protected:
    void SetUp() override
    {
        NuevoUsuario::SetUp();
        pepe = bd.Usuario("PEPE", "p");
        empresa = bd.Empresa(pepe, "A1", "Uno");
        p19 = bd.Presentador(empresa, "CSB19", "1", "000", "P19");
        p58 = bd.Presentador(empresa, "CSB58", "1", "000", "P58");
        e1 = bd.Emisor(p19, "1", "001", "E1");
        e2 = bd.Emisor(p19, "1", "002", "E2");
        e3 = bd.Emisor(p58, "1", "003", "E3");
        librado = bd.Librado(e1, "Deudor");
        usuarios.show();
        usuarios.STGridUsers->setCurrentCell(usuarios.STGridUsers->findItems("PEPE", Qt::MatchExactly)[0]->row(), 1);
    }

    int pepe = 0, empresa = 0, p19 = 0, p58 = 0, e1 = 0, e2 = 0, e3 = 0, librado = 0;
};

TEST_F(Arbol, TheTreeShowsTheUsersOrganisationWithItsIcons)
{
    EnEditor(usuarios.BTNModificacion, [&](TFRMNuevoUsuario *e) {
        EXPECT_EQ(e->windowTitle(), QStringLiteral("Modificar datos del usuario"));
        EXPECT_EQ(Nodo(e, {})->text(0), QStringLiteral("PEPE"));
        EXPECT_EQ(Nodo(e, {0})->text(0), QStringLiteral("Uno"));
        EXPECT_EQ(Nodo(e, {0, 1, 0})->text(0), QStringLiteral("E3"));
        const std::pair<std::vector<int>, int> iconos[] = {{{}, ImagenUsuario},   {{0}, ImagenEmpresa},
                                                           {{0, 0}, ImagenCSB19}, {{0, 1}, ImagenCSB58},
                                                           {{0, 0, 1}, ImagenEmisor}};
        for (const auto &[camino, imagen] : iconos)
            EXPECT_TRUE(IconoDe(Nodo(e, camino), imagen)) << imagen;
        EXPECT_TRUE(Nodo(e, {0, 1})->isExpanded());
        e->reject();
    });
}

TEST_F(Arbol, DeletingRefusesParentsAndRowsInUse)
{
    const int remesa = bd.Remesa(e2);
    bd.Librado(e3, "Deudor CSB58");
    bd.Bloquea("[_Emisores( Datos )]", "Id_emisor", e1);
    struct Caso {
        std::vector<int> camino;
        const char *mensaje;
        const char *porque;
    } casos[] = {
        {{0}, "Debe borrar antes los presentadores que dependen de esta empresa", "a company with presenters"},
        {{0, 0}, "Debe borrar antes los emisores que dependen de este presentador", "a presenter with issuers"},
        {{0, 0, 1}, "No se puede borrar el emisor porque tiene remesas. Borre antes sus remesas desde la ventana "
                    "principal.",
         "an issuer with batches"},
        {{0, 1, 0}, "No se puede borrar el emisor porque tiene librados y no queda otro emisor del mismo tipo (CSB19 o "
                    "CSB58) que los reciba. A\xF1" "ada antes otro emisor de ese tipo, o borre sus librados desde "
                    "Gesti\xF3n de Librados.",
         "the only CSB58 issuer, with a drawee"},
        {{0, 0, 0}, "No se puede borrar el emisor por estar abierto por otro usuario", "an issuer another copy holds"},
    };
    EnEditor(usuarios.BTNModificacion, [&](TFRMNuevoUsuario *e) {
        for (const Caso &c : casos) {
            RespondeCajas cajas({QMessageBox::Ok});
            Elige(e, c.camino);
            QTest::mouseClick(e->BTNBorrar, Qt::LeftButton);
            ASSERT_EQ(cajas.Vistas.size(), 1u) << c.porque << ": said at once, without the question";
            EXPECT_EQ(cajas.Vistas[0].texto, QString::fromLatin1(c.mensaje)) << c.porque;
            EXPECT_NE(Nodo(e, c.camino), nullptr) << c.porque;
        }
        // Another running copy holds the company: neither modified nor deleted.
        bd.Bloquea("[_Empresas( Datos )]", "Id_empresa", empresa);
        RespondeCajas cajas;
        Elige(e, {0});
        QTest::mouseClick(e->BTNModificar, Qt::LeftButton);
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cajas.Vistas[0].texto,
                  QStringLiteral("No se puede modificar la empresa por estar abierta por otro usuario"));
        EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::Information);
        e->reject();
    });
    EXPECT_EQ(bd.Cuenta("[Remesas()] WHERE Id_remesa=" + std::to_string(remesa)), 1);
    EXPECT_EQ(bd.Cuenta("[_Emisores( Datos )]"), 3);
}

TEST_F(Arbol, DeletingAnIssuerMovesItsDraweesWhenSaved)
{
    EnEditor(usuarios.BTNModificacion, [&](TFRMNuevoUsuario *e) {
        RespondeCajas si({QMessageBox::Yes});
        Elige(e, {0, 0, 0});
        QTest::mouseClick(e->BTNBorrar, Qt::LeftButton);
        EXPECT_EQ(Nodo(e, {0, 0})->childCount(), 1);
        EXPECT_EQ(bd.Cuenta("[_Emisores( Datos )] WHERE Id_emisor=" + std::to_string(e1)), 1) << "not yet";
        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
        EXPECT_FALSE(e->isVisible());
    });
    EXPECT_EQ(bd.Cuenta("[_Emisores( Datos )] WHERE Id_emisor=" + std::to_string(e1)), 0);
    EXPECT_EQ(bd.Valor("SELECT Id_emisor FROM [Librados( Datos )] WHERE Id_librado=" + std::to_string(librado),
                       "Id_emisor"),
              std::to_string(e2))
        << "to the next issuer of a CSB19 presenter";
}

TEST_F(Arbol, ARowLockedBeforeTheSaveKeepsTheEditorOpenAndWritesNothing)
{
    RespondeCajas cajas;
    EnEditor(usuarios.BTNModificacion, [&](TFRMNuevoUsuario *e) {
        Elige(e, {0, 1, 0});
        Dialogo<TFRMEmisores>(e->BTNModificar, [](TFRMEmisores *d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Modificar emisor"));
            d->TXTRazon->clear();
            Teclea(d->TXTRazon, QStringLiteral("E3 bis"));
            QTest::mouseClick(d->BTNAceptar, Qt::LeftButton);
        });
        EXPECT_EQ(Nodo(e, {0, 1, 0})->text(0), QStringLiteral("E3 bis"));
        Elige(e, {0});
        CreaPresentador(e, "9", false, "Nuevo");
        // Another copy takes the issuer before the save.
        bd.Exec("UPDATE [_Emisores( Datos )] SET Block=1 WHERE Razon_social='E3';");
        QTest::mouseClick(e->BTNAceptar, Qt::LeftButton);
        EXPECT_TRUE(e->isVisible());
        EXPECT_EQ(BlockUsuario(pepe), 1) << "the user is locked again for another try";
        e->reject();
    });
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, QStringLiteral("No se puede modificar el emisor por estar abierto por otro usuario"));
    EXPECT_EQ(bd.Cuenta("[_Presentadores( Datos )]"), 2) << "nothing of the save stayed";
    EXPECT_EQ(bd.Cuenta("[_Emisores( Datos )] WHERE Razon_social='E3'"), 1);
    EXPECT_EQ(BlockUsuario(pepe), 0);
}

} // namespace
