// The sequential import run without windows.
#include "Importacionusuario.h"

#include "Aplicacion.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "cp1252.h"
#include "qcp1252.h"
#include "progdir.h"
#include "vasqdb.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>
#include <sys/stat.h>

namespace {

// Texts of this unit.
constexpr int kTextoNadaImportado = 960;
constexpr int kTextoDemasiadoLargo = 730;
constexpr int kTextoLeidoUtf8 = 737;
constexpr int kTextoLeido1252 = 738;
constexpr int kTextoLeidoMezcla = 975;

// What the window and the log show as the batches' repeated count.
constexpr const char *kSinRepetidos = "--";

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

long long Ahora()
{
    static QElapsedTimer reloj = [] {
        QElapsedTimer r;
        r.start();
        return r;
    }();
    return reloj.elapsed();
}

long long Tamano(const std::string &ruta)
{
    struct stat st;
    return ::stat(cp1252::fileName(ruta).c_str(), &st) == 0 ? (long long)st.st_size : 0;
}

std::string FechaHora()
{
    const QLocale local;
    const QDateTime ahora = QDateTime::currentDateTime();
    return FechaUsuario(ahora.date()) + " " + cp1252::fromUtf8(local.toString(ahora.time(), QLocale::ShortFormat).toStdString());
}

// The pending flags, in the order the records are saved.
enum Pendiente { PEmpresa, PPresentador, PEmisor, PLibrado, PRecibo };

} // namespace

struct _ImportacionUsuario::Objetos {
    explicit Objetos(EntornoImportacion &e)
        : Empresa(e), Presentador(e, Empresa), Emisor(e, Presentador), Remesa(e, Empresa, Emisor),
          Librado(e, Emisor), Recibo(e, Remesa, Librado)
    {
    }
    _Empresa Empresa;
    _Presentador Presentador;
    _Emisor Emisor;
    _Remesa Remesa;
    _Librado Librado;
    _Recibo Recibo;
};

_ImportacionUsuario::_ImportacionUsuario(Avisos avisos) : m_avisos(std::move(avisos)) {}

_ImportacionUsuario::~_ImportacionUsuario()
{
    if (m_log)
        std::fclose(m_log);
}

ContadoresImportacion _ImportacionUsuario::Contadores() const
{
    if (!m_objetos)
        return m_contadores;
    return {m_objetos->Empresa.Cuenta(), m_objetos->Presentador.Cuenta(), m_objetos->Emisor.Cuenta(),
            m_objetos->Remesa.Cuenta(),  m_objetos->Recibo.Cuenta(),      m_objetos->Librado.Cuenta()};
}

void _ImportacionUsuario::EscribirLog(const std::string &texto)
{
    if (m_log)
        std::fprintf(m_log, "%s\n", texto.c_str());
}

void _ImportacionUsuario::Mensaje(const std::string &texto)
{
    if (m_avisos.Mensaje)
        m_avisos.Mensaje(texto);
    EscribirLog(texto);
}

void _ImportacionUsuario::Avanza(long long hecho, long long total, bool guardando, bool ahora)
{
    const long long t = Ahora();
    if (!ahora && t - m_ultimoAviso < m_intervalo)
        return;
    m_ultimoAviso = t;
    if (m_avisos.Progreso)
        m_avisos.Progreso(hecho, total, guardando);
}

bool ConstruyeEntradas(const std::string &datos, const LineDefList &layout, std::vector<EntradaImportacion> &entradas,
                       const std::function<bool(long long leidos, long long tamano)> &seguir, LecturaDatos *lectura)
{
    LectorLineas lector(datos);
    if (!lector.Abierto())
        return false;
    LecturaDatos leidas;
    const long long tamano = Tamano(datos);
    std::vector<char> visto(layout.size(), 0);
    size_t previo = 0;
    int marcaPendiente = 0;
    std::string linea;
    LineDef cortada;
    while (seguir(lector.Leidos(), tamano) && lector.Lee(linea)) {
        const cp1252::Utf8Form forma = LeeLineaDatos(linea);
        if (forma == cp1252::Utf8Form::Multibyte)
            ++leidas.Utf8;
        else if (forma == cp1252::Utf8Form::Malformed && ++leidas.Ansi == 1)
            leidas.PrimeraAnsi = lector.Numero();
        const LineDef *tipo = ReconoceLinea(layout, linea);
        if (!tipo)
            continue;
        const size_t j = size_t(tipo - layout.data());
        int marca = 1;
        if (visto[j] || j < previo) {
            marca = 2;
            std::fill(visto.begin(), visto.end(), 0);
        }
        visto[j] = 1;
        previo = j;
        marcaPendiente = std::max(marcaPendiente, marca);
        CortaLinea(*tipo, linea, lector.Numero(), cortada);
        for (size_t k = 0; k < cortada.fields.size(); ++k) {
            const FieldDef &campo = cortada.fields[k];
            if (campo.user_data.rfind("NULL", 0) == 0)
                continue;
            EntradaImportacion e;
            e.Enlace = &tipo->fields[k].user_data;
            e.Valor = campo.data ? *campo.data : " ";
            e.Tipo = campo.type.empty() ? "NULL" : campo.type.substr(0, 24);
            e.Marca = marcaPendiente;
            e.Linea = lector.Numero();
            marcaPendiente = 0;
            entradas.push_back(std::move(e));
        }
    }
    EntradaImportacion cierre;
    cierre.Marca = 3;
    entradas.push_back(cierre);
    if (lectura)
        *lectura = leidas;
    return !lector.Error();
}

bool _ImportacionUsuario::GuardaPendientes()
{
    Objetos &o = *m_objetos;
    _Tabla *organizacion[] = {&o.Empresa, &o.Presentador, &o.Emisor};
    bool bien = true;
    for (int p = PEmpresa; p <= PEmisor && bien; ++p)
        if (m_pendientes[p]) {
            bien = organizacion[p]->Guardar();
            if (!bien && organizacion[p]->Linea() > 0)
                m_lineaRegistro = organizacion[p]->Linea();
            if (bien && p == PEmisor)
                o.Remesa.Guardar();
        }
    if (bien && m_pendientes[PLibrado])
        o.Librado.Guardar();
    if (bien && m_pendientes[PRecibo])
        o.Recibo.Guardar();
    std::fill(std::begin(m_pendientes), std::end(m_pendientes), false);
    if (!bien && !m_entorno.Fallo) {
        m_parado = true;
        m_seguir = false;
    }
    return bien && !m_entorno.Fallo;
}

void _ImportacionUsuario::ProcesarDato(const EntradaImportacion &entrada)
{
    if (entrada.Marca > 1) {
        if (!GuardaPendientes())
            return;
        m_lineaRegistro = entrada.Linea;
    }
    if (entrada.Marca == 3)
        return;
    std::string tipo = entrada.Tipo;
    QuitaBlancos(tipo);
    EntradaImportacion convertida;
    convertida.Enlace = entrada.Enlace;
    convertida.Linea = entrada.Linea;
    int motivo = 0;
    const std::optional<std::string> valor =
        ConvierteValor(entrada.Valor, tipo, m_entorno.Euros, m_opciones.Separador_decimal, &motivo);
    convertida.Valor = valor ? *valor : Recorta(entrada.Valor);
    convertida.Rechazo = short(valor ? 0 : motivo);
    Objetos &o = *m_objetos;
    _Tabla *tablas[] = {&o.Empresa, &o.Presentador, &o.Emisor, &o.Librado, &o.Recibo};
    for (int p = PEmpresa; p <= PRecibo; ++p)
        if (tablas[p]->TomarDato(convertida)) {
            m_pendientes[p] = true;
            return;
        }
}

void _ImportacionUsuario::MostrarResumen()
{
    const ContadoresImportacion c = Contadores();
    auto t = [](int n) { return std::to_string(n); };
    EscribirLog(Texto(546));
    EscribirLog(FormateaTexto(Texto(579), c.Empresas.Importados, c.Empresas.Repetidos, c.Empresas.Erroneos));
    EscribirLog(
        FormateaTexto(Texto(580), c.Presentadores.Importados, c.Presentadores.Repetidos, c.Presentadores.Erroneos));
    const std::pair<int, const Contador *> filas[] = {
        {581, &c.Emisores}, {582, &c.Remesas}, {583, &c.Recibos}, {584, &c.Librados}};
    for (const auto &[texto, cuenta] : filas) {
        // Batches are never repeated: their row says so as the window does.
        const std::string repetidos = cuenta == &c.Remesas ? kSinRepetidos : t(cuenta->Repetidos);
        EscribirLog(FormateaTexto(Texto(texto), t(cuenta->Importados), repetidos, t(cuenta->Erroneos)));
    }
}

_ImportacionUsuario::Resultado _ImportacionUsuario::Ejecuta(const std::string &plantilla, const std::string &datos,
                                                            int idUsuario, int idEmpresa)
{
    m_seguir = true;
    m_parado = false;
    m_entradas.clear();
    m_contadores = {};
    m_empresaActual = true;
    m_nombreEmpresa.clear();
    m_lineaRegistro = 0;
    m_idUsuario = idUsuario;
    m_idEmpresa = idEmpresa;
    std::fill(std::begin(m_pendientes), std::end(m_pendientes), false);

    m_rutaLog = CambiaExtension(datos, ".log");
    m_log = cp1252::openFile(m_rutaLog, "ab");
    const Resultado resultado = Importa(plantilla, datos);
    if (m_log)
        std::fclose(m_log);
    m_log = nullptr;
    return resultado;
}

_ImportacionUsuario::Resultado _ImportacionUsuario::Importa(const std::string &plantilla, const std::string &datos)
{
    EscribirLog("");
    EscribirLog(Texto(529) + FechaHora());

    OpcionesImportacion defecto;
    defecto.Separador_decimal = " ";
    m_opciones = LeeOpciones(RutaOpciones(plantilla), defecto);
    m_entorno = EntornoImportacion{};
    m_entorno.IdUsuario = m_idUsuario;
    m_entorno.IdEmpresa = m_idEmpresa;
    m_entorno.Tipos_orden = m_opciones.Tipos_orden;
    m_entorno.Euros = m_opciones.Moneda != "Peseta";
    m_entorno.EmisionFactura = m_opciones.Emision_factura.rfind("Si", 0) == 0;
    m_entorno.Catalogo = progdir::file("tablas.dat");
    m_entorno.Mensaje = [this](const std::string &t) { Mensaje(t); };
    m_entorno.Log = [this](const std::string &t) { EscribirLog(t); };

    Mensaje(Texto(271));
    LineDefList layout;
    std::string largo;
    if (const int leida = LoadLineLayout(plantilla, layout, &largo); leida != 0) {
        Mensaje(Texto(274));
        if (leida == -2)
            Mensaje(FormateaTexto(Texto(kTextoDemasiadoLargo), largo));
        return Resultado::SinPlantilla;
    }
    m_ejecutando = true;
    LecturaDatos lectura;
    const bool leido = ConstruyeEntradas(
        datos, layout, m_entradas,
        [this](long long leidos, long long tamano) {
            Avanza(leidos, tamano, false);
            return m_seguir;
        },
        &lectura);
    if (!leido) {
        m_ejecutando = false;
        m_entradas.clear();
        Mensaje(Texto(275));
        return Resultado::SinDatos;
    }
    if (!m_seguir) {
        m_ejecutando = false;
        m_entradas.clear();
        return Resultado::Cancelada;
    }
    if (lectura.Utf8 > 0 && lectura.Ansi > 0)
        Mensaje(FormateaTexto(Texto(kTextoLeidoMezcla), lectura.Utf8, lectura.Ansi, lectura.PrimeraAnsi));
    else
        Mensaje(Texto(lectura.Utf8 > 0 ? kTextoLeidoUtf8 : kTextoLeido1252));

    PausaMultiusuario pausa(App().Multiuser);
    const bool transaccion = VASQ_BeginTrans() == 0;
    m_entorno.Fallo = !transaccion;
    m_objetos = std::make_unique<Objetos>(m_entorno);
    const long long total = (long long)m_entradas.size();
    long long i = 0;
    m_lineaRegistro = m_entradas.front().Linea;
    Avanza(0, total, true, true);
    for (; i < total && m_seguir && !m_entorno.Fallo; ++i) {
        ProcesarDato(m_entradas[size_t(i)]);
        Avanza(i + 1, total, true);
    }
    const bool paradaUsuario = !m_seguir && !m_parado && !m_entorno.Fallo;
    if (!paradaUsuario && !m_parado && !m_entorno.Fallo)
        m_objetos->Remesa.Finalizar();
    Resultado resultado = m_entorno.Fallo ? Resultado::Fallida
                          : paradaUsuario ? Resultado::Parada
                          : m_parado      ? Resultado::Rechazada
                                          : Resultado::Terminada;
    if (resultado == Resultado::Terminada) {
        if (VASQ_CommitTrans() != 0) {
            VASQ_Rollback();
            VASQ_GetLastErrorCodeID();
            resultado = Resultado::Fallida;
        }
    } else if (transaccion) {
        VASQ_Rollback();
    }
    Avanza(resultado == Resultado::Rechazada ? 0 : i, total, true, true);

    EscribirLog("");
    switch (resultado) {
    case Resultado::Terminada:
        Mensaje(Texto(277));
        break;
    case Resultado::Parada:
        Mensaje(Texto(545));
        Mensaje(Texto(kTextoNadaImportado));
        break;
    default:
        Mensaje(Texto(282));
        Mensaje(FormateaTexto(Texto(619), m_lineaRegistro));
        Mensaje(Texto(kTextoNadaImportado));
        break;
    }
    m_empresaActual = m_objetos->Empresa.EmpresaActual();
    m_nombreEmpresa = m_objetos->Empresa.NombreEmpresa();
    MostrarResumen();
    m_contadores = Contadores();
    m_objetos.reset();
    m_entradas.clear();
    m_ejecutando = false;

    EscribirLog(Texto(547));
    EscribirLog("");
    EscribirLog("");
    Mensaje(Texto(548) + m_rutaLog);
    Mensaje(Texto(549));
    return resultado;
}
