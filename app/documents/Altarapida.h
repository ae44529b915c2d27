// The quick batch entry: an empty batch created in one dialog, for an issuer of a presenter
// of either order type of the main window's company, with its currency, description, issue
// flag and optional concept template.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFRMAltaRapida : public QDialog {
    Q_OBJECT
public:
    explicit TFRMAltaRapida(QWidget *parent = nullptr);

    // The company whose presenters are offered (its key as text), read on every show.
    std::function<std::string()> IdEmpresa;

    // The presenters of the checked order type, and the first one's issuers; the description
    // typed stays.
    void CSB19Click();
    void CSB58Click();
    // The issuers of the presenter chosen.
    void CBoxPresentadorChange();
    // The template group follows the issue flag.
    void CheckBoxEmisionReciboClick();
    // Checks the choice and inserts the batch; closes with OK only when it was stored.
    void BottomAceptarClick();

    QRadioButton *RButtomCSB19;
    QRadioButton *RButtomCSB58;
    QLabel *LblPresentador;
    QComboBox *CBoxPresentador;
    QLabel *LblEmisor;
    QComboBox *CBoxEmisores;
    QGroupBox *CBoxDatosRemesa;
    QLabel *LblDescripcion;
    QLineEdit *TxtDescripcion;
    QLabel *LblMoneda;
    QComboBox *CBoxMoneda;
    QGroupBox *GBoxPlantilla;
    QComboBox *CBoxPlantilla;
    QCheckBox *CheckBoxEmisionRecibo;
    QPushButton *BottomAceptar;
    QPushButton *BottomCancelar;

    // Parallel to the three lists: one key per item ("-1" for "Sin plantilla").
    std::vector<std::string> IdsPresentadores, IdsEmisores, IdsPlantillas;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormActive();
    // The presenters of the checked format.
    void RellenaFormato();
    void RellenaPresentadores(const char *orden);
    void RellenaComboEmisores();
    void RellenaPlantillas();
    bool InsertaRemesa();
};

// The key of the batch the quick batch entry inserted last; -1 before the first.
int GetUltimaRemesa();
