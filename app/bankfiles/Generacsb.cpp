// The generation of one send file: its records, its history copy, its rows and stamps.
#include "Generacsb.h"

#include "Aplicacion.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "cp1252.h"
#include "profile.h"
#include "progdir.h"
#include "vasqdb.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kBuffer = 1 << 16;
constexpr int kTextoRecibosAbiertos = 941, kTextoCierralos = 944;
constexpr int kTextoRemesaGenerada = 809, kTextoYaEnviada = 810, kTextoConfirmeReenvio = 811;
constexpr qint64 kIntervaloAvance = 64; // ms
constexpr int kIntentosNombre = 1000;
const char *const kEstrellas = "***********************************";

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

// A text quoted for SQL exactly as it is: every quote doubled.
std::string Literal(std::string_view texto)
{
    return "'" + DoblaComillas(texto) + "'";
}

// The file name of a path written with either kind of bar.
std::string NombreFichero(std::string_view ruta)
{
    const size_t barra = ruta.find_last_of("/\\");
    return std::string(barra == std::string_view::npos ? ruta : ruta.substr(barra + 1));
}

// A LIKE pattern of the text as it is: "!", "%" and "_" escaped with "!".
std::string Patron(std::string_view texto)
{
    std::string patron;
    for (const char c : texto) {
        if (c == '!' || c == '%' || c == '_')
            patron += '!';
        patron += c;
    }
    return patron;
}

// The ids joined by ",".
std::string Ids(const std::vector<int> &ids)
{
    std::string lista;
    for (const int id : ids)
        lista += (lista.empty() ? "" : ",") + std::to_string(id);
    return lista;
}

bool Existe(const std::string &ruta)
{
    struct stat st;
    return ::stat(cp1252::fileName(ruta).c_str(), &st) == 0;
}

// True when the fd is still the file at ruta (nobody renamed or removed it meanwhile).
bool MismoFichero(int fd, const std::string &ruta)
{
    struct stat abierto, nombrado;
    return ::fstat(fd, &abierto) == 0 && ::stat(cp1252::fileName(ruta).c_str(), &nombrado) == 0 &&
           abierto.st_ino == nombrado.st_ino && abierto.st_dev == nombrado.st_dev;
}

// Whether a history row names the history copy; nothing when the query failed.
std::optional<bool> HistoriaNombra(const std::string &historico)
{
    bool nombrado = false;
    const std::string error =
        DBGetData("SELECT COUNT(*) AS Veces FROM [Historicos( Remesas )] WHERE " + CondicionHistorico(historico) + ";",
                  [&nombrado](char *fila, char *, int) { nombrado = Numero(GetCampo("Veces", fila)) > 0; });
    return error.empty() ? std::optional<bool>(nombrado) : std::nullopt;
}

long long Contador(std::string_view texto)
{
    long long n = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), n);
    return error == std::errc() && fin == texto.data() + texto.size() && n >= 0 ? n : 0;
}

// The values of a row text in the order of its columns: escapes undone, "NULL" empty.
std::vector<std::string> Valores(std::string_view fila)
{
    std::vector<std::string> valores;
    while (!fila.empty()) {
        const size_t fin = std::min(fila.find('&'), fila.size());
        const std::string_view par = fila.substr(0, fin);
        const size_t igual = par.find('=');
        std::string valor(igual == std::string_view::npos ? std::string_view() : par.substr(igual + 1));
        std::replace(valor.begin(), valor.end(), '\x01', '&');
        std::replace(valor.begin(), valor.end(), '\x02', '=');
        valores.push_back(valor == "NULL" ? std::string() : std::move(valor));
        fila.remove_prefix(std::min(fin + 1, fila.size()));
    }
    return valores;
}

// The shared lock of each batch of the run, released on every path.
class Bloqueos {
public:
    explicit Bloqueos(const std::vector<RemesaCSB> &remesas)
    {
        if (!App().Multiuser)
            return;
        for (const RemesaCSB &r : remesas)
            if (m_ids.insert(r.IdRemesa).second)
                App().Multiuser->BloqueaRemesa(r.IdRemesa, true);
    }
    ~Bloqueos()
    {
        if (App().Multiuser)
            for (int id : m_ids)
                App().Multiuser->DesbloqueaRemesa(id, true);
    }

private:
    std::set<int> m_ids;
};

// The coordination paused for the length of the run.
class Pausa {
public:
    Pausa() : m_antes(App().Multiuser && App().Multiuser->Pausado)
    {
        if (App().Multiuser)
            App().Multiuser->Pausado = true;
    }
    ~Pausa()
    {
        if (App().Multiuser)
            App().Multiuser->Pausado = m_antes;
    }

private:
    bool m_antes;
};

} // namespace

// The run's one transaction, rolled back unless committed.
class _GeneradorCSB::Transaccion {
public:
    Transaccion() : m_abierta(VASQ_BeginTrans() == 0) {}
    ~Transaccion()
    {
        if (m_abierta) {
            VASQ_Rollback();
            VASQ_GetLastErrorCodeID();
        }
    }
    bool Abierta() const { return m_abierta; }
    bool Confirma()
    {
        m_abierta = m_abierta && VASQ_CommitTrans() != 0;
        return !m_abierta;
    }

private:
    bool m_abierta;
};

// ---- The temporary of a send file or history copy ----

class _GeneradorCSB::Salida {
public:
    enum class Creacion { Creada, Ocupada, Imposible };

    ~Salida()
    {
        if (m_conservar && m_fd >= 0)
            ::close(m_fd);
        else
            Elimina();
    }

    // Creates ruta exclusively and holds its lock; Ocupada when the name is taken.
    Creacion Crea(const std::string &ruta)
    {
        const int fd = ::open(cp1252::fileName(ruta).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return errno == EEXIST ? Creacion::Ocupada : Creacion::Imposible;
        // A recovery of another copy may have taken the new file for a dead run's.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !MismoFichero(fd, ruta)) {
            ::close(fd);
            return Creacion::Ocupada;
        }
        m_fd = fd;
        m_ruta = ruta;
        return Creacion::Creada;
    }

    // Removes the file and lets its name go.
    void Elimina()
    {
        if (m_fd < 0)
            return;
        BorraFichero(m_ruta);
        ::close(m_fd);
        m_fd = -1;
    }

    bool Escribe(std::string_view bytes)
    {
        m_buffer.append(bytes);
        return m_buffer.size() < kBuffer || Vacia();
    }

    // Writes what the buffer holds and flushes the file to disk.
    bool Sincroniza() { return Vacia() && ::fsync(m_fd) == 0; }

    // The file's bytes from desde, up to n.
    ssize_t Lee(char *destino, size_t n, off_t desde) const { return ::pread(m_fd, destino, n, desde); }

    // From here on the file outlives the run when it is not put in place.
    void Conserva() { m_conservar = true; }

    // Renames the file into place without replacing; true when it is there.
    bool Coloca(const std::string &final)
    {
        m_colocada = RenombraSinReemplazar(m_ruta, final);
        if (m_colocada)
            m_ruta = final;
        return m_colocada;
    }

    const std::string &Ruta() const { return m_ruta; }

private:
    bool Vacia()
    {
        for (size_t hecho = 0; hecho < m_buffer.size();) {
            const ssize_t n = ::write(m_fd, m_buffer.data() + hecho, m_buffer.size() - hecho);
            if (n <= 0 && errno != EINTR)
                return false;
            hecho += n > 0 ? size_t(n) : 0;
        }
        m_buffer.clear();
        return true;
    }

    int m_fd = -1;
    std::string m_ruta, m_buffer;
    bool m_conservar = false, m_colocada = false;
};

// ---- A block: one batch's records in the order they are written ----

struct _GeneradorCSB::Bloque {
    struct Recibo {
        std::string clave; // debit bank and branch, then reference, as written
        int id = 0;
        std::string registros; // the individual record and those that follow it, with line ends
    };
    std::vector<Recibo> recibos;
    long long importe = 0, registros = 0;
    bool conConcepto = false, bien = true;
};

_GeneradorCSB::_GeneradorCSB(PeticionCSB peticion, ProgresoCSB progreso)
    : m_peticion(std::move(peticion)), m_progreso(std::move(progreso)),
      m_registros(m_peticion.TipoOrden, m_peticion.Moneda == kMonedaEuros, m_peticion.Hoy, m_peticion.FechaCargo)
{
}

void _GeneradorCSB::Linea(const std::string &texto)
{
    if (m_progreso.Linea)
        m_progreso.Linea(texto);
}

void _GeneradorCSB::Linea(int texto, const std::string &cola)
{
    Linea(Texto(texto) + cola);
}

void _GeneradorCSB::LineasError(const std::vector<std::string> &lineas)
{
    Linea(" ");
    Linea(kEstrellas);
    for (const std::string &l : lineas)
        Linea(l);
    Linea(kEstrellas);
}

void _GeneradorCSB::RechazaRecibo(Bloque &bloque, const ReciboCSB &recibo, const std::vector<std::string> &porque)
{
    bloque.bien = false;
    std::vector<std::string> lineas = {Texto(173), Texto(174) + recibo.RazonSocial, Texto(773) + recibo.CodigoReferencia};
    lineas.insert(lineas.end(), porque.begin(), porque.end());
    LineasError(lineas);
}

bool _GeneradorCSB::CodigoEnviable(const std::string &nif, std::string &sufijo, const std::string &quien)
{
    if (const std::string motivo = MotivoNif(nif); !motivo.empty()) {
        LineasError({quien, "ERROR: " + motivo, Texto(792)});
        return false;
    }
    const std::optional<std::string> banco = SufijoBanco(sufijo);
    if (!banco) {
        LineasError({quien, Texto(754) + sufijo + "'", Texto(755)});
        return false;
    }
    sufijo = *banco;
    return true;
}

bool _GeneradorCSB::EmisorEnviable(EmisorCSB &emisor)
{
    const std::string quien = Texto(753) + emisor.IdNif + " " + emisor.RazonSocial;
    if (!CodigoEnviable(emisor.IdNif, emisor.Sufijo, quien))
        return false;
    // An issuer always has its account, in CSB58 too.
    if (CuentaEnviable(emisor.CuentaAbono, 1))
        return true;
    LineasError({quien, Texto(962) + emisor.CuentaAbono + "'", Texto(963)});
    return false;
}

void _GeneradorCSB::Avanza(bool siempre)
{
    if (!m_reloj.isValid())
        m_reloj.start();
    if (!m_progreso.Avance || (!siempre && m_reloj.elapsed() - m_ultimoAvance < kIntervaloAvance))
        return;
    m_ultimoAvance = m_reloj.elapsed();
    m_progreso.Avance(m_hechos, m_total);
}

ResultadoCSB _GeneradorCSB::Genera()
{
    const bool pesetas = m_peticion.Moneda == kMonedaPesetas;
    const QDate &euro = m_peticion.FechaEuro;
    if (pesetas && ((m_peticion.TipoOrden == 2 && m_peticion.Hoy >= euro) ||
                    (m_peticion.TipoOrden == 1 && m_peticion.FechaCargo >= euro)))
        return ResultadoCSB::Euro;
    RecuperaFicherosCSB({m_peticion.CarpetaCSB}, m_peticion.CarpetaHistorico);
    for (const std::string &carpeta : {m_peticion.CarpetaCSB, m_peticion.CarpetaHistorico})
        ::mkdir(cp1252::fileName(carpeta).c_str(), 0777);

    Pausa pausa;
    Bloqueos bloqueos(m_peticion.Remesas);
    Salida salida, historico;
    bool bien = Reserva(salida, historico);
    if (bien) {
        Linea(166, Nombre + "'");
        // The stamps are the run's first write: from there on it holds the database's write
        // lock, so that no other copy opens or changes a bill between the look at the bills
        // and the commit.
        Transaccion transaccion;
        bien = MarcaRecibos(transaccion) && SinRecibosAbiertos() && SinReenviosImprevistos() && Escribe(salida);
        if (bien && !salida.Sincroniza()) {
            Linea(777, salida.Ruta() + "'");
            bien = false;
        }
        bien = bien && !m_fechaErronea && Copia(salida, historico) && GuardaHistoria(transaccion);
    }
    if (!bien) {
        if (m_fechaErronea) {
            for (int texto : {770, 771, 772})
                Linea(texto);
            return ResultadoCSB::FechaErronea;
        }
        Linea(156);
        return ResultadoCSB::Fallido;
    }
    // Committed: from here on the pair is the recovery's when it cannot be put in place.
    salida.Conserva();
    historico.Conserva();
    EnSuSitio = historico.Coloca(Historico) && salida.Coloca(Fichero);
    ActualizaContador(m_numero);
    Linea(155);
    if (!EnSuSitio)
        Linea(778);
    return ResultadoCSB::Generado;
}

bool _GeneradorCSB::Reserva(Salida &salida, Salida &historico)
{
    const PeticionCSB &p = m_peticion;
    m_numero = Contador(profile::readString(p.Ini, "FICHEROCSB", "UltimoFichero", "0"));
    for (int intento = 0; intento < kIntentosNombre; ++intento, ++m_numero) {
        Nombre = FechaBanco(p.Hoy) + std::to_string(m_numero) + ".csb";
        Fichero = p.CarpetaCSB + Nombre;
        Historico = p.CarpetaHistorico + "hst" + Nombre;
        if (Existe(Fichero) || Existe(Historico) || HistoriaNombra(Historico).value_or(true))
            continue;
        const auto creacion = salida.Crea(Fichero + ".tmp");
        if (creacion == Salida::Creacion::Ocupada)
            continue;
        if (creacion == Salida::Creacion::Imposible) {
            Linea(157, Fichero + "'");
            return false;
        }
        const auto copia = historico.Crea(Historico + ".tmp");
        if (copia == Salida::Creacion::Creada)
            return true;
        salida.Elimina();
        if (copia == Salida::Creacion::Imposible) {
            ErrorHistorico = true;
            Linea(157, Historico + "'");
            return false;
        }
    }
    Linea(157, Fichero + "'");
    return false;
}

bool _GeneradorCSB::Escribe(Salida &salida)
{
    const std::vector<RemesaCSB> &remesas = m_peticion.Remesas;
    if (remesas.empty() || !EscribeCabecera(salida))
        return false;
    DBGetData("SELECT COUNT(*) AS Total FROM [Documentos()] WHERE [Documentos()].Activo=TRUE AND "
              "[Documentos()].Id_remesa IN (" + IdsRemesas() + ");",
              [this](char *fila, char *, int) { m_total = Numero(GetCampo("Total", fila)); });
    Avanza(true);
    for (size_t i = 0; i < remesas.size();) {
        EmisorCSB emisor;
        if (!LeeEmisor(remesas[i].IdEmisor, emisor) || !EmisorEnviable(emisor) ||
            !LeeReferencias(remesas[i].IdEmisor)) {
            Linea(161);
            return false;
        }
        Linea(160);
        for (const int idEmisor = remesas[i].IdEmisor; i < remesas.size() && remesas[i].IdEmisor == idEmisor; ++i)
            if (!EscribeRemesa(salida, remesas[i], emisor))
                return false;
        Linea(163);
    }
    const auto total = m_registros.TotalGeneral(m_codigoPresentador, Ordenantes, Importe, Documentos,
                                                m_registrosFichero + 1);
    if (!total) {
        LineasError({Texto(171), Texto(172) + m_codigoPresentador, Texto(169),
                     Texto(170) + m_registros.TextoImporte(Importe)});
        return false;
    }
    ++m_registrosFichero;
    if (!salida.Escribe(*total + "\r\n")) {
        Linea(777, salida.Ruta() + "'");
        return false;
    }
    return true;
}

bool _GeneradorCSB::EscribeCabecera(Salida &salida)
{
    PresentadorCSB presentador;
    bool leido = false;
    DBGetData("SELECT [_Emisores( Datos )].Cuenta_cargo, [_Presentadores( Datos )].Clave_presentador, "
              "[_Presentadores( Datos )].Id_nif, [_Presentadores( Datos )].Sufijo, "
              "[_Presentadores( Datos )].Razon_social FROM ([_Empresas( Datos )] INNER JOIN "
              "[_Presentadores( Datos )] ON [_Empresas( Datos )].Id_empresa = [_Presentadores( Datos )].Id_empresa) "
              "INNER JOIN [_Emisores( Datos )] ON [_Presentadores( Datos )].Id_presentador = "
              "[_Emisores( Datos )].Id_presentador WHERE Id_emisor=" +
                  std::to_string(m_peticion.Remesas.front().IdEmisor) + ";",
              [&](char *fila, char *seguir, int) {
                  const std::vector<std::string> v = Valores(fila);
                  if (v.size() == 5)
                      presentador = {v[2], v[3], v[4], v[0]};
                  leido = v.size() == 5;
                  *seguir = 0;
              });
    if (!leido || !CodigoEnviable(presentador.IdNif, presentador.Sufijo,
                                  Texto(752) + presentador.IdNif + " " + presentador.RazonSocial)) {
        Linea(159);
        return false;
    }
    m_codigoPresentador = RegistrosCSB::Codigo(presentador.IdNif, presentador.Sufijo);
    m_registrosFichero = 1;
    if (!salida.Escribe(m_registros.CabeceraPresentador(presentador) + "\r\n")) {
        Linea(777, salida.Ruta() + "'");
        return false;
    }
    Linea(158);
    return true;
}

bool _GeneradorCSB::LeeEmisor(int idEmisor, EmisorCSB &emisor)
{
    bool leido = false;
    DBGetData("SELECT [_Emisores( Datos )].Id_nif, [_Emisores( Datos )].Sufijo, [_Emisores( Datos )].Razon_social, "
              "[_Emisores( Datos )].Cuenta_abono, [_Emisores( Datos )].Codigo_NIE FROM [_Emisores( Datos )] WHERE "
              "((([_Emisores( Datos )].Id_emisor)=" + std::to_string(idEmisor) + "));",
              [&](char *fila, char *seguir, int) {
                  const std::vector<std::string> v = Valores(fila);
                  if (v.size() == 5)
                      emisor = {v[0], v[1], v[2], v[3], v[4]};
                  leido = v.size() == 5;
                  *seguir = 0;
              });
    return leido;
}

bool _GeneradorCSB::LeeReferencias(int idEmisor)
{
    m_referencias.clear();
    return LibradosComoBanco(idEmisor, m_referencias).empty();
}

bool _GeneradorCSB::CompruebaRemesa(int idRemesa)
{
    std::string moneda;
    DBGetData("SELECT [Remesas()].Id_moneda FROM [Remesas()] WHERE [Remesas()].Id_remesa=" + std::to_string(idRemesa) + ";",
              [&moneda](char *fila, char *, int) { moneda = GetCampo("Id_moneda", fila); });
    if (moneda == m_peticion.Moneda)
        return true;
    Linea(775, std::to_string(idRemesa));
    return false;
}

bool _GeneradorCSB::EscribeRemesa(Salida &salida, const RemesaCSB &remesa, const EmisorCSB &emisor)
{
    Bloque bloque;
    m_codigoEmisor = RegistrosCSB::Codigo(emisor.IdNif, emisor.Sufijo);
    if (!CompruebaRemesa(remesa.IdRemesa) || !LeeRecibos(remesa.IdRemesa, bloque))
        return false;
    if (bloque.recibos.empty()) {
        Linea(626);
        Linea(162);
        return false;
    }
    std::sort(bloque.recibos.begin(), bloque.recibos.end(), [](const Bloque::Recibo &a, const Bloque::Recibo &b) {
        return a.clave != b.clave ? a.clave < b.clave : a.id < b.id;
    });
    const std::string &codigo = m_codigoEmisor;
    const long long registros = bloque.registros + 2;
    const long long documentos = static_cast<long long>(bloque.recibos.size());
    const auto total = m_registros.TotalOrdenante(codigo, bloque.importe, documentos, registros);
    if (!total) {
        LineasError({Texto(167), Texto(168) + codigo, Texto(169), Texto(170) + m_registros.TextoImporte(bloque.importe)});
        return false;
    }
    bool escrito = salida.Escribe(m_registros.CabeceraOrdenante(emisor, bloque.conConcepto) + "\r\n");
    for (const Bloque::Recibo &r : bloque.recibos)
        escrito = escrito && salida.Escribe(r.registros);
    if (!escrito || !salida.Escribe(*total + "\r\n")) {
        Linea(777, salida.Ruta() + "'");
        return false;
    }
    ++Ordenantes;
    Documentos += documentos;
    Importe += bloque.importe;
    m_registrosFichero += registros;
    return true;
}

bool _GeneradorCSB::LeeRecibos(int idRemesa, Bloque &bloque)
{
    const bool csb58 = m_peticion.TipoOrden == 2;
    const bool pesetas = m_peticion.Moneda == kMonedaPesetas;
    const int decimales = DecimalesMoneda(m_peticion.Moneda);
    const std::string sql =
        "SELECT [Documentos()].Id_documento, [Librados( Datos )].Codigo_referencia, [Librados( Datos )].Razon_social, "
        "[Librados( Datos )].Loc_ordenante, [Librados( Datos )].Cod_provincia_ordenante, [Librados( Datos )].Cuenta, "
        "[Documentos()].Importe, [Documentos()].Cod_devolucion, [Documentos()].F_vencimiento, "
        "[Documentos()].F_formalizacion, [Documentos()].Ref_interna, [Documentos()].Primer_concepto, "
        "[Conceptos()].Concepto, [Librados( Datos )].Titular_cuenta, [Librados( Datos )].Direccion, "
        "[Librados( Datos )].CP, [Librados( Datos )].Localidad FROM ([Librados( Datos )] INNER JOIN [Documentos()] "
        "ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) LEFT JOIN [Conceptos()] ON "
        "[Conceptos()].Id_concepto = [Documentos()].Id_concepto WHERE ((([Documentos()].Id_remesa)=" +
        std::to_string(idRemesa) + ")) AND ([Documentos()].Activo=TRUE);";
    const std::string error = DBGetData(sql, [&](char *fila, char *, int) {
        const std::vector<std::string> v = Valores(fila);
        if (v.size() != 17) {
            bloque.bien = false;
            return;
        }
        ReciboCSB b;
        b.IdDocumento = Numero(v[0]);
        b.CodigoReferencia = v[1], b.RazonSocial = v[2], b.LocOrdenante = v[3], b.CodProvinciaOrdenante = v[4];
        b.Cuenta = v[5], b.CodDevolucion = v[7], b.RefInterna = v[10], b.PrimerConcepto = v[11];
        b.Concepto = ConceptoCompleto(v[12]);
        b.TitularCuenta = v[13], b.Direccion = v[14], b.CP = v[15], b.Localidad = v[16];
        b.FVencimiento = LeeFechaFila(v[8]);
        b.FFormalizacion = LeeFechaFila(v[9]);
        if (!v[8].empty() && !b.FVencimiento.isValid())
            WriteLog("[ General::GetSafeDate ] Fecha no v\xE1lida: '" + v[8] + "'");
        if (csb58 && pesetas && b.FVencimiento.isValid() && b.FVencimiento >= m_peticion.FechaEuro)
            m_fechaErronea = true;
        ++m_hechos;
        Avanza(false);
        if (!CuentaEnviable(b.Cuenta, m_peticion.TipoOrden))
            return RechazaRecibo(bloque, b, {Texto(690) + b.Cuenta + "'", Texto(691)});
        if (csb58 && !b.FVencimiento.isValid())
            return RechazaRecibo(bloque, b, {Texto(750), Texto(751)});
        // The import finds a drawee by the reference the bank reads: it must name one only.
        if (const auto iguales = CodigosComoBanco(m_referencias, b.CodigoReferencia); iguales.size() > 1)
            return RechazaRecibo(bloque, b, {Texto(795) + Citados(iguales), Texto(796)});
        const LecturaImporte lectura = LeeImporteSQL(v[6], decimales, b.Importe, true);
        std::optional<std::string> individual;
        if (lectura == LecturaImporte::Correcta && b.Importe > 0)
            individual = m_registros.Individual(m_codigoEmisor, b);
        if (!individual) {
            const bool grande = lectura == LecturaImporte::DemasiadoGrande ||
                                (lectura == LecturaImporte::Correcta && b.Importe > 0);
            const std::string importe = lectura == LecturaImporte::Correcta ? m_registros.TextoImporte(b.Importe) : v[6];
            return RechazaRecibo(bloque, b, {Texto(grande ? 169 : 774), Texto(170) + importe});
        }
        Bloque::Recibo r{individual->substr(68, 8) + individual->substr(16, 12), b.IdDocumento, *individual + "\r\n"};
        if (!b.Concepto.empty())
            bloque.conConcepto = true;
        long long registros = 1;
        for (const std::string &opcional : m_registros.Opcionales(m_codigoEmisor, b)) {
            r.registros += opcional + "\r\n";
            ++registros;
        }
        if (const auto domicilio = m_registros.Domicilio(m_codigoEmisor, b)) {
            r.registros += *domicilio + "\r\n";
            ++registros;
        }
        bloque.importe += b.Importe;
        bloque.registros += registros;
        bloque.recibos.push_back(std::move(r));
    });
    Avanza(true);
    if (!error.empty())
        Linea(162);
    return error.empty() && bloque.bien;
}

bool _GeneradorCSB::Copia(Salida &salida, Salida &historico)
{
    std::string bloque(kBuffer, '\0');
    off_t desde = 0;
    bool bien = true;
    for (ssize_t n; bien && (n = salida.Lee(bloque.data(), bloque.size(), desde)) != 0; desde += n)
        bien = n > 0 && historico.Escribe(std::string_view(bloque.data(), size_t(n)));
    if (bien && historico.Sincroniza())
        return true;
    ErrorHistorico = true;
    Linea(777, historico.Ruta() + "'");
    return false;
}

std::string _GeneradorCSB::IdsRemesas() const
{
    std::vector<int> ids;
    for (const RemesaCSB &r : m_peticion.Remesas)
        ids.push_back(r.IdRemesa);
    return Ids(ids);
}

bool _GeneradorCSB::MarcaRecibos(Transaccion &transaccion)
{
    int filas = 0;
    if (transaccion.Abierta() &&
        DBExecSQL("UPDATE [Documentos()] SET [Documentos()].F_proceso = '" + FechaSQL(m_peticion.Hoy) +
                      "' WHERE [Documentos()].Id_remesa IN (" + IdsRemesas() +
                      ") AND [Documentos()].Activo=TRUE AND Block<1;",
                  filas)
            .empty())
        return true;
    Linea(779);
    return false;
}

bool _GeneradorCSB::SinRecibosAbiertos()
{
    std::vector<std::string> remesas;
    DBGetData("SELECT DISTINCT [Remesas()].Descripcion FROM [Remesas()] INNER JOIN [Documentos()] ON "
              "[Remesas()].Id_remesa = [Documentos()].Id_remesa WHERE [Documentos()].Id_remesa IN (" +
                  IdsRemesas() + ") AND [Documentos()].Activo=TRUE AND [Documentos()].Block>0;",
              [&remesas](char *fila, char *, int) { remesas.push_back(GetCampoTexto("Descripcion", fila)); });
    for (const std::string &remesa : remesas)
        LineasError({Texto(kTextoRecibosAbiertos), "'" + remesa + "'", Texto(kTextoCierralos)});
    return remesas.empty();
}

bool _GeneradorCSB::SinReenviosImprevistos()
{
    std::vector<int> ids;
    for (const RemesaCSB &r : m_peticion.Remesas)
        if (!r.Reenvio)
            ids.push_back(r.IdRemesa);
    const std::vector<EnvioAnterior> enviadas = EnviosAnteriores(ids);
    for (const EnvioAnterior &e : enviadas)
        LineasError({Texto(kTextoYaEnviada), FormateaTexto(Texto(kTextoRemesaGenerada), e.Descripcion, e.Fecha),
                     Texto(kTextoConfirmeReenvio)});
    return enviadas.empty();
}

bool _GeneradorCSB::GuardaHistoria(Transaccion &transaccion)
{
    const std::string hoy = FechaSQL(m_peticion.Hoy);
    bool bien = true;
    int filas = 0;
    for (const RemesaCSB &r : m_peticion.Remesas) {
        const std::string id = std::to_string(r.IdRemesa);
        bien = bien &&
               DBExecSQL("INSERT INTO [Historicos( Remesas )] (Id_remesa,Descripcion) VALUES (" + id + "," +
                             Literal(progdir::relative(Historico)) + ");",
                         filas).empty() &&
               DBExecSQL("UPDATE [Remesas()] SET [Remesas()].F_generacion = '" + hoy +
                             "' WHERE [Remesas()].Id_remesa = " + id + ";",
                         filas).empty();
    }
    if (bien && transaccion.Confirma())
        return true;
    Linea(779);
    return false;
}

void _GeneradorCSB::ActualizaContador(long long n)
{
    const std::string &ini = m_peticion.Ini;
    if (Contador(profile::readString(ini, "FICHEROCSB", "UltimoFichero", "0")) < n + 1)
        profile::writeString(ini, "FICHEROCSB", "UltimoFichero", std::to_string(n + 1));
}

bool CuentaEnviable(std::string_view cuenta, int tipoOrden)
{
    if (tipoOrden == 2 && RegistrosCSB::SinCuenta(cuenta))
        return true;
    return cuenta.size() == 20 &&
           !ValidaCCC(cuenta.substr(0, 4), cuenta.substr(4, 4), cuenta.substr(8, 2), cuenta.substr(10), true).empty();
}

std::vector<EnvioAnterior> EnviosAnteriores(const std::vector<int> &ids)
{
    std::vector<EnvioAnterior> enviadas;
    if (ids.empty())
        return enviadas;
    DBGetData("SELECT Id_remesa, Descripcion, F_generacion FROM [Remesas()] WHERE Id_remesa IN (" + Ids(ids) +
                  ") ORDER BY Id_remesa;",
              [&enviadas](char *fila, char *, int) {
                  if (GetCampo("F_generacion", fila) != "NULL")
                      enviadas.push_back({Numero(GetCampo("Id_remesa", fila)),
                                          NullToEmpty(GetCampoTexto("Descripcion", fila)), FechaGeneracion(fila)});
              });
    return enviadas;
}

std::string FechaGeneracion(const char *fila)
{
    std::string fecha = GetCampo("F_generacion", fila);
    QuitaBlancos(fecha);
    return FechaDDMMAAToStr(fecha);
}

// ---- History rows ----

std::string CondicionHistorico(const std::string &historico)
{
    const std::string nombre = NombreFichero(historico);
    return "(Descripcion=" + Literal(nombre) + " OR Descripcion LIKE " + Literal("%/" + Patron(nombre)) +
           " ESCAPE '!' OR Descripcion LIKE " + Literal("%\\" + Patron(nombre)) + " ESCAPE '!')";
}

std::vector<std::string> LugaresHistorico(const std::string &descripcion, const std::string &carpetaHistorico)
{
    std::vector<std::string> lugares = {carpetaHistorico + NombreFichero(descripcion)};
    const std::string relativa = progdir::relative(descripcion);
    const bool enElPrograma = !relativa.empty() && relativa.front() != '/' && relativa.find('\\') == std::string::npos;
    if (enElPrograma && progdir::file(relativa) != lugares.front())
        lugares.push_back(progdir::file(relativa));
    return lugares;
}

// ---- Recovery ----

void RecuperaFicherosCSB(const std::vector<std::string> &carpetas, const std::string &carpetaHistorico)
{
    std::set<std::string> vistas(carpetas.begin(), carpetas.end());
    vistas.insert(carpetaHistorico);
    for (const std::string &carpeta : vistas) {
        std::error_code ec;
        std::vector<std::string> temporales;
        for (const auto &entrada : std::filesystem::directory_iterator(cp1252::fileName(carpeta), ec)) {
            const std::string nombre = cp1252::fromUtf8(entrada.path().filename().string());
            if (nombre.size() > 8 && nombre.compare(nombre.size() - 8, 8, ".csb.tmp") == 0)
                temporales.push_back(nombre);
        }
        for (const std::string &nombre : temporales) {
            const std::string temporal = carpeta + nombre, final = temporal.substr(0, temporal.size() - 4);
            const bool esHistorico = carpeta == carpetaHistorico && nombre.compare(0, 3, "hst") == 0;
            const std::string historico = esHistorico ? final : carpetaHistorico + "hst" + nombre.substr(0, nombre.size() - 4);
            const int fd = ::open(cp1252::fileName(temporal).c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            // A run that holds its lock is alive; a file renamed meanwhile is no longer a temporary.
            const std::optional<bool> nombrado =
                ::flock(fd, LOCK_EX | LOCK_NB) == 0 && MismoFichero(fd, temporal) ? HistoriaNombra(historico)
                                                                                     : std::nullopt;
            if (nombrado.has_value()) {
                if (!*nombrado)
                    BorraFichero(temporal);
                else if (!RenombraSinReemplazar(temporal, final))
                    WriteLog("[ Generacsb::RecuperaFicherosCSB ] No se puede colocar '" + temporal + "' como '" +
                             final + "'");
            }
            ::close(fd);
        }
    }
}
