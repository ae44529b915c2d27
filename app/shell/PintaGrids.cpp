// The drawing of the main window's grids.
#include "PintaGrids.h"

#include "qcp1252.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPalette>

// The resources live in the program's static library, where nothing else references them;
// the registration is declared at global scope, as Qt requires.
void IniciaRecursosShell()
{
    static const bool iniciados = [] {
        Q_INIT_RESOURCE(Frmmain);
        return true;
    }();
    (void)iniciados;
}

namespace {

const QColor kPlata(192, 192, 192);

QColor ColorTitulo(const QPalette &colores)
{
    return colores.color(QPalette::Active, QPalette::Highlight);
}

// The picture at the cell's left, after one blank's width, centred in its height.
void PintaImagen(QPainter &pintor, const QRect &celda, int imagen)
{
    const QPixmap dibujo = ImagenGrids(imagen);
    if (dibujo.isNull())
        return;
    const int x = celda.left() + 1 + pintor.fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const int y = celda.top() + std::max(0, (celda.height() - dibujo.height()) / 2);
    pintor.drawPixmap(x, y, dibujo);
}

// The dotted frame of the bills grid's current row: lines along the top and bottom of every
// cell and one along the right edge of the last visible column.
void PintaMarcoActual(QPainter &pintor, const QRect &celda, const QColor &color, bool borde)
{
    pintor.save();
    pintor.setPen(QPen(color, 1, Qt::DotLine));
    pintor.drawLine(celda.topLeft(), celda.topRight());
    pintor.drawLine(celda.bottomLeft(), celda.bottomRight());
    if (borde)
        pintor.drawLine(celda.topRight(), celda.bottomRight());
    pintor.restore();
}

} // namespace

QPixmap ImagenGrids(int indice)
{
    IniciaRecursosShell();
    static const char *const kNombres[] = {
        "grid_activo.png", "grid_inactivo.png", "euros.png", "pesetas.png", "grid_generada.png",
        "grid_sin_generar.png", "grid_asc.png", "grid_desc.png", "grid_error.png",
    };
    if (indice < 0 || indice >= int(std::size(kNombres)))
        return {};
    return QPixmap(QStringLiteral(":/shell/") + QLatin1String(kNombres[indice]));
}

void PintaTexto(QPainter &pintor, const QRect &celda, const QString &texto, int alineacion)
{
    QRect area = celda.adjusted(1, 1, -2, 0);
    int banderas = Qt::AlignTop | Qt::TextSingleLine;
    banderas |= alineacion == AlineaDerecha ? Qt::AlignRight : alineacion == AlineaCentro ? Qt::AlignHCenter : Qt::AlignLeft;
    pintor.save();
    pintor.setClipRect(celda);
    pintor.drawText(area, banderas, texto);
    pintor.restore();
}

void PintaTitulo(QPainter &pintor, const QRect &celda, const QString &texto)
{
    pintor.save();
    QFont negrita = pintor.font();
    negrita.setBold(true);
    pintor.setFont(negrita);
    pintor.setPen(Qt::black);
    PintaTexto(pintor, celda, texto, AlineaIzquierda);
    pintor.setPen(Qt::black);
    pintor.setBrush(Qt::NoBrush);
    pintor.drawRect(celda.adjusted(-1, -1, 0, 0));
    pintor.restore();
}

AspectoCelda GetAspectoCelda(TipoGrid tipo, int columna, const QString &valor)
{
    AspectoCelda a;
    a.texto = valor;
    if (columna == 3) {
        a.texto = QLatin1Char(' ') + valor;
        a.alineacion = AlineaIzquierda;
        return a;
    }
    if (tipo == GridRemesas) {
        if (columna == 1 || columna == 2) {
            a.texto = QStringLiteral(" ");
            a.alineacion = AlineaIzquierda;
            if (columna == 1)
                a.imagen = valor == QLatin1String("ESP") ? ImagenGridPesetas : ImagenGridEuros;
            else
                a.imagen = valor == QLatin1String("NULL") ? ImagenRemesaSinGenerar : ImagenRemesaGenerada;
        } else if (columna == 5) {
            a.texto = valor == QLatin1String("TRUE")    ? cp1252::toQString("Con emisi\xF3n")
                      : valor == QLatin1String("FALSE") ? cp1252::toQString("Sin emisi\xF3n")
                                                        : valor;
        }
    } else if (tipo == GridRecibos) {
        if (columna == 1) {
            a.texto = QStringLiteral(" ");
            a.alineacion = AlineaIzquierda;
            a.imagen = valor == QLatin1String("TRUE")    ? ImagenReciboActivo
                       : valor == QLatin1String("FALSE") ? ImagenReciboInactivo
                       : valor == QLatin1String("Err")   ? ImagenReciboErroneo
                                                         : -1;
        } else if (columna == 6) {
            a.texto = QStringLiteral(" ");
            a.alineacion = AlineaIzquierda;
            a.imagen = valor == QLatin1String("ESP") ? ImagenGridPesetas : ImagenGridEuros;
        }
    }
    return a;
}

// ---- Cells ----

TPintaCelda::TPintaCelda(TipoGrid tipo, QObject *parent)
    : QStyledItemDelegate(parent), m_tipo(tipo)
{
}

void TPintaCelda::paint(QPainter *pintor, const QStyleOptionViewItem &opcion, const QModelIndex &index) const
{
    const QRect celda = opcion.rect;
    const QPalette &colores = opcion.palette;
    if (m_tipo == GridRecibos && index.column() == 0) {
        pintor->fillRect(celda, colores.color(QPalette::Button));
        PintaTitulo(*pintor, celda, QStringLiteral(" "));
        return;
    }
    bool resaltada;
    bool actual = false;
    if (m_tipo == GridRecibos) {
        resaltada = index.siblingAtColumn(8).data().toString() == QLatin1String("SEL");
        if (const auto *vista = qobject_cast<const QAbstractItemView *>(opcion.widget))
            actual = vista->currentIndex().isValid() && vista->currentIndex().row() == index.row();
    } else {
        resaltada = opcion.state & QStyle::State_Selected;
    }
    pintor->save();
    pintor->fillRect(celda, resaltada ? ColorTitulo(colores) : colores.color(QPalette::Base));
    pintor->setPen(resaltada ? Qt::white : Qt::black);
    // The bills' cells keep two pixels free on the right and at the bottom.
    const QRect area = m_tipo == GridRecibos ? celda.adjusted(0, 0, -2, -2) : celda;
    const AspectoCelda aspecto = GetAspectoCelda(m_tipo, index.column(), index.data().toString());
    PintaTexto(*pintor, area, aspecto.texto, aspecto.alineacion);
    if (aspecto.imagen >= 0)
        PintaImagen(*pintor, area, aspecto.imagen);
    if (actual)
        PintaMarcoActual(*pintor, celda, resaltada ? colores.color(QPalette::Base) : ColorTitulo(colores),
                         index.column() == 7);
    pintor->restore();
}

// ---- Titles ----

TCabeceraGrid::TCabeceraGrid(int primeraOrdenada, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), m_primeraOrdenada(primeraOrdenada)
{
    setSectionsClickable(true);
    setHighlightSections(false);
}

void TCabeceraGrid::paintSection(QPainter *pintor, const QRect &rect, int columna) const
{
    if (!rect.isValid())
        return;
    const QString titulo = model() ? model()->headerData(columna, Qt::Horizontal).toString() : QString();
    const int orden = Orden && columna >= m_primeraOrdenada ? Orden(columna) : 0;
    pintor->save();
    pintor->fillRect(rect, orden ? kPlata : palette().color(QPalette::Button));
    PintaTitulo(*pintor, rect, orden ? QStringLiteral("    ") + titulo : titulo);
    if (orden)
        pintor->drawPixmap(rect.topLeft(), ImagenGrids(orden == 1 ? ImagenOrdenAsc : ImagenOrdenDesc));
    pintor->restore();
}
