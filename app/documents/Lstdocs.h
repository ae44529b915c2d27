// The bills report (TFormRptDocs): the bills of some batches of one issuer, one line per
// bill, grouped by batch with a subtotal per batch, and totals in pesetas and euros at the
// end. A4 landscape.
#pragma once

#include "Frminforme.h"

#include <string>
#include <vector>

class TFormRptDocs : public TFormInforme {
    Q_OBJECT
public:
    explicit TFormRptDocs(QWidget *parent = nullptr);

    // The bill states printed, set by the caller.
    bool Activos = true, Desactivados = true, Erroneos = true, Procesados = true, NoProcesados = true;
    std::string TipoOrden; // the presenter's Id_orden
    std::vector<int> Remesas; // the chosen batches

    // Stores the processed flag; when set, raises [General] NumOrden of the product ini.
    void GetNumOrden(bool procesados);
    // Keeps the positive ids (the chosen batches) and fills the page header from the main
    // window's selection and the database, with the captions by language and order type.
    void PreparaRptDocs(const std::vector<int> &remesas);
    // True when the chosen batches hold a bill that passes the state filters; otherwise
    // says so (text 333) and gives false.
    bool CuentaDocsRpt();

    // The batch and state conditions of the count (conteo) or of the report query.
    std::string Condicion(bool conteo) const;

    // ---- Page header ----
    TQRLabel *QRLbTitulo, *QRLbTitulo2, *QRLabel3, *QRLabel15, *QRLabel27, *QRUsuarios, *QRPres, *QRPresentador,
        *QRNIFPresentador, *QRSufijopres, *QREmis, *QREmisor, *QRNIFEmisor, *QRSufijoemi, *LBCAbono, *QRCAbono;
    // ---- Column titles ----
    TQRLabel *QRLb8, *QRReferencia, *QRLbNombre, *QRLbNCuenta, *QRLbConceptoT, *QRLbImportePtas, *QRLbImporteEuros,
        *QRLbMoneda;
    // ---- Detail ----
    TQRBand *Detalle;
    TQRLabel *QRLbRemesa, *QRLbFechaVto, *QRLbReferencia, *QRLbLibrado, *QRLbCuenta, *QRLbConcepto, *QRLbImporte,
        *QRLImporteEuros, *QRLMoneda, *QRTotalRem, *QRLbRemImporte, *QRLbRemContra;
    TQRShape *QRShape4;
    // ---- Summary ----
    TQRLabel *QRLTotales, *QRTotalPtas, *QRTotalEuros, *QRNumrecibosPtas, *QRTotalRecibosPtas, *QRImportePtas,
        *QRPtastotal, *QRLbContraEuros, *QRContravaloreuros, *QRNumreciboseuros, *QRTotalRecibosEuros,
        *QRImporteEuros, *QReurostotal, *QRLbContraPtas, *QRContravalorptas;

protected:
    bool EjecutaConsulta() override;
    void QRNeedData(bool &MoreData) override;

private:
    void CreaBandas();
    void PonCaptions();
    void CierraRemesa(bool peseta);
    void Resumen();

    // The accumulators of a run, in pesetas and cents.
    long long m_totalPtas = 0, m_totalCent = 0, m_subPtas = 0, m_subCent = 0;
    int m_numPtas = 0, m_numEuros = 0;
    int m_ultimaRemesa = 0;
};
