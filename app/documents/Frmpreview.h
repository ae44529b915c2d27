// The preview of a band report (TPreviewForm): its pages one at a time, paged, zoomed and
// printed; and the printing of a report, on paper or, with no printer installed, into a
// PDF file the user names.
#pragma once

#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <string>

class QPushButton;
class QToolButton;
class TQuickRep;

// The page view: one page of the bound report at the zoom, on a grey ground.
class TQRPreview : public QScrollArea {
    Q_OBJECT
public:
    explicit TQRPreview(QWidget *parent = nullptr);
    // The report shown (null: none); its pages must not change while it is bound.
    void SetReport(const TQuickRep *informe);
    const TQuickRep *Report() const { return m_informe; }
    // The page shown, from 1, kept between 1 and the page count.
    int PageNumber() const { return m_pagina; }
    void SetPageNumber(int pagina);
    // Per cent of the page's size, kept between 10 and 500.
    int Zoom() const { return m_zoom; }
    void SetZoom(int zoom);

private:
    void Ajusta();
    const TQuickRep *m_informe = nullptr;
    int m_pagina = 1;
    int m_zoom = 100;
};

class TPreviewForm : public QWidget {
    Q_OBJECT
public:
    // Shown at once, maximised and modal, owned by owner; frees itself when closed.
    TPreviewForm(const TQuickRep *informe, QWidget *owner);

    // Run when the window closes (the report forgets its run).
    std::function<void()> AlCerrar;

    QWidget *Panel1;
    QToolButton *cbtFirst, *cbtPrePage, *cbtPostPage, *cbtLast, *cbtZoomOut, *cbtZoomIn, *cbtPrinterSetup;
    QWidget *Panel3;
    QPushButton *cbtImprimir, *cbtCerrar;
    TQRPreview *QRPreview1;

    void FormShow();
    void cbtFirstClick();
    void cbtPrePageClick();
    void cbtPostPageClick();
    void cbtLastClick();
    void cbtZoomInClick();
    void cbtZoomOutClick();
    void cbtImprimirClick();
    void cbtCerrarClick();

protected:
    void closeEvent(QCloseEvent *evento) override;
    // Escape closes the window, as "Cerrar" does.
    void keyPressEvent(QKeyEvent *evento) override;
};

// Prints the report's pages. With printers installed: through the system print dialog, or
// with conDialogo false straight to the default printer. With none: asks for a PDF file
// (".pdf" added when the name lacks it) and writes it. Failures are shown. True when
// something was printed or written.
bool ImprimeInforme(const TQuickRep &informe, QWidget *padre, bool conDialogo = true);

// The save dialog of ImprimeInforme: the chosen path (Windows-1252), empty when cancelled.
std::string PideFicheroPDF(QWidget *padre);
