// The options of the drawees report (TFormListEmi): which issuers of the presenter.
#pragma once

#include "Frmseleccion.h"

class TFormListEmi : public TFormSeleccion {
    Q_OBJECT
public:
    explicit TFormListEmi(QWidget *parent = nullptr);

    // Lists the presenter's issuers, all selected. A failed query is shown (text 179).
    void CargaEmisores(long idPresentador);
    // Each listed issuer's id, positive when its row is selected, negative when not.
    std::vector<int> GetEmisoresSeleccionados() const;

    long IdPresentador = -1;

    QTreeWidget *const LVEmisores = Lista;

    void FormShow() override;
    void BtnAceptarClick();
};
