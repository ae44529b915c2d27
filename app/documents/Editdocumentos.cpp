// The bill editor: its controls, its showing and its accept.
#include "Editdocumentos.h"

#include "Aplicacion.h"
#include "Cajafecha.h"
#include "Controles.h"
#include "General.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "qcp1252.h"
#include "regional.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kTextoLibrados = 824; // the drawee list's button

QLineEdit *Caja(QWidget *padre, int largo)
{
    auto *caja = new QLineEdit(padre);
    if (largo > 0)
        caja->setMaxLength(largo);
    return caja;
}

// Digits only, typed or pasted.
QLineEdit *CajaNumerica(QWidget *padre, int largo)
{
    QLineEdit *caja = Caja(padre, largo);
    caja->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), caja));
    AnchoParaCaracteres(caja, largo, true);
    return caja;
}

// A date that goes to the bank file.
TCajaFecha *Fecha(QWidget *padre)
{
    auto *caja = new TCajaFecha(padre);
    caja->LimitaAFicheroBanco();
    return caja;
}

// A box rewritten only when its text changes (a rewrite would run the change handler).
void PonSiCambia(QLineEdit *caja, const std::string &texto)
{
    if (TextoCaja(caja) != texto)
        PonTextoCaja(caja, texto);
}

QHBoxLayout *Fila(std::initializer_list<QWidget *> controles)
{
    auto *f = new QHBoxLayout;
    for (QWidget *c : controles)
        f->addWidget(c);
    f->addStretch(1);
    return f;
}

} // namespace

TFormEditDocumentos::TFormEditDocumentos(QWidget *parent)
    : QDialog(parent)
{
    CreaControles();
    CargaBancos();
    ConectaCambios();
}

void TFormEditDocumentos::CreaControles()
{
    tabGeneral = new QTabWidget(this);
    tabRecibo = new QWidget;
    tabGeneral->addTab(tabRecibo, QStringLiteral("Recibo"));
    CreaPaginaPlantilla();
    auto etiqueta = [](QWidget *padre) { return new QLabel(padre); };

    PanelCSB19 = new QWidget(tabRecibo);
    Label18 = etiqueta(PanelCSB19);
    txtCodReferencia = Caja(PanelCSB19, 12);
    cbtLibrado = new QPushButton(PanelCSB19);
    lblTitularRecibo = etiqueta(PanelCSB19);
    txtLibrado = Caja(PanelCSB19, 50);
    Label3 = etiqueta(PanelCSB19);
    txtBanco = CajaNumerica(PanelCSB19, 4);
    BottomBancos = new QPushButton(QStringLiteral("..."), PanelCSB19);
    Label4 = etiqueta(PanelCSB19);
    txtOficina = CajaNumerica(PanelCSB19, 4);
    txtDC = CajaNumerica(PanelCSB19, 2);
    Label6 = etiqueta(PanelCSB19);
    txtCuenta = CajaNumerica(PanelCSB19, 10);
    LBBancos = new QListWidget(PanelCSB19);
    lblTitularCuenta = etiqueta(PanelCSB19);
    txtTitularCuenta = Caja(PanelCSB19, 50);
    Label14 = etiqueta(PanelCSB19);
    txtDireccion = Caja(PanelCSB19, 50);
    Label27 = etiqueta(PanelCSB19);
    txtCP = CajaNumerica(PanelCSB19, 5);
    Label16 = etiqueta(PanelCSB19);
    txtLocalidad = Caja(PanelCSB19, 50);
    Label17 = etiqueta(PanelCSB19);
    txtProvincia = Caja(PanelCSB19, 50);
    auto *g19 = new QGridLayout(PanelCSB19);
    g19->addWidget(Label18, 0, 0);
    g19->addLayout(Fila({txtCodReferencia, cbtLibrado}), 0, 1);
    g19->addWidget(lblTitularRecibo, 1, 0);
    g19->addWidget(txtLibrado, 1, 1);
    g19->addWidget(Label3, 2, 0);
    g19->addLayout(Fila({txtBanco, BottomBancos, Label4, txtOficina, txtDC, Label6, txtCuenta}), 2, 1);
    g19->addWidget(LBBancos, 3, 1);
    g19->addWidget(lblTitularCuenta, 4, 0);
    g19->addWidget(txtTitularCuenta, 4, 1);
    g19->addWidget(Label14, 5, 0);
    g19->addWidget(txtDireccion, 5, 1);
    g19->addWidget(Label27, 6, 0);
    g19->addLayout(Fila({txtCP, Label16, txtLocalidad}), 6, 1);
    g19->addWidget(Label17, 7, 0);
    g19->addWidget(txtProvincia, 7, 1);
    g19->setColumnStretch(1, 1);

    panelCSB58 = new QWidget(tabRecibo);
    Label1 = etiqueta(panelCSB58);
    txtCodReferencia58 = Caja(panelCSB58, 12);
    BitBtn1 = new QPushButton(panelCSB58);
    Label2 = etiqueta(panelCSB58);
    txtTitularCredito58 = Caja(panelCSB58, 40);
    Label7 = etiqueta(panelCSB58);
    txtBanco58 = CajaNumerica(panelCSB58, 4);
    BTBancos = new QPushButton(QStringLiteral("..."), panelCSB58);
    Label8 = etiqueta(panelCSB58);
    txtOficina58 = CajaNumerica(panelCSB58, 4);
    txtDC58 = CajaNumerica(panelCSB58, 2);
    Label19 = etiqueta(panelCSB58);
    txtCuenta58 = CajaNumerica(panelCSB58, 10);
    LabelBancos = new QListWidget(panelCSB58);
    Label28 = etiqueta(panelCSB58);
    txtDomicilioDeudor58 = Caja(panelCSB58, 40);
    Label20 = etiqueta(panelCSB58);
    txtLocalidadDeudor58 = Caja(panelCSB58, 35);
    Label29 = etiqueta(panelCSB58);
    txtCPDeudor58 = CajaNumerica(panelCSB58, 5);
    Label23 = etiqueta(panelCSB58);
    txtLocalidadReceptor58 = Caja(panelCSB58, 38);
    Label22 = etiqueta(panelCSB58);
    txtCPReceptor58 = CajaNumerica(panelCSB58, 2);
    txtProvincia58 = Caja(panelCSB58, 50);
    Label25 = etiqueta(panelCSB58);
    dateVencimiento58 = Fecha(panelCSB58);
    Label26 = etiqueta(panelCSB58);
    dateFormalizacion58 = Fecha(panelCSB58);
    txtVencimiento58 = Caja(panelCSB58, 0);
    txtFechaFormalizacion58 = Caja(panelCSB58, 0);
    for (QLineEdit *oculta : {txtVencimiento58, txtFechaFormalizacion58}) {
        oculta->setReadOnly(true);
        oculta->hide();
    }
    auto *g58 = new QGridLayout(panelCSB58);
    g58->addWidget(Label1, 0, 0);
    g58->addLayout(Fila({txtCodReferencia58, BitBtn1}), 0, 1);
    g58->addWidget(Label2, 1, 0);
    g58->addWidget(txtTitularCredito58, 1, 1);
    g58->addWidget(Label7, 2, 0);
    g58->addLayout(Fila({txtBanco58, BTBancos, Label8, txtOficina58, txtDC58, Label19, txtCuenta58}), 2, 1);
    g58->addWidget(LabelBancos, 3, 1);
    g58->addWidget(Label28, 4, 0);
    g58->addWidget(txtDomicilioDeudor58, 4, 1);
    g58->addWidget(Label20, 5, 0);
    g58->addLayout(Fila({txtLocalidadDeudor58, Label29, txtCPDeudor58}), 5, 1);
    g58->addWidget(Label23, 6, 0);
    g58->addWidget(txtLocalidadReceptor58, 6, 1);
    g58->addWidget(Label22, 7, 0);
    g58->addLayout(Fila({txtCPReceptor58, txtProvincia58}), 7, 1);
    g58->addWidget(Label25, 8, 0);
    g58->addLayout(Fila({dateVencimiento58, Label26, dateFormalizacion58}), 8, 1);
    g58->setColumnStretch(1, 1);

    panelImporte = new QWidget(tabRecibo);
    Label9 = etiqueta(panelImporte);
    txtImporte = Caja(panelImporte, 0);
    labelMonedaImporte = etiqueta(panelImporte);
    Label10 = etiqueta(panelImporte);
    txtContravalor = Caja(panelImporte, 12);
    txtContravalor->setEnabled(false);
    labelMonedaContravalor = etiqueta(panelImporte);
    Label11 = etiqueta(panelImporte);
    txtCodDevolucion = CajaNumerica(panelImporte, 6);
    Label13 = etiqueta(panelImporte);
    txtRefInterna = Caja(panelImporte, 10);
    for (QLineEdit *importe : {txtImporte, txtContravalor}) {
        importe->setAlignment(Qt::AlignRight);
        AnchoParaCaracteres(importe, 13, true);
    }
    AnchoParaCaracteres(txtRefInterna, 10, true);
    auto *gImporte = new QGridLayout(panelImporte);
    gImporte->addWidget(Label9, 0, 0);
    gImporte->addLayout(Fila({txtImporte, labelMonedaImporte}), 0, 1);
    gImporte->addWidget(Label10, 0, 2);
    gImporte->addLayout(Fila({txtContravalor, labelMonedaContravalor}), 0, 3);
    gImporte->addWidget(Label11, 1, 0);
    gImporte->addWidget(txtCodDevolucion, 1, 1);
    gImporte->addWidget(Label13, 1, 2);
    gImporte->addWidget(txtRefInterna, 1, 3);
    gImporte->setColumnStretch(3, 1);

    lblPrimerConcepto = etiqueta(tabRecibo);
    txtConcepto = Caja(tabRecibo, 40);
    memoConceptos = new QPlainTextEdit(tabRecibo);
    QFont courier = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    memoConceptos->setFont(courier);
    memoConceptos->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoConceptos->setTabChangesFocus(true);
    memoConceptos->setMinimumWidth(QFontMetrics(courier).horizontalAdvance(QString(82, QLatin1Char('X'))));
    memoConceptos->setFixedHeight(QFontMetrics(courier).lineSpacing() * 8 + 12);

    panelLibrados = new QWidget(tabRecibo);
    lstLibrados = new QTreeWidget(panelLibrados);
    lstLibrados->setRootIsDecorated(false);
    lstLibrados->setSelectionMode(QAbstractItemView::SingleSelection);
    FilasParaAcentos(lstLibrados);
    lstLibrados->setHeaderLabels({QStringLiteral("Id_librado"), QStringLiteral("Cod. Ref."), QStringLiteral("Nombre"),
                                  QStringLiteral("Cuenta"), QStringLiteral("Titular_cuenta"),
                                  QStringLiteral("Direccion"), QStringLiteral("CP"), QStringLiteral("Localidad"),
                                  QStringLiteral("Provincia"), QStringLiteral("Localidad receptor"),
                                  QStringLiteral("CPReceptor")});
    for (int c : {0, 4, 5, 6, 7, 8, 9, 10})
        lstLibrados->setColumnHidden(c, true);
    lstLibrados->header()->setSectionsClickable(true);
    lstLibrados->setColumnWidth(1, AnchoCaracteres(lstLibrados, 10));
    lstLibrados->setColumnWidth(2, AnchoCaracteres(lstLibrados, 30));
    lstLibrados->setMinimumSize(AnchoCaracteres(lstLibrados, 62), lstLibrados->fontMetrics().lineSpacing() * 16);
    TXTBuscar = Caja(panelLibrados, 35);
    BTNBuscar = new QPushButton(panelLibrados);
    auto *gLibrados = new QVBoxLayout(panelLibrados);
    gLibrados->setContentsMargins(0, 0, 0, 0);
    gLibrados->addWidget(lstLibrados);
    gLibrados->addLayout(Fila({TXTBuscar, BTNBuscar}));

    auto *recibo = new QVBoxLayout(tabRecibo);
    recibo->addWidget(PanelCSB19);
    recibo->addWidget(panelCSB58);
    recibo->addWidget(panelLibrados, 1);
    recibo->addWidget(panelImporte);
    auto *concepto = new QHBoxLayout;
    concepto->addWidget(lblPrimerConcepto);
    concepto->addWidget(txtConcepto, 1);
    recibo->addLayout(concepto);
    recibo->addWidget(memoConceptos);

    // The editor's buttons are the page's: the template page has its own Aplicar and Cancelar.
    cbtOK = new QPushButton(tabRecibo);
    cbtCancel = new QPushButton(tabRecibo);
    BTNImprimir = new QPushButton(tabRecibo);
    for (QPushButton *puntos : {BottomBancos, BTBancos})
        puntos->setFixedWidth(puntos->fontMetrics().horizontalAdvance(puntos->text()) + 16);
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);
    auto *botones = new QHBoxLayout;
    botones->addWidget(BTNImprimir);
    botones->addStretch(1);
    botones->addWidget(cbtOK);
    botones->addWidget(cbtCancel);
    recibo->addLayout(botones);
    auto *todo = new QVBoxLayout(this);
    todo->addWidget(tabGeneral);
    todo->setSizeConstraint(QLayout::SetFixedSize);

    LBBancos->hide();
    LabelBancos->hide();
    panelLibrados->hide();
    // The list buttons come after every box, so that what is typed after a Tab goes into the
    // next box; "Librados" also opens with its letter.
    OrdenTabulacion({txtCodReferencia, txtLibrado, txtBanco, txtOficina, txtDC, txtCuenta, txtTitularCuenta,
                     txtDireccion, txtCP, txtLocalidad, txtProvincia, txtCodReferencia58, txtTitularCredito58,
                     txtBanco58, txtOficina58, txtDC58, txtCuenta58, txtDomicilioDeudor58, txtLocalidadDeudor58,
                     txtCPDeudor58, txtLocalidadReceptor58, txtCPReceptor58, txtProvincia58, dateVencimiento58,
                     dateFormalizacion58, lstLibrados, TXTBuscar, BTNBuscar, txtImporte, txtCodDevolucion,
                     txtRefInterna, txtConcepto, memoConceptos, cbtOK, cbtCancel, BTNImprimir, cbtLibrado,
                     BottomBancos, BitBtn1, BTBancos});
    DescartaTeclasAlt(this);

    connect(cbtOK, &QPushButton::clicked, this, &TFormEditDocumentos::cbtOKClick);
    connect(cbtCancel, &QPushButton::clicked, this, &TFormEditDocumentos::cbtCancelClick);
    connect(BTNImprimir, &QPushButton::clicked, this, &TFormEditDocumentos::BTNImprimirClick);
    connect(BTNBuscar, &QPushButton::clicked, this, &TFormEditDocumentos::BTNBuscarClick);
    connect(cbtLibrado, &QPushButton::clicked, this, &TFormEditDocumentos::cbtLibradoClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormEditDocumentos::cbtLibradoClick);
    connect(lstLibrados, &QTreeWidget::itemDoubleClicked, this, [this] { cbtOKClick(); });
    connect(lstLibrados->header(), &QHeaderView::sectionClicked, this,
            [this](int columna) { lstLibrados->sortItems(columna, Qt::AscendingOrder); });
    connect(BottomBancos, &QPushButton::clicked, this, [this] { AbreBancos(LBBancos); });
    connect(BTBancos, &QPushButton::clicked, this, [this] { AbreBancos(LabelBancos); });
}

void TFormEditDocumentos::PonTextos()
{
    setWindowTitle(QStringLiteral("Gesti\u00F3n de Recibos"));
    tabGeneral->setTabText(0, QStringLiteral("Recibo"));
    const std::pair<QLabel *, int> etiquetas[] = {
        {lblPrimerConcepto, 622}, {Label18, 56},  {Label1, 56},   {lblTitularRecibo, 301}, {Label2, 129},
        {Label3, 30},             {Label7, 30},   {Label4, 447},  {Label8, 447},           {Label6, 7},
        {Label19, 7},             {Label14, 26},  {Label16, 28},  {Label17, 29},           {Label10, 16},
        {Label13, 427},           {Label11, 415}, {Label20, 131}, {Label23, 623},          {Label22, 446},
        {Label26, 136},           {Label25, 60},  {Label27, 27},  {Label28, 132},          {Label29, 133},
        {lblTitularCuenta, 25},
    };
    for (const auto &[label, texto] : etiquetas)
        label->setText(Rotulo(texto));
    Label9->setText(Rotulo(344).toUpper());
    BTNBuscar->setText(Rotulo(33));
    BTNImprimir->setText(Rotulo(457));
    cbtOK->setText(Rotulo(2));
    cbtCancel->setText(Rotulo(3));
    cbtLibrado->setText(Rotulo(kTextoLibrados));
    BitBtn1->setText(Rotulo(kTextoLibrados));
}

TFormEditDocumentos::Panel TFormEditDocumentos::PanelActual() const
{
    if (Es58())
        return {txtCodReferencia58, txtTitularCredito58, txtBanco58, txtOficina58, txtDC58, txtCuenta58, LabelBancos};
    return {txtCodReferencia, txtLibrado, txtBanco, txtOficina, txtDC, txtCuenta, LBBancos};
}

void TFormEditDocumentos::SetDocumento(const STRDocumento &documento)
{
    m_documento = documento;
}

void TFormEditDocumentos::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        FormShow();
}

void TFormEditDocumentos::FormShow()
{
    m_destino = Host.Destino ? Host.Destino() : DestinoRecibo();
    m_destino.Modo = m_documento.Modo;
    m_destino.Id_moneda = m_documento.Id_moneda;
    m_destino.Con_emision = m_documento.Con_emision;
    m_destino.Id_concepto = m_documento.Id_concepto;
    m_destino.F_proceso = m_documento.F_proceso;
    if (m_destino.Modo != RegistroModificar)
        m_destino.IdDocumento = 0;
    PonTextos();
    m_salida = nullptr;
    TXTBuscar->hide();
    BTNBuscar->hide();
    txtConcepto->clear();
    const bool es19 = m_destino.TipoOrden == 1;
    PanelCSB19->setVisible(es19);
    panelCSB58->setVisible(Es58());
    if (!es19 && !Es58())
        WriteLog("[ TFormEditDocumentos::FormShow ] Tipo de Orden desconocida (no CSB19 o CSB58)");
    panelLibrados->hide();
    LBBancos->hide();
    LabelBancos->hide();
    panelImporte->show();
    txtImporte->setStyleSheet(QString());
    const bool conEmision = m_documento.Con_emision == "TRUE";
    lblPrimerConcepto->setVisible(!conEmision);
    txtConcepto->setVisible(!conEmision);
    txtConcepto->setEnabled(!conEmision);
    memoConceptos->setVisible(conEmision);
    tabGeneral->setCurrentWidget(tabRecibo);
    const bool conPlantilla = m_documento.Id_plantilla != "NULL" && !m_documento.Id_plantilla.empty();
    tabGeneral->setTabVisible(tabGeneral->indexOf(tabPlantilla), conPlantilla);
    memoConceptos->setEnabled(!conPlantilla);
    PonMonedaImporte();
    m_avisoPlantilla = true; // filling the boxes never warns
    m_libradosCargados = false;
    m_buscando = false;
    VaciaCajas();
    if (m_destino.Modo == RegistroModificar) {
        DocumentoBloqueado = true;
        LlenaCajas();
        txtImporte->selectAll();
    } else {
        DocumentoBloqueado = false;
    }
    m_avisoPlantilla = false;
    m_referenciaEditada = false;
    cbtOK->setEnabled(m_destino.Modo != RegistroModificar);
    SafeSetFocus(PanelActual().referencia);
    m_cajasAlMostrar = TextosCajas();
}

std::vector<QString> TFormEditDocumentos::TextosCajas() const
{
    std::vector<QString> textos{memoConceptos->toPlainText()};
    for (const QLineEdit *caja : tabRecibo->findChildren<QLineEdit *>())
        if (caja != TXTBuscar)
            textos.push_back(caja->text());
    return textos;
}

bool TFormEditDocumentos::Tecleado() const
{
    return TextosCajas() != m_cajasAlMostrar;
}

void TFormEditDocumentos::VaciaCajas()
{
    for (QLineEdit *caja : tabRecibo->findChildren<QLineEdit *>())
        caja->clear();
    memoConceptos->clear();
    const QDate hoy = QDate::currentDate();
    dateVencimiento58->setDate(hoy);
    dateFormalizacion58->setDate(hoy);
    PonTextoCaja(txtVencimiento58, FechaUsuario(hoy));
    PonTextoCaja(txtFechaFormalizacion58, FechaUsuario(hoy));
}

void TFormEditDocumentos::LlenaCajas()
{
    const STRDocumento &d = m_documento;
    auto pon = [](QLineEdit *caja, const std::string &texto) { PonTextoCaja(caja, NullToEmpty(texto)); };
    STRLibrado cuenta;
    cuenta.PonCuenta(NullToEmpty(d.Cuenta));
    for (const Panel &p : {Panel{txtCodReferencia, txtLibrado, txtBanco, txtOficina, txtDC, txtCuenta, LBBancos},
                           Panel{txtCodReferencia58, txtTitularCredito58, txtBanco58, txtOficina58, txtDC58,
                                 txtCuenta58, LabelBancos}}) {
        pon(p.referencia, d.Codigo_referencia);
        pon(p.nombre, d.Razon_social);
        pon(p.banco, cuenta.Banco);
        pon(p.oficina, cuenta.Oficina);
        pon(p.dc, cuenta.DC);
        pon(p.cuenta, cuenta.Cuenta);
    }
    pon(txtTitularCuenta, d.Titular_cuenta);
    pon(txtDireccion, d.Direccion);
    pon(txtCP, d.CP);
    pon(txtLocalidad, d.Localidad);
    pon(txtProvincia, d.Provincia);
    std::string importe = FormatImporteSQL(NullToEmpty(d.Importe), d.Id_moneda);
    CambiaCaracterLen(importe, '.', regional::decimalSeparator());
    pon(txtImporte, importe);
    pon(txtContravalor, FormatContravalor(NullToEmpty(d.Importe), d.Id_moneda));
    pon(txtCodDevolucion, d.Cod_devolucion);
    pon(txtRefInterna, d.Ref_interna);
    pon(txtLocalidadDeudor58, d.Localidad);
    pon(txtDomicilioDeudor58, d.Direccion);
    pon(txtCPDeudor58, d.CP);
    pon(txtLocalidadReceptor58, d.Loc_ordenante);
    pon(txtCPReceptor58, d.Cod_provincia_ordenante);
    pon(txtProvincia58, Host.GetProvincia ? Host.GetProvincia(NullToEmpty(d.Cod_provincia_ordenante).substr(0, 2))
                                          : std::string());
    dateVencimiento58->setDate(d.F_vencimiento.isValid() ? d.F_vencimiento : QDate::currentDate());
    if (d.F_formalizacion.isValid())
        dateFormalizacion58->setDate(d.F_formalizacion);
    // The pickers wrote their dates into the texts: a bill without a date has none.
    PonTextoCaja(txtFechaFormalizacion58, d.F_formalizacion.isValid() ? FechaUsuario(d.F_formalizacion) : "");
    PonTextoCaja(txtVencimiento58, d.F_vencimiento.isValid() ? FechaUsuario(d.F_vencimiento) : "");
    pon(txtConcepto, d.Primer_concepto);
    if (d.Concepto != "NULL")
        CargaConcepto(d.Concepto);
}

STRRecibo TFormEditDocumentos::LeeCajas() const
{
    const Panel p = PanelActual();
    STRRecibo r;
    STRLibrado &l = r.Librado;
    l.Codigo_referencia = TextoCaja(p.referencia);
    l.Razon_social = TextoCaja(p.nombre);
    l.Banco = TextoCaja(p.banco);
    l.Oficina = TextoCaja(p.oficina);
    l.DC = TextoCaja(p.dc);
    l.Cuenta = TextoCaja(p.cuenta);
    if (Es58()) {
        l.Direccion = TextoCaja(txtDomicilioDeudor58);
        l.CP = TextoCaja(txtCPDeudor58);
        l.Localidad = TextoCaja(txtLocalidadDeudor58);
        l.Loc_ordenante = TextoCaja(txtLocalidadReceptor58);
        l.Cod_provincia_ordenante = TextoCaja(txtCPReceptor58);
    } else {
        l.Titular_cuenta = TextoCaja(txtTitularCuenta);
        l.Direccion = TextoCaja(txtDireccion);
        l.CP = TextoCaja(txtCP);
        l.Localidad = TextoCaja(txtLocalidad);
        l.Provincia = TextoCaja(txtProvincia);
    }
    r.Importe = TextoCaja(txtImporte);
    r.CodDevolucion = TextoCaja(txtCodDevolucion);
    r.RefInterna = TextoCaja(txtRefInterna);
    r.Concepto = TextoCaja(txtConcepto);
    for (QTextBlock b = memoConceptos->document()->begin(); b.isValid(); b = b.next())
        r.Memo.push_back(cp1252::fromQString(b.text()));
    r.Vencimiento = LeeFechaUsuario(TextoCaja(txtVencimiento58));
    r.Formalizacion = LeeFechaUsuario(TextoCaja(txtFechaFormalizacion58));
    return r;
}

void TFormEditDocumentos::PonLibrado(const STRLibrado &l)
{
    const Panel p = PanelActual();
    PonSiCambia(p.referencia, l.Codigo_referencia);
    PonSiCambia(p.nombre, l.Razon_social);
    PonSiCambia(p.banco, l.Banco);
    PonSiCambia(p.oficina, l.Oficina);
    PonSiCambia(p.dc, l.DC);
    PonSiCambia(p.cuenta, l.Cuenta);
    if (Es58()) {
        PonSiCambia(txtDomicilioDeudor58, l.Direccion);
        PonSiCambia(txtCPDeudor58, l.CP);
        PonSiCambia(txtLocalidadDeudor58, l.Localidad);
        PonSiCambia(txtLocalidadReceptor58, l.Loc_ordenante);
        PonSiCambia(txtCPReceptor58, l.Cod_provincia_ordenante);
    } else {
        PonSiCambia(txtTitularCuenta, l.Titular_cuenta);
        PonSiCambia(txtDireccion, l.Direccion);
        PonSiCambia(txtCP, l.CP);
        PonSiCambia(txtLocalidad, l.Localidad);
        PonSiCambia(txtProvincia, l.Provincia);
    }
}

void TFormEditDocumentos::PonCajas(const STRRecibo &r)
{
    PonLibrado(r.Librado);
    if (Es58())
        PonSiCambia(txtFechaFormalizacion58, r.Formalizacion.isValid() ? FechaUsuario(r.Formalizacion) : "");
    PonSiCambia(txtCodDevolucion, r.CodDevolucion);
    PonSiCambia(txtRefInterna, r.RefInterna);
    PonSiCambia(txtConcepto, r.Concepto);
    QStringList lineas;
    for (const std::string &linea : r.Memo)
        lineas << cp1252::toQString(linea);
    if (memoConceptos->toPlainText() != lineas.join(QLatin1Char('\n')))
        memoConceptos->setPlainText(lineas.join(QLatin1Char('\n')));
}

void TFormEditDocumentos::cbtOKClick()
{
    if (panelLibrados->isVisible())
        CierraLista(true);
    else
        GuardaDocumento();
    if (Host.ActualizaPanelInfo)
        Host.ActualizaPanelInfo();
}

void TFormEditDocumentos::GuardaDocumento()
{
    EjecutaSalida();
    if (Es58() && !(dateVencimiento58->Comprueba() && dateFormalizacion58->Comprueba()))
        return;
    STRRecibo r = LeeCajas();
    int idDocumento = 0;
    const EstadoGuarda estado = ::GuardaDocumento(r, m_destino, idDocumento);
    PonCajas(r);
    const bool modifica = m_destino.Modo == RegistroModificar;
    switch (estado) {
    case EstadoGuarda::Rechazado:
        CursorEnRechazo(r.Rechazo);
        return;
    case EstadoGuarda::Fallido:
        return;
    case EstadoGuarda::Perdido:
        DocumentoBloqueado = false;
        reject();
        return;
    case EstadoGuarda::Guardado:
        break;
    }
    if (Host.RefrescaRecibos)
        Host.RefrescaRecibos(idDocumento);
    if (modifica) {
        DocumentoBloqueado = false;
        accept();
    } else {
        FormShow();
    }
}

void TFormEditDocumentos::CursorEnRechazo(CampoRechazado campo)
{
    if (campo == CampoRechazado::Importe)
        EnfocaCaja(txtImporte);
    else if (campo == CampoRechazado::DigitosControl)
        EnfocaCaja(PanelActual().dc);
    else if (campo == CampoRechazado::Vencimiento)
        EnfocaCaja(dateVencimiento58);
}

void TFormEditDocumentos::cbtCancelClick()
{
    if (panelLibrados->isVisible()) {
        CierraLista(false);
        return;
    }
    reject();
}

void TFormEditDocumentos::done(int resultado)
{
    m_salida = nullptr;
    txtCuenta->clear();
    txtCuenta58->clear();
    if (DocumentoBloqueado) {
        if (_multiuser *m = App().Multiuser)
            m->DesbloqueaDocumento(m_destino.IdDocumento);
        DocumentoBloqueado = false;
    }
    LBBancos->hide();
    LabelBancos->hide();
    tabGeneral->setCurrentWidget(tabRecibo);
    QDialog::done(resultado);
}
