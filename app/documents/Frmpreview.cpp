// The preview window and the printing of reports.
#include "Frmpreview.h"

#include "Bandas.h"
#include "Controles.h"
#include "General.h"
#include "qcp1252.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kZoomMinimo = 10;
constexpr int kZoomMaximo = 500;
constexpr int kPasoZoom = 10;

// The page of the bound report, painted at the view's zoom.
class Hoja : public QWidget {
public:
    explicit Hoja(const TQRPreview *vista) : m_vista(vista) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        const TQuickRep *informe = m_vista->Report();
        if (!informe)
            return;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(m_vista->Zoom() / 100.0, m_vista->Zoom() / 100.0);
        informe->PintaPagina(p, m_vista->PageNumber(), logicalDpiX() / 96.0);
    }

private:
    const TQRPreview *m_vista;
};

QToolButton *Boton(QWidget *padre, const char *nombre, QStyle::StandardPixmap icono)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setIcon(padre->style()->standardIcon(icono));
    b->setAutoRaise(true);
    return b;
}

} // namespace

// ---- Page view ----

TQRPreview::TQRPreview(QWidget *parent) : QScrollArea(parent)
{
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setWidget(new Hoja(this));
    Ajusta();
}

void TQRPreview::SetReport(const TQuickRep *informe)
{
    m_informe = informe;
    m_pagina = 1;
    Ajusta();
}

void TQRPreview::SetPageNumber(int pagina)
{
    const int ultima = m_informe ? std::max(1, m_informe->PageCount()) : 1;
    m_pagina = std::clamp(pagina, 1, ultima);
    Ajusta();
}

void TQRPreview::SetZoom(int zoom)
{
    m_zoom = std::clamp(zoom, kZoomMinimo, kZoomMaximo);
    Ajusta();
}

void TQRPreview::Ajusta()
{
    QWidget *hoja = widget();
    if (m_informe) {
        const double escala = m_zoom / 100.0 * hoja->logicalDpiX() / 96.0;
        hoja->setFixedSize(int(m_informe->AnchoPagina() * escala), int(m_informe->AltoPagina() * escala));
    }
    hoja->update();
}

// ---- Window ----

TPreviewForm::TPreviewForm(const TQuickRep *informe, QWidget *owner)
    : QWidget(owner, Qt::Window),
      Panel1(new QWidget(this)),
      cbtFirst(Boton(Panel1, "cbtFirst", QStyle::SP_MediaSkipBackward)),
      cbtPrePage(Boton(Panel1, "cbtPrePage", QStyle::SP_MediaSeekBackward)),
      cbtPostPage(Boton(Panel1, "cbtPostPage", QStyle::SP_MediaSeekForward)),
      cbtLast(Boton(Panel1, "cbtLast", QStyle::SP_MediaSkipForward)),
      cbtZoomOut(Boton(Panel1, "cbtZoomOut", QStyle::SP_ArrowDown)),
      cbtZoomIn(Boton(Panel1, "cbtZoomIn", QStyle::SP_ArrowUp)),
      cbtPrinterSetup(Boton(Panel1, "cbtPrinterSetup", QStyle::SP_FileDialogDetailedView)),
      Panel3(new QWidget(Panel1)),
      cbtImprimir(new QPushButton(Panel3)),
      cbtCerrar(new QPushButton(Panel3)),
      QRPreview1(new TQRPreview(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    cbtPrinterSetup->hide();
    cbtImprimir->setObjectName(QStringLiteral("cbtImprimir"));
    cbtCerrar->setObjectName(QStringLiteral("cbtCerrar"));

    auto *botones = new QHBoxLayout(Panel3);
    botones->setContentsMargins(0, 0, 0, 0);
    botones->addWidget(cbtImprimir);
    botones->addWidget(cbtCerrar);
    auto *barra = new QHBoxLayout(Panel1);
    for (QWidget *b : std::initializer_list<QWidget *>{cbtFirst, cbtPrePage, cbtPostPage, cbtLast, cbtZoomOut,
                                                        cbtZoomIn, cbtPrinterSetup})
        barra->addWidget(b);
    barra->addStretch(1);
    barra->addWidget(Panel3);
    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->setSpacing(0);
    todo->addWidget(Panel1);
    todo->addWidget(QRPreview1, 1);

    connect(cbtFirst, &QToolButton::clicked, this, &TPreviewForm::cbtFirstClick);
    connect(cbtPrePage, &QToolButton::clicked, this, &TPreviewForm::cbtPrePageClick);
    connect(cbtPostPage, &QToolButton::clicked, this, &TPreviewForm::cbtPostPageClick);
    connect(cbtLast, &QToolButton::clicked, this, &TPreviewForm::cbtLastClick);
    connect(cbtZoomIn, &QToolButton::clicked, this, &TPreviewForm::cbtZoomInClick);
    connect(cbtZoomOut, &QToolButton::clicked, this, &TPreviewForm::cbtZoomOutClick);
    connect(cbtImprimir, &QPushButton::clicked, this, &TPreviewForm::cbtImprimirClick);
    connect(cbtCerrar, &QPushButton::clicked, this, &TPreviewForm::cbtCerrarClick);

    QRPreview1->SetReport(informe);
    FormShow();
    // Without a window manager a maximised window keeps its size: fill the screen first.
    setGeometry(screen()->availableGeometry());
    showMaximized();
}

void TPreviewForm::FormShow()
{
    setWindowTitle(Rotulo(456));
    cbtImprimir->setText(Rotulo(457));
    cbtCerrar->setText(Rotulo(8));
    cbtCerrar->setToolTip(Rotulo(45));
    cbtZoomIn->setToolTip(Rotulo(458));
    cbtZoomOut->setToolTip(Rotulo(459));
    cbtFirst->setToolTip(Rotulo(460));
    cbtLast->setToolTip(Rotulo(461));
    cbtPrePage->setToolTip(Rotulo(462));
    cbtPostPage->setToolTip(Rotulo(463));
}

void TPreviewForm::cbtFirstClick()
{
    QRPreview1->SetPageNumber(1);
}

void TPreviewForm::cbtPrePageClick()
{
    QRPreview1->SetPageNumber(QRPreview1->PageNumber() - 1);
}

void TPreviewForm::cbtPostPageClick()
{
    QRPreview1->SetPageNumber(QRPreview1->PageNumber() + 1);
}

void TPreviewForm::cbtLastClick()
{
    QRPreview1->SetPageNumber(QRPreview1->Report() ? QRPreview1->Report()->PageCount() : 1);
}

void TPreviewForm::cbtZoomInClick()
{
    QRPreview1->SetZoom(QRPreview1->Zoom() + kPasoZoom);
}

void TPreviewForm::cbtZoomOutClick()
{
    QRPreview1->SetZoom(QRPreview1->Zoom() - kPasoZoom);
}

void TPreviewForm::cbtImprimirClick()
{
    if (QRPreview1->Report())
        ImprimeInforme(*QRPreview1->Report(), this);
}

void TPreviewForm::cbtCerrarClick()
{
    close();
}

void TPreviewForm::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_Escape && !evento->modifiers())
        cbtCerrarClick();
    else
        QWidget::keyPressEvent(evento);
}

void TPreviewForm::closeEvent(QCloseEvent *evento)
{
    QRPreview1->SetReport(nullptr);
    if (AlCerrar)
        AlCerrar();
    evento->accept();
}

// ---- Printing ----

std::string PideFicheroPDF(QWidget *padre)
{
    QFileDialog dialogo(padre, Rotulo(881));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setNameFilter(Rotulo(882));
    // The name box takes the keys as soon as the dialog shows.
    QTimer::singleShot(0, &dialogo, [&dialogo] {
        if (auto *nombre = dialogo.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            nombre->setFocus();
    });
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return {};
    QString ruta = dialogo.selectedFiles().constFirst();
    if (!ruta.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        ruta += QStringLiteral(".pdf");
    return cp1252::fromQString(ruta);
}

bool ImprimeInforme(const TQuickRep &informe, QWidget *padre, bool conDialogo)
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const std::string ruta = PideFicheroPDF(padre);
        if (ruta.empty())
            return false;
        if (informe.GuardaPDF(ruta))
            return true;
        WriteLog("[ Frmpreview::ImprimeInforme ] " + Idioma.GetTexto(883) + ruta);
        CajaMensaje(Idioma.GetTexto(883) + ruta, Idioma.GetTexto(1), IconoMensaje::Error);
        return false;
    }
    QPrinter impresora(QPrinter::HighResolution);
    if (conDialogo) {
        QPrintDialog dialogo(&impresora, padre);
        if (dialogo.exec() != QDialog::Accepted)
            return false;
    }
    if (informe.Imprime(impresora))
        return true;
    CajaMensaje(Idioma.GetTexto(884), Idioma.GetTexto(1), IconoMensaje::Error);
    return false;
}
