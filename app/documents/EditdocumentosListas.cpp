// The bill editor's lists: the banks of each panel and the user's drawees with their search.
#include "Editdocumentos.h"

#include "Controles.h"
#include "General.h"
#include "Modmas.h"
#include "Pantalla.h"
#include "qcp1252.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// The drawees of a user's companies under presenters of one order type, by name.
constexpr const char *kLibradosOrden =
    "SELECT [Librados( Datos )].* FROM [_Empresas( Datos )] INNER JOIN ([_Presentadores( Datos )] INNER JOIN "
    "([_Emisores( Datos )] INNER JOIN [Librados( Datos )] ON [_Emisores( Datos )].Id_emisor = [Librados( Datos "
    ")].Id_emisor) ON [_Presentadores( Datos )].Id_presentador = [_Emisores( Datos )].Id_presentador) ON "
    "[_Empresas( Datos )].Id_empresa = [_Presentadores( Datos )].Id_empresa WHERE [_Empresas( Datos "
    ")].Id_usuario=%d  AND [_Presentadores( Datos )].Id_orden='%s' ORDER BY [Librados( Datos )].[Razon_social];";

// Columns of lstLibrados.
enum ColumnaLibrado {
    ColId, ColReferencia, ColNombre, ColCuenta, ColTitular, ColDireccion, ColCP, ColLocalidad, ColProvincia,
    ColLocReceptor, ColCPReceptor,
};

// The row highlighted, current in a column shown: from the hidden key column the arrows would
// move the current row without the highlight.
void Resalta(QTreeWidget *lista, QTreeWidgetItem *fila)
{
    lista->setCurrentItem(fila, ColReferencia);
}

std::string Celda(const QTreeWidgetItem *fila, int columna)
{
    return cp1252::fromQString(fila->text(columna));
}

} // namespace

void TFormEditDocumentos::CargaBancos()
{
    DBGetData("SELECT * FROM [Bancos()] ORDER BY [Nombre_banco] ASC;", [this](char *fila, char *, int) {
        const QString banco = cp1252::toQString("[" + GetCampoTexto("N_Banco", fila) + "] - " +
                                                NullToEmpty(GetCampoTexto("Nombre_banco", fila)));
        LBBancos->addItem(banco);
        LabelBancos->addItem(banco);
    });
}

void TFormEditDocumentos::AbreBancos(QListWidget *lista)
{
    lista->show();
    lista->setFocus(Qt::OtherFocusReason);
    MantenEnPantalla(this);
}

void TFormEditDocumentos::CopiaBanco(QListWidget *lista)
{
    const QListWidgetItem *item = lista->currentItem();
    if (!item)
        return;
    const QString texto = item->text();
    const qsizetype corchete = texto.indexOf(QLatin1Char('['));
    if (corchete >= 0)
        (lista == LBBancos ? txtBanco : txtBanco58)->setText(texto.mid(corchete + 1, 4).trimmed());
}

void TFormEditDocumentos::CargaLibrados()
{
    if (m_libradosCargados)
        return;
    CursorEspera espera;
    lstLibrados->clear();
    DBGetData(FormateaTexto(kLibradosOrden, m_destino.IdUsuario, GetTipoOrdenStr(m_destino.TipoOrden)),
              [this](char *texto, char *, int) {
                  const STRLibrado l = LeeFilaLibrado(texto);
                  const std::string columnas[] = {
                      GetCampo("Id_librado", texto), l.Codigo_referencia, l.Razon_social, l.CuentaCompleta(),
                      l.Titular_cuenta, l.Direccion, l.CP, l.Localidad, l.Provincia, l.Loc_ordenante,
                      l.Cod_provincia_ordenante};
                  auto *fila = new QTreeWidgetItem(lstLibrados);
                  for (int c = 0; c <= ColCPReceptor; ++c)
                      fila->setText(c, cp1252::toQString(columnas[c]));
              });
    m_libradosCargados = true;
}

void TFormEditDocumentos::RefreshLibrados(const std::string &orden)
{
    if (GetTipoOrden(orden) != m_destino.TipoOrden)
        return;
    m_libradosCargados = false;
    CargaLibrados();
}

void TFormEditDocumentos::cbtLibradoClick()
{
    CargaLibrados();
    m_okAntesDeLista = cbtOK->isEnabled();
    cbtOK->setEnabled(true);
    PanelCSB19->hide();
    panelCSB58->hide();
    panelImporte->hide();
    panelLibrados->show();
    TXTBuscar->show();
    BTNBuscar->show();
    BTNImprimir->hide();
    TXTBuscar->clear();
    m_buscando = false;
    if (lstLibrados->topLevelItemCount() > 0 && lstLibrados->selectedItems().isEmpty())
        Resalta(lstLibrados, lstLibrados->topLevelItem(0));
    lstLibrados->setFocus(Qt::OtherFocusReason);
    MantenEnPantalla(this);
}

void TFormEditDocumentos::CopiaLibrado()
{
    const QList<QTreeWidgetItem *> elegidos = lstLibrados->selectedItems();
    if (elegidos.isEmpty())
        return;
    const QTreeWidgetItem *fila = elegidos.front();
    STRLibrado l;
    l.Codigo_referencia = Celda(fila, ColReferencia);
    l.Razon_social = Celda(fila, ColNombre);
    l.PonCuenta(Celda(fila, ColCuenta));
    l.Titular_cuenta = Celda(fila, ColTitular);
    l.Direccion = Celda(fila, ColDireccion);
    l.CP = Celda(fila, ColCP);
    l.Localidad = Celda(fila, ColLocalidad);
    l.Provincia = Celda(fila, ColProvincia);
    l.Loc_ordenante = Celda(fila, ColLocReceptor);
    l.Cod_provincia_ordenante = Celda(fila, ColCPReceptor);
    PonLibrado(l);
    if (Es58() && Host.GetProvincia)
        PonTextoCaja(txtProvincia58, Host.GetProvincia(l.Cod_provincia_ordenante.substr(0, 2)));
    m_referenciaEditada = false;
}

void TFormEditDocumentos::CierraLista(bool copia)
{
    if (copia)
        CopiaLibrado();
    panelLibrados->hide();
    TXTBuscar->hide();
    BTNBuscar->hide();
    BTNImprimir->show();
    panelImporte->show();
    (Es58() ? panelCSB58 : PanelCSB19)->show();
    const Panel p = PanelActual();
    if (!copia) {
        cbtOK->setEnabled(m_okAntesDeLista);
        SafeSetFocus(p.referencia);
        return;
    }
    cbtOK->setEnabled(true);
    SafeSetFocus(txtImporte->text().isEmpty() ? static_cast<QWidget *>(txtImporte) : p.referencia);
    STRRecibo r = LeeCajas();
    LimpiaCampos(r);
    PonCajas(r);
}

void TFormEditDocumentos::BTNBuscarClick()
{
    const QString buscado = TXTBuscar->text();
    if (buscado.isEmpty()) {
        AvisoTexto(632, 6, IconoMensaje::Error);
        return;
    }
    const int total = lstLibrados->topLevelItemCount();
    QTreeWidgetItem *actual = lstLibrados->currentItem();
    int desde = 0;
    if (m_buscando && actual && actual->isSelected())
        desde = lstLibrados->indexOfTopLevelItem(actual) + 1;
    for (int i = desde; i < total; ++i) {
        QTreeWidgetItem *fila = lstLibrados->topLevelItem(i);
        for (int c : {ColReferencia, ColNombre, ColCuenta}) {
            if (fila->text(c).contains(buscado, Qt::CaseSensitive)) {
                Resalta(lstLibrados, fila);
                lstLibrados->scrollToItem(fila);
                m_buscando = true;
                return;
            }
        }
    }
    if (total > 0)
        Resalta(lstLibrados, lstLibrados->topLevelItem(0));
    m_buscando = false;
    AvisoTexto(617, 6, IconoMensaje::Ninguno);
}
