// The history list of a batch.
#include "Unirelacion.h"

#include "Aplicacion.h"
#include "Cajafecha.h"
#include "Controles.h"
#include "Exportar.h"
#include "Frmmain.h"
#include "Frmmsg.h"
#include "General.h"
#include "Generacsb.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "Unithistoricos.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Columnas { kArchivo, kFecha, kId };

const char *const kTabla = "[Historicos( Remesas )]";

QPushButton *Boton(QWidget *padre, const char *nombre, const char *texto)
{
    auto *boton = new QPushButton(QString::fromLatin1(texto), padre);
    boton->setObjectName(QLatin1String(nombre));
    boton->setAutoDefault(false);
    return boton;
}

TCajaFecha *Fecha(QWidget *padre, const char *nombre)
{
    auto *fecha = new TCajaFecha(padre);
    fecha->setObjectName(QLatin1String(nombre));
    fecha->setEnabled(false);
    return fecha;
}

// Where the copy is: the first of its places that opens for reading; empty when none does.
std::string Encuentra(const std::vector<std::string> &lugares)
{
    for (const std::string &lugar : lugares)
        if (std::FILE *fichero = cp1252::openFile(lugar, "rb")) {
            std::fclose(fichero);
            return lugar;
        }
    return {};
}

// The places of a row of the list, from the path its history row holds.
std::vector<std::string> Lugares(const QTreeWidgetItem *fila)
{
    return LugaresHistorico(cp1252::fromQString(fila->data(kArchivo, Qt::UserRole).toString()), CarpetaHistorico());
}

const QTreeWidgetItem *NodoPrincipal()
{
    const TFormMain *principal = App().FormMain;
    return principal ? principal->NodoSeleccionado() : nullptr;
}

} // namespace

TFRMRelacion::TFRMRelacion(QWidget *parent)
    : QDialog(parent),
      GroupBox1(new QGroupBox(this)),
      RBTodos(new QRadioButton(GroupBox1)),
      RBFechas(new QRadioButton(GroupBox1)),
      Date1(Fecha(GroupBox1, "Date1")),
      Date2(Fecha(GroupBox1, "Date2")),
      Label1(new QLabel(QStringLiteral("y"), GroupBox1)),
      BTNActualizar(Boton(GroupBox1, "BTNActualizar", "Actualizar &datos...")),
      LSTCsbs(new QTreeWidget(this)),
      BTNVisualizar(Boton(this, "BTNVisualizar", "&Aceptar")),
      Cerrar(Boton(this, "Cerrar", "&Cancelar")),
      BTNBorrarHistoricos(Boton(this, "BTNBorrarHistoricos", "&Borrar Historico"))
{
    setObjectName(QStringLiteral("FRMRelacion"));
    setWindowTitle(cp1252::toQString("Relaci\xF3n de historicos"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    RBTodos->setObjectName(QStringLiteral("RBTodos"));
    RBFechas->setObjectName(QStringLiteral("RBFechas"));
    RBTodos->setChecked(true);
    BTNActualizar->setFlat(true);
    BTNActualizar->setEnabled(false);
    BTNVisualizar->setDefault(true);
    BTNVisualizar->setEnabled(false);
    LSTCsbs->setObjectName(QStringLiteral("LSTCsbs"));
    LSTCsbs->setColumnCount(3);
    LSTCsbs->setRootIsDecorated(false);
    LSTCsbs->setUniformRowHeights(true);
    LSTCsbs->setSelectionMode(QAbstractItemView::SingleSelection);
    LSTCsbs->setColumnHidden(kId, true);
    LSTCsbs->header()->setStretchLastSection(false);
    LSTCsbs->header()->setSectionResizeMode(kArchivo, QHeaderView::Stretch);
    LSTCsbs->headerItem()->setTextAlignment(kFecha, Qt::AlignRight | Qt::AlignVCenter);

    auto *parametros = new QGridLayout(GroupBox1);
    parametros->addWidget(RBTodos, 0, 0, 1, 4);
    parametros->addWidget(RBFechas, 1, 0, 1, 4);
    parametros->addWidget(Date1, 2, 0);
    parametros->addWidget(Label1, 2, 1);
    parametros->addWidget(Date2, 2, 2);
    parametros->addWidget(BTNActualizar, 2, 3);
    auto *botones = new QHBoxLayout;
    botones->addWidget(BTNBorrarHistoricos);
    botones->addStretch(1);
    botones->addWidget(BTNVisualizar);
    botones->addWidget(Cerrar);
    auto *todo = new QVBoxLayout(this);
    todo->addWidget(GroupBox1);
    todo->addWidget(LSTCsbs, 1);
    todo->addLayout(botones);
    resize(560, 400);

    connect(LSTCsbs, &QTreeWidget::itemSelectionChanged, this, [this] { LSTCsbsChange(); });
    connect(LSTCsbs, &QTreeWidget::itemDoubleClicked, this, [this] { BTNVisualizarClick(); });
    connect(RBFechas, &QRadioButton::clicked, this, [this] { RBFechasClick(); });
    connect(RBTodos, &QRadioButton::clicked, this, [this] { BTNVertodoClick(); });
    connect(BTNActualizar, &QPushButton::clicked, this, [this] { BTNFechaClick(); });
    connect(BTNVisualizar, &QPushButton::clicked, this, [this] { BTNVisualizarClick(); });
    connect(Cerrar, &QPushButton::clicked, this, [this] { CerrarClick(); });
    connect(BTNBorrarHistoricos, &QPushButton::clicked, this, [this] { BTNBorrarHistoricosClick(); });
}

void TFRMRelacion::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        FormActivate();
}

void TFRMRelacion::PonTextos()
{
    BTNBorrarHistoricos->setText(Rotulo(64));
    BTNVisualizar->setText(Rotulo(2));
    Cerrar->setText(Rotulo(3));
    RBTodos->setText(Rotulo(435));
    RBFechas->setText(Rotulo(436));
    GroupBox1->setTitle(Rotulo(434));
    LSTCsbs->setHeaderLabels({Rotulo(496), Rotulo(507), QString()});
    if (const QTreeWidgetItem *nodo = NodoPrincipal())
        setWindowTitle(Rotulo(68) + (nodo->parent() ? nodo->parent()->text(0) : QString()));
}

void TFRMRelacion::FormActivate()
{
    PonTextos();
    Cambiado = false;
    Date1->setDate(QDate::currentDate());
    Date2->setDate(QDate::currentDate());
    Lista({});
}

void TFRMRelacion::Lista(const std::string &filtro)
{
    LSTCsbs->clear();
    LSTCsbsChange();
    const std::string sql = std::string("SELECT * FROM ") + kTabla + " WHERE Id_remesa=" + std::to_string(IdRemesa) +
                            " " + filtro + "ORDER BY F_generacion, Id_historico;";
    DBGetData(sql, [this](char *fila, char *, int) {
        auto *item = new QTreeWidgetItem(LSTCsbs);
        item->setData(kArchivo, Qt::UserRole, cp1252::toQString(GetCampoTexto("Descripcion", fila)));
        const std::vector<std::string> lugares = Lugares(item);
        const std::string copia = Encuentra(lugares);
        item->setText(kArchivo, cp1252::toQString(copia.empty() ? lugares.front() : copia));
        item->setText(kFecha, cp1252::toQString(FechaGeneracion(fila)));
        item->setTextAlignment(kFecha, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(kId, cp1252::toQString(GetCampo("Id_historico", fila)));
    });
    LSTCsbs->resizeColumnToContents(kFecha);
}

void TFRMRelacion::LSTCsbsChange()
{
    BTNVisualizar->setEnabled(!LSTCsbs->selectedItems().isEmpty());
}

void TFRMRelacion::RBFechasClick()
{
    for (QWidget *control : {static_cast<QWidget *>(BTNActualizar), static_cast<QWidget *>(Date1),
                             static_cast<QWidget *>(Date2)})
        control->setEnabled(true);
}

void TFRMRelacion::BTNVertodoClick()
{
    Lista({});
}

void TFRMRelacion::BTNFechaClick()
{
    if (!Date1->Comprueba() || !Date2->Comprueba())
        return;
    Lista("AND F_generacion BETWEEN #" + FechaSQL(Date1->date()) + "# AND #" + FechaSQL(Date2->date()) + "# ");
}

void TFRMRelacion::BTNVisualizarClick()
{
    const QList<QTreeWidgetItem *> seleccion = LSTCsbs->selectedItems();
    if (seleccion.isEmpty()) {
        AvisoTexto(66, 6, IconoMensaje::Error);
        return;
    }
    QTreeWidgetItem *fila = seleccion.front();
    const std::vector<std::string> lugares = Lugares(fila);
    if (const std::string ruta = Encuentra(lugares); !ruta.empty()) {
        TFRMHistoricos *visor = App().FRMHistoricos;
        visor->SetFichero(ruta);
        visor->exec();
        return;
    }
    // Only the user's Yes removes the entry: the copy may lie elsewhere.
    std::string texto = Idioma.GetTexto(67) + "\n\n" + Idioma.GetTexto(812);
    for (const std::string &lugar : lugares)
        texto += "\n" + lugar;
    if (CajaMensaje(texto, Idioma.GetTexto(1), IconoMensaje::Error, BotonesMensaje::SiNoPorDefectoNo) == RespuestaSi)
        BorraHistorico(fila, false);
}

void TFRMRelacion::BTNBorrarHistoricosClick()
{
    const QList<QTreeWidgetItem *> seleccion = LSTCsbs->selectedItems();
    if (seleccion.isEmpty())
        return;
    if (AvisoTexto(575, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) != RespuestaSi)
        return;
    BorraHistorico(seleccion.front(), true);
}

std::optional<int> TFRMRelacion::Historicos(const std::string &condicion) const
{
    int veces = 0;
    const std::string error =
        DBGetData(std::string("SELECT COUNT(*) AS Veces FROM ") + kTabla + " WHERE " + condicion + ";",
                  [&veces](char *fila, char *, int) { veces = Numero(GetCampo("Veces", fila)); });
    return error.empty() ? std::optional<int>(veces) : std::nullopt;
}

bool TFRMRelacion::BorraHistorico(QTreeWidgetItem *fila, bool borraFichero)
{
    const std::string id = std::to_string(Numero(cp1252::fromQString(fila->text(kId))));
    const std::string ruta = Encuentra(Lugares(fila));
    // The copy of a send file of several batches is named by a row of each.
    const std::optional<int> otros =
        Historicos(CondicionHistorico(cp1252::fromQString(fila->data(kArchivo, Qt::UserRole).toString())) +
                   " AND Id_historico<>" + id);
    int borradas = 0;
    DBExecSQL(std::string("DELETE * FROM ") + kTabla + " WHERE Id_historico =" + id + ";", borradas);
    if (borradas == 0) {
        AvisoTexto(994, 1, IconoMensaje::Error);
        return false;
    }
    if (borraFichero && otros == 0 && !ruta.empty())
        BorraFichero(ruta);
    delete fila;
    LSTCsbsChange();
    const std::string remesa = std::to_string(IdRemesa);
    Cambiado = Historicos("Id_remesa=" + remesa) == 0;
    if (Cambiado) {
        int filas = 0;
        DBExecSQL("UPDATE OR FAIL [Remesas()] SET [F_generacion]='' WHERE Id_remesa=" + remesa + ";", filas);
    }
    const QTreeWidgetItem *nodo = NodoPrincipal();
    if (_multiuser *m = App().Multiuser; m && nodo)
        m->NotificaActualizacion(2, Numero(TFormMain::IdNodo(nodo)));
    return true;
}

void TFRMRelacion::CerrarClick()
{
    reject();
}
