// The concept dialog of a mass modification: sixteen boxes, one per 40-character part of a
// 640-character concept (two per line of 80, eight lines); an empty box leaves its part as
// it is.
#pragma once

#include "Modmasivas.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TFormMMConceptos : public QDialog {
    Q_OBJECT
public:
    explicit TFormMMConceptos(QWidget *parent = nullptr);

    // The parts typed: each box's text cleaned for SQL (written back into the box); an
    // empty box gives an empty part.
    SegmentosConcepto GetConceptSegments();

    QLabel *Label1;
    QLabel *LblExplicacion;
    QLabel *LblAtencion;
    QLabel *LblAviso;
    QLineEdit *Edit[kSegmentosConcepto]; // Edit1 .. Edit16
    QPushButton *BtnAceptar;
    QPushButton *BtnCancelar;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
};
