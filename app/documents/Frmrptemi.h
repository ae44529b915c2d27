// The drawees report (TFormRptEmi): the drawees of some issuers of one presenter, one line
// per drawee, in name order. A4 landscape.
#pragma once

#include "Frminforme.h"

#include <vector>

class TFormRptEmi : public TFormInforme {
    Q_OBJECT
public:
    explicit TFormRptEmi(QWidget *parent = nullptr);

    std::vector<int> Emisores; // the chosen issuers

    // Keeps the positive ids and fills the presenter's lines of the page header from the
    // main window's selection and the database.
    void SetEmisores(const std::vector<int> &emisores);
    // True when the chosen issuers have drawees; otherwise says so (text 334) and gives
    // false.
    bool HayLibrados();
    // The issuer condition, open: the caller closes it.
    std::string Condicion() const;

    TQRLabel *QRLbTitulo, *QRLabel1, *QRLabel15, *QRPresentador, *QRNIFPresentador, *QRSufijopres;
    TQRLabel *QRLabel6, *QRLabel2, *QRLabel3, *QRLabel4, *QRLabel5;
    TQRLabel *QRLbRefRecibo, *QRLbEmisor, *QRLbNombre, *QRLbDireccion, *QRLocalidad, *QRProvincia, *QRCP,
        *QRLbCuenta;

protected:
    bool EjecutaConsulta() override;
    void QRNeedData(bool &MoreData) override;

private:
    void CreaBandas();
    void PonCaptions();
};
