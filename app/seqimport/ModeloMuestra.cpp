// The sample grid's model.
#include "ModeloMuestra.h"

#include "Lineas.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <algorithm>
#include <fstream>
#include <iterator>

ModeloMuestra::ModeloMuestra(QObject *parent)
    : QAbstractTableModel(parent)
{
}

bool ModeloMuestra::Carga(std::string_view ruta)
{
    std::ifstream fichero(cp1252::fileName(ruta), std::ios::binary);
    if (!fichero)
        return false;
    const std::string texto((std::istreambuf_iterator<char>(fichero)), std::istreambuf_iterator<char>());
    if (fichero.bad())
        return false;
    PonTexto(TextoDatos(texto));
    return true;
}

void ModeloMuestra::PonTexto(std::string_view texto)
{
    beginResetModel();
    m_texto.clear();
    m_cortado = false;
    int mayor = 0;
    size_t inicio = 0;
    while (inicio < texto.size()) {
        if (int(m_texto.size()) == kMaxLineas) {
            m_cortado = true;
            break;
        }
        const size_t fin = texto.find('\n', inicio);
        const bool conFin = fin != std::string_view::npos;
        std::string_view linea = texto.substr(inicio, conFin ? fin - inicio : std::string_view::npos);
        if (conFin && !linea.empty() && linea.back() == '\r')
            linea.remove_suffix(1);
        linea = linea.substr(0, kMaxColumnas);
        m_texto.emplace_back(linea);
        mayor = std::max(mayor, int(linea.size()) + (conFin ? 1 : 0));
        inicio = conFin ? fin + 1 : texto.size();
    }
    // An empty file still shows one cell.
    m_lineas = std::max(1, int(m_texto.size()));
    m_columnas = std::clamp(mayor, 1, kMaxColumnas + 1);
    endResetModel();
}

void ModeloMuestra::Vacia()
{
    beginResetModel();
    m_texto.clear();
    m_cortado = false;
    m_lineas = kLineasVacias;
    m_columnas = kColumnasVacias;
    endResetModel();
}

std::string ModeloMuestra::Texto(int linea, int desde, int tamano) const
{
    if (linea < 1 || linea > int(m_texto.size()) || desde < 1 || tamano < 1)
        return {};
    const std::string &texto = m_texto[size_t(linea - 1)];
    if (size_t(desde) > texto.size())
        return {};
    return texto.substr(size_t(desde - 1), size_t(tamano));
}

int ModeloMuestra::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_lineas;
}

int ModeloMuestra::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnas;
}

QVariant ModeloMuestra::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return cp1252::toQString(Texto(index.row() + 1, index.column() + 1, 1));
}

QVariant ModeloMuestra::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section + 1;
}
