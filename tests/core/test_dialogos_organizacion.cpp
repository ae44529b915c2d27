// The company, presenter and issuer dialogs, driven offscreen: required fields, cleaning,
// uniqueness against the database and the editor's pending changes, account numbers.
#include "Uniemisor.h"
#include "Uniempresa.h"
#include "Unipresentador.h"

#include "bdusuarios.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString Q(const char *cp1252)
{
    return cp1252::toQString(cp1252);
}

const char *const kSufijo = "El sufijo debe ser un n\xFAmero de tres cifras, como 001.";

class Dialogos : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bd.Abierta());
        usuario = bd.Usuario("PEPE", "x");
        otro = bd.Usuario("LUIS", "x");
        empresa = bd.Empresa(usuario, "B12345678", "Primera");
        bd.Empresa(otro, "B99999999", "De Luis");
        presentador = bd.Presentador(empresa, "CSB19", "12345678Z", "000", "Presenta");
        bd.Emisor(presentador, "12345678Z", "001", "Emite");
        ASSERT_TRUE(org.Carga(usuario));
    }

    // Shows the dialog modally; rellena types into it and presses OK (or Cancel). Returns
    // whether it closed accepted; false also when it is still open after rellena.
    template<class D>
    bool Ejecuta(D &dialogo, std::function<void(D *)> rellena)
    {
        bool abierto = false, visto = false;
        AlMostrarse<D>([&](D *d) {
            visto = true;
            rellena(d);
            abierto = d->isVisible();
            if (abierto)
                d->reject();
        });
        const int resultado = dialogo.exec();
        EXPECT_TRUE(visto);
        return !abierto && resultado == QDialog::Accepted;
    }

    bdusuarios::BaseUsuarios bd;
    _Organizacion org;
    int usuario = 0, otro = 0, empresa = 0, presentador = 0;
};

TEST_F(Dialogos, CompanyRequiresBothFieldsAndAUniqueTaxCodeWithinTheUser)
{
    struct Caso {
        const char *nombre, *cif;
        bool acepta;
        const char *mensaje, *titulo; // the refusal, or nullptr
        const char *porque;
    } casos[] = {
        {"", "B1", false, "Debe rellenar todos los campos", "Error", "no name"},
        {"Nueva", "", false, "Debe rellenar todos los campos", "Error", "no tax code"},
        {"Nueva", "b12345678", false, "Ya existe otra empresa con estos datos,\n no se puede completar la operaci\xF3n.",
         "Aviso", "the user's own tax code again, in other case"},
        {"Nueva", "B99999999", true, nullptr, nullptr, "another user's tax code is free for this one"},
        {"Compa\xF1\xED" "a", "A1", true, nullptr, nullptr, "accented name typed"},
    };
    for (const Caso &c : casos) {
        TFRMEmpresa d;
        d.PreparaAlta(org);
        RespondeCajas cajas;
        const bool aceptada = Ejecuta<TFRMEmpresa>(d, [&](TFRMEmpresa *v) {
            EXPECT_TRUE(v->TXTNombre->hasFocus()) << "focus on the name";
            EXPECT_EQ(v->Label2->text(), QStringLiteral("Cif :"));
            Teclea(v->TXTNombre, Q(c.nombre));
            Teclea(v->TXTCif, Q(c.cif));
            QTest::mouseClick(v->BTNAceptar, Qt::LeftButton);
        });
        EXPECT_EQ(aceptada, c.acepta) << c.porque;
        ASSERT_EQ(cajas.Vistas.size(), c.mensaje ? 1u : 0u) << c.porque;
        if (c.mensaje) {
            EXPECT_EQ(cajas.Vistas[0].texto, Q(c.mensaje)) << c.porque;
            EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::Critical) << c.porque;
            EXPECT_EQ(cajas.Vistas[0].titulo, Q(c.titulo)) << c.porque;
        } else {
            EXPECT_EQ(d.Lee().Nombre, c.nombre);
        }
    }
}

TEST_F(Dialogos, UniquenessSeesTheEditorsPendingChanges)
{
    // A company added but not written, and the stored one removed but not written.
    org.Alta(usuario, STREmpresa{"C1", "Pendiente"});
    org.Baja(NivelEmpresa, empresa);
    struct Caso {
        const char *cif;
        bool acepta;
        const char *porque;
    } casos[] = {
        {"c1", false, "a pending company's tax code is taken"},
        {"B12345678", true, "a pending removal frees its tax code"},
    };
    for (const Caso &c : casos) {
        TFRMEmpresa d;
        d.PreparaAlta(org);
        RespondeCajas cajas;
        EXPECT_EQ(Ejecuta<TFRMEmpresa>(d, [&](TFRMEmpresa *v) {
                      Teclea(v->TXTNombre, QStringLiteral("Otra"));
                      Teclea(v->TXTCif, Q(c.cif));
                      QTest::keyClick(v, Qt::Key_Return);
                  }),
                  c.acepta)
            << c.porque;
    }
}

TEST_F(Dialogos, ModifyingACompanyKeepsItsOwnTaxCodeAndCleansTheTexts)
{
    TFRMEmpresa d;
    d.PreparaModificacion(org, empresa, STREmpresa{"B12345678", "Primera"});
    RespondeCajas cajas;
    EXPECT_TRUE(Ejecuta<TFRMEmpresa>(d, [](TFRMEmpresa *v) {
        EXPECT_EQ(v->TXTCif->text(), QStringLiteral("B12345678"));
        v->TXTNombre->clear();
        Teclea(v->TXTNombre, QStringLiteral("O'Brien,,SL|"));
        QTest::mouseClick(v->BTNAceptar, Qt::LeftButton);
    }));
    EXPECT_TRUE(cajas.Vistas.empty());
    EXPECT_EQ(d.Lee().Nombre, "O'Brien ,SL\xA6") << "doubled comma and bar cleaned, the quote kept";
    EXPECT_EQ(d.TXTNombre->text(), Q("O'Brien ,SL\xA6")) << "the cleaned text is put back";
}

TEST_F(Dialogos, PresenterFieldsKeyAndOrderType)
{
    struct Caso {
        const char *razon, *nif, *sufijo;
        bool csb58;
        bool acepta;
        const char *mensaje, *titulo;
        const char *clave;
        const char *porque;
    } casos[] = {
        {"", "1234", "1", false, false, "Debe rellenar todos los campos", "Error", nullptr, "no name"},
        {"P", "", "1", false, false, "Debe rellenar todos los campos", "Error", nullptr, "no NIF"},
        {"P", "1234", "", false, false, "Debe rellenar todos los campos", "Error", nullptr, "no suffix"},
        {"P", "12345678z", "000", false, false,
         "Ya existe otro presentador con estos datos,\n no se puede completar la operaci\xF3n.", "Error", nullptr,
         "same NIF, suffix and order type in the company"},
        {"P", "12345678Z", "000", true, true, nullptr, nullptr, "12345678Z000",
         "the same NIF and suffix as CSB58 is another presenter"},
        {"P", "1234", "001", false, true, nullptr, nullptr, "     1234001", "NIF right-aligned"},
        {"P", "\xF1" "1'2\xE1", "001", false, false,
         "El NIF \xF1" "1'2\xE1 solo puede tener cifras y letras de la A a la Z: no valen '\xF1', ''', '\xE1'.",
         "Error", nullptr, "a quote, and a small n with tilde and an accented a that the bank would read as n and a"},
        {"P", "1234", "0001", false, true, nullptr, nullptr, "     1234000", "the box keeps three characters"},
        {"P", "1234", "1", false, false, kSufijo, "Error", nullptr, "one digit"},
        {"P", "1234", "12", false, false, kSufijo, "Error", nullptr, "two digits"},
        {"P", "1234", "1A", false, false, kSufijo, "Error", nullptr, "a letter"},
        {"P", "1234", "A12", false, false, kSufijo, "Error", nullptr, "a letter first"},
        {"P", "1234", " 1", false, false, kSufijo, "Error", nullptr, "a blank"},
        {"P", "b46103834", "002", false, true, nullptr, nullptr, "B46103834002", "a NIF's letter as a capital"},
        {"P", "B46103834", "001", false, false,
         "Ya existe otro presentador con estos datos,\n no se puede completar la operaci\xF3n.", "Error", nullptr,
         "the suffix \"1\" stored earlier is the bank's 001"},
    };
    bd.Presentador(empresa, "CSB19", "B46103834", "1", "Antiguo");
    ASSERT_TRUE(org.Carga(usuario));
    for (const Caso &c : casos) {
        TFRMPresentador d;
        d.PreparaAlta(org, empresa, 0);
        RespondeCajas cajas;
        const bool aceptado = Ejecuta<TFRMPresentador>(d, [&](TFRMPresentador *v) {
            EXPECT_TRUE(v->RBcsb19->isChecked()) << "CSB19 by default";
            EXPECT_EQ(v->windowTitle(), QStringLiteral("A\u00f1adir presentador"));
            Teclea(v->TXTRazon, Q(c.razon));
            Teclea(v->TXTNif, Q(c.nif));
            Teclea(v->TXTSufijo, Q(c.sufijo));
            if (c.csb58)
                QTest::mouseClick(v->RBcsb58, Qt::LeftButton, {}, QPoint(8, v->RBcsb58->height() / 2));
            QTest::mouseClick(v->BTNAceptar, Qt::LeftButton);
        });
        EXPECT_EQ(aceptado, c.acepta) << c.porque;
        ASSERT_EQ(cajas.Vistas.size(), c.mensaje ? 1u : 0u) << c.porque;
        if (c.mensaje) {
            EXPECT_EQ(cajas.Vistas[0].texto, Q(c.mensaje)) << c.porque;
            EXPECT_EQ(cajas.Vistas[0].titulo, Q(c.titulo)) << c.porque;
        } else {
            const STRPresentador p = d.Lee();
            EXPECT_EQ(p.Clave_presentador, c.clave) << c.porque;
            EXPECT_EQ(p.Id_orden, c.csb58 ? "CSB58" : "CSB19") << c.porque;
        }
    }
}

TEST_F(Dialogos, PresenterPreparation)
{
    TFRMPresentador d;
    d.PreparaAlta(org, empresa, 1);
    EXPECT_TRUE(d.RBcsb58->isChecked()) << "kind 1 preselects CSB58";
    d.PreparaModificacion(org, empresa, presentador, STRPresentador{"csb19", "", "12345678Z", "000", "Presenta"}, true);
    EXPECT_TRUE(d.RBcsb19->isChecked()) << "stored order type compared without regard to case";
    EXPECT_FALSE(d.RBcsb19->isEnabled());
    EXPECT_FALSE(d.RBcsb58->isEnabled()) << "a presenter with issuers keeps its order type";
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Modificar presentador"));
    RespondeCajas cajas;
    EXPECT_TRUE(Ejecuta<TFRMPresentador>(d, [](TFRMPresentador *v) { QTest::mouseClick(v->BTNAceptar, Qt::LeftButton); }))
        << "its own row is no duplicate";
}

// Twins an earlier build left: the presenter with issuers stored as "1", and an empty "001".
TEST_F(Dialogos, TwinPresentersStayEditableAndTheEmptyOneGoes)
{
    const int lleno = bd.Presentador(empresa, "CSB19", "B46103834", "1", "Lleno");
    bd.Emisor(lleno, "B46103834", "001", "Emite");
    const int vacio = bd.Presentador(empresa, "CSB19", "B46103834", "001", "Vacio");
    ASSERT_TRUE(org.Carga(usuario));
    auto cambia = [&](int clave, const char *sufijo) {
        TFRMPresentador d;
        d.PreparaModificacion(org, empresa, clave, std::get<STRPresentador>(org.Busca(NivelPresentador, clave)->Datos),
                              clave == lleno);
        RespondeCajas cajas;
        return Ejecuta<TFRMPresentador>(d, [&](TFRMPresentador *v) {
                   v->TXTSufijo->clear();
                   Teclea(v->TXTSufijo, Q(sufijo));
                   QTest::mouseClick(v->BTNAceptar, Qt::LeftButton);
               }) && cajas.Vistas.empty();
    };
    EXPECT_TRUE(cambia(vacio, "001")) << "its own row is no twin";
    EXPECT_FALSE(cambia(lleno, "001")) << "two of 001";
    org.Baja(NivelPresentador, vacio);
    EXPECT_TRUE(cambia(lleno, "001")) << "without its twin";
    FalloOrganizacion fallo;
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    EXPECT_TRUE(org.Escribe(fallo) && VASQ_CommitTrans() == 0);
    EXPECT_EQ(bd.Cuenta("[_Presentadores( Datos )] WHERE Id_nif='B46103834'"), 1) << "the empty twin deleted";
}

// The issuer dialog's fields, by box, for the table below.
struct Emisor {
    const char *razon = "Emisora", *nif = "B1", *sufijo = "002";
    const char *banco = "2100", *oficina = "0418", *control = "", *cuenta = "0200051332";
    const char *bancoC = "", *oficinaC = "", *controlC = "", *cuentaC = "";
};

void Rellena(TFRMEmisores *v, const Emisor &e)
{
    const std::pair<QLineEdit *, const char *> cajas[] = {
        {v->TXTRazon, e.razon},         {v->TXTNif, e.nif},           {v->TXTSufijo, e.sufijo},
        {v->TXTCuenta, e.banco},        {v->TXTOficina, e.oficina},   {v->TXTControl, e.control},
        {v->TXTDigitos, e.cuenta},      {v->TXTCuentaCargo, e.bancoC}, {v->TXTOficinaCargo, e.oficinaC},
        {v->TXTControlCargo, e.controlC}, {v->TXTDigitosCargo, e.cuentaC},
    };
    for (const auto &[caja, texto] : cajas) {
        caja->setFocus();
        Teclea(caja, Q(texto));
    }
}

TEST_F(Dialogos, IssuerRequiredFieldsAreNamedInOneMessage)
{
    struct Caso {
        Emisor e;
        const char *faltan;
    } casos[] = {
        {{.razon = "", .nif = "", .sufijo = "", .banco = "", .oficina = "", .cuenta = ""},
         "Nombre,Nif,Sufijo,Banco,Oficina,Cuenta"},
        {{.banco = "", .cuenta = ""}, "Banco,Cuenta"},
        {{.nif = ""}, "Nif"},
        {{.oficina = ""}, "Oficina"},
    };
    for (const Caso &c : casos) {
        TFRMEmisores d;
        d.PreparaAlta(org, presentador);
        RespondeCajas cajas;
        EXPECT_FALSE(Ejecuta<TFRMEmisores>(d, [&](TFRMEmisores *v) {
            Rellena(v, c.e);
            QTest::mouseClick(v->BTNAceptar, Qt::LeftButton);
        }));
        ASSERT_EQ(cajas.Vistas.size(), 1u) << c.faltan;
        EXPECT_EQ(cajas.Vistas[0].texto,
                  Q("Debe proporcionar o comprobar los datos correspondientes a: ") + Q(c.faltan));
        EXPECT_EQ(cajas.Vistas[0].titulo, QStringLiteral("Error"));
    }
}

TEST_F(Dialogos, IssuerAccountsAreCompletedCheckedAndComposed)
{
    struct Caso {
        Emisor e;
        const char *abono, *cargo;
        std::vector<const char *> mensajes;
        const char *porque;
        QLineEdit *TFRMEmisores::*rechazada = nullptr; // the box the cursor goes to, retyped "45"
    } casos[] = {
        {{}, "21000418450200051332", "", {}, "empty control digits are computed"},
        {{.control = "46"}, "21000418450200051332", "",
         {"El d\xEDgito de control no corresponde a la cuenta de abono: compruebe la cuenta."},
         "wrong credit digits are refused until retyped", &TFRMEmisores::TXTControl},
        {{.bancoC = "2100", .oficinaC = "0418"}, "21000418450200051332", "21000418400000000000", {},
         "a charge account of bank and branch only"},
        {{.bancoC = "2100", .oficinaC = "0418", .controlC = "11", .cuentaC = "0200051332"}, "21000418450200051332",
         "21000418450200051332", {"El d\xEDgito de control no corresponde a la cuenta de riesgo: compruebe la cuenta."},
         "wrong charge digits are refused until retyped", &TFRMEmisores::TXTControlCargo},
        {{.banco = "21", .oficina = "418", .cuenta = "200051332"}, "00210418" "05" "0200051332", "", {},
         "short parts are zero-padded to their width"},
        {{.bancoC = "2100", .cuentaC = "0200051332"}, "", "",
         {"Debe rellenar el banco y oficina de la cuenta de cargo"}, "a charge account without its branch"},
    };
    for (const Caso &c : casos) {
        TFRMEmisores d;
        d.PreparaAlta(org, presentador);
        RespondeCajas cajas;
        const bool aceptado = Ejecuta<TFRMEmisores>(d, [&](TFRMEmisores *v) {
            Rellena(v, c.e);
            QTest::mouseClick(v->BTNAceptar, Qt::LeftButton);
            if (!c.rechazada)
                return;
            ASSERT_TRUE(v->isVisible() && Activa(v)) << c.porque << ": refused";
            EXPECT_EQ(QApplication::focusWidget(), v->*c.rechazada) << c.porque;
            Teclea(v->*c.rechazada, QStringLiteral("45"));
            QTest::keyClick(v->*c.rechazada, Qt::Key_Return);
        });
        EXPECT_EQ(aceptado, c.abono[0] != 0) << c.porque;
        ASSERT_EQ(cajas.Vistas.size(), c.mensajes.size()) << c.porque;
        for (size_t i = 0; i < c.mensajes.size(); ++i)
            EXPECT_EQ(cajas.Vistas[i].texto, Q(c.mensajes[i])) << c.porque;
        if (aceptado) {
            EXPECT_EQ(d.Lee().Cuenta_abono, c.abono) << c.porque;
            EXPECT_EQ(d.Lee().Cuenta_cargo, c.cargo) << c.porque;
            EXPECT_TRUE(d.TXTDigitos->text().isEmpty()) << "closing empties the account boxes";
            EXPECT_TRUE(d.TXTDigitosCargo->text().isEmpty());
        }
    }
}

TEST_F(Dialogos, IssuerAccountBoxesTakeDigitsOnlyAndLeavingThemCompletes)
{
    TFRMEmisores d;
    d.PreparaAlta(org, presentador);
    RespondeCajas cajas;
    Ejecuta<TFRMEmisores>(d, [](TFRMEmisores *v) {
        v->TXTCuenta->setFocus();
        Teclea(v->TXTCuenta, QStringLiteral("2a1*0-0"));
        EXPECT_EQ(v->TXTCuenta->text(), QStringLiteral("2100")) << "typed non-digits are dropped";
        v->TXTOficina->setFocus();
        v->TXTOficina->insert(QStringLiteral("04x18"));
        EXPECT_TRUE(v->TXTOficina->text().isEmpty()) << "pasted non-digits are refused";
        Teclea(v->TXTOficina, QStringLiteral("418"));
        QTest::keyClick(v->TXTOficina, Qt::Key_Tab);
        EXPECT_EQ(v->TXTOficina->text(), QStringLiteral("0418")) << "leaving pads with zeros";
        v->TXTDigitos->setFocus();
        Teclea(v->TXTDigitos, QStringLiteral("200051332"));
        v->TXTRazon->setFocus();
        EXPECT_EQ(v->TXTDigitos->text(), QStringLiteral("0200051332"));
        EXPECT_EQ(v->TXTControl->text(), QStringLiteral("45")) << "leaving the account fills the control digits";
    });
    EXPECT_TRUE(cajas.Vistas.empty());
}

TEST_F(Dialogos, OwnEntityAccountsAreWidenedOrRefused)
{
    struct Caso {
        const char *cuenta, *queda;
        size_t mensajes;
        const char *porque;
    } casos[] = {
        {"0123", "0120000003", 0, "widened after its third digit"},
        {"1234567890", "", 1, "not beginning with 0: refused and emptied"},
    };
    for (const Caso &c : casos) {
        TFRMEmisores d;
        d.PreparaAlta(org, presentador);
        RespondeCajas cajas;
        Ejecuta<TFRMEmisores>(d, [&](TFRMEmisores *v) {
            v->TXTCuenta->setFocus();
            Teclea(v->TXTCuenta, QStringLiteral("6094"));
            v->TXTDigitos->setFocus();
            Teclea(v->TXTDigitos, Q(c.cuenta));
            v->TXTRazon->setFocus();
            EXPECT_EQ(v->TXTDigitos->text(), Q(c.queda)) << c.porque;
        });
        EXPECT_EQ(cajas.Vistas.size(), c.mensajes) << c.porque;
    }
}

TEST_F(Dialogos, IssuerUniquenessAndModification)
{
    const ElementoOrganizacion *emisor = org.Hijos(NivelEmisor, presentador).at(0);
    STREmisor datos = std::get<STREmisor>(emisor->Datos);
    datos.Cuenta_cargo = "21000418400000000000";
    TFRMEmisores d;
    d.PreparaModificacion(org, presentador, emisor->Clave, datos);
    EXPECT_EQ(d.TXTControlCargo->text(), QStringLiteral("40")) << "stored accounts split into their boxes";
    RespondeCajas cajas;
    EXPECT_TRUE(Ejecuta<TFRMEmisores>(d, [](TFRMEmisores *v) {
        for (QLineEdit *caja : {v->TXTCuentaCargo, v->TXTOficinaCargo, v->TXTControlCargo, v->TXTDigitosCargo})
            caja->clear();
        QTest::mouseClick(v->BTNAceptar, Qt::LeftButton);
    })) << "its own NIF and suffix are no duplicate";
    EXPECT_EQ(d.Lee().Cuenta_cargo, "") << "emptying the charge boxes removes the charge account";
    datos.Sufijo = "12";
    d.PreparaModificacion(org, presentador, emisor->Clave, datos);
    EXPECT_FALSE(Ejecuta<TFRMEmisores>(d, [](TFRMEmisores *v) { QTest::mouseClick(v->BTNAceptar, Qt::LeftButton); }))
        << "a suffix of two digits stored earlier";
    EXPECT_EQ(cajas.Vistas.at(0).texto, Q(kSufijo));
    cajas.Vistas.clear();

    TFRMEmisores alta;
    alta.PreparaAlta(org, presentador);
    EXPECT_FALSE(Ejecuta<TFRMEmisores>(alta, [](TFRMEmisores *v) {
        Rellena(v, {.nif = "12345678z", .sufijo = "001"});
        QTest::mouseClick(v->BTNAceptar, Qt::LeftButton);
    }));
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, Q("Ya existe otro emisor con estos datos, \n no se puede completar la operaci\xF3n."));
    EXPECT_EQ(cajas.Vistas[0].titulo, QStringLiteral("Aviso"));
}

} // namespace
