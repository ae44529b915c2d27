// The first-start help: four pages about setting the program up, one shown at a time in a
// scroll box, reached through links; its check box stops the login showing it.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

// A link of the help: a read-only text without border, blue and underlined, that runs its
// page's change on a click or on Enter.
class TEnlaceAyuda : public QLineEdit {
    Q_OBJECT
public:
    TEnlaceAyuda(const char *nombre, const char *texto, QWidget *parent);

signals:
    void Pulsado();

protected:
    void mouseReleaseEvent(QMouseEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
};

class TFRMIntroduccion : public QDialog {
    Q_OBJECT
public:
    explicit TFRMIntroduccion(QWidget *parent = nullptr);

    // Each showing starts on the introduction page, the check box from [General]
    // PresentarAyuda (ticked when it is not "Si", whatever the case).
    void FormActivate();
    // Closes; leaving the window any way writes PresentarAyuda ("No" with the box ticked,
    // else "Si").
    void BTNSalirClick();
    void BTNPrimeroClick();
    void LBUsTvClick();
    void LBUsNoTvClick();
    void LBGestionNoTVClick();
    void LBVolverNoTvClick();

    QScrollArea *ScrollBox1;
    QWidget *PNIntro, *PNUsTv, *PNUsNo, *PNGest;
    TEnlaceAyuda *LBUsTv, *LBUsNoTv, *LBGestionNoTv, *LBVolverNoTv;
    QCheckBox *CHKDenuevo;
    QPushButton *BTNSalir;
    QPushButton *BTNPrimero; // "&Introduccion"
    std::string RutaIni;

protected:
    void showEvent(QShowEvent *evento) override;
    void reject() override;

private:
    void MuestraPagina(QWidget *pagina);
};
