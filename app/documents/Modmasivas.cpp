// The mass-modification engine and the arithmetic of its kinds.
#include "Modmasivas.h"

#include "Cfgfile.h"
#include "General.h"
#include "Modmas.h"
#include "Registros.h"
#include "Totalesremesa.h"
#include "vasqdb.h"

#include <map>
#include <optional>
#include <unordered_map>

// A listed bill as read before any change.
struct ModificacionMasiva::Recibo {
    int Id = 0;
    int IdRemesa = 0;
    std::string Valor; // the column's value, escapes undone ("NULL" for none)
    std::string Moneda;
    std::string Concepto; // concepts only
    bool Retenido = false;
    bool Erroneo = false;
    // Worked out before writing.
    std::string Nuevo;
    bool Cambia = false;
};

namespace {

using Recibo = ModificacionMasiva::Recibo;
using Entero = __int128;

// Bills between two calls of the progress.
constexpr size_t kPasoProgreso = 256;
// Read for a number of more than 10 integer digits: above every limit.
constexpr long long kFueraDeLimite = 10000000000000LL;
constexpr long long kMaxPesetas = 9999999999LL;
constexpr long long kMaxCentimos = 9999999999LL;
constexpr int kDecimalesPorcentaje = 6;

bool Digito(char c)
{
    return c >= '0' && c <= '9';
}

int Decimales(std::string_view moneda)
{
    return moneda == kMonedaPesetas ? 0 : 2;
}

// The number of the text in units of 10^-decimales; 0 when it reads as none.
long long Unidades(std::string_view texto, int decimales)
{
    long long unidades = 0;
    switch (LeeImporteSQL(texto, decimales, unidades)) {
    case LecturaImporte::Correcta:
        return unidades;
    case LecturaImporte::DemasiadoGrande:
        return kFueraDeLimite;
    default:
        return 0;
    }
}

// numerador / denominador (positive) rounded half away from zero.
Entero DivideRedondeando(Entero numerador, Entero denominador)
{
    const Entero mitad = denominador / 2;
    return numerador >= 0 ? (numerador + mitad) / denominador : -((-numerador + mitad) / denominador);
}

std::string TextoImporte(long long unidades, int decimales)
{
    if (decimales == 0)
        return std::to_string(unidades);
    const std::string signo = unidades < 0 ? "-" : "";
    const long long valor = unidades < 0 ? -unidades : unidades;
    const std::string centimos = std::to_string(valor % 100);
    return signo + std::to_string(valor / 100) + "." + (centimos.size() < 2 ? "0" : "") + centimos;
}

const char *Columna(TipoMasiva tipo)
{
    switch (tipo) {
    case TipoMasiva::Importes: return "Importe";
    case TipoMasiva::Conceptos: return "Id_concepto";
    case TipoMasiva::CodDevolucion: return "Cod_devolucion";
    case TipoMasiva::RefInterna: return "Ref_interna";
    case TipoMasiva::FechaVencimiento: return "F_vencimiento";
    }
    return "";
}

// Amounts and due dates revalidate their bills, list their values and rewrite the totals.
bool Revalida(TipoMasiva tipo)
{
    return tipo == TipoMasiva::Importes || tipo == TipoMasiva::FechaVencimiento;
}

// Reads the listed bills batch by batch, in list order, each once; unknown ids are left out.
std::string LeeRecibos(const std::vector<std::string> &ids, TipoMasiva tipo, std::vector<Recibo> &recibos)
{
    // Each listed bill once, in list order, by its place in that order.
    std::unordered_map<int, size_t> lugar;
    lugar.reserve(ids.size());
    std::vector<int> orden;
    for (const std::string &texto : ids)
        if (const int id = Numero(texto); lugar.emplace(id, orden.size()).second)
            orden.push_back(id);
    std::vector<std::optional<Recibo>> leidos(orden.size());
    const bool concepto = tipo == TipoMasiva::Conceptos;
    const std::string columna = Columna(tipo);
    for (size_t k = 0; k < orden.size(); ++k) {
        if (leidos[k])
            continue;
        int remesa = 0;
        std::string moneda;
        std::string error = DBGetData(
            FormatoSQL("SELECT [Documentos()].Id_remesa, [Remesas()].Id_moneda FROM [Documentos()] INNER JOIN "
                       "[Remesas()] ON [Documentos()].Id_remesa = [Remesas()].Id_remesa WHERE "
                       "[Documentos()].Id_documento=%d;",
                       orden[k]),
            [&](char *fila, char *, int) {
                remesa = Numero(GetCampo("Id_remesa", fila));
                moneda = GetCampo("Id_moneda", fila);
            });
        if (!error.empty())
            return error;
        if (remesa == 0)
            continue;
        error = DBGetData(
            FormatoSQL("SELECT [Documentos()].Id_documento AS MM_Id, [Documentos()].%s AS MM_Valor, "
                       "[Documentos()].Block AS MM_Block, [Documentos()].Situacion AS MM_Situacion%s FROM "
                       "[Documentos()]%s WHERE [Documentos()].Id_remesa=%d;",
                       columna.c_str(), concepto ? ", [Conceptos()].Concepto AS MM_Concepto" : "",
                       concepto ? " LEFT JOIN [Conceptos()] ON [Documentos()].Id_concepto = [Conceptos()].Id_concepto"
                                : "",
                       remesa),
            [&](char *fila, char *, int) {
                const int idFila = Numero(GetCampo("MM_Id", fila));
                const auto sitio = lugar.find(idFila);
                if (sitio == lugar.end())
                    return;
                Recibo &r = leidos[sitio->second].emplace();
                r.Id = idFila;
                r.IdRemesa = remesa;
                r.Valor = GetCampoTexto("MM_Valor", fila);
                r.Moneda = moneda;
                r.Retenido = Numero(GetCampo("MM_Block", fila)) != 0;
                r.Erroneo = GetCampo("MM_Situacion", fila) != "0";
                if (concepto)
                    r.Concepto = NullToEmpty(ConceptoCompleto(GetCampoTexto("MM_Concepto", fila)));
            });
        if (!error.empty())
            return error;
    }
    for (std::optional<Recibo> &r : leidos)
        if (r)
            recibos.push_back(std::move(*r));
    return {};
}

// The new value of a bill and whether it differs from the stored one; the refusing text,
// or 0.
int Calcula(const Modificacion &m, Recibo &r)
{
    switch (m.Tipo) {
    case TipoMasiva::Importes: {
        const ImporteNuevo nuevo = CalculaNuevoImporte(m.Importe, r.Valor, r.Moneda);
        if (nuevo.Rechazo != 0)
            return nuevo.Rechazo;
        r.Nuevo = nuevo.Importe;
        r.Cambia = r.Nuevo != TextoImporte(Unidades(r.Valor, Decimales(r.Moneda)), Decimales(r.Moneda));
        return 0;
    }
    case TipoMasiva::Conceptos:
        r.Nuevo = AplicaSegmentos(r.Concepto, m.Segmentos);
        r.Cambia = Numero(r.Valor) < 1 || r.Nuevo != AplicaSegmentos(r.Concepto, {});
        return 0;
    case TipoMasiva::CodDevolucion:
    case TipoMasiva::RefInterna:
        r.Nuevo = m.Valor;
        r.Cambia = NullToEmpty(r.Valor) != m.Valor;
        return 0;
    case TipoMasiva::FechaVencimiento:
        r.Nuevo = m.Valor;
        r.Cambia = LeeFechaFila(r.Valor) != LeeFechaSQL(m.Valor) || !LeeFechaSQL(m.Valor).isValid();
        return 0;
    }
    return 0;
}

// The name and reference code of the drawee of bill id.
void LeeLibrado(int id, std::string &titular, std::string &referencia)
{
    DBGetData(FormatoSQL("SELECT [Librados( Datos )].Razon_social, [Librados( Datos )].Codigo_referencia FROM "
                         "[Documentos()] INNER JOIN [Librados( Datos )] ON [Documentos()].Id_librado = "
                         "[Librados( Datos )].Id_librado WHERE [Documentos()].Id_documento=%d;",
                         id),
              [&](char *fila, char *, int) {
                  titular = NullToEmpty(GetCampoTexto("Razon_social", fila));
                  referencia = NullToEmpty(GetCampoTexto("Codigo_referencia", fila));
              });
}

// The writes of one run, each statement prepared at its first use and kept for the run.
class Escritura {
public:
    explicit Escritura(TipoMasiva tipo) : m_tipo(tipo) {}

    // Writes one bill's new value; filas is 0 when another copy holds it now.
    std::string Escribe(const Recibo &r, int &filas)
    {
        switch (m_tipo) {
        case TipoMasiva::Importes: {
            SentenciaSQL &s = Sentencia(m_campo, "UPDATE OR FAIL [Documentos()] SET Importe = ?, Contravalor = ? "
                                                 "WHERE Id_documento = ? AND Block=0");
            return s.Texto(r.Nuevo).Texto(GetContravalor(r.Nuevo, r.Moneda)).Entero(r.Id).Ejecuta(filas);
        }
        case TipoMasiva::Conceptos:
            return Concepto(r, filas);
        case TipoMasiva::CodDevolucion:
        case TipoMasiva::RefInterna:
            return Campo(r, r.Nuevo, filas);
        case TipoMasiva::FechaVencimiento:
            if (!LeeFechaSQL(r.Nuevo).isValid())
                return "[ Modmasivas::ModificaDocumentos ] Fecha no v\xE1lida: '" + r.Nuevo + "'";
            return Campo(r, r.Nuevo, filas);
        }
        return {};
    }

private:
    SentenciaSQL &Sentencia(std::optional<SentenciaSQL> &sentencia, const std::string &sql)
    {
        if (!sentencia)
            sentencia.emplace(sql);
        return *sentencia;
    }

    // The guarded UPDATE of the run's column of one bill.
    std::string Campo(const Recibo &r, const std::string &valor, int &filas)
    {
        SentenciaSQL &s = Sentencia(m_campo, std::string("UPDATE OR FAIL [Documentos()] SET ") + Columna(m_tipo) +
                                                 " = ? WHERE Id_documento = ? AND Block=0");
        return s.Texto(valor).Entero(r.Id).Ejecuta(filas);
    }

    // A bill's concept rewritten, or a new concept row for a bill without one; a bill
    // another copy holds keeps its concept.
    std::string Concepto(const Recibo &r, int &filas)
    {
        const std::string concepto = ConceptoAlmacenado(r.Nuevo);
        const int idConcepto = Numero(r.Valor);
        if (idConcepto >= 1)
            return Sentencia(m_concepto, "UPDATE [Conceptos()] SET Concepto = ? WHERE Id_concepto = ? AND EXISTS "
                                         "(SELECT Id_documento FROM [Documentos()] WHERE Id_documento = ? AND Block=0)")
                .Texto(concepto)
                .Entero(idConcepto)
                .Entero(r.Id)
                .Ejecuta(filas);
        std::string error =
            Sentencia(m_altaConcepto, "INSERT INTO [Conceptos()] (Concepto) VALUES (?)").Texto(concepto).Ejecuta(filas);
        if (!error.empty())
            return error;
        const int nuevo = int(VASQ_GetLastInsertID());
        error = Sentencia(m_enlace, "UPDATE OR FAIL [Documentos()] SET Id_concepto = ? WHERE Id_documento = ? AND Block=0")
                    .Entero(nuevo)
                    .Entero(r.Id)
                    .Ejecuta(filas);
        if (error.empty() && filas == 0) {
            int borradas = 0;
            error = Sentencia(m_bajaConcepto, "DELETE FROM [Conceptos()] WHERE Id_concepto = ?")
                        .Entero(nuevo)
                        .Ejecuta(borradas);
        }
        return error;
    }

    TipoMasiva m_tipo;
    std::optional<SentenciaSQL> m_campo, m_concepto, m_altaConcepto, m_enlace, m_bajaConcepto;
};

} // namespace

int LeeOperacionImporte(std::string_view texto, std::string_view moneda, OperacionImporte &op)
{
    size_t i = 0;
    const auto blancos = [&] {
        while (i < texto.size() && texto[i] == ' ')
            ++i;
    };
    blancos();
    const int modo = i < texto.size() && texto[i] == '+' ? 1 : i < texto.size() && texto[i] == '-' ? -1 : 0;
    if (modo != 0) {
        ++i;
        blancos();
    }
    const size_t inicio = i;
    while (i < texto.size() && (Digito(texto[i]) || texto[i] == '.' || texto[i] == ','))
        ++i;
    const std::string_view numero = texto.substr(inicio, i - inicio);
    blancos();
    const bool porcentaje = i < texto.size() && texto[i] == '%';
    if (porcentaje) {
        ++i;
        blancos();
    }
    if (numero.empty() || i != texto.size())
        return 313;
    // A percentage takes two decimals, as a euro amount.
    const ImporteTecleado leido = LeeImporteTecleado(numero, porcentaje ? kMonedaEuros : moneda);
    if (leido.Rechazo != 0)
        return leido.Rechazo;
    op = {modo, leido.SQL, porcentaje};
    return 0;
}

bool FormatoFechaValido(std::string_view texto)
{
    return LeeFechaTecleada(texto).isValid();
}

ImporteNuevo CalculaNuevoImporte(const OperacionImporte &operacion, std::string_view actual, std::string_view moneda)
{
    const int decimales = Decimales(moneda);
    const Entero viejo = Unidades(actual, decimales);
    Entero delta = 0;
    if (operacion.Porcentaje)
        delta = DivideRedondeando(viejo * Unidades(operacion.Numero, kDecimalesPorcentaje), Entero(100000000));
    else
        delta = Unidades(operacion.Numero, decimales);
    const Entero nuevo = operacion.Modo > 0 ? viejo + delta : operacion.Modo < 0 ? viejo - delta : delta;
    if (nuevo <= 0)
        return {{}, 424};
    if (moneda == kMonedaPesetas && nuevo > kMaxPesetas)
        return {{}, 425};
    if (moneda == kMonedaEuros && nuevo > kMaxCentimos)
        return {{}, 426};
    if (nuevo > kFueraDeLimite)
        return {{}, 426};
    return {TextoImporte(static_cast<long long>(nuevo), decimales), 0};
}

std::string AplicaSegmentos(std::string_view concepto, const SegmentosConcepto &segmentos)
{
    std::string r(concepto == "NULL" ? std::string_view() : concepto.substr(0, kLargoConcepto));
    r.resize(kLargoConcepto, ' ');
    for (int k = 0; k < kSegmentosConcepto; ++k) {
        std::string segmento = segmentos[size_t(k)].substr(0, kLargoSegmento);
        if (segmento.empty())
            continue;
        segmento.resize(kLargoSegmento, ' ');
        r.replace(size_t(k * kLargoSegmento), kLargoSegmento, segmento);
    }
    return r;
}

ModificacionMasiva::ModificacionMasiva(const std::vector<std::string> &ids, Modificacion modificacion)
    : m_modificacion(std::move(modificacion))
{
    m_error = LeeRecibos(ids, m_modificacion.Tipo, m_recibos);
    for (Recibo &r : m_recibos) {
        if (!m_error.empty() || m_rechazo != 0)
            break;
        if (r.Retenido)
            ++m_retenidos;
        else if ((m_rechazo = Calcula(m_modificacion, r)) != 0)
            LeeLibrado(r.Id, m_titular, m_referencia);
    }
}

ModificacionMasiva::~ModificacionMasiva() = default;

ResultadoMasiva ModificacionMasiva::Escribe(const ProgresoMasiva &progreso)
{
    ResultadoMasiva resultado;
    resultado.Error = m_error;
    resultado.Rechazo = m_rechazo;
    resultado.Titular = m_titular;
    resultado.Referencia = m_referencia;
    resultado.Retenidos = m_retenidos;
    if (!resultado.Escrita())
        return resultado;
    const bool revalida = Revalida(m_modificacion.Tipo);
    Transaccion transaccion("Modmasivas::ModificaDocumentos");
    if (!transaccion.Abierta()) {
        resultado.Error = "[ Modmasivas::ModificaDocumentos ] sin transacci\xF3n";
        return resultado;
    }
    const auto fallo = [](std::string error) {
        ResultadoMasiva r;
        r.Error = std::move(error);
        return r;
    };
    std::map<int, std::string> remesas;
    std::vector<std::string> valores;
    Escritura escritura(m_modificacion.Tipo);
    for (size_t i = 0; i < m_recibos.size(); ++i) {
        const Recibo &r = m_recibos[i];
        int filas = 1;
        if (!r.Retenido && r.Cambia)
            if (std::string error = escritura.Escribe(r, filas); !error.empty())
                return fallo(std::move(error));
        if (!r.Retenido && filas == 0)
            ++resultado.Retenidos;
        else if (!r.Retenido && r.Cambia)
            ++resultado.Cambiados;
        if (revalida && !r.Retenido && filas > 0) {
            if (r.Erroneo)
                ValidaDocumento(r.Id);
            valores.push_back(r.Nuevo);
            remesas.emplace(r.IdRemesa, r.Moneda);
        }
        const size_t hechos = i + 1;
        if (progreso && (hechos % kPasoProgreso == 0 || hechos == m_recibos.size())
            && !progreso(hechos, m_recibos.size())) {
            ResultadoMasiva detenida;
            detenida.Detenida = true;
            return detenida;
        }
    }
    for (const auto &[remesa, moneda] : remesas)
        if (std::string error = ActualizaTotalesRemesa(std::to_string(remesa), moneda); !error.empty())
            return fallo(std::move(error));
    if (!transaccion.Confirma())
        return fallo("[ Modmasivas::ModificaDocumentos ] no se pudo confirmar");
    resultado.Valores = std::move(valores);
    return resultado;
}

ResultadoMasiva ModificaDocumentos(const std::vector<std::string> &ids, const Modificacion &modificacion,
                                   const ConfirmaRetenidos &confirma, const ProgresoMasiva &progreso)
{
    ModificacionMasiva masiva(ids, modificacion);
    if (masiva.ErrorLectura().empty() && masiva.Rechazo() == 0 && masiva.Retenidos() > 0
        && !(confirma && confirma(masiva.Retenidos()))) {
        ResultadoMasiva declinada;
        declinada.Retenidos = masiva.Retenidos();
        declinada.Declinada = true;
        return declinada;
    }
    return masiva.Escribe(progreso);
}
