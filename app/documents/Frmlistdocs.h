// The options of the bills report (TFormListDocs): which batches of the issuer, which bill
// states.
#pragma once

#include <QDialog>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

class TFormListDocs : public QDialog {
    Q_OBJECT
public:
    explicit TFormListDocs(QWidget *parent = nullptr);

    // Lists the issuer's batches, every check box checked and every row selected. A failed
    // query is shown (text 178) and leaves the list empty.
    void CargaRemesasEmisor(long idEmisor);
    bool GetChkActivos() const;
    bool GetChkDesactivados() const;
    bool GetChkErroneos() const;
    bool GetChkProcesados() const;
    bool GetChkNoProcesados() const;
    // Each listed batch's id, positive when its row is selected, negative when not.
    std::vector<int> GetRemesasSeleccionadas() const;

    long IdEmisor = 0;

    QLabel *LBTitulo, *LBAyuda;
    QGroupBox *GBParams;
    QCheckBox *CBTodas, *CBActivos, *CBoxDesactivados, *CBoxErroneos, *CBProcesados, *CBNoProcesados;
    QTreeWidget *LVRemesas;
    QPushButton *BtnAceptar, *BtnCancelar;

    void FormShow();
    void CBTodasClick();
    void BtnAceptarClick();
    void BtnCancelarClick();

protected:
    void showEvent(QShowEvent *evento) override;

private:
    std::vector<int> m_remesas; // one per list row
};
