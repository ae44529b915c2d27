// The scrambled copy of the database file, written and read back safely.
#include "General.h"

#include "b_encrip.h"
#include "Modmas.h"
#include "cp1252.h"
#include "progdir.h"
#include "vasqdb.h"

#include <QApplication>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kBloque = 8192;

bool Falla(const char *funcion, const std::string &porque)
{
    WriteLog(std::string("[ General::") + funcion + " ] " + porque);
    return false;
}

// The failure of a step that says nothing more of its reason.
bool Falla(const char *funcion, const std::string &porque, FalloCopia *fallo)
{
    if (fallo)
        *fallo = FalloCopia::Otro;
    return Falla(funcion, porque);
}

// A file handle that closes itself; Cierra() reports whether everything written reached
// the disk.
class Fichero {
public:
    Fichero(const std::string &ruta, const char *modo) : m_f(cp1252::openFile(ruta, modo)) {}
    ~Fichero()
    {
        if (m_f)
            std::fclose(m_f);
    }
    Fichero(const Fichero &) = delete;
    Fichero &operator=(const Fichero &) = delete;
    explicit operator bool() const { return m_f != nullptr; }
    std::FILE *get() const { return m_f; }
    bool Cierra()
    {
        bool bien = std::fflush(m_f) == 0 && ::fsync(::fileno(m_f)) == 0;
        bien = std::fclose(m_f) == 0 && bien;
        m_f = nullptr;
        return bien;
    }

private:
    std::FILE *m_f;
};

std::string Carpeta(const std::string &ruta)
{
    const size_t barra = ruta.rfind('/');
    return barra == std::string::npos ? std::string(".") : ruta.substr(0, barra + 1);
}

// Flushes the folder of ruta, so that a rename into it survives a crash.
void SincronizaCarpeta(const std::string &ruta)
{
    const int dir = ::open(cp1252::fileName(Carpeta(ruta)).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

bool TieneDatos(const std::string &ruta)
{
    struct stat st;
    return ::stat(cp1252::fileName(ruta).c_str(), &st) == 0 && st.st_size > 0;
}

// Copies origen into a new file destino block by block, each block of up to 8,192 bytes
// passed through transforma on its own; every write is checked and flushed to disk. A
// failure removes destino, is logged under the function's tag and gives false.
bool CopiaFichero(const std::string &origen, const std::string &destino, void (*transforma)(void *, long),
                  const char *funcion)
{
    Fichero entrada(origen, "rb");
    if (!entrada)
        return Falla(funcion, "No se puede abrir '" + origen + "'");
    Fichero salida(destino, "wb");
    if (!salida)
        return Falla(funcion, "No se puede crear '" + destino + "'");
    char bloque[kBloque];
    size_t n;
    bool bien = true;
    while (bien && (n = std::fread(bloque, 1, kBloque, entrada.get())) > 0) {
        if (transforma)
            transforma(bloque, long(n));
        bien = std::fwrite(bloque, 1, n, salida.get()) == n;
    }
    bien = bien && !std::ferror(entrada.get());
    if (!salida.Cierra() || !bien) {
        BorraFichero(destino);
        return Falla(funcion, "Error copiando '" + origen + "' en '" + destino + "'");
    }
    return true;
}

// The scrambler of the copy at any offset of the file. It mixes in each byte's index within
// the buffer it is given modulo 256, and the copy's blocks of 8,192 bytes start at multiples
// of 256: a byte's scrambled form depends on its offset modulo 256 only.
template <void (*Transforma)(void *, long)>
void EnLaCopia(void *bytes, long largo, long long desde)
{
    auto *p = static_cast<unsigned char *>(bytes);
    const long desfase = long(desde % 256);
    if (desfase != 0 && largo > 0) {
        unsigned char trozo[256] = {};
        const long n = std::min(largo, 256 - desfase);
        std::memcpy(trozo + desfase, p, size_t(n));
        Transforma(trozo, desfase + n);
        std::memcpy(p, trozo + desfase, size_t(n));
        p += n;
        largo -= n;
    }
    Transforma(p, largo);
}

FalloCopia Clasifica(int codigo)
{
    if (codigo <= VASQ_ENGINE_ERROR_BASE)
        return FalloCopia::Otro;
    switch (VASQ_ENGINE_PRIMARY(codigo)) {
    case VASQ_PRIMARY_FULL:
        return FalloCopia::SinEspacio;
    case VASQ_PRIMARY_CORRUPT:
        return FalloCopia::Danada;
    case VASQ_PRIMARY_NOTADB:
        return FalloCopia::NoEsBase;
    default:
        return FalloCopia::Otro;
    }
}

// The library's last error as text; with fallo, what it means for the copy.
std::string ErrorBD(FalloCopia *fallo)
{
    char texto[1024] = "";
    const int codigo = VASQ_GetLastErrorCodeDesc(texto, sizeof texto);
    if (fallo)
        *fallo = Clasifica(codigo);
    return texto;
}

// A temporary that the program made beside the file called nombre: a hidden name, nombre,
// and the library's mark at its end, with or without the six letters or digits between.
bool EsTemporalDe(const std::string &fichero, const std::string &nombre)
{
    const std::string inicio = "." + nombre + ".", marca = VASQ_TEMP_MARK;
    return fichero.size() >= inicio.size() + marca.size() - 1 && fichero.compare(0, inicio.size(), inicio) == 0 &&
           fichero.compare(fichero.size() - marca.size(), marca.size(), marca) == 0;
}

// Removes the regular files of carpeta that are temporaries of the files called nombres;
// with mismos, those files too.
void BorraTemporalesDe(const std::string &carpeta, std::initializer_list<std::string> nombres, bool mismos)
{
    std::error_code ec;
    for (const auto &entrada : std::filesystem::directory_iterator(cp1252::fileName(carpeta), ec)) {
        const std::string fichero = entrada.path().filename().string();
        if (!entrada.is_regular_file(ec) || std::none_of(nombres.begin(), nombres.end(), [&](const std::string &n) {
                return EsTemporalDe(fichero, n) || (mismos && fichero == n);
            }))
            continue;
        if (std::filesystem::remove(entrada.path(), ec))
            WriteLog("[ General::BorraTemporales ] Se borra '" + cp1252::fromUtf8(entrada.path().string()) +
                     "', que dej\xF3 una ejecuci\xF3n interrumpida");
    }
}

std::string NombreFichero(const std::string &ruta)
{
    return cp1252::fileName(ruta.substr(ruta.rfind('/') + 1));
}

// A temporary that stands for ruta while it is written: beside it, marked as the library
// marks its own, with medio (".XXXXXX" for mkstemps) before the mark.
std::string RutaTemporal(const std::string &ruta, const char *medio = "")
{
    const size_t barra = ruta.rfind('/') + 1;
    return ruta.substr(0, barra) + "." + ruta.substr(barra) + medio + VASQ_TEMP_MARK;
}

// Folds the write-ahead log into the database file so that a copy of the file is whole.
bool Checkpoint(const std::string &rutaBD, const std::string &password)
{
    if (!TieneDatos(rutaBD + "-wal"))
        return true;
    const bool abierta = VASQ_IsDBOpened() != 0;
    if (abierta && rutaBD != VASQ_GetDBNamePath())
        return false;
    if (!abierta && (SetBdPassword(password.c_str()) < 0 || VASQ_OpenDB(rutaBD.c_str(), 0, 0) != 0))
        return false;
    int filas = 0;
    const bool bien = VASQ_ExecSQL("PRAGMA wal_checkpoint(TRUNCATE);", &filas) == 0;
    if (!abierta)
        VASQ_CloseDB();
    return bien;
}

} // namespace

bool BorraFichero(const std::string &ruta)
{
    return ::unlink(cp1252::fileName(ruta).c_str()) == 0 || errno == ENOENT;
}

bool RenombraFichero(const std::string &de, const std::string &a)
{
    if (std::rename(cp1252::fileName(de).c_str(), cp1252::fileName(a).c_str()) != 0)
        return false;
    SincronizaCarpeta(a);
    return true;
}

bool RenombraSinReemplazar(const std::string &de, const std::string &a)
{
    const std::string origen = cp1252::fileName(de), destino = cp1252::fileName(a);
    if (::renameat2(AT_FDCWD, origen.c_str(), AT_FDCWD, destino.c_str(), RENAME_NOREPLACE) != 0) {
        // A file system without the flag: a link never replaces either.
        if ((errno != EINVAL && errno != ENOSYS) || ::link(origen.c_str(), destino.c_str()) != 0)
            return false;
        ::unlink(origen.c_str());
    }
    SincronizaCarpeta(a);
    return true;
}

void BorraDiarios(const std::string &rutaBD)
{
    BorraFichero(rutaBD + "-wal");
    BorraFichero(rutaBD + "-shm");
}

CursorEspera::CursorEspera()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_puesto = true;
    }
}

CursorEspera::~CursorEspera()
{
    if (m_puesto)
        QGuiApplication::restoreOverrideCursor();
}

std::string CambiaExtension(std::string_view ruta, std::string_view ext)
{
    std::string r(ruta);
    const size_t barra = r.find_last_of("/\\");
    const size_t punto = r.rfind('.');
    if (punto != std::string::npos && (barra == std::string::npos || punto > barra))
        r.resize(punto);
    return r + std::string(ext);
}

std::string RutaCopiaBD(std::string_view rutaBD)
{
    return CambiaExtension(rutaBD, ".mcr");
}

bool GuardaBDCifrada(std::string_view rutaBD, bool conservar, std::string_view password, FalloCopia *fallo)
{
    const std::string bd(rutaBD), clave(password);
    const std::string copia = RutaCopiaBD(bd);
    CursorEspera cursor;
    if (!clave.empty()) {
        if (VASQ_ExportTransformed(bd.c_str(), clave.c_str(), copia.c_str(), EnLaCopia<BlockQuickEncript>,
                                   EnLaCopia<BlockQuickDecript>) != 0)
            return Falla("GuardaBDCifrada", "No se puede escribir la copia de '" + bd + "': " + ErrorBD(fallo));
    } else {
        const std::string temporal = RutaTemporal(copia);
        if (!Checkpoint(bd, clave))
            return Falla("GuardaBDCifrada", "No se pudo volcar el diario de '" + bd + "'", fallo);
        if (!CopiaFichero(bd, temporal, BlockQuickEncript, "GuardaBDCifrada"))
            return Falla("GuardaBDCifrada", "No se puede copiar '" + bd + "'", fallo);
        if (!RenombraFichero(temporal, copia)) {
            BorraFichero(temporal);
            return Falla("GuardaBDCifrada", "No se puede escribir '" + copia + "'", fallo);
        }
    }
    if (!conservar) {
        if (!BorraFichero(bd))
            return Falla("GuardaBDCifrada", "No se puede borrar '" + bd + "'", fallo);
        BorraDiarios(bd);
    }
    return true;
}

bool RecuperaBDCifrada(std::string_view rutaBD, std::string_view password, FalloCopia *fallo)
{
    const std::string bd(rutaBD), clave(password), copia = RutaCopiaBD(bd);
    CursorEspera cursor;
    if (!clave.empty()) {
        if (VASQ_ImportTransformed(copia.c_str(), EnLaCopia<BlockQuickDecript>, bd.c_str(), clave.c_str()) != 0)
            return Falla("RecuperaBDCifrada",
                         "No se puede reconstruir '" + bd + "' desde su copia: " + ErrorBD(fallo));
        return true;
    }
    const std::string temporal = RutaTemporal(bd);
    if (!CopiaFichero(copia, temporal, BlockQuickDecript, "RecuperaBDCifrada"))
        return Falla("RecuperaBDCifrada", "No se puede copiar '" + copia + "'", fallo);
    BorraDiarios(bd);
    if (!RenombraFichero(temporal, bd)) {
        BorraFichero(temporal);
        return Falla("RecuperaBDCifrada", "No se puede escribir '" + bd + "'", fallo);
    }
    return true;
}

bool TieneTablasDelPrograma()
{
    static const char *const kTablas[] = {"_Usuarios()", "_Empresas( Datos )", "_Presentadores( Datos )",
                                         "_Emisores( Datos )", "Remesas()", "Documentos()", "Librados( Datos )"};
    std::string lista;
    for (const char *tabla : kTablas)
        lista += std::string(lista.empty() ? "'" : ", '") + tabla + "'";
    int halladas = -1;
    const std::string error =
        DBGetData("SELECT COUNT(*) AS Total FROM sqlite_master WHERE type='table' AND name IN (" + lista + ")",
                  [&halladas](char *fila, char *, int) { halladas = std::atoi(GetCampo("Total", fila).c_str()); });
    return error.empty() && halladas == int(std::size(kTablas));
}

bool SePuedeEscribirJunto(std::string_view ruta)
{
    std::string plantilla = cp1252::fileName(RutaTemporal(std::string(ruta), ".XXXXXX"));
    const int fd = ::mkstemps(plantilla.data(), int(std::strlen(VASQ_TEMP_MARK)));
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(plantilla.c_str());
    return true;
}

std::string RutaCompactacion()
{
    return progdir::file("tmp.mdb");
}

void BorraTemporales(std::string_view rutaBD)
{
    const std::string bd(rutaBD), compactacion = RutaCompactacion();
    BorraTemporalesDe(Carpeta(bd), {NombreFichero(bd), NombreFichero(RutaCopiaBD(bd))}, false);
    BorraTemporalesDe(Carpeta(compactacion), {NombreFichero(compactacion)}, true);
}
