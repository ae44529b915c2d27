// The inactivity time-out's countdown: the program closes when it runs out unless the user
// keeps it.
#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

class TFRMTimeOut : public QDialog {
    Q_OBJECT
public:
    explicit TFRMTimeOut(QWidget *parent = nullptr);

    // The result of exec(): 2 when the user stayed (the button, Escape or closing the
    // window), 1 when the countdown ran out.
    static constexpr int kQuedarse = 2;
    static constexpr int kTiempoAgotado = 1;

    void Timer1Timer();
    void Button1Click();

    QTimer *Timer1; // 1000 ms
    QLabel *Label1;
    QPushButton *BitBtn1;
    QLabel *StaticText1;

    void reject() override;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();

    int SegundosRestantes = 20;
};
