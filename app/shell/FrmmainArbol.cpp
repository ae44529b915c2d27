// The navigation tree: its rebuild from the database, the readers of its selection, the
// command enabling by level and the status bar.
#include "Frmmain.h"

#include "General.h"
#include "Imagenes.h"
#include "ModeloRecibos.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "qcp1252.h"

#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>
#include <cctype>

namespace {

constexpr int kRolId = Qt::UserRole;
constexpr int kRolImagen = Qt::UserRole + 1;

// The rows of one company's organisation, ordered so that each presenter, issuer and batch
// comes in one run of rows.
constexpr const char *kConsultaArbol =
    "SELECT [_Emisores( Datos )].Id_emisor, [_Emisores( Datos )].Razon_social, [Remesas()].Id_remesa, "
    "[Remesas()].Descripcion, [_Presentadores( Datos )].Razon_social, [_Presentadores( Datos )].Id_orden,"
    "[_Presentadores( Datos )].Id_presentador, [_Empresas( Datos )].Nombre, [_Empresas( Datos )].Id_empresa "
    "FROM [_Empresas( Datos )] INNER JOIN ([_Presentadores( Datos )] LEFT JOIN ([_Emisores( Datos )] LEFT JOIN "
    "[Remesas()] ON [_Emisores( Datos )].Id_emisor = [Remesas()].Id_emisor) ON [_Presentadores( Datos )].Id_presentador "
    "= [_Emisores( Datos )].Id_presentador) ON [_Empresas( Datos )].Id_empresa = [_Presentadores( Datos )].Id_empresa "
    "WHERE ((([_Presentadores( Datos )].Id_empresa)=%s)) ORDER BY [_Presentadores( Datos )].Id_presentador, "
    "[_Emisores( Datos )].Id_emisor, [Remesas()].Id_remesa;";

bool EsNumero(const std::string &texto)
{
    return !texto.empty() && std::all_of(texto.begin(), texto.end(), [](unsigned char c) { return std::isdigit(c); });
}

// A node whose whole caption is also its tooltip, for when the panel cuts it.
class NodoArbol : public QTreeWidgetItem {
public:
    QVariant data(int columna, int rol) const override
    {
        return QTreeWidgetItem::data(columna, rol == Qt::ToolTipRole ? int(Qt::DisplayRole) : rol);
    }
};

QTreeWidgetItem *NuevoNodo(const std::string &texto, int imagen, const std::string &id)
{
    auto *nodo = new NodoArbol;
    nodo->setText(0, cp1252::toQString(texto));
    nodo->setIcon(0, TFormMain::ImagenLista(imagen));
    nodo->setData(0, kRolImagen, imagen);
    nodo->setData(0, kRolId, QString::fromLatin1(id.c_str()));
    return nodo;
}

QIcon Icono(const char *nombre)
{
    return QIcon(QStringLiteral(":/shell/") + QLatin1String(nombre));
}

} // namespace

QIcon TFormMain::ImagenLista(int indice)
{
    IniciaRecursosShell();
    switch (indice) {
    case ImagenTVEmpresa: return ImagenArbol(ImagenEmpresa);
    case ImagenTVPresentador: return Icono("presentador.png");
    case ImagenTVEmisor: return ImagenArbol(ImagenEmisor);
    case ImagenTVRemesa: return Icono("remesa.png");
    case ImagenTVCSB19: return ImagenArbol(ImagenCSB19);
    case ImagenTVCSB58: return ImagenArbol(ImagenCSB58);
    case kImagenEuros: return Icono("euros.png");
    case kImagenPesetas: return Icono("pesetas.png");
    default: return {};
    }
}

// ---- Rebuild ----

void TFormMain::CargaArbol(const std::string &idEmpresa)
{
    treeInfoGlobal->hide();
    treeInfoGlobal->clear();
    m_carga = EstadoCarga();
    ListaCSB19.clear();
    ListaCSB58.clear();
    if (EsNumero(idEmpresa))
        DBGetData(FormateaTexto(kConsultaArbol, idEmpresa), [this](char *fila, char *, int) { CargaArbolFila(fila); });
    treeInfoGlobal->expandAll();
    treeInfoGlobal->show();
    // The first node is current, with nothing selected, and the keys move from there.
    if (QTreeWidgetItem *primero = treeInfoGlobal->topLevelItem(0))
        treeInfoGlobal->setCurrentItem(primero, 0, QItemSelectionModel::NoUpdate);
    treeInfoGlobal->setFocus();
}

void TFormMain::CargaArbolFila(const std::string &fila)
{
    const std::string idEmpresa = GetCampo("Id_empresa", fila);
    const std::string idPresentador = GetCampo("Id_presentador", fila);
    const std::string idEmisor = GetCampo("Id_emisor", fila);
    const std::string idRemesa = GetCampo("Id_remesa", fila);

    std::string orden = GetCampo("Id_orden", fila);
    std::transform(orden.begin(), orden.end(), orden.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    if (orden == "CSB19")
        ListaCSB19.insert(idPresentador);
    else if (orden == "CSB58")
        ListaCSB58.insert(idPresentador);

    if (idEmpresa != "NULL" && idEmpresa != m_carga.empresa) {
        m_carga.nodoEmpresa = NuevoNodo(GetCampoTexto("Nombre", fila), ImagenTVEmpresa, idEmpresa);
        treeInfoGlobal->addTopLevelItem(m_carga.nodoEmpresa);
        m_carga.empresa = idEmpresa;
    }
    if (idPresentador != "NULL" && idPresentador != m_carga.presentador && m_carga.nodoEmpresa) {
        std::string texto = GetCampoTexto("_Presentadores( Datos ).Razon_social", fila);
        int imagen = ImagenTVPresentador;
        if (ListaCSB19.count(idPresentador)) {
            texto = "(CSB19) " + texto;
            imagen = ImagenTVCSB19;
        } else if (ListaCSB58.count(idPresentador)) {
            texto = "(CSB58) " + texto;
            imagen = ImagenTVCSB58;
        }
        m_carga.nodoPresentador = NuevoNodo(texto, imagen, idPresentador);
        m_carga.nodoEmpresa->addChild(m_carga.nodoPresentador);
        m_carga.presentador = idPresentador;
    }
    if (idEmisor != "NULL" && idEmisor != m_carga.emisor && m_carga.nodoPresentador) {
        m_carga.nodoEmisor = NuevoNodo(GetCampoTexto("_Emisores( Datos ).Razon_social", fila), ImagenTVEmisor, idEmisor);
        m_carga.nodoPresentador->addChild(m_carga.nodoEmisor);
        m_carga.emisor = idEmisor;
    }
    if (idRemesa != "NULL" && idRemesa != m_carga.remesa && m_carga.nodoEmisor) {
        m_carga.nodoEmisor->addChild(NuevoNodo(GetCampoTexto("Descripcion", fila), ImagenTVRemesa, idRemesa));
        m_carga.remesa = idRemesa;
    }
}

// ---- Readers ----

int TFormMain::GetNivelNodo(const QTreeWidgetItem *nodo)
{
    if (!nodo)
        return -1;
    int nivel = 0;
    for (const QTreeWidgetItem *p = nodo->parent(); p; p = p->parent())
        ++nivel;
    return nivel <= ArbolRemesa ? nivel : ArbolOtro;
}

std::string TFormMain::IdNodo(const QTreeWidgetItem *nodo)
{
    return nodo ? nodo->data(0, kRolId).toString().toStdString() : std::string();
}

int TFormMain::ImagenNodo(const QTreeWidgetItem *nodo)
{
    return nodo ? nodo->data(0, kRolImagen).toInt() : -1;
}

QTreeWidgetItem *TFormMain::NodoSeleccionado() const
{
    QTreeWidgetItem *nodo = treeInfoGlobal->currentItem();
    return nodo && nodo->isSelected() ? nodo : nullptr;
}

QTreeWidgetItem *TFormMain::NodoSeleccionadoDeNivel(int nivel) const
{
    QTreeWidgetItem *nodo = NodoSeleccionado();
    const int actual = GetNivelNodo(nodo);
    if (actual < nivel || actual > ArbolRemesa)
        return nullptr;
    for (int n = actual; n > nivel; --n)
        nodo = nodo->parent();
    return nodo;
}

std::string TFormMain::GetIdPresentadorSeleccionado() const
{
    return IdNodo(NodoSeleccionadoDeNivel(ArbolPresentador));
}

std::string TFormMain::GetNombrePresentadorSeleccionado() const
{
    const QTreeWidgetItem *nodo = NodoSeleccionadoDeNivel(ArbolPresentador);
    return nodo ? cp1252::fromQString(nodo->text(0)) : std::string();
}

std::string TFormMain::GetIdEmisorSeleccionado() const
{
    return IdNodo(NodoSeleccionadoDeNivel(ArbolEmisor));
}

std::string TFormMain::GetNombreEmisorSeleccionado() const
{
    const QTreeWidgetItem *nodo = NodoSeleccionadoDeNivel(ArbolEmisor);
    return nodo ? cp1252::fromQString(nodo->text(0)) : std::string();
}

std::string TFormMain::GetTipoOrden() const
{
    return TipoOrdenPresentador(GetIdPresentadorSeleccionado());
}

std::string TFormMain::TipoOrdenPresentador(const std::string &idPresentador) const
{
    if (ListaCSB19.count(idPresentador))
        return "CSB19";
    if (ListaCSB58.count(idPresentador))
        return "CSB58";
    return {};
}

void TFormMain::SetTextoNodo(const std::string &id, const std::string &texto)
{
    QTreeWidgetItem *seleccionado = NodoSeleccionado();
    if (!seleccionado)
        return;
    for (int i = 0; i < seleccionado->childCount(); ++i)
        if (IdNodo(seleccionado->child(i)) == id) {
            seleccionado->child(i)->setText(0, cp1252::toQString(texto));
            return;
        }
}

void TFormMain::AgregaNodoRemesa(const std::string &id, const std::string &texto)
{
    if (QTreeWidgetItem *seleccionado = NodoSeleccionado()) {
        seleccionado->addChild(NuevoNodo(texto, ImagenTVRemesa, id));
        seleccionado->setExpanded(true);
    }
}

void TFormMain::BorraNodoRemesa(const std::string &id)
{
    QTreeWidgetItem *seleccionado = NodoSeleccionado();
    if (!seleccionado || panelGrdRemesas->isHidden())
        return;
    for (int i = 0; i < seleccionado->childCount(); ++i)
        if (IdNodo(seleccionado->child(i)) == id) {
            delete seleccionado->takeChild(i);
            return;
        }
}

// ---- Selection and commands ----

int TFormMain::FilasDatos(const QTableView *grid) const
{
    return grid->model()->rowCount();
}

int TFormMain::FilaSeleccion(const QTableView *grid) const
{
    const QModelIndexList celdas = grid->selectionModel()->selectedIndexes();
    if (celdas.isEmpty())
        return 0;
    int fila = celdas.first().row();
    for (const QModelIndex &celda : celdas)
        fila = std::min(fila, celda.row());
    return fila + 1;
}

void TFormMain::treeInfoGlobalChange()
{
    if (m_ocupado) {
        m_cambioArbol.start(); // a grid is loading: the change waits for it
        return;
    }
    QTreeWidgetItem *nodo = NodoSeleccionado();
    std::fill(std::begin(ColumnaAsc), std::end(ColumnaAsc), -1);
    std::fill(std::begin(ColumnaDesc), std::end(ColumnaDesc), -1);
    MuestraNivel(nodo);
    ActualizaMenus(nodo);
    ActualizaBotonMoneda();
    QAction *masivas = mainMenuModificacionesMasivas->menuAction();
    if (EstadoTabla(masivas) && FilaSeleccion(lstGridDocumentos) == 0)
        Habilita({masivas, cbtModMasivas}, false);
    Habilita({cbtModMasivas}, EstadoTabla(masivas));
    if (treeInfoGlobal->isVisible())
        treeInfoGlobal->setFocus();
}

void TFormMain::ActualizaMenus(QTreeWidgetItem *nodo)
{
    statusMainWindowDrawPanel();
    const int nivel = GetNivelNodo(nodo);
    if (nivel < ArbolEmpresa || nivel > ArbolRemesa)
        return;
    const bool emisor = nivel == ArbolEmisor, remesa = nivel == ArbolRemesa;
    if (emisor || remesa)
        ActualizaBotonMoneda();
    const int recibos = FilasDatos(lstGridDocumentos);

    Habilita({MNUCambiarMonedaRemesa, BTNCambiaMoneda}, emisor && FilasDatos(lstGridRemesas) > 0);
    Habilita({cbtHistorico, MNUHistoricos}, emisor);
    if (emisor)
        ActualizaPanelInfo();
    Habilita({cbtInformeRecibos, mainMenuInformeRecibos}, remesa);
    Habilita({cbtInformeLibrados, mainMenuInformeLibrados, cbtMasterInforme, mainMenuInformes->menuAction()},
             emisor || remesa);
    Habilita({mainMenuModificacionesMasivas->menuAction(), cbtModMasivas}, remesa);
    if (!emisor)
        Habilita({cbtAltaRapida, MNUAltarpidaremesas1}, true);
    if (nivel <= ArbolPresentador)
        Habilita({cbtImportar, mainMenuImportar}, true);
    Habilita({cbtAlta, mainMenuAlta}, emisor || remesa);
    const bool bajaModificacion = emisor   ? FilaSeleccion(lstGridRemesas) > 0
                                  : remesa ? recibos > 0 && FilaGrid >= 1 && FilaGrid <= recibos
                                           : false;
    Habilita({cbtBaja, mainMenuBaja, cbtModificacion, mainMenuModificacion}, bajaModificacion);
    Habilita({cbtSeleccionar, cbtDeseleccionar, mainMenuSeleccionar, mainMenuDeseleccionar}, remesa && recibos > 0);
    const bool exportar = nivel == ArbolEmpresa ? false : remesa ? true : nodo->childCount() > 0;
    Habilita({cbtExportar, mainMenuFichero}, exportar);
    if (remesa)
        ActualizaPanelInfo();
    Habilita({cbtMantenimientoLibrados, mainMenuMantenimientoLibrados}, emisor || remesa);
}

void TFormMain::ActualizaBotonMoneda()
{
    const bool euros = MonedaRemesa == kMonedaEuros;
    BTNCambiaMoneda->setIcon(ImagenLista(euros ? kImagenEuros : kImagenPesetas));
    BTNCambiaMoneda->setToolTip(cp1252::toQString(::Idioma.GetTexto(euros ? 670 : 671)));
}

void TFormMain::statusMainWindowDrawPanel()
{
    const QTreeWidgetItem *nodo = NodoSeleccionado();
    const std::string tipo = GetTipoOrden();
    QColor color(255, 0, 0);
    QString texto = QStringLiteral("-----");
    if (tipo == "CSB19") {
        color = QColor(0, 128, 0);
        texto = QStringLiteral("CSB19");
    } else if (tipo == "CSB58") {
        color = QColor(0, 0, 255);
        texto = QStringLiteral("CSB58");
    }
    QPalette colores = statusPanel[1]->palette();
    colores.setColor(QPalette::WindowText, color);
    statusPanel[1]->setPalette(colores);
    statusPanel[1]->setText(texto);
    // The picture of the node's level: every presenter shows the plain presenter's.
    statusPanel[3]->setPixmap(nodo ? ImagenLista(GetNivelNodo(nodo)).pixmap(16, 16) : QPixmap());
    colores.setColor(QPalette::WindowText, Qt::black);
    statusPanel[4]->setPalette(colores);
    statusPanel[4]->setText(nodo ? nodo->text(0) : QString());
}
