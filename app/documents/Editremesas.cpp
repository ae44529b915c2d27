// The batch editor.
#include "Editremesas.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmain.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "qcp1252.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// A batch row as the batches grid shows it.
constexpr const char *kConsultaFila =
    "SELECT [Remesas()].Id_remesa, [Remesas()].F_alta, [Remesas()].Importe_total, [Remesas()].Con_emision,  "
    "[Remesas()].Contravalor_total, [Remesas()].Descripcion, [Remesas()].Id_moneda, [Remesas()].F_generacion  "
    "FROM [Remesas()] WHERE ((([Remesas()].Id_remesa)=%d));";

// The largest totals each currency's fields hold, in cents.
constexpr long long kMaximoPesetas = 999999999900LL; // 9999999999 pesetas
constexpr long long kMaximoEuros = 9999999999LL;      // 99999999.99 euros

TFormMain *Principal()
{
    return App().FormMain;
}

void Notifica(int nivel, int id)
{
    if (_multiuser *m = App().Multiuser)
        m->NotificaActualizacion(nivel, id);
}

// The combo entry whose key is clave; -1 when none.
int EntradaDeClave(const QComboBox *lista, const std::string &clave)
{
    return lista->findData(QString::fromLatin1(clave.c_str()));
}

std::string ClaveEntrada(const QComboBox *lista)
{
    return lista->currentIndex() < 0 ? std::string() : lista->currentData().toString().toStdString();
}

void Anade(QComboBox *lista, const std::string &texto, const std::string &clave)
{
    lista->addItem(cp1252::toQString(texto), QString::fromLatin1(clave.c_str()));
}

} // namespace

TFormEditRemesas::TFormEditRemesas(QWidget *parent)
    : QDialog(parent),
      lblDescripcion(new QLabel(this)),
      lblMoneda(new QLabel(this)),
      lblPresentador(new QLabel(this)),
      lblEmisor(new QLabel(this)),
      txtDescripcion(new QLineEdit(this)),
      cbxMoneda(new QComboBox(this)),
      chkEmision(new QCheckBox(this)),
      groupPlantilla(new QGroupBox(this)),
      txtPresentador(new QLineEdit(this)),
      txtEmisor(new QLineEdit(this)),
      CBPresentador(new QComboBox(this)),
      CBEmisor(new QComboBox(this)),
      cbtOK(new QPushButton(this)),
      cbtCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("FormEditRemesas"));
    cbxPlantilla = new QComboBox(groupPlantilla);
    txtDescripcion->setMaxLength(50);
    AnchoParaCaracteres(txtDescripcion, 40);
    txtPresentador->setReadOnly(true);
    txtEmisor->setReadOnly(true);
    auto *plantilla = new QVBoxLayout(groupPlantilla);
    plantilla->addWidget(cbxPlantilla);

    auto *rejilla = new QGridLayout(this);
    rejilla->addWidget(lblDescripcion, 0, 0);
    rejilla->addWidget(txtDescripcion, 0, 1);
    rejilla->addWidget(lblMoneda, 1, 0);
    rejilla->addWidget(cbxMoneda, 1, 1);
    rejilla->addWidget(lblPresentador, 2, 0);
    rejilla->addWidget(txtPresentador, 2, 1);
    rejilla->addWidget(CBPresentador, 2, 1);
    rejilla->addWidget(lblEmisor, 3, 0);
    rejilla->addWidget(txtEmisor, 3, 1);
    rejilla->addWidget(CBEmisor, 3, 1);
    rejilla->addWidget(chkEmision, 4, 1);
    rejilla->addWidget(groupPlantilla, 5, 0, 1, 2);
    rejilla->setColumnStretch(1, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cbtOK);
    botones->addWidget(cbtCancel);
    rejilla->addLayout(botones, 6, 0, 1, 2);
    OrdenTabulacion({txtDescripcion, cbxMoneda, CBPresentador, CBEmisor, chkEmision, cbxPlantilla, cbtOK, cbtCancel});
    DescartaTeclasAlt(this);
    cbtOK->setAutoDefault(false);
    cbtCancel->setAutoDefault(false);

    // Only the user's changes count as changes.
    connect(txtDescripcion, &QLineEdit::textEdited, this, &TFormEditRemesas::txtDescripcionChange);
    connect(cbxMoneda, &QComboBox::activated, this, &TFormEditRemesas::txtDescripcionChange);
    connect(cbxPlantilla, &QComboBox::activated, this, &TFormEditRemesas::txtDescripcionChange);
    connect(CBPresentador, &QComboBox::activated, this, &TFormEditRemesas::CBPresentadorChange);
    connect(CBEmisor, &QComboBox::activated, this, &TFormEditRemesas::CBEmisorChange);
    connect(chkEmision, &QCheckBox::clicked, this, &TFormEditRemesas::chkEmisionClick);
    connect(cbtOK, &QPushButton::clicked, this, &TFormEditRemesas::cbtOKClick);
    connect(cbtCancel, &QPushButton::clicked, this, &TFormEditRemesas::cbtCancelClick);
    CargaMonedas();
}

void TFormEditRemesas::SetRemesaData(int modo, const std::string &idRemesa, const std::string &idMoneda,
                                     const std::string &idPlantilla, const std::string &conEmision,
                                     const std::string &descripcion)
{
    m_remesa = {modo, idRemesa, idMoneda, idPlantilla, conEmision, descripcion};
    m_emisorCambiado = false;
}

int TFormEditRemesas::Muestra()
{
    FormShow();
    return exec();
}

void TFormEditRemesas::CargaMonedas()
{
    ListaMonedas(cbxMoneda);
}

void TFormEditRemesas::CargaPlantillas()
{
    cbxPlantilla->clear();
    cbxPlantilla->addItem(Rotulo(148));
    DBGetData("SELECT * FROM [Plantillas( Datos )];", [this](char *fila, char *, int) {
        Anade(cbxPlantilla, GetCampoTexto("Nombre", fila), GetCampo("Id_plantilla", fila));
    });
}

void TFormEditRemesas::CargaPresentadores(const QTreeWidgetItem *seleccionado, int tipoOrden)
{
    CBPresentador->clear();
    CBEmisor->clear();
    const QTreeWidgetItem *padre = seleccionado ? seleccionado->parent() : nullptr;
    for (QTreeWidgetItemIterator i(Principal()->treeInfoGlobal); *i; ++i) {
        if (TFormMain::GetNivelNodo(*i) != ArbolPresentador)
            continue;
        const std::string clave = std::to_string(Numero(TFormMain::IdNodo(*i)));
        std::string orden;
        DBGetData(FormateaTexto("SELECT Id_orden FROM [_Presentadores( Datos )] WHERE Id_presentador=%s;", clave),
                  [&orden](char *fila, char *, int) { orden = GetCampoTexto("Id_orden", fila); });
        if (GetTipoOrden(orden) != tipoOrden || tipoOrden == 0)
            continue;
        Anade(CBPresentador, cp1252::fromQString((*i)->text(0)), clave);
        if (*i == padre) {
            CBPresentador->setCurrentIndex(CBPresentador->count() - 1);
            LlenaEmisores(*i, seleccionado);
            CBEmisor->setEnabled(CBEmisor->count() > 0);
        }
    }
}

void TFormEditRemesas::LlenaEmisores(const QTreeWidgetItem *presentador, const QTreeWidgetItem *seleccionado)
{
    CBEmisor->clear();
    for (int i = 0; presentador && i < presentador->childCount(); ++i) {
        const QTreeWidgetItem *emisor = presentador->child(i);
        if (TFormMain::GetNivelNodo(emisor) != ArbolEmisor)
            continue;
        Anade(CBEmisor, cp1252::fromQString(emisor->text(0)), std::to_string(Numero(TFormMain::IdNodo(emisor))));
        if (emisor == seleccionado)
            CBEmisor->setCurrentIndex(CBEmisor->count() - 1);
    }
    if (CBEmisor->currentIndex() < 0 && CBEmisor->count() > 0)
        CBEmisor->setCurrentIndex(0);
}

void TFormEditRemesas::FormShow()
{
    TFormMain *principal = Principal();
    m_total = 0;
    m_totalEnorme = false;
    m_monedaInicial = 0;
    lblDescripcion->setText(Etiqueta(188));
    lblMoneda->setText(Etiqueta(323));
    lblPresentador->setText(Etiqueta(320));
    lblEmisor->setText(Etiqueta(321));
    chkEmision->setText(Rotulo(450));
    groupPlantilla->setTitle(Rotulo(444));
    cbtOK->setText(Rotulo(2));
    cbtCancel->setText(Rotulo(3));
    txtDescripcion->setFocus();
    m_tipoOrden = GetTipoOrden(principal->GetTipoOrden());
    CargaPlantillas();

    const QTreeWidgetItem *seleccionado = principal->NodoSeleccionado();
    const QTreeWidgetItem *padre = seleccionado ? seleccionado->parent() : nullptr;
    txtEmisor->setText(seleccionado ? seleccionado->text(0) : QString());
    txtPresentador->setText(padre ? padre->text(0) : QString());
    CargaPresentadores(seleccionado, m_tipoOrden);
    cbxMoneda->setEnabled(true);
    chkEmision->setEnabled(true);
    cbxPlantilla->setEnabled(true);

    if (m_remesa.Modo == RegistroModificar) {
        PreparaModificacion(m_tipoOrden);
    } else {
        m_bloqueada = false;
        const bool emisor = TFormMain::GetNivelNodo(seleccionado) == ArbolEmisor;
        m_emisorAlta = emisor ? Numero(TFormMain::IdNodo(seleccionado)) : 0;
        txtDescripcion->clear();
        cbxMoneda->setCurrentIndex(cbxMoneda->count() > 0 ? 0 : -1);
        cbxPlantilla->setCurrentIndex(0);
        chkEmision->setChecked(false);
        groupPlantilla->setEnabled(false);
        for (QLineEdit *nombre : {txtPresentador, txtEmisor})
            nombre->show();
        for (QComboBox *lista : {CBPresentador, CBEmisor}) {
            lista->setEnabled(false);
            lista->hide();
        }
        cbtOK->setEnabled(HayEmisor());
    }
    chkEmision->show();
    groupPlantilla->show();
    if (m_tipoOrden == 2) {
        chkEmision->setEnabled(false);
        chkEmision->setChecked(true);
        groupPlantilla->setEnabled(true);
    }
}

void TFormEditRemesas::PreparaModificacion(int tipoOrden)
{
    const int id = Numero(m_remesa.Id_remesa);
    std::string total;
    DBGetData(FormateaTexto("SELECT [Importe_total] FROM [Remesas()] WHERE Id_remesa=%d;", id),
              [&total](char *fila, char *, int) { total = GetCampo("Importe_total", fila); });
    const LecturaImporte lectura = LeeImporteSQL(total, 2, m_total);
    if (lectura != LecturaImporte::Correcta)
        m_total = 0;
    m_totalEnorme = lectura == LecturaImporte::DemasiadoGrande;
    m_bloqueada = true;
    for (QComboBox *lista : {CBPresentador, CBEmisor}) {
        lista->setEnabled(lista->count() > 0);
        lista->show();
    }
    for (QLineEdit *nombre : {txtPresentador, txtEmisor})
        nombre->hide();

    std::string recibos;
    DBGetData(FormateaTexto("SELECT Count([Id_documento]) AS Expr1 FROM [Documentos()] WHERE "
                            "[Documentos()].Id_remesa=%d;",
                            id),
              [&recibos](char *fila, char *, int) { recibos = GetCampo("Expr1", fila); });
    const bool conRecibos = Numero(recibos) > 0;

    chkEmision->setChecked(m_remesa.Con_emision == "TRUE");
    PonTextoCaja(txtDescripcion, m_remesa.Descripcion);
    txtDescripcion->selectAll();
    cbxMoneda->setCurrentIndex(std::max(0, EntradaDeClave(cbxMoneda, m_remesa.Id_moneda)));
    m_monedaInicial = cbxMoneda->currentIndex();
    // A template no longer stored shows as none.
    const int plantilla = EntradaDeClave(cbxPlantilla, std::to_string(Numero(m_remesa.Id_plantilla)));
    cbxPlantilla->setCurrentIndex(std::max(0, plantilla));

    // A batch with bills keeps its issue flag and template.
    if (conRecibos) {
        chkEmision->setEnabled(false);
        cbxPlantilla->setEnabled(false);
    } else if (tipoOrden == 2) {
        chkEmision->setChecked(true);
    }
    groupPlantilla->setEnabled(chkEmision->isChecked());
    cbtOK->setEnabled(false);
    m_emisorCambiado = false;
}

// ---- Changes ----

bool TFormEditRemesas::HayEmisor() const
{
    return m_remesa.Modo == RegistroModificar ? Numero(ClaveEntrada(CBEmisor)) > 0 : m_emisorAlta > 0;
}

void TFormEditRemesas::Cambio()
{
    cbtOK->setEnabled(HayEmisor());
}

void TFormEditRemesas::txtDescripcionChange()
{
    Cambio();
}

void TFormEditRemesas::CBEmisorChange()
{
    m_emisorCambiado = true;
    Cambio();
}

void TFormEditRemesas::CBPresentadorChange()
{
    m_emisorCambiado = true;
    const std::string clave = ClaveEntrada(CBPresentador);
    const QTreeWidgetItem *presentador = nullptr;
    for (QTreeWidgetItemIterator i(Principal()->treeInfoGlobal); *i && !presentador; ++i)
        if (TFormMain::GetNivelNodo(*i) == ArbolPresentador && std::to_string(Numero(TFormMain::IdNodo(*i))) == clave)
            presentador = *i;
    LlenaEmisores(presentador, Principal()->NodoSeleccionado());
    CBEmisor->setEnabled(CBEmisor->count() > 0);
    Cambio();
}

void TFormEditRemesas::chkEmisionClick()
{
    Cambio();
    const bool marcada = chkEmision->isChecked();
    groupPlantilla->setEnabled(marcada);
    if (marcada && chkEmision->isEnabled())
        cbxPlantilla->setEnabled(true);
}

// ---- Saving ----

DatosRemesaEditada TFormEditRemesas::Datos() const
{
    DatosRemesaEditada d;
    d.Con_emision = chkEmision->isChecked();
    d.Id_plantilla = cbxPlantilla->currentIndex() > 0 && d.Con_emision ? ClaveEntrada(cbxPlantilla) : "NULL";
    d.Id_moneda = ClaveEntrada(cbxMoneda);
    d.Descripcion = TextoCaja(txtDescripcion);
    return d;
}

void TFormEditRemesas::cbtOKClick()
{
    LimpiaCaja(txtDescripcion);
    const DatosRemesaEditada datos = Datos();
    std::string nombre = datos.Descripcion;
    if (QuitaBlancos(nombre).empty()) {
        AvisoTexto(149, 150, IconoMensaje::Informacion);
        return;
    }
    if (m_remesa.Modo == RegistroModificar ? Modificacion(datos) : Alta(datos))
        accept();
}

bool TFormEditRemesas::Alta(const DatosRemesaEditada &datos)
{
    if (!HayEmisor())
        return false;
    DatosRemesaEditada nueva = datos;
    nueva.Id_emisor = m_emisorAlta;
    const int id = InsertaRemesa(nueva);
    if (id == 0) {
        AvisoTexto(997, 1, IconoMensaje::Error);
        return false;
    }
    TFormMain *principal = Principal();
    if (QTreeWidgetItem *seleccionado = principal->NodoSeleccionado())
        Notifica(NIVEL_REMESAS, Numero(TFormMain::IdNodo(seleccionado)));
    DBGetData(FormateaTexto(kConsultaFila, id), [principal, id](char *fila, char *, int) {
        QTableWidget *grid = principal->lstGridRemesas;
        const int n = grid->rowCount();
        grid->setRowCount(n + 1);
        principal->FilaRemesa(n, fila);
        principal->AgregaNodoRemesa(std::to_string(id), GetCampoTexto("Descripcion", fila));
    });
    return true;
}

bool TFormEditRemesas::CabeEnMoneda(const std::string &moneda) const
{
    return !m_totalEnorme && m_total <= (moneda == kMonedaEuros ? kMaximoEuros : kMaximoPesetas);
}

bool TFormEditRemesas::Modificacion(DatosRemesaEditada datos)
{
    const bool cambiaMoneda = cbxMoneda->currentIndex() != m_monedaInicial;
    if (cambiaMoneda && !CabeEnMoneda(datos.Id_moneda)) {
        AvisoTexto(668, 1, IconoMensaje::Error);
        return false;
    }
    // Only an issuer that exists takes the batch.
    datos.Id_emisor = Numero(ClaveEntrada(CBEmisor));
    if (datos.Id_emisor <= 0)
        return false;
    const int id = Numero(m_remesa.Id_remesa);
    LiberaBloqueo();
    GuardadoRemesa guardado;
    {
        PausaMultiusuario pausa(App().Multiuser);
        CursorEspera espera;
        guardado = ModificaRemesa(id, datos, cambiaMoneda);
    }
    if (guardado != GuardadoRemesa::Guardada) {
        // The window stays open: it holds the batch again, or closes when another copy took it.
        m_bloqueada = App().Multiuser && App().Multiuser->BloqueaRemesa(id, false);
        if (guardado == GuardadoRemesa::Retenida)
            AvisoTexto(643, 6, IconoMensaje::Ninguno);
        if (!m_bloqueada)
            reject();
        return false;
    }

    TFormMain *principal = Principal();
    if (cambiaMoneda)
        principal->MonedaRemesa = datos.Id_moneda;
    if (QTreeWidgetItem *seleccionado = principal->NodoSeleccionado())
        Notifica(NIVEL_REMESAS, Numero(TFormMain::IdNodo(seleccionado)));
    ActualizaFilaGrid();
    if (m_emisorCambiado) {
        principal->CargaArbol(principal->IdEmpresa);
        for (QTreeWidgetItemIterator i(principal->treeInfoGlobal); *i; ++i)
            if (TFormMain::GetNivelNodo(*i) == ArbolEmisor && Numero(TFormMain::IdNodo(*i)) == datos.Id_emisor) {
                principal->treeInfoGlobal->setCurrentItem(*i);
                break;
            }
    } else {
        principal->SetTextoNodo(m_remesa.Id_remesa, datos.Descripcion);
    }
    return true;
}

void TFormEditRemesas::ActualizaFilaGrid()
{
    TFormMain *principal = Principal();
    QTableWidget *grid = principal->lstGridRemesas;
    const int id = Numero(m_remesa.Id_remesa);
    for (int fila = 0; fila < grid->rowCount(); ++fila) {
        const QTableWidgetItem *celda = grid->item(fila, 0);
        if (!celda || celda->text().toInt() != id)
            continue;
        grid->setCurrentCell(fila, std::max(0, grid->currentColumn()));
        DBGetData(FormateaTexto(kConsultaFila, id),
                  [principal, fila](char *texto, char *, int) { principal->FilaRemesa(fila, texto); });
        return;
    }
}

// ---- Leaving ----

void TFormEditRemesas::LiberaBloqueo()
{
    if (!m_bloqueada)
        return;
    m_bloqueada = false;
    if (_multiuser *m = App().Multiuser)
        m->DesbloqueaRemesa(Numero(m_remesa.Id_remesa), false);
}

void TFormEditRemesas::cbtCancelClick()
{
    reject();
}

void TFormEditRemesas::done(int resultado)
{
    LiberaBloqueo();
    if (TFormMain *principal = Principal())
        SafeSetFocus(principal->lstGridRemesas);
    QDialog::done(resultado);
}

void TFormEditRemesas::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        cbtOKClick();
        return;
    }
    QDialog::keyPressEvent(evento);
}
