// The drawee window: lists the drawees of the logged-in user's companies whose presenter has
// the order type of the one selected in the main window's tree, and adds, changes, searches
// and deletes them. New drawees go to the issuer selected in the tree when the window shows.
//
// Editing states: -1 nothing shown or fields being filled by the program, 0 browsing, 1 a
// new drawee, 2 the shown drawee changed. While editing (1 or 2) the list and the add and
// delete buttons are disabled: the user accepts or cancels. A change is written to the
// drawee shown when the editing began, whatever a reload from another copy does to the
// list. While it changes, the drawee is held (its exclusive lock): another copy cannot
// start changing it, nor can this one while another copy changes it or holds one of its
// bills (text 650); a change never starts on a drawee that another copy changed since the
// list was read (its stored values are shown instead, text 943). Checks and stores are the
// drawee service's (Librados.h).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

struct STRLibrado;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TfrmLibrados : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLibrados(QWidget *owner = nullptr);

    // The list's columns: the key, the three shown, and the other fields (zero width).
    enum Columna {
        ColId,
        ColCodigo,
        ColNombre,
        ColCuenta,
        ColTitular,
        ColDireccion,
        ColCP,
        ColLocalidad,
        ColProvincia,
        ColLocOrdenante,
        ColCodProvincia,
        NumColumnas
    };

    QPushButton *cbtAlta, *cbtBaja;
    QTreeWidget *lstLibrados;
    QLineEdit *TXTBuscar;
    QPushButton *BTNBusqueda;
    QLabel *lblCodReferencia, *lblTitular, *lblBanco, *lblOficina, *lblDC, *lblCuenta;
    QLineEdit *txtCodReferencia, *txtLibrado, *txtBanco, *txtOficina, *txtDC, *txtCuenta;
    QPushButton *BottomBancos;
    QListWidget *LBBancos;
    QWidget *panelCSB19;
    QLabel *lblTitularCuenta, *lblDireccion, *lblCP, *lblLocalidad, *lblProvincia;
    QLineEdit *txtTitularCuenta, *txtDireccion, *txtCP, *txtLocalidad, *txtProvincia;
    QWidget *panelCSB58;
    QLabel *lblLocalidadDeudor58, *lblDomicilioDeudor58, *lblCPDeudor58, *lblLocalidadReceptor58, *lblCPReceptor58;
    QLineEdit *txtLocalidadDeudor58, *txtDomicilioDeudor58, *txtCPDeudor58, *txtLocalidadReceptor58,
        *txtCPReceptor58;
    QPushButton *cbtOK, *cbtCancel;

    int Estado() const { return m_estado; }

    // A drawee notice of another copy for the order type orden ("CSB19" or "CSB58"): when it
    // is the window's, the list is reloaded keeping the selected drawee and the state.
    void LoadLibradosList(int id, const std::string &orden);

    void cbtAltaClick();
    void cbtBajaClick();
    void cbtOKClick();
    void cbtCancelClick();
    void BTNBusquedaClick();
    void BottomBancosClick();
    void lstLibradosColumnClick(int columna);
    // Escape and the window's close: while editing, question 499 first.
    void reject() override;
    // FormClose: empties the account number.
    void done(int resultado) override;

protected:
    void showEvent(QShowEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormCreate();
    void AnchoLista();
    void FormShow();
    void Textos();
    std::vector<QLineEdit *> Campos() const;
    void CargaLista();
    void PonFila(QTreeWidgetItem *fila, int id, const STRLibrado &l) const;
    QTreeWidgetItem *Seleccionado() const;
    QTreeWidgetItem *FilaDeClave(int id) const;
    void SeleccionaSolo(QTreeWidgetItem *fila);
    void MuestraSeleccionado();
    void lstLibradosChange();
    void txtCodReferenciaChange();
    void txtCPChange();
    STRLibrado LeeCampos() const;
    void PonCampos(const STRLibrado &l);
    void VaciaCampos();
    void Edicion(bool editando);
    bool UpdateRecord(const STRLibrado &l);
    void RefreshGridData(int id);
    // Holds the drawee of the row for its change; false, with the message and nothing held,
    // when another copy holds it or it changed since the row was read (the row then shows
    // what is stored).
    bool TomaLibrado(QTreeWidgetItem *fila);
    void SueltaLibrado();
    // The stored drawee; false when it is gone.
    bool LeeLibrado(int id, STRLibrado &l) const;
    bool BorraLibrado(int id);
    void Notifica();
    bool Intro(QLineEdit *caja);
    bool lstLibradosKeyDown(int tecla);
    void Salida(QLineEdit *caja);
    void txtCuentaExit();
    void CompruebaCP(QLineEdit *caja);
    void txtProvinciaExit();
    void CopiaBanco();
    bool PreguntaSalir();

    int m_estado = -1;
    int m_tipoOrden = 0;
    int m_idEmisor = 0;  // the issuer new drawees go to, taken at show (0: none)
    int m_idUsuario = 0;
    int m_idEditado = 0; // the drawee being changed (state 2)
    bool m_retenido = false; // and held by this copy
    std::string m_codigoMostrado; // its code as shown or last stored, trimmed
    bool m_sigueBusqueda = false;
    bool m_recargando = false; // a reload from another copy fills the list
};
