// The import of the bank's users file: each line a user with a company and, for each, a
// presenter and an issuer with their accounts.
#include "Cfgfile.h"

#include "Aplicacion.h"
#include "Crc.h"
#include "Frmmsg.h"
#include "General.h"
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

std::string Recorta(const std::string &texto)
{
    const size_t inicio = texto.find_first_not_of(' ');
    return inicio == std::string::npos ? std::string() : texto.substr(inicio, texto.find_last_not_of(' ') - inicio + 1);
}

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

int ImportaRegistroUsuario(const STRRegistroUsuario &r, const std::string &codigo)
{
    const char *orden = codigo == "62" ? "CSB58" : codigo == "68" ? "CSB19" : nullptr;
    if (!orden)
        return 0;
    const std::string codigoUsuario = Recorta(r.Cod_usuario);
    int usuario = BuscaUsuarioCodigo(codigoUsuario);
    if (usuario < 0)
        usuario = AltaUsuario(codigoUsuario, "", r.Nombre_usuario);
    if (usuario <= 0)
        return -1; // a user that could not be stored fails the import
    const std::string cif = Recorta(r.Cif);
    int empresa = BuscaEmpresaCif(usuario, cif);
    if (empresa < 0)
        empresa = AltaEmpresa(usuario, cif, r.Nombre_empresa);
    if (empresa < 0 || r.Nif_presentador.empty() || r.Sufijo_presentador.empty())
        return empresa;
    int presentador = BuscaPresentadorNif(empresa, r.Nif_presentador, r.Sufijo_presentador, orden);
    if (presentador < 0)
        presentador =
            AltaPresentador(empresa, r.Nif_presentador, orden, r.Sufijo_presentador, r.Nombre_presentador);
    if (presentador < 0 || r.Nif_emisor.empty() || r.Sufijo_emisor.empty())
        return presentador;
    const int emisor = BuscaEmisorCuentas(presentador, r.Cuenta_abono, r.Cuenta_cargo);
    if (emisor >= 0)
        return emisor;
    return AltaEmisor(presentador, r.Nif_emisor, r.Sufijo_emisor, r.Nombre_emisor, r.Cuenta_abono, r.Cuenta_cargo,
                      r.Desc_cuenta, r.Alias);
}

int ImportaUsuarios(const std::string &ruta)
{
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
        resultado = std::min(ImportaRegistroUsuario(registro, orden), 0);
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
    {
        CursorEspera cursor;
        resultado = ImportaUsuarios(ruta);
    }
    if (resultado < 0) {
        CajaMensaje(Idioma.GetTexto(912), Idioma.GetTexto(913), IconoMensaje::Informacion);
        return false;
    }
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
