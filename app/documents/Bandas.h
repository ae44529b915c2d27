// The band reports: A4 pages made of bands of labels, shapes, memos and images, filled row by
// row by a need-data callback, laid out once into pages and painted on demand to the
// preview, a printer or a PDF file.
//
// Positions and sizes are pixels at 96 per inch of the page, relative to the band (a band
// starts at the page's margin). Texts are Windows-1252 and become QString at the painter.
// A laid-out page keeps what its bands showed (texts, positions, visibility), never
// pictures: painting a page costs the same whatever the page count.
#pragma once

#include <QDate>
#include <QFont>
#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

// What may change in a control between rows; the page keeps it as it was when the band was
// placed.
struct EstadoControl {
    int Left = 0, Top = 0, Width = 0;
    bool Visible = true;
    std::string Caption; // a label's text, a memo's lines (separated by "\n")
};

// A control of a band.
class TQRControl : public EstadoControl {
public:
    virtual ~TQRControl() = default;
    int Height = 0;

    // Paints the control at (x, y) of the band, in report pixels, with escala device pixels
    // per report pixel; pagina is the page's number from 1.
    virtual void Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int pagina) const = 0;
};

// What a label adds to its caption when it prints.
enum class Expresion { Ninguna, NumeroPagina /* PAGENUMBER */, FechaInicio /* APPSTARTDATE */ };

// A line of text: Width 0 prints it whole from Left; otherwise it is aligned in the box
// Left .. Left + Width (left, right or centred) and cut at its edges.
class TQRLabel : public TQRControl {
public:
    QFont Font;
    Qt::Alignment Alignment = Qt::AlignLeft;
    Expresion Expr = Expresion::Ninguna;
    void Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int pagina) const override;
};

// Lines of text word-wrapped within Width; what passes Height is cut.
class TQRMemo : public TQRControl {
public:
    QFont Font;
    void Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int pagina) const override;
};

// A rectangle, or a horizontal line along its top, or a vertical line along its left side.
enum class Forma { Rectangulo, LineaHorizontal, LineaVertical };
class TQRShape : public TQRControl {
public:
    Forma Shape = Forma::Rectangulo;
    int GrosorLinea = 1;
    void Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int pagina) const override;
};

// A picture scaled to Width x Height.
class TQRImage : public TQRControl {
public:
    QImage Picture;
    void Pinta(QPainter &p, double escala, int x, int y, const EstadoControl &estado, int pagina) const override;
};

// Bands print in this order: the page header at the top of every page, the title once
// on the first page, the column titles (group header) on every page, one detail band per
// row, the summary once at the end.
enum class TipoBanda { CabeceraPagina, Titulo, CabeceraGrupo, Detalle, Resumen };

class TQRBand {
public:
    explicit TQRBand(TipoBanda tipo, int alto) : Tipo(tipo), Height(alto) {}
    TipoBanda Tipo;
    int Height; // may change between rows (a detail band's height per row)
    bool Enabled = true;

    // New controls of the band, owned by it; positions and font as given.
    TQRLabel *Etiqueta(int left, int top, const std::string &caption, const QFont &fuente, int ancho = 0,
                       Qt::Alignment alineacion = Qt::AlignLeft);
    TQRMemo *Memo(int left, int top, int ancho, int alto, const QFont &fuente);
    TQRShape *Figura(Forma forma, int left, int top, int ancho, int alto);
    TQRImage *Imagen(int left, int top, int ancho, int alto, const QImage &imagen);

    const std::vector<std::unique_ptr<TQRControl>> &Controles() const { return m_controles; }

private:
    template<class T>
    T *Agrega(std::unique_ptr<T> control);
    std::vector<std::unique_ptr<TQRControl>> m_controles;
};

// The day the program started: what APPSTARTDATE prints.
QDate FechaArranque();

// The logo at the top left of the lists' page headers.
QImage LogoInforme();

// A font of the reports: family, points and weight.
QFont Fuente(const char *familia, double puntos, bool negrita = false);

class TQuickRep {
public:
    explicit TQuickRep(bool apaisado = false);
    TQuickRep(const TQuickRep &) = delete;
    TQuickRep &operator=(const TQuickRep &) = delete;

    bool Apaisado; // A4 landscape, else portrait
    int Margen = 38; // around the page, report pixels

    // A new band of the report (at most one of each kind), owned by it.
    TQRBand *Banda(TipoBanda tipo, int alto);

    // Fills the detail band for the next row; false when there are no more rows. Without
    // it the report has no detail rows.
    std::function<bool()> OnNeedData;

    // Lays the report out into pages, asking OnNeedData for every row. progreso (when set)
    // hears the rows placed so far; its false abandons the layout, which leaves no pages and
    // gives false.
    bool Prepara(const std::function<bool(int filas)> &progreso = {});
    // Forgets the pages.
    void Vacia();

    int PageCount() const { return int(m_paginas.size()); }
    // The page size in report pixels.
    int AnchoPagina() const;
    int AltoPagina() const;

    // Paints page n (from 1) with its top left corner at the painter's origin, escala
    // device pixels per report pixel, on a white ground.
    void PintaPagina(QPainter &p, int n, double escala) const;
    // Every page on the device (a printer or a PDF writer): A4 at the report's orientation,
    // full page. False when the device cannot be painted on.
    bool Imprime(QPagedPaintDevice &destino) const;
    // Every page into a PDF file at ruta (Windows-1252), replaced only once written whole;
    // false when it cannot be written.
    bool GuardaPDF(const std::string &ruta) const;

private:
    // What one placed band showed: its controls' texts (one after the other, each ended by
    // a zero byte), their left, top, width and visibility.
    struct Colocada {
        const TQRBand *banda;
        int y, alto;
        std::string textos;
        std::vector<int16_t> geometria; // left, top, width, visible per control
    };
    using Pagina = std::vector<Colocada>;

    void NuevaPagina();
    void Coloca(const TQRBand *banda);
    bool Cabe(const TQRBand *banda) const;
    void PintaBanda(QPainter &p, const Colocada &c, double escala, int pagina) const;

    std::vector<std::unique_ptr<TQRBand>> m_bandas;
    std::vector<Pagina> m_paginas;
    int m_y = 0; // where the next band goes on the last page
    int m_filasPagina = 0; // detail rows on the last page
};
