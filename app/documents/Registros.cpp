// The batch and bill records of the editors, read from the database, and the bill states.
#include "Registros.h"

#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "vasqdb.h"

#include <utility>

namespace {

// A key written into SQL: its leading number, so that no other text reaches the statement
// (a text that is no key reads 0, which no row has).
std::string Clave(std::string_view id)
{
    return std::to_string(Numero(id));
}

constexpr const char *kConsultaRemesa =
    "SELECT [Remesas()].Id_remesa, [Remesas()].Id_moneda, [Remesas()].Con_emision,  [Remesas()].Descripcion, "
    "[Remesas()].Id_plantilla FROM [Remesas()]  WHERE [Remesas()].Id_remesa=%s;";

// The bill with its drawee and batch, and its concept when it has one.
constexpr const char *kConsultaDocumento =
    "SELECT [Librados( Datos )].Id_librado, [Librados( Datos )].Razon_social, [Librados( Datos )].Cuenta, "
    "[Librados( Datos )].Loc_ordenante, [Librados( Datos )].Cod_provincia_ordenante, "
    "[Documentos()].F_formalizacion, [Librados( Datos )].Titular_cuenta, [Librados( Datos )].Direccion, "
    "[Librados( Datos )].CP, [Librados( Datos )].Localidad, [Librados( Datos )].Provincia, "
    "[Documentos()].Importe, [Documentos()].Contravalor, [Documentos()].Cod_devolucion, "
    "[Documentos()].Ref_interna, [Documentos()].F_vencimiento,[Librados( Datos )].Codigo_referencia, "
    "[Remesas()].Id_plantilla, [Remesas()].Id_moneda, [Remesas()].Con_emision, [Conceptos()].Concepto, "
    "[Documentos()].Primer_concepto, [Documentos()].Id_concepto, [Documentos()].F_proceso FROM ([Documentos()] INNER JOIN "
    "[Librados( Datos )] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado INNER JOIN [Remesas()] "
    "ON [Remesas()].Id_remesa = [Documentos()].Id_remesa) LEFT JOIN [Conceptos()] ON [Conceptos()].Id_concepto "
    "= [Documentos()].Id_concepto WHERE ((([Documentos()].Id_documento)=%s));";

} // namespace

STRRemesa CargaRemesa(std::string_view idRemesa)
{
    STRRemesa r;
    DBGetData(FormateaTexto(kConsultaRemesa, Clave(idRemesa)), [&r](char *fila, char *, int) {
        r = STRRemesa();
        r.Modo = RegistroModificar;
        r.Id_remesa = GetCampoTexto("Id_remesa", fila);
        r.Id_moneda = GetCampoTexto("Id_moneda", fila);
        r.Id_plantilla = GetCampoTexto("Id_plantilla", fila);
        r.Con_emision = GetCampoTexto("Con_emision", fila);
        r.Descripcion = GetCampoTexto("Descripcion", fila);
    });
    return r;
}

STRDocumento CargaDocumento(std::string_view idDocumento)
{
    STRDocumento d;
    DBGetData(FormateaTexto(kConsultaDocumento, Clave(idDocumento)), [&d](char *fila, char *, int) {
        auto campo = [fila](const char *nombre) { return GetCampoTexto(nombre, fila); };
        d = STRDocumento();
        d.Modo = RegistroModificar;
        d.Id_librado = campo("Id_librado");
        d.Razon_social = campo("Razon_social");
        d.Cuenta = campo("Cuenta");
        d.Titular_cuenta = campo("Titular_cuenta");
        d.Direccion = campo("Direccion");
        d.CP = campo("CP");
        d.Localidad = campo("Localidad");
        d.Provincia = campo("Provincia");
        d.Codigo_referencia = campo("Codigo_referencia");
        d.Importe = campo("Importe");
        d.Contravalor = campo("Contravalor");
        d.Cod_devolucion = campo("Cod_devolucion");
        d.Ref_interna = campo("Ref_interna");
        d.Id_concepto = campo("Id_concepto");
        d.F_vencimiento = LeeFechaFila(campo("F_vencimiento"));
        d.Loc_ordenante = campo("Loc_ordenante");
        d.Cod_provincia_ordenante = campo("Cod_provincia_ordenante");
        d.F_formalizacion = LeeFechaFila(campo("F_formalizacion"));
        d.Id_moneda = campo("Id_moneda");
        d.Id_plantilla = campo("Id_plantilla");
        d.Con_emision = campo("Con_emision");
        d.Primer_concepto = campo("Primer_concepto");
        d.Concepto = ConceptoCompleto(campo("Concepto"));
        d.F_proceso = campo("F_proceso");
    });
    return d;
}

EstadoRecibo GetEstadoRecibo(std::string_view activo, std::string_view situacion)
{
    if (situacion == "1")
        return ReciboErroneo;
    return activo == "TRUE" ? ReciboActivo : ReciboDesactivado;
}

std::string TextoEstadoRecibo(EstadoRecibo estado)
{
    switch (estado) {
    case ReciboActivo: return "TRUE";
    case ReciboDesactivado: return "FALSE";
    case ReciboErroneo: return "Err";
    }
    return {};
}

std::string DBInsertSQL(std::string_view sql, int &clave)
{
    int filas = 0;
    const std::string error = DBExecSQL(sql, filas);
    clave = error.empty() && filas == 1 ? static_cast<int>(VASQ_GetLastInsertID()) : 0;
    return error;
}

Transaccion::Transaccion(std::string etiqueta)
    : m_etiqueta(std::move(etiqueta)), m_abierta(VASQ_BeginTrans() == 0)
{
    if (!m_abierta)
        Registra();
}

Transaccion::~Transaccion()
{
    if (m_abierta)
        VASQ_Rollback();
}

bool Transaccion::Confirma()
{
    if (!m_abierta)
        return false;
    m_abierta = false;
    if (VASQ_CommitTrans() == 0)
        return true;
    Registra();
    VASQ_Rollback();
    return false;
}

void Transaccion::Registra() const
{
    char texto[1024] = "";
    VASQ_GetLastErrorCodeDesc(texto, sizeof texto);
    WriteLog("[ " + m_etiqueta + " ] " + texto);
}
