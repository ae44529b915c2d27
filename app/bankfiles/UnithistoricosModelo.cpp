// The viewer's list: issuers or bills cut from their records on demand, and the bills'
// sorting by a key of each record.
#include "Unithistoricos.h"

#include "Controles.h"
#include "General.h"
#include "qcp1252.h"

#include <algorithm>
#include <numeric>

namespace {

enum Columnas { kColumnasOrdenante = 4, kColumnasRecibo = 5 };

const int kTitulosOrdenante[] = {50, 51, 7, 52, 53};
const int kTitulosRecibo[] = {56, 57, 18, 58, 59, 60};

std::string Cuenta(std::string_view r)
{
    return CampoCSB(r, 69, 4) + "-" + CampoCSB(r, 73, 4) + "-" + CampoCSB(r, 77, 2) + "-" + CampoCSB(r, 79, 10);
}

std::string Procedimiento(std::string_view r, int formato)
{
    const std::string codigo = CampoCSB(r, 97, 2);
    if (formato != 1)
        return codigo;
    if (codigo == "01")
        return Idioma.GetTexto(189);
    if (codigo == "02")
        return Idioma.GetTexto(190);
    return {};
}

std::string TextoOrdenante(std::string_view r, int columna, int formato)
{
    switch (columna) {
    case 0:
        return Recorta(CampoCSB(r, 29, 40));
    case 1: // the charge date of a CSB19 issuer
        return FechaCSB(formato == 1 ? CampoCSB(r, 23, 6) : CampoCSB(r, 17, 6));
    case 2:
        return Cuenta(r);
    case 3:
        return Procedimiento(r, formato);
    default:
        return CampoCSB(r, 151, 9);
    }
}

std::string TextoRecibo(std::string_view r, int columna, bool euros)
{
    switch (columna) {
    case 0:
        return CampoCSB(r, 17, 12);
    case 1:
        return Recorta(CampoCSB(r, 29, 40));
    case 2:
        return Cuenta(r);
    case 3:
        return ImporteCSB(CampoCSB(r, 89, 10), euros);
    case 4:
        return CampoCSB(r, 115, 40);
    default:
        return FechaCSB(CampoCSB(r, 155, 6));
    }
}

// A key that sorts as text, an all-digit one (blanks around it aside) by its value: as 20
// digits with leading zeros, so that numbers order among themselves as numbers and every
// two keys still compare one way.
std::string ClaveNumerica(std::string_view campo)
{
    const std::string cifras = Recorta(campo);
    if (cifras.empty() || cifras.size() > 19 || !std::all_of(cifras.begin(), cifras.end(), EsDigito))
        return std::string(campo);
    return std::string(20 - cifras.size(), '0') + cifras;
}

// The due date ddmmyy as a text that sorts by date (two-digit years 00-69 are 20yy).
std::string ClaveFecha(std::string_view ddmmaa)
{
    const std::string aa(ddmmaa.substr(4, 2));
    return (aa < "70" ? "20" : "19") + aa + std::string(ddmmaa.substr(2, 2)) + std::string(ddmmaa.substr(0, 2));
}

std::string ClaveRecibo(std::string_view r, int columna)
{
    switch (columna) {
    case 0:
        return ClaveNumerica(CampoCSB(r, 17, 12));
    case 1:
        return CampoCSB(r, 29, 40);
    case 2:
        return CampoCSB(r, 69, 20);
    case 3:
        return ClaveNumerica(CampoCSB(r, 89, 10));
    case 4:
        return CampoCSB(r, 115, 40);
    default:
        return ClaveFecha(CampoCSB(r, 155, 6));
    }
}

} // namespace

TModeloCSB::TModeloCSB(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void TModeloCSB::Carga(const std::string &ruta, int formato, bool euros, Nivel nivel, std::vector<EntradaCSB> filas)
{
    beginResetModel();
    m_ruta = ruta;
    m_formato = formato;
    m_euros = euros;
    m_nivel = nivel;
    m_filas = std::move(filas);
    m_filaLeida = -1;
    endResetModel();
}

void TModeloCSB::Vacia()
{
    Carga({}, 0, false, Ninguno, {});
}

const std::string &TModeloCSB::Registro(int fila) const
{
    if (fila != m_filaLeida) {
        m_registro = LectorCSB(m_ruta).Lee(m_filas[size_t(fila)].Posicion);
        m_filaLeida = fila;
    }
    return m_registro;
}

std::string TModeloCSB::Texto(int fila, int columna) const
{
    if (fila < 0 || fila >= rowCount() || columna < 0 || columna >= columnCount())
        return {};
    const std::string &r = Registro(fila);
    return m_nivel == Ordenantes ? TextoOrdenante(r, columna, m_formato) : TextoRecibo(r, columna, m_euros);
}

void TModeloCSB::Ordena(int columna)
{
    if (m_nivel != Recibos || columna < 0 || columna >= columnCount())
        return;
    CursorEspera espera;
    std::vector<std::string> claves;
    claves.reserve(m_filas.size());
    LectorCSB lector(m_ruta);
    for (const EntradaCSB &e : m_filas)
        claves.push_back(ClaveRecibo(lector.Lee(e.Posicion), columna));
    std::vector<size_t> orden(m_filas.size());
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(), [&](size_t a, size_t b) { return claves[a] < claves[b]; });
    std::vector<EntradaCSB> filas;
    filas.reserve(orden.size());
    for (size_t i : orden)
        filas.push_back(m_filas[i]);
    beginResetModel();
    m_filas = std::move(filas);
    m_filaLeida = -1;
    endResetModel();
}

int TModeloCSB::rowCount(const QModelIndex &padre) const
{
    return padre.isValid() ? 0 : int(m_filas.size());
}

int TModeloCSB::columnCount(const QModelIndex &padre) const
{
    if (padre.isValid() || m_nivel == Ninguno)
        return 0;
    const int columnas = m_nivel == Ordenantes ? kColumnasOrdenante : kColumnasRecibo;
    return m_formato == 2 ? columnas + 1 : columnas;
}

QVariant TModeloCSB::data(const QModelIndex &indice, int rol) const
{
    if (!indice.isValid())
        return {};
    if (rol == Qt::DisplayRole)
        return cp1252::toQString(Texto(indice.row(), indice.column()));
    if (rol == Qt::TextAlignmentRole && m_nivel == Ordenantes && indice.column() == 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TModeloCSB::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= columnCount())
        return QAbstractTableModel::headerData(seccion, orientacion, rol);
    if (rol == Qt::DisplayRole)
        return Rotulo(m_nivel == Ordenantes ? kTitulosOrdenante[seccion] : kTitulosRecibo[seccion]);
    if (rol == Qt::TextAlignmentRole && m_nivel == Ordenantes && seccion == 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}
