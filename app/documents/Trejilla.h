// The character-cell grid: a control divided into equal cells by grid lines, on which texts
// are drawn one character per cell, and which converts between pixels and cells. The
// concept-template designer shows a bill's concept page on one of 80 columns by 8 rows.
#pragma once

#include <QColor>
#include <QWidget>
#include <string_view>
#include <vector>

class QPainter;

// The geometry of a grid of columnas x filas cells over a control of ancho x alto pixels.
// Cells are ancho / columnas by alto / filas pixels (integer division); the grid covers
// that many cells from the top-left corner, and the remainder on the right and bottom lies
// outside it. A size of 0 (a control narrower than its columns, or lower than its rows)
// leaves no cell at all. Fewer than 1 column or row count as 1.
class GeometriaRejilla {
public:
    GeometriaRejilla(int ancho, int alto, int columnas, int filas);

    int GetCellWidth() const { return m_ancho / m_columnas; }
    int GetCellHeight() const { return m_alto / m_filas; }
    // Pixels the drawn grid covers.
    int GridWidth() const { return GetCellWidth() * m_columnas; }
    int GridHeight() const { return GetCellHeight() * m_filas; }

    // The cell under pixel (x, y): 0 with fila and columna set (each may be null); -1 when
    // a cell size is 0 or the pixel lies outside the grid (the outs are then untouched).
    int PointToCell(int x, int y, int *fila, int *columna) const;
    // The top-left pixel of the cell (columna, fila), into y and x (each may be null).
    void CellToPoint(int columna, int fila, int *y, int *x) const;

    // Where the lines are drawn: x of the vertical lines and y of the horizontal ones, from
    // 0 to the grid's width or height inclusive, one cell apart; none for a size of 0.
    std::vector<int> LineasVerticales() const;
    std::vector<int> LineasHorizontales() const;

private:
    int m_ancho, m_alto, m_columnas, m_filas;
};

// The grid control: an opaque widget of Columns x Rows cells (2 x 2 and 100 x 100 pixels
// when made) painted in BackColor with lines in LineColor. After the lines it emits
// OnPaint, from which its owner draws the cells' contents with Print (and anything else
// with Canvas). The pointer's moves and clicks are reported in pixels of the control.
class TRejilla : public QWidget {
    Q_OBJECT
public:
    explicit TRejilla(QWidget *parent = nullptr);

    // Columns and rows: a value below 1, or the current one, is ignored; another is kept
    // and the grid repainted.
    int Columns() const { return m_columnas; }
    void SetColumns(int columnas);
    int Rows() const { return m_filas; }
    void SetRows(int filas);
    // Background (the control's window colour when made) and line colour (black): a new
    // one is kept and the grid repainted.
    QColor BackColor() const { return m_fondo; }
    void SetBackColor(const QColor &color);
    QColor LineColor() const { return m_lineas; }
    void SetLineColor(const QColor &color);

    // The geometry at the control's present size.
    GeometriaRejilla Geometria() const;
    int GetCellWidth() const { return Geometria().GetCellWidth(); }
    int GetCellHeight() const { return Geometria().GetCellHeight(); }
    int PointToCell(int x, int y, int *fila, int *columna) const { return Geometria().PointToCell(x, y, fila, columna); }
    void CellToPoint(int columna, int fila, int *y, int *x) const { Geometria().CellToPoint(columna, fila, y, x); }

    // While OnPaint runs: draws texto (Windows-1252) from the cell (columna, fila), each
    // character in its own cell, the first one pixel in from the cell's left edge, with a
    // transparent background and the canvas's font; nothing wraps or is clipped to the
    // grid; in the control's text colour unless the owner sets the canvas's pen. Outside
    // OnPaint it does nothing.
    void Print(int columna, int fila, std::string_view texto);
    // The painter of the paint in progress (null outside OnPaint).
    QPainter *Canvas() const { return m_lienzo; }

signals:
    // At the end of every paint.
    void OnPaint(TRejilla *sender);
    // The pointer pressed, double-clicked or moved at pixel (x, y); it moves to (-1, -1),
    // outside every cell, when it leaves the control.
    void OnMouseDown(Qt::MouseButton boton, int x, int y);
    void OnDblClick(int x, int y);
    void OnMouseMove(int x, int y);

protected:
    void paintEvent(QPaintEvent *evento) override;
    void mousePressEvent(QMouseEvent *evento) override;
    void mouseDoubleClickEvent(QMouseEvent *evento) override;
    void mouseMoveEvent(QMouseEvent *evento) override;
    void leaveEvent(QEvent *evento) override;

private:
    int m_columnas = 2;
    int m_filas = 2;
    QColor m_fondo;
    QColor m_lineas = Qt::black;
    QPainter *m_lienzo = nullptr;
};
