// The bill editor's accept: cleaning, validation and storage.
#include "Guardadocumento.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "General.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "Totalesremesa.h"
#include "vasqdb.h"

namespace {

constexpr int kLineasMemo = 8;
constexpr size_t kAnchoLinea = 80;
constexpr size_t kPrimerConcepto = 40;

constexpr const char *kModificaLarga =
    "UPDATE OR FAIL [Documentos()] SET [Situacion]=0,Activo=true,[Documentos()].Importe = '%s', [Documentos()].Contravalor "
    "= '%s',  [Documentos()].Cod_devolucion = '%s', [Documentos()].Ref_interna = '%s', [Documentos()].Id_concepto = "
    "%s,  [Documentos()].F_formalizacion = '%s', [Documentos()].F_vencimiento = '%s', [Documentos()].Id_librado = "
    "%d,  [Documentos()].Primer_concepto = '%s' WHERE [Documentos()].Id_documento = %d AND Block<1;";
constexpr const char *kModificaCorta =
    "UPDATE OR FAIL [Documentos()] SET [Situacion]=0,Activo=true,[Documentos()].Importe = '%s', [Documentos()].Contravalor "
    "= '%s',  [Documentos()].Cod_devolucion = '%s', [Documentos()].Ref_interna = '%s', "
    "[Documentos()].Primer_concepto = '%s',  [Documentos()].F_formalizacion = '%s', [Documentos()].F_vencimiento = "
    "'%s', [Documentos()].Id_librado = %d WHERE [Documentos()].Id_documento = %d AND Block<1;";

// Texts of this unit.
constexpr int kTextoAltaRechazada = 822;
constexpr int kTextoLibradoNoGuardado = 823;
constexpr int kTextoEnviadoMientras = 942;
constexpr int kTextoVencido = 829;

void LogTipoDesconocido(const char *funcion)
{
    WriteLog(std::string("[ TFormEditDocumentos::") + funcion + " ] Tipo de Orden desconocida (no CSB19 o CSB58)");
}

bool EnBlanco(std::string_view texto)
{
    return Recorta(texto).empty();
}

// A postcode the bill accepts: at least 5 characters whose first two digits are 01 to 52.
bool CPAceptable(std::string_view cp)
{
    if (EnBlanco(cp) || cp.size() < 5 || !EsDigito(cp[0]) || !EsDigito(cp[1]))
        return false;
    const int provincia = (cp[0] - '0') * 10 + (cp[1] - '0');
    return provincia >= 1 && provincia <= 52;
}

std::string Fecha(const QDate &fecha)
{
    return fecha.isValid() ? FechaSQL(fecha) : std::string();
}

bool ConEmision(const DestinoRecibo &d)
{
    return d.Con_emision == "TRUE";
}

_multiuser *Coordinacion()
{
    return App().Multiuser;
}

// What the transaction did, for the messages and notices after it.
struct Escritura {
    ResultadoLibrado Librado = ResultadoLibrado::Fallido;
    int IdLibrado = 0;
    int IdConcepto = 0;
    int IdDocumento = 0;
    int Mensaje = 0; // the text that refuses the save
};

// The drawee: found by its code within the user's organisation, rewritten, or inserted
// under the batch's issuer. A CSB19 holder left blank is the drawee's name.
bool TrataLibrado(const STRRecibo &r, const DestinoRecibo &d, Escritura &e)
{
    STRLibrado l = r.Librado;
    if (d.TipoOrden == 1 && EnBlanco(l.Titular_cuenta))
        l.Titular_cuenta = l.Razon_social;
    e.IdLibrado = BuscaLibrado(d.IdUsuario, d.TipoOrden, l.Codigo_referencia);
    e.Librado = GuardaLibrado(d.TipoOrden, d.IdEmisor, e.IdLibrado, l);
    if (e.Librado == ResultadoLibrado::Fallido) {
        e.Mensaje = kTextoLibradoNoGuardado;
        return false;
    }
    return true;
}

// The concept row of a batch with issue: rewritten when the bill has one, else inserted.
bool GuardaConcepto(const STRRecibo &r, const DestinoRecibo &d, Escritura &e)
{
    if (!ConEmision(d))
        return true;
    const std::string concepto = ConceptoAlmacenado(ConceptoMemo(r.Memo));
    int filas = 0;
    e.IdConcepto = Numero(d.Id_concepto);
    if (e.IdConcepto > 0) {
        const std::string sql = FormateaTexto(
            "UPDATE [Conceptos()] SET [Conceptos()].Concepto='%s' WHERE [Conceptos()].Id_concepto=%d;",
            DoblaComillas(concepto), e.IdConcepto);
        if (!DBExecSQL(sql, filas).empty())
            return false;
        if (filas > 0)
            return true;
    }
    return DBInsertSQL(FormateaTexto("INSERT INTO [Conceptos()] (Concepto) VALUES ('%s');", DoblaComillas(concepto)),
                       e.IdConcepto)
               .empty()
           && e.IdConcepto > 0;
}

// The first concept stored: the memo's first 40 characters when the bill has a memo.
std::string PrimerConcepto(const STRRecibo &r, const DestinoRecibo &d)
{
    if (d.TipoOrden == 2 || ConEmision(d))
        return (r.Memo.empty() ? std::string() : r.Memo.front()).substr(0, kPrimerConcepto);
    return r.Concepto.substr(0, kPrimerConcepto);
}

// Whether the bill being modified still has the processing date the editor read: one that
// went out in a send file meanwhile is not written over. Read inside the save's transaction,
// which already holds the write lock.
bool SinEnviarMientras(const DestinoRecibo &d, Escritura &e)
{
    std::string proceso = d.F_proceso;
    DBGetData(FormateaTexto("SELECT [Documentos()].F_proceso FROM [Documentos()] WHERE [Documentos()].Id_documento=%d;",
                            d.IdDocumento),
              [&proceso](char *fila, char *, int) { proceso = GetCampoTexto("F_proceso", fila); });
    if (proceso == d.F_proceso)
        return true;
    e.Mensaje = kTextoEnviadoMientras;
    return false;
}

// The bill's INSERT or guarded UPDATE.
bool GuardaRecibo(const STRRecibo &r, const DestinoRecibo &d, Escritura &e)
{
    std::string importe;
    int mensaje = 0;
    if (!ImporteParaGuardar(r.Importe, d.Id_moneda, importe, mensaje))
        return false;
    const std::string contravalor = GetContravalorSinFormato(importe, d.Id_moneda);
    const std::string concepto = e.IdConcepto > 0 ? std::to_string(e.IdConcepto) : "NULL";
    const std::string &primero = r.Concepto;
    const bool csb58 = d.TipoOrden == 2;
    const std::string formalizacion = csb58 ? Fecha(r.Formalizacion) : std::string();
    const std::string vencimiento = csb58 ? Fecha(r.Vencimiento) : std::string();
    const bool larga = csb58 || ConEmision(d);
    if (d.Modo != RegistroModificar) {
        e.IdDocumento = InsertaDocumento({d.IdRemesa, e.IdLibrado, e.IdConcepto, importe, contravalor, r.CodDevolucion,
                                          r.RefInterna, primero, csb58 ? r.Formalizacion : QDate(),
                                          csb58 ? r.Vencimiento : QDate(), larga});
        return e.IdDocumento > 0;
    }
    const std::string sql =
        larga ? FormateaTexto(kModificaLarga, importe, contravalor, DoblaComillas(r.CodDevolucion),
                              DoblaComillas(r.RefInterna), concepto, formalizacion, vencimiento, e.IdLibrado,
                              DoblaComillas(primero), d.IdDocumento)
              : FormateaTexto(kModificaCorta, importe, contravalor, DoblaComillas(r.CodDevolucion),
                              DoblaComillas(r.RefInterna), DoblaComillas(primero), formalizacion, vencimiento,
                              e.IdLibrado, d.IdDocumento);
    if (!SinEnviarMientras(d, e))
        return false;
    int filas = 0;
    if (!DBExecSQL(sql, filas).empty() || filas < 1)
        return false;
    e.IdDocumento = d.IdDocumento;
    return true;
}

// Everything of the save in one transaction; false after the rollback.
bool Escribe(const STRRecibo &r, const DestinoRecibo &d, Escritura &e)
{
    if (VASQ_BeginTrans() != 0)
        return false;
    const bool escrito = TrataLibrado(r, d, e) && GuardaConcepto(r, d, e) && GuardaRecibo(r, d, e)
                         && ActualizaTotalesRemesa(std::to_string(d.IdRemesa), d.Id_moneda).empty()
                         && VASQ_CommitTrans() == 0;
    if (!escrito) {
        VASQ_Rollback();
        VASQ_GetLastErrorCodeID(); // the failure is in the product log
    }
    return escrito;
}

void Notifica(int nivel, int id)
{
    if (_multiuser *m = Coordinacion())
        m->NotificaActualizacion(nivel, id);
}

} // namespace

// A bill without concept and dates (CSB19 without issue) leaves them NULL.
AltaDocumentos::AltaDocumentos()
    : m_sentencia("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Cod_devolucion,Ref_interna,"
                  "Id_concepto,F_formalizacion,F_vencimiento,Primer_concepto,Activo,Situacion,Block) VALUES "
                  "(?,?,?,?,?,?,?,?,?,?,?,?,0);")
{
}

int AltaDocumentos::Inserta(const FilaDocumento &f)
{
    m_sentencia.Entero(f.IdRemesa).Entero(f.IdLibrado).Texto(f.Importe).Texto(f.Contravalor);
    m_sentencia.Texto(f.CodDevolucion).Texto(f.RefInterna);
    if (f.Larga && f.IdConcepto > 0)
        m_sentencia.Entero(f.IdConcepto);
    else
        m_sentencia.Nulo();
    m_sentencia.Texto(f.Larga ? Fecha(f.Formalizacion) : std::string());
    m_sentencia.Texto(f.Larga ? Fecha(f.Vencimiento) : std::string());
    m_sentencia.Texto(f.PrimerConcepto).Entero(f.Activo ? 1 : 0).Entero(f.Situacion);
    int filas = 0;
    return m_sentencia.Ejecuta(filas).empty() && filas == 1 ? int(VASQ_GetLastInsertID()) : 0;
}

int InsertaDocumento(const FilaDocumento &f)
{
    return AltaDocumentos().Inserta(f);
}

void LimpiaCampos(STRRecibo &r)
{
    STRLibrado &l = r.Librado;
    for (std::string *texto : {&l.Codigo_referencia, &l.Razon_social, &l.Titular_cuenta, &l.Direccion, &l.Localidad,
                               &l.Provincia, &l.Loc_ordenante, &r.Concepto, &r.CodDevolucion, &r.RefInterna})
        *texto = LimpiaTexto(*texto);
    for (size_t i = 0; i < r.Memo.size() && i < size_t(kLineasMemo); ++i)
        r.Memo[i] = LimpiaTexto(r.Memo[i]);
}

bool ImporteParaGuardar(std::string_view tecleado, std::string_view moneda, std::string &sql, int &mensaje)
{
    const ImporteTecleado importe = LeeImporteTecleado(tecleado, moneda);
    const bool cero = importe.SQL.find_first_of("123456789") == std::string::npos;
    if (importe.Rechazo != 0 || cero) {
        mensaje = importe.Rechazo != 0 ? importe.Rechazo : 203;
        return false;
    }
    sql = importe.SQL;
    return true;
}

bool ValidateData(STRRecibo &r, const DestinoRecibo &d)
{
    r.Rechazo = CampoRechazado::Ninguno;
    STRLibrado &l = r.Librado;
    std::string faltan;
    auto anade = [&faltan](const std::string &campo, int texto) {
        if (EnBlanco(campo))
            faltan += ", '" + Idioma.GetTexto(texto) + "'";
    };
    auto anadeTal = [&faltan](const std::string &campo, int texto) {
        if (EnBlanco(campo))
            faltan += Idioma.GetTexto(texto);
    };
    if (EnBlanco(r.Importe)) {
        faltan += " ,'" + Idioma.GetTexto(344) + "'";
    } else {
        std::string sql;
        int mensaje = 0;
        if (!ImporteParaGuardar(r.Importe, d.Id_moneda, sql, mensaje)) {
            AvisoTexto(mensaje, 1, IconoMensaje::Error);
            r.Rechazo = CampoRechazado::Importe;
            return false;
        }
    }
    if (l.Banco == kEntidadPropia && !ValidaCuentaBanco(l.Cuenta))
        return false;
    if (d.TipoOrden == 1) {
        anadeTal(l.Codigo_referencia, 125);
        anade(l.Razon_social, 126);
        anade(l.Banco, 30);
        anadeTal(l.Oficina, 127);
        anadeTal(l.Cuenta, 128);
        if (!EnBlanco(l.Titular_cuenta) && l.Titular_cuenta != l.Razon_social) {
            anade(l.Direccion, 26);
            if (!CPAceptable(l.CP))
                faltan += ", '" + Idioma.GetTexto(27) + "'";
            anade(l.Localidad, 28);
            anade(l.Provincia, 29);
        } else if (!EnBlanco(l.CP) && !CPAceptable(l.CP)) {
            faltan += ", '" + Idioma.GetTexto(27) + "'";
        }
    } else if (d.TipoOrden == 2) {
        if (EnBlanco(l.Codigo_referencia))
            faltan += " ,'" + Idioma.GetTexto(56) + "'";
        anade(l.Razon_social, 129);
        if (!r.Vencimiento.isValid())
            faltan += ", '" + Idioma.GetTexto(60) + "'";
        const std::string cuenta = l.CuentaCompleta();
        if (EnBlanco(cuenta) || cuenta == kCuentaCeros) {
            if (EnBlanco(cuenta))
                l.PonCuenta(kCuentaCeros);
            anade(l.Localidad, 131);
            anade(l.Direccion, 132);
            anade(l.CP, 133);
            anade(l.Loc_ordenante, 134);
            anade(l.Cod_provincia_ordenante, 135);
            if (!r.Formalizacion.isValid())
                r.Formalizacion = QDate::currentDate();
        } else {
            anade(l.Banco, 30);
            anadeTal(l.Oficina, 127);
            anadeTal(l.Cuenta, 128);
        }
    } else {
        LogTipoDesconocido("ValidateData");
    }
    if (!faltan.empty()) {
        CajaMensaje(Idioma.GetTexto(139) + faltan, Idioma.GetTexto(140), IconoMensaje::Informacion);
        return false;
    }
    if (EnBlanco(l.DC) && !EnBlanco(l.Banco) && !EnBlanco(l.Oficina) && !EnBlanco(l.Cuenta))
        l.DC = CalcDigitosControl(l.Banco, l.Oficina, l.Cuenta);
    if (!CompruebaDigitosControl(r, d.TipoOrden)) {
        r.Rechazo = CampoRechazado::DigitosControl;
        return false;
    }
    if (d.TipoOrden == 2 && !VencimientoAceptado(r.Vencimiento)) {
        r.Rechazo = CampoRechazado::Vencimiento;
        return false;
    }
    return true;
}

bool CompruebaDigitosControl(const STRRecibo &r, int tipoOrden)
{
    const STRLibrado &l = r.Librado;
    if (tipoOrden != 1 && tipoOrden != 2) {
        LogTipoDesconocido("ValidateData");
        return true;
    }
    const std::string cuenta = l.CuentaCompleta();
    return (tipoOrden == 2 && (EnBlanco(cuenta) || cuenta == kCuentaCeros)) || !RechazaDigitos(l);
}

bool VencimientoAceptado(const QDate &vencimiento)
{
    if (vencimiento > QDate::currentDate())
        return true;
    return CajaMensaje(FormateaTexto(Idioma.GetTexto(kTextoVencido), FechaUsuario(vencimiento)), Idioma.GetTexto(6),
                       IconoMensaje::Pregunta, BotonesMensaje::SiNoPorDefectoNo)
           == RespuestaSi;
}

std::string ConceptoMemo(const std::vector<std::string> &memo)
{
    std::string concepto;
    for (int i = 0; i < kLineasMemo; ++i) {
        std::string linea = size_t(i) < memo.size() ? memo[size_t(i)] : std::string();
        QuitaCaracter(linea, '\n');
        linea.resize(kAnchoLinea, ' ');
        concepto += linea;
    }
    return EnBlanco(concepto) ? "." : concepto;
}

EstadoGuarda GuardaDocumento(STRRecibo &r, const DestinoRecibo &d, int &idDocumento)
{
    LimpiaCampos(r);
    if (!ValidateData(r, d))
        return EstadoGuarda::Rechazado;
    if (d.TipoOrden != 1 && d.TipoOrden != 2) {
        LogTipoDesconocido("UpdateCurrentRecordALTA");
        return EstadoGuarda::Rechazado;
    }
    r.Concepto = PrimerConcepto(r, d);
    _multiuser *multiuser = Coordinacion();
    const bool modifica = d.Modo == RegistroModificar;
    // Locks run outside the transaction: the bill's goes before its guarded UPDATE.
    if (modifica && multiuser)
        multiuser->DesbloqueaDocumento(d.IdDocumento);
    Escritura e;
    if (!Escribe(r, d, e)) {
        const bool bloqueado = !modifica || !multiuser || multiuser->BloqueaDocumento(d.IdDocumento, false);
        const int mensaje = e.Mensaje ? e.Mensaje : modifica ? 642 : kTextoAltaRechazada;
        AvisoTexto(mensaje, 6, IconoMensaje::Informacion);
        return bloqueado ? EstadoGuarda::Fallido : EstadoGuarda::Perdido;
    }
    idDocumento = e.IdDocumento;
    if (e.Librado == ResultadoLibrado::Insertado || e.Librado == ResultadoLibrado::Actualizado)
        Notifica(NIVEL_LIBRADOS, d.TipoOrden - 1);
    Notifica(NIVEL_DOCUMENTOS, d.IdRemesa);
    if (d.IdEmisor > 0)
        Notifica(NIVEL_REMESAS, d.IdEmisor);
    if (e.Librado == ResultadoLibrado::Bloqueado && !CoincideLibrado(d.TipoOrden, e.IdLibrado, r.Librado))
        AvisoTexto(650, 6, IconoMensaje::Error);
    return EstadoGuarda::Guardado;
}
