// The item property sheet.
#include "Propiedades.h"

#include "Controles.h"
#include "b_str.h"
#include "cp1252.h"
#include "dll.h"
#include "plantillas.h"
#include "qcp1252.h"
#include "vars.h"

#include <QAbstractItemDelegate>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

constexpr const char *kPrefijoPropiedad = "Propiedad";
constexpr size_t kLargoValor = 512;
constexpr int kAltoFila = 18;
constexpr int kAnchoColumna = 135;

// The words of a property description.
struct Descripcion {
    std::optional<std::string> nombre, nueva, valor, str;
};

Descripcion LeeDescripcion(const std::string &texto)
{
    Descripcion d;
    const auto blanco = [](char c) { return c == ' ' || c == '\t'; };
    for (size_t i = 0; i < texto.size();) {
        while (i < texto.size() && blanco(texto[i]))
            ++i;
        const size_t inicio = i;
        while (i < texto.size() && !blanco(texto[i]))
            ++i;
        const std::string palabra = texto.substr(inicio, i - inicio);
        const size_t igual = palabra.find('=');
        if (igual == std::string::npos)
            continue;
        const std::string nombre = palabra.substr(0, igual), valor = palabra.substr(igual + 1, kLargoValor);
        for (auto [clave, destino] : {std::pair{"Nombre", &d.nombre}, std::pair{"Nueva", &d.nueva},
                                      std::pair{"Valor", &d.valor}, std::pair{"Str", &d.str}})
            if (cp1252::equalNoCase(nombre, clave) && !*destino)
                *destino = valor;
    }
    return d;
}

QTableWidgetItem *Celda(const std::string &texto, bool editable)
{
    auto *celda = new QTableWidgetItem(cp1252::toQString(texto));
    if (!editable)
        celda->setFlags(celda->flags() & ~Qt::ItemIsEditable);
    return celda;
}

// Sets a flag for the length of a scope.
class Bandera {
public:
    explicit Bandera(bool &bandera) : m_bandera(bandera) { m_bandera = true; }
    ~Bandera() { m_bandera = false; }
    Bandera(const Bandera &) = delete;
    Bandera &operator=(const Bandera &) = delete;

private:
    bool &m_bandera;
};

} // namespace

QPixmap ImagenTipoItem(const char *dll, const char *icono)
{
    if (!dll || !icono || !DLLInstance(dll))
        return QPixmap();
    std::string modulo;
    for (const char c : std::string_view(dll))
        modulo += char(cp1252::lower(static_cast<unsigned char>(c)));
    if (modulo.size() >= 4 && modulo.compare(modulo.size() - 4, 4, ".dll") == 0)
        modulo.resize(modulo.size() - 4);
    return QPixmap(cp1252::toQString(":/" + modulo + "/" + icono));
}

TFormProps::TFormProps(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Panel(new QFrame(this)),
      Img(new QLabel(Panel)),
      Lbl(new QLabel(this)),
      SG(new QTableWidget(0, 2, this)),
      BtnAceptar(new QPushButton(this)),
      BtnCancelar(new QPushButton(this))
{
    setWindowTitle(cp1252::toQString("Caracter\xEDsticas"));
    resize(300, 280);

    Panel->setFrameShape(QFrame::StyledPanel);
    Panel->setFixedSize(29, 29);
    Img->setGeometry(5, 5, 18, 18);
    Lbl->setWordWrap(true);
    Lbl->setMinimumSize(233, 49);
    Lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    SG->horizontalHeader()->hide();
    SG->verticalHeader()->hide();
    SG->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SG->verticalHeader()->setDefaultSectionSize(kAltoFila);
    SG->setColumnWidth(0, kAnchoColumna);
    SG->setColumnWidth(1, kAnchoColumna);
    SG->horizontalHeader()->setStretchLastSection(true); // the values take what is left
    SG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG->setSelectionMode(QAbstractItemView::SingleSelection);
    SG->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                        QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);

    BtnAceptar->setDefault(true);

    auto *arriba = new QHBoxLayout;
    arriba->addWidget(Panel, 0, Qt::AlignTop);
    arriba->addWidget(Lbl, 1);
    auto *abajo = new QHBoxLayout;
    abajo->addStretch();
    abajo->addWidget(BtnAceptar);
    abajo->addWidget(BtnCancelar);
    auto *todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(SG, 1);
    todo->addLayout(abajo);

    connect(SG, &QTableWidget::itemChanged, this, &TFormProps::SGItemChanged);
    connect(SG, &QTableWidget::currentCellChanged, this, [this](int fila, int, int filaAnterior, int) {
        if (fila != filaAnterior)
            Confirma();
    });
    connect(BtnAceptar, &QPushButton::clicked, this, &TFormProps::BtnAceptarClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &TFormProps::BtnCancelarClick);
}

bool TFormProps::Edita(B_AStr_t *item, ValidaPropiedad valida)
{
    if (!item)
        return false;
    m_valida = std::move(valida);
    Prepara(item);
    const bool aceptado = exec() == QDialog::Accepted;
    m_item = nullptr;
    m_valida = nullptr;
    m_copia.clear();
    return aceptado;
}

void TFormProps::Prepara(B_AStr_t *item)
{
    m_item = item;
    m_filaEditada = -1;

    const char *dll = PlItemVar(item, ITEM_TYPE_DLL, nullptr);
    const std::string modulo = dll ? dll : "";
    const char *icono = PlItemVar(item, "Icono", nullptr);
    const QPixmap imagen = dll && icono ? ImagenTipoItem(modulo.c_str(), icono) : QPixmap();
    Img->setPixmap(imagen);
    Panel->setVisible(!imagen.isNull());

    Lbl->setText(cp1252::toQString(PlItemStr(item, std::atoi(PlItemVar(item, "Ayuda", "-1")), "")));

    Bandera rellenando(m_rellenando);
    SG->setRowCount(0);
    m_variables.clear();
    if (B_AStr_t *tipo = PlItemTipo(item)) {
        std::vector<std::string> descripciones;
        for (long i = 0; i + 1 < tipo->nStrs; i += 2)
            if (B_strnicmp(B_AStrGet(tipo, i), kPrefijoPropiedad, std::strlen(kPrefijoPropiedad)) == 0)
                descripciones.push_back(B_AStrGet(tipo, i + 1));
        for (const std::string &descripcion : descripciones)
            AgregaPropiedad(descripcion);
    }

    m_copia.assign(item->uUsed + 1, '\0');
    VarStr(item, m_copia.data(), m_copia.size());
}

void TFormProps::AgregaPropiedad(const std::string &descripcion)
{
    const Descripcion d = LeeDescripcion(descripcion);
    if (!d.nombre || d.nombre->empty())
        return;
    const char *variable = d.nombre->c_str();
    const bool tiene = VarGet(m_item, variable, nullptr) != nullptr;
    if (!tiene && d.nueva == "0")
        return;
    if (!tiene && d.valor)
        VarSet(m_item, variable, d.valor->c_str());
    const std::string rotulo = d.str ? PlItemStr(m_item, std::atoi(d.str->c_str()), variable) : *d.nombre;
    const int fila = SG->rowCount();
    SG->insertRow(fila);
    SG->setItem(fila, 0, Celda(rotulo, false));
    SG->setItem(fila, 1, Celda(VarGet(m_item, variable, ""), true));
    m_variables.push_back(*d.nombre);
}

void TFormProps::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    BtnAceptar->setText(Rotulo(2));
    BtnCancelar->setText(Rotulo(3));
    if (SG->rowCount() > 0) {
        SG->setCurrentCell(0, 1);
        SG->setFocus();
        SG->editItem(SG->item(0, 1));
    }
}

void TFormProps::changeEvent(QEvent *evento)
{
    QDialog::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        Confirma();
}

void TFormProps::SGItemChanged(QTableWidgetItem *celda)
{
    if (m_rellenando || celda->column() != 1)
        return;
    m_filaEditada = celda->row();
    Confirma();
}

// Hands the text of a cell being edited to the grid (which commits it) and closes the editor.
void TFormProps::TerminaEdicion()
{
    if (QWidget *editor = SG->indexWidget(SG->currentIndex())) {
        QMetaObject::invokeMethod(SG, "commitData", Q_ARG(QWidget *, editor));
        QMetaObject::invokeMethod(SG, "closeEditor", Q_ARG(QWidget *, editor),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

// Commits the edited row: the item takes the cell's text unless the validation refuses it;
// then the cell returns to the item's value, and the cursor to the cell. One at a time: what
// the refusal's message causes (it deactivates the window) commits nothing more.
void TFormProps::Confirma()
{
    if (m_confirmando || m_filaEditada < 0 || !m_item)
        return;
    Bandera confirmando(m_confirmando);
    const int fila = m_filaEditada;
    const std::string variable = m_variables[size_t(fila)];
    const std::string valor = cp1252::fromQString(SG->item(fila, 1)->text());
    if (valor == VarGet(m_item, variable.c_str(), "")) {
        m_filaEditada = -1;
        return;
    }
    if (m_valida && m_valida(m_item, variable, valor) < 0) {
        Bandera rellenando(m_rellenando);
        SG->item(fila, 1)->setText(cp1252::toQString(VarGet(m_item, variable.c_str(), "")));
        VuelveAFila(fila);
        return;
    }
    VarSet(m_item, variable.c_str(), valor.c_str());
    m_filaEditada = -1;
}

// Once the event that led to a refusal is over, the cursor goes back to the refused cell.
void TFormProps::VuelveAFila(int fila)
{
    QTimer::singleShot(0, this, [this, fila] {
        if (!isVisible() || fila >= SG->rowCount())
            return;
        SG->setCurrentCell(fila, 1);
        activateWindow();
        SG->setFocus();
    });
}

void TFormProps::BtnAceptarClick()
{
    TerminaEdicion();
    Confirma();
    m_filaEditada = -1;
    accept();
}

void TFormProps::BtnCancelarClick()
{
    TerminaEdicion();
    Confirma();
    m_filaEditada = -1;
    if (m_item)
        VarLoad(m_item, m_copia.data(), 1);
    QDialog::reject();
}

void TFormProps::reject()
{
    BtnCancelarClick();
}
