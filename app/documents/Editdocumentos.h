// The bill editor "Gestión de Recibos": adds bills to the batch selected in the main window
// and modifies one of them, with the panel of its format (CSB19 or CSB58), the amount, the
// concept, a list of the user's drawees to pick from and the two bank lists. Its accept is
// GuardaDocumento (Guardadocumento.h); the window only edits the boxes.
//
// Texts are Windows-1252 outside the widgets. One window lives for the whole run
// (App().FormEditDocumentos) and is reused for every bill.
#pragma once

#include "Guardadocumento.h"
#include "Reciboimpreso.h"
#include "Registros.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class TCajaFecha;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QWidget;

// What the editor asks of the main window; set at start-up. Destino gives the format,
// the user, the batch and its issuer, and the bill of the bills grid's current row.
struct HostEditDocumentos {
    std::function<DestinoRecibo()> Destino;
    std::function<std::string(const std::string &codigo)> GetProvincia;
    std::function<void()> ActualizaPanelInfo;
    // The bills grid reloaded with the bill idDocumento (0: none) as its current row.
    std::function<void(int idDocumento)> RefrescaRecibos;
    // The issuer as the tree shows it, for the printed bill.
    std::function<std::string()> Ordenante;
};

class TFormEditDocumentos : public QDialog {
    Q_OBJECT
public:
    explicit TFormEditDocumentos(QWidget *parent = nullptr);

    HostEditDocumentos Host;

    // Before showing: the mode (new or modify) and the bill. For a modify the caller then
    // takes the bill's lock, and shows the window only when it got it.
    void SetDocumento(const STRDocumento &documento);

    // Another copy changed drawees of the order type ("CSB19" or "CSB58"): the drawee list
    // is loaded again when it is of the format shown.
    void RefreshLibrados(const std::string &orden);

    // The show procedure: captions, panels, layout and the boxes emptied (new) or filled
    // from the record (modify). Run at every showing and after each bill added.
    void FormShow();
    // The OK action: with the drawee list shown, takes the selected drawee; otherwise
    // stores the bill (a new one empties the window for the next, a modified one closes it).
    void cbtOKClick();
    void cbtCancelClick();
    void BTNBuscarClick();
    // Prints the bill as the boxes show it, on the sheet of its format, straight to the
    // default printer (with none, into a PDF file the user names).
    void BTNImprimirClick();
    // The print pages: the two sheets of the printed bill.
    THojasRecibo HojasRecibo;
    // The drawee list, opened by the panel's button.
    void cbtLibradoClick();

    // True while this editor holds the lock of the bill being modified.
    bool DocumentoBloqueado = false;

    QTabWidget *tabGeneral;
    QWidget *tabRecibo;
    // The template page, shown for a batch with a concept template: the template's item
    // controls on panelPlantilla, laid out from the memo when the page becomes active
    // (tabGeneralChange); Aplicar (cbtOkData) writes the template's total into the amount
    // and its text into the memo, Cancelar (cbtCancelData) drops them. Leaving the page
    // otherwise drops them too (EditdocumentosPlantilla.cpp).
    QWidget *tabPlantilla;
    QWidget *panelPlantilla;
    QPushButton *cbtOkData, *cbtCancelData;
    void tabGeneralChange(int indice);
    void cbtOkDataClick();
    void cbtCancelDataClick();
    // CSB19.
    QWidget *PanelCSB19;
    QLineEdit *txtCodReferencia, *txtLibrado, *txtBanco, *txtOficina, *txtDC, *txtCuenta, *txtTitularCuenta,
        *txtDireccion, *txtCP, *txtLocalidad, *txtProvincia;
    QPushButton *BottomBancos, *cbtLibrado;
    QListWidget *LBBancos;
    // CSB58.
    QWidget *panelCSB58;
    QLineEdit *txtCodReferencia58, *txtTitularCredito58, *txtBanco58, *txtOficina58, *txtDC58, *txtCuenta58,
        *txtDomicilioDeudor58, *txtLocalidadDeudor58, *txtCPDeudor58, *txtLocalidadReceptor58, *txtCPReceptor58,
        *txtProvincia58, *txtVencimiento58, *txtFechaFormalizacion58;
    TCajaFecha *dateVencimiento58, *dateFormalizacion58;
    QPushButton *BTBancos, *BitBtn1;
    QListWidget *LabelBancos;
    // Amount and concept.
    QWidget *panelImporte;
    QLineEdit *txtImporte, *txtContravalor, *txtCodDevolucion, *txtRefInterna, *txtConcepto;
    QLabel *labelMonedaImporte, *labelMonedaContravalor;
    QPlainTextEdit *memoConceptos;
    // The drawee list.
    QWidget *panelLibrados;
    QTreeWidget *lstLibrados;
    QLineEdit *TXTBuscar;
    QPushButton *BTNBuscar;
    QPushButton *cbtOK, *cbtCancel, *BTNImprimir;
    // Captions set by language.
    QLabel *lblPrimerConcepto, *Label18, *Label1, *lblTitularRecibo, *Label2, *Label3, *Label7, *Label4, *Label8,
        *Label6, *Label19, *lblTitularCuenta, *Label14, *Label16, *Label17, *Label9, *Label10, *Label13, *Label11,
        *Label20, *Label23, *Label22, *Label26, *Label25, *Label27, *Label28, *Label29, *Label30;

    // Closing in any way (FormClose): the account boxes emptied, the lock released, the
    // lists hidden, the focus back to the main window.
    void done(int resultado) override;

protected:
    void showEvent(QShowEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    // The boxes of the format's panel.
    struct Panel {
        QLineEdit *referencia, *nombre, *banco, *oficina, *dc, *cuenta;
        QListWidget *bancos;
    };
    Panel PanelActual() const;
    bool Es58() const { return m_destino.TipoOrden == 2; }

    // Layout and controls (Editdocumentos.cpp).
    void CreaControles();
    void PonTextos();
    void VaciaCajas();
    void LlenaCajas();
    STRRecibo LeeCajas() const;
    void PonCajas(const STRRecibo &r);
    // The drawee's fields into the boxes of the format's panel.
    void PonLibrado(const STRLibrado &l);
    void GuardaDocumento();
    // The cursor on the box whose value the accept refused.
    void CursorEnRechazo(CampoRechazado campo);
    void CierraLista(bool copia);
    // The texts of the page's boxes and memo; whether they differ from those the show left.
    std::vector<QString> TextosCajas() const;
    bool Tecleado() const;

    // Template page (EditdocumentosPlantilla.cpp).
    void CreaPaginaPlantilla();
    // The batch's template id, -1 when slot Id_plantilla is not a number.
    int PlantillaRemesa() const;
    // The memo as a page: 8 lines of 80, blank-padded.
    std::string PaginaConcepto() const;
    // The memo from a concept: 80 characters per line, trailing blanks and lines cut.
    void CargaConcepto(const std::string &concepto);

    // Keys, changes and exits (EditdocumentosTeclas.cpp).
    void ConectaCambios();
    void Cambio(QObject *caja, bool usuario);
    bool Intro(QLineEdit *caja);
    void SalidaPendiente(QLineEdit *caja);
    void EjecutaSalida();
    void Salida(QLineEdit *caja);
    void GetDataLibrado(QLineEdit *caja);
    void SalidaCuenta(QLineEdit *caja);
    void SalidaCP(QLineEdit *caja);
    void SalidaProvincia();
    void SalidaCPReceptor();
    void SalidaProvincia58();
    void PonMonedaImporte();

    // Lists (EditdocumentosListas.cpp).
    void CargaBancos();
    void CargaLibrados();
    void CopiaLibrado();
    void AbreBancos(QListWidget *lista);
    void CopiaBanco(QListWidget *lista);

    STRDocumento m_documento;
    DestinoRecibo m_destino;
    bool m_avisoPlantilla = false;   // the template warning was shown in this showing
    bool m_libradosCargados = false; // the drawee list was loaded in this showing
    bool m_okAntesDeLista = false;   // cbtOK's state when the drawee list opened
    bool m_referenciaEditada = false;
    bool m_buscando = false;         // the last search found an item
    QLineEdit *m_salida = nullptr;   // the box whose exit check waits for the focus to settle
    std::vector<QString> m_cajasAlMostrar;
};
