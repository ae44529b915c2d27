// The issuer selection dialog: which issuer of the logged-in user's presenters of one
// order type the drawees of a CSB file are stored under (the drawee import asks it).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

class TFRMSelectEmisor : public QDialog {
    Q_OBJECT
public:
    explicit TFRMSelectEmisor(QWidget *parent = nullptr);

    // Before every show: the user whose issuers are offered and the order type name
    // ("CSB19" or "CSB58").
    void SetDatosSeleccion(int idUsuario, const std::string &orden);

    // The issuers of the user's presenters of the order type, in the query's order: their
    // names into CBEmisores, their ids into IdsEmisores; the first one selected.
    void CargaEmisores(int idUsuario, const std::string &orden);

    // Takes the selected issuer's id (0 when none or no number) and closes with OK.
    void BitBtn1Click();

    QLabel *Label1;
    QComboBox *CBEmisores;
    QPushButton *BitBtn1;

    std::vector<std::string> IdsEmisores;
    int IdUsuarioSel = 0;
    std::string OrdenSel;
    // The result: the chosen issuer, 0 when none (also when closed otherwise).
    int IdEmisorElegido = 0;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
};
