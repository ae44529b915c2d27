// The drawing of the main window's four grids: their titles (with the sorted column's
// mark), their cells by grid, and the pictures the cells show.
#pragma once

#include <QHeaderView>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <functional>

// Registers the main window's pictures (Qt resources of the program's library); once.
void IniciaRecursosShell();

// The four grids, in the order of the tree's levels.
enum TipoGrid { GridPresentadores = 0, GridEmisores = 1, GridRemesas = 2, GridRecibos = 3, NumGrids = 4 };

// Pictures of the grids' cells and titles (imgListGrids).
enum ImagenGrid {
    ImagenReciboActivo = 0,
    ImagenReciboInactivo = 1,
    ImagenGridEuros = 2,
    ImagenGridPesetas = 3,
    ImagenRemesaGenerada = 4,
    ImagenRemesaSinGenerar = 5,
    ImagenOrdenAsc = 6,
    ImagenOrdenDesc = 7,
    ImagenReciboErroneo = 8,
};
QPixmap ImagenGrids(int indice);

// Alignments of PintaTexto.
enum AlineacionTexto { AlineaIzquierda = 0, AlineaDerecha = 1, AlineaCentro = 2 };

// The text clipped to the cell, one pixel below its top: left-aligned one pixel from the
// left edge, right-aligned two pixels from the right edge, or centred.
void PintaTexto(QPainter &pintor, const QRect &celda, const QString &texto, int alineacion);

// A title cell: button face, the text in bold black, left-aligned, and a black frame around
// the cell enlarged by one pixel.
void PintaTitulo(QPainter &pintor, const QRect &celda, const QString &texto);

// What a grid's data cell shows: the picture index (-1 none) and the text drawn after it.
struct AspectoCelda {
    int imagen = -1;
    QString texto;
    int alineacion = AlineaDerecha;
};
AspectoCelda GetAspectoCelda(TipoGrid tipo, int columna, const QString &valor);

// Draws the data cells of one grid. Presenters, issuers and batches show their selection;
// the bills grid shows its marks (column 8 "SEL") and frames its current row.
class TPintaCelda : public QStyledItemDelegate {
public:
    TPintaCelda(TipoGrid tipo, QObject *parent);
    void paint(QPainter *pintor, const QStyleOptionViewItem &opcion, const QModelIndex &index) const override;

private:
    TipoGrid m_tipo;
};

// The title row of a grid, drawn with PintaTitulo. Orden gives a column's sort state (0
// none, 1 ascending, 2 descending); a sorted column from PrimeraOrdenada on is drawn silver,
// its title after four blanks and its arrow at the top-left corner.
class TCabeceraGrid : public QHeaderView {
public:
    TCabeceraGrid(int primeraOrdenada, QWidget *parent);
    std::function<int(int columna)> Orden;

protected:
    void paintSection(QPainter *pintor, const QRect &rect, int columna) const override;

private:
    int m_primeraOrdenada;
};
