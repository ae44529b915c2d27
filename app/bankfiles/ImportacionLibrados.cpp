// The drawee import: a drawee's records gathered into the pending drawee, checked, and
// stored under the chosen issuer once complete.
#include "ImportacionLibrados.h"

#include "Cfgfile.h"
#include "General.h"
#include "Librados.h"
#include "Modmas.h"
#include "Multiidioma.h"

namespace {

enum {
    kAbono = 287,
    kFormato = 288,
    kReferenciaDuplicada = 290,
    kLibradoDuplicado = 291,
    kResumen = 584,
    kRazon = 601,
    kReferencia = 602,
    kCPTitular = 604,
    kCPDeudor = 608,
    kCuentaIncorrecta = 612,
    kCabeceraInforme = 616,
    kReferenciaAmbigua = 794,
    kNoGuardado = 995,
    kIncompleto = 996,
};

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

// Sets a pending text unless it holds more than blanks already; false for a duplicate. A
// blank field of a record leaves the text for a later record to fill.
bool Pon(std::string &pendiente, const std::string &texto)
{
    if (!Recorta(pendiente).empty())
        return false;
    pendiente = texto;
    return true;
}

// Five digits.
bool CPValido(std::string_view cp)
{
    if (cp.size() != 5)
        return false;
    for (char c : cp)
        if (!EsDigito(c))
            return false;
    return true;
}

} // namespace

ImportacionLibrados::ImportacionLibrados(Provincias provincias)
    : MarcoImportacion(std::move(provincias))
{
    m_conLinea = false;
}

int ImportacionLibrados::ImportaLibradosCSB(std::string_view ruta, std::string_view rutaLayout, std::string_view tipo,
                                            int idEmisor, Progreso progreso, Mensaje mensaje, Contadores contadores)
{
    if (idEmisor <= 0)
        return 0;
    m_idEmisor = idEmisor;
    return Ejecuta(ruta, rutaLayout, tipo, std::move(progreso), std::move(mensaje), std::move(contadores));
}

// ---- The run's hooks ----

int ImportacionLibrados::TextoCabecera() const
{
    return kCabeceraInforme;
}

void ImportacionLibrados::Inicia()
{
    m_librado = {};
    m_librado.Id_emisor = std::to_string(m_idEmisor);
}

std::vector<const char *> ImportacionLibrados::Necesarias(char clase) const
{
    if (clase == '6')
        return {"Codigo_referencia", "[Librados( Datos )].Razon_social", "Cuenta"};
    return {};
}

void ImportacionLibrados::Campo(char clase, const FieldDef &campo)
{
    const std::string texto = campo.data.value_or("");
    switch (clase) {
    case '6':
        LeeLibradoIndividual(campo, texto);
        break;
    case 'o':
        LeeLibradoOpcional(campo, texto);
        break;
    case '8':
        CierraLibradoPendiente();
        break;
    case '9':
        // A drawee still incomplete at the end of the file is not stored: said and counted.
        if (!m_librado.Codigo_referencia.empty()) {
            AvisoImportacion(FormateaTexto(Texto(kIncompleto), Recorta(m_librado.Codigo_referencia)));
            ++Librados.Erroneos;
            LimpiaLibradoPendiente();
            EnviaContadores();
        }
        break;
    default:
        break;
    }
}

void ImportacionLibrados::CeroContadores()
{
    Librados = Cuenta();
}

std::array<int, 12> ImportacionLibrados::Cuentas() const
{
    return {0, 0, 0, Librados.Importados, 0, 0, 0, Librados.Repetidos, 0, 0, 0, Librados.Erroneos};
}

void ImportacionLibrados::EscribeResumenImportacion()
{
    EscribeInformeCSB(FormateaTexto(Texto(kResumen), std::to_string(Librados.Importados),
                                    std::to_string(Librados.Repetidos), std::to_string(Librados.Erroneos)));
}

void ImportacionLibrados::Duplicado(int texto)
{
    AvisoImportacion(Texto(texto));
}

// ---- Reading ----

void ImportacionLibrados::LeeLibradoIndividual(const FieldDef &campo, const std::string &texto)
{
    m_librado.Id_emisor = std::to_string(m_idEmisor);
    if (Contiene(campo, "Codigo_referencia")) {
        CierraLibradoPendiente();
        if (Vacio(m_librado.Codigo_referencia) || m_librado.Codigo_referencia == texto)
            m_librado.Codigo_referencia = texto;
        else
            Duplicado(kReferenciaDuplicada);
    }
    if (Contiene(campo, "[Librados( Datos )].Razon_social") && !Pon(m_librado.Razon_social, texto))
        Duplicado(kLibradoDuplicado);
    if (Contiene(campo, "Cuenta")) {
        if (m_librado.Cuenta.empty())
            ReglaCuenta(texto);
        else
            Duplicado(kAbono);
    }
}

void ImportacionLibrados::LeeLibradoOpcional(const FieldDef &campo, const std::string &texto)
{
    const std::pair<const char *, std::string *> claves[] = {{"Titular_cuenta", &m_librado.Titular_cuenta},
                                                             {"Direccion", &m_librado.Direccion},
                                                             {"Localidad", &m_librado.Localidad},
                                                             {"CP", &m_librado.CP},
                                                             {"Plaza_ordenante", &m_librado.Loc_ordenante},
                                                             {"Provincia_ordenante", &m_librado.Cod_provincia_ordenante}};
    for (const auto &[clave, pendiente] : claves)
        if (Contiene(campo, clave) && !Pon(*pendiente, texto))
            Duplicado(kFormato);
    if (Contiene(campo, "Provincia") && !Pon(m_librado.Provincia, Provincia(Recorta(texto))))
        Duplicado(kFormato);
}

// The account as read: a position other than the control digits' that holds no digit is
// an error; asterisks in the control digits ask for them to be computed.
void ImportacionLibrados::ReglaCuenta(const std::string &texto)
{
    std::string cuenta = Vacio(texto) ? std::string(kCuentaCeros) : texto.substr(0, 20);
    for (size_t i = 0; i < 20; ++i) {
        if (i == 8 || i == 9)
            continue;
        if (i >= cuenta.size() || !EsDigito(cuenta[i])) {
            m_librado.Error = true;
            AvisoImportacion(Texto(kCuentaIncorrecta));
            break;
        }
    }
    if (cuenta.size() == 20 && cuenta.find('*') != std::string::npos) {
        const std::string calculado = CalcDigitosControl(cuenta.substr(0, 4), cuenta.substr(4, 4), cuenta.substr(10));
        if (calculado.size() == 2)
            cuenta.replace(8, 2, calculado);
    }
    m_librado.Cuenta = cuenta;
}

// ---- Writing ----

void ImportacionLibrados::CierraLibradoPendiente()
{
    Librado &l = m_librado;
    // The province of the postcode counts for a complete address: CSB19 records carry none.
    if (Vacio(l.Provincia) && !Vacio(l.CP))
        l.Provincia = Provincia(Recorta(l.CP).substr(0, 2));
    if (LibradoCompleto()) {
        AltaLibradoImportado();
        LimpiaLibradoPendiente();
    }
    EnviaContadores();
}

bool ImportacionLibrados::LibradoCompleto() const
{
    const Librado &l = m_librado;
    if (l.Codigo_referencia.empty() || l.Razon_social.empty() || l.Cuenta.empty() || l.Id_emisor.empty())
        return false;
    const std::string titular = Recorta(l.Titular_cuenta);
    if (m_tipoOrden == 1 && !titular.empty() && titular != Recorta(l.Razon_social))
        return !Vacio(l.Direccion) && !Vacio(l.CP) && !Vacio(l.Localidad) && !Vacio(l.Provincia);
    if (m_tipoOrden == 2 && (Vacio(l.Cuenta) || Recorta(l.Cuenta) == kCuentaCeros))
        return !Vacio(l.Direccion) && !Vacio(l.CP) && !Vacio(l.Localidad) && !Vacio(l.Cod_provincia_ordenante);
    return true;
}

void ImportacionLibrados::AltaLibradoImportado()
{
    Librado &l = m_librado;
    if (Vacio(l.Titular_cuenta))
        l.Titular_cuenta = l.Razon_social;
    int hallado = 0;
    std::vector<std::string> iguales;
    if (!ResultadoImportacion(m_sentencias->Librados.BuscaEnFichero(
            m_idEmisor, LimpiaTexto(Recorta(l.Codigo_referencia)), hallado, iguales)))
        return;
    if (!iguales.empty()) {
        ++Librados.Erroneos;
        AvisoImportacion(FormateaTexto(Texto(kReferenciaAmbigua), Recorta(l.Codigo_referencia), Citados(iguales)));
        return;
    }
    if (hallado > 0) {
        ++Librados.Repetidos;
        return;
    }
    auto falla = [this](int texto) {
        m_librado.Error = true;
        AvisoImportacion(Texto(texto));
    };
    if (Vacio(l.Razon_social))
        falla(kRazon);
    if (Vacio(l.Codigo_referencia))
        falla(kReferencia);
    const std::string cp = Recorta(l.CP);
    if (m_tipoOrden == 2 && (Vacio(l.Cuenta) || Recorta(l.Cuenta) == kCuentaCeros) && !CPValido(cp))
        falla(kCPTitular);
    const std::string titular = Recorta(l.Titular_cuenta);
    if (m_tipoOrden == 1 && !titular.empty() && titular != Recorta(l.Razon_social) && !CPValido(cp))
        falla(kCPDeudor);
    if (l.Error) {
        ++Librados.Erroneos;
        return;
    }
    STRLibrado nuevo;
    nuevo.Codigo_referencia = Recorta(l.Codigo_referencia);
    nuevo.Razon_social = Recorta(l.Razon_social);
    nuevo.PonCuenta(Recorta(l.Cuenta));
    nuevo.Titular_cuenta = Recorta(l.Titular_cuenta);
    nuevo.Direccion = Recorta(l.Direccion);
    nuevo.CP = cp;
    nuevo.Localidad = Recorta(l.Localidad);
    nuevo.Provincia = Recorta(l.Provincia);
    nuevo.Loc_ordenante = Recorta(l.Loc_ordenante);
    nuevo.Cod_provincia_ordenante = Recorta(l.Cod_provincia_ordenante);
    int id = 0;
    if (m_sentencias->Librados.Inserta(m_tipoOrden, m_idEmisor, id, nuevo) != ResultadoLibrado::Insertado) {
        ++Librados.Erroneos;
        AvisoImportacion(Texto(kNoGuardado));
        Falla();
        return;
    }
    ++Librados.Importados;
}

void ImportacionLibrados::LimpiaLibradoPendiente()
{
    Librado limpio;
    limpio.Id_emisor = m_librado.Id_emisor;
    m_librado = limpio;
}
