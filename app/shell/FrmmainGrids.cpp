// The grids of the right side: the grid of the selected node's children loaded by level,
// title-click sorting, the totals panel, the bills index and the records of the editors.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Frmmsg.h"
#include "General.h"
#include "ModeloRecibos.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Totalesremesa.h"
#include "qcp1252.h"

#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

namespace {

// More rows than this make a grid ask before it is filled.
constexpr int kMaxFilasSinPreguntar = 1000;

// The first %s is the parent's id, the second the order (field and direction).
constexpr const char *kConsultaPresentadores =
    "SELECT [_Presentadores( Datos )].Id_nif, [_Presentadores( Datos )].Sufijo, [_Presentadores( Datos )].Razon_social,  "
    "[_Presentadores( Datos )].Id_presentador, [_Presentadores( Datos )].Clave_presentador FROM  "
    "[_Presentadores( Datos )] WHERE Id_empresa = %s ORDER BY [_Presentadores( Datos )].%s";
constexpr const char *kConsultaEmisores =
    "SELECT [_Emisores( Datos )].Id_nif, [_Emisores( Datos )].Razon_social,  [_Emisores( Datos )].Id_emisor, "
    "[_Emisores( Datos )].Cuenta_abono FROM  [_Emisores( Datos )] WHERE Id_presentador = %s ORDER BY "
    "[_Emisores( Datos )].%s";
constexpr const char *kConsultaRemesas =
    "SELECT [Remesas()].Id_remesa, [Remesas()].F_alta, [Remesas()].Importe_total, [Remesas()].Con_emision, "
    "[Remesas()].Contravalor_total, [Remesas()].Descripcion, [Remesas()].F_generacion, [_TiposMoneda()].Id_moneda "
    "FROM [_TiposMoneda()] INNER JOIN [Remesas()] ON [_TiposMoneda()].Id_moneda = [Remesas()].Id_moneda WHERE "
    "((([Remesas()].Id_emisor)=%s)) ORDER BY [Remesas()].%s";
constexpr const char *kConsultaRemesa =
    "SELECT [Remesas()].Id_remesa, [Remesas()].F_alta, [Remesas()].Importe_total, [Remesas()].Con_emision, "
    "[Remesas()].Contravalor_total, [Remesas()].Descripcion, [Remesas()].F_generacion, [Remesas()].Id_moneda "
    "FROM [Remesas()] WHERE [Remesas()].Id_remesa=%s;";
// The bills index: the key of each bill of the batch, ordered by the field and then by the
// key, so that bills equal in the field keep one order. The cells come from the model.
constexpr const char *kConsultaRecibos =
    "SELECT [Documentos()].Id_documento FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN "
    "[Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = "
    "[Documentos()].Id_remesa WHERE ((([Documentos()].Id_remesa)=%s)) ORDER BY %s, [Documentos()].Id_documento%s";

constexpr const char *kTotales = "SELECT COUNT(Id_documento) AS NTotal, SUM(Importe) AS ImporteTotal FROM "
                                 "[Documentos()] WHERE [Documentos()].Id_remesa = %s AND [Documentos()].Situacion=0;";
constexpr const char *kTotalesActivos =
    "SELECT COUNT(Id_documento) AS NActivos, SUM(Importe) AS ImporteActivos FROM [Documentos()] WHERE "
    "[Documentos()].Activo = TRUE AND [Documentos()].Id_remesa = %s AND [Documentos()].Situacion=0;";

// The order fields of the title clicks, by grid and column; the last one is any other's.
const char *CampoOrden(TipoGrid grid, int columna)
{
    static const char *const kCampos[NumGrids][9] = {
        {"Id_presentador", "Id_nif", "Sufijo", "Razon_social", "Id_orden"},
        {"Id_emisor", "Id_nif", "Cuenta_abono", "Razon_social"},
        {"Id_remesa", "Id_moneda", "F_generacion", "Descripcion", "F_alta", "Con_emision", "Importe_total",
         "Importe_total"},
        {"[Documentos()].Id_documento", "[Documentos()].Activo", "[Documentos()].F_vencimiento",
         "[Librados( Datos )].Razon_social", "[Librados( Datos )].Cuenta", "[Documentos()].Importe",
         "[Documentos()].Id_documento", "[Documentos()].Importe"},
    };
    const char *campo = columna >= 0 && columna < 9 ? kCampos[grid][columna] : nullptr;
    return campo ? campo : kCampos[grid][0];
}

// A key written into SQL: its leading number only.
std::string Clave(std::string_view id)
{
    return std::to_string(Numero(id));
}

std::string Texto(int n)
{
    return ::Idioma.GetTexto(n);
}

void Celda(QTableWidget *grid, int fila, int columna, const std::string &texto)
{
    grid->setItem(fila, columna, new QTableWidgetItem(cp1252::toQString(texto)));
}

std::string TextoCelda(const QTableWidget *grid, int fila, int columna)
{
    const QTableWidgetItem *item = grid->item(fila, columna);
    return item ? cp1252::fromQString(item->text()) : std::string();
}

void Titulos(QTableWidget *grid, std::initializer_list<const char *> literales, std::initializer_list<int> textos)
{
    QStringList titulos;
    auto t = textos.begin();
    for (const char *literal : literales)
        titulos << cp1252::toQString(literal ? std::string(literal) : Texto(*t++));
    grid->setHorizontalHeaderLabels(titulos);
}

std::string FechaEnPantalla(std::string fecha)
{
    return FechaDDMMAAToStr(QuitaBlancos(fecha));
}

std::string OtraMoneda(std::string_view moneda)
{
    return moneda == kMonedaEuros ? kMonedaPesetas : kMonedaEuros;
}

// A SUM in the currency's smallest unit (cents of euros, pesetas); the sum of no rows
// ("NULL") is 0, and a text that is no amount is logged with the tag and reads 0.
long long Unidades(const std::string &suma, std::string_view moneda, const char *etiqueta)
{
    long long unidades = 0;
    if (suma == "NULL" || LeeImporteSQL(suma, DecimalesMoneda(moneda), unidades) == LecturaImporte::Correcta)
        return unidades;
    WriteLog(std::string("[ TFormMain::") + etiqueta + " ] '" + suma + "' no es un importe v\xE1lido");
    return 0;
}

// An amount in the currency's smallest unit, for the screen.
std::string ImporteEnPantalla(long long unidades, std::string_view moneda)
{
    std::string texto = std::to_string(unidades);
    if (moneda == kMonedaEuros) {
        const bool negativo = unidades < 0;
        std::string cifras = std::to_string(negativo ? -unidades : unidades);
        if (cifras.size() < 3)
            cifras.insert(0, 3 - cifras.size(), '0');
        cifras.insert(cifras.size() - 2, ".");
        texto = (negativo ? "-" : "") + cifras;
    }
    return FormatImporte(texto, moneda);
}

// Holds the window busy while a grid loads or sorts; on leaving, a refresh of the bills that
// came meanwhile runs from the event loop.
class Ocupacion {
public:
    Ocupacion(QObject *contexto, bool &ocupado, bool &pendiente, const std::function<void()> &refresco)
        : m_contexto(contexto), m_ocupado(ocupado), m_pendiente(pendiente), m_refresco(refresco)
    {
        m_ocupado = true;
    }
    ~Ocupacion()
    {
        m_ocupado = false;
        if (m_pendiente) {
            m_pendiente = false;
            QTimer::singleShot(0, m_contexto, m_refresco);
        }
    }
    Ocupacion(const Ocupacion &) = delete;
    Ocupacion &operator=(const Ocupacion &) = delete;

private:
    QObject *m_contexto;
    bool &m_ocupado;
    bool &m_pendiente;
    std::function<void()> m_refresco;
};

} // namespace

// ---- Loading by level ----

void TFormMain::MuestraPanel(QWidget *panel)
{
    for (QWidget *p : {panelGrdEmpresas, panelGrdEmisores, panelGrdRemesas, panelGrdDocumentos})
        if (p != panel)
            p->hide();
    panel->show();
}

void TFormMain::TituloPanel(QLabel *titulo, const std::string &prefijo, int texto, const QTreeWidgetItem *nodo)
{
    titulo->setText(cp1252::toQString(prefijo + Texto(texto)) + nodo->text(0));
}

void TFormMain::MuestraNivel(QTreeWidgetItem *nodo)
{
    if (!nodo || IdNodo(nodo).empty())
        return;
    const int nivel = GetNivelNodo(nodo);
    const std::string id = Clave(IdNodo(nodo));
    if (_multiuser *multiusuario = App().Multiuser) {
        const int clave = Numero(id);
        switch (nivel) {
        case ArbolEmpresa: multiusuario->SeleccionaEmpresa(clave); break;
        case ArbolPresentador: multiusuario->SeleccionaPresentador(clave); break;
        case ArbolEmisor: multiusuario->SeleccionaEmisor(clave); break;
        case ArbolRemesa: multiusuario->SeleccionaRemesa(clave); break;
        default: break;
        }
    }
    if (!GridsActivos) {
        GridsActivos = true;
        return;
    }
    PosRaton = QPoint(0, 0);
    Ocupacion ocupado(this, m_ocupado, m_refrescoPendiente, [this] { RefrescaRecibos(); });
    const std::string tipo = "       [" + GetTipoOrden() + "] ";
    switch (nivel) {
    case ArbolEmpresa:
        MuestraPanel(panelGrdEmpresas);
        PreparaGridPresentadores();
        CargaGrid(lstGridPresentadores, FormateaTexto(kConsultaPresentadores, id, "Razon_social"),
                  &TFormMain::FilaPresentador);
        panelBottom->hide();
        TituloPanel(panelTitleEmpresas, "       [-----]", 351, nodo);
        break;
    case ArbolPresentador: {
        MuestraPanel(panelGrdEmisores);
        CursorEspera espera;
        PreparaGridEmisores();
        CargaGrid(lstGridEmisores, FormateaTexto(kConsultaEmisores, id, "Razon_social"), &TFormMain::FilaEmisor);
        panelBottom->hide();
        TituloPanel(panelTitleEmisores, tipo, 348, nodo);
        break;
    }
    case ArbolEmisor: {
        MuestraPanel(panelGrdRemesas);
        {
            CursorEspera espera;
            PreparaGridRemesas();
            CargaGrid(lstGridRemesas, FormateaTexto(kConsultaRemesas, id, "Id_remesa"), &TFormMain::FilaRemesa);
        }
        panelBottom->show();
        ActualizaPanelInfo();
        TituloPanel(panelTitleRemesas, tipo, 349, nodo);
        ActualizaBotonMoneda();
        break;
    }
    case ArbolRemesa: {
        GetMonedaRemesa(id);
        MuestraPanel(panelGrdDocumentos);
        panelBottom->show();
        CursorEspera espera;
        PreparaGridRecibos();
        MuestraTotales({});
        ActualizaPanelInfo();
        AbreRecibos(FormateaTexto(kConsultaRecibos, id, "[Librados( Datos )].Razon_social", ""));
        TituloPanel(panelTitleRecibos, "             [" + GetTipoOrden() + "] ", 350, nodo);
        ImagePta->setVisible(MonedaRemesa == kMonedaPesetas);
        ImageEuro->setVisible(MonedaRemesa != kMonedaPesetas);
        ActualizaBotonMoneda();
        break;
    }
    default:
        break;
    }
}

void TFormMain::CargaGrid(QTableWidget *grid, const std::string &sql, void (TFormMain::*fila)(int, const std::string &))
{
    std::vector<std::string> filas;
    DBGetData(sql, [&filas](char *texto, char *, int) { filas.emplace_back(texto); });
    const int total = int(filas.size());
    if (total > kMaxFilasSinPreguntar
        && CajaMensaje(Texto(186), Texto(187) + std::to_string(total) + Texto(202), IconoMensaje::Pregunta,
                       BotonesMensaje::SiNo) != RespuestaSi)
        return;
    grid->setRowCount(total);
    for (int i = 0; i < total; ++i)
        (this->*fila)(i, filas[size_t(i)]);
    if (total > 0)
        grid->setCurrentCell(0, 1);
}

void TFormMain::PreparaGridPresentadores()
{
    lstGridPresentadores->clearContents();
    lstGridPresentadores->setRowCount(0);
    Titulos(lstGridPresentadores, {" ", nullptr, nullptr, nullptr, nullptr}, {469, 9, 320, 886});
    AjustaColumnas();
}

void TFormMain::PreparaGridEmisores()
{
    lstGridEmisores->clearContents();
    lstGridEmisores->setRowCount(0);
    Titulos(lstGridEmisores, {" ", nullptr, nullptr, nullptr}, {469, 108, 321});
    AjustaColumnas();
}

void TFormMain::PreparaGridRemesas()
{
    lstGridRemesas->clearContents();
    lstGridRemesas->setRowCount(0);
    Titulos(lstGridRemesas, {" ", " ", " ", nullptr, nullptr, nullptr, nullptr, nullptr}, {188, 346, 347, 344, 16});
    AjustaColumnas();
}

void TFormMain::PreparaGridRecibos()
{
    ModeloRecibos->Vacia();
    NumFilasRecibos = 0;
    FilaGrid = 0;
    ModeloRecibos->SetTitulos({" ", " ", Texto(345), Texto(476), Texto(7), Texto(344), " ", Texto(16), ""});
    AjustaColumnas();
}

void TFormMain::FilaPresentador(int fila, const std::string &texto)
{
    Celda(lstGridPresentadores, fila, 0, GetCampoTexto("Id_presentador", texto));
    Celda(lstGridPresentadores, fila, 1, GetCampoTexto("Id_nif", texto));
    Celda(lstGridPresentadores, fila, 2, GetCampoTexto("Sufijo", texto));
    Celda(lstGridPresentadores, fila, 3, GetCampoTexto("Razon_social", texto));
    Celda(lstGridPresentadores, fila, 4, TipoOrdenPresentador(GetCampo("Id_presentador", texto)));
}

void TFormMain::FilaEmisor(int fila, const std::string &texto)
{
    Celda(lstGridEmisores, fila, 0, GetCampoTexto("Id_emisor", texto));
    Celda(lstGridEmisores, fila, 1, GetCampoTexto("Id_nif", texto));
    Celda(lstGridEmisores, fila, 2, GetCampoTexto("Cuenta_abono", texto));
    Celda(lstGridEmisores, fila, 3, GetCampoTexto("Razon_social", texto));
}

void TFormMain::FilaRemesa(int fila, const std::string &texto)
{
    const std::string moneda = GetCampoTexto("Id_moneda", texto);
    const std::string generacion = GetCampo("F_generacion", texto);
    Celda(lstGridRemesas, fila, 0, GetCampoTexto("Id_remesa", texto));
    Celda(lstGridRemesas, fila, 1, moneda);
    Celda(lstGridRemesas, fila, 2, generacion == "NULL" ? generacion : FechaEnPantalla(generacion));
    Celda(lstGridRemesas, fila, 3, GetCampoTexto("Descripcion", texto));
    Celda(lstGridRemesas, fila, 4, FechaEnPantalla(GetCampo("F_alta", texto)));
    Celda(lstGridRemesas, fila, 5, GetCampo("Con_emision", texto));
    Celda(lstGridRemesas, fila, 6, FormatImporte(GetCampo("Importe_total", texto), moneda));
    Celda(lstGridRemesas, fila, 7, FormatImporte(GetCampo("Contravalor_total", texto), OtraMoneda(moneda)));
}

void TFormMain::RecargaFilaRemesa(int fila, const std::string &idRemesa)
{
    DBGetData(FormateaTexto(kConsultaRemesa, Clave(idRemesa)),
              [this, fila](char *texto, char *, int) { FilaRemesa(fila, texto); });
}

// ---- Sorting ----

void TFormMain::OrdenaGrid(TipoGrid grid, int columna)
{
    QTreeWidgetItem *nodo = NodoSeleccionado();
    if (!nodo || m_ocupado || (grid == GridRecibos && (columna == 6 || NumFilasRecibos == 0)))
        return;
    Ocupacion ocupado(this, m_ocupado, m_refrescoPendiente, [this] { RefrescaRecibos(); });
    CursorEspera espera;
    const std::string id = Clave(IdNodo(nodo));
    const bool descendente = ColumnaAsc[grid] == columna;
    ColumnaAsc[grid] = descendente ? -1 : columna;
    ColumnaDesc[grid] = descendente ? columna : -1;
    const std::string direccion = descendente ? " DESC" : " ASC";
    std::string orden = CampoOrden(grid, columna) + direccion;
    switch (grid) {
    case GridPresentadores:
        PreparaGridPresentadores();
        CargaGrid(lstGridPresentadores, FormateaTexto(kConsultaPresentadores, id, orden + ";"),
                  &TFormMain::FilaPresentador);
        break;
    case GridEmisores:
        PreparaGridEmisores();
        CargaGrid(lstGridEmisores, FormateaTexto(kConsultaEmisores, id, orden + ";"), &TFormMain::FilaEmisor);
        ActualizaMenus(nodo);
        break;
    case GridRemesas:
        if (columna == 6 || columna == 7)
            orden += ",[Remesas()].Id_moneda" + direccion;
        PreparaGridRemesas();
        CargaGrid(lstGridRemesas, FormateaTexto(kConsultaRemesas, id, orden + ";"), &TFormMain::FilaRemesa);
        ActualizaMenus(nodo);
        break;
    case GridRecibos:
        PreparaGridRecibos();
        AbreRecibos(FormateaTexto(kConsultaRecibos, id, orden, direccion + ";"));
        ActualizaMenus(nodo);
        break;
    default:
        break;
    }
    for (QTableView *vista : std::initializer_list<QTableView *>{lstGridPresentadores, lstGridEmisores, lstGridRemesas,
                                                                  lstGridDocumentos})
        vista->horizontalHeader()->viewport()->update();
}

// ---- The bills index ----

void TFormMain::AbreRecibos(const std::string &sql)
{
    // The rows in view are known once the panels have their sizes.
    panelRight->layout()->activate();
    panelGrdDocumentos->layout()->activate();
    SQLRecibos = sql;
    ModeloRecibos->Abre(SQLRecibos, MonedaRemesa);
    NumFilasRecibos = ModeloRecibos->rowCount();
    SetFilaActualRecibos(NumFilasRecibos > 0 ? 1 : 0);
    lstGridDocumentosTopLeftChanged(false);
    FilaGrid = FilaActualRecibos();
    if (FilaGrid > 0)
        ModeloRecibos->Marca(FilaGrid - 1, true);
}

int TFormMain::InicIndiceRecibos()
{
    const int actual = FilaActualRecibos();
    const std::vector<int> sigue = {actual > 0 ? ModeloRecibos->IdFila(actual - 1) : 0,
                                    FilaGrid > 0 ? ModeloRecibos->IdFila(FilaGrid - 1) : 0};
    std::vector<int> filas;
    const int resultado = ModeloRecibos->Reindexa(sigue, filas);
    NumFilasRecibos = ModeloRecibos->rowCount();
    // A bill that is gone leaves its place to the one now there.
    auto sigueA = [this](int fila, int antes) {
        return fila >= 0 ? fila + 1 : std::min(antes, NumFilasRecibos);
    };
    SetFilaActualRecibos(sigueA(filas[0], actual));
    FilaGrid = sigueA(filas[1], FilaGrid);
    return resultado;
}

void TFormMain::RefrescaRecibos()
{
    QTreeWidgetItem *nodo = NodoSeleccionado();
    if (!nodo || panelGrdDocumentos->isHidden())
        return;
    if (m_ocupado) {
        m_refrescoPendiente = true;
        return;
    }
    InicIndiceRecibos();
    if (NumFilasRecibos > 0 && FilaActualRecibos() == 0)
        SetFilaActualRecibos(1); // the first bill of a batch that had none
    if (NumFilasRecibos > 0 && FilaActualRecibos() > 0) {
        FilaGrid = FilaActualRecibos();
        ModeloRecibos->Marca(FilaGrid - 1, true);
    }
    lstGridDocumentosTopLeftChanged(true);
    MuestraTotales(IdNodo(nodo));
}

std::pair<int, int> TFormMain::FilasVisiblesRecibos() const
{
    const int total = ModeloRecibos->rowCount();
    if (total == 0)
        return {0, -1};
    const int primera = std::max(0, lstGridDocumentos->rowAt(0));
    const int ultima = lstGridDocumentos->rowAt(lstGridDocumentos->viewport()->height() - 1);
    return {primera, ultima < 0 ? total - 1 : ultima};
}

void TFormMain::lstGridDocumentosTopLeftChanged(bool releer)
{
    const auto [primera, ultima] = FilasVisiblesRecibos();
    ModeloRecibos->LlenaFilas(primera, ultima, releer);
}

std::optional<std::vector<std::string>> TFormMain::GetRecibosSeleccionados()
{
    if (panelGrdDocumentos->isHidden())
        return std::nullopt;
    std::vector<std::string> ids;
    for (int id : ModeloRecibos->Marcadas())
        ids.push_back(std::to_string(id));
    return ids;
}

std::string TFormMain::GetMonedaRemesa(const std::string &idRemesa)
{
    MonedaRemesa.clear();
    DBGetData(FormateaTexto("SELECT [Remesas()].Id_moneda FROM [Remesas()] WHERE [Remesas()].Id_remesa=%s;",
                            Clave(idRemesa)),
              [this](char *fila, char *, int) {
                  MonedaRemesa = GetCampoTexto("Id_moneda", fila);
                  ActualizaBotonMoneda();
              });
    return MonedaRemesa;
}

// ---- Totals ----

void TFormMain::ActualizaPanelInfo()
{
    ActualizaBotonMoneda();
    QTreeWidgetItem *nodo = NodoSeleccionado();
    const int remesa = FilaSeleccion(lstGridRemesas);
    if (!panelGrdDocumentos->isHidden() && nodo) {
        MuestraTotales(IdNodo(nodo));
    } else if (!panelGrdRemesas->isHidden() && remesa > 0) {
        MonedaRemesa = TextoCelda(lstGridRemesas, remesa - 1, 1);
        MuestraTotales(TextoCelda(lstGridRemesas, remesa - 1, 0));
    } else {
        MuestraTotales({});
    }
}

void TFormMain::MuestraTotales(const std::string &idRemesa)
{
    QLabel *const etiquetas[] = {lblTotalRecibos, lblTotalImporte, lblTotalActivos,
                                 lblImporteActivos, lblOrdDesac,   lblImportOrdDesac};
    if (idRemesa.empty()) {
        // Zero amounts as the currency in view shows them ("0,00" euros, "0" pesetas).
        const std::string cero = ImporteEnPantalla(0, MonedaRemesa.empty() ? kMonedaEuros : MonedaRemesa);
        for (QLabel *etiqueta : etiquetas)
            etiqueta->setText(QStringLiteral("0"));
        for (QLabel *importe : {lblTotalImporte, lblImporteActivos, lblImportOrdDesac})
            importe->setText(cp1252::toQString(cero));
        return;
    }
    CalculaTotales(idRemesa);
    ImagePta->setVisible(MonedaRemesa == kMonedaPesetas);
    ImageEuro->setVisible(MonedaRemesa != kMonedaPesetas);
    lblTotalRecibos->setText(QString::number(NumRecibos));
    lblOrdDesac->setText(QString::number(NumRecibos - NumActivos));
    lblTotalActivos->setText(QString::number(NumActivos));
    lblTotalImporte->setText(cp1252::toQString(ImporteEnPantalla(ImporteRecibos, MonedaRemesa)));
    lblImporteActivos->setText(cp1252::toQString(ImporteEnPantalla(ImporteActivos, MonedaRemesa)));
    lblImportOrdDesac->setText(cp1252::toQString(ImporteEnPantalla(ImporteRecibos - ImporteActivos, MonedaRemesa)));
}

void TFormMain::CalculaTotales(const std::string &idRemesa)
{
    NumRecibos = NumActivos = 0;
    ImporteRecibos = ImporteActivos = 0;
    const std::string id = Clave(idRemesa);
    DBGetData(FormateaTexto(kTotales, id), [this](char *fila, char *, int) {
        NumRecibos = Numero(GetCampo("NTotal", fila));
        ImporteRecibos = Unidades(GetCampo("ImporteTotal", fila), MonedaRemesa, "_GetTotales");
    });
    DBGetData(FormateaTexto(kTotalesActivos, id), [this](char *fila, char *, int) {
        NumActivos = Numero(GetCampo("NActivos", fila));
        ImporteActivos = Unidades(GetCampo("ImporteActivos", fila), MonedaRemesa, "_GetTotalesActivos");
    });
}

void TFormMain::ActualizaTotalesRemesa(int idRemesa)
{
    ::ActualizaTotalesRemesa(std::to_string(idRemesa));
}

void TFormMain::lstGridRemesasClick()
{
    if (!m_ocupado)
        ActualizaPanelInfo();
}

// ---- Records of the editors ----

void TFormMain::CargaRemesa(const std::string &idRemesa)
{
    DatosRemesa = ::CargaRemesa(idRemesa);
}

void TFormMain::CargaDocumento(const std::string &idDocumento)
{
    DatosDocumento = ::CargaDocumento(idDocumento);
}
