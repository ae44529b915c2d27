// The import of the bank's users file: each line a user with a company and, for each, a
// presenter and an issuer with their accounts.
#include "Cfgfile.h"

#include "Aplicacion.h"
#include "Crc.h"
#include "Frmmsg.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Usprogress.h"
#include "cp1252.h"
#include "vasqdb.h"

#include <QApplication>
#include <QProgressBar>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

// The 20 characters of an account: bank, branch, control digits and "0" followed by the
// file's nine characters (right-aligned).
std::string Cuenta(const std::string &banco, const std::string &oficina, const std::string &numero)
{
    const std::string diez = "0" + std::string(numero.size() < 9 ? 9 - numero.size() : 0, ' ') + numero;
    return banco + oficina + CalcDigitosControl(banco, oficina, diez) + diez;
}

// The coordination paused while the object lives.
class Pausa {
public:
    Pausa() : m_multiuser(App().Multiuser)
    {
        if (m_multiuser) {
            m_antes = m_multiuser->Pausado;
            m_multiuser->Pausado = true;
        }
    }
    ~Pausa()
    {
        if (m_multiuser)
            m_multiuser->Pausado = m_antes;
    }
    Pausa(const Pausa &) = delete;
    Pausa &operator=(const Pausa &) = delete;

private:
    _multiuser *m_multiuser;
    bool m_antes = false;
};

// The tables of the kinds a line names, their keys and the language texts naming them.
struct Clase {
    const char *tabla, *clave;
    int nombre;
};
const Clase kClases[] = {{"[_Usuarios()]", "Id_usuario", 77},
                         {"[_Empresas( Datos )]", "Id_empresa", 973},
                         {"[_Presentadores( Datos )]", "Id_presentador", 320},
                         {"[_Emisores( Datos )]", "Id_emisor", 321}};

// The differences a summary names; more are counted.
constexpr size_t kDiferenciasNombradas = 20;

// A value of the line beside the column that stores it and the language text naming it.
struct Dato {
    const char *columna;
    int nombre;
    const std::string &fichero;
};

// Whether a stored value is the line's as the import would store it: a tax id by its
// letters and digits without regard to case, a suffix as the bank reads it.
bool Igual(std::string_view columna, const std::string &guardado, const std::string &fichero)
{
    if (columna == "Id_nif")
        return cp1252::equalNoCase(guardado, SoloAlfanumericos(fichero));
    if (columna == "Sufijo")
        return MismoSufijo(guardado, fichero);
    return guardado == LimpiaTexto(fichero);
}

// A row stored by the line (key above 0) counts added, once; the key.
int Nuevo(ResumenUsuarios &resumen, int clase, int id)
{
    if (id > 0 && resumen.Vistos.insert({clase, id}).second)
        ++resumen.Nuevos[clase];
    return id;
}

// A row found for the line counts, once, as it is or, naming quien and each value, with other
// data in the file.
void Hallado(ResumenUsuarios &resumen, int clase, int id, const std::string &quien, std::initializer_list<Dato> datos)
{
    if (!resumen.Vistos.insert({clase, id}).second)
        return;
    std::string fila;
    DBGetData(FormatoSQL("SELECT * FROM %s WHERE %s=%d;", kClases[clase].tabla, kClases[clase].clave, id),
              [&fila](char *texto, char *, int) { fila = texto; });
    bool distinto = false;
    for (const Dato &d : datos) {
        const std::string guardado = NullToEmpty(GetCampoTexto(d.columna, fila));
        if (Igual(d.columna, guardado, d.fichero))
            continue;
        distinto = true;
        resumen.Diferencias.push_back(FormateaTexto(Idioma.GetTexto(970), Idioma.GetTexto(kClases[clase].nombre),
                                                    quien, Idioma.GetTexto(d.nombre), d.fichero, guardado));
    }
    ++(distinto ? resumen.Distintos : resumen.Iguales)[clase];
}

// A presenter or issuer of the line whose NIF cannot be stored (MotivoNif) is named among
// the data not applied; true then, and the line stops before it.
bool NifRefusado(ResumenUsuarios &resumen, int clase, const std::string &nif, const std::string &sufijo)
{
    const std::string motivo = MotivoNif(nif);
    if (motivo.empty())
        return false;
    resumen.Diferencias.push_back(
        FormateaTexto(Idioma.GetTexto(793), Idioma.GetTexto(kClases[clase].nombre), nif + " " + sufijo, motivo));
    return true;
}

std::string TextoResumen(const ResumenUsuarios &r)
{
    std::string texto = Idioma.GetTexto(964);
    for (int clase = 0; clase < 4; ++clase)
        texto += "\n" + FormateaTexto(Idioma.GetTexto(965 + clase), r.Nuevos[clase], r.Iguales[clase],
                                      r.Distintos[clase]);
    if (!r.Diferencias.empty())
        texto += "\n\n" + Idioma.GetTexto(969);
    const size_t nombradas = std::min(r.Diferencias.size(), kDiferenciasNombradas);
    for (size_t i = 0; i < nombradas; ++i)
        texto += "\n" + r.Diferencias[i];
    if (r.Diferencias.size() > nombradas)
        texto += "\n" + FormateaTexto(Idioma.GetTexto(971), r.Diferencias.size() - nombradas);
    return texto;
}

} // namespace

const char *CortaCampo(const char *cursor, std::string &destino, size_t ancho)
{
    if (!cursor || !*cursor)
        return nullptr;
    const size_t quedan = std::strlen(cursor);
    const size_t n = std::min(quedan, ancho);
    destino.assign(cursor, n);
    destino.erase(destino.find_last_not_of(' ') + 1);
    return cursor + n;
}

int LeeLineaUsuario(std::FILE *fichero, STRRegistroUsuario &registro, std::string &orden)
{
    registro = STRRegistroUsuario();
    orden.clear();
    char linea[2048];
    if (!std::fgets(linea, sizeof linea, fichero))
        return std::ferror(fichero) ? -1 : 0;
    const std::string leida = linea;
    linea[std::strcspn(linea, "\r\n")] = '\0';
    const size_t largo = std::strlen(linea);
    if (largo == 0)
        return 1;
    if (largo > 97)
        orden.assign(linea + 97, std::min<size_t>(2, largo - 97));

    std::string banco, oficina, numero, nada;
    const char *c = linea;
    for (auto [campo, ancho] : {std::pair{&registro.Cod_usuario, 7}, {&registro.Cod_segundo, 12},
                                {&registro.Nombre_usuario, 30}, {&registro.Cif, 10}, {&registro.Nombre_empresa, 30},
                                {&banco, 4}, {&oficina, 4}, {&numero, 9}})
        c = CortaCampo(c, *campo, size_t(ancho));
    if (!c) {
        WriteLog("Importaci\xF3n de usuarios, Error en la l\xEDnea: " + leida);
        return -1;
    }
    registro.Cuenta_cargo = Cuenta(banco, oficina, numero);
    banco.clear(), oficina.clear(), numero.clear();
    for (auto [campo, ancho] : {std::pair{&nada, 3}, {&registro.Desc_cuenta, 30}, {&registro.Alias, 30}, {&banco, 4},
                                {&oficina, 4}, {&numero, 9}})
        c = CortaCampo(c, *campo, size_t(ancho));
    registro.Cuenta_abono = Cuenta(banco, oficina, numero);
    for (auto [campo, ancho] : {std::pair{&nada, 1}, {&registro.Nif_emisor, 9}, {&registro.Sufijo_emisor, 3},
                                {&registro.Nombre_emisor, 30}, {&nada, 1}, {&registro.Nif_presentador, 9},
                                {&registro.Sufijo_presentador, 3}, {&registro.Nombre_presentador, 30}})
        c = CortaCampo(c, *campo, size_t(ancho));
    return int(largo);
}

int ImportaRegistroUsuario(const STRRegistroUsuario &r, const std::string &codigo, ResumenUsuarios &resumen)
{
    const char *orden = codigo == "62" ? "CSB58" : codigo == "68" ? "CSB19" : nullptr;
    if (!orden)
        return 0;
    const std::string codigoUsuario = Recorta(r.Cod_usuario);
    int usuario = BuscaUsuarioCodigo(codigoUsuario);
    if (usuario >= 0)
        Hallado(resumen, 0, usuario, codigoUsuario, {{"Nombre_usuario", 5, r.Nombre_usuario}});
    else
        usuario = Nuevo(resumen, 0, AltaUsuario(codigoUsuario, "", r.Nombre_usuario));
    if (usuario <= 0)
        return -1; // a user that could not be stored fails the import
    const std::string cif = Recorta(r.Cif);
    int empresa = BuscaEmpresaCif(usuario, cif);
    if (empresa >= 0)
        Hallado(resumen, 1, empresa, cif, {{"Nombre", 5, r.Nombre_empresa}});
    else
        empresa = Nuevo(resumen, 1, AltaEmpresa(usuario, cif, r.Nombre_empresa));
    if (empresa < 0 || r.Nif_presentador.empty() || r.Sufijo_presentador.empty() ||
        NifRefusado(resumen, 2, r.Nif_presentador, r.Sufijo_presentador))
        return empresa;
    int presentador = BuscaPresentadorNif(empresa, r.Nif_presentador, r.Sufijo_presentador, orden);
    if (presentador >= 0)
        Hallado(resumen, 2, presentador, r.Nif_presentador + " " + r.Sufijo_presentador,
                {{"Razon_social", 5, r.Nombre_presentador}});
    else
        presentador = Nuevo(resumen, 2, AltaPresentador(empresa, r.Nif_presentador, orden, r.Sufijo_presentador,
                                                         r.Nombre_presentador));
    if (presentador < 0 || r.Nif_emisor.empty() || r.Sufijo_emisor.empty() ||
        NifRefusado(resumen, 3, r.Nif_emisor, r.Sufijo_emisor))
        return presentador;
    const int emisor = BuscaEmisorCuentas(presentador, r.Cuenta_abono, r.Cuenta_cargo);
    if (emisor < 0)
        return Nuevo(resumen, 3, AltaEmisor(presentador, r.Nif_emisor, r.Sufijo_emisor, r.Nombre_emisor,
                                            r.Cuenta_abono, r.Cuenta_cargo, r.Desc_cuenta, r.Alias));
    Hallado(resumen, 3, emisor, r.Cuenta_abono,
            {{"Id_nif", 469, r.Nif_emisor},
             {"Sufijo", 9, r.Sufijo_emisor},
             {"Razon_social", 5, r.Nombre_emisor},
             {"Desc_cuenta", 42, r.Desc_cuenta},
             {"Alias", 974, r.Alias}});
    return emisor;
}

int ImportaUsuarios(const std::string &ruta, ResumenUsuarios *resumen)
{
    ResumenUsuarios propio;
    ResumenUsuarios &cuenta = resumen ? *resumen : propio;
    std::unique_ptr<TFRMUsProgress> progreso;
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        progreso = std::make_unique<TFRMUsProgress>();
        progreso->show();
    }
    CursorEspera cursor;
    std::error_code ec;
    const auto tamano = std::filesystem::file_size(cp1252::fileName(ruta), ec);
    std::FILE *fichero = ec ? nullptr : cp1252::openFile(ruta, "rb");
    if (!fichero)
        return -1;
    // One transaction: a failure leaves the database as it was.
    Pausa pausa;
    const bool enTransaccion = VASQ_BeginTrans() == 0;
    int resultado = enTransaccion ? 0 : -1;
    unsigned long long posicion = 0;
    STRRegistroUsuario registro;
    std::string orden;
    int leido = 0;
    while (resultado == 0 && (leido = LeeLineaUsuario(fichero, registro, orden)) > 0) {
        QCoreApplication::processEvents();
        if (leido == 1)
            continue;
        posicion += unsigned(leido);
        if (progreso && tamano > 0)
            progreso->ProgressBar1->setValue(int(posicion * 100 / tamano));
        resultado = std::min(ImportaRegistroUsuario(registro, orden, cuenta), 0);
    }
    if (leido < 0)
        resultado = -1;
    std::fclose(fichero);
    if (enTransaccion && (resultado < 0 || VASQ_CommitTrans() != 0)) {
        VASQ_Rollback();
        resultado = std::min(resultado, -1);
    }
    return resultado;
}

bool ImportaFicheroUsuarios(const std::string &ruta)
{
    int resultado = 0;
    ResumenUsuarios resumen;
    {
        CursorEspera cursor;
        resultado = ImportaUsuarios(ruta, &resumen);
    }
    if (resultado < 0) {
        CajaMensaje(Idioma.GetTexto(912), Idioma.GetTexto(913), IconoMensaje::Informacion);
        return false;
    }
    CajaMensaje(TextoResumen(resumen), Idioma.GetTexto(972), IconoMensaje::Informacion);
    if (App().Multiuser)
        App().Multiuser->NotificaActualizacion(NIVEL_USUARIOS, 0);
    return true;
}

int CRCFichero(const std::string &ruta)
{
    std::FILE *fichero = cp1252::openFile(ruta, "rb");
    if (!fichero)
        return -1;
    InitCRC();
    char bloque[2049];
    size_t n;
    while ((n = std::fread(bloque, 1, 2048, fichero)) > 0) {
        bloque[n] = '\0'; // each block counts up to its first zero byte
        str_CalcCRC(bloque);
    }
    std::fclose(fichero);
    return GimmeCRC();
}
