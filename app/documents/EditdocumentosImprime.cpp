// The bill editor's print button.
#include "Editdocumentos.h"

#include "Cajafecha.h"
#include "Controles.h"
#include "Frmpreview.h"
#include "qcp1252.h"

#include <QLineEdit>
#include <QPlainTextEdit>

void TFormEditDocumentos::BTNImprimirClick()
{
    DatosReciboImpreso d;
    d.TipoOrden = m_destino.TipoOrden;
    d.MonedaRemesa = m_destino.Id_moneda;
    d.IdRemesa = m_destino.IdRemesa;
    d.Ordenante = Host.Ordenante ? Host.Ordenante() : std::string();
    d.Importe = TextoCaja(txtImporte);
    d.RefInterna = TextoCaja(txtRefInterna);
    d.MemoConceptos = cp1252::fromQString(memoConceptos->toPlainText());
    d.MemoVisible = !memoConceptos->isHidden();
    d.PrimerConcepto = TextoCaja(txtConcepto);
    d.Librado = TextoCaja(txtLibrado);
    d.Banco = TextoCaja(txtBanco);
    d.Oficina = TextoCaja(txtOficina);
    d.DC = TextoCaja(txtDC);
    d.Cuenta = TextoCaja(txtCuenta);
    d.TitularCuenta = TextoCaja(txtTitularCuenta);
    d.Direccion = TextoCaja(txtDireccion);
    d.Localidad = TextoCaja(txtLocalidad);
    d.Provincia = TextoCaja(txtProvincia);
    d.Formalizacion = dateFormalizacion58->date();
    d.TitularCredito58 = TextoCaja(txtTitularCredito58);
    d.Banco58 = TextoCaja(txtBanco58);
    d.Oficina58 = TextoCaja(txtOficina58);
    d.DC58 = TextoCaja(txtDC58);
    d.Cuenta58 = TextoCaja(txtCuenta58);
    d.DomicilioDeudor58 = TextoCaja(txtDomicilioDeudor58);
    d.LocalidadDeudor58 = TextoCaja(txtLocalidadDeudor58);
    d.CPDeudor58 = TextoCaja(txtCPDeudor58);
    TQuickRep *hoja = HojasRecibo.Llena(d);
    if (hoja && hoja->Prepara())
        ImprimeInforme(*hoja, this, false);
}
