// The send-file viewer window.
#include "Unithistoricos.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "General.h"
#include "Unitopcionales.h"
#include "qcp1252.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kRolEntrada = Qt::UserRole;

QLabel *Valor(QWidget *padre, const char *nombre)
{
    auto *etiqueta = new QLabel(padre);
    etiqueta->setObjectName(QLatin1String(nombre));
    etiqueta->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return etiqueta;
}

QLabel *Titulo(QWidget *padre, const char *nombre)
{
    auto *etiqueta = new QLabel(padre);
    etiqueta->setObjectName(QLatin1String(nombre));
    return etiqueta;
}

QString Mayusculas(int texto)
{
    return Rotulo(texto).toUpper();
}

void PonTexto(QLabel *etiqueta, const std::string &texto)
{
    etiqueta->setText(cp1252::toQString(texto));
}

} // namespace

TFRMHistoricos::TFRMHistoricos(QWidget *parent)
    : QDialog(parent),
      LBLTitulo(Titulo(this, "LBLTitulo")),
      LBLFichero(Valor(this, "LBLFichero")),
      TREEHistor(new QTreeWidget(this)),
      PanelDetalle(new QGroupBox(this)),
      LBLOrdenantes(Titulo(PanelDetalle, "LBLOrdenantes")),
      LBLCodigo(Titulo(PanelDetalle, "LBLCodigo")),
      LBLFecha(Titulo(PanelDetalle, "LBLFecha")),
      LBLImportes(Titulo(PanelDetalle, "LBLImportes")),
      TXTSumaOrd(Valor(PanelDetalle, "TXTSumaOrd")),
      TXTCodigo(Valor(PanelDetalle, "TXTCodigo")),
      TXTFecha(Valor(PanelDetalle, "TXTFecha")),
      TXTSuma(Valor(PanelDetalle, "TXTSuma")),
      LSTHistor(new QTableView(this)),
      Modelo(new TModeloCSB(this)),
      BTNRecibo(new QPushButton(this)),
      SpeedButton1(new QPushButton(this))
{
    setObjectName(QStringLiteral("FRMHistoricos"));
    TREEHistor->setObjectName(QStringLiteral("TREEHistor"));
    TREEHistor->setHeaderHidden(true);
    TREEHistor->setMinimumWidth(220);
    PanelDetalle->setObjectName(QStringLiteral("PanelDetalle"));
    LSTHistor->setObjectName(QStringLiteral("LSTHistor"));
    LSTHistor->setModel(Modelo);
    LSTHistor->setSelectionBehavior(QAbstractItemView::SelectRows);
    LSTHistor->setSelectionMode(QAbstractItemView::SingleSelection);
    LSTHistor->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LSTHistor->setTabKeyNavigation(false); // Tab leaves the list
    LSTHistor->verticalHeader()->hide();
    LSTHistor->verticalHeader()->setDefaultSectionSize(LSTHistor->fontMetrics().height() + 4);
    LSTHistor->horizontalHeader()->setSectionsClickable(true);
    LSTHistor->horizontalHeader()->setHighlightSections(false);
    BTNRecibo->setObjectName(QStringLiteral("BTNRecibo"));
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    BTNRecibo->setAutoDefault(false);
    SpeedButton1->setAutoDefault(false);

    auto *detalle = new QGridLayout(PanelDetalle);
    int fila = 0;
    for (auto [titulo, valor] : {std::pair{LBLOrdenantes, TXTSumaOrd}, std::pair{LBLCodigo, TXTCodigo},
                                 std::pair{LBLFecha, TXTFecha}, std::pair{LBLImportes, TXTSuma}}) {
        detalle->addWidget(titulo, fila, 0);
        detalle->addWidget(valor, fila++, 1);
    }
    detalle->setColumnStretch(1, 1);
    detalle->setRowStretch(fila, 1);

    auto *cabecera = new QHBoxLayout;
    cabecera->addWidget(LBLTitulo);
    cabecera->addWidget(LBLFichero, 1);
    auto *arriba = new QSplitter(Qt::Horizontal);
    arriba->addWidget(TREEHistor);
    arriba->addWidget(PanelDetalle);
    arriba->setStretchFactor(1, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(BTNRecibo);
    botones->addWidget(SpeedButton1);
    auto *todo = new QVBoxLayout(this);
    todo->addLayout(cabecera);
    todo->addWidget(arriba, 1);
    todo->addWidget(LSTHistor, 2);
    todo->addLayout(botones);
    resize(760, 560);

    OrdenTabulacion({TREEHistor, LSTHistor, BTNRecibo, SpeedButton1});
    for (QWidget *control : std::initializer_list<QWidget *>{TREEHistor, LSTHistor, BTNRecibo, SpeedButton1})
        control->installEventFilter(this);

    connect(TREEHistor, &QTreeWidget::currentItemChanged, this, [this] { TREEHistorChange(); });
    connect(LSTHistor->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int columna) { LSTHistorColumnClick(columna); });
    connect(LSTHistor, &QTableView::doubleClicked, this, [this] { BTNReciboClick(); });
    connect(LSTHistor->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { LSTHistorChange(); });
    connect(BTNRecibo, &QPushButton::clicked, this, [this] { BTNReciboClick(); });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    PonTextos();
}

void TFRMHistoricos::SetFichero(const std::string &ruta)
{
    m_fichero = ruta;
    PonTexto(LBLFichero, ruta);
}

void TFRMHistoricos::PonTextos()
{
    setWindowTitle(QLatin1Char(' ') + Rotulo(65));
    LBLTitulo->setText(Rotulo(63));
    BTNRecibo->setText(Rotulo(62, u'V'));
    SpeedButton1->setText(Rotulo(8));
    PanelDetalle->setTitle(Rotulo(61));
    LBLOrdenantes->setText(Mayusculas(41));
    LBLCodigo->setText(Mayusculas(466));
    LBLFecha->setText(Mayusculas(49));
    LBLImportes->setText(Mayusculas(369));
}

void TFRMHistoricos::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        FormActivate();
}

void TFRMHistoricos::FormActivate()
{
    PonTextos();
    const TFRMOpcion *opcion = App().FRMOpcion;
    if ((opcion && opcion->isVisible()) || m_cargado)
        return;
    Vacia();
    if (m_fichero.empty())
        return;
    m_cargado = true;
    RellenarArbol();
    TREEHistor->setFocus();
}

bool TFRMHistoricos::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objeto, evento);
    const auto *tecla = static_cast<const QKeyEvent *>(evento);
    const bool control = tecla->modifiers() & Qt::ControlModifier;
    const bool atras = tecla->modifiers() & Qt::ShiftModifier;
    // Ctrl+Tab and F6 (with Shift, backwards) go on to the next control as Tab does.
    if ((control && (tecla->key() == Qt::Key_Tab || tecla->key() == Qt::Key_Backtab)) || tecla->key() == Qt::Key_F6)
        return focusNextPrevChild(!atras && tecla->key() != Qt::Key_Backtab);
    if (objeto == LSTHistor && (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter)) {
        BTNReciboClick();
        return true;
    }
    return QDialog::eventFilter(objeto, evento);
}

void TFRMHistoricos::Vacia()
{
    TREEHistor->clear();
    Modelo->Vacia();
    m_indice = IndiceCSB();
    for (QLabel *valor : {TXTSumaOrd, TXTCodigo, TXTFecha, TXTSuma})
        valor->clear();
    BTNRecibo->setEnabled(false);
}

bool TFRMHistoricos::RellenarArbol()
{
    if (!LeeIndiceCSB(m_fichero, m_indice)) {
        if (m_indice.Estructural)
            WriteLog("[UnitHistoricos::RellenarArbol]: " + m_indice.Fallo);
        const std::string fallo = m_indice.Fallo;
        Vacia();
        CajaMensaje(Idioma.GetTexto(288) + "\n" + fallo, Idioma.GetTexto(1), IconoMensaje::Error);
        return false;
    }
    LBLImportes->setText(Mayusculas(m_indice.Euros ? 327 : 48));
    LectorCSB lector(m_fichero);
    QTreeWidgetItem *raiz = nullptr;
    for (const EntradaCSB &e : m_indice.Entradas) {
        if (e.Tipo != EntradaPresentador && e.Tipo != EntradaOrdenante)
            continue;
        auto *nodo = raiz ? new QTreeWidgetItem(raiz) : new QTreeWidgetItem(TREEHistor);
        nodo->setText(0, cp1252::toQString(Recorta(CampoCSB(lector.Lee(e.Posicion), 29, 40))));
        nodo->setIcon(0, style()->standardIcon(raiz ? QStyle::SP_FileIcon : QStyle::SP_DirIcon));
        nodo->setData(0, kRolEntrada, e.Indice);
        if (!raiz)
            raiz = nodo;
    }
    TREEHistor->expandAll();
    TREEHistor->setCurrentItem(raiz);
    return true;
}

void TFRMHistoricos::TREEHistorChange()
{
    const QTreeWidgetItem *nodo = TREEHistor->currentItem();
    if (!nodo) {
        Modelo->Vacia();
        TXTSumaOrd->clear();
        TXTSuma->clear();
        return;
    }
    CursorEspera espera;
    LSTHistor->hide();
    if (nodo->parent())
        MuestraOrdenante(nodo->data(0, kRolEntrada).toInt());
    else
        MuestraPresentador();
    LSTHistor->show();
}

void TFRMHistoricos::MuestraPresentador()
{
    BTNRecibo->setEnabled(false);
    const std::vector<EntradaCSB> &entradas = m_indice.Entradas;
    LectorCSB lector(m_fichero);
    const std::string cabecera = lector.Lee(entradas.front().Posicion);
    LBLFecha->setText(Mayusculas(49));
    PonTexto(TXTCodigo, CampoCSB(cabecera, 5, 12));
    PonTexto(TXTFecha, FechaCSB(CampoCSB(cabecera, 17, 6)));
    LBLOrdenantes->setText(Mayusculas(54));
    std::vector<EntradaCSB> ordenantes;
    for (const EntradaCSB &e : entradas)
        if (e.Tipo == EntradaOrdenante)
            ordenantes.push_back(e);
    Modelo->Carga(m_fichero, m_indice.Formato, m_indice.Euros, TModeloCSB::Ordenantes, std::move(ordenantes));
    LSTHistor->resizeColumnsToContents();
    const std::string total = lector.Lee(entradas.back().Posicion);
    PonTexto(TXTSumaOrd, QuitaCerosIzquierda(CampoCSB(total, 69, 4)));
    PonTexto(TXTSuma, ImporteCSB(CampoCSB(total, 89, 10), m_indice.Euros));
}

void TFRMHistoricos::MuestraOrdenante(int entrada)
{
    const TFRMOpcion *opcion = App().FRMOpcion;
    BTNRecibo->setEnabled(!opcion || !opcion->isVisible());
    const std::vector<EntradaCSB> &entradas = m_indice.Entradas;
    LectorCSB lector(m_fichero);
    const std::string cabecera = lector.Lee(entradas[size_t(entrada)].Posicion);
    LBLOrdenantes->setText(Mayusculas(55));
    PonTexto(TXTCodigo, CampoCSB(cabecera, 5, 12));
    if (m_indice.Formato == 1) {
        LBLFecha->setText(Mayusculas(51));
        PonTexto(TXTFecha, FechaCSB(CampoCSB(cabecera, 23, 6)));
    }
    std::vector<EntradaCSB> recibos;
    size_t i = size_t(entrada) + 1;
    for (; i < entradas.size() && entradas[i].Tipo != EntradaTotalOrdenante; ++i)
        if (entradas[i].Tipo == EntradaIndividual)
            recibos.push_back(entradas[i]);
    Modelo->Carga(m_fichero, m_indice.Formato, m_indice.Euros, TModeloCSB::Recibos, std::move(recibos));
    const std::string total = i < entradas.size() ? lector.Lee(entradas[i].Posicion) : std::string();
    PonTexto(TXTSumaOrd, QuitaCerosIzquierda(CampoCSB(total, 105, 10)));
    PonTexto(TXTSuma, ImporteCSB(CampoCSB(total, 89, 10), m_indice.Euros));
    LSTHistor->resizeColumnsToContents();
    if (Modelo->rowCount() > 0)
        LSTHistor->selectRow(0);
}

void TFRMHistoricos::LSTHistorColumnClick(int columna)
{
    if (Modelo->GetNivel() != TModeloCSB::Recibos)
        return;
    Modelo->Ordena(columna);
    if (Modelo->rowCount() > 0)
        LSTHistor->selectRow(0);
}

void TFRMHistoricos::LSTHistorChange()
{
    TFRMOpcion *opcion = App().FRMOpcion;
    if (!opcion || !opcion->isVisible() || !PasaRecibo())
        return;
    opcion->CargaRecibo();
}

bool TFRMHistoricos::PasaRecibo()
{
    TFRMOpcion *opcion = App().FRMOpcion;
    const QModelIndex actual = LSTHistor->currentIndex();
    if (!opcion || Modelo->GetNivel() != TModeloCSB::Recibos || !actual.isValid())
        return false;
    const EntradaCSB &e = Modelo->Fila(actual.row());
    opcion->SetDatosRecibo(m_fichero, e.Posicion, e.Linea);
    return true;
}

void TFRMHistoricos::BTNReciboClick()
{
    if (!PasaRecibo())
        return;
    TFRMOpcion *opcion = App().FRMOpcion;
    if (opcion->isVisible())
        opcion->CargaRecibo();
    opcion->show();
    opcion->raise();
}

void TFRMHistoricos::SpeedButton1Click()
{
    close();
}

void TFRMHistoricos::FormClose()
{
    Vacia();
    m_cargado = false;
    if (TFRMOpcion *opcion = App().FRMOpcion; opcion && opcion->isVisible())
        opcion->close();
}

void TFRMHistoricos::done(int resultado)
{
    FormClose();
    QDialog::done(resultado);
}
