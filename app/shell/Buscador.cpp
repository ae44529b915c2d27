// The search window.
#include "Buscador.h"

#include "Aplicacion.h"
#include "Frmmain.h"
#include "Frmmsg.h"
#include "General.h"
#include "ModeloRecibos.h"
#include "Multiidioma.h"
#include "qcp1252.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

bool IgualSinMayusculas(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string Titulo(const QTableView *grid, int columna)
{
    return cp1252::fromQString(grid->model()->headerData(columna, Qt::Horizontal).toString());
}

} // namespace

void SetupSearch(TFormBuscador *buscador, QTableView *grid, int modo)
{
    buscador->BuscarSiguiente = modo == 1;
    if (modo == 1) {
        if (grid == buscador->GridBusqueda && !buscador->txtTextToFind->text().isEmpty())
            buscador->cbtBuscarClick();
        return;
    }
    buscador->txtTextToFind->clear();
    buscador->GridBusqueda = grid;
    buscador->cbxField->clear();
    buscador->ListaColumnas.clear();
    for (int c = 1; grid && c < grid->model()->columnCount(); ++c) {
        const std::string titulo = Titulo(grid, c);
        if (!Recorta(titulo).empty())
            buscador->cbxField->addItem(cp1252::toQString(titulo));
        buscador->ListaColumnas.push_back(titulo);
    }
    if (buscador->cbxField->count() > 0)
        buscador->cbxField->setCurrentIndex(0);
}

TFormBuscador::TFormBuscador(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      Label1(new QLabel(this)),
      Label2(new QLabel(this)),
      cbxField(new QComboBox(this)),
      txtTextToFind(new QLineEdit(this)),
      cbtBuscar(new QPushButton(this)),
      cbtCerrar(new QPushButton(this))
{
    setObjectName(QStringLiteral("FormBuscador"));
    cbxField->setObjectName(QStringLiteral("cbxField"));
    txtTextToFind->setObjectName(QStringLiteral("txtTextToFind"));
    cbtBuscar->setObjectName(QStringLiteral("cbtBuscar"));
    cbtCerrar->setObjectName(QStringLiteral("cbtCerrar"));
    cbtBuscar->setAutoDefault(false);
    cbtCerrar->setAutoDefault(false);
    cbtBuscar->setEnabled(false);

    auto *campos = new QGridLayout;
    campos->addWidget(Label1, 0, 0);
    campos->addWidget(cbxField, 0, 1);
    campos->addWidget(Label2, 1, 0);
    campos->addWidget(txtTextToFind, 1, 1);
    cbxField->setMinimumWidth(220);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cbtBuscar);
    botones->addWidget(cbtCerrar);
    auto *todo = new QVBoxLayout(this);
    todo->addLayout(campos);
    todo->addLayout(botones);

    connect(txtTextToFind, &QLineEdit::textChanged, this, &TFormBuscador::txtTextToFindChange);
    connect(cbtBuscar, &QPushButton::clicked, this, &TFormBuscador::cbtBuscarClick);
    connect(cbtCerrar, &QPushButton::clicked, this, &TFormBuscador::reject);
}

void TFormBuscador::showEvent(QShowEvent *evento)
{
    FormShow();
    QDialog::showEvent(evento);
}

void TFormBuscador::FormShow()
{
    Label1->setText(cp1252::toQString(Texto(409)));
    Label2->setText(cp1252::toQString(Texto(410)));
    setWindowTitle(cp1252::toQString(Texto(442)));
    cbtCerrar->setText(cp1252::toQString(Texto(3)));
    cbtBuscar->setText(cp1252::toQString(Texto(33)));
    txtTextToFind->setFocus();
}

void TFormBuscador::keyPressEvent(QKeyEvent *evento)
{
    const int tecla = evento->key();
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter || tecla == Qt::Key_F3) {
        if (cbtBuscar->isEnabled())
            cbtBuscarClick();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void TFormBuscador::txtTextToFindChange()
{
    cbtBuscar->setEnabled(!txtTextToFind->text().trimmed().isEmpty());
}

void TFormBuscador::cbtBuscarClick()
{
    const int inicio = !BuscarSiguiente || FilaSiguiente < 1 ? 1 : FilaSiguiente;
    std::string texto = cp1252::fromQString(txtTextToFind->text());
    const std::string campo = cp1252::fromQString(cbxField->currentText());
    if (Recorta(campo) == Texto(347)) {
        if (Recorta(texto) == Texto(189))
            texto = "TRUE";
        else if (Recorta(texto) == Texto(190))
            texto = "FALSE";
    }
    if (!GridBusqueda)
        return;
    CursorEspera espera;
    const auto p = std::find_if(ListaColumnas.begin(), ListaColumnas.end(),
                                [&](const std::string &titulo) { return IgualSinMayusculas(titulo, campo); });
    if (p == ListaColumnas.end())
        return;
    const int columna = 1 + int(p - ListaColumnas.begin());
    const int fila = BuscaFila(inicio, columna, texto);
    if (fila == 0) {
        CajaMensaje(Texto(123), Texto(124), IconoMensaje::Informacion);
        FilaSiguiente = 0;
        return;
    }
    Selecciona(fila);
    FilaSiguiente = fila + 1;
    accept();
}

int TFormBuscador::BuscaFila(int desde, int columna, const std::string &texto)
{
    TFormMain *main = App().FormMain;
    if (main && GridBusqueda == main->lstGridDocumentos) {
        const int fila = main->ModeloRecibos->Busca(desde - 1, columna, cp1252::toQString(texto));
        return fila < 0 ? 0 : fila + 1;
    }
    const QAbstractItemModel *modelo = GridBusqueda->model();
    for (int fila = desde; fila <= modelo->rowCount(); ++fila)
        if (cp1252::fromQString(modelo->index(fila - 1, columna).data().toString()).find(texto) != std::string::npos)
            return fila;
    return 0;
}

void TFormBuscador::Selecciona(int fila)
{
    TFormMain *main = App().FormMain;
    if (main && GridBusqueda == main->lstGridDocumentos) {
        CargaFilaRecibo(fila);
        main->MueveARecibo(fila);
    } else {
        const QModelIndex celda =
            GridBusqueda->model()->index(fila - 1, std::max(1, GridBusqueda->currentIndex().column()));
        GridBusqueda->selectionModel()->setCurrentIndex(celda, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
        GridBusqueda->scrollTo(celda);
    }
    SafeSetFocus(GridBusqueda);
}

void TFormBuscador::CargaFilaRecibo(int fila)
{
    TFormMain *main = App().FormMain;
    if (fila > 0 && main)
        main->ModeloRecibos->LlenaFilas(fila - 1, fila - 1, false);
}
