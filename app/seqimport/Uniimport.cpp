// The table objects of the sequential import and their conversions.
#include "Uniimport.h"

#include "Cfgfile.h"
#include "Generacsb.h"
#include "Guardadocumento.h"
#include "General.h"
#include "Librados.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Registros.h"
#include "Remesas.h"
#include "Totalesremesa.h"
#include "cp1252.h"
#include "profile.h"
#include "vasqdb.h"

#include <QLocale>
#include <QTime>
#include <cstdio>

namespace {

constexpr const char *kCeros = "00000000000000000000";
constexpr const char *kNueves = "99999999999999999999";
constexpr const char *kFalta = "-----";
// What the amount boxes say of an amount with more digits than its currency takes.
constexpr int kDigitosEuros = 426, kDigitosPesetas = 425;
// What the import says of a text that is not an amount, and of a negative one.
constexpr int kNoImporte = 798, kNegativo = 799;

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

std::string LineaError(int linea)
{
    return FormateaTexto(Texto(619), linea);
}

bool EmpiezaPor(std::string_view texto, std::string_view prefijo)
{
    return texto.substr(0, prefijo.size()) == prefijo;
}

// Whole units of 10^-decimales as storage text ("-12.05", "1234").
std::string TextoUnidades(long long unidades, int decimales)
{
    if (decimales == 0)
        return std::to_string(unidades);
    const long long escala = decimales == 2 ? 100 : 1;
    char texto[40];
    std::snprintf(texto, sizeof texto, "%s%lld.%02lld", unidades < 0 ? "-" : "", std::llabs(unidades) / escala,
                  std::llabs(unidades) % escala);
    return texto;
}

int DecimalesTipo(std::string_view tipo)
{
    for (int d = 1; d <= 4; ++d)
        if (tipo.find("(" + std::to_string(d) + "_DECIMAL") != std::string_view::npos)
            return d;
    return 0;
}

// A text of digits with an optional sign.
bool SoloDigitos(std::string_view texto)
{
    if (!texto.empty() && (texto[0] == '-' || texto[0] == '+'))
        texto.remove_prefix(1);
    if (texto.empty())
        return false;
    for (char c : texto)
        if (!EsDigito(c))
            return false;
    return true;
}

bool EsTexto(std::string_view tipo)
{
    return !EmpiezaPor(tipo, "FECHA") && !EmpiezaPor(tipo, "NUMERICO");
}

// An account field that leaves a CSB58 credit without account: blank, all zeros, the mark of
// a missing value, or not reached by its line.
bool SinCuenta(std::string_view cuenta)
{
    const std::string c = Recorta(cuenta);
    return c == kFalta || c.find_first_not_of('0') == std::string::npos;
}

// Nothing, with the language text saying why in motivo when given.
std::optional<std::string> Rechaza(int *motivo, int texto)
{
    if (motivo)
        *motivo = texto;
    return std::nullopt;
}

// A number written with separators: with the options' decimal separator read as the amount
// boxes read it, after an optional sign; without one, the text as it is.
std::optional<std::string> ConSeparadores(std::string v, bool euros, std::string_view separador, int *motivo)
{
    if (separador != "," && separador != ".")
        return v;
    const bool negativo = v[0] == '-';
    if (negativo || v[0] == '+')
        v.erase(0, 1);
    const ImporteTecleado leido = LeeImporteTecleado(v, euros ? kMonedaEuros : kMonedaPesetas, separador[0]);
    if (leido.Rechazo != 0)
        return Rechaza(motivo, leido.Rechazo);
    const bool cero = leido.SQL.find_first_not_of("0.") == std::string::npos;
    return (negativo && !cero ? "-" : "") + leido.SQL;
}

// A number without separators: digits after an optional sign, scaled by the decimals the
// type names; nothing at all gives 0.
std::optional<std::string> Digitos(const std::string &v, std::string_view tipo, bool euros, int *motivo)
{
    const int decimales = euros ? 2 : 0;
    if (v.empty())
        return TextoUnidades(0, decimales);
    if (!SoloDigitos(v))
        return Rechaza(motivo, kNoImporte);
    const int escala = DecimalesTipo(tipo);
    const bool signo = v[0] == '-' || v[0] == '+';
    std::string digitos = signo ? v.substr(1) : v;
    if (escala > 0) {
        if (int(digitos.size()) <= escala)
            digitos.insert(0, size_t(escala + 1) - digitos.size(), '0');
        digitos.insert(digitos.size() - size_t(escala), ".");
    }
    // Digits alone always read: what does not is more than the currency takes, also once rounded.
    long long unidades = 0;
    if (LeeImporteSQL((v[0] == '-' ? "-" : "") + digitos, decimales, unidades) != LecturaImporte::Correcta ||
        std::llabs(unidades) >= kTopeImporteCSB)
        return Rechaza(motivo, euros ? kDigitosEuros : kDigitosPesetas);
    return TextoUnidades(unidades, decimales);
}

} // namespace

void EntornoImportacion::Avisa(const std::string &texto) const
{
    if (Mensaje)
        Mensaje(texto);
}

void EntornoImportacion::Registra(const std::string &texto) const
{
    if (Log)
        Log(texto);
}

// ---- Conversions ----

std::string ConvertirFecha(std::string_view texto, std::string_view formato)
{
    std::string limpio;
    for (char c : Recorta(texto))
        if (c != '/' && c != '-' && c != ',')
            limpio += c;
    if (limpio.size() < 6)
        return {};
    formato = formato.substr(0, 11);
    auto parte = [&](char letra) {
        const size_t desde = formato.find(letra);
        if (desde == std::string_view::npos || desde >= limpio.size())
            return 0;
        size_t largo = 0;
        for (char c : formato)
            largo += c == letra;
        return Numero(limpio.substr(desde, largo));
    };
    int anio = parte('A');
    if (anio < 100)
        anio += anio < 71 ? 2000 : 1900;
    const QDate fecha(anio, parte('M'), parte('D'));
    return fecha.isValid() ? FechaSQL(fecha) : std::string();
}

std::optional<std::string> ConvierteNumerico(std::string_view valor, std::string_view tipo, bool euros,
                                             std::string_view separador, int *motivo)
{
    std::string v;
    for (char c : valor)
        if (c != ' ')
            v += c;
    // A sign at the end, as accounting exports write a negative amount; never two signs.
    if (v.size() > 1 && v.back() == '-') {
        v.pop_back();
        if (v[0] == '-' || v[0] == '+')
            return Rechaza(motivo, kNoImporte);
        v.insert(0, "-");
    }
    std::optional<std::string> numero = v.find_first_of(",.") != std::string::npos
                                            ? ConSeparadores(v, euros, separador, motivo)
                                            : Digitos(v, tipo, euros, motivo);
    // The send file takes no negative amount: a bill never stores one.
    if (numero && numero->front() == '-' && numero->find_first_of("123456789") != std::string::npos)
        return Rechaza(motivo, kNegativo);
    return numero;
}

std::optional<std::string> ConvierteValor(std::string_view valor, std::string_view tipo, bool euros,
                                          std::string_view separador, int *motivo)
{
    if (EmpiezaPor(tipo, "FECHA"))
        return ConvertirFecha(valor, tipo.substr(std::min<size_t>(6, tipo.size()))).substr(0, 10);
    if (EmpiezaPor(tipo, "NUMERICO"))
        return ConvierteNumerico(valor, tipo, euros, separador, motivo);
    return std::string(valor);
}

std::string NormalizarCuenta(std::string_view cuenta, bool &corregida)
{
    corregida = false;
    std::string r(cuenta.substr(0, 20));
    if (r.empty() || r == kFalta)
        return kCeros;
    for (char &c : r)
        if (c == ' ') {
            c = '0';
            corregida = true;
        }
    const bool asteriscos = r.size() >= 10 && r[8] == '*' && r[9] == '*';
    if (!asteriscos) {
        bool valida = r.size() == 20;
        for (char c : r)
            valida = valida && EsDigito(c);
        if (!valida) {
            corregida = true;
            return kNueves;
        }
    } else if (!corregida) {
        const std::string digitos = CalcDigitosControl(r.substr(0, 4), r.substr(4, 4), r.substr(10));
        if (digitos.empty()) {
            corregida = true;
            return kNueves;
        }
        r.replace(8, 2, digitos);
    }
    return r;
}

// ---- _Tabla ----

_Tabla::_Tabla(EntornoImportacion &entorno, std::string tabla) : m_entorno(entorno), m_tabla(std::move(tabla)) {}

void _Tabla::CargarCampos()
{
    m_campos.clear();
    const std::string marca = m_entorno.Tipos_orden == "CSB58" ? "58" : m_entorno.Tipos_orden == "CSB19" ? "19" : "";
    for (const std::string &linea : profile::readSectionLines(m_entorno.Catalogo, m_tabla)) {
        const std::vector<std::string> p = SepararValores(linea.substr(0, 255), 4);
        Campo c;
        c.Nombre = p[0];
        c.Enlace = "[" + m_tabla + "]." + p[0];
        c.Tipo = p[2];
        c.Requerido = p[3] == "SI" || (!marca.empty() && p[3] == marca);
        m_campos.push_back(std::move(c));
    }
}

bool _Tabla::TomarDato(const EntradaImportacion &entrada)
{
    if (!entrada.Enlace)
        return false;
    for (Campo &c : m_campos) {
        if (c.Enlace != *entrada.Enlace)
            continue;
        if (c.Presente)
            m_entorno.Avisa(c.Nombre + Texto(555) + m_tabla + "  " + Texto(511) + " " + std::to_string(entrada.Linea));
        c.Valor = entrada.Valor;
        c.Rechazo = entrada.Rechazo;
        c.Presente = true;
        c.Linea = entrada.Linea;
        return true;
    }
    return false;
}

const _Tabla::Campo *_Tabla::Busca(std::string_view campo) const
{
    for (const Campo &c : m_campos)
        if (c.Nombre == campo)
            return &c;
    return nullptr;
}

void _Tabla::AsignarValor(std::string_view campo, std::string_view valor)
{
    if (Campo *c = const_cast<Campo *>(Busca(campo))) {
        c->Valor = valor;
        c->Rechazo = 0;
        c->Presente = true;
    }
}

void _Tabla::Limpiar()
{
    for (Campo &c : m_campos) {
        c.Valor.clear();
        c.Rechazo = 0;
        c.Presente = false;
    }
}

std::string _Tabla::Valor(std::string_view campo) const
{
    const Campo *c = Busca(campo);
    return c ? c->Valor : std::string();
}

int _Tabla::Rechazo(std::string_view campo) const
{
    const Campo *c = Busca(campo);
    return c ? c->Rechazo : 0;
}

std::string _Tabla::Recortado(std::string_view campo) const
{
    return Recorta(Valor(campo));
}

int _Tabla::LineaCampo(std::string_view campo) const
{
    const Campo *c = Busca(campo);
    return c ? c->Linea : 0;
}

int _Tabla::Linea() const
{
    int linea = 0;
    for (const Campo &c : m_campos)
        if (c.Presente && (linea == 0 || c.Linea < linea))
            linea = c.Linea;
    return linea;
}

bool _Tabla::IdActual(int &id) const
{
    id = m_id;
    return m_tieneId;
}

bool _Tabla::ComprobarRequeridos() const
{
    bool completo = true;
    for (const Campo &c : m_campos)
        if (c.Requerido && !c.Presente) {
            m_entorno.Registra(Texto(550) + c.Nombre + Texto(551) + m_tabla + "'  " + Texto(511) + " " +
                               std::to_string(c.Linea));
            completo = false;
        }
    return completo && !m_campos.empty();
}

bool _Tabla::ComprobacionEstricta()
{
    bool completo = true;
    for (Campo &c : m_campos)
        if (c.Requerido && (!c.Presente || Recorta(c.Valor).empty())) {
            if (EsTexto(c.Tipo))
                c.Valor = kFalta;
            const std::string texto =
                Texto(550) + c.Nombre + Texto(551) + m_tabla + "' " + Texto(511) + std::to_string(c.Linea);
            m_entorno.Avisa(texto);
            m_entorno.Registra(texto);
            completo = false;
        }
    return completo && !m_campos.empty();
}

bool _Tabla::Normaliza(std::string_view campo)
{
    bool corregida = false;
    AsignarValor(campo, NormalizarCuenta(Valor(campo), corregida));
    return corregida;
}

bool _Tabla::NifAdmitido()
{
    const std::string motivo = MotivoNif(Valor("Id_nif"));
    if (motivo.empty())
        return true;
    m_entorno.Avisa(motivo);
    m_entorno.Avisa(LineaError(LineaCampo("Id_nif")));
    ++m_cuenta.Erroneos;
    QuitaId();
    Limpiar();
    return false;
}

bool _Tabla::Falla()
{
    m_entorno.Fallo = true;
    QuitaId();
    return false;
}

// ---- Companies, presenters, issuers ----

_Empresa::_Empresa(EntornoImportacion &entorno)
    : _Tabla(entorno, "_Empresas( Datos )"), m_csb58(entorno.Tipos_orden != "CSB19")
{
    if (entorno.IdEmpresa > 0)
        PonId(entorno.IdEmpresa);
    CargarCampos();
}

bool _Empresa::Guardar()
{
    if (!ComprobarRequeridos()) {
        ++m_cuenta.Erroneos;
        m_entorno.Avisa(Texto(535));
        QuitaId();
        Limpiar();
        return false;
    }
    Normaliza("Cuenta");
    const int id = BuscaEmpresaCif(m_entorno.IdUsuario, Recortado("Cif"));
    if (id > 0) {
        if (id != m_id) {
            m_nombre = Recortado("Nombre");
            m_actual = false;
        }
        PonId(id);
        ++m_cuenta.Repetidos;
        m_entorno.Avisa(Texto(537));
        Limpiar();
        return true;
    }
    const int nuevo = AltaEmpresa(m_entorno.IdUsuario, Recortado("Cif"), Recortado("Nombre"), Recortado("Cuenta"));
    if (nuevo <= 0)
        return Falla();
    PonId(nuevo);
    m_csb58 = m_entorno.Tipos_orden != "CSB19";
    m_actual = false;
    m_nombre = Recortado("Nombre");
    Limpiar();
    ++m_cuenta.Importados;
    return true;
}

_Presentador::_Presentador(EntornoImportacion &entorno, const _Empresa &empresa)
    : _Tabla(entorno, "_Presentadores( Datos )"), m_empresa(empresa)
{
    CargarCampos();
}

bool _Presentador::Guardar()
{
    if (!ComprobarRequeridos()) {
        ++m_cuenta.Erroneos;
        QuitaId();
        m_entorno.Avisa(Texto(536));
        return false;
    }
    if (!m_empresa.TieneId()) {
        ++m_cuenta.Erroneos;
        QuitaId();
        m_entorno.Avisa(Texto(526));
        return false;
    }
    if (!NifAdmitido())
        return false;
    const std::string orden = m_empresa.Csb58() ? "CSB58" : "CSB19";
    const int id = BuscaPresentadorNif(m_empresa.Id(), Recortado("Id_nif"), Recortado("Sufijo"), m_entorno.Tipos_orden);
    if (id > 0) {
        ++m_cuenta.Repetidos;
        m_entorno.Avisa(Texto(538));
        PonId(id);
        Limpiar();
        return true;
    }
    const int nuevo =
        AltaPresentador(m_empresa.Id(), Recortado("Id_nif"), orden, Recortado("Sufijo"), Recortado("Razon_social"));
    if (nuevo <= 0)
        return Falla();
    PonId(nuevo);
    Limpiar();
    ++m_cuenta.Importados;
    return true;
}

_Emisor::_Emisor(EntornoImportacion &entorno, const _Presentador &presentador)
    : _Tabla(entorno, "_Emisores( Datos )"), m_presentador(presentador)
{
    CargarCampos();
}

bool _Emisor::Guardar()
{
    const std::pair<const char *, std::string *> recordados[] = {
        {"Cuenta_cargo", &m_cargo}, {"Desc_cuenta", &m_descripcion}, {"Alias", &m_alias}};
    for (const auto &[campo, recordado] : recordados) {
        if (Valor(campo).empty())
            AsignarValor(campo, *recordado);
        else
            *recordado = Valor(campo);
    }
    if (!ComprobarRequeridos()) {
        QuitaId();
        ++m_cuenta.Erroneos;
        m_entorno.Avisa(Texto(552));
        return false;
    }
    Normaliza("Cuenta_abono");
    if (!m_presentador.TieneId()) {
        ++m_cuenta.Erroneos;
        QuitaId();
        return false;
    }
    if (!NifAdmitido())
        return false;
    const int id = BuscaEmisorNif(m_presentador.Id(), Recortado("Id_nif"), Recortado("Sufijo"));
    if (id > 0) {
        ++m_cuenta.Repetidos;
        PonId(id);
        Limpiar();
        return true;
    }
    const int nuevo = AltaEmisor(m_presentador.Id(), Recortado("Id_nif"), Recortado("Sufijo"), Recortado("Razon_social"),
                                 Recortado("Cuenta_abono"), Recortado("Cuenta_cargo"), Recortado("Desc_cuenta"),
                                 Recortado("Alias"), Recortado("Codigo_NIE"));
    if (nuevo <= 0)
        return Falla();
    PonId(nuevo);
    ++m_cuenta.Importados;
    Limpiar();
    return true;
}

// ---- Batches, drawees, bills ----

_Remesa::_Remesa(EntornoImportacion &entorno, const _Empresa &empresa, const _Emisor &emisor)
    : _Tabla(entorno, "Remesas()"), m_empresa(empresa), m_emisor(emisor)
{
}

std::string _Remesa::Moneda() const
{
    return m_entorno.Euros ? kMonedaEuros : kMonedaPesetas;
}

bool _Remesa::Guardar()
{
    Finalizar();
    if (!m_emisor.TieneId()) {
        QuitaId();
        return false;
    }
    const QString hora = QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
    DatosRemesaEditada remesa;
    remesa.Id_emisor = m_emisor.Id();
    remesa.Id_moneda = Moneda();
    remesa.Con_emision = m_empresa.Csb58() || m_entorno.EmisionFactura;
    remesa.Descripcion =
        "IMPORTACION: " + FechaUsuario(QDate::currentDate()) + " " + cp1252::fromUtf8(hora.toStdString());
    const int id = InsertaRemesa(remesa);
    if (id <= 0)
        return Falla();
    PonId(id);
    ++m_cuenta.Importados;
    return true;
}

void _Remesa::Finalizar()
{
    if (m_tieneId && !m_entorno.Fallo) {
        if (m_recibos > 0) {
            if (!ActualizaTotalesRemesa(std::to_string(m_id), Moneda()).empty())
                Falla();
        } else {
            int filas = 0;
            if (!DBExecSQL(FormatoSQL("DELETE * FROM [Remesas()] WHERE Id_remesa=%d;", m_id), filas).empty())
                Falla();
            else
                --m_cuenta.Importados;
        }
    }
    QuitaId();
    m_recibos = 0;
}

_Librado::_Librado(EntornoImportacion &entorno, const _Emisor &emisor)
    : _Tabla(entorno, "Librados( Datos )"), m_emisor(emisor)
{
    CargarCampos();
}

bool _Librado::Guardar()
{
    m_erroneo = false;
    if (!ComprobacionEstricta()) {
        m_erroneo = true;
        ++m_cuenta.Erroneos;
    }
    const std::string dada = Valor("Cuenta");
    const int tipoOrden = GetTipoOrden(m_entorno.Tipos_orden);
    bool corregida = false;
    if (tipoOrden == 2 && SinCuenta(dada))
        AsignarValor("Cuenta", kCeros); // a credit without account, as the CSB58 records send it
    else
        corregida = Normaliza("Cuenta");
    const bool falta = dada.empty() || dada == kFalta; // where one is required the strict check named it
    if (corregida || (!falta && !CuentaEnviable(Valor("Cuenta"), tipoOrden))) {
        m_erroneo = true;
        m_entorno.Avisa(Texto(612));
        m_entorno.Avisa(LineaError(LineaCampo("Cuenta")));
    }
    if (!m_emisor.TieneId()) {
        ++m_cuenta.Erroneos;
        QuitaId();
        Limpiar();
        return false;
    }
    int id = 0;
    if (!m_sentencias.Busca(m_emisor.Id(), LimpiaTexto(Recortado("Codigo_referencia")), id).empty())
        return Falla();
    if (id > 0) {
        // The stored drawee stays as it is: a bill that would go out on another account is erroneous.
        const std::string distinta =
            m_sentencias.CuentaDistinta(id, Recortado("Codigo_referencia"), Recortado("Cuenta"), tipoOrden);
        if (!distinta.empty()) {
            m_erroneo = true;
            m_entorno.Avisa(distinta);
            m_entorno.Avisa(LineaError(LineaCampo("Codigo_referencia")));
        }
        PonId(id);
        ++m_cuenta.Repetidos;
        Limpiar();
        return true;
    }
    STRLibrado l;
    l.Codigo_referencia = Recortado("Codigo_referencia");
    l.Razon_social = Recortado("Razon_social");
    l.PonCuenta(Recortado("Cuenta"));
    l.Titular_cuenta = Recortado("Titular_cuenta");
    l.Direccion = Recortado("Direccion");
    l.CP = Recortado("CP");
    l.Localidad = Recortado("Localidad");
    l.Provincia = Recortado("Provincia");
    l.Loc_ordenante = Recortado("Loc_ordenante");
    l.Cod_provincia_ordenante = Recortado("Cod_provincia_ordenante");
    int nuevo = 0;
    if (m_sentencias.Inserta(tipoOrden, m_emisor.Id(), nuevo, l) != ResultadoLibrado::Insertado) {
        m_entorno.Registra(Texto(554));
        ++m_cuenta.Erroneos;
        Limpiar();
        return Falla();
    }
    PonId(nuevo);
    ++m_cuenta.Importados;
    Limpiar();
    return true;
}

_Recibo::_Recibo(EntornoImportacion &entorno, _Remesa &remesa, const _Librado &librado)
    : _Tabla(entorno, "Documentos()"), m_remesa(remesa), m_librado(librado)
{
    CargarCampos();
    for (int n = 1; n <= 16; ++n)
        if (const Campo *c = Busca("Concepto" + std::to_string(n)))
            m_conceptos.push_back(c);
}

std::string _Recibo::Concepto() const
{
    std::string concepto;
    for (const Campo *c : m_conceptos)
        concepto += c->Valor;
    return concepto;
}

bool _Recibo::Guardar()
{
    // A bill whose drawee had missing data or an account that cannot be sent, or whose
    // amount does not read, is erroneous (never active, out of the batch totals); one
    // without its own required data is inactive. Either counts once among the erroneous.
    int situacion = m_librado.Erroneo() ? 1 : 0;
    const bool completo = ComprobacionEstricta();
    if (!completo)
        m_entorno.Registra(Texto(553));
    if (!m_remesa.TieneId() || !m_librado.TieneId()) {
        ++m_cuenta.Erroneos;
        QuitaId();
        Limpiar();
        return false;
    }
    const int decimales = m_entorno.Euros ? 2 : 0;
    const std::string importe = Valor("Importe");
    long long unidades = 0;
    const int rechazo = Rechazo("Importe");
    if (rechazo != 0 || LeeImporteSQL(importe, decimales, unidades) != LecturaImporte::Correcta) {
        m_entorno.Avisa(Texto(292) + " " + importe);
        if (rechazo != 0)
            m_entorno.Avisa(Texto(rechazo));
        m_entorno.Avisa(LineaError(LineaCampo("Importe")));
        unidades = 0;
        situacion = 1;
    } else if (unidades == 0) {
        m_entorno.Avisa(Texto(631));
        m_entorno.Avisa(LineaError(LineaCampo("Importe")));
    }
    m_remesa.SumaRecibo();
    const std::string importeSQL = TextoUnidades(unidades, decimales);

    FilaDocumento fila;
    fila.IdRemesa = m_remesa.Id();
    fila.IdLibrado = m_librado.Id();
    fila.Importe = importeSQL;
    fila.Contravalor = GetContravalorSinFormato(importeSQL, m_remesa.Moneda());
    fila.CodDevolucion = LimpiaTexto(Valor("Cod_devolucion"));
    fila.RefInterna = LimpiaTexto(Valor("Ref_interna"));
    fila.PrimerConcepto = LimpiaTexto(Valor("Primer_concepto"));
    fila.Formalizacion = LeeFechaSQL(Valor("F_formalizacion"));
    fila.Vencimiento = LeeFechaSQL(Valor("F_vencimiento"));
    fila.Activo = completo && situacion == 0;
    fila.Situacion = situacion;
    const std::string concepto = Concepto();
    if (!Recorta(concepto).empty()) {
        int filas = 0;
        if (!m_altaConcepto.Texto(LimpiaTexto(ConceptoAlmacenado(concepto))).Ejecuta(filas).empty() || filas != 1)
            return Falla();
        fila.IdConcepto = int(VASQ_GetLastInsertID());
    }
    const int clave = m_alta.Inserta(fila);
    if (clave <= 0) {
        m_entorno.Registra(Texto(553));
        ++m_cuenta.Erroneos;
        Limpiar();
        return Falla();
    }
    ++m_cuenta.Importados;
    if (!fila.Activo)
        ++m_cuenta.Erroneos;
    PonId(clave);
    Limpiar();
    return true;
}
