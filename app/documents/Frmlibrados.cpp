// The drawee window.
#include "Frmlibrados.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmain.h"
#include "General.h"
#include "Librados.h"
#include "Login.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Remesas.h"
#include "cp1252.h"
#include "qcp1252.h"
#include "vasqdb.h"

#include <QCollator>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The drawees of the user's companies under presenters of one order type.
constexpr const char *kLibrados =
    "SELECT [Librados( Datos )].* FROM [_Empresas( Datos )] INNER JOIN ([_Presentadores( Datos )] INNER JOIN "
    "([_Emisores( Datos )] INNER JOIN [Librados( Datos )] ON [_Emisores( Datos )].Id_emisor = [Librados( Datos "
    ")].Id_emisor) ON [_Presentadores( Datos )].Id_presentador = [_Emisores( Datos )].Id_presentador) ON "
    "[_Empresas( Datos )].Id_empresa = [_Presentadores( Datos )].Id_empresa WHERE [_Empresas( Datos "
    ")].Id_usuario=%d  AND [_Presentadores( Datos )].Id_orden='%s';";

void LogTipoDesconocido(const char *funcion)
{
    WriteLog(std::string("[ TfrmLibrados::") + funcion + " ] Tipo de Orden desconocida (no CSB19 o CSB58)");
}

// A row of the list: its columns sort as text, without regard to case, by the locale.
class FilaLibrado : public QTreeWidgetItem {
public:
    bool operator<(const QTreeWidgetItem &otra) const override
    {
        static const QCollator orden = [] {
            QCollator c;
            c.setCaseSensitivity(Qt::CaseInsensitive);
            return c;
        }();
        const int columna = treeWidget() ? treeWidget()->sortColumn() : 0;
        return orden.compare(text(columna), otra.text(columna)) < 0;
    }
};

QLineEdit *Caja(QWidget *padre, int largo, bool numerica = false)
{
    auto *caja = new QLineEdit(padre);
    caja->setMaxLength(largo);
    if (numerica)
        caja->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), caja));
    return caja;
}

std::string TextoFila(const QTreeWidgetItem *fila, int columna)
{
    return cp1252::fromQString(fila->text(columna));
}

} // namespace

TfrmLibrados::TfrmLibrados(QWidget *owner)
    : QDialog(owner),
      cbtAlta(new QPushButton(this)),
      cbtBaja(new QPushButton(this)),
      lstLibrados(new QTreeWidget(this)),
      TXTBuscar(Caja(this, 35)),
      BTNBusqueda(new QPushButton(this)),
      lblCodReferencia(new QLabel(this)),
      lblTitular(new QLabel(this)),
      lblBanco(new QLabel(this)),
      lblOficina(new QLabel(this)),
      lblDC(new QLabel(QStringLiteral("DC"), this)),
      lblCuenta(new QLabel(this)),
      txtCodReferencia(Caja(this, 12)),
      txtLibrado(Caja(this, 50)),
      txtBanco(Caja(this, 4, true)),
      txtOficina(Caja(this, 4, true)),
      txtDC(Caja(this, 2, true)),
      txtCuenta(Caja(this, 10, true)),
      BottomBancos(new QPushButton(QStringLiteral("..."), this)),
      LBBancos(new QListWidget(this)),
      panelCSB19(new QWidget(this)),
      lblTitularCuenta(new QLabel(panelCSB19)),
      lblDireccion(new QLabel(panelCSB19)),
      lblCP(new QLabel(panelCSB19)),
      lblLocalidad(new QLabel(panelCSB19)),
      lblProvincia(new QLabel(panelCSB19)),
      txtTitularCuenta(Caja(panelCSB19, 50)),
      txtDireccion(Caja(panelCSB19, 50)),
      txtCP(Caja(panelCSB19, 5, true)),
      txtLocalidad(Caja(panelCSB19, 50)),
      txtProvincia(Caja(panelCSB19, 50)),
      panelCSB58(new QWidget(this)),
      lblLocalidadDeudor58(new QLabel(panelCSB58)),
      lblDomicilioDeudor58(new QLabel(panelCSB58)),
      lblCPDeudor58(new QLabel(panelCSB58)),
      lblLocalidadReceptor58(new QLabel(panelCSB58)),
      lblCPReceptor58(new QLabel(panelCSB58)),
      txtLocalidadDeudor58(Caja(panelCSB58, 35)),
      txtDomicilioDeudor58(Caja(panelCSB58, 40)),
      txtCPDeudor58(Caja(panelCSB58, 5, true)),
      txtLocalidadReceptor58(Caja(panelCSB58, 38)),
      txtCPReceptor58(Caja(panelCSB58, 2, true)),
      cbtOK(new QPushButton(this)),
      cbtCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmLibrados"));
    lstLibrados->setObjectName(QStringLiteral("lstLibrados"));
    lstLibrados->setColumnCount(NumColumnas);
    lstLibrados->setRootIsDecorated(false);
    lstLibrados->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstLibrados->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FilasParaAcentos(lstLibrados);
    for (int c : {int(ColId), int(ColTitular), int(ColDireccion), int(ColCP), int(ColLocalidad), int(ColProvincia),
                  int(ColLocOrdenante), int(ColCodProvincia)})
        lstLibrados->setColumnHidden(c, true);
    AnchoLista();
    lstLibrados->header()->setSectionsClickable(true);
    LBBancos->hide();
    for (QPushButton *b : {cbtAlta, cbtBaja, BTNBusqueda, BottomBancos, cbtOK, cbtCancel})
        b->setAutoDefault(false);

    auto *busqueda = new QHBoxLayout;
    busqueda->addWidget(TXTBuscar, 1);
    busqueda->addWidget(BTNBusqueda);
    auto *izquierda = new QVBoxLayout;
    auto *altaBaja = new QHBoxLayout;
    altaBaja->addWidget(cbtAlta);
    altaBaja->addWidget(cbtBaja);
    altaBaja->addStretch();
    izquierda->addLayout(altaBaja);
    izquierda->addWidget(lstLibrados, 1);
    izquierda->addLayout(busqueda);

    auto *cuenta = new QGridLayout;
    QLabel *const etiquetas[] = {lblBanco, lblOficina, lblDC, lblCuenta};
    QLineEdit *const cajas[] = {txtBanco, txtOficina, txtDC, txtCuenta};
    for (int i = 0; i < 4; ++i) {
        cuenta->addWidget(etiquetas[i], 0, i);
        cuenta->addWidget(cajas[i], 1, i);
        AnchoParaCaracteres(cajas[i], cajas[i]->maxLength(), true);
    }
    BottomBancos->setFixedWidth(AnchoCaracteres(BottomBancos, 3));
    cuenta->addWidget(BottomBancos, 1, 4);
    cuenta->setColumnStretch(5, 1);

    for (QLineEdit *caja : {txtCodReferencia, txtLibrado, txtTitularCuenta, txtDireccion, txtLocalidad, txtProvincia,
                            txtLocalidadDeudor58, txtDomicilioDeudor58, txtLocalidadReceptor58})
        AnchoParaCaracteres(caja, caja->maxLength());

    auto *datos19 = new QFormLayout(panelCSB19);
    datos19->setContentsMargins(0, 0, 0, 0);
    datos19->addRow(lblTitularCuenta, txtTitularCuenta);
    datos19->addRow(lblDireccion, txtDireccion);
    datos19->addRow(lblCP, txtCP);
    datos19->addRow(lblLocalidad, txtLocalidad);
    datos19->addRow(lblProvincia, txtProvincia);
    auto *datos58 = new QFormLayout(panelCSB58);
    datos58->setContentsMargins(0, 0, 0, 0);
    datos58->addRow(lblLocalidadDeudor58, txtLocalidadDeudor58);
    datos58->addRow(lblDomicilioDeudor58, txtDomicilioDeudor58);
    datos58->addRow(lblCPDeudor58, txtCPDeudor58);
    datos58->addRow(lblLocalidadReceptor58, txtLocalidadReceptor58);
    datos58->addRow(lblCPReceptor58, txtCPReceptor58);
    AnchoParaCaracteres(txtCP, 5, true);
    AnchoParaCaracteres(txtCPDeudor58, 5, true);
    AnchoParaCaracteres(txtCPReceptor58, 2, true);

    auto *derecha = new QVBoxLayout;
    auto *comunes = new QFormLayout;
    comunes->addRow(lblCodReferencia, txtCodReferencia);
    comunes->addRow(lblTitular, txtLibrado);
    derecha->addLayout(comunes);
    derecha->addLayout(cuenta);
    derecha->addWidget(LBBancos);
    derecha->addWidget(panelCSB19);
    derecha->addWidget(panelCSB58);
    derecha->addStretch();
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cbtOK);
    botones->addWidget(cbtCancel);
    derecha->addLayout(botones);

    auto *capas = new QHBoxLayout(this);
    capas->addLayout(izquierda, 1);
    capas->addLayout(derecha, 1);

    for (QLineEdit *caja : Campos()) {
        caja->installEventFilter(this);
        connect(caja, &QLineEdit::textChanged, this, [this] { txtCodReferenciaChange(); });
    }
    connect(txtCP, &QLineEdit::textEdited, this, [this] { txtCPChange(); });
    TXTBuscar->installEventFilter(this);
    lstLibrados->installEventFilter(this);
    LBBancos->installEventFilter(this);
    connect(lstLibrados, &QTreeWidget::itemSelectionChanged, this, [this] { lstLibradosChange(); });
    connect(lstLibrados->header(), &QHeaderView::sectionClicked, this, [this](int c) { lstLibradosColumnClick(c); });
    connect(cbtAlta, &QPushButton::clicked, this, [this] { cbtAltaClick(); });
    connect(cbtBaja, &QPushButton::clicked, this, [this] { cbtBajaClick(); });
    connect(cbtOK, &QPushButton::clicked, this, [this] { cbtOKClick(); });
    connect(cbtCancel, &QPushButton::clicked, this, [this] { cbtCancelClick(); });
    connect(BTNBusqueda, &QPushButton::clicked, this, [this] { BTNBusquedaClick(); });
    connect(BottomBancos, &QPushButton::clicked, this, [this] { BottomBancosClick(); });
    connect(LBBancos, &QListWidget::itemClicked, this, [this] { CopiaBanco(); });
    connect(LBBancos, &QListWidget::itemDoubleClicked, this, [this] {
        LBBancos->hide();
        SafeSetFocus(txtOficina);
    });
    OrdenTabulacion({txtCodReferencia, txtLibrado, txtBanco, txtOficina, txtDC, txtCuenta, BottomBancos,
                     txtTitularCuenta, txtDireccion, txtCP, txtLocalidad, txtProvincia, txtLocalidadDeudor58,
                     txtDomicilioDeudor58, txtCPDeudor58, txtLocalidadReceptor58, txtCPReceptor58, cbtOK, cbtCancel});
    FormCreate();
}

// The code, name and account columns as wide as their longest values, and the list as wide
// as the three, its frame and scroll bar.
void TfrmLibrados::AnchoLista()
{
    const int margen = 2 * (lstLibrados->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 8;
    int columnas = 0;
    for (const auto &[columna, caracteres] : {std::pair{int(ColCodigo), txtCodReferencia->maxLength()},
                                              std::pair{int(ColNombre), txtLibrado->maxLength()},
                                              std::pair{int(ColCuenta), 20}}) {
        lstLibrados->setColumnWidth(columna, AnchoCaracteres(lstLibrados, caracteres) + margen);
        columnas += lstLibrados->columnWidth(columna);
    }
    lstLibrados->setMinimumWidth(columnas + 2 * lstLibrados->frameWidth() +
                                 lstLibrados->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void TfrmLibrados::FormCreate()
{
    DBGetData("SELECT * FROM [Bancos()] ORDER BY [Nombre_banco] ASC;", [this](char *fila, char *, int) {
        LBBancos->addItem(cp1252::toQString("[" + GetCampoTexto("N_Banco", fila) + "] - " +
                                            GetCampoTexto("Nombre_banco", fila)));
    });
}

std::vector<QLineEdit *> TfrmLibrados::Campos() const
{
    return {txtCodReferencia,     txtLibrado,           txtBanco,      txtOficina,
            txtDC,                txtCuenta,            txtTitularCuenta, txtDireccion,
            txtCP,                txtLocalidad,         txtProvincia,  txtLocalidadDeudor58,
            txtDomicilioDeudor58, txtCPDeudor58,        txtLocalidadReceptor58, txtCPReceptor58};
}

// ---- Showing ----

void TfrmLibrados::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        FormShow();
}

void TfrmLibrados::FormShow()
{
    TFormMain *m = App().FormMain;
    m_idEmisor = m ? Numero(m->GetIdEmisorSeleccionado()) : 0;
    m_idUsuario = App().FormLogin ? Numero(App().FormLogin->LoginData.Id_usuario) : 0;
    LBBancos->hide();
    m_sigueBusqueda = false;
    TXTBuscar->clear();
    Textos();
    m_tipoOrden = m ? GetTipoOrden(m->GetTipoOrden()) : 0;
    panelCSB19->setVisible(m_tipoOrden == 1);
    panelCSB58->setVisible(m_tipoOrden == 2);
    if (m_tipoOrden == 2)
        lblTitular->setText(Etiqueta(307));
    else if (m_tipoOrden != 1)
        LogTipoDesconocido("FormShow");

    m_estado = -1;
    lstLibrados->clear();
    VaciaCampos();
    m_estado = 0;
    Edicion(false);
    if (m_idEmisor > 0) {
        CargaLista();
        if (lstLibrados->topLevelItemCount() > 0)
            SeleccionaSolo(lstLibrados->topLevelItem(0));
        else
            cbtAltaClick();
    }
}

void TfrmLibrados::Textos()
{
    setWindowTitle(Rotulo(454));
    cbtAlta->setText(Rotulo(21, u'l')); // Aceptar has the A
    cbtBaja->setText(Rotulo(22, u'B'));
    lblCodReferencia->setText(Etiqueta(56));
    lblTitular->setText(Etiqueta(301));
    lblBanco->setText(Rotulo(30));
    lblOficina->setText(Rotulo(447));
    lblCuenta->setText(Rotulo(472));
    lblLocalidadDeudor58->setText(Etiqueta(371));
    lblDomicilioDeudor58->setText(Etiqueta(372));
    lblCPDeudor58->setText(Etiqueta(133));
    lblLocalidadReceptor58->setText(Etiqueta(373));
    lblCPReceptor58->setText(Etiqueta(446));
    cbtOK->setText(Rotulo(2));
    cbtCancel->setText(Rotulo(3));
    lstLibrados->setHeaderLabels({QString(), Rotulo(455), Rotulo(5), Rotulo(7)});
    lblTitularCuenta->setText(Etiqueta(25));
    lblDireccion->setText(Etiqueta(26));
    lblCP->setText(Etiqueta(27));
    lblLocalidad->setText(Etiqueta(28));
    lblProvincia->setText(Etiqueta(29));
    BTNBusqueda->setText(Rotulo(33));
}

// The drawees of the user and order type, in the query's order.
void TfrmLibrados::CargaLista()
{
    CursorEspera espera;
    QList<QTreeWidgetItem *> filas;
    DBGetData(FormateaTexto(kLibrados, m_idUsuario, GetTipoOrdenStr(m_tipoOrden)), [&](char *texto, char *, int) {
        auto *fila = new FilaLibrado;
        PonFila(fila, Numero(GetCampo("Id_librado", texto)), LeeFilaLibrado(texto));
        filas.append(fila);
    });
    lstLibrados->addTopLevelItems(filas);
}

void TfrmLibrados::PonFila(QTreeWidgetItem *fila, int id, const STRLibrado &l) const
{
    const std::string textos[NumColumnas] = {std::to_string(id), l.Codigo_referencia, l.Razon_social,
                                             l.CuentaCompleta(), l.Titular_cuenta, l.Direccion,
                                             l.CP, l.Localidad, l.Provincia,
                                             l.Loc_ordenante, l.Cod_provincia_ordenante};
    for (int c = 0; c < NumColumnas; ++c)
        fila->setText(c, cp1252::toQString(textos[c]));
}

QTreeWidgetItem *TfrmLibrados::Seleccionado() const
{
    QTreeWidgetItem *actual = lstLibrados->currentItem();
    if (actual && actual->isSelected())
        return actual;
    const QList<QTreeWidgetItem *> seleccion = lstLibrados->selectedItems();
    return seleccion.isEmpty() ? nullptr : seleccion.first();
}

QTreeWidgetItem *TfrmLibrados::FilaDeClave(int id) const
{
    const QString clave = QString::number(id);
    for (int i = 0; i < lstLibrados->topLevelItemCount(); ++i)
        if (lstLibrados->topLevelItem(i)->text(ColId) == clave)
            return lstLibrados->topLevelItem(i);
    return nullptr;
}

void TfrmLibrados::SeleccionaSolo(QTreeWidgetItem *fila)
{
    // Current in a column shown: from the hidden key column the arrows would move the
    // current row without the selection.
    lstLibrados->setCurrentItem(fila, ColCodigo, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    lstLibrados->scrollToItem(fila);
}

void TfrmLibrados::lstLibradosChange()
{
    if (!m_recargando && m_estado != 1 && m_estado != 2)
        MuestraSeleccionado();
}

void TfrmLibrados::MuestraSeleccionado()
{
    QTreeWidgetItem *fila = Seleccionado();
    if (!fila) {
        m_estado = -1;
        VaciaCampos();
        cbtBaja->setEnabled(false);
        return;
    }
    m_estado = -1;
    STRLibrado l;
    l.Codigo_referencia = TextoFila(fila, ColCodigo);
    l.Razon_social = TextoFila(fila, ColNombre);
    l.PonCuenta(TextoFila(fila, ColCuenta));
    l.Titular_cuenta = TextoFila(fila, ColTitular);
    l.Direccion = TextoFila(fila, ColDireccion);
    l.CP = TextoFila(fila, ColCP);
    l.Localidad = TextoFila(fila, ColLocalidad);
    l.Provincia = TextoFila(fila, ColProvincia);
    l.Loc_ordenante = TextoFila(fila, ColLocOrdenante);
    l.Cod_provincia_ordenante = TextoFila(fila, ColCodProvincia);
    PonCampos(l);
    m_codigoMostrado = l.Codigo_referencia;
    cbtBaja->setEnabled(true);
    m_estado = 0;
}

// ---- Fields ----

STRLibrado TfrmLibrados::LeeCampos() const
{
    STRLibrado l;
    l.Codigo_referencia = TextoCaja(txtCodReferencia);
    l.Razon_social = TextoCaja(txtLibrado);
    l.Banco = TextoCaja(txtBanco);
    l.Oficina = TextoCaja(txtOficina);
    l.DC = TextoCaja(txtDC);
    l.Cuenta = TextoCaja(txtCuenta);
    if (m_tipoOrden == 1) {
        l.Titular_cuenta = TextoCaja(txtTitularCuenta);
        l.Direccion = TextoCaja(txtDireccion);
        l.CP = TextoCaja(txtCP);
        l.Localidad = TextoCaja(txtLocalidad);
        l.Provincia = TextoCaja(txtProvincia);
    } else {
        l.Direccion = TextoCaja(txtDomicilioDeudor58);
        l.CP = TextoCaja(txtCPDeudor58);
        l.Localidad = TextoCaja(txtLocalidadDeudor58);
        l.Loc_ordenante = TextoCaja(txtLocalidadReceptor58);
        l.Cod_provincia_ordenante = TextoCaja(txtCPReceptor58);
    }
    return l;
}

// Fills the fields as the program, keeping the state.
void TfrmLibrados::PonCampos(const STRLibrado &l)
{
    const int estado = m_estado;
    m_estado = -1;
    PonTextoCaja(txtCodReferencia, l.Codigo_referencia);
    PonTextoCaja(txtLibrado, l.Razon_social);
    PonTextoCaja(txtBanco, l.Banco);
    PonTextoCaja(txtOficina, l.Oficina);
    PonTextoCaja(txtDC, l.DC);
    PonTextoCaja(txtCuenta, l.Cuenta);
    if (m_tipoOrden == 1) {
        PonTextoCaja(txtTitularCuenta, l.Titular_cuenta);
        PonTextoCaja(txtDireccion, l.Direccion);
        PonTextoCaja(txtCP, l.CP);
        PonTextoCaja(txtLocalidad, l.Localidad);
        PonTextoCaja(txtProvincia, l.Provincia);
    } else {
        PonTextoCaja(txtLocalidadDeudor58, l.Localidad);
        PonTextoCaja(txtDomicilioDeudor58, l.Direccion);
        PonTextoCaja(txtCPDeudor58, l.CP);
        PonTextoCaja(txtLocalidadReceptor58, l.Loc_ordenante);
        PonTextoCaja(txtCPReceptor58, l.Cod_provincia_ordenante);
    }
    m_estado = estado;
}

void TfrmLibrados::VaciaCampos()
{
    const int estado = m_estado;
    m_estado = -1;
    for (QLineEdit *caja : Campos())
        caja->clear();
    m_estado = estado;
}

// While editing, the list and the add and delete buttons wait for Accept or Cancel; a new
// drawee needs the issuer taken at show.
void TfrmLibrados::Edicion(bool editando)
{
    cbtAlta->setEnabled(!editando && m_idEmisor > 0);
    lstLibrados->setEnabled(!editando);
    cbtBaja->setEnabled(!editando && Seleccionado());
}

void TfrmLibrados::txtCodReferenciaChange()
{
    if (m_estado == -1) {
        cbtOK->setEnabled(false);
        return;
    }
    if (m_estado == 0) {
        QTreeWidgetItem *fila = Seleccionado();
        if (fila && !TomaLibrado(fila)) {
            MuestraSeleccionado();
            return;
        }
        m_idEditado = fila ? fila->text(ColId).toInt() : 0;
        m_estado = 2;
    }
    cbtOK->setEnabled(true);
    Edicion(true);
}

bool TfrmLibrados::TomaLibrado(QTreeWidgetItem *fila)
{
    _multiuser *m = App().Multiuser;
    const int id = fila->text(ColId).toInt();
    if (m && !m->BloqueaLibrado(id, false)) {
        AvisoTexto(650, 6, IconoMensaje::Error);
        return false;
    }
    STRLibrado guardado;
    const bool existe = LeeLibrado(id, guardado);
    FilaLibrado actual;
    PonFila(&actual, id, guardado);
    bool igual = existe;
    for (int c = 0; igual && c < NumColumnas; ++c)
        igual = actual.text(c) == fila->text(c);
    m_retenido = igual && m;
    if (igual)
        return true;
    if (m)
        m->DesbloqueaLibrado(id, true);
    if (existe)
        PonFila(fila, id, guardado);
    AvisoTexto(existe ? 943 : 650, 6, existe ? IconoMensaje::Informacion : IconoMensaje::Error);
    return false;
}

void TfrmLibrados::SueltaLibrado()
{
    if (m_retenido && App().Multiuser)
        App().Multiuser->DesbloqueaLibrado(m_idEditado, true);
    m_retenido = false;
}

bool TfrmLibrados::LeeLibrado(int id, STRLibrado &l) const
{
    bool leido = false;
    DBGetData(FormateaTexto("SELECT * FROM [Librados( Datos )] WHERE Id_librado=%d;", id),
              [&](char *fila, char *seguir, int) {
                  l = LeeFilaLibrado(fila);
                  leido = true;
                  *seguir = 0;
              });
    return leido;
}

// The province of the postcode the user types.
void TfrmLibrados::txtCPChange()
{
    if ((m_estado != 1 && m_estado != 2) || txtCP->text().size() < 2 || !App().FormMain)
        return;
    PonTextoCaja(txtProvincia, App().FormMain->GetProvincia(TextoCaja(txtCP).substr(0, 2)));
}

// ---- Commands ----

void TfrmLibrados::cbtAltaClick()
{
    if (m_idEmisor <= 0)
        return;
    m_estado = -1;
    VaciaCampos();
    SafeSetFocus(txtCodReferencia);
    cbtOK->setEnabled(false);
    m_estado = 1;
    m_idEditado = 0;
    Edicion(true);
}

void TfrmLibrados::cbtOKClick()
{
    for (QLineEdit *caja : {txtCodReferencia, txtLibrado, txtTitularCuenta, txtDireccion, txtLocalidad, txtProvincia,
                            txtLocalidadDeudor58, txtDomicilioDeudor58, txtLocalidadReceptor58})
        LimpiaCaja(caja);
    if (m_estado != 1 && m_estado != 2)
        return;
    STRLibrado l = LeeCampos();
    const bool comprobarCodigo = m_estado == 1 || Recorta(l.Codigo_referencia) != m_codigoMostrado;
    const bool valido = ValidaLibrado(l, m_tipoOrden, m_idUsuario, comprobarCodigo, m_idEditado);
    PonCampos(l);
    cbtOK->setEnabled(true);
    if (!valido && l.DigitosErroneos())
        EnfocaCaja(txtDC);
    if (!valido || !UpdateRecord(l))
        return;
    cbtOK->setEnabled(false);
    m_estado = 0;
    Edicion(false);
}

// Stores the drawee; false when a new one could not be stored (the fields stay).
bool TfrmLibrados::UpdateRecord(const STRLibrado &l)
{
    if (m_tipoOrden != 1 && m_tipoOrden != 2) {
        LogTipoDesconocido("UpdateRecord");
        return true;
    }
    if (m_estado == 1) {
        int id = 0;
        if (GuardaLibrado(m_tipoOrden, m_idEmisor, id, l) != ResultadoLibrado::Insertado) {
            AvisoTexto(995, 6, IconoMensaje::Error);
            return false;
        }
        RefreshGridData(id);
        Notifica();
        return true;
    }
    if (m_idEditado <= 0)
        return true;
    int id = m_idEditado;
    // Held while it changed; the guarded UPDATE needs it free.
    SueltaLibrado();
    const ResultadoLibrado resultado = GuardaLibrado(m_tipoOrden, 0, id, l);
    if (resultado == ResultadoLibrado::Actualizado) {
        RefreshGridData(id);
        Notifica();
        return true;
    }
    AvisoTexto(resultado == ResultadoLibrado::Bloqueado ? 650 : 995, 6, IconoMensaje::Error);
    m_estado = 0;
    if (QTreeWidgetItem *fila = FilaDeClave(id))
        SeleccionaSolo(fila);
    MuestraSeleccionado();
    return true;
}

// The list row of the drawee stored, as the database holds it: the one changed, or a new
// one; the only one selected.
void TfrmLibrados::RefreshGridData(int id)
{
    QTreeWidgetItem *fila = m_estado == 2 ? FilaDeClave(id) : nullptr;
    if (!fila) {
        fila = new FilaLibrado;
        lstLibrados->addTopLevelItem(fila);
    }
    STRLibrado guardado;
    LeeLibrado(id, guardado);
    PonFila(fila, id, guardado);
    m_codigoMostrado = guardado.Codigo_referencia;
    SeleccionaSolo(fila);
}

void TfrmLibrados::Notifica()
{
    if (App().Multiuser)
        App().Multiuser->NotificaActualizacion(NIVEL_LIBRADOS, m_tipoOrden - 1);
}

// Deletes the drawees selected when the command starts; each goes with its bills or not at
// all.
void TfrmLibrados::cbtBajaClick()
{
    std::vector<int> claves;
    for (QTreeWidgetItem *fila : lstLibrados->selectedItems())
        claves.push_back(fila->text(ColId).toInt());
    if (claves.empty())
        return;
    bool fallo = false;
    for (int id : claves) {
        bool conRecibos = false;
        DBGetData(FormateaTexto("SELECT  [Documentos()].Id_documento FROM [Documentos()] WHERE "
                                "[Documentos()].Id_librado = %d;",
                                id),
                  [&conRecibos](char *, char *seguir, int) {
                      conRecibos = true;
                      *seguir = 0;
                  });
        const bool borrar =
            !conRecibos || AvisoTexto(306, 310, IconoMensaje::Pregunta, BotonesMensaje::SiNo) == RespuestaSi;
        if (borrar && BorraLibrado(id)) {
            delete FilaDeClave(id);
            continue;
        }
        fallo = fallo || borrar;
        if (QTreeWidgetItem *fila = FilaDeClave(id))
            fila->setSelected(false);
    }
    if (lstLibrados->topLevelItemCount() == 0)
        cbtAltaClick();
    if (fallo)
        AvisoTexto(651, 6, IconoMensaje::Error);
    Notifica();
}

// The drawee's bills (with their concepts) and the drawee in one transaction; false, with
// nothing changed, when the drawee or one of its bills is held by another copy (or a
// statement failed).
bool TfrmLibrados::BorraLibrado(int id)
{
    if (VASQ_BeginTrans() != 0)
        return false;
    int filas = 0;
    bool hecho = BajaDocumentos("Id_librado").Borra(id, filas).empty();
    bool quedan = false;
    if (hecho)
        hecho = DBGetData(FormateaTexto("SELECT Id_documento FROM [Documentos()] WHERE Id_librado = %d;", id),
                          [&quedan](char *, char *seguir, int) {
                              quedan = true;
                              *seguir = 0;
                          })
                    .empty() &&
                !quedan;
    if (hecho)
        hecho = DBExecSQL(FormateaTexto("DELETE * FROM [Librados( Datos )] WHERE [Librados( Datos )].Id_librado = %d "
                                        "AND Block<1;",
                                        id),
                          filas)
                    .empty() &&
                filas > 0;
    if (hecho && VASQ_CommitTrans() == 0)
        return true;
    VASQ_Rollback();
    return false;
}

void TfrmLibrados::cbtCancelClick()
{
    SueltaLibrado();
    if (m_estado != 0 && Seleccionado()) {
        m_estado = 0;
        MuestraSeleccionado();
        cbtOK->setEnabled(false);
        Edicion(false);
        return;
    }
    QDialog::reject();
}

void TfrmLibrados::reject()
{
    if ((m_estado == 1 || m_estado == 2) && !PreguntaSalir())
        return;
    cbtCancelClick();
}

bool TfrmLibrados::PreguntaSalir()
{
    return AvisoTexto(499, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) == RespuestaSi;
}

// FormClose
void TfrmLibrados::done(int resultado)
{
    SueltaLibrado();
    m_estado = -1;
    txtCuenta->clear();
    QDialog::done(resultado);
}

void TfrmLibrados::LoadLibradosList(int, const std::string &orden)
{
    if (GetTipoOrden(orden) != m_tipoOrden || m_idEmisor <= 0)
        return;
    QTreeWidgetItem *fila = Seleccionado();
    const int clave = fila ? fila->text(ColId).toInt() : 0;
    m_recargando = true;
    lstLibrados->clear();
    CargaLista();
    if (QTreeWidgetItem *elegida = FilaDeClave(clave) ? FilaDeClave(clave) : lstLibrados->topLevelItem(0))
        SeleccionaSolo(elegida);
    m_recargando = false;
    if (m_estado == 1 || m_estado == 2)
        return;
    MuestraSeleccionado();
    Edicion(false);
}

// ---- Search and sorting ----

void TfrmLibrados::BTNBusquedaClick()
{
    const QString buscado = TXTBuscar->text();
    if (buscado.isEmpty()) {
        AvisoTexto(632, 6, IconoMensaje::Error);
        return;
    }
    CursorEspera espera;
    QTreeWidgetItem *seleccionado = Seleccionado();
    const int recordado = seleccionado ? lstLibrados->indexOfTopLevelItem(seleccionado) : 0;
    int desde = 0;
    if (m_sigueBusqueda && seleccionado)
        desde = recordado + 1;
    else
        m_sigueBusqueda = false;
    lstLibrados->clearSelection();
    for (int i = desde; i < lstLibrados->topLevelItemCount(); ++i) {
        QTreeWidgetItem *fila = lstLibrados->topLevelItem(i);
        for (int c : {int(ColCodigo), int(ColNombre), int(ColCuenta)}) {
            if (fila->text(c).contains(buscado, Qt::CaseSensitive)) {
                SeleccionaSolo(fila);
                m_sigueBusqueda = true;
                return;
            }
        }
    }
    lstLibrados->clearSelection();
    if (QTreeWidgetItem *fila = lstLibrados->topLevelItem(recordado))
        SeleccionaSolo(fila);
    AvisoTexto(617, 6, IconoMensaje::Informacion);
    m_sigueBusqueda = false;
}

void TfrmLibrados::lstLibradosColumnClick(int columna)
{
    lstLibrados->sortItems(columna, Qt::AscendingOrder);
}

// ---- Bank picker ----

void TfrmLibrados::BottomBancosClick()
{
    LBBancos->show();
    SafeSetFocus(LBBancos);
}

void TfrmLibrados::CopiaBanco()
{
    if (QListWidgetItem *banco = LBBancos->currentItem())
        txtBanco->setText(banco->text().mid(1, 4).trimmed());
}

// ---- Keys and field exits ----

void TfrmLibrados::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_F3) {
        if (BTNBusqueda->isEnabled())
            BTNBusquedaClick();
        return;
    }
    QDialog::keyPressEvent(evento);
}

bool TfrmLibrados::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        const bool intro = tecla == Qt::Key_Return || tecla == Qt::Key_Enter;
        if (objeto == lstLibrados)
            return lstLibradosKeyDown(tecla);
        if (objeto == LBBancos && intro) {
            if (LBBancos->isVisible() && LBBancos->currentItem()) {
                CopiaBanco();
                LBBancos->hide();
            }
            return true;
        }
        if (objeto == TXTBuscar && intro) {
            BTNBusquedaClick();
            return true;
        }
        if (auto *caja = qobject_cast<QLineEdit *>(objeto); caja && intro)
            return Intro(caja);
    } else if (evento->type() == QEvent::FocusOut) {
        const auto razon = static_cast<QFocusEvent *>(evento)->reason();
        if (razon == Qt::ActiveWindowFocusReason || razon == Qt::PopupFocusReason)
            return false;
        if (objeto == LBBancos) {
            if (LBBancos->isVisible() && LBBancos->currentItem()) {
                CopiaBanco();
                LBBancos->hide();
                SafeSetFocus(txtOficina);
            }
        } else if (auto *caja = qobject_cast<QLineEdit *>(objeto); caja && caja != TXTBuscar) {
            Salida(caja);
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

bool TfrmLibrados::lstLibradosKeyDown(int tecla)
{
    switch (tecla) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cbtOKClick();
        return true;
    case Qt::Key_Escape:
        if (PreguntaSalir())
            cbtCancelClick();
        return true;
    case Qt::Key_Insert:
        cbtAltaClick();
        return true;
    case Qt::Key_Delete:
        cbtBajaClick();
        return true;
    default:
        return false;
    }
}

bool TfrmLibrados::Intro(QLineEdit *caja)
{
    if (TextoCaja(txtBanco) == kEntidadPropia && !txtCuenta->text().isEmpty() && !ValidaCuentaBanco(txtCuenta)) {
        SafeSetFocus(txtCuenta);
        return true;
    }
    if ((caja == txtBanco || caja == txtOficina || caja == txtCuenta) && !caja->text().trimmed().isEmpty())
        Padea(caja);
    cbtOKClick();
    return true;
}

void TfrmLibrados::Salida(QLineEdit *caja)
{
    if ((caja == txtBanco || caja == txtOficina || caja == txtDC) && !caja->text().trimmed().isEmpty())
        Padea(caja);
    else if (caja == txtCuenta)
        txtCuentaExit();
    else if (caja == txtCP || caja == txtCPDeudor58)
        CompruebaCP(caja);
    else if (caja == txtProvincia)
        txtProvinciaExit();
}

void TfrmLibrados::txtCuentaExit()
{
    if (TextoCaja(txtBanco) == kEntidadPropia && !txtCuenta->text().isEmpty()) {
        if (!ValidaCuentaBanco(txtCuenta)) {
            SafeSetFocus(txtCuenta);
            return;
        }
    } else if (!txtCuenta->text().trimmed().isEmpty()) {
        Padea(txtCuenta);
    }
    const std::string banco = Recorta(TextoCaja(txtBanco)), oficina = Recorta(TextoCaja(txtOficina)),
                      cuenta = Recorta(TextoCaja(txtCuenta));
    if (Recorta(TextoCaja(txtDC)).empty() && !banco.empty() && !oficina.empty() && !cuenta.empty())
        PonTextoCaja(txtDC, CalcDigitosControl(banco, oficina, cuenta));
}

void TfrmLibrados::CompruebaCP(QLineEdit *caja)
{
    const std::string cp = TextoCaja(caja);
    if (cp.empty() || CPValido19(cp))
        return;
    caja->clear();
    AvisoTexto(572, 1, IconoMensaje::Error);
}

void TfrmLibrados::txtProvinciaExit()
{
    std::string cp;
    DBGetData(FormateaTexto("SELECT CP FROM [_Provincias()] WHERE Provincia = '%s';",
                            LimpiaTextoSQL(cp1252::fromQString(txtProvincia->text().toUpper()))),
              [&cp](char *fila, char *seguir, int) {
                  cp = NullToEmpty(GetCampoTexto("CP", fila));
                  *seguir = 0;
              });
    if (cp.empty())
        return;
    const std::string actual = TextoCaja(txtCP);
    PonTextoCaja(txtCP, cp.substr(0, 2) + (actual.size() > 2 ? actual.substr(2, 3) : std::string()));
}
