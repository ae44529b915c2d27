// The presenter dialog: enters and checks one presenter of a company of the user editor's
// organisation.
#pragma once

#include "Organizacion.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFRMPresentador : public QDialog {
    Q_OBJECT
public:
    explicit TFRMPresentador(QWidget *parent = nullptr);

    // Before showing: an empty presenter of company empresa (kind 1 preselects CSB58, any
    // other CSB19), or the presenter clave with its data; with ordenBloqueado (the presenter
    // has issuers) the order type cannot change. The organisation is read by the uniqueness
    // check and must outlive the showing.
    void PreparaAlta(const _Organizacion &organizacion, int empresa, int tipo);
    void PreparaModificacion(const _Organizacion &organizacion, int empresa, int clave, const STRPresentador &datos,
                             bool ordenBloqueado);

    // After an accepted showing: order type, presenter key ("%9.9s%3.3s" of NIF and suffix),
    // NIF (9 characters at most), suffix (3) and name (40).
    STRPresentador Lee() const;

    void BTNAceptarClick();
    void BTNCancelarClick();

    QLabel *Label4;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *TXTRazon;
    QLineEdit *TXTNif;
    QLineEdit *TXTSufijo;
    QGroupBox *RadioGroup1;
    QRadioButton *RBcsb19;
    QRadioButton *RBcsb58;
    QPushButton *BTNAceptar;
    QPushButton *BTNCancelar;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
    void HabilitaOrden(bool habilitado);

    const _Organizacion *m_organizacion = nullptr;
    bool m_modificacion = false;
    int m_empresa = 0;
    int m_clave = 0;
};
