// The bills grid's model over vasqdb's index cache.
#include "ModeloRecibos.h"

#include "General.h"
#include "Modmas.h"
#include "Registros.h"
#include "qcp1252.h"
#include "vasqdb.h"

#include <algorithm>

namespace {

// Rows held beyond the screens around the last fill are let go once more than this many
// are held.
constexpr int kMinFilasRetenidas = 200;

// Rows read at once by a search.
constexpr int kFilasBusqueda = 500;

// Longest index row text read (the index holds keys: a longer one is no row of ours).
constexpr size_t kMaxTextoIndice = size_t(1) << 20;

// The cells of the bills whose ids are listed; the ids are joined into the query whole.
constexpr const char *kConsultaCeldas =
    "SELECT [Documentos()].Situacion, [Librados( Datos )].Cuenta, [Documentos()].F_vencimiento, "
    "[Librados( Datos )].Razon_social, [Documentos()].Importe, [Documentos()].Id_documento, "
    "[Documentos()].Cod_devolucion, [Documentos()].Activo, [Documentos()].Contravalor, [Remesas()].Id_moneda "
    "FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN [Documentos()] ON [Librados( Datos )].Id_librado "
    "= [Documentos()].Id_librado) ON [Remesas()].Id_remesa = [Documentos()].Id_remesa "
    "WHERE [Documentos()].Id_documento IN (";

// Row fila of the index as text; false when the index cannot give it. Reads the whole row
// whatever its length.
bool LeeIndice(int fila, std::string &texto)
{
    static std::vector<char> buffer(256);
    for (;;) {
        const int resultado = C_IndexDataSize(fila, buffer.data(), int(buffer.size()));
        if (resultado == 0) {
            texto.assign(buffer.data());
            return true;
        }
        if (resultado == 1 || buffer.size() >= kMaxTextoIndice)
            return false;
        VASQ_GetLastErrorCodeID(); // the row did not fit: read it again into a larger buffer
        buffer.resize(buffer.size() * 2);
    }
}

std::string Trozo(const std::string &texto, size_t desde, size_t largo)
{
    return desde < texto.size() ? texto.substr(desde, largo) : std::string();
}

// The account in its four groups: bank, branch, control digits, account.
std::string CuentaEnGrupos(const std::string &cuenta)
{
    if (cuenta == "NULL")
        return {};
    return Trozo(cuenta, 0, 4) + "-" + Trozo(cuenta, 4, 4) + "-" + Trozo(cuenta, 8, 2) + "-" + Trozo(cuenta, 10, 10);
}

std::string FechaEnPantalla(std::string fecha)
{
    if (fecha == "NULL")
        return {};
    return FechaDDMMAAToStr(QuitaBlancos(fecha));
}

void LogIndice(const std::string &sql)
{
    char texto[1024] = "";
    VASQ_GetLastErrorCodeDesc(texto, sizeof texto);
    WriteLog(std::string("[ TFormMain::InicIndiceRecibos ] ") + texto);
    WriteLog("  DETALLE SQL: " + sql);
}

} // namespace

TModeloRecibos::TModeloRecibos(QObject *parent)
    : QAbstractTableModel(parent)
{
    m_titulos.resize(NumColumnas);
}

int TModeloRecibos::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_numFilas;
}

int TModeloRecibos::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant TModeloRecibos::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_numFilas)
        return {};
    if (index.column() == ColMarca)
        return Marcada(index.row()) ? QStringLiteral("SEL") : QString();
    return FilaRetenida(index.row()).celdas[size_t(index.column())];
}

Qt::ItemFlags TModeloRecibos::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return index.isValid() && index.column() == ColImporte ? base | Qt::ItemIsEditable : base;
}

void TModeloRecibos::SetCelda(int fila, int columna, const std::string &texto)
{
    if (fila < 0 || fila >= m_numFilas || columna < 0 || columna >= ColMarca)
        return;
    FilaRetenida(fila);
    m_filas[fila].celdas[size_t(columna)] = cp1252::toQString(texto);
    emit dataChanged(index(fila, columna), index(fila, columna));
}

QVariant TModeloRecibos::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= NumColumnas)
        return {};
    return m_titulos[size_t(section)];
}

void TModeloRecibos::SetTitulos(const std::vector<std::string> &titulos)
{
    for (size_t i = 0; i < m_titulos.size(); ++i)
        m_titulos[i] = i < titulos.size() ? cp1252::toQString(titulos[i]) : QString();
    emit headerDataChanged(Qt::Horizontal, 0, NumColumnas - 1);
}

// ---- Index ----

int TModeloRecibos::Abre(const std::string &sqlIndice, const std::string &moneda)
{
    beginResetModel();
    m_sql = sqlIndice;
    m_moneda = moneda;
    m_filas.clear();
    m_marcas.clear();
    int filas = 0;
    const int resultado = C_InicIndexData(m_sql.c_str(), &filas);
    if (resultado != 0) {
        LogIndice(m_sql);
        filas = 0;
    }
    m_numFilas = filas;
    endResetModel();
    return resultado;
}

void TModeloRecibos::Vacia()
{
    beginResetModel();
    m_sql.clear();
    m_filas.clear();
    m_marcas.clear();
    m_numFilas = 0;
    endResetModel();
}

int TModeloRecibos::Reindexa(const std::vector<int> &sigue, std::vector<int> &filas)
{
    filas.assign(sigue.size(), -1);
    int numFilas = 0;
    const int resultado = m_sql.empty() ? 0 : C_InicIndexData(m_sql.c_str(), &numFilas);
    if (resultado != 0) {
        LogIndice(m_sql);
        numFilas = 0;
    }
    if (numFilas > m_numFilas) {
        beginInsertRows(QModelIndex(), m_numFilas, numFilas - 1);
        m_numFilas = numFilas;
        endInsertRows();
    } else if (numFilas < m_numFilas) {
        beginRemoveRows(QModelIndex(), numFilas, m_numFilas - 1);
        m_filas.erase(m_filas.lower_bound(numFilas), m_filas.end());
        m_numFilas = numFilas;
        endRemoveRows();
    }
    for (auto &[fila, datos] : m_filas)
        datos.vigente = false;

    // One pass over the index finds where the marked and the followed bills are now.
    std::unordered_set<int> quedan;
    size_t halladas = 0;
    const size_t buscadas = size_t(std::count_if(sigue.begin(), sigue.end(), [](int id) { return id > 0; }));
    for (int fila = 0; fila < m_numFilas && (quedan.size() < m_marcas.size() || halladas < buscadas); ++fila) {
        const int id = IdFila(fila);
        if (m_marcas.count(id))
            quedan.insert(id);
        for (size_t i = 0; i < sigue.size(); ++i)
            if (id > 0 && sigue[i] == id && filas[i] < 0) {
                filas[i] = fila;
                ++halladas;
            }
    }
    m_marcas.swap(quedan);
    return resultado;
}

// ---- Rows ----

std::vector<TModeloRecibos::Fila> TModeloRecibos::LeeFilas(int primera, int ultima) const
{
    std::vector<Fila> leidas(size_t(std::max(0, ultima - primera + 1)));
    std::string lista, texto;
    std::map<int, std::vector<size_t>> posiciones; // id -> places in leidas
    for (int fila = primera; fila <= ultima; ++fila) {
        ++m_filasIndiceLeidas;
        if (!LeeIndice(fila, texto))
            continue;
        const int id = Numero(GetCampo("Id_documento", texto));
        if (id <= 0)
            continue;
        leidas[size_t(fila - primera)].id = id;
        if (posiciones[id].empty())
            lista += (lista.empty() ? "" : ",") + std::to_string(id);
        posiciones[id].push_back(size_t(fila - primera));
    }
    if (lista.empty())
        return leidas;
    const std::string otra = m_moneda == kMonedaPesetas ? kMonedaEuros : kMonedaPesetas;
    DBGetData(kConsultaCeldas + lista + ");", [&](char *texto, char *, int) {
        const std::string fila(texto);
        const auto p = posiciones.find(Numero(GetCampo("Id_documento", fila)));
        if (p == posiciones.end())
            return;
        auto celda = [](const std::string &t) { return cp1252::toQString(t); };
        std::array<QString, ColMarca> celdas;
        celdas[ColId] = celda(GetCampo("Id_documento", fila));
        celdas[ColEstado] =
            celda(TextoEstadoRecibo(GetEstadoRecibo(GetCampo("Activo", fila), GetCampo("Situacion", fila))));
        celdas[ColVencimiento] = celda(FechaEnPantalla(GetCampo("F_vencimiento", fila)));
        celdas[ColLibrado] = celda(GetCampoTexto("Razon_social", fila));
        celdas[ColCuenta] = celda(CuentaEnGrupos(GetCampoTexto("Cuenta", fila)));
        celdas[ColImporte] = celda(FormatImporte(GetCampo("Importe", fila), m_moneda));
        celdas[ColMoneda] = celda(GetCampoTexto("Id_moneda", fila));
        celdas[ColContravalor] = celda(FormatImporte(GetCampo("Contravalor", fila), otra));
        for (size_t i : p->second)
            leidas[i].celdas = celdas;
    });
    return leidas;
}

const TModeloRecibos::Fila &TModeloRecibos::FilaRetenida(int fila) const
{
    auto p = m_filas.find(fila);
    if (p == m_filas.end() || !p->second.vigente)
        p = m_filas.insert_or_assign(fila, LeeFilas(fila, fila).front()).first;
    return p->second;
}

void TModeloRecibos::LlenaFilas(int primera, int ultima, bool releer)
{
    primera = std::max(primera, 0);
    ultima = std::min(ultima, m_numFilas - 1);
    if (primera > ultima)
        return;
    // Read in runs of consecutive rows, one query each.
    for (int fila = primera; fila <= ultima;) {
        auto leer = [&](int f) {
            const auto p = m_filas.find(f);
            return p == m_filas.end() || !p->second.vigente || releer;
        };
        if (!leer(fila)) {
            ++fila;
            continue;
        }
        int fin = fila;
        while (fin + 1 <= ultima && leer(fin + 1))
            ++fin;
        std::vector<Fila> leidas = LeeFilas(fila, fin);
        for (int f = fila; f <= fin; ++f) {
            Fila &nueva = leidas[size_t(f - fila)];
            const auto p = m_filas.find(f);
            const bool cambia = p != m_filas.end() && (p->second.id != nueva.id || p->second.celdas != nueva.celdas);
            m_filas.insert_or_assign(f, std::move(nueva));
            if (cambia)
                emit dataChanged(index(f, 0), index(f, NumColumnas - 1));
        }
        fila = fin + 1;
    }
    Recorta(primera, ultima);
}

void TModeloRecibos::Recorta(int primera, int ultima) const
{
    const int pantalla = ultima - primera + 1;
    if (int(m_filas.size()) <= std::max(kMinFilasRetenidas, 5 * pantalla))
        return;
    m_filas.erase(m_filas.begin(), m_filas.lower_bound(primera - 2 * pantalla));
    m_filas.erase(m_filas.upper_bound(ultima + 2 * pantalla), m_filas.end());
}

std::string TModeloRecibos::Celda(int fila, int columna) const
{
    if (fila < 0 || fila >= m_numFilas || columna < 0 || columna >= NumColumnas)
        return {};
    return cp1252::fromQString(data(index(fila, columna)).toString());
}

int TModeloRecibos::Busca(int desde, int columna, const QString &texto) const
{
    if (columna < 0 || columna >= NumColumnas)
        return -1;
    for (int primera = std::max(desde, 0); primera < m_numFilas; primera += kFilasBusqueda) {
        const int ultima = std::min(primera + kFilasBusqueda, m_numFilas) - 1;
        const std::vector<Fila> leidas = columna == ColMarca ? std::vector<Fila>() : LeeFilas(primera, ultima);
        for (int fila = primera; fila <= ultima; ++fila) {
            const auto p = m_filas.find(fila);
            const bool retenida = p != m_filas.end() && p->second.vigente;
            const QString celda = columna == ColMarca ? data(index(fila, columna)).toString()
                                  : retenida          ? p->second.celdas[size_t(columna)]
                                                      : leidas[size_t(fila - primera)].celdas[size_t(columna)];
            if (celda.contains(texto))
                return fila;
        }
    }
    return -1;
}

int TModeloRecibos::IdFila(int fila) const
{
    const auto p = m_filas.find(fila);
    if (p != m_filas.end() && p->second.vigente && p->second.id > 0)
        return p->second.id;
    if (fila < 0 || fila >= m_numFilas)
        return 0;
    ++m_filasIndiceLeidas;
    std::string texto;
    return LeeIndice(fila, texto) ? std::max(0, Numero(GetCampo("Id_documento", texto))) : 0;
}

int TModeloRecibos::FilaDeId(int id) const
{
    for (int fila = 0; id > 0 && fila < m_numFilas; ++fila)
        if (IdFila(fila) == id)
            return fila;
    return -1;
}

// ---- Marks ----

bool TModeloRecibos::Marcada(int fila) const
{
    return !m_marcas.empty() && m_marcas.count(IdFila(fila)) > 0;
}

void TModeloRecibos::AvisaMarca(int fila)
{
    emit dataChanged(index(fila, 0), index(fila, NumColumnas - 1));
}

void TModeloRecibos::Marca(int fila, bool marcada)
{
    const int id = IdFila(fila);
    if (id <= 0 || (m_marcas.count(id) > 0) == marcada)
        return;
    if (marcada)
        m_marcas.insert(id);
    else
        m_marcas.erase(id);
    AvisaMarca(fila);
}

void TModeloRecibos::MarcaRango(int desde, int hasta)
{
    if (desde > hasta)
        std::swap(desde, hasta);
    desde = std::max(desde, 0);
    hasta = std::min(hasta, m_numFilas - 1);
    for (int fila = desde; fila <= hasta; ++fila)
        if (const int id = IdFila(fila); id > 0)
            m_marcas.insert(id);
    if (desde <= hasta)
        emit dataChanged(index(desde, 0), index(hasta, NumColumnas - 1));
}

void TModeloRecibos::DesmarcaTodas()
{
    if (m_marcas.empty())
        return;
    m_marcas.clear();
    if (m_numFilas > 0)
    emit dataChanged(index(0, 0), index(m_numFilas - 1, NumColumnas - 1));
}

std::vector<int> TModeloRecibos::Marcadas() const
{
    std::vector<int> ids;
    for (int fila = 0; fila < m_numFilas && ids.size() < m_marcas.size(); ++fila)
        if (const int id = IdFila(fila); m_marcas.count(id))
            ids.push_back(id);
    return ids;
}
