// The value dialog of a mass modification: one text (an internal reference, an amount
// change, a return code or a due date) typed under the key rules of its kind and checked
// at OK.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class TFormMMDato : public QDialog {
    Q_OBJECT
public:
    // The kinds of value.
    enum Tipo { RefInterna = 0, Importe = 1, CodDevolucion = 2, Fecha = 3 };
    // Checks the typed text (Windows-1252) when OK is pressed; a negative result keeps the
    // dialog open (the check shows its own message).
    using Validacion = std::function<int(const std::string &texto)>;

    explicit TFormMMDato(QWidget *parent = nullptr);

    // Before every show: the label, the kind and its check (may be empty); the box emptied.
    void PreparaDato(const QString &etiqueta, int tipo, Validacion validacion);
    // The typed text, Windows-1252.
    std::string Dato() const;

    // The currency ("ESP" or "EUR") of the batch the main window shows, read on every show.
    std::function<std::string()> MonedaRemesa;

    void EdDatoChange();
    void BtnAceptarClick();
    // The key filter of the box: tecla (Windows-1252; 8 is Backspace) is kept or set to 0
    // when rejected. Only the lengths of a reference and a return code are filtered.
    void EdDatoKeyPress(char &tecla);

    QLabel *LbTitulo;
    QLabel *LblExplicacion;
    QLabel *LbDato;
    QLineEdit *EdDato;
    QPushButton *BtnAceptar;
    QPushButton *BtnCancelar;

    int TipoDato = RefInterna;
    Validacion Valida;
    std::string Moneda; // copied from MonedaRemesa on show

protected:
    void showEvent(QShowEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormShow();
};
