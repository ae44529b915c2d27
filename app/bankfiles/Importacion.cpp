// The CSB import: presenter, issuer and batch; the run's hooks.
#include "Importacion.h"

#include "Cfgfile.h"
#include "Frmmsg.h"
#include "Generacsb.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Totalesremesa.h"
#include "cp1252.h"
#include "vasqdb.h"

#include <QDateTime>
#include <QTime>

namespace {

enum {
    kErrorPresentador = 281,
    kNoSePuede = 282,
    kPresentadorAjeno = 295,
    kCabeceraInforme = 297,
    kResumenPresentadores = 580,
    kErrorLinea = 619,
    kGemelos = 797,
    kCuentaAbono = 961,
};

// A text for SQL: trimmed and cleaned.
std::string Sql(std::string_view texto)
{
    return LimpiaTextoSQL(Recorta(texto));
}

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

} // namespace

ImportacionCSB::ImportacionCSB(Provincias provincias)
    : MarcoImportacion(std::move(provincias))
{
}

// ---- The run ----

int ImportacionCSB::ImportaFicheroCSB(std::string_view ruta, std::string_view rutaLayout, std::string_view idEmpresa,
                                      std::string_view tipo, Progreso progreso, Mensaje mensaje, Contadores contadores)
{
    m_idEmpresa = idEmpresa;
    const int resultado =
        Ejecuta(ruta, rutaLayout, tipo, std::move(progreso), std::move(mensaje), std::move(contadores));
    if (m_ajeno)
        CajaMensaje(Texto(kPresentadorAjeno), Texto(kNoSePuede), IconoMensaje::Aviso);
    return resultado;
}

int ImportacionCSB::TextoCabecera() const
{
    return kCabeceraInforme;
}

void ImportacionCSB::Inicia()
{
    m_ajeno = false;
    m_presentador = {};
    m_emisor = {};
    m_remesa = {};
    m_recibo = {};
    m_librado = {};
    m_idPresentador.clear();
    m_idEmisor.clear();
    m_idRemesa.clear();
    m_lineaRecibo = 1;
    m_pagina.assign(640, ' ');
    m_emisoresFichero.clear();
    m_cuentasErroneas.clear();
}

std::vector<const char *> ImportacionCSB::Necesarias(char clase) const
{
    switch (clase) {
    case '1':
        return {"Id_nif", "Sufijo", "Razon_social"};
    case '3':
        return {"Id_moneda", "Con_emision", "Id_nif", "Sufijo", "Razon_social", "Cuenta_abono"};
    case '6':
        return {"Codigo_referencia", "[Librados( Datos )].Razon_social", "Importe", "Ref_interna"};
    default:
        return {};
    }
}

void ImportacionCSB::Campo(char clase, const FieldDef &campo)
{
    const std::string texto = campo.data.value_or(" ");
    switch (clase) {
    case '1':
        LeePresentador(campo, texto);
        break;
    case '3':
        LeeCabeceraOrdenante(campo, texto);
        break;
    case '6':
        LeeRegistroIndividual(campo, texto);
        break;
    case 'o':
        LeeRegistroOpcional(campo, texto);
        break;
    case '8':
        if (campo.data)
            CierraRemesa();
        break;
    default:
        break;
    }
}

std::array<int, 12> ImportacionCSB::Cuentas() const
{
    return {Emisores.Importados, Remesas.Importados, Recibos.Importados, Librados.Importados,
            Emisores.Repetidos,  Remesas.Repetidos,  Recibos.Repetidos,  Librados.Repetidos,
            Emisores.Erroneos,   Remesas.Erroneos,   Recibos.Erroneos,   Librados.Erroneos};
}

void ImportacionCSB::CeroContadores()
{
    Presentadores = Emisores = Remesas = Recibos = Librados = Cuenta();
}

void ImportacionCSB::EscribeResumenImportacion()
{
    EscribeInformeCSB(FormateaTexto(Texto(kResumenPresentadores), Presentadores.Importados, Presentadores.Repetidos,
                                    Presentadores.Erroneos));
    const std::pair<int, const Cuenta *> filas[] = {{581, &Emisores}, {582, &Remesas}, {583, &Recibos}, {584, &Librados}};
    for (const auto &[texto, cuenta] : filas)
        EscribeInformeCSB(FormateaTexto(Texto(texto), std::to_string(cuenta->Importados),
                                        cuenta == &Remesas ? std::string("-- ") : std::to_string(cuenta->Repetidos),
                                        std::to_string(cuenta->Erroneos)));
}

void ImportacionCSB::OrdenantePrevio(const LineDef &linea)
{
    Emisor e;
    for (const FieldDef &campo : linea.fields) {
        const std::pair<const char *, std::string *> claves[] = {
            {"Id_nif", &e.Id_nif}, {"Sufijo", &e.Sufijo}, {"Cuenta_abono", &e.Cuenta_abono}};
        for (const auto &[clave, texto] : claves)
            if (Contiene(campo, clave) && texto->empty())
                *texto = campo.data.value_or(" ");
    }
    m_emisoresFichero.push_back(std::move(e));
}

void ImportacionCSB::Duplicado(int texto)
{
    AvisoImportacion(Texto(texto));
    AvisoLinea(kErrorLinea, m_linea);
}

// ---- Presenter ----

namespace {

// Sets a pending text unless it is set already; false for a duplicate.
bool Pon(std::string &pendiente, const std::string &texto)
{
    if (!pendiente.empty())
        return false;
    pendiente = texto;
    return true;
}

} // namespace

void ImportacionCSB::LeePresentador(const FieldDef &campo, const std::string &texto)
{
    if (m_presentador.Id_empresa.empty())
        m_presentador.Id_empresa = m_idEmpresa;
    if (m_presentador.Id_orden.empty())
        m_presentador.Id_orden = GetTipoOrdenStr(m_tipoOrden);
    const std::pair<const char *, std::string *> claves[] = {
        {"Id_nif", &m_presentador.Id_nif}, {"Sufijo", &m_presentador.Sufijo}, {"Razon_social", &m_presentador.Razon_social}};
    const int duplicados[] = {278, 279, 280};
    for (size_t i = 0; i < std::size(claves); ++i)
        if (Contiene(campo, claves[i].first) && !Pon(*claves[i].second, texto))
            Duplicado(duplicados[i]);
    if (Contiene(campo, "Cuenta_cargo"))
        m_presentador.Cuenta_cargo = texto;
    GuardaPresentador();
}

void ImportacionCSB::GuardaPresentador()
{
    Presentador &p = m_presentador;
    if (p.Id_empresa.empty() || p.Id_orden.empty() || p.Id_nif.empty() || p.Sufijo.empty() || p.Razon_social.empty())
        return;
    if (!NifAdmitido(p.Id_nif))
        return;
    const std::string empresa = std::to_string(Numero(p.Id_empresa));
    const std::string otro = GetTipoOrdenStr(m_tipoOrden == 1 ? 2 : 1);
    std::vector<std::pair<std::string, std::string>> gemelos; // key and stored suffix
    if (!ConsultaImportacion(
            "SELECT [_Presentadores( Datos )].Id_presentador,[_Presentadores( Datos )].Id_orden,"
            "[_Presentadores( Datos )].Sufijo FROM [_Presentadores( Datos )] WHERE "
            "[_Presentadores( Datos )].Id_empresa=" + empresa + " AND " +
                IgualTexto("[_Presentadores( Datos )].Id_nif", Sql(p.Id_nif)) + " AND " +
                IgualSufijo("[_Presentadores( Datos )].Sufijo", p.Sufijo) +
                " ORDER BY [_Presentadores( Datos )].Id_presentador;",
            [&](char *fila, char *) {
                if (!cp1252::equalNoCase(GetCampoTexto("Id_orden", fila), otro))
                    gemelos.emplace_back(GetCampo("Id_presentador", fila),
                                         NullToEmpty(GetCampoTexto("Sufijo", fila)));
            }))
        return;
    const std::string hallado = EligeGemelo(gemelos);
    if (m_fallo)
        return;
    if (!hallado.empty()) {
        bool confirmado = false;
        if (!ConsultaImportacion(FormateaTexto("SELECT [_Presentadores( Datos )].Id_presentador FROM "
                                               "[_Presentadores( Datos )] WHERE [_Presentadores( Datos )]."
                                               "Id_presentador=%s AND [_Presentadores( Datos )].Id_empresa=%s;",
                                               hallado, empresa),
                                 [&](char *, char *) { confirmado = true; }))
            return;
        if (!confirmado) {
            ++Presentadores.Erroneos;
            m_ajeno = true;
            Falla();
            return;
        }
        m_idPresentador = hallado;
        ++Presentadores.Repetidos;
    } else {
        int filas = 0;
        const std::string sql = FormateaTexto(
            "INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Clave_presentador,Id_nif,Sufijo,"
            "Razon_social,Block)  VALUES (%s,'%s','%s','%s','%s','%s',0);",
            empresa, m_tipo, Sql(NifMayusculas(p.Id_nif) + p.Sufijo), Sql(NifMayusculas(p.Id_nif)), Sql(p.Sufijo),
            Sql(p.Razon_social));
        if (!EjecutaImportacion(sql, filas)) {
            ++Presentadores.Erroneos;
            AvisoImportacion(Texto(kErrorPresentador));
            AvisoImportacion(Texto(kNoSePuede));
            return;
        }
        ++Presentadores.Importados;
        m_idPresentador = std::to_string(VASQ_GetLastInsertID());
    }
    const std::string cargo = p.Cuenta_cargo;
    p = {};
    p.Cuenta_cargo = cargo;
}

// One of the presenters found, by the rule of the header; the report names the one taken
// when there are several. Empty for none.
std::string ImportacionCSB::EligeGemelo(const std::vector<std::pair<std::string, std::string>> &gemelos)
{
    if (gemelos.size() < 2)
        return gemelos.empty() ? std::string() : gemelos.front().first;
    const std::string sufijo = Recorta(m_presentador.Sufijo);
    const std::pair<std::string, std::string> *elegido = nullptr;
    std::pair<int, bool> mejor{-1, false}; // issuers of the file it holds, suffix as written
    for (const auto &gemelo : gemelos) {
        std::pair<int, bool> valor{0, Recorta(gemelo.second) == sufijo};
        for (const Emisor &e : m_emisoresFichero) {
            std::string id;
            if (!BuscaEmisor(gemelo.first, e, id))
                return {};
            valor.first += !id.empty();
        }
        if (valor > mejor) {
            mejor = valor;
            elegido = &gemelo;
        }
    }
    AvisoImportacion(FormateaTexto(Texto(kGemelos), Recorta(m_presentador.Id_nif), sufijo, int(gemelos.size()),
                                   elegido->second));
    AvisoLinea(kErrorLinea, m_linea);
    return elegido->first;
}

// A NIF of the file that cannot be stored or sent is named and refuses the file.
bool ImportacionCSB::NifAdmitido(const std::string &nif)
{
    const std::string motivo = MotivoNif(nif);
    if (motivo.empty())
        return true;
    AvisoImportacion(motivo);
    AvisoLinea(kErrorLinea, m_linea);
    Falla();
    return false;
}

// ---- Issuer and batch ----

void ImportacionCSB::LeeCabeceraOrdenante(const FieldDef &campo, const std::string &texto)
{
    const std::pair<const char *, std::string *> claves[] = {
        {"Id_nif", &m_emisor.Id_nif},
        {"Sufijo", &m_emisor.Sufijo},
        {"Razon_social", &m_emisor.Razon_social},
        {"Cuenta_abono", &m_emisor.Cuenta_abono},
        {"Codigo_NIE", &m_emisor.Codigo_NIE},
    };
    const int duplicados[] = {284, 285, 286, 287, 288};
    for (size_t i = 0; i < std::size(claves); ++i) {
        if (!Contiene(campo, claves[i].first))
            continue;
        m_idEmisor.clear();
        if (!Pon(*claves[i].second, texto))
            Duplicado(duplicados[i]);
    }
    if (Contiene(campo, "Id_moneda")) {
        m_idEmisor.clear();
        if (m_remesa.Id_moneda.empty() && (texto == "0" || texto == "5"))
            m_remesa.Id_moneda = texto == "0" ? kMonedaPesetas : kMonedaEuros;
        m_recibo.Id_moneda = m_remesa.Id_moneda;
    }
    if (Contiene(campo, "Con_emision")) {
        m_idEmisor.clear();
        if (texto == "01" || texto == "06")
            m_remesa.Con_emision = "TRUE";
        else if (texto == "02")
            m_remesa.Con_emision = "FALSE";
    }
    GuardaOrdenante();
}

void ImportacionCSB::GuardaOrdenante()
{
    const Emisor &e = m_emisor;
    if (e.Id_nif.empty() || e.Sufijo.empty() || e.Razon_social.empty() || e.Cuenta_abono.empty() ||
        m_remesa.Id_moneda.empty() || m_remesa.Con_emision.empty() || m_idPresentador.empty())
        return;
    if (!NifAdmitido(e.Id_nif) || !BuscaEmisor(m_idPresentador, e, m_idEmisor))
        return;
    if (!m_idEmisor.empty()) {
        ++Emisores.Repetidos;
    } else {
        const std::string sql =
            m_tipoOrden == 1
                ? FormateaTexto("INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo,Razon_social,"
                                "Cuenta_abono,Cuenta_cargo,Block)  VALUES (%s,'%s','%s','%s','%s','%s',0);",
                                m_idPresentador, Sql(NifMayusculas(e.Id_nif)), Sql(e.Sufijo), Sql(e.Razon_social),
                                Sql(e.Cuenta_abono), Sql(m_presentador.Cuenta_cargo))
                : FormateaTexto("INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo,Razon_social,"
                                "Cuenta_abono,Codigo_NIE,Cuenta_cargo,Block)  VALUES "
                                "(%s,'%s','%s','%s','%s','%s','%s',0);",
                                m_idPresentador, Sql(NifMayusculas(e.Id_nif)), Sql(e.Sufijo), Sql(e.Razon_social),
                                Sql(e.Cuenta_abono), Sql(e.Codigo_NIE), Sql(m_presentador.Cuenta_cargo));
        int filas = 0;
        if (!EjecutaImportacion(sql, filas)) {
            ++Emisores.Erroneos;
            return;
        }
        m_idEmisor = std::to_string(VASQ_GetLastInsertID());
        ++Emisores.Importados;
    }
    CompruebaCuentaAbono();
    EnviaContadores();
    m_emisor = {};
    m_remesa.Id_emisor = m_librado.Id_emisor = m_idEmisor;
    CreaRemesa();
}

bool ImportacionCSB::BuscaEmisor(const std::string &idPresentador, const Emisor &e, std::string &idEmisor)
{
    idEmisor.clear();
    return ConsultaImportacion("SELECT [_Emisores( Datos )].Id_emisor FROM [_Emisores( Datos )] WHERE Id_presentador=" +
                                   idPresentador + " AND " + IgualTexto("Cuenta_abono", Sql(e.Cuenta_abono)) +
                                   " AND " + IgualTexto("Id_nif", Sql(e.Id_nif)) + " AND " +
                                   IgualSufijo("Sufijo", e.Sufijo) + ";",
                               [&idEmisor](char *fila, char *) { idEmisor = GetCampo("Id_emisor", fila); });
}

// An issuer whose credit account the send file would refuse is stored all the same, counted
// erroneous once and named with its account in the report.
void ImportacionCSB::CompruebaCuentaAbono()
{
    const Emisor &e = m_emisor;
    if (CuentaEnviable(Recorta(e.Cuenta_abono), 1) || !m_cuentasErroneas.insert(m_idEmisor).second)
        return;
    ++Emisores.Erroneos;
    AvisoImportacion(FormateaTexto(Texto(kCuentaAbono), Recorta(e.Id_nif), Recorta(e.Sufijo), Recorta(e.Razon_social),
                                   Recorta(e.Cuenta_abono)));
    AvisoLinea(kErrorLinea, m_linea);
}

void ImportacionCSB::CreaRemesa()
{
    if (m_remesa.Id_emisor.empty() || m_remesa.Id_moneda.empty() || m_remesa.Con_emision.empty())
        return;
    const std::string descripcion =
        "IMPORTACION: " + FechaUsuario(QDate::currentDate()) + " " + QTime::currentTime().toString("HH:mm:ss").toStdString();
    int filas = 0;
    if (!EjecutaImportacion(FormateaTexto("INSERT INTO [Remesas()] (Id_plantilla,Id_moneda,Id_emisor,Con_emision,"
                                          "Descripcion,Block)  VALUES (NULL,'%s',%s,%s,'%s',0);",
                                          m_remesa.Id_moneda, m_remesa.Id_emisor, m_remesa.Con_emision,
                                          Sql(descripcion)),
                            filas)) {
        ++Remesas.Erroneos;
        return;
    }
    m_idRemesa = m_recibo.Id_remesa = std::to_string(VASQ_GetLastInsertID());
    ++Remesas.Importados;
    EnviaContadores();
}

void ImportacionCSB::CierraRemesa()
{
    P_IMPORTACION_AddReciboABD();
    if (!m_fallo)
        ActualizaTotales();
}

void ImportacionCSB::ActualizaTotales()
{
    if (m_idRemesa.empty())
        return;
    const std::string error = ActualizaTotalesRemesa(m_idRemesa, m_remesa.Id_moneda);
    if (error.empty())
        return;
    AvisoImportacion(error);
    AvisoLinea(kErrorLinea, m_linea);
    Falla();
}
