// The options of the bills report (TFormListDocs): which batches of the issuer, which bill
// states.
#pragma once

#include "Frmseleccion.h"

class TFormListDocs : public TFormSeleccion {
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

    QCheckBox *CBActivos, *CBoxDesactivados, *CBoxErroneos, *CBProcesados, *CBNoProcesados;
    QTreeWidget *const LVRemesas = Lista;

    void FormShow() override;
    void BtnAceptarClick();
};
