// The character-cell grid and its geometry.
#include "Trejilla.h"

#include "qcp1252.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

GeometriaRejilla::GeometriaRejilla(int ancho, int alto, int columnas, int filas)
    : m_ancho(std::max(ancho, 0)), m_alto(std::max(alto, 0)), m_columnas(std::max(columnas, 1)),
      m_filas(std::max(filas, 1))
{
}

int GeometriaRejilla::PointToCell(int x, int y, int *fila, int *columna) const
{
    if (GetCellWidth() == 0 || GetCellHeight() == 0 || x < 0 || y < 0 || x >= GridWidth() || y >= GridHeight())
        return -1;
    if (fila)
        *fila = y / GetCellHeight();
    if (columna)
        *columna = x / GetCellWidth();
    return 0;
}

void GeometriaRejilla::CellToPoint(int columna, int fila, int *y, int *x) const
{
    if (x)
        *x = columna * GetCellWidth();
    if (y)
        *y = fila * GetCellHeight();
}

namespace {

std::vector<int> Lineas(int paso, int cuantas)
{
    std::vector<int> lineas;
    if (paso > 0)
        for (int i = 0; i <= cuantas; ++i)
            lineas.push_back(i * paso);
    return lineas;
}

} // namespace

std::vector<int> GeometriaRejilla::LineasVerticales() const
{
    return Lineas(GetCellWidth(), m_columnas);
}

std::vector<int> GeometriaRejilla::LineasHorizontales() const
{
    return Lineas(GetCellHeight(), m_filas);
}

TRejilla::TRejilla(QWidget *parent)
    : QWidget(parent), m_fondo(palette().color(QPalette::Window))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(100, 100);
}

void TRejilla::SetColumns(int columnas)
{
    if (columnas < 1 || columnas == m_columnas)
        return;
    m_columnas = columnas;
    update();
}

void TRejilla::SetRows(int filas)
{
    if (filas < 1 || filas == m_filas)
        return;
    m_filas = filas;
    update();
}

void TRejilla::SetBackColor(const QColor &color)
{
    if (color == m_fondo)
        return;
    m_fondo = color;
    update();
}

void TRejilla::SetLineColor(const QColor &color)
{
    if (color == m_lineas)
        return;
    m_lineas = color;
    update();
}

GeometriaRejilla TRejilla::Geometria() const
{
    return GeometriaRejilla(width(), height(), m_columnas, m_filas);
}

void TRejilla::Print(int columna, int fila, std::string_view texto)
{
    if (!m_lienzo)
        return;
    const GeometriaRejilla g = Geometria();
    int x = 0, y = 0;
    g.CellToPoint(columna, fila, &y, &x);
    const int base = y + QFontMetrics(m_lienzo->font()).ascent();
    for (size_t i = 0; i < texto.size(); ++i)
        m_lienzo->drawText(QPoint(x + 1 + int(i) * g.GetCellWidth(), base), cp1252::toQString(texto.substr(i, 1)));
}

void TRejilla::paintEvent(QPaintEvent *)
{
    QPainter lienzo(this);
    lienzo.fillRect(rect(), m_fondo);
    lienzo.setPen(m_lineas);
    const GeometriaRejilla g = Geometria();
    if (g.GridHeight() > 0)
        for (int x : g.LineasVerticales())
            lienzo.drawLine(x, 0, x, g.GridHeight());
    if (g.GridWidth() > 0)
        for (int y : g.LineasHorizontales())
            lienzo.drawLine(0, y, g.GridWidth(), y);
    lienzo.setFont(font());
    lienzo.setPen(palette().color(QPalette::WindowText)); // the texts' colour
    m_lienzo = &lienzo;
    struct Fin {
        QPainter *&lienzo;
        ~Fin() { lienzo = nullptr; }
    } fin{m_lienzo};
    emit OnPaint(this);
}

void TRejilla::mousePressEvent(QMouseEvent *evento)
{
    emit OnMouseDown(evento->button(), evento->position().toPoint().x(), evento->position().toPoint().y());
}

void TRejilla::mouseDoubleClickEvent(QMouseEvent *evento)
{
    emit OnDblClick(evento->position().toPoint().x(), evento->position().toPoint().y());
}

void TRejilla::mouseMoveEvent(QMouseEvent *evento)
{
    emit OnMouseMove(evento->position().toPoint().x(), evento->position().toPoint().y());
}

void TRejilla::leaveEvent(QEvent *)
{
    emit OnMouseMove(-1, -1);
}
