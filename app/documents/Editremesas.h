// The batch editor: creates a batch under the issuer selected in the main window's tree, or
// changes a batch's description, currency, issue flag, template and issuer, keeping the
// main window's tree and batches grid in step and posting the batch-level notice.
//
// The main window hands the record over with SetRemesaData, sets the caption and runs
// Muestra. In modify mode the main window has taken the batch's exclusive lock; the editor
// releases it exactly once: just before its update, on Cancel, or on closing.
#pragma once

#include "Registros.h"
#include "Remesas.h"

#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidgetItem;

class TFormEditRemesas : public QDialog {
    Q_OBJECT

public:
    explicit TFormEditRemesas(QWidget *parent = nullptr);

    // Keeps the mode (RegistroNuevo or RegistroModificar) and the batch's texts for the next
    // showing; clears the change flags.
    void SetRemesaData(int modo, const std::string &idRemesa, const std::string &idMoneda,
                       const std::string &idPlantilla, const std::string &conEmision, const std::string &descripcion);

    // Prepares the controls from the record and the main window (FormShow) and shows the
    // window modally; the dialog's result.
    int Muestra();

    void FormShow();
    void cbtOKClick();
    void cbtCancelClick();
    void chkEmisionClick();
    void CBPresentadorChange();
    void CBEmisorChange();
    void txtDescripcionChange();

    // Whether the window holds the batch's lock.
    bool TieneBloqueo() const { return m_bloqueada; }

    QLabel *lblDescripcion, *lblMoneda, *lblPresentador, *lblEmisor;
    QLineEdit *txtDescripcion;
    QComboBox *cbxMoneda;
    QCheckBox *chkEmision;
    QGroupBox *groupPlantilla;
    QComboBox *cbxPlantilla;
    QLineEdit *txtPresentador, *txtEmisor;
    QComboBox *CBPresentador, *CBEmisor;
    QPushButton *cbtOK, *cbtCancel;

    // Closing in any way (FormClose) releases the lock when still held.
    void done(int resultado) override;

protected:
    void keyPressEvent(QKeyEvent *evento) override;

private:
    void CargaMonedas();
    void CargaPlantillas();
    void CargaPresentadores(const QTreeWidgetItem *seleccionado, int tipoOrden);
    void LlenaEmisores(const QTreeWidgetItem *presentador, const QTreeWidgetItem *seleccionado);
    void PreparaModificacion(int tipoOrden);
    void LiberaBloqueo();
    DatosRemesaEditada Datos() const;
    bool Alta(const DatosRemesaEditada &datos);
    bool Modificacion(DatosRemesaEditada datos);
    bool CabeEnMoneda(const std::string &moneda) const;
    bool HayEmisor() const;
    void Cambio();
    // The batch's row of the batches grid, current and read again.
    void ActualizaFilaGrid();

    STRRemesa m_remesa;
    bool m_bloqueada = false;
    bool m_emisorCambiado = false;
    int m_tipoOrden = 0;
    int m_emisorAlta = 0;       // the issuer selected when a new batch's editor opened
    long long m_total = 0;      // Importe_total in cents, as read when the window was shown
    bool m_totalEnorme = false; // Importe_total has more than 10 integer digits
    int m_monedaInicial = 0;
};
