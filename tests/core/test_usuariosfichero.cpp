// The import of the bank's users file and its start-up check, on the shipped database.
#include "Cfgfile.h"
#include "Crc.h"
#include "General.h"
#include "ImportTv.h"
#include "Login.h"
#include "Multiidioma.h"
#include "copias.h"
#include "profile.h"
#include "progdir.h"
#include "qcp1252.h"
#include "testutil.h"
#include "ventanas.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string Ancho(const std::string &texto, size_t ancho)
{
    std::string r = texto.substr(0, ancho);
    r.resize(ancho, ' ');
    return r;
}

// One line of the file, 272 characters at their positions.
struct Linea {
    std::string codigo = " US01  ", nombre = "Ana Ruiz", cif = "B12345678", empresa = "Riegos S.L.";
    std::string cargo = "2100", oficinaCargo = "0418", cuentaCargo = "680005133"; // "68": CSB19
    std::string descripcion = "Cuenta de cobros", alias = "Cobros";
    std::string abono = "0049", oficinaAbono = "1500", cuentaAbono = "051234567";
    std::string nifEmisor = "B12345678", sufijoEmisor = "001", nombreEmisor = "Riegos emisor";
    std::string nifPresentador = "B12345678", sufijoPresentador = "000", nombrePresentador = "Riegos presentador";

    std::string Texto() const
    {
        return Ancho(codigo, 7) + Ancho("SEGUNDO", 12) + Ancho(nombre, 30) + Ancho(cif, 10) + Ancho(empresa, 30) +
               Ancho(cargo, 4) + Ancho(oficinaCargo, 4) + Ancho(cuentaCargo, 9) + Ancho("", 3) +
               Ancho(descripcion, 30) + Ancho(alias, 30) + Ancho(abono, 4) + Ancho(oficinaAbono, 4) +
               Ancho(cuentaAbono, 9) + " " + Ancho(nifEmisor, 9) + Ancho(sufijoEmisor, 3) + Ancho(nombreEmisor, 30) +
               " " + Ancho(nifPresentador, 9) + Ancho(sufijoPresentador, 3) + Ancho(nombrePresentador, 30);
    }
};

int Cuenta(const char *tabla)
{
    return std::stoi(copias::Valor(std::string("SELECT COUNT(*) AS n FROM ") + tabla, "n"));
}

// The rows of users, companies, presenters and issuers.
std::vector<int> Totales()
{
    return {Cuenta("[_Usuarios()]"), Cuenta("[_Empresas( Datos )]"), Cuenta("[_Presentadores( Datos )]"),
            Cuenta("[_Emisores( Datos )]")};
}

// A folder with the program folder prog/ inside it, the users file beside prog/.
class Instalacion {
public:
    Instalacion()
    {
        std::filesystem::create_directory(m_raiz.file("prog"));
        ::setenv(progdir::kEnvironmentVariable, m_raiz.file("prog/").c_str(), 1);
    }
    ~Instalacion() { ::setenv(progdir::kEnvironmentVariable, m_anterior.c_str(), 1); }
    std::string Fichero() const { return m_raiz.file("usuarios_empresa.ini"); }
    std::string Ini() const { return m_raiz.file("prog/Orvanta.INI"); }
    std::string Log() const { return testutil::readFile(m_raiz.file("prog/Orvanta.LOG")); }

private:
    std::string m_anterior = std::getenv(progdir::kEnvironmentVariable);
    testutil::TempDir m_raiz;
};

TEST(FicheroUsuarios, TheChecksumIsAReflectedEightBitCrc)
{
    InitCRC();
    EXPECT_EQ(str_CalcCRC("abc"), 122);
    InitCRC();
    EXPECT_EQ(str_CalcCRC(""), 0);
    testutil::TempDir dir;
    EXPECT_EQ(CRCFichero(dir.file("no")), -1);
    testutil::writeFile(dir.file("vacio"), "");
    EXPECT_EQ(CRCFichero(dir.file("vacio")), 0);
    std::string largo;
    for (int i = 0; i < 5000; ++i)
        largo += char('a' + i % 26);
    testutil::writeFile(dir.file("largo"), largo);
    InitCRC();
    EXPECT_EQ(CRCFichero(dir.file("largo")), str_CalcCRC(largo.c_str())) << "whatever the blocks";
}

struct Registro {
    const char *por;
    std::function<void(Linea &)> cambia;
    std::vector<int> nuevos; // users, companies, presenters, issuers
    const char *orden;       // of the presenter, when one is made
    const char *dicho = nullptr; // among the data not applied
};

TEST(FicheroUsuarios, EachLineMakesWhatItNames)
{
    const Registro casos[] = {
        {"68", [](Linea &) {}, {1, 1, 1, 1}, "CSB19"},
        {"62", [](Linea &l) { l.cuentaCargo = "620005133"; }, {1, 1, 1, 1}, "CSB58"},
        {"another code", [](Linea &l) { l.cuentaCargo = "700005133"; }, {0, 0, 0, 0}, nullptr},
        {"blank presenter", [](Linea &l) { l.sufijoPresentador = ""; }, {1, 1, 0, 0}, nullptr},
        {"blank issuer", [](Linea &l) { l.nifEmisor = ""; }, {1, 1, 1, 0}, "CSB19"},
        {"apostrophe", [](Linea &l) { l.empresa = "Riegos de L'HOSPITALET"; }, {1, 1, 1, 1}, "CSB19"},
        {"a suffix led by a blank", [](Linea &l) { l.sufijoPresentador = " A1"; }, {1, 1, 1, 1}, "CSB19"},
        {"a presenter's NIF outside A-Z", [](Linea &l) { l.nifPresentador = "\xF1" "1"; }, {1, 1, 0, 0}, nullptr,
         "Presentador \xF1" "1 000: El NIF \xF1" "1 solo puede tener cifras y letras de la A a la Z: no valen '\xF1'. "
         "No se ha importado."},
        {"an issuer's", [](Linea &l) { l.nifEmisor = "B-"; }, {1, 1, 1, 0}, "CSB19",
         "Emisor B- 001: El NIF B- solo puede tener cifras y letras de la A a la Z: no valen '-'. No se ha importado."},
    };
    for (const Registro &c : casos) {
        copias::Base base;
        Instalacion instalacion;
        Linea linea;
        c.cambia(linea);
        testutil::writeFile(instalacion.Fichero(), linea.Texto() + "\r\n\r\n");
        const std::vector<int> antes = Totales();
        ResumenUsuarios resumen;
        EXPECT_EQ(ImportaUsuarios(instalacion.Fichero(), &resumen), 0) << c.por;
        const std::vector<int> despues = Totales();
        for (size_t i = 0; i < 4; ++i)
            EXPECT_EQ(despues[i] - antes[i], c.nuevos[i]) << c.por << " table " << i;
        EXPECT_EQ(resumen.Diferencias, c.dicho ? std::vector<std::string>{c.dicho} : std::vector<std::string>()) << c.por;
        EXPECT_EQ(ImportaUsuarios(instalacion.Fichero()), 0) << c.por << ", again";
        EXPECT_EQ(Totales(), despues) << c.por << ": nothing new the second time";
        if (c.orden) {
            EXPECT_EQ(copias::Valor("SELECT * FROM [_Presentadores( Datos )] ORDER BY Id_presentador DESC", "Id_orden"),
                      c.orden);
        }
    }
}

TEST(FicheroUsuarios, TheStoredRecordsAndAccountsAreThoseOfTheLine)
{
    copias::Base base;
    Instalacion instalacion;
    Linea linea;
    linea.empresa = "Riegos de L'HOSPITALET";
    linea.nifEmisor = "b12345678";
    testutil::writeFile(instalacion.Fichero(), linea.Texto() + "\n");
    ASSERT_EQ(ImportaUsuarios(instalacion.Fichero()), 0);
    const std::string usuario = "SELECT * FROM [_Usuarios()] WHERE Cod_usuario='US01'";
    EXPECT_EQ(copias::Valor(usuario, "Nombre_usuario"), "Ana Ruiz") << "the code without blanks";
    EXPECT_EQ(copias::Valor("SELECT * FROM [_Empresas( Datos )] WHERE Cif='B12345678'", "Nombre"),
              "Riegos de L'HOSPITALET");
    const std::string emisor = "SELECT * FROM [_Emisores( Datos )] ORDER BY Id_emisor DESC";
    EXPECT_EQ(copias::Valor(emisor, "Cuenta_cargo"),
              "21000418" + CalcDigitosControl("2100", "0418", "0680005133") + "0680005133");
    EXPECT_EQ(copias::Valor(emisor, "Cuenta_abono"),
              "00491500" + CalcDigitosControl("0049", "1500", "0051234567") + "0051234567");
    EXPECT_EQ(copias::Valor(emisor, "Desc_cuenta"), "Cuenta de cobros");
    EXPECT_EQ(copias::Valor(emisor, "Alias"), "Cobros");
    EXPECT_EQ(copias::Valor(emisor, "Sufijo"), "001");
    EXPECT_EQ(copias::Valor(emisor, "Id_nif"), "B12345678") << "a NIF's letters as capitals";
    EXPECT_EQ(copias::Valor("SELECT * FROM [_Presentadores( Datos )] ORDER BY Id_presentador DESC",
                            "Clave_presentador"),
              "B12345678000");

    const std::vector<int> antes = Totales();
    EXPECT_EQ(ImportaUsuarios(instalacion.Fichero()), 0);
    EXPECT_EQ(Totales(), antes) << "a second import creates nothing";

    TFormLogin login;
    EXPECT_TRUE(login.CompruebaUsuario("US01", "")) << "an imported user logs in with an empty password";
}

TEST(FicheroUsuarios, TheImportSaysWhatItAddedAndWhatTheFileHasOtherThanStored)
{
    copias::Base base;
    Instalacion instalacion;
    Linea linea;
    linea.sufijoPresentador = "0";
    testutil::writeFile(instalacion.Fichero(), linea.Texto() + "\n");
    ASSERT_EQ(ImportaUsuarios(instalacion.Fichero()), 0);
    ASSERT_TRUE(copias::Ejecuta("UPDATE [_Presentadores( Datos )] SET Sufijo='000'")) << "corrected in its dialog";
    linea.nombre = "Ana Ruiz Gil";
    linea.nombreEmisor = "Riegos del Norte";
    Linea nueva = linea;
    nueva.cuentaAbono = "051234568";
    testutil::writeFile(instalacion.Fichero(), linea.Texto() + "\n" + nueva.Texto() + "\n");
    const std::vector<int> antes = Totales();
    RespondeCajas cajas;
    EXPECT_TRUE(ImportaFicheroUsuarios(instalacion.Fichero()));
    EXPECT_EQ(Totales(), (std::vector<int>{antes[0], antes[1], antes[2], antes[3] + 1})) << "only the new issuer";
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].titulo, cp1252::toQString("Importaci\xF3n de usuarios"));
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto),
              "Importaci\xF3n del fichero de usuarios terminada.\n"
              "Usuarios nuevos: 0; sin cambios: 0; con otros datos en el fichero: 1.\n"
              "Empresas nuevas: 0; sin cambios: 1; con otros datos en el fichero: 0.\n"
              "Presentadores nuevos: 0; sin cambios: 1; con otros datos en el fichero: 0.\n"
              "Emisores nuevos: 1; sin cambios: 0; con otros datos en el fichero: 1.\n\n"
              "Datos del fichero que no se han aplicado (se conservan los guardados):\n"
              "Usuario US01: Nombre 'Ana Ruiz Gil' en el fichero, 'Ana Ruiz' en la base de datos.\n"
              "Emisor 00491500" + CalcDigitosControl("0049", "1500", "0051234567") +
                  "0051234567: Nombre 'Riegos del Norte' en el fichero, 'Riegos emisor' en la base de datos.");
}

TEST(FicheroUsuarios, AShortLineFailsTheWholeImportWithABoxAndALogLine)
{
    copias::Base base;
    Instalacion instalacion;
    Linea otra;
    otra.codigo = "US02";
    const std::string corta = Linea().Texto().substr(0, 97);
    testutil::writeFile(instalacion.Fichero(), Linea().Texto() + "\n" + corta + "\n" + otra.Texto() + "\n");
    const std::vector<int> antes = Totales();
    RespondeCajas cajas;
    EXPECT_FALSE(ImportaFicheroUsuarios(instalacion.Fichero()));
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, cp1252::toQString(Idioma.GetTexto(912)));
    EXPECT_EQ(cajas.Vistas[0].titulo, cp1252::toQString(Idioma.GetTexto(913)));
    EXPECT_EQ(Totales(), antes) << "nothing half imported";
    EXPECT_NE(instalacion.Log().find("Importaci\xF3n de usuarios, Error en la l\xEDnea: " + corta + "\n"),
              std::string::npos);
}

TEST(FicheroUsuarios, AUserThatCannotBeStoredFailsTheImport)
{
    copias::Base base;
    Instalacion instalacion;
    ASSERT_TRUE(copias::Ejecuta("CREATE TRIGGER Rechaza BEFORE INSERT ON [_Usuarios()] BEGIN "
                                "SELECT RAISE(ABORT, 'rechazado'); END"));
    testutil::writeFile(instalacion.Fichero(), Linea().Texto() + "\n");
    const std::vector<int> antes = Totales();
    EXPECT_LT(ImportaUsuarios(instalacion.Fichero()), 0);
    EXPECT_EQ(Totales(), antes);
}

TEST(FicheroUsuarios, TheStartUpCheckAsksUntilAnImportSucceeds)
{
    copias::Base base;
    Instalacion instalacion;
    auto guardado = [&] { return profile::readString(instalacion.Ini(), "FICHEROS_USUARIO", "usuarios_empresa.ini", "*"); };
    auto pregunta = [](QMessageBox::StandardButton respuesta) {
        RespondeCajas cajas({respuesta, QMessageBox::Ok});
        CheckUserConfigFile();
        return cajas.Vistas;
    };
    EXPECT_TRUE(pregunta(QMessageBox::Yes).empty()) << "no file, no question";

    testutil::writeFile(instalacion.Fichero(), Linea().Texto().substr(0, 90) + "\n");
    std::vector<CajaVista> vistas = pregunta(QMessageBox::Yes);
    ASSERT_EQ(vistas.size(), 2u) << "the question, then the failure";
    EXPECT_EQ(vistas[0].titulo, cp1252::toQString(Idioma.GetTexto(910)));
    EXPECT_EQ(guardado(), "*") << "a failed import is offered again";

    testutil::writeFile(instalacion.Fichero(), Linea().Texto() + "\n");
    EXPECT_EQ(pregunta(QMessageBox::No).size(), 1u);
    EXPECT_EQ(guardado(), "*");
    EXPECT_EQ(pregunta(QMessageBox::Yes).size(), 2u) << "the question, then what the import did";
    EXPECT_EQ(guardado(), std::to_string(CRCFichero(instalacion.Fichero())));
    EXPECT_TRUE(pregunta(QMessageBox::Yes).empty()) << "unchanged: not asked";

    Linea otra;
    otra.codigo = "US02";
    testutil::writeFile(instalacion.Fichero(), otra.Texto() + "\n");
    EXPECT_EQ(pregunta(QMessageBox::No).size(), 1u) << "changed: asked again";
}

} // namespace
