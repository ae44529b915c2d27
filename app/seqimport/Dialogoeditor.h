// What the template editor's kind and field dialogs share: created at start-up, they become
// the editor's tool window while it shows them (its kind tree waits meanwhile), pass their
// zone to it as it is typed, and go back to their owner when the editor goes.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QTreeWidgetItem;
class TFRMDefinirimport;

class TDialogoEditor : public QDialog {
    Q_OBJECT
public:
    // Hides the dialog and gives it back to its owner (the editor is going).
    void Suelta();

    virtual void FormShow() = 0;

protected:
    explicit TDialogoEditor(QWidget *parent);

    // Takes the dialog for the editor: modo 0 a new entry, 1 a change of nodo.
    void Toma(TFRMDefinirimport *editor, int modo, QTreeWidgetItem *nodo);
    // A zone edit changed: false while the dialog is being filled, and when the value was
    // no number above 0 (it becomes "1").
    bool ZonaValida(QLineEdit *caja);
    // The editor's answer to Aceptar: closes the dialog, or shows the refusal over it.
    void Respuesta(bool aceptada, const std::string &error);

    void showEvent(QShowEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;

    TFRMDefinirimport *m_editor = nullptr;
    QTreeWidgetItem *m_nodo = nullptr;
    int m_modo = 0;
    bool m_listo = false;

private:
    QWidget *m_dueno;
};
