// The company dialog: enters and checks one company of the user editor's organisation.
#pragma once

#include "Organizacion.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TFRMEmpresa : public QDialog {
    Q_OBJECT
public:
    explicit TFRMEmpresa(QWidget *parent = nullptr);

    // Before showing: an empty company of organizacion's user, or the company clave with its
    // data. The organisation is read by the uniqueness check and must outlive the showing.
    void PreparaAlta(const _Organizacion &organizacion);
    void PreparaModificacion(const _Organizacion &organizacion, int clave, const STREmpresa &datos);

    // After an accepted showing: name (30 characters at most) and tax code (10).
    STREmpresa Lee() const;

    void BTNAceptarClick();
    void BTNCancelarClick();

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *TXTNombre;
    QLineEdit *TXTCif;
    QPushButton *BTNAceptar;
    QPushButton *BTNCancelar;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();

    const _Organizacion *m_organizacion = nullptr;
    bool m_modificacion = false;
    int m_clave = 0;
};
