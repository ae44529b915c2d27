// The run frame of the CSB imports: checks, transaction, report, progress and counters.
#include "ImportacionMarco.h"

#include "Aplicacion.h"
#include "Estructuracsb.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "cp1252.h"
#include "vasqdb.h"

#include <QDate>
#include <QTime>
#include <chrono>

namespace {

enum {
    kComenzando = 271,
    kTipoFichero = 272,
    kNombreFichero = 273,
    kErrorLayout = 274,
    kErrorDatos = 275,
    kAbortada = 276,
    kFinalizada = 277,
    kNoSePuede = 282,
    kFormatoIncorrecto = 288,
    kFinInforme = 298,
    kGenerado = 599,
    kContiene = 600,
    kErrorLinea = 619,
    kDemasiadoLargo = 730,
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

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

} // namespace

MarcoImportacion::MarcoImportacion(Provincias provincias)
    : m_provincias(std::move(provincias))
{
}

MarcoImportacion::~MarcoImportacion()
{
    if (m_informe)
        std::fclose(m_informe);
}

std::string MarcoImportacion::RutaInformeDe(std::string_view ruta)
{
    const size_t barra = ruta.find_last_of('/');
    const size_t punto = ruta.find_last_of('.');
    const bool conExtension = punto != std::string_view::npos && (barra == std::string_view::npos || punto > barra);
    return std::string(conExtension ? ruta.substr(0, punto) : ruta) + ".log";
}

bool MarcoImportacion::Vacio(std::string_view texto)
{
    return Recorta(texto).empty();
}

std::string MarcoImportacion::Provincia(std::string_view codigo) const
{
    return m_provincias ? m_provincias(codigo) : std::string();
}

// ---- The run ----

int MarcoImportacion::Ejecuta(std::string_view ruta, std::string_view rutaLayout, std::string_view tipo,
                              Progreso progreso, Mensaje mensaje, Contadores contadores)
{
    IniciaImportacion(std::move(progreso), std::move(mensaje), std::move(contadores));
    m_importando = true;
    m_rutaInforme = RutaInformeDe(ruta);
    m_informe = cp1252::openFile(m_rutaInforme, "ab");
    EscribeInformeCSB("");
    EscribeInformeCSB(Texto(TextoCabecera()) + FechaUsuario(QDate::currentDate()) + " " +
                      QTime::currentTime().toString("HH:mm:ss").toStdString());
    AvisoImportacion(Texto(kComenzando));
    AvisoImportacion(Texto(kTipoFichero) + std::string(tipo));
    AvisoImportacion(Texto(kNombreFichero) + std::string(ruta));
    m_tipo = tipo;
    m_tipoOrden = GetTipoOrden(tipo);

    std::string layoutRuta(rutaLayout);
    if (!layoutRuta.empty() && layoutRuta.front() != '/')
        layoutRuta = GetAppPath() + layoutRuta;
    LineDefList layout;
    std::string largo;
    int resultado = 0;
    if (m_tipoOrden == 0) {
        WriteLog("[ P_IMPORTACION::P_IMPORTACION_ImportaOLine ] Tipo de Orden desconocida (no CSB19 o CSB58)");
    } else if (const int leido = LoadLineLayout(layoutRuta, layout, &largo); leido != 0 || !CompruebaLayout(layout)) {
        AvisoImportacion(Texto(kErrorLayout));
        if (leido == -2)
            AvisoImportacion(FormateaTexto(Texto(kDemasiadoLargo), largo));
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
    return resultado;
}

void MarcoImportacion::IniciaImportacion(Progreso progreso, Mensaje mensaje, Contadores contadores)
{
    m_progreso = std::move(progreso);
    m_mensaje = std::move(mensaje);
    m_contadores = std::move(contadores);
    m_seguir = true;
    m_fallo = m_confirmada = false;
    m_pasos = m_hechos = 0;
    m_ultimoPaso = m_ultimosContadores = 0;
    m_linea = 1;
    Inicia();
    CeroContadores();
}

// Every kind of record must be in the layout, with the fields the import needs.
bool MarcoImportacion::CompruebaLayout(const LineDefList &layout) const
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
bool MarcoImportacion::CompruebaFichero(std::string_view ruta, const LineDefList &layout)
{
    LectorLineas lector(ruta);
    EstructuraCSB estructura(true);
    std::string linea;
    LineDef cortada;
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
        if (Clase(tipo->id) == '3') {
            EnhesCSB(linea);
            CortaLinea(*tipo, linea, lector.Numero(), cortada);
            OrdenantePrevio(cortada);
        }
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

void MarcoImportacion::Refusa(int motivo, int linea)
{
    AvisoImportacion(Texto(kFormatoIncorrecto));
    AvisoImportacion(Texto(motivo));
    AvisoLinea(kErrorLinea, linea);
    AvisoImportacion(Texto(kNoSePuede));
}

// Second pass, in one transaction with the coordination paused. True when committed.
bool MarcoImportacion::Importa(std::string_view ruta, const LineDefList &layout)
{
    _multiuser *coordinacion = App().Multiuser;
    const bool pausado = coordinacion && coordinacion->Pausado;
    if (coordinacion)
        coordinacion->Pausado = true;
    bool hecho = VASQ_BeginTrans() == 0;
    if (hecho) {
        m_sentencias.emplace();
        LectorLineas lector(ruta);
        std::string linea;
        LineDef cortada;
        while (m_seguir && lector.Lee(linea))
            if (const LineDef *tipo = linea.empty() ? nullptr : ReconoceLinea(layout, linea)) {
                EnhesCSB(linea);
                CortaLinea(*tipo, linea, lector.Numero(), cortada);
                P_IMPORTACION_ImportaOLine(cortada);
            }
        m_sentencias.reset();
        hecho = m_seguir && !m_fallo && !lector.Error() && VASQ_CommitTrans() == 0;
        if (!hecho)
            VASQ_Rollback();
    }
    if (coordinacion)
        coordinacion->Pausado = pausado;
    return hecho;
}

void MarcoImportacion::P_IMPORTACION_ImportaOLine(const LineDef &linea)
{
    Paso();
    const char clase = Clase(linea.id);
    for (const FieldDef &campo : linea.fields) {
        Paso();
        m_linea = linea.line_number;
        Campo(clase, campo);
        if (!m_seguir || m_fallo) {
            m_seguir = false;
            return;
        }
    }
}

// The clock is read every 64 calls only: a run makes millions of steps.
bool MarcoImportacion::Toca(long long &ultimo, bool forzado)
{
    if (!forzado && ++m_llamadas % 64 != 0)
        return false;
    const long long ahora = Ahora();
    if (!forzado && ahora - ultimo < IntervaloMs)
        return false;
    ultimo = ahora;
    return true;
}

void MarcoImportacion::Paso(bool forzado)
{
    if (!forzado)
        ++m_hechos;
    if (m_progreso && Toca(m_ultimoPaso, forzado))
        m_progreso(0, m_pasos, forzado ? m_pasos : m_hechos);
    EnviaContadores(forzado);
}

void MarcoImportacion::EnviaContadores(bool forzado)
{
    if (m_contadores && Toca(m_ultimosContadores, forzado))
        m_contadores(Cuentas());
}

// ---- Messages, report and SQL ----

void MarcoImportacion::AvisoImportacion(const std::string &texto)
{
    if (m_mensaje)
        m_mensaje(texto);
    EscribeInformeCSB(texto);
}

void MarcoImportacion::EscribeInformeCSB(const std::string &texto)
{
    if (!m_informe)
        return;
    std::fwrite(texto.data(), 1, texto.size(), m_informe);
    std::fputc('\n', m_informe);
}

void MarcoImportacion::AvisoLinea(int texto, int linea)
{
    AvisoImportacion(FormateaTexto(Texto(texto), linea));
}

bool MarcoImportacion::ConsultaImportacion(const std::string &sql,
                                           const std::function<void(char *fila, char *seguir)> &fila)
{
    return ResultadoImportacion(DBGetData(sql, [&fila](char *texto, char *seguir, int) { fila(texto, seguir); }));
}

bool MarcoImportacion::EjecutaImportacion(const std::string &sql, int &filas)
{
    const std::string error = DBExecSQL(sql, filas);
    return ResultadoImportacion(error, filas);
}

bool MarcoImportacion::ResultadoImportacion(const std::string &error, int filas)
{
    if (error.empty() && filas > 0)
        return true;
    if (!error.empty())
        AvisoImportacion(error);
    if (m_conLinea)
        AvisoLinea(kErrorLinea, m_linea);
    Falla();
    return false;
}

void MarcoImportacion::Falla()
{
    m_fallo = true;
    m_seguir = false;
}
