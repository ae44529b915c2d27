// The concept-template designer.
#include "Frmplantillas.h"

#include "Aplicacion.h"
#include "Cfgfile.h"
#include "Controles.h"
#include "Frmmsg.h"
#include "General.h"
#include "Guardarcomo.h"
#include "Multiuser.h"
#include "Propiedades.h"
#include "Trejilla.h"
#include "b_str.h"
#include "itemproto.h"
#include "qcp1252.h"
#include "vars.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kLargoNombre = 50;
constexpr int kBotonSeleccion = -1;
constexpr int kBotonBorrar = -2;

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

// The product's message dialog: a notice (one button) or a question (accept, cancel);
// true for the first button.
bool Aviso(int titulo, const std::string &texto)
{
    return ShowMsg(Texto(titulo), "%s", 0, texto) == 1;
}
bool Pregunta(int titulo, int texto)
{
    return ShowMsg(Texto(titulo), "%s", MsgAceptar | MsgDosBotones, Texto(texto)) == 1;
}

bool Si(int texto)
{
    return AvisoTexto(texto, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) == RespuestaSi;
}

B_AStr_t *Item(const Plantilla &plantilla, size_t i)
{
    return static_cast<B_AStr_t *const *>(plantilla.stkItems.data)[i];
}

bool EsTotal(B_AStr_t *item)
{
    return B_stricmp(PlItemVar(item, ITEM_VAR_TOTAL, ""), "si") == 0;
}

int Entero(B_AStr_t *item, const char *variable)
{
    return std::atoi(PlItemVar(item, variable, "0"));
}

ItemRect_t Limites(B_AStr_t *item, Plantilla *plantilla)
{
    ItemRect_t r{-1, -1, -1, -1};
    PlItemCallFn(item, ITEM_MSG_RECT, plantilla, &r);
    return r;
}

bool EnPagina(const ItemRect_t &r)
{
    return r.nX1 >= 0 && r.nY1 >= 0 && r.nX2 <= ITEM_CONCEPT_COLS && r.nY2 <= ITEM_CONCEPT_ROWS;
}

// The cells item would take with its variable nombre set to valor.
ItemRect_t LimitesCon(B_AStr_t *item, const std::string &nombre, const std::string &valor, Plantilla *plantilla)
{
    std::string texto(item->uUsed + 2, '\0');
    VarStr(item, texto.data(), texto.size());
    B_AStr_t *copia = VarCons(nullptr, texto.c_str());
    VarSet(copia, nombre.c_str(), valor.c_str());
    const ItemRect_t r = Limites(copia, plantilla);
    B_AStrDest(copia);
    return r;
}

void PonPosicion(B_AStr_t *item, int x, int y)
{
    char numero[16];
    std::snprintf(numero, sizeof numero, "%d", x);
    VarSet(item, ITEM_VAR_X, numero);
    std::snprintf(numero, sizeof numero, "%d", y);
    VarSet(item, ITEM_VAR_Y, numero);
}

_multiuser *Multiuser()
{
    return App().Multiuser;
}

QToolButton *Boton(QWidget *padre, const char *nombre, QStyle::StandardPixmap icono)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setIcon(padre->style()->standardIcon(icono));
    b->setFixedSize(32, 23);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QToolButton *BotonElemento(QWidget *padre, const char *nombre)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setFixedSize(25, 25);
    b->setIconSize(QSize(18, 18));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel *Pie(QWidget *padre)
{
    auto *l = new QLabel(padre);
    QFont letra = l->font();
    letra.setPointSize(7);
    l->setFont(letra);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

TFormPlantillas::TFormPlantillas(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      PanelToolbar(new QFrame(this)),
      LblNombre(new QLabel(PanelToolbar)),
      CBNombre(new QComboBox(PanelToolbar)),
      BtnNueva(Boton(PanelToolbar, "BtnNueva", QStyle::SP_FileIcon)),
      BtnBorrar(Boton(PanelToolbar, "BtnBorrar", QStyle::SP_TrashIcon)),
      BtnGrabar(Boton(PanelToolbar, "BtnGrabar", QStyle::SP_DialogSaveButton)),
      BtnGuardarComo(Boton(PanelToolbar, "BtnGuardarComo", QStyle::SP_DriveFDIcon)),
      Label1(Pie(PanelToolbar)),
      Label2(Pie(PanelToolbar)),
      Label3(Pie(PanelToolbar)),
      Label4(Pie(PanelToolbar)),
      Rejilla(new TRejilla(this)),
      PanelItems(new QFrame(this)),
      BtnNoItem(BotonElemento(PanelItems, "BtnNoItem")),
      BtnItemBorrar(BotonElemento(PanelItems, "BtnItemBorrar")),
      BottomCerrar(new QPushButton(PanelItems)),
      PanelCoord(new QFrame(PanelItems)),
      LblCoord(new QLabel(PanelCoord)),
      m_grupo(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("FormPlantillas"));
    resize(651, 227);

    CBNombre->setObjectName(QStringLiteral("CBNombre"));
    CBNombre->setEditable(true);
    CBNombre->setInsertPolicy(QComboBox::NoInsert);
    CBNombre->lineEdit()->setMaxLength(kLargoNombre);
    CBNombre->setFixedWidth(365);
    auto *herramientas = new QGridLayout(PanelToolbar);
    herramientas->setContentsMargins(4, 2, 4, 0);
    herramientas->setVerticalSpacing(0);
    herramientas->addWidget(LblNombre, 0, 0);
    herramientas->addWidget(CBNombre, 0, 1);
    herramientas->setColumnStretch(2, 1);
    int columna = 3;
    for (auto [boton, pie] : {std::pair{BtnNueva, Label1}, {BtnGrabar, Label2}, {BtnBorrar, Label3},
                              {BtnGuardarComo, Label4}}) {
        herramientas->addWidget(boton, 0, columna, Qt::AlignHCenter);
        herramientas->addWidget(pie, 1, columna++, Qt::AlignHCenter);
    }

    Rejilla->setObjectName(QStringLiteral("Rejilla"));
    Rejilla->SetColumns(ITEM_CONCEPT_COLS);
    Rejilla->SetRows(ITEM_CONCEPT_ROWS);
    QFont courier(QStringLiteral("Courier New"), 8);
    courier.setStyleHint(QFont::Monospace);
    Rejilla->setFont(courier);
    Rejilla->SetBackColor(palette().color(QPalette::Base));
    Rejilla->SetLineColor(Qt::gray);
    Rejilla->setFocusPolicy(Qt::ClickFocus);
    Rejilla->setMinimumSize(ITEM_CONCEPT_COLS * 8 + 1, ITEM_CONCEPT_ROWS * 14 + 1);

    BtnNoItem->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    BtnNoItem->setChecked(true);
    BtnItemBorrar->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    BtnItemBorrar->setEnabled(false);
    m_grupo->addButton(BtnNoItem, kBotonSeleccion);
    m_grupo->addButton(BtnItemBorrar, kBotonBorrar);
    m_boton = BtnNoItem;
    BottomCerrar->setObjectName(QStringLiteral("BottomCerrar"));
    BottomCerrar->setAutoDefault(false);
    BottomCerrar->setFocusPolicy(Qt::NoFocus);
    PanelCoord->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont negrita(QStringLiteral("Courier New"), 9, QFont::Bold);
    negrita.setStyleHint(QFont::Monospace);
    LblCoord->setFont(negrita);
    LblCoord->setText(QStringLiteral("X:00 - Y:00"));
    (new QHBoxLayout(PanelCoord))->addWidget(LblCoord);
    auto *elementos = new QHBoxLayout(PanelItems);
    elementos->setContentsMargins(4, 2, 4, 2);
    elementos->addWidget(BtnNoItem);
    elementos->addWidget(BtnItemBorrar);
    CreaBotonesTipo();
    for (QToolButton *b : BotonesTipo)
        elementos->addWidget(b);
    elementos->addStretch();
    elementos->addWidget(BottomCerrar);
    elementos->addWidget(PanelCoord);

    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->setSpacing(2);
    todo->addWidget(PanelToolbar);
    todo->addWidget(Rejilla, 1);
    todo->addWidget(PanelItems);

    connect(BtnNueva, &QToolButton::clicked, this, &TFormPlantillas::BtnNuevaClick);
    connect(BtnGrabar, &QToolButton::clicked, this, &TFormPlantillas::BtnGrabarClick);
    connect(BtnBorrar, &QToolButton::clicked, this, &TFormPlantillas::BtnBorrarClick);
    connect(BtnGuardarComo, &QToolButton::clicked, this, &TFormPlantillas::BtnGuardarComoClick);
    connect(BottomCerrar, &QPushButton::clicked, this, &TFormPlantillas::reject);
    connect(m_grupo, &QButtonGroup::buttonClicked, this, &TFormPlantillas::BtnItemClick);
    connect(CBNombre, &QComboBox::activated, this, &TFormPlantillas::CBNombreChange);
    connect(CBNombre->lineEdit(), &QLineEdit::textEdited, this, &TFormPlantillas::CBNombreEdit);
    connect(Rejilla, &TRejilla::OnPaint, this, &TFormPlantillas::RejillaPaint);
    connect(Rejilla, &TRejilla::OnMouseDown, this, &TFormPlantillas::RejillaMouseDown);
    connect(Rejilla, &TRejilla::OnMouseMove, this, &TFormPlantillas::RejillaMouseMove);
    connect(Rejilla, &TRejilla::OnDblClick, this, &TFormPlantillas::RejillaDblClick);

    CargaNombres();
    Vacia();
}

TFormPlantillas::~TFormPlantillas()
{
    Libera();
    Selecciona(nullptr, false);
}

void TFormPlantillas::CreaBotonesTipo()
{
    const Stack *tipos = PlTiposItem();
    for (size_t i = 0; tipos && i < tipos->used; ++i) {
        B_AStr_t *tipo = static_cast<B_AStr_t *const *>(tipos->data)[i];
        QToolButton *b = BotonElemento(PanelItems, "BtnItem");
        b->setObjectName(QStringLiteral("BtnItem") + cp1252::toQString(PlItemVar(tipo, ITEM_TYPE_NOMBRE, "")));
        b->setIcon(ImagenTipoItem(PlItemVar(tipo, ITEM_TYPE_DLL, nullptr), PlItemVar(tipo, "Icono", nullptr)));
        b->setToolTip(
            cp1252::toQString(PlTipoItemStr(tipo, std::atoi(PlItemVar(tipo, "Hint", "-1")), "\xBF?")));
        m_grupo->addButton(b, int(i));
        BotonesTipo.push_back(b);
    }
}

void TFormPlantillas::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    setWindowTitle(Rotulo(337));
    BottomCerrar->setText(Rotulo(8));
    LblNombre->setText(Rotulo(354) + QLatin1Char(':'));
    Label1->setText(Rotulo(122));
    Label2->setText(Rotulo(114));
    Label3->setText(Rotulo(37));
    Label4->setText(Rotulo(115));
    BtnNueva->setToolTip(Rotulo(221));
    BtnGrabar->setToolTip(Rotulo(222));
    BtnBorrar->setToolTip(Rotulo(223));
    BtnNoItem->setToolTip(Rotulo(224));
    BtnItemBorrar->setToolTip(Rotulo(225));
}

// ---- Templates ----

void TFormPlantillas::CargaNombres()
{
    const QScopedValueRollback<bool> cargando(m_cargando, true);
    m_ids = CargaIdsPlantillas();
    CBNombre->clear();
    for (int id : m_ids)
        CBNombre->addItem(cp1252::toQString(GetNombrePlantilla(id).value_or("<sin nombre>")));
}

void TFormPlantillas::Vacia()
{
    Selecciona(nullptr, false);
    m_plantilla.Flush();
    m_indice = -1;
    Marca(false);
    BtnNoItem->setChecked(true);
    m_boton = BtnNoItem;
    const QScopedValueRollback<bool> cargando(m_cargando, true);
    CBNombre->setCurrentIndex(-1);
    CBNombre->setEditText(QString());
    Rejilla->update();
}

void TFormPlantillas::Marca(bool modificada)
{
    m_modificada = modificada;
}

void TFormPlantillas::Libera()
{
    if (m_bloqueada > 0 && Multiuser())
        Multiuser()->DesbloqueaPlantilla(m_bloqueada);
    m_bloqueada = 0;
}

void TFormPlantillas::CBNombreChange(int indice)
{
    if (m_cargando || indice == m_indice)
        return;
    const auto vuelve = [this] {
        const QScopedValueRollback<bool> cargando(m_cargando, true);
        CBNombre->setCurrentIndex(m_indice);
        CBNombre->setEditText(cp1252::toQString(m_plantilla.acNombre));
    };
    if (Abandona(true) < 0) {
        vuelve();
        return;
    }
    if (indice < 0 || indice >= int(m_ids.size()))
        return;
    const int id = m_ids[size_t(indice)];
    if (id < 1)
        return;
    const int anterior = m_bloqueada;
    if (!Multiuser() || !Multiuser()->BloqueaPlantilla(id)) {
        // Locking let the previous template go: it is taken back.
        m_bloqueada = anterior > 0 && Multiuser() && Multiuser()->BloqueaPlantilla(anterior) ? anterior : 0;
        AvisoTexto(649, 6, IconoMensaje::Error);
        vuelve();
        return;
    }
    m_bloqueada = id;
    Abre(id);
}

void TFormPlantillas::Abre(int id)
{
    Vacia();
    if (CargaPlantilla(m_plantilla, id) == 0) {
        auto it = std::find(m_ids.begin(), m_ids.end(), id);
        if (it == m_ids.end()) {
            m_ids.push_back(id);
            const QScopedValueRollback<bool> cargando(m_cargando, true);
            CBNombre->addItem(cp1252::toQString(m_plantilla.acNombre));
            it = m_ids.end() - 1;
        }
        m_indice = int(it - m_ids.begin());
    }
    const QScopedValueRollback<bool> cargando(m_cargando, true);
    CBNombre->setCurrentIndex(m_indice);
    CBNombre->setEditText(cp1252::toQString(m_plantilla.acNombre));
    Rejilla->update();
}

void TFormPlantillas::CBNombreEdit(const QString &texto)
{
    const std::string nombre = cp1252::fromQString(texto).substr(0, PL_NOMBRE_LEN);
    if (nombre == m_plantilla.acNombre)
        return;
    std::strncpy(m_plantilla.acNombre, nombre.c_str(), PL_NOMBRE_LEN);
    Marca(true);
}

int TFormPlantillas::Abandona(bool preguntar)
{
    if (m_colocando && !Selecciona(nullptr, true))
        return -1;
    if (!m_modificada)
        return 0;
    if (preguntar && !Pregunta(207, 206))
        return 0;
    const std::string nombre = cp1252::fromQString(CBNombre->currentText()).substr(0, PL_NOMBRE_LEN);
    if (nombre.empty()) {
        Aviso(14, Texto(208));
        return -1;
    }
    if (NombreRepetido(nombre)) {
        Aviso(14, Texto(147));
        return -1;
    }
    if (m_plantilla.stkItems.used == 0) {
        Aviso(14, Texto(220));
        Marca(false);
        return -1;
    }
    bool conTotal = false;
    for (size_t i = 0; i < m_plantilla.stkItems.used; ++i)
        conTotal = conTotal || EsTotal(Item(m_plantilla, i));
    if (!conTotal && !Pregunta(14, 209))
        return -1;
    std::memset(m_plantilla.acNombre, 0, sizeof m_plantilla.acNombre);
    std::strncpy(m_plantilla.acNombre, nombre.c_str(), PL_NOMBRE_LEN);
    return Guarda() ? 0 : -1;
}

bool TFormPlantillas::NombreRepetido(const std::string &nombre) const
{
    const std::string guardado = LimpiaTexto(nombre);
    for (int id : CargaIdsPlantillas())
        if (id != m_plantilla.nId && B_stricmp(GetNombrePlantilla(id).value_or("").c_str(), guardado.c_str()) == 0)
            return true;
    return false;
}

bool TFormPlantillas::Guarda()
{
    const int id = m_plantilla.nId;
    Libera();
    if (GuardaPlantilla(m_plantilla) < 0) {
        const bool otraCopia = id > 0 && !(Multiuser() && Multiuser()->BloqueaPlantilla(id));
        if (!otraCopia && id > 0)
            m_bloqueada = id;
        if (otraCopia)
            AvisoTexto(649, 6, IconoMensaje::Error);
        else
            AvisoTexto(985, 1, IconoMensaje::Error);
        return false;
    }
    Marca(false);
    const QScopedValueRollback<bool> cargando(m_cargando, true);
    const QString nombre = cp1252::toQString(m_plantilla.acNombre);
    if (id < 0) {
        m_ids.push_back(m_plantilla.nId);
        CBNombre->addItem(nombre);
        m_indice = int(m_ids.size()) - 1;
    } else if (m_indice >= 0) {
        CBNombre->setItemText(m_indice, nombre);
    }
    CBNombre->setCurrentIndex(m_indice);
    CBNombre->setEditText(nombre);
    if (Multiuser() && Multiuser()->BloqueaPlantilla(m_plantilla.nId))
        m_bloqueada = m_plantilla.nId;
    return true;
}

// ---- Buttons ----

void TFormPlantillas::BtnNuevaClick()
{
    if (Abandona(true) < 0)
        return;
    Libera();
    Vacia();
}

void TFormPlantillas::BtnGrabarClick()
{
    if (Si(218))
        Abandona(false);
}

void TFormPlantillas::BtnBorrarClick()
{
    if (!Pregunta(37, 210))
        return;
    if (const int id = m_plantilla.nId; id > 0) {
        Libera();
        if (BorraPlantilla(id) < 1) {
            if (Multiuser() && Multiuser()->BloqueaPlantilla(id))
                m_bloqueada = id;
            Aviso(211, Texto(212));
            return;
        }
    }
    CargaNombres();
    Vacia();
}

void TFormPlantillas::BtnGuardarComoClick()
{
    TFRMGuardarComo *dialogo = App().FRMGuardarComo;
    if (dialogo->exec() == TFRMGuardarComo::ResultadoCancelar) {
        reject();
        return;
    }
    if (!Si(219))
        return;
    Libera();
    m_plantilla.nId = -1;
    m_indice = -1;
    Marca(true);
    {
        const QScopedValueRollback<bool> cargando(m_cargando, true);
        CBNombre->setCurrentIndex(-1);
        CBNombre->setEditText(dialogo->TxtPlantilla->text());
    }
    Abandona(false);
}

void TFormPlantillas::reject()
{
    if (Abandona(true) < 0)
        return;
    Libera();
    Vacia();
    QDialog::reject();
}

void TFormPlantillas::BtnItemClick(QAbstractButton *boton)
{
    const int tag = m_grupo->id(boton);
    const auto anterior = [this] {
        if (m_boton)
            m_boton->setChecked(true);
    };
    if (!Selecciona(m_colocando ? nullptr : m_seleccion, true)) {
        anterior();
        return;
    }
    if (tag == kBotonSeleccion) {
        m_boton = BtnNoItem;
        return;
    }
    if (tag == kBotonBorrar) {
        if (!m_seleccion || !Pregunta(37, 213)) {
            anterior();
            return;
        }
        BorraSeleccionado();
        BtnNoItem->setChecked(true);
        m_boton = BtnNoItem;
        return;
    }
    B_AStr_t *tipo = static_cast<B_AStr_t *const *>(PlTiposItem()->data)[tag];
    B_AStr_t *item = m_plantilla.ItemNew(PlItemVar(tipo, ITEM_TYPE_NOMBRE, ""));
    const bool aceptado = item && App().FormProps->Edita(item, [this](B_AStr_t *i, const std::string &n,
                                                                      const std::string &v) { return Valida(i, n, v); });
    if (!aceptado) {
        if (item)
            B_AStrDest(item);
        BtnNoItem->setChecked(true);
        m_boton = BtnNoItem;
        return;
    }
    Selecciona(nullptr, false);
    m_seleccion = item;
    m_colocando = true;
    m_boton = boton;
    BtnItemBorrar->setEnabled(false);
    Rejilla->setCursor(Qt::CrossCursor);
}

// ---- Items ----

bool TFormPlantillas::Selecciona(B_AStr_t *item, bool preguntar)
{
    if (m_colocando && item != m_seleccion) {
        if (preguntar && !Pregunta(15, 214))
            return false;
        B_AStrDest(m_seleccion);
        m_seleccion = nullptr;
    }
    m_colocando = false;
    m_seleccion = item;
    BtnItemBorrar->setEnabled(item != nullptr);
    Rejilla->unsetCursor();
    Rejilla->update();
    return true;
}

void TFormPlantillas::BorraSeleccionado()
{
    const int i = m_plantilla.ItemByName(PlItemVar(m_seleccion, ITEM_VAR_IDENTIFICADOR, ""));
    if (i < 0)
        return;
    B_AStr_t *item = Item(m_plantilla, size_t(i));
    RemoveElement(&m_plantilla.stkItems, i);
    B_AStrDest(item);
    m_seleccion = nullptr;
    BtnItemBorrar->setEnabled(false);
    Marca(true);
    Rejilla->update();
}

B_AStr_t *TFormPlantillas::ItemEn(int columna, int fila) const
{
    auto *plantilla = const_cast<Plantilla *>(&m_plantilla);
    for (size_t i = 0; i < m_plantilla.stkItems.used; ++i) {
        B_AStr_t *item = Item(m_plantilla, i);
        const ItemRect_t r = Limites(item, plantilla);
        if (r.nX1 >= 0 && r.nY1 >= 0 && r.nX1 <= columna && columna < r.nX2 && r.nY1 <= fila && fila < r.nY2)
            return item;
    }
    return nullptr;
}

int TFormPlantillas::Valida(B_AStr_t *item, const std::string &nombre, const std::string &valor)
{
    ItemValidate_t pregunta{nombre.c_str(), valor.c_str(), nullptr};
    if (PlItemCallFn(item, ITEM_MSG_VALIDATE, &m_plantilla, &pregunta) < 0) {
        Aviso(1, pregunta.pcMessage && *pregunta.pcMessage ? pregunta.pcMessage : Texto(215));
        return -1;
    }
    // The separator of stored items, or a name no item can be found by, would split or
    // lose the item when the template is stored and read back.
    const bool esNombre = B_stricmp(nombre.c_str(), ITEM_VAR_IDENTIFICADOR) == 0;
    if (valor.find('\xB7') != std::string::npos || (esNombre && valor.empty())) {
        Aviso(1, Texto(215));
        return -1;
    }
    if (esNombre) {
        const int portador = m_plantilla.ItemByName(valor.c_str());
        if (m_plantilla.TestItemName(valor.c_str()) > 1 || (portador >= 0 && Item(m_plantilla, size_t(portador)) != item)) {
            Aviso(1, Texto(216));
            return -1;
        }
    }
    if (B_stricmp(nombre.c_str(), ITEM_VAR_TOTAL) == 0 && B_stricmp(valor.c_str(), "si") == 0)
        for (size_t i = 0; i < m_plantilla.stkItems.used; ++i)
            if (Item(m_plantilla, i) != item && EsTotal(Item(m_plantilla, i))) {
                Aviso(1, Texto(217));
                return -1;
            }
    // A placed item stays whole inside the page.
    bool colocado = false;
    for (size_t i = 0; i < m_plantilla.stkItems.used; ++i)
        colocado = colocado || Item(m_plantilla, i) == item;
    if (colocado && !EnPagina(LimitesCon(item, nombre, valor, &m_plantilla))) {
        Aviso(1, Texto(215));
        return -1;
    }
    return 0;
}

void TFormPlantillas::EditaSeleccionado()
{
    if (!m_seleccion || m_colocando)
        return;
    if (App().FormProps->Edita(m_seleccion, [this](B_AStr_t *i, const std::string &n, const std::string &v) {
            return Valida(i, n, v);
        }))
        Marca(true);
    Rejilla->update();
}

void TFormPlantillas::Mueve(int dx, int dy)
{
    if (!m_seleccion || m_colocando)
        return;
    ItemRect_t r = Limites(m_seleccion, &m_plantilla);
    if (r.nX1 < 0)
        return;
    r = {r.nX1 + dx, r.nY1 + dy, r.nX2 + dx, r.nY2 + dy};
    if (!EnPagina(r))
        return;
    PonPosicion(m_seleccion, r.nX1, r.nY1);
    Marca(true);
    Rejilla->update();
}

// ---- Grid ----

void TFormPlantillas::RejillaMouseDown(Qt::MouseButton, int x, int y)
{
    int fila = 0, columna = 0;
    if (Rejilla->PointToCell(x, y, &fila, &columna) != 0)
        return;
    B_AStr_t *item = ItemEn(columna, fila);
    if (!item && m_colocando) {
        PonPosicion(m_seleccion, columna, fila);
        if (!EnPagina(Limites(m_seleccion, &m_plantilla)) || m_plantilla.ItemAdd(m_seleccion) != 0)
            return;
        m_colocando = false;
        Selecciona(m_seleccion, false);
        Marca(true);
    } else if (!Selecciona(item, true)) {
        return;
    }
    BtnNoItem->setChecked(true);
    m_boton = BtnNoItem;
}

void TFormPlantillas::RejillaMouseMove(int x, int y)
{
    int fila = 0, columna = 0;
    if (Rejilla->PointToCell(x, y, &fila, &columna) != 0) {
        LblCoord->setText(QStringLiteral("X:-- - Y:--"));
        return;
    }
    LblCoord->setText(QString::asprintf("X:%02d - Y:%02d", columna, fila));
}

void TFormPlantillas::RejillaDblClick()
{
    EditaSeleccionado();
}

void TFormPlantillas::RejillaPaint(TRejilla *rejilla)
{
    for (size_t i = 0; i < m_plantilla.stkItems.used; ++i) {
        B_AStr_t *item = Item(m_plantilla, i);
        char texto[ITEM_VALUE_LEN] = {};
        ItemText_t celdas{texto, sizeof texto};
        PlItemCallFn(item, ITEM_MSG_CELLTEXT, &m_plantilla, &celdas);
        rejilla->Print(Entero(item, ITEM_VAR_X), Entero(item, ITEM_VAR_Y), texto);
    }
    if (!m_seleccion || m_colocando)
        return;
    const ItemRect_t r = Limites(m_seleccion, &m_plantilla);
    if (r.nX1 < 0)
        return;
    const int ancho = rejilla->GetCellWidth(), alto = rejilla->GetCellHeight();
    QPainter *lienzo = rejilla->Canvas();
    lienzo->save();
    lienzo->setPen(QPen(Qt::black, 1, Qt::DotLine));
    lienzo->setBrush(Qt::NoBrush);
    lienzo->drawRect(r.nX1 * ancho + 1, r.nY1 * alto + 1, (r.nX2 - r.nX1) * ancho - 2, (r.nY2 - r.nY1) * alto - 2);
    lienzo->restore();
}

void TFormPlantillas::keyPressEvent(QKeyEvent *evento)
{
    if (QWidget *foco = focusWidget(); foco == CBNombre || foco == CBNombre->lineEdit()) {
        QDialog::keyPressEvent(evento);
        return;
    }
    switch (evento->key()) {
    case Qt::Key_Left: Mueve(-1, 0); break;
    case Qt::Key_Right: Mueve(1, 0); break;
    case Qt::Key_Up: Mueve(0, -1); break;
    case Qt::Key_Down: Mueve(0, 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: EditaSeleccionado(); break;
    default: QDialog::keyPressEvent(evento); return;
    }
    evento->accept();
}
