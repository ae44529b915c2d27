// The date box of every window that asks for a date: typed on the keyboard as the screen
// shows it, or picked in a calendar.
#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;

// A box whose date is typed day first, as the screen shows it ("20/01/2027", "20-1-27",
// "20012027": LeeFechaTecleada), or picked in the calendar that its button (or F4, or
// Alt+Down) drops down. What is typed stays as typed, as in any box (select all and type
// anew, or edit a part), until the box is left or Enter is pressed: then a date that reads,
// is not before the minimum and, in a box limited to bank-file dates, falls in their years
// is taken and shown in the user's short format; any other text stays, marked with the
// reason (SenalaRechazo), and the box keeps its last date. Windows call Comprueba at their
// OK, which says why in a message.
class TCajaFecha : public QLineEdit {
    Q_OBJECT
public:
    explicit TCajaFecha(QWidget *padre = nullptr);

    // The date taken (invalid before the first setDate); as QDateEdit, setting it shows it
    // (an invalid date is ignored) and dateChanged tells when it changes.
    QDate date() const { return m_fecha; }
    void setDate(const QDate &fecha);
    // The earliest date taken (none by default).
    QDate minimumDate() const { return m_minima; }
    void setMinimumDate(const QDate &fecha);
    // Takes only the dates that a bank file's two-digit year carries (FechaCabeEnBanco).
    void LimitaAFicheroBanco() { m_soloBanco = true; }

    // Takes what is typed: true when the box shows a date it takes; otherwise a message
    // says why and the box, its text kept, gets the focus.
    bool Comprueba();

signals:
    void dateChanged(const QDate &fecha);

protected:
    void keyPressEvent(QKeyEvent *evento) override;

private:
    // Reads the text: the reason it is refused (Windows-1252), or empty when the date is
    // taken.
    std::string Toma();
    void Despliega();
    void Elige(const QDate &fecha);

    QDate m_fecha;
    QDate m_minima;
    bool m_soloBanco = false;
    QCalendarWidget *m_calendario = nullptr;
};
