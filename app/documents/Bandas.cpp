// The band reports: layout into pages and painting.
#include "Bandas.h"

#include "cp1252.h"
#include "qcp1252.h"
#include "regional.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextLayout>
#include <cstring>

// The resources live in the program's static library, where nothing else references them;
// the registration is declared at global scope, as Qt requires.
static void IniciaRecursos()
{
    static const bool iniciados = [] {
        Q_INIT_RESOURCE(Informes);
        return true;
    }();
    (void)iniciados;
}

namespace {

// Read at start-up, before main: the day the program started.
const QDate g_arranque = QDate::currentDate();

// A4 in report pixels (96 per inch).
constexpr int kAnchoA4 = 794;
constexpr int kAltoA4 = 1123;

QRectF Rect(double escala, double x, double y, double ancho, double alto)
{
    return {x * escala, y * escala, ancho * escala, alto * escala};
}

QString TextoEtiqueta(const TQRLabel &etiqueta, const std::string &caption, int pagina)
{
    QString texto = cp1252::toQString(caption);
    if (etiqueta.Expr == Expresion::NumeroPagina)
        texto += QString::number(pagina);
    else if (etiqueta.Expr == Expresion::FechaInicio)
        texto += FechaArranque().toString(regional::dateFormat());
    return texto;
}

} // namespace

QDate FechaArranque()
{
    return g_arranque;
}

QImage LogoInforme()
{
    IniciaRecursos();
    return QImage(QStringLiteral(":/informes/logo_informe.png"));
}

QFont Fuente(const char *familia, double puntos, bool negrita)
{
    QFont f(QString::fromLatin1(familia));
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

// ---- Controls ----

void TQRLabel::Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int pagina) const
{
    const QString texto = TextoEtiqueta(*this, estado.Caption, pagina);
    if (texto.isEmpty())
        return;
    if (p.font() != Font)
        p.setFont(Font);
    const double left = (x + estado.Left) * escala, top = (y + estado.Top) * escala;
    if (estado.Width <= 0) {
        p.drawText(QRectF(left, top, 1e5, 1e4), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, texto);
        return;
    }
    // Cut at the box's sides only when the text is wider.
    const QRectF caja(left, top, estado.Width * escala, 1e4);
    const int alineacion = (Alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
    const bool cabe = p.fontMetrics().horizontalAdvance(texto) <= caja.width();
    p.drawText(caja, alineacion | (cabe ? Qt::TextDontClip : 0), texto);
}

void TQRMemo::Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int) const
{
    // Whole lines only: the first line that would pass the bottom ends the memo.
    const double ancho = estado.Width * escala, bajo = Height * escala;
    const QPointF origen((x + estado.Left) * escala, (y + estado.Top) * escala);
    QTextOption opcion;
    opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    p.setPen(Qt::black);
    double arriba = 0;
    bool lleno = false;
    for (const QString &parrafo : cp1252::toQString(estado.Caption).split(QLatin1Char('\n'))) {
        QTextLayout texto(parrafo, Font, p.device());
        texto.setTextOption(opcion);
        texto.beginLayout();
        int caben = 0;
        for (QTextLine linea = texto.createLine(); linea.isValid() && !lleno; linea = texto.createLine()) {
            linea.setLineWidth(ancho);
            lleno = arriba + linea.height() > bajo;
            if (!lleno) {
                linea.setPosition(QPointF(0, arriba));
                arriba += linea.height();
                ++caben;
            }
        }
        texto.endLayout();
        for (int i = 0; i < caben; ++i)
            texto.lineAt(i).draw(&p, origen);
        if (lleno)
            return;
    }
}

void TQRShape::Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int) const
{
    if (estado.Width <= 0 && Shape != Forma::LineaVertical)
        return;
    p.save();
    QPen lapiz(Qt::black);
    lapiz.setWidthF(GrosorLinea * escala);
    p.setPen(lapiz);
    p.setBrush(Qt::NoBrush);
    const double left = (x + estado.Left) * escala, top = (y + estado.Top) * escala;
    switch (Shape) {
    case Forma::Rectangulo:
        p.drawRect(QRectF(left, top, estado.Width * escala, Height * escala));
        break;
    case Forma::LineaHorizontal:
        p.drawLine(QPointF(left, top), QPointF(left + estado.Width * escala, top));
        break;
    case Forma::LineaVertical:
        p.drawLine(QPointF(left, top), QPointF(left, top + Height * escala));
        break;
    }
    p.restore();
}

void TQRImage::Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int) const
{
    if (!Picture.isNull())
        p.drawImage(Rect(escala, x + estado.Left, y + estado.Top, estado.Width, Height), Picture);
}

// ---- Bands ----

template<class T>
T *TQRBand::Agrega(std::unique_ptr<T> control)
{
    T *c = control.get();
    m_controles.push_back(std::move(control));
    return c;
}

TQRLabel *TQRBand::Etiqueta(int left, int top, const std::string &caption, const QFont &fuente, int ancho,
                            Qt::Alignment alineacion)
{
    auto e = std::make_unique<TQRLabel>();
    e->Left = left;
    e->Top = top;
    e->Width = ancho;
    e->Caption = caption;
    e->Font = fuente;
    e->Alignment = alineacion;
    return Agrega(std::move(e));
}

TQRMemo *TQRBand::Memo(int left, int top, int ancho, int alto, const QFont &fuente)
{
    auto m = std::make_unique<TQRMemo>();
    m->Left = left;
    m->Top = top;
    m->Width = ancho;
    m->Height = alto;
    m->Font = fuente;
    return Agrega(std::move(m));
}

TQRShape *TQRBand::Figura(Forma forma, int left, int top, int ancho, int alto)
{
    auto s = std::make_unique<TQRShape>();
    s->Shape = forma;
    s->Left = left;
    s->Top = top;
    s->Width = ancho;
    s->Height = alto;
    return Agrega(std::move(s));
}

TQRImage *TQRBand::Imagen(int left, int top, int ancho, int alto, const QImage &imagen)
{
    auto i = std::make_unique<TQRImage>();
    i->Left = left;
    i->Top = top;
    i->Width = ancho;
    i->Height = alto;
    i->Picture = imagen;
    return Agrega(std::move(i));
}

// ---- Report ----

TQuickRep::TQuickRep(bool apaisado) : Apaisado(apaisado) {}

TQRBand *TQuickRep::Banda(TipoBanda tipo, int alto)
{
    m_bandas.push_back(std::make_unique<TQRBand>(tipo, alto));
    return m_bandas.back().get();
}

int TQuickRep::AnchoPagina() const
{
    return Apaisado ? kAltoA4 : kAnchoA4;
}

int TQuickRep::AltoPagina() const
{
    return Apaisado ? kAnchoA4 : kAltoA4;
}

void TQuickRep::Vacia()
{
    m_paginas.clear();
    m_paginas.shrink_to_fit();
}

void TQuickRep::Coloca(const TQRBand *banda)
{
    Colocada c{banda, m_y, banda->Height, {}, {}};
    c.geometria.reserve(banda->Controles().size() * 4);
    for (const auto &control : banda->Controles()) {
        c.textos += control->Caption;
        c.textos += '\0';
        c.geometria.insert(c.geometria.end(), {int16_t(control->Left), int16_t(control->Top),
                                               int16_t(control->Width), int16_t(control->Visible)});
    }
    m_paginas.back().push_back(std::move(c));
    m_y += banda->Height;
}

bool TQuickRep::Cabe(const TQRBand *banda) const
{
    return m_y + banda->Height <= AltoPagina() - Margen;
}

void TQuickRep::NuevaPagina()
{
    m_paginas.emplace_back();
    m_y = Margen;
    m_filasPagina = 0;
    for (TipoBanda tipo : {TipoBanda::CabeceraPagina, TipoBanda::Titulo, TipoBanda::CabeceraGrupo})
        for (const auto &b : m_bandas)
            if (b->Tipo == tipo && b->Enabled && (tipo != TipoBanda::Titulo || m_paginas.size() == 1))
                Coloca(b.get());
}

bool TQuickRep::Prepara(const std::function<bool(int)> &progreso)
{
    Vacia();
    NuevaPagina();
    const TQRBand *detalle = nullptr, *resumen = nullptr;
    for (const auto &b : m_bandas) {
        if (b->Tipo == TipoBanda::Detalle)
            detalle = b.get();
        else if (b->Tipo == TipoBanda::Resumen)
            resumen = b.get();
    }
    for (int filas = 0; detalle && OnNeedData && OnNeedData(); ++filas) {
        if (progreso && !progreso(filas)) {
            Vacia();
            return false;
        }
        // A page holds at least one row after its headers, however tall.
        if (!Cabe(detalle) && m_filasPagina > 0)
            NuevaPagina();
        Coloca(detalle);
        ++m_filasPagina;
    }
    if (resumen && resumen->Enabled) {
        if (!Cabe(resumen))
            NuevaPagina();
        Coloca(resumen);
    }
    return true;
}

void TQuickRep::PintaBanda(QPainter &p, const Colocada &c, double escala, int pagina) const
{
    const char *texto = c.textos.data();
    size_t k = 0;
    for (const auto &control : c.banda->Controles()) {
        EstadoControl estado;
        estado.Caption = texto;
        texto += std::strlen(texto) + 1;
        estado.Left = c.geometria[k];
        estado.Top = c.geometria[k + 1];
        estado.Width = c.geometria[k + 2];
        estado.Visible = c.geometria[k + 3] != 0;
        k += 4;
        if (estado.Visible)
            control->Pinta(p, escala, Margen, c.y, estado, pagina);
    }
}

void TQuickRep::PintaPagina(QPainter &p, int n, double escala) const
{
    p.fillRect(QRectF(0, 0, AnchoPagina() * escala, AltoPagina() * escala), Qt::white);
    if (n < 1 || n > PageCount())
        return;
    p.setPen(Qt::black);
    for (const Colocada &c : m_paginas[size_t(n - 1)])
        PintaBanda(p, c, escala, n);
}

bool TQuickRep::Imprime(QPagedPaintDevice &destino) const
{
    if (auto *impresora = dynamic_cast<QPrinter *>(&destino))
        impresora->setFullPage(true);
    destino.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      Apaisado ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    QPainter p;
    if (!p.begin(&destino))
        return false;
    const double escala = destino.logicalDpiX() / 96.0;
    for (int n = 1; n <= PageCount(); ++n) {
        if (n > 1 && !destino.newPage())
            return false;
        PintaPagina(p, n, escala);
    }
    return p.end();
}

bool TQuickRep::GuardaPDF(const std::string &ruta) const
{
    // Written beside it and renamed into place only when whole.
    QSaveFile fichero(QString::fromStdString(cp1252::fileName(ruta)));
    if (!fichero.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter pdf(&fichero);
        pdf.setResolution(600);
        pdf.setCreator(QStringLiteral("tesorio"));
        if (!Imprime(pdf)) {
            fichero.cancelWriting();
            return false;
        }
    }
    return fichero.commit();
}
