// The drawee window over the main window, offscreen on the shipped database, with a running
// copy in another process as the other copy: what it lists, adding, searching, a reload
// while editing, and deleting drawees with their bills.
#include "rejillas.h"

#include "Aplicacion.h"
#include "Editdocumentos.h"
#include "Frmlibrados.h"
#include "Importacionusuario.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "copias.h"
#include "testutil.h"
#include "ventanas.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>

namespace {

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

std::string Caja(const QLineEdit *caja)
{
    return cp1252::fromQString(caja->text());
}

std::string Valor(const std::string &sql, const std::string &campo)
{
    return arranque::Valor(sql, campo);
}

int Filas(const std::string &tabla)
{
    return std::stoi(arranque::Valor("SELECT COUNT(*) AS N FROM " + tabla, "N"));
}

class VentanaLibrados : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        App().FormLogin->LoginData.Id_usuario = "1";
        copia = std::make_unique<copias::Copia>(carpeta.BD());
        ASSERT_EQ(copia->Pide("registra").substr(0, 1), "1");
        copia->Pide("usuario 1");
        copia->Pide("pasada");
    }

    // Runs the main window's drawee command with accion on the window when it shows.
    void ConVentana(const std::function<void(TfrmLibrados *)> &accion)
    {
        bool mostrada = false;
        AlMostrarse<TfrmLibrados>([&](TfrmLibrados *v) {
            mostrada = true;
            accion(v);
            if (v->isVisible())
                v->done(QDialog::Rejected);
        });
        ASSERT_TRUE(m->cbtMantenimientoLibrados->isEnabled());
        m->cbtMantenimientoLibrados->trigger();
        EXPECT_TRUE(mostrada);
    }

    // The other copy posts a drawee notice; this copy reads it.
    void Avisa(int id)
    {
        ASSERT_EQ(copia->Pide("notifica " + std::to_string(NIVEL_LIBRADOS) + " " + std::to_string(id)), "ok");
        App().Multiuser->LeeActualizaciones();
    }

    static std::vector<std::string> Codigos(const TfrmLibrados *v)
    {
        std::vector<std::string> codigos;
        for (int i = 0; i < v->lstLibrados->topLevelItemCount(); ++i)
            codigos.push_back(cp1252::fromQString(v->lstLibrados->topLevelItem(i)->text(TfrmLibrados::ColCodigo)));
        return codigos;
    }

    static std::string Seleccion(const TfrmLibrados *v)
    {
        std::string codigos;
        for (QTreeWidgetItem *fila : v->lstLibrados->selectedItems())
            codigos += cp1252::fromQString(fila->text(TfrmLibrados::ColCodigo)) + ";";
        return codigos;
    }

    static void Elige(TfrmLibrados *v, const std::string &codigo)
    {
        const auto filas = v->lstLibrados->findItems(cp1252::toQString(codigo), Qt::MatchExactly, TfrmLibrados::ColCodigo);
        ASSERT_EQ(filas.size(), 1);
        v->lstLibrados->setCurrentItem(filas.first(), 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    static std::vector<std::string> Ordenados(std::vector<std::string> codigos)
    {
        std::sort(codigos.begin(), codigos.end());
        return codigos;
    }

    std::unique_ptr<copias::Copia> copia;
};

TEST_F(VentanaLibrados, ListsTheUsersDraweesOfTheOrderTypeAndAddsOneToTheIssuerShown)
{
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Id_nif,Razon_social,"
                                  "Cuenta_abono) VALUES (4,1,'D44444444','Emisor D','21000418450200051332')"));
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,"
                                  "Razon_social,Cuenta) VALUES (9,4,'R9','Otro emisor','21000418450200051332')"));
    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) {
        EXPECT_EQ(cp1252::fromQString(v->windowTitle()), Texto(454));
        EXPECT_EQ(Ordenados(Codigos(v)), (std::vector<std::string>{"R1", "R2", "R9"}))
            << "every issuer of the user's CSB19 presenters, not the CSB58 drawee R3";
        EXPECT_EQ(Seleccion(v), Codigos(v).front() + ";") << "the first shown";
        EXPECT_EQ(Caja(v->txtCodReferencia), Codigos(v).front());
        EXPECT_EQ(v->Estado(), 0);
        EXPECT_TRUE(v->panelCSB19->isVisible());
        EXPECT_FALSE(v->panelCSB58->isVisible());

        v->cbtAlta->click();
        EXPECT_EQ(v->Estado(), 1);
        EXPECT_FALSE(v->lstLibrados->isEnabled());
        EXPECT_FALSE(v->cbtOK->isEnabled());
        QTest::keyClicks(v->txtCodReferencia, "N1");
        QTest::keyClicks(v->txtLibrado, "Nuevo O'Hara");
        QTest::keyClicks(v->txtBanco, "2100");
        v->txtOficina->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(v->txtOficina, "418");
        v->txtCuenta->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Caja(v->txtOficina), "0418") << "zero-filled on leaving";
        QTest::keyClicks(v->txtCuenta, "200051332");
        v->txtTitularCuenta->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Caja(v->txtCuenta), "0200051332");
        EXPECT_EQ(Caja(v->txtDC), "45") << "blank check digits filled";
        QTest::keyClicks(v->txtCP, "28001");
        EXPECT_EQ(Caja(v->txtProvincia), m->GetProvincia("28"));
        EXPECT_FALSE(Caja(v->txtProvincia).empty());
        v->cbtOK->click();
        EXPECT_EQ(v->Estado(), 0);
        EXPECT_TRUE(v->lstLibrados->isEnabled());
        EXPECT_EQ(Seleccion(v), "N1;");
        EXPECT_NE(copia->Pide("pasada").find(":4:0;"), std::string::npos) << "a CSB19 drawee notice";

        v->cbtAlta->click();
        QTest::keyClicks(v->txtCodReferencia, "R2");
        QTest::keyClicks(v->txtLibrado, "Repetido");
        RespondeCajas cajas;
        v->cbtOK->click();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Texto(302));
        EXPECT_EQ(v->Estado(), 1) << "the user corrects the fields";
    });
    const std::string nuevo = "SELECT * FROM [Librados( Datos )] WHERE Codigo_referencia='N1'";
    EXPECT_EQ(Valor(nuevo, "Id_emisor"), "1") << "the issuer selected at show";
    EXPECT_EQ(Valor(nuevo, "Razon_social"), "Nuevo O'Hara");
    EXPECT_EQ(Valor(nuevo, "Cuenta"), "21000418450200051332");
    EXPECT_EQ(Valor(nuevo, "Provincia"), m->GetProvincia("28"));
    EXPECT_EQ(Filas("[Librados( Datos )] WHERE Codigo_referencia='R2'"), 1);
    EXPECT_NE(copia->Pide("pasada").find(":0:0;"), std::string::npos) << "after the window: reload everything";
}

// Texts with quotes, up to a field's length and every byte from the blank on, each stored
// through the drawee window (a new drawee), the bill editor (the drawee it rewrites) and the
// sequential import, come back as typed, the bar the one byte cleaned, from the database and
// from both drawee lists.
TEST_F(VentanaLibrados, QuotesAreStoredAndShownAsTyped)
{
    std::vector<std::string> textos = {"'", "'Inicio", "Final'", "O''Doble", std::string(49, 'L') + "'", "O`Antiguo"};
    for (int desde = 0x20; desde < 0x100; desde += 40) {
        std::string bytes;
        for (int b = desde; b < std::min(desde + 40, 0x100); ++b)
            bytes += char(b);
        textos.push_back("[" + bytes + "]");
    }
    auto guardado = [](std::string t) {
        std::replace(t.begin(), t.end(), '|', '\xA6');
        return t;
    };
    auto nombre = [](const std::string &codigo) {
        return Valor("SELECT Razon_social FROM [Librados( Datos )] WHERE Codigo_referencia='" + codigo + "'",
                     "Razon_social");
    };
    auto enLista = [](QTreeWidget *lista, const std::string &codigo, int referencia, int columna) {
        const auto filas = lista->findItems(cp1252::toQString(codigo), Qt::MatchExactly, referencia);
        return filas.size() == 1 ? cp1252::fromQString(filas.first()->text(columna)) : std::string("?");
    };
    const std::string linea(80, ' ');
    auto campos = [&linea](std::initializer_list<std::pair<size_t, std::string>> valores) {
        std::string l = linea;
        for (const auto &[desde, valor] : valores)
            l.replace(desde - 1, valor.size(), valor);
        return l + "\r\n";
    };
    std::string datos = campos({{1, "P"}, {2, "B11111111"}, {11, "000"}, {14, "Norte"}}) +
                        campos({{1, "M"}, {2, "A11111111"}, {14, "Emisor A"}, {34, "21000418450200051332"}});
    for (size_t k = 0; k < textos.size(); ++k)
        datos += campos({{1, "L"}, {2, "S" + std::to_string(k)}, {14, textos[k]}}) + campos({{1, "R"}, {2, "1"}});
    testutil::writeFile(carpeta.Ruta("tablas.dat"), testutil::readFile(PROGRAM_DIR "tablas.dat"));
    testutil::writeFile(carpeta.Ruta("s.sec"),
                        "[LINEAS]\r\nPresentador=P,1,1,NULL\r\nEmisor=M,1,1,NULL\r\nLibrado=L,1,1,NULL\r\n"
                        "Recibo=R,1,1,NULL\r\n[Presentador]\r\n"
                        "Nif=2,9,ALFANUMERICO,[_Presentadores( Datos )].Id_nif,000200000\r\n"
                        "Sufijo=11,3,ALFANUMERICO,[_Presentadores( Datos )].Sufijo,000200000\r\n"
                        "Razon=14,30,ALFANUMERICO,[_Presentadores( Datos )].Razon_social,000200000\r\n[Emisor]\r\n"
                        "Nif=2,9,ALFANUMERICO,[_Emisores( Datos )].Id_nif,000300000\r\n"
                        "Sufijo=11,3,ALFANUMERICO,[_Emisores( Datos )].Sufijo,000300000\r\n"
                        "Razon=14,20,ALFANUMERICO,[_Emisores( Datos )].Razon_social,000300000\r\n"
                        "Cuenta=34,20,ALFANUMERICO,[_Emisores( Datos )].Cuenta_abono,000300000\r\n[Librado]\r\n"
                        "Codigo=2,12,ALFANUMERICO,[Librados( Datos )].Codigo_referencia,000400000\r\n"
                        "Razon=14,50,ALFANUMERICO,[Librados( Datos )].Razon_social,000400000\r\n[Recibo]\r\n"
                        "Importe=2,10,NUMERICO,[Documentos()].Importe,000500000\r\n");
    testutil::writeFile(carpeta.Ruta("s.txt"), datos);
    _ImportacionUsuario importacion({[](const std::string &) {}, [](long long, long long, bool) {}});
    ASSERT_EQ(importacion.Ejecuta(carpeta.Ruta("s.sec"), carpeta.Ruta("s.txt"), 1, 1),
              _ImportacionUsuario::Resultado::Terminada);

    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) {
        for (size_t k = 0; k < textos.size(); ++k) {
            v->cbtAlta->click();
            v->txtCodReferencia->insert("D" + QString::number(k));
            v->txtLibrado->insert(cp1252::toQString(textos[k]));
            for (const auto &[caja, texto] : {std::pair{v->txtBanco, "2100"}, {v->txtOficina, "0418"},
                                              {v->txtDC, "45"}, {v->txtCuenta, "0200051332"}})
                caja->insert(QString::fromLatin1(texto));
            v->cbtOK->click();
            const std::string d = "D" + std::to_string(k), s = "S" + std::to_string(k);
            EXPECT_EQ(nombre(d), guardado(textos[k])) << k;
            EXPECT_EQ(nombre(s), guardado(textos[k])) << "imported " << k;
            EXPECT_EQ(enLista(v->lstLibrados, d, TfrmLibrados::ColCodigo, TfrmLibrados::ColNombre),
                      guardado(textos[k]))
                << k;
            EXPECT_EQ(enLista(v->lstLibrados, s, TfrmLibrados::ColCodigo, TfrmLibrados::ColNombre),
                      guardado(textos[k]))
                << "imported " << k;
        }
    });

    Selecciona(ArbolRemesa, 1);
    RespondeCajas cajas;
    AlMostrarse<TFormEditDocumentos>([&](TFormEditDocumentos *e) {
        for (size_t k = 0; k < textos.size(); ++k) {
            e->txtLibrado->clear();
            e->txtCodReferencia->setFocus();
            e->txtCodReferencia->insert(QStringLiteral("R1"));
            QTest::keyClick(e->txtCodReferencia, Qt::Key_Tab);
            ASSERT_TRUE(QTest::qWaitFor([e] { return !e->txtLibrado->text().isEmpty(); }));
            e->txtLibrado->setText(cp1252::toQString(textos[k]));
            e->txtTitularCuenta->clear(); // the holder is the name
            e->txtImporte->insert(QStringLiteral("1"));
            e->cbtOK->click();
            EXPECT_EQ(nombre("R1"), guardado(textos[k])) << "rewritten by the bill editor " << k;
            e->cbtLibrado->click();
            EXPECT_EQ(enLista(e->lstLibrados, "R1", 1, 2), guardado(textos[k])) << k;
            e->cbtCancel->click(); // closes the list
        }
        e->cbtCancel->click();
    });
    m->cbtAlta->trigger();
    EXPECT_TRUE(cajas.Vistas.empty());
}

// The drawee lists' rows hold the accents of capitals: an N with tilde never reads as a plain N.
TEST_F(VentanaLibrados, AccentedCapitalsFitTheirRowsInBothDraweeLists)
{
    const QString texto = QString::fromUtf8("\u00D1and\u00FA \u00C9bano");
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Librados( Datos )] SET Razon_social='" + cp1252::fromQString(texto) +
                                  "' WHERE Id_librado=1"));
    // As the item delegate draws it: the text's line centred in its row.
    auto cabe = [&texto](QTreeWidget *lista, int columna) {
        const auto filas = lista->findItems(texto, Qt::MatchExactly, columna);
        ASSERT_EQ(filas.size(), 1);
        const QRect fila = lista->visualItemRect(filas.first());
        const QFontMetrics fm(lista->font());
        const int base = fila.top() + (fila.height() - fm.height()) / 2 + fm.ascent();
        const QRect letras = fm.tightBoundingRect(texto);
        EXPECT_GE(base + letras.top(), fila.top()) << lista->objectName().toStdString();
        EXPECT_LE(base + letras.bottom(), fila.bottom());
    };
    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) { cabe(v->lstLibrados, TfrmLibrados::ColNombre); });
    Selecciona(ArbolRemesa, 1);
    AlMostrarse<TFormEditDocumentos>([&](TFormEditDocumentos *e) {
        e->cbtLibrado->click();
        cabe(e->lstLibrados, 2);
        e->cbtCancel->click();
        e->cbtCancel->click();
    });
    m->cbtAlta->trigger();
}

TEST_F(VentanaLibrados, EveryColumnAndFieldShowsItsLongestValueWhole)
{
    // Capitals of the longest lengths: code 12, name and address texts 50.
    const QString codigo = QStringLiteral("MARIAGONZA12"), cuenta = QStringLiteral("21000418450200051332");
    const QString nombre = QStringLiteral("CONSTRUCCIONES Y REFORMAS DEL MEDITERRANEO S.L. 01");
    const std::string texto = "'" + nombre.toStdString() + "'";
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,"
                                  "Cuenta,Titular_cuenta,Direccion,Localidad,Provincia) VALUES (9,1,'" +
                                  codigo.toStdString() + "'," + texto + ",'" + cuenta.toStdString() + "'," + texto +
                                  "," + texto + "," + texto + "," + texto + ")"));
    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) {
        Elige(v, codigo.toStdString());
        QTreeWidget *lista = v->lstLibrados;
        const int margen = 2 * (lista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        int columnas = 0;
        for (const auto &[columna, valor] : {std::pair{int(TfrmLibrados::ColCodigo), codigo},
                                             std::pair{int(TfrmLibrados::ColNombre), nombre},
                                             std::pair{int(TfrmLibrados::ColCuenta), cuenta}}) {
            EXPECT_GE(lista->columnWidth(columna) - margen, Necesita(lista, valor)) << columna;
            columnas += lista->columnWidth(columna);
        }
        EXPECT_GE(lista->viewport()->width(), columnas) << "the list shows the three columns";
        for (QLineEdit *caja : {v->txtCodReferencia, v->txtLibrado, v->txtTitularCuenta, v->txtDireccion,
                                v->txtLocalidad, v->txtProvincia})
            EXPECT_GE(Sitio(caja), Necesita(caja, caja->text())) << cp1252::fromQString(caja->text());
    });
}

TEST_F(VentanaLibrados, WithoutIssuerNothingCanBeAddedWithoutDraweesANewOneStarts)
{
    Selecciona(ArbolPresentador, 1);
    TfrmLibrados *v = App().frmLibrados;
    v->show();
    EXPECT_EQ(v->lstLibrados->topLevelItemCount(), 0);
    EXPECT_EQ(v->Estado(), 0) << "no new drawee without an issuer";
    EXPECT_FALSE(v->cbtAlta->isEnabled());
    v->cbtAltaClick();
    EXPECT_EQ(v->Estado(), 0);
    v->hide();

    ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [Librados( Datos )] WHERE Id_librado=3"));
    Selecciona(ArbolEmisor, 2);
    ConVentana([&](TfrmLibrados *v) {
        EXPECT_EQ(v->Estado(), 1) << "no CSB58 drawee: a new one at once";
        EXPECT_TRUE(v->panelCSB58->isVisible());
        EXPECT_FALSE(v->panelCSB19->isVisible());
        EXPECT_EQ(cp1252::fromQString(v->lblTitular->text()).rfind(Texto(307), 0), 0u);
        QTest::keyClicks(v->txtCodReferencia, "S1");
        QTest::keyClicks(v->txtLibrado, "Sin cuenta");
        QTest::keyClicks(v->txtLocalidadDeudor58, "Sabadell");
        QTest::keyClicks(v->txtDomicilioDeudor58, "Calle 1");
        QTest::keyClicks(v->txtCPDeudor58, "08208");
        QTest::keyClicks(v->txtLocalidadReceptor58, "Barcelona");
        QTest::keyClicks(v->txtCPReceptor58, "08");
        v->cbtOK->click();
        EXPECT_EQ(v->Estado(), 0);
    });
    const std::string nuevo = "SELECT * FROM [Librados( Datos )] WHERE Codigo_referencia='S1'";
    EXPECT_EQ(Valor(nuevo, "Cuenta"), "00000000000000000000");
    EXPECT_EQ(Valor(nuevo, "Cod_provincia_ordenante"), "08");
    EXPECT_EQ(Valor(nuevo, "Id_emisor"), "2");
}

// A drawee earlier builds stored with "`" for "'" is no duplicate of itself, and digits that do
// not match the account (a mistyped 0200051332) store nothing until retyped at the cursor.
TEST_F(VentanaLibrados, AChangedDraweeIsStoredOnceItsDigitsMatchAndIsNoDuplicateOfItself)
{
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Librados( Datos )] SET Codigo_referencia='O`NEIL' WHERE Id_librado=1"));
    Selecciona(ArbolEmisor, 1);
    RespondeCajas cajas;
    ConVentana([&](TfrmLibrados *v) {
        Elige(v, "O`NEIL");
        for (const auto &[caja, texto] :
             {std::pair{v->txtCodReferencia, "O'NEIL"}, {v->txtDC, "99"}, {v->txtCuenta, "0200051323"}}) {
            caja->setFocus();
            caja->selectAll();
            QTest::keyClicks(caja, texto);
        }
        QTest::keyClick(v->txtCuenta, Qt::Key_Return);
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Texto(828));
        EXPECT_EQ(v->Estado(), 2) << "nothing stored";
        ASSERT_TRUE(Activa(v));
        EXPECT_EQ(QApplication::focusWidget(), v->txtDC);
        EXPECT_EQ(Caja(v->txtDC), "99") << "as typed";
        QTest::keyClicks(v->txtDC, "42");
        QTest::keyClick(v->txtDC, Qt::Key_Return);
    });
    const std::string librado = "SELECT * FROM [Librados( Datos )] WHERE Id_librado=1";
    EXPECT_EQ(Valor(librado, "Codigo_referencia"), "O'NEIL");
    EXPECT_EQ(Valor(librado, "Cuenta"), "21000418420200051323");
}

TEST_F(VentanaLibrados, TheListsArrowsMoveTheSelectionAndTheDraweeShown)
{
    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) {
        const std::vector<std::string> codigos = Codigos(v);
        ASSERT_EQ(codigos.size(), 2u);
        v->lstLibrados->setFocus();
        for (const auto &[tecla, fila] : {std::pair{Qt::Key_Down, 1}, {Qt::Key_Home, 0}, {Qt::Key_End, 1}}) {
            QTest::keyClick(v->lstLibrados, tecla);
            EXPECT_EQ(Seleccion(v), codigos[fila] + ";") << tecla;
            EXPECT_EQ(Caja(v->txtCodReferencia), codigos[fila]) << tecla;
        }
    });
}

// Scrolled on a screen smaller than itself, the window keeps the focus it gave itself: the
// reference of the new drawee it starts.
TEST_F(VentanaLibrados, ScrolledOnASmallScreenItKeepsItsFocus)
{
    ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [Librados( Datos )] WHERE Id_librado=3"));
    Selecciona(ArbolEmisor, 2);
    ConVentana([](TfrmLibrados *v) {
        EXPECT_NE(v->findChild<QScrollArea *>(), nullptr) << "larger than this screen";
        EXPECT_EQ(QApplication::focusWidget(), v->txtCodReferencia);
    });
}

TEST_F(VentanaLibrados, SearchContinuesAfterItsHitAndEscapeAsks)
{
    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) {
        RespondeCajas cajas({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::No});
        v->BTNBusquedaClick();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Texto(632));
        QTest::keyClicks(v->TXTBuscar, "R");
        const std::vector<std::string> esperadas = {"R1;", "R2;", "R2;", "R1;"};
        for (const std::string &esperada : esperadas) {
            QTest::keyClick(v, Qt::Key_F3);
            EXPECT_EQ(Seleccion(v), esperada);
        }
        ASSERT_EQ(cajas.Vistas.size(), 2u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[1].texto), Texto(617)) << "after the last hit, once";

        v->lstLibrados->setFocus();
        QTest::keyClick(v->lstLibrados, Qt::Key_Escape);
        ASSERT_EQ(cajas.Vistas.size(), 3u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[2].texto), Texto(499));
        EXPECT_TRUE(v->isVisible()) << "No keeps the window";
    });
}

TEST_F(VentanaLibrados, AReloadKeepsSelectionAndStateAndTheChangeStaysWithItsDrawee)
{
    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) {
        Elige(v, "R2");
        EXPECT_EQ(Caja(v->txtCodReferencia), "R2");
        v->txtLibrado->selectAll();
        QTest::keyClicks(v->txtLibrado, "Bravo SA");
        EXPECT_EQ(v->Estado(), 2);
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,"
                                      "Razon_social,Cuenta) VALUES (8,1,'A0','Antes','21000418450200051332')"));
        Avisa(0);
        EXPECT_EQ(Codigos(v).size(), 3u) << "reloaded";
        EXPECT_EQ(v->Estado(), 2);
        EXPECT_EQ(Caja(v->txtLibrado), "Bravo SA");
        EXPECT_FALSE(v->lstLibrados->isEnabled());
        EXPECT_EQ(Seleccion(v), "R2;");
        v->cbtOK->click();
        EXPECT_EQ(v->Estado(), 0);

        Elige(v, "R1");
        v->txtLibrado->selectAll();
        QTest::keyClicks(v->txtLibrado, "Perdido");
        ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [Librados( Datos )] WHERE Id_librado=1"));
        Avisa(0);
        EXPECT_EQ(v->Estado(), 2);
        RespondeCajas cajas;
        v->cbtOK->click();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Texto(650));
        EXPECT_EQ(v->Estado(), 0);
    });
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Id_librado=2", "Razon_social"), "Bravo SA");
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Id_librado=8", "Razon_social"), "Antes");
    EXPECT_EQ(Filas("[Librados( Datos )] WHERE Razon_social='Perdido'"), 0) << "a drawee gone is not written";
}

// The other copy's drawee window, as its lock and its accepted change: a change starts only
// on a drawee no other copy is changing and as it is stored, and while it runs the other copy
// cannot start its own; neither writes over what the other accepted.
TEST_F(VentanaLibrados, TwoCopiesNeverChangeOneDraweeAtOnce)
{
    const struct {
        const char *otra; // the other copy's lock, or its accepted change as SQL
        int aviso, estado;
        const char *nombre;
    } casos[] = {
        {"bloquea librado 2 0", 650, 0, "Bravo & Hijos"},
        {"UPDATE [Librados( Datos )] SET Razon_social='Bravo SA' WHERE Id_librado=2", 943, 0, "Bravo SA"},
        {"", 0, 2, "Bravo SA"},
    };
    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) {
        for (const auto &c : casos) {
            Elige(v, "R2");
            if (std::string(c.otra).rfind("UPDATE", 0) == 0)
                ASSERT_TRUE(arranque::Ejecuta(c.otra));
            else if (*c.otra)
                ASSERT_EQ(copia->Pide(c.otra), "1");
            RespondeCajas cajas;
            v->txtDireccion->insert(QStringLiteral("Calle Nueva"));
            ASSERT_EQ(cajas.Vistas.size(), c.aviso ? 1u : 0u) << c.otra;
            EXPECT_TRUE(!c.aviso || cp1252::fromQString(cajas.Vistas[0].texto) == Texto(c.aviso)) << c.otra;
            EXPECT_EQ(v->Estado(), c.estado) << c.otra;
            EXPECT_EQ(Caja(v->txtLibrado), c.nombre) << c.otra;
            const std::string suya = copia->Pide("bloquea librado 2 0");
            EXPECT_EQ(suya, c.estado == 2 ? "0" : "1") << c.otra << ": the other copy starts its change";
            if (suya == "1")
                copia->Pide("desbloquea librado 2");
        }
        v->cbtOK->click();
    });
    EXPECT_EQ(Valor("SELECT Razon_social || ' / ' || Direccion AS R FROM [Librados( Datos )] WHERE Id_librado=2", "R"),
              "Bravo SA / Calle Nueva");
}

TEST_F(VentanaLibrados, DeleteTakesTheKeysAtItsStartAndEachDraweeGoesWithItsBillsOrNotAtAll)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 4, 1, 2)));
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,"
                                  "Razon_social,Cuenta) VALUES (8,1,'R8','Sin recibos','21000418450200051332')"));
    const std::string retenido = Valor("SELECT MIN(Id_documento) AS D FROM [Documentos()] WHERE Id_librado=2", "D");
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET Block=1 WHERE Id_documento=" + retenido));
    Selecciona(ArbolEmisor, 1);
    ConVentana([&](TfrmLibrados *v) {
        v->lstLibrados->selectAll();
        std::vector<std::string> vistas;
        Respondedor<QMessageBox> respuestas([&](QMessageBox *caja) {
            vistas.push_back(cp1252::fromQString(caja->text()));
            if (vistas.size() == 1) {
                ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,"
                                              "Codigo_referencia,Razon_social,Cuenta) VALUES (7,1,'R7','Nuevo',"
                                              "'21000418450200051332')"));
                Avisa(0); // selects all of the reloaded list again
            }
            caja->button(caja->buttons().size() > 1 ? QMessageBox::Yes : QMessageBox::Ok)->click();
        });
        v->cbtBaja->click();
        EXPECT_EQ(vistas, (std::vector<std::string>{Texto(306), Texto(306), Texto(651)}))
            << "two drawees with bills asked, one failure said once";
        EXPECT_EQ(Ordenados(Codigos(v)), (std::vector<std::string>{"R2", "R7"}));
        EXPECT_EQ(Seleccion(v).find("R2"), std::string::npos) << "the one kept is deselected";
    });
    EXPECT_EQ(Filas("[Librados( Datos )] WHERE Id_librado IN (1,8)"), 0);
    EXPECT_EQ(Filas("[Documentos()] WHERE Id_librado=1"), 0) << "its bills went with it";
    EXPECT_EQ(Filas("[Librados( Datos )] WHERE Id_librado IN (2,7)"), 2) << "R7 came during the question";
    EXPECT_EQ(Filas("[Documentos()] WHERE Id_librado=2"), 2) << "a held bill keeps its drawee and the others";
}

} // namespace
