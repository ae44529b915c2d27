// The issuer dialog: enters and checks one issuer of a presenter of the user editor's
// organisation, with its credit account and its optional charge ("riesgo") account.
#pragma once

#include "Organizacion.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFRMEmisores : public QDialog {
    Q_OBJECT
public:
    explicit TFRMEmisores(QWidget *parent = nullptr);

    // Before showing: an empty issuer of presenter presentador, or the issuer clave with its
    // data (each stored 20-digit account split into its four boxes). The organisation is
    // read by the uniqueness check and must outlive the showing.
    void PreparaAlta(const _Organizacion &organizacion, int presentador);
    void PreparaModificacion(const _Organizacion &organizacion, int presentador, int clave, const STREmisor &datos);

    // After an accepted showing: name (40 characters at most), NIF (9), suffix (3), the
    // composed credit account (20 digits), the composed charge account (20 digits, or empty
    // when its four boxes were left empty) and the charge account's description (30).
    STREmisor Lee() const;

    void BTNAceptarClick();
    void BTNCancelarClick();
    // Leaving a box of the credit account, of the charge account.
    void TXTCuentaExit(QLineEdit *caja);
    void TxtCuentaCargoExit(QLineEdit *caja);

    QLabel *Label4;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label1;
    QLabel *Label5;
    QLabel *Label6;
    QLineEdit *TXTRazon;
    QLineEdit *TXTNif;
    QLineEdit *TXTSufijo;
    QLineEdit *TXTCuenta;
    QLineEdit *TXTOficina;
    QLineEdit *TXTControl;
    QLineEdit *TXTDigitos;
    QGroupBox *GroupBox1;
    QLineEdit *TXTCuentaCargo;
    QLineEdit *TXTOficinaCargo;
    QLineEdit *TXTControlCargo;
    QLineEdit *TXTDigitosCargo;
    QLineEdit *TXTDesc_Cuenta_Cargo;
    QPushButton *BTNAceptar;
    QPushButton *BTNCancelar;

    // Closing in any way (FormClose) empties the two account-number boxes.
    void done(int resultado) override;

protected:
    void showEvent(QShowEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    // The four boxes of one account.
    struct Cajas {
        QLineEdit *banco, *oficina, *control, *digitos;
    };
    Cajas Abono() const { return {TXTCuenta, TXTOficina, TXTControl, TXTDigitos}; }
    Cajas Cargo() const { return {TXTCuentaCargo, TXTOficinaCargo, TXTControlCargo, TXTDigitosCargo}; }

    void FormShow();
    void SalidaCuenta(QLineEdit *caja, const Cajas &cuenta);
    void PonCuenta(const Cajas &cuenta, std::string_view veinte);
    bool CompruebaObligatorios();
    // The account's control digits computed when empty; digits that do not match it are
    // reported with textoErroneo and get the cursor, and the account is refused. True with
    // the composed 20 digits in cuenta.
    bool CompletaCuenta(const Cajas &c, int textoErroneo, std::string &cuenta);
    bool CompruebaCargo();

    const _Organizacion *m_organizacion = nullptr;
    bool m_modificacion = false;
    int m_presentador = 0;
    int m_clave = 0;
    std::string m_cuentaAbono;
    std::string m_cuentaCargo;
};
