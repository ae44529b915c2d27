// capturas: the help's pictures. Starts the program's windows offscreen on a copy of the
// shipped database holding a made-up organisation and writes five of them as JPEG: the login,
// user administration, the user editor of a new user and of a user with its organisation,
// and the main window on a batch of bills.
//
//   capturas SHIPPED/Orvanta.mcr FOLDER
#include "Aplicacion.h"
#include "Frmmain.h"
#include "General.h"
#include "Login.h"
#include "Programa.h"
#include "Uninuevouser.h"
#include "Uniusuarios.h"
#include "jpeg.h"
#include "profile.h"
#include "progdir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <clocale>
#include <cstdio>
#include <functional>
#include <string>

namespace {

// The user who owns the organisation; the administrator is user 1.
const char *const kUsuario = "MGARCIA";
constexpr int kRemesaMostrada = 1;

// The screen the main window fills.
const char *const kPantalla = R"({"screens": [{"name": "pantalla", "x": 0, "y": 0, "width": 1024, "height": 640,
                                  "logicalDpiX": 96, "logicalDpiY": 96}]})";

const char *const kOrganizacion[] = {
    "INSERT INTO [_Usuarios()] (Id_usuario,Cod_usuario,Nombre_usuario,Permisos,Activo) "
    "VALUES (2,'MGARCIA','Mar\xED" "a Garc\xED" "a L\xF3pez','11100000000000000000',1)",
    "INSERT INTO [_Usuarios()] (Id_usuario,Cod_usuario,Nombre_usuario,Permisos,Activo) "
    "VALUES (3,'JPEREZ','Juan P\xE9rez Soto','10000000000000000000',1)",
    "INSERT INTO [_Empresas( Datos )] (Id_empresa,Id_usuario,Cif,Nombre,Cuenta) "
    "VALUES (1,2,'B12345674','Riegos del Norte, S.L.','21000418450200051332')",
    "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Clave_presentador,Id_nif,Sufijo,"
    "Razon_social) VALUES (1,1,'CSB19','B12345674000','B12345674','000','Riegos del Norte, S.L.')",
    "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Clave_presentador,Id_nif,Sufijo,"
    "Razon_social) VALUES (2,1,'CSB58','B12345674001','B12345674','001','Riegos del Norte, S.L.')",
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono,"
    "Cuenta_cargo) VALUES (1,1,'B12345674','000','Cuotas de riego','21000418450200051332',"
    "'21000418450200051332')",
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono,"
    "Cuenta_cargo) VALUES (2,1,'B12345674','002','Mantenimiento','21000418450200051332','21000418450200051332')",
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono,"
    "Cuenta_cargo) VALUES (3,2,'B12345674','001','Facturas comerciales','20590060212084518352',"
    "'20590060212084518352')",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Con_emision,Descripcion,F_alta,Importe_total,"
    "Contravalor_total) VALUES (1,1,'EUR',1,'Cuotas de enero','2024/01/15',0,0)",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Con_emision,Descripcion,F_alta,Importe_total,"
    "Contravalor_total) VALUES (2,1,'EUR',1,'Cuotas de febrero','2024/02/15',0,0)",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Con_emision,Descripcion,F_alta,Importe_total,"
    "Contravalor_total) VALUES (3,2,'EUR',0,'Revisiones','2024/02/01',0,0)",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Con_emision,Descripcion,F_alta,Importe_total,"
    "Contravalor_total) VALUES (4,3,'EUR',0,'Facturas de marzo','2024/03/01',0,0)",
    "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta,Titular_cuenta,"
    "Direccion,CP,Localidad,Provincia) WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k+1 FROM n WHERE k<23) "
    "SELECT 1+k,1,printf('%06d',1+k),"
    "rtrim(substr('Alonso  Blanco  Castro  Delgado Esteban Fuentes Garrido Herrero Iglesias',1+(k%9)*8,8))||' '||"
    "rtrim(substr('Mar\xEDn   Navarro Ortega  Pascual QuintanaRamos   Santos  Torres  ',1+(k%8)*8,8)),"
    "printf('21000418%012d',7919*(k+1)),'','Calle Mayor '||(k+1),'2400'||(k%10),'Le\xF3n','Le\xF3n' FROM n",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Ref_interna,Primer_concepto,"
    "F_formalizacion,F_vencimiento,Activo) WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k+1 FROM n WHERE k<23) "
    "SELECT 1,1+k,round(45+(k*37)%160,2),round((45+(k*37)%160)*166.386),printf('%06d',1+k),"
    "'Cuota de riego de enero','2024/01/15','2024/01/31',k%7<>3 FROM n",
};

bool Ejecuta(const char *sql)
{
    int filas = 0;
    const std::string error = DBExecSQL(sql, filas);
    if (!error.empty())
        std::fprintf(stderr, "capturas: %s\n", error.c_str());
    return error.empty();
}

// Lets the windows run until condicion holds; false when it did not within the time.
bool Espera(const std::function<bool()> &condicion, int milisegundos = 10000)
{
    QElapsedTimer reloj;
    reloj.start();
    while (!condicion()) {
        if (reloj.elapsed() > milisegundos)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Shows the window, lets it paint and writes its picture.
bool Captura(QWidget *ventana, const QString &carpeta, const char *nombre)
{
    ventana->show();
    Espera([] { return false; }, 300); // lays out and paints meanwhile
    const bool escrito = jpeg::write(carpeta + QLatin1Char('/') + QLatin1String(nombre), ventana->grab().toImage());
    if (!escrito)
        std::fprintf(stderr, "capturas: no se pudo escribir %s\n", nombre);
    ventana->hide();
    return escrito;
}

bool Capturas(const QString &carpeta)
{
    Aplicacion &app = App();
    for (const char *sql : kOrganizacion)
        if (!Ejecuta(sql))
            return false;

    bool bien = Captura(app.FormLogin, carpeta, "login.jpg");

    app.FRMGestionusers->SetUsuarioActual("1", "11110000000000000000");
    bien = Captura(app.FRMGestionusers, carpeta, "usuarios.jpg") && bien;

    app.FRMNuevoUsuario->PreparaAlta("1");
    bien = Captura(app.FRMNuevoUsuario, carpeta, "nuevousuario.jpg") && bien;

    STRUsuario usuario{"2", kUsuario, "", "Mar\xED" "a Garc\xED" "a L\xF3pez", "11100000000000000000", true};
    app.FRMNuevoUsuario->PreparaModificacion(usuario, "1");
    app.FRMNuevoUsuario->TREEEmpresas->expandAll();
    bien = Captura(app.FRMNuevoUsuario, carpeta, "editor.jpg") && bien;

    TFormMain *m = app.FormMain;
    app.FormLogin->LoginData.Id_usuario = usuario.Id_usuario;
    m->SaltarLogin = true;
    m->show();
    m->RefrescaTextos();
    m->MuestraEmpresa(1);
    m->treeInfoGlobal->expandAll();
    for (QTreeWidgetItemIterator i(m->treeInfoGlobal); *i; ++i)
        if (TFormMain::GetNivelNodo(*i) == ArbolRemesa && TFormMain::IdNodo(*i) == std::to_string(kRemesaMostrada))
            m->treeInfoGlobal->setCurrentItem(*i);
    if (!Espera([m] { return m->NodoSeleccionado() && m->statusPanel[4]->text() == m->NodoSeleccionado()->text(0); }))
        return false;
    return Captura(m, carpeta, "principal.jpg") && bien;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "uso: capturas ORVANTA.mcr CARPETA\n");
        return 2;
    }
    QTemporaryDir programa;
    qputenv(progdir::kEnvironmentVariable, QFile::encodeName(programa.path()));
    const QString ini = programa.filePath(QStringLiteral("Orvanta.INI"));
    const QString pantalla = programa.filePath(QStringLiteral("pantalla.json"));
    QFile configuracion(pantalla);
    if (!programa.isValid() || !QDir(programa.path()).mkdir(QStringLiteral("BD")) ||
        !QFile::copy(QString::fromLocal8Bit(argv[1]), programa.filePath(QStringLiteral("BD/Orvanta.mcr"))) ||
        !configuracion.open(QIODevice::WriteOnly) || configuracion.write(kPantalla) < 0 || !configuracion.flush()) {
        std::fprintf(stderr, "capturas: no se pudo preparar la carpeta del programa\n");
        return 1;
    }
    configuracion.close();
    // Offscreen on a screen of a usual size, whatever display the build has.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(pantalla));
    const std::string rutaIni = QFile::encodeName(ini).toStdString();
    profile::writeString(rutaIni, "General", "PresentarAyuda", "No");
    profile::writeString(rutaIni, "General", "PresentarRecordatorioEuro", "No");
    profile::writeString(rutaIni, "USUARIOS", "Ultimo usuario", kUsuario);

    TAplicacion aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QApplication::setQuitOnLastWindowClosed(false);
    progdir::enter();
    const QString carpeta = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(carpeta);
    CreaVentanas();
    const bool bien = App().FormMain && Capturas(carpeta);
    DestruyeVentanas();
    return bien ? 0 : 1;
}
