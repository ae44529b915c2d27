// The bill side of the CSB import: a bill's records gathered into the pending bill and
// drawee, checked, and written with its concept and drawee when the next bill starts or the
// issuer totals arrive.
#include "Importacion.h"

#include "Cfgfile.h"
#include "Generacsb.h"
#include "General.h"
#include "Guardadocumento.h"
#include "Librados.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "cp1252.h"
#include "vasqdb.h"

namespace {

enum {
    kAbono = 287,
    kFormato = 288,
    kLibradoDuplicado = 291,
    kImporteErroneo = 292,
    kFormalizacion = 146,
    kCPDeudor = 133,
    kRazon = 601,
    kReferencia = 602,
    kDomicilioTitular = 603,
    kCPTitular = 604,
    kCuentaInexistente = 606,
    kDomicilioDeudor = 607,
    kPlazaDeudor = 609,
    kProvinciaOrdenante = 610,
    kCuentaIncorrecta = 612,
    kVencimiento = 613,
    kErrorLinea = 619,
    kLocalidadTitular = 624,
    kCPInexistente = 627,
    kImporteCero = 631,
    kImporte = 344,
    kIncorrecto = 44,
    kAltaRecibo = 822,
    kLibradoNoGuardado = 823,
    kReferenciaAmbigua = 794,
};

constexpr size_t kPrimerConcepto = 40;
constexpr size_t kHueco = 120;
constexpr const char *kCeros = "00000000000000000000";
constexpr const char *kNueves = "99999999999999999999";

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

bool SoloDigitos(std::string_view texto)
{
    if (texto.empty())
        return false;
    for (char c : texto)
        if (!EsDigito(c))
            return false;
    return true;
}

// A "ddmmyy" date (years 00-69 are 20yy); invalid when it is no date.
QDate FechaDDMMAA(std::string_view texto)
{
    if (texto.size() != 6 || !SoloDigitos(texto))
        return {};
    auto dos = [texto](size_t i) { return (texto[i] - '0') * 10 + (texto[i + 1] - '0'); };
    const int aa = dos(4);
    return QDate(aa < 70 ? 2000 + aa : 1900 + aa, dos(2), dos(0));
}

// Sets a pending text unless it is set already; false for a duplicate.
bool Pon(std::string &pendiente, const std::string &texto)
{
    if (!pendiente.empty())
        return false;
    pendiente = texto;
    return true;
}

// Copies the text into the page at desde, cut or blank-padded to largo.
void PonEnPagina(std::string &pagina, size_t desde, size_t largo, std::string_view texto)
{
    std::string trozo(texto.substr(0, largo));
    trozo.resize(largo, ' ');
    pagina.replace(desde, largo, trozo);
}

} // namespace

// ---- Reading a bill's records ----

void ImportacionCSB::LeeRegistroIndividual(const FieldDef &campo, const std::string &texto)
{
    if (Contiene(campo, "Codigo_referencia")) {
        P_IMPORTACION_AddReciboABD();
        if (m_fallo)
            return;
        LimpiaReciboPendiente();
        m_lineaRecibo = m_linea;
        m_librado.Codigo_referencia = texto;
    }
    if (Contiene(campo, "[Librados( Datos )].Razon_social") && !Pon(m_librado.Razon_social, texto))
        Duplicado(kLibradoDuplicado);
    if (Contiene(campo, "Cuenta")) {
        if (m_librado.Cuenta.empty())
            ReglaCuenta(texto);
        else
            Duplicado(kAbono);
    }
    if (Contiene(campo, "Importe") && !Pon(m_recibo.Importe, texto))
        Duplicado(kImporteErroneo);
    if (Contiene(campo, "Cod_devolucion") && !Pon(m_recibo.Cod_devolucion, texto))
        Duplicado(kFormato);
    if (Contiene(campo, "Ref_interna") && !Pon(m_recibo.Ref_interna, texto))
        Duplicado(kFormato);
    if (Contiene(campo, "Primer_concepto")) {
        if (Pon(m_recibo.Primer_concepto, texto)) {
            m_recibo.Concepto = texto;
            PonEnPagina(m_pagina, 0, kPrimerConcepto, texto);
        } else {
            Duplicado(kFormato);
        }
    }
    if (Contiene(campo, "F_vencimiento")) {
        if (m_recibo.F_vencimiento.isValid())
            Duplicado(kFormato);
        else
            ReglaVencimiento(texto);
    }
}

void ImportacionCSB::LeeRegistroOpcional(const FieldDef &campo, const std::string &texto)
{
    if (Contiene(campo, "[Conceptos()].Concepto"))
        m_recibo.Concepto += texto;
    static const char *const kPartes[] = {"Concepto1", "Concepto2", "Concepto3", "Concepto4", "Concepto5"};
    for (size_t n = 0; n < std::size(kPartes); ++n)
        if (cp1252::equalNoCase(campo.name, kPartes[n]))
            PonEnPagina(m_pagina, kPrimerConcepto + kHueco * n, kHueco, texto);
    const std::pair<const char *, std::string *> claves[] = {{"Titular_cuenta", &m_librado.Titular_cuenta},
                                                             {"Direccion", &m_librado.Direccion},
                                                             {"Localidad", &m_librado.Localidad}};
    for (const auto &[clave, pendiente] : claves)
        if (Contiene(campo, clave) && !Pon(*pendiente, texto))
            Duplicado(kFormato);
    if (Contiene(campo, "CP")) {
        if (Pon(m_librado.CP, texto))
            ReglaCP();
        else
            Duplicado(kFormato);
    }
    if (Contiene(campo, "Provincia") && !Pon(m_librado.Provincia, Provincia(Recorta(texto))))
        Duplicado(kFormato);
    if (Contiene(campo, "F_formalizacion")) {
        if (m_recibo.F_formalizacion.isValid())
            Duplicado(kFormalizacion);
        else
            ReglaFormalizacion(texto);
    }
    if (Contiene(campo, "Plaza_ordenante") && !Pon(m_librado.Loc_ordenante, texto))
        Duplicado(kFormato);
    if (Contiene(campo, "Provincia_ordenante") && !Pon(m_librado.Cod_provincia_ordenante, texto))
        Duplicado(kFormato);
}

// The account as read, checked position by position; a wrong one, or one that the send file
// would refuse (wrong control digits; only a CSB58 credit may have none), is marked and
// reported.
void ImportacionCSB::ReglaCuenta(const std::string &texto)
{
    const bool blanca = Vacio(texto);
    std::string cuenta = blanca ? kCeros : texto.substr(0, 20);
    bool error = false;
    for (size_t i = 0; i < 20 && !blanca; ++i) {
        if (i < cuenta.size() && cuenta[i] == ' ') {
            cuenta[i] = '0';
            error = true;
        }
        const bool control = i == 8 || i == 9;
        if (i >= cuenta.size() || (!EsDigito(cuenta[i]) && (!control || cuenta[i] != '*'))) {
            cuenta = kNueves;
            error = true;
            break;
        }
    }
    if (cuenta.find('*') != std::string::npos) {
        const std::string control = cuenta.substr(8, 2);
        const std::string calculado = CalcDigitosControl(cuenta.substr(0, 4), cuenta.substr(4, 4), cuenta.substr(10));
        if (calculado != control) {
            cuenta.replace(8, 2, calculado);
            error = error || control != "**";
        }
    }
    m_librado.Cuenta = cuenta;
    if (error || !CuentaEnviable(cuenta, m_tipoOrden)) {
        m_librado.Error = true;
        AvisoImportacion(Texto(kCuentaIncorrecta));
        AvisoLinea(kErrorLinea, m_linea);
    }
}

void ImportacionCSB::ReglaVencimiento(const std::string &texto)
{
    m_recibo.F_vencimiento = FechaDDMMAA(texto);
    if (m_recibo.F_vencimiento.isValid())
        return;
    m_recibo.Invalido = true;
    AvisoImportacion(Texto(kVencimiento));
    AvisoLinea(kErrorLinea, m_linea);
}

void ImportacionCSB::ReglaCP()
{
    const std::string cp = Recorta(m_librado.CP);
    if (cp.empty() || (SoloDigitos(cp) && cp.size() >= 5))
        return;
    AvisoImportacion(Texto(m_tipoOrden == 1 ? kCPTitular : kCPDeudor));
    m_librado.Error = true;
    m_librado.CP = "00000";
    AvisoLinea(kErrorLinea, m_linea);
}

// A blank date of the credit stays empty; one that is no date is reported.
void ImportacionCSB::ReglaFormalizacion(const std::string &texto)
{
    if (Vacio(texto))
        return;
    m_recibo.F_formalizacion = FechaDDMMAA(texto);
    if (m_recibo.F_formalizacion.isValid())
        return;
    AvisoImportacion(Texto(kFormalizacion));
    AvisoLinea(kErrorLinea, m_linea);
}

// ---- Writing a bill ----

void ImportacionCSB::LimpiaReciboPendiente()
{
    Recibo recibo;
    recibo.Id_moneda = m_recibo.Id_moneda;
    recibo.Id_remesa = m_recibo.Id_remesa;
    m_recibo = recibo;
    Librado librado;
    librado.Id_emisor = m_librado.Id_emisor;
    m_librado = librado;
    m_pagina.assign(640, ' ');
}

bool ImportacionCSB::ConConcepto() const
{
    return m_remesa.Con_emision == "TRUE" || m_tipoOrden == 2;
}

bool ImportacionCSB::ReciboCompleto() const
{
    return !m_librado.Codigo_referencia.empty() && !m_librado.Razon_social.empty() && !m_recibo.Importe.empty() &&
           !m_recibo.Ref_interna.empty() && !m_librado.Id_emisor.empty() && !m_recibo.Id_remesa.empty();
}

void ImportacionCSB::P_IMPORTACION_AddReciboABD()
{
    if (ReciboCompleto()) {
        AltaConceptoCSB();
        if (!m_fallo)
            AltaLibradoCSB();
        if (!m_fallo)
            AltaDocumentoCSB();
        LimpiaReciboPendiente();
    }
    EnviaContadores();
}

// A bill of a CSB19 batch without issue keeps no concept: its row would name none.
void ImportacionCSB::AltaConceptoCSB()
{
    m_recibo.Id_concepto.clear();
    if (m_recibo.Concepto.empty() || !ConConcepto())
        return;
    CambiaCaracterLen(m_pagina, '\0', ' ');
    int filas = 0;
    const std::string error =
        m_sentencias->Concepto.Texto(LimpiaTexto(ConceptoAlmacenado(m_pagina))).Ejecuta(filas);
    if (ResultadoImportacion(error, filas))
        m_recibo.Id_concepto = std::to_string(VASQ_GetLastInsertID());
}

void ImportacionCSB::AltaLibradoCSB()
{
    Librado &l = m_librado;
    if (Vacio(l.Titular_cuenta))
        l.Titular_cuenta = l.Razon_social;
    if (Vacio(l.Provincia) && !Vacio(l.CP))
        l.Provincia = Provincia(Recorta(l.CP).substr(0, 2));
    m_recibo.Id_librado.clear();
    int hallado = 0;
    std::vector<std::string> iguales;
    if (!ResultadoImportacion(m_sentencias->Librados.BuscaEnFichero(
            Numero(l.Id_emisor), LimpiaTexto(Recorta(l.Codigo_referencia)), hallado, iguales)))
        return;
    // Not a guess between drawees the bank cannot tell apart: a drawee of the file's own.
    if (!iguales.empty()) {
        l.Error = true;
        AvisoImportacion(FormateaTexto(Texto(kReferenciaAmbigua), Recorta(l.Codigo_referencia), Citados(iguales)));
        AvisoLinea(kErrorLinea, m_lineaRecibo);
    }
    if (hallado > 0)
        m_recibo.Id_librado = std::to_string(hallado);
    CompruebaLibrado();
    if (!m_recibo.Id_librado.empty()) {
        ++Librados.Repetidos;
        // The stored drawee stays as it is: a bill that would go out on another account is erroneous.
        const std::string distinta = m_sentencias->Librados.CuentaDistinta(hallado, Recorta(l.Codigo_referencia),
                                                                            Recorta(l.Cuenta), m_tipoOrden);
        if (!distinta.empty()) {
            l.Error = true;
            AvisoImportacion(distinta);
            AvisoLinea(kErrorLinea, m_lineaRecibo);
        }
        return;
    }
    STRLibrado nuevo;
    nuevo.Codigo_referencia = Recorta(l.Codigo_referencia);
    nuevo.Razon_social = Recorta(l.Razon_social);
    nuevo.PonCuenta(Recorta(l.Cuenta));
    nuevo.Titular_cuenta = Recorta(l.Titular_cuenta);
    nuevo.Direccion = Recorta(l.Direccion);
    nuevo.CP = Recorta(l.CP);
    nuevo.Localidad = Recorta(l.Localidad);
    nuevo.Provincia = Recorta(l.Provincia);
    nuevo.Loc_ordenante = Recorta(l.Loc_ordenante);
    nuevo.Cod_provincia_ordenante = Recorta(l.Cod_provincia_ordenante);
    int id = 0;
    if (m_sentencias->Librados.Inserta(m_tipoOrden, Numero(l.Id_emisor), id, nuevo) != ResultadoLibrado::Insertado) {
        ++Librados.Erroneos;
        AvisoImportacion(Texto(kLibradoNoGuardado));
        AvisoLinea(kErrorLinea, m_lineaRecibo);
        Falla();
        return;
    }
    m_recibo.Id_librado = std::to_string(id);
    ++Librados.Importados;
}

// The drawee's required data, checked whether it was found or not: each missing one gets
// its placeholder and marks the bill.
void ImportacionCSB::CompruebaLibrado()
{
    Librado &l = m_librado;
    auto falta = [this](std::string &campo, const char *relleno, int texto) {
        campo = relleno;
        m_librado.Error = true;
        AvisoImportacion(Texto(texto));
        AvisoLinea(kErrorLinea, m_lineaRecibo);
    };
    if (Vacio(l.Razon_social))
        falta(l.Razon_social, "----", kRazon);
    if (Vacio(l.Codigo_referencia))
        falta(l.Codigo_referencia, "----", kReferencia);
    if (m_tipoOrden == 1 && !Vacio(l.Titular_cuenta) && Recorta(l.Titular_cuenta) != Recorta(l.Razon_social)) {
        if (Vacio(l.Direccion))
            falta(l.Direccion, "----", kDomicilioTitular);
        if (Vacio(l.CP))
            falta(l.CP, "00000", kCPInexistente);
        if (Vacio(l.Localidad))
            falta(l.Localidad, "----", kLocalidadTitular);
        if (Vacio(l.Cuenta))
            falta(l.Cuenta, kNueves, kCuentaInexistente);
    }
    if (m_tipoOrden == 2 && (Vacio(l.Cuenta) || Recorta(l.Cuenta) == kCeros)) {
        const std::string cp = Recorta(l.CP);
        if (Vacio(l.Direccion))
            falta(l.Direccion, "----", kDomicilioDeudor);
        if (cp.size() != 5 || !SoloDigitos(cp))
            falta(l.CP, "00000", kCPInexistente);
        if (Vacio(l.Localidad))
            falta(l.Localidad, "----", kPlazaDeudor);
        if (Vacio(l.Provincia))
            falta(l.Provincia, "----", kProvinciaOrdenante);
        if (Vacio(l.Cuenta))
            falta(l.Cuenta, kNueves, kCuentaInexistente);
    }
}

void ImportacionCSB::AltaDocumentoCSB()
{
    long long unidades = 0;
    const LecturaImporte lectura = LeeImporteSQL(Recorta(m_recibo.Importe), 0, unidades, true);
    if (lectura != LecturaImporte::Correcta || unidades == 0) {
        AvisoImportacion(lectura != LecturaImporte::Correcta
                             ? Texto(kImporte) + " " + m_recibo.Importe + " " + Texto(kIncorrecto)
                             : Texto(kImporteCero));
        AvisoLinea(kErrorLinea, m_lineaRecibo);
        unidades = 0;
        m_recibo.Invalido = true;
    }
    const bool euros = m_recibo.Id_moneda == kMonedaEuros;
    char importe[32];
    if (euros)
        std::snprintf(importe, sizeof importe, "%lld.%02lld", unidades / 100, unidades % 100);
    else
        std::snprintf(importe, sizeof importe, "%lld", unidades);
    FilaDocumento fila;
    fila.IdRemesa = Numero(m_recibo.Id_remesa);
    fila.IdLibrado = Numero(m_recibo.Id_librado);
    fila.IdConcepto = Numero(m_recibo.Id_concepto);
    fila.Importe = importe;
    fila.Contravalor = GetContravalor(importe, m_recibo.Id_moneda);
    fila.CodDevolucion = LimpiaTexto(Recorta(m_recibo.Cod_devolucion));
    fila.RefInterna = LimpiaTexto(Recorta(m_recibo.Ref_interna));
    fila.PrimerConcepto = LimpiaTexto(Recorta(m_recibo.Primer_concepto));
    fila.Formalizacion = m_recibo.F_formalizacion;
    fila.Vencimiento = m_recibo.F_vencimiento;
    fila.Larga = ConConcepto();
    const bool erroneo = m_recibo.Invalido || m_librado.Error;
    fila.Activo = !erroneo;
    fila.Situacion = erroneo ? 1 : 0;
    if (m_sentencias->Documentos.Inserta(fila) <= 0) {
        ++Recibos.Erroneos;
        AvisoImportacion(Texto(kAltaRecibo));
        AvisoLinea(kErrorLinea, m_lineaRecibo);
        Falla();
        return;
    }
    ++Recibos.Importados;
    if (erroneo)
        ++Recibos.Erroneos;
}
