// The options of the drawees report (TFormListEmi): which issuers of the presenter.
#pragma once

#include <QDialog>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

class TFormListEmi : public QDialog {
    Q_OBJECT
public:
    explicit TFormListEmi(QWidget *parent = nullptr);

    // Lists the presenter's issuers, all selected. A failed query is shown (text 179).
    void CargaEmisores(long idPresentador);
    // Each listed issuer's id, positive when its row is selected, negative when not.
    std::vector<int> GetEmisoresSeleccionados() const;

    long IdPresentador = -1;

    QLabel *LBTitulo, *LBAyuda;
    QGroupBox *GBParams;
    QCheckBox *CBTodas;
    QTreeWidget *LVEmisores;
    QPushButton *BtnAceptar, *BtnCancelar;

    void FormShow();
    void CBTodasClick();
    void BtnAceptarClick();
    void BtnCancelarClick();

protected:
    void showEvent(QShowEvent *evento) override;

private:
    std::vector<int> m_emisores; // one per list row
};
