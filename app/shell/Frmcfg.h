// The configuration dialog: the default folders of the generated files, the database's
// folder and the minutes of inactivity before the program closes. As the program ships,
// the folders are shown only and the minutes are the one thing to change; the folder
// buttons stay hidden.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TFormCfg : public QDialog {
    Q_OBJECT
public:
    explicit TFormCfg(QWidget *parent = nullptr);

    // The folder edits' texts (Windows-1252).
    std::string GetPathCSB19() const;
    void SetPathCSB19(const std::string &ruta);
    std::string GetPathCSB58() const;
    void SetPathCSB58(const std::string &ruta);
    std::string GetPathHist() const;
    void SetPathHist(const std::string &ruta);

    // Accepts the dialog, unless the minutes are not a number of kMinutosMinimo to
    // kMinutosMaximo: then a message gives the range and the box gets the focus.
    void BtnAceptarClick();

    // Each runs the folder picker on its edit's folder and puts the choice back.
    void BtnCSB19Click();
    void BtnCSB58Click();
    void BtnHistClick();
    void BtnBdClick();

    QWidget *Panel1;
    QLabel *Img, *Label1, *Label5;
    QLabel *Label2, *Label3, *Label4, *Label6, *Label7;
    QLineEdit *EdPathCSB19, *EdPathCSB58, *EdPathHist, *EdPathBD;
    QPushButton *BtnCSB19, *BtnCSB58, *BtnHist, *BtnBd;
    // The minutes, typed or moved with its arrows (the form's up-down) between kMinutosMinimo
    // and kMinutosMaximo; a typed number stays as typed, and Aceptar refuses one outside them.
    static constexpr int kMinutosMinimo = 2, kMinutosMaximo = 30;
    QSpinBox *CSpTimeOut;
    QWidget *Panel2;
    QPushButton *BtnAceptar, *BtnCancelar;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
    void EligeCarpeta(QLineEdit *edit);
};
