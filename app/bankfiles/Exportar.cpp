// The send-file window.
#include "Exportar.h"

#include "Aplicacion.h"
#include "Cajafecha.h"
#include "Controles.h"
#include "Frmmain.h"
#include "Frmmsg.h"
#include "General.h"
#include "Modmas.h"
#include "Recordeuro.h"
#include "profile.h"
#include "progdir.h"
#include "qcp1252.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

TFormMain *Main()
{
    return App().FormMain;
}

QLabel *Valor(QWidget *padre, const char *nombre)
{
    auto *etiqueta = new QLabel(padre);
    etiqueta->setObjectName(QLatin1String(nombre));
    return etiqueta;
}

// A folder as the window shows it: past 55 characters, "..." and the text from its 30th
// character on.
QString Corta(const std::string &carpeta)
{
    return cp1252::toQString(carpeta.size() > 55 ? "..." + carpeta.substr(29) : carpeta);
}

// The user's word on the batches that went out before, named with their days; true to
// send them again. No is the default.
bool ConfirmaReenvio(const std::vector<EnvioAnterior> &enviadas)
{
    std::string texto = Idioma.GetTexto(807);
    for (const EnvioAnterior &e : enviadas)
        texto += "\n" + FormateaTexto(Idioma.GetTexto(809), e.Descripcion, e.Fecha);
    texto += "\n\n" + Idioma.GetTexto(808);
    return CajaMensaje(texto, Idioma.GetTexto(6), IconoMensaje::Pregunta, BotonesMensaje::SiNoPorDefectoNo) ==
           RespuestaSi;
}

} // namespace

std::string CarpetaHistorico()
{
    return Main()->RutaHistorico.empty() ? GetAppPath() : AddBackslash(Main()->RutaHistorico);
}

TFormExportar::TFormExportar(QWidget *parent)
    : QDialog(parent),
      lbl1(new QLabel(this)), lbl2(new QLabel(this)), Label1(new QLabel(this)), Label2(new QLabel(this)),
      Label3(new QLabel(this)), Label4(new QLabel(this)), Label5(new QLabel(this)), Label6(new QLabel(this)),
      lblPresentador(Valor(this, "lblPresentador")), lblClienteOrdenante(Valor(this, "lblClienteOrdenante")),
      lblRutaCSB(Valor(this, "lblRutaCSB")), lblHistorico(Valor(this, "lblHistorico")),
      lblOrdenantes(Valor(this, "lblOrdenantes")), lblNRecibos(Valor(this, "lblNRecibos")),
      lblTotalImporte(Valor(this, "lblTotalImporte")), lblContravalor(Valor(this, "lblContravalor")),
      lblFechaProceso(new QLabel(this)),
      lstRemesas(new QTreeWidget(this)),
      datePicker(new TCajaFecha(this)),
      lstProceso(new QListWidget(this)),
      gaugeProceso(new QProgressBar(this)),
      cbtGenerar(new QPushButton(this)),
      BitBtn1(new QPushButton(this))
{
    setObjectName(QStringLiteral("FormExportar"));
    lstRemesas->setObjectName(QStringLiteral("lstRemesas"));
    lstRemesas->setColumnCount(7);
    lstRemesas->setRootIsDecorated(false);
    lstRemesas->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRemesas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRemesas->setHeaderLabels({QString(), QString(), QStringLiteral("Emisor"), QStringLiteral("Remesa"),
                                 QStringLiteral("Importe"), QString(), QString()});
    lstRemesas->headerItem()->setTextAlignment(ColImporte, Qt::AlignRight | Qt::AlignVCenter);
    lstRemesas->setColumnHidden(ColMoneda, true);
    lstRemesas->setColumnHidden(ColIdEmisor, true);
    lstRemesas->setColumnWidth(ColRemesa, 60);
    lstRemesas->setColumnWidth(ColEmisor, 180);
    lstRemesas->setColumnWidth(ColDescripcion, 220);
    lstRemesas->setMinimumSize(620, 180);
    datePicker->setObjectName(QStringLiteral("datePicker"));
    datePicker->LimitaAFicheroBanco();
    lstProceso->setObjectName(QStringLiteral("lstProceso"));
    lstProceso->setMinimumHeight(120);
    gaugeProceso->setObjectName(QStringLiteral("gaugeProceso"));
    gaugeProceso->setTextVisible(false);
    lblClienteOrdenante->setVisible(false);
    lbl2->setVisible(false);
    cbtGenerar->setObjectName(QStringLiteral("cbtGenerar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto *datos = new QGridLayout;
    int fila = 0;
    for (auto [etiqueta, valor] : {std::pair{lbl1, lblPresentador}, std::pair{lbl2, lblClienteOrdenante},
                                   std::pair{Label1, lblRutaCSB}, std::pair{Label5, lblHistorico}}) {
        datos->addWidget(etiqueta, fila, 0);
        datos->addWidget(valor, fila++, 1, 1, 3);
    }
    datos->addWidget(lblFechaProceso, fila, 0);
    datos->addWidget(datePicker, fila++, 1);
    datos->setColumnStretch(3, 1);
    auto *totales = new QGridLayout;
    fila = 0;
    for (auto [etiqueta, valor] : {std::pair{Label6, lblOrdenantes}, std::pair{Label2, lblNRecibos},
                                   std::pair{Label3, lblTotalImporte}, std::pair{Label4, lblContravalor}}) {
        totales->addWidget(etiqueta, fila, 0);
        valor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        valor->setMinimumWidth(110);
        totales->addWidget(valor, fila++, 1);
    }
    auto *proceso = new QHBoxLayout;
    proceso->addWidget(lstProceso, 1);
    proceso->addLayout(totales);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cbtGenerar);
    botones->addWidget(BitBtn1);
    auto *capas = new QVBoxLayout(this);
    capas->addLayout(datos);
    capas->addWidget(lstRemesas, 1);
    capas->addLayout(proceso);
    capas->addWidget(gaugeProceso);
    capas->addLayout(botones);

    connect(lstRemesas->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &nuevas, const QItemSelection &quitadas) {
                for (const QModelIndex &i : quitadas.indexes())
                    if (i.column() == 0)
                        lstRemesasSelectItem(lstRemesas->topLevelItem(i.row()), false);
                for (const QModelIndex &i : nuevas.indexes())
                    if (i.column() == 0)
                        lstRemesasSelectItem(lstRemesas->topLevelItem(i.row()), true);
            });
    connect(cbtGenerar, &QPushButton::clicked, this, &TFormExportar::cbtGenerarClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormExportar::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormShow();
    QDialog::showEvent(evento);
}

std::string TFormExportar::CarpetaCSB() const
{
    const std::string ruta = TipoOrden == 1 ? Main()->RutaCSB19 : TipoOrden == 2 ? Main()->RutaCSB58 : "";
    return ruta.empty() ? GetAppPath() : AddBackslash(ruta);
}

void TFormExportar::FormShow()
{
    setWindowTitle(Rotulo(366));
    lbl1->setText(Rotulo(320));
    lbl2->setText(Rotulo(321));
    Label1->setText(Rotulo(367));
    Label5->setText(Rotulo(368));
    Label2->setText(Rotulo(370));
    Label3->setText(Rotulo(369));
    Label4->setText(Rotulo(16));
    lblFechaProceso->setText(Rotulo(451));
    cbtGenerar->setText(Rotulo(151));
    BitBtn1->setText(Rotulo(8));
    Label6->setText(cp1252::toQString("N\xBA ") + Rotulo(41));
    lstRemesas->headerItem()->setText(ColEnvio, Rotulo(806));

    TipoOrden = GetTipoOrden(Main()->GetTipoOrden());
    Generando = false;
    if (TipoOrden == 0)
        WriteLog("[ TFormExportar::FormShow ] Tipo de Orden desconocida (no CSB19 o CSB58)");
    const std::string carpeta = TipoOrden == 1 ? Main()->RutaCSB19 : TipoOrden == 2 ? Main()->RutaCSB58 : "";
    lblRutaCSB->setText(Corta(carpeta.empty() ? GetAppPath() : carpeta));
    lblRutaCSB->setToolTip(cp1252::toQString(carpeta.empty() ? GetAppPath() : carpeta));
    cbtGenerar->setText(Rotulo(TipoOrden == 2 ? 152 : 151));
    lblFechaProceso->setVisible(TipoOrden != 2);
    datePicker->setVisible(TipoOrden != 2);
    for (auto [etiqueta, texto] : {std::pair{lblPresentador, Main()->GetNombrePresentadorSeleccionado()},
                                   std::pair{lblClienteOrdenante, Main()->GetNombreEmisorSeleccionado()}}) {
        etiqueta->setText(cp1252::toQString(texto));
        etiqueta->setToolTip(etiqueta->text());
    }
    const std::string historico = Main()->RutaHistorico.empty() ? GetAppPath() : Main()->RutaHistorico;
    lblHistorico->setText(Corta(historico));
    lblHistorico->setToolTip(lblHistorico->text());
    lblOrdenantes->setText(QStringLiteral("0"));
    Totales(nullptr, kMonedaEuros);
    gaugeProceso->setValue(0);
    lstProceso->clear();
    if (TipoOrden != 0)
        RecuperaFicherosCSB({CarpetaCSB()}, CarpetaHistorico());
    CargaRemesasPresentador();
    datePicker->setMinimumDate(QDate::currentDate());
    datePicker->setDate(QDate::currentDate());
}

void TFormExportar::CargaRemesasPresentador()
{
    if (Generando)
        return;
    lstRemesas->clear();
    cbtGenerar->setEnabled(false);
    std::string presentador = Main()->GetIdPresentadorSeleccionado();
    QuitaBlancos(presentador);
    if (presentador.empty())
        return;
    DBGetData("SELECT * FROM [Remesas()] INNER JOIN [_Emisores( Datos )] ON [_Emisores( Datos )].Id_emisor="
              "[Remesas()].Id_emisor WHERE Id_presentador=" + LimpiaTextoSQL(presentador) +
                  " ORDER BY [_Emisores( Datos )].[Razon_social] ASC,[Remesas()].Descripcion ASC;",
              [this](char *fila, char *, int) {
                  auto *item = new QTreeWidgetItem(lstRemesas);
                  const std::string moneda = GetCampo("Id_moneda", fila);
                  item->setText(ColRemesa, cp1252::toQString(GetCampo("Id_remesa", fila)));
                  item->setIcon(ColRemesa, TFormMain::ImagenLista(moneda == kMonedaEuros ? kImagenEuros : kImagenPesetas));
                  item->setText(ColMoneda, cp1252::toQString(moneda));
                  item->setText(ColEmisor, cp1252::toQString(NullToEmpty(GetCampoTexto("Razon_social", fila))));
                  item->setText(ColDescripcion, cp1252::toQString(NullToEmpty(GetCampoTexto("Descripcion", fila))));
                  item->setText(ColEnvio, cp1252::toQString(FechaGeneracion(fila)));
                  item->setText(ColIdEmisor, cp1252::toQString(GetCampo("Id_emisor", fila)));
                  item->setTextAlignment(ColImporte, Qt::AlignRight | Qt::AlignVCenter);
              });
    for (int i = 0; i < lstRemesas->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lstRemesas->topLevelItem(i);
        const std::string moneda = cp1252::fromQString(item->text(ColMoneda));
        std::string suma = "NULL";
        DBGetData("SELECT SUM([Documentos()].Importe) AS ImporteActivos FROM [Documentos()] WHERE Id_remesa=" +
                      cp1252::fromQString(item->text(ColRemesa)) +
                      " AND [Documentos()].Situacion=0 AND [Documentos()].Activo=true;",
                  [&suma](char *fila, char *, int) { suma = GetCampo("ImporteActivos", fila); });
        item->setText(ColImporte, cp1252::toQString(FormatImporte(suma == "NULL" ? "0" : suma, moneda)));
    }
}

void TFormExportar::lstRemesasSelectItem(QTreeWidgetItem *item, bool seleccionado)
{
    const QList<QTreeWidgetItem *> seleccion = lstRemesas->selectedItems();
    cbtGenerar->setEnabled(!seleccion.isEmpty());
    if (!item || !seleccionado || seleccion.size() < 2)
        return;
    for (const QTreeWidgetItem *otro : seleccion)
        if (otro->text(ColMoneda) != item->text(ColMoneda)) {
            AvisoTexto(153, 154, IconoMensaje::Aviso);
            item->setSelected(false);
            return;
        }
}

void TFormExportar::cbtGenerarClick()
{
    if (TipoOrden == 0)
        WriteLog("[ TFormExportar::cbtGenerarClick ] Tipo de Orden desconocida (no CSB19 o CSB58)");
    const QList<QTreeWidgetItem *> seleccion = lstRemesas->selectedItems();
    if (seleccion.isEmpty() || (TipoOrden != 2 && !datePicker->Comprueba()))
        return;
    // The list stays as the user chose it while the question waits.
    Generando = true;
    std::vector<int> ids;
    for (const QTreeWidgetItem *item : seleccion)
        ids.push_back(Numero(cp1252::fromQString(item->text(ColRemesa))));
    const std::vector<EnvioAnterior> enviadas = EnviosAnteriores(ids);
    std::set<int> reenvios;
    for (const EnvioAnterior &e : enviadas)
        reenvios.insert(e.IdRemesa);
    bool generado = false;
    if (enviadas.empty() || ConfirmaReenvio(enviadas)) {
        CursorEspera cursor;
        generado = GeneraFicheroCSB(CarpetaCSB(), cp1252::fromQString(seleccion.front()->text(ColMoneda)), reenvios);
    }
    Generando = false;
    if (generado) {
        CargaRemesasPresentador();
        lstRemesas->setFocus();
    }
}

void TFormExportar::Linea(const std::string &texto)
{
    lstProceso->addItem(cp1252::toQString(texto));
    lstProceso->scrollToBottom();
    lstProceso->repaint();
}

bool TFormExportar::GeneraFicheroCSB(const std::string &carpeta, const std::string &moneda,
                                     const std::set<int> &reenvios)
{
    PeticionCSB peticion;
    peticion.TipoOrden = TipoOrden;
    peticion.Moneda = moneda;
    peticion.Hoy = QDate::currentDate();
    peticion.FechaCargo = datePicker->date();
    peticion.FechaEuro = Main()->FechaEuro;
    peticion.CarpetaCSB = carpeta;
    peticion.CarpetaHistorico = CarpetaHistorico();
    peticion.Ini = progdir::file("Orvanta.INI");
    for (int i = 0; i < lstRemesas->topLevelItemCount(); ++i)
        if (const QTreeWidgetItem *item = lstRemesas->topLevelItem(i); item->isSelected()) {
            const int id = Numero(cp1252::fromQString(item->text(ColRemesa)));
            const int emisor = Numero(cp1252::fromQString(item->text(ColIdEmisor)));
            peticion.Remesas.push_back({id, emisor, reenvios.count(id) > 0});
        }
    FechaProceso = FechaBanco(peticion.FechaCargo);

    lstProceso->clear();
    gaugeProceso->setRange(0, 1);
    gaugeProceso->setValue(0);
    ProgresoCSB progreso;
    progreso.Linea = [this](const std::string &linea) { Linea(linea); };
    progreso.Avance = [this](long long hechos, long long total) {
        gaugeProceso->setRange(0, int(std::max(1LL, total)));
        gaugeProceso->setValue(int(std::min(hechos, total)));
        gaugeProceso->repaint();
    };
    _GeneradorCSB generador(peticion, progreso);
    ResultadoCSB resultado = ResultadoCSB::Fallido;
    if (Main()->GetIdPresentadorSeleccionado().empty()) {
        Linea(Idioma.GetTexto(159));
        Linea(Idioma.GetTexto(156));
    } else {
        resultado = generador.Genera();
    }
    Totales(resultado == ResultadoCSB::Generado ? &generador : nullptr, moneda);
    if (resultado == ResultadoCSB::Generado) {
        Main()->UltimoFichero = profile::readString(peticion.Ini, "FICHEROCSB", "UltimoFichero", "0");
        RefrescaMain();
    } else if (resultado == ResultadoCSB::Euro || resultado == ResultadoCSB::FechaErronea) {
        if (App().FRMRecordeuro)
            App().FRMRecordeuro->exec();
    } else if (generador.ErrorHistorico) {
        AvisoTexto(164, 165, IconoMensaje::Aviso);
    }
    return resultado == ResultadoCSB::Generado;
}

void TFormExportar::Totales(const _GeneradorCSB *generador, const std::string &moneda)
{
    if (!generador) {
        lblNRecibos->setText(QStringLiteral("0"));
        lblTotalImporte->setText(cp1252::toQString(FormatImporte("0", moneda)));
        lblContravalor->setText(cp1252::toQString(FormatContravalor("0", moneda)));
        return;
    }
    const std::string importe = TextoImporteCSB(generador->Importe, moneda == kMonedaEuros);
    lblNRecibos->setText(QString::number(generador->Documentos));
    lblOrdenantes->setText(QString::number(generador->Ordenantes));
    lblContravalor->setText(cp1252::toQString(FormatContravalor(importe, moneda)));
    lblTotalImporte->setText(cp1252::toQString(FormatImporte(importe, moneda)));
}

void TFormExportar::RefrescaMain()
{
    QTreeWidgetItem *nodo = Main()->NodoSeleccionado();
    if (nodo && nodo->childCount() > 0)
        Main()->MuestraNivel(nodo);
}
