// The printed bill: the two one-page sheets the bill editor prints, a direct debit
// ("DOMICILIACION") for a CSB19 batch and a credit advance ("ANTICIPO DE CREDITO") for a CSB58
// batch, filled from the editor's boxes, the issuer's row and the bank's name.
//
// Texts are Windows-1252.
#pragma once

#include "Bandas.h"

#include <QDate>
#include <string>

// What the editor shows when the print starts.
struct DatosReciboImpreso {
    int TipoOrden = 0;        // 1 CSB19, 2 CSB58, any other prints nothing
    std::string MonedaRemesa; // "ESP" or "EUR"
    int IdRemesa = 0;         // the batch whose issuer is read
    std::string Ordenante;    // the issuer as the tree shows it
    std::string Importe;      // txtImporte, as typed
    std::string RefInterna;
    std::string MemoConceptos; // the concept memo's text
    bool MemoVisible = false;  // the batch issues concepts
    std::string PrimerConcepto;
    // CSB19 boxes.
    std::string Librado, Banco, Oficina, DC, Cuenta, TitularCuenta, Direccion, Localidad, Provincia;
    // CSB58 boxes.
    QDate Formalizacion;
    std::string TitularCredito58, Banco58, Oficina58, DC58, Cuenta58, DomicilioDeudor58, LocalidadDeudor58,
        CPDeudor58;
};

class THojasRecibo {
public:
    THojasRecibo();

    // Reads the issuer of the batch and the bank's name and fills the sheet of the order
    // type; the sheet to print, or null for another order type. An issuer that cannot be
    // read gives empty NIF, branch and bank code, never those of an earlier print.
    TQuickRep *Llena(const DatosReciboImpreso &datos);

    std::string NombreBanco; // the bank's name found by the last print

    TQuickRep QRDocumentosCSB19, QRDocumentosCSB58;
    TQRLabel *QRFecha, *QRNifOrden, *QROficina, *QRLabel15, *QRImporte, *QRRefInterna, *QRTitularDelRecibo,
        *QRTitularRecibo1, *QRBODC, *QRTitularDeLaCuenta, *QRDomicilio, *QRMoneda, *QRMon2, *QRPlaza, *QRProvincia,
        *QROrdenante, *QRContravalor, *LBLMonContra;
    TQRMemo *QRMemo1;
    TQRLabel *QRFecha58, *BANCO58, *QRImporte58, *QRMoneda58, *QRLabel12, *QRReferencia, *QRTitular58,
        *QRTitularDelRecibo58, *QRODBC58, *QROrdenante58, *QROficina58, *QRNif58, *QRDomicilio58, *QRPlaza58,
        *QRProvincia58, *QRContravalor58, *LBLMonContra58;
    TQRMemo *QRMemo2;

private:
    void CreaCSB19();
    void CreaCSB58();
    void LeeEmisor(int idRemesa);
    void BuscaBanco(const std::string &codigo);

    std::string m_fila; // the issuer's row of this print, cut to 2055 characters
};
