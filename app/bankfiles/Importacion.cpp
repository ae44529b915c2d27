// The CSB import run: checks, transaction, report and counters; presenter, issuer and batch.
#include "Importacion.h"

#include "Aplicacion.h"
#include "Cfgfile.h"
#include "Estructuracsb.h"
#include "Frmmsg.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Totalesremesa.h"
#include "cp1252.h"
#include "vasqdb.h"

#include <QDateTime>
#include <QTime>
#include <chrono>

namespace {

// Texts of the run.
enum {
    kComenzando = 271,
    kTipoFichero = 272,
    kNombreFichero = 273,
    kErrorLayout = 274,
    kErrorDatos = 275,
    kAbortada = 276,
    kFinalizada = 277,
    kErrorPresentador = 281,
    kNoSePuede = 282,
    kFormatoIncorrecto = 288,
    kPresentadorAjeno = 295,
    kCabeceraInforme = 297,
    kFinInforme = 298,
    kResumenPresentadores = 580,
    kGenerado = 599,
    kContiene = 600,
    kErrorLinea = 619,
};

long long Ahora()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The record kind of a line id, whatever the format: '1' presenter, '3' issuer, '6' bill,
// 'o' optional or address record, '8' issuer totals, '9' grand totals; 0 for another id.
char Clase(std::string_view id)
{
    if (id.size() != 3 || (id[1] != '8' && id[1] != '7'))
        return 0;
    if (id[0] == '6' && id[2] >= '1' && id[2] <= '6')
        return 'o';
    if (id[2] != '0')
        return 0;
    return id[0] == '1' || id[0] == '3' || id[0] == '6' || id[0] == '8' || id[0] == '9' ? id[0] : 0;
}

// The keys each kind needs in its fields' user data.
const std::vector<const char *> &Necesarias(char clase)
{
    static const std::vector<const char *> presentador = {"Id_nif", "Sufijo", "Razon_social"};
    static const std::vector<const char *> emisor = {"Id_moneda", "Con_emision", "Id_nif", "Sufijo",
                                                     "Razon_social", "Cuenta_abono"};
    static const std::vector<const char *> recibo = {"Codigo_referencia", "[Librados( Datos )].Razon_social",
                                                     "Importe", "Ref_interna"};
    static const std::vector<const char *> ninguna;
    return clase == '1' ? presentador : clase == '3' ? emisor : clase == '6' ? recibo : ninguna;
}

bool Contiene(const FieldDef &campo, const char *clave)
{
    return campo.user_data.find(clave) != std::string::npos;
}

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
    : m_provincias(std::move(provincias))
{
}

ImportacionCSB::~ImportacionCSB()
{
    if (m_informe)
        std::fclose(m_informe);
}

std::string ImportacionCSB::RutaInformeDe(std::string_view ruta)
{
    const size_t barra = ruta.find_last_of('/');
    const size_t punto = ruta.find_last_of('.');
    const bool conExtension = punto != std::string_view::npos && (barra == std::string_view::npos || punto > barra);
    return std::string(conExtension ? ruta.substr(0, punto) : ruta) + ".log";
}

// ---- The run ----

int ImportacionCSB::ImportaFicheroCSB(std::string_view ruta, std::string_view rutaLayout, std::string_view idEmpresa,
                                      std::string_view tipo, Progreso progreso, Mensaje mensaje, Contadores contadores)
{
    IniciaImportacion(std::move(progreso), std::move(mensaje), std::move(contadores));
    m_importando = true;
    m_rutaInforme = RutaInformeDe(ruta);
    m_informe = cp1252::openFile(m_rutaInforme, "ab");
    EscribeInformeCSB("");
    EscribeInformeCSB(Texto(kCabeceraInforme) + FechaUsuario(QDate::currentDate()) + " " +
                      QTime::currentTime().toString("HH:mm:ss").toStdString());
    AvisoImportacion(Texto(kComenzando));
    AvisoImportacion(Texto(kTipoFichero) + std::string(tipo));
    AvisoImportacion(Texto(kNombreFichero) + std::string(ruta));
    m_idEmpresa = idEmpresa;
    m_tipo = tipo;
    m_tipoOrden = GetTipoOrden(tipo);

    std::string layoutRuta(rutaLayout);
    if (!layoutRuta.empty() && layoutRuta.front() != '/')
        layoutRuta = GetAppPath() + layoutRuta;
    LineDefList layout;
    int resultado = 0;
    if (m_tipoOrden == 0) {
        WriteLog("[ P_IMPORTACION::P_IMPORTACION_ImportaOLine ] Tipo de Orden desconocida (no CSB19 o CSB58)");
    } else if (LoadLineLayout(layoutRuta, layout) != 0 || !CompruebaLayout(layout)) {
        AvisoImportacion(Texto(kErrorLayout));
    } else if (LectorLineas prueba(ruta); !prueba.Abierto()) {
        AvisoImportacion(Texto(kErrorDatos));
        resultado = -1;
    } else if (CompruebaFichero(ruta, layout)) {
        m_confirmada = Importa(ruta, layout);
        if (!m_confirmada) {
            CeroContadores();
            AvisoImportacion(Texto(kAbortada));
        }
    }
    Paso(true);
    AvisoImportacion(Texto(kFinalizada));
    EscribeResumenImportacion();
    EscribeInformeCSB(Texto(kFinInforme));
    EscribeInformeCSB("");
    EscribeInformeCSB("");
    AvisoImportacion(Texto(kGenerado) + m_rutaInforme);
    AvisoImportacion(Texto(kContiene));
    if (m_informe)
        std::fclose(m_informe);
    m_informe = nullptr;
    EnviaContadores(true);
    m_importando = false;
    if (m_ajeno)
        CajaMensaje(Texto(kPresentadorAjeno), Texto(kNoSePuede), IconoMensaje::Aviso);
    return resultado;
}

void ImportacionCSB::IniciaImportacion(Progreso progreso, Mensaje mensaje, Contadores contadores)
{
    m_progreso = std::move(progreso);
    m_mensaje = std::move(mensaje);
    m_contadores = std::move(contadores);
    m_seguir = true;
    m_fallo = m_ajeno = m_confirmada = false;
    m_presentador = {};
    m_emisor = {};
    m_remesa = {};
    m_recibo = {};
    m_librado = {};
    m_idPresentador.clear();
    m_idEmisor.clear();
    m_idRemesa.clear();
    m_pasos = m_hechos = 0;
    m_ultimoPaso = m_ultimosContadores = 0;
    m_linea = m_lineaRecibo = 1;
    m_pagina.assign(640, ' ');
    CeroContadores();
}

// Every kind the import handles must be in the layout, with the fields it needs.
bool ImportacionCSB::CompruebaLayout(const LineDefList &layout)
{
    for (char clase : {'1', '3', '6', '8', '9'}) {
        bool hallada = false;
        for (const LineDef &tipo : layout) {
            if (Clase(tipo.id) != clase)
                continue;
            hallada = true;
            if ((clase == '8' || clase == '9') && tipo.fields.empty())
                return false;
            for (const char *clave : Necesarias(clase)) {
                bool tiene = false;
                for (const FieldDef &campo : tipo.fields)
                    tiene = tiene || Contiene(campo, clave);
                if (!tiene)
                    return false;
            }
        }
        if (!hallada)
            return false;
    }
    return true;
}

// First pass: the file's structure, and every record one the layout reads. Counts the
// steps. False after reporting the refusal.
bool ImportacionCSB::CompruebaFichero(std::string_view ruta, const LineDefList &layout)
{
    LectorLineas lector(ruta);
    EstructuraCSB estructura(true);
    std::string linea;
    while (lector.Lee(linea)) {
        if (!estructura.Linea(linea, lector.Numero())) {
            Refusa(estructura.Motivo(), estructura.LineaFallo());
            return false;
        }
        if (linea.empty())
            continue;
        const LineDef *tipo = ReconoceLinea(layout, linea);
        if (!tipo || Clase(tipo->id) == 0) {
            AvisoImportacion(Texto(kErrorLayout));
            AvisoLinea(kErrorLinea, lector.Numero());
            return false;
        }
        m_pasos += 1 + int(tipo->fields.size());
    }
    if (lector.Error()) {
        AvisoImportacion(Texto(kErrorDatos));
        return false;
    }
    if (!estructura.Fin(lector.Numero())) {
        Refusa(estructura.Motivo(), estructura.LineaFallo());
        return false;
    }
    return true;
}

void ImportacionCSB::Refusa(int motivo, int linea)
{
    AvisoImportacion(Texto(kFormatoIncorrecto));
    AvisoImportacion(Texto(motivo));
    AvisoLinea(kErrorLinea, linea);
    AvisoImportacion(Texto(kNoSePuede));
}

// Second pass, in one transaction with the coordination paused. True when committed.
bool ImportacionCSB::Importa(std::string_view ruta, const LineDefList &layout)
{
    _multiuser *coordinacion = App().Multiuser;
    const bool pausado = coordinacion && coordinacion->Pausado;
    if (coordinacion)
        coordinacion->Pausado = true;
    bool hecho = VASQ_BeginTrans() == 0;
    if (hecho) {
        LectorLineas lector(ruta);
        std::string linea;
        while (m_seguir && lector.Lee(linea))
            if (const LineDef *tipo = linea.empty() ? nullptr : ReconoceLinea(layout, linea))
                P_IMPORTACION_ImportaOLine(CortaLinea(*tipo, linea, lector.Numero()));
        hecho = m_seguir && !m_fallo && !lector.Error() && VASQ_CommitTrans() == 0;
        if (!hecho)
            VASQ_Rollback();
    }
    if (coordinacion)
        coordinacion->Pausado = pausado;
    return hecho;
}

void ImportacionCSB::P_IMPORTACION_ImportaOLine(const LineDef &linea)
{
    Paso();
    const char clase = Clase(linea.id);
    for (const FieldDef &campo : linea.fields) {
        Paso();
        m_linea = linea.line_number;
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
        if (!m_seguir || m_fallo) {
            m_seguir = false;
            return;
        }
    }
}

void ImportacionCSB::Paso(bool forzado)
{
    if (!forzado)
        ++m_hechos;
    const long long ahora = Ahora();
    if (m_progreso && (forzado || ahora - m_ultimoPaso >= IntervaloMs)) {
        m_ultimoPaso = ahora;
        m_progreso(0, m_pasos, forzado ? m_pasos : m_hechos);
    }
    EnviaContadores(forzado);
}

void ImportacionCSB::EnviaContadores(bool forzado)
{
    const long long ahora = Ahora();
    if (!m_contadores || (!forzado && ahora - m_ultimosContadores < IntervaloMs))
        return;
    m_ultimosContadores = ahora;
    m_contadores({Emisores.Importados, Remesas.Importados, Recibos.Importados, Librados.Importados,
                  Emisores.Repetidos, Remesas.Repetidos, Recibos.Repetidos, Librados.Repetidos, Emisores.Erroneos,
                  Remesas.Erroneos, Recibos.Erroneos, Librados.Erroneos});
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

// ---- Messages, report and SQL ----

void ImportacionCSB::AvisoImportacion(const std::string &texto)
{
    if (m_mensaje)
        m_mensaje(texto);
    EscribeInformeCSB(texto);
}

void ImportacionCSB::EscribeInformeCSB(const std::string &texto)
{
    if (!m_informe)
        return;
    std::fwrite(texto.data(), 1, texto.size(), m_informe);
    std::fputc('\n', m_informe);
}

void ImportacionCSB::AvisoLinea(int texto, int linea)
{
    AvisoImportacion(FormateaTexto(Texto(texto), linea));
}

void ImportacionCSB::Duplicado(int texto)
{
    AvisoImportacion(Texto(texto));
    AvisoLinea(kErrorLinea, m_linea);
}

bool ImportacionCSB::ConsultaImportacion(const std::string &sql,
                                         const std::function<void(char *fila, char *seguir)> &fila)
{
    const std::string error = DBGetData(sql, [&fila](char *texto, char *seguir, int) { fila(texto, seguir); });
    if (error.empty())
        return true;
    AvisoImportacion(error);
    AvisoLinea(kErrorLinea, m_linea);
    Falla();
    return false;
}

bool ImportacionCSB::EjecutaImportacion(const std::string &sql, int &filas)
{
    const std::string error = DBExecSQL(sql, filas);
    if (error.empty() && filas > 0)
        return true;
    if (!error.empty())
        AvisoImportacion(error);
    AvisoLinea(kErrorLinea, m_linea);
    Falla();
    return false;
}

void ImportacionCSB::Falla()
{
    m_fallo = true;
    m_seguir = false;
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
    const std::string empresa = std::to_string(Numero(p.Id_empresa));
    const std::string otro = GetTipoOrdenStr(m_tipoOrden == 1 ? 2 : 1);
    std::string hallado;
    if (!ConsultaImportacion(
            "SELECT [_Presentadores( Datos )].Id_presentador,[_Presentadores( Datos )].Id_orden FROM "
            "[_Presentadores( Datos )] WHERE [_Presentadores( Datos )].Id_empresa=" + empresa + " AND " +
                IgualTexto("[_Presentadores( Datos )].Id_nif", Sql(p.Id_nif)) + " AND " +
                IgualTexto("[_Presentadores( Datos )].Sufijo", Sql(p.Sufijo)) + ";",
            [&](char *fila, char *seguir) {
                if (cp1252::equalNoCase(GetCampoTexto("Id_orden", fila), otro))
                    return;
                hallado = GetCampo("Id_presentador", fila);
                *seguir = 0;
            }))
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
            empresa, m_tipo, Sql(p.Id_nif + p.Sufijo), Sql(p.Id_nif), Sql(p.Sufijo), Sql(p.Razon_social));
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
    if (!ConsultaImportacion("SELECT [_Emisores( Datos )].Id_emisor FROM [_Emisores( Datos )] WHERE Id_presentador=" +
                                 m_idPresentador + " AND " + IgualTexto("Cuenta_abono", Sql(e.Cuenta_abono)) +
                                 " AND " + IgualTexto("Id_nif", Sql(e.Id_nif)) + " AND " +
                                 IgualTexto("Sufijo", Sql(e.Sufijo)) + ";",
                             [this](char *fila, char *) { m_idEmisor = GetCampo("Id_emisor", fila); }))
        return;
    if (!m_idEmisor.empty()) {
        ++Emisores.Repetidos;
    } else {
        const std::string sql =
            m_tipoOrden == 1
                ? FormateaTexto("INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo,Razon_social,"
                                "Cuenta_abono,Cuenta_cargo,Block)  VALUES (%s,'%s','%s','%s','%s','%s',0);",
                                m_idPresentador, Sql(e.Id_nif), Sql(e.Sufijo), Sql(e.Razon_social),
                                Sql(e.Cuenta_abono), Sql(m_presentador.Cuenta_cargo))
                : FormateaTexto("INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo,Razon_social,"
                                "Cuenta_abono,Codigo_NIE,Cuenta_cargo,Block)  VALUES "
                                "(%s,'%s','%s','%s','%s','%s','%s',0);",
                                m_idPresentador, Sql(e.Id_nif), Sql(e.Sufijo), Sql(e.Razon_social),
                                Sql(e.Cuenta_abono), Sql(e.Codigo_NIE), Sql(m_presentador.Cuenta_cargo));
        int filas = 0;
        if (!EjecutaImportacion(sql, filas)) {
            ++Emisores.Erroneos;
            return;
        }
        m_idEmisor = std::to_string(VASQ_GetLastInsertID());
        ++Emisores.Importados;
    }
    EnviaContadores();
    m_emisor = {};
    m_remesa.Id_emisor = m_librado.Id_emisor = m_idEmisor;
    CreaRemesa();
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
