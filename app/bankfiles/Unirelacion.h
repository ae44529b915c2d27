// The history list of a batch: the send files generated for it, all or those of a range of
// days, each opened in the send-file viewer or deleted with its stored copy. A copy is
// found in the program's history folder by its name (LugaresHistorico); one found nowhere
// is removed from the list only on the user's Yes. When the batch loses its last history
// row, its generation date is cleared and Cambiado tells the caller.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class TCajaFecha;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFRMRelacion : public QDialog {
    Q_OBJECT
public:
    explicit TFRMRelacion(QWidget *parent = nullptr);

    // Set by the caller before showing the window.
    int IdRemesa = 0;
    // Read by the caller after it closed: this window cleared the batch's generation date.
    bool Cambiado = false;

    // Run when the window shows (not when it becomes active again).
    void FormActivate();
    void LSTCsbsChange();
    void RBFechasClick();
    void BTNVertodoClick();
    void BTNFechaClick();
    void BTNVisualizarClick();
    void BTNBorrarHistoricosClick();
    void CerrarClick();

    QGroupBox *GroupBox1;
    QRadioButton *RBTodos, *RBFechas;
    TCajaFecha *Date1, *Date2;
    QLabel *Label1;
    QPushButton *BTNActualizar;
    // Columns: where the stored copy is (else the first place it was looked for), with the
    // path the history row holds as its data; the generation date; the hidden Id_historico.
    QTreeWidget *LSTCsbs;
    QPushButton *BTNVisualizar, *Cerrar, *BTNBorrarHistoricos;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void PonTextos();
    // Empties the list and fills it with the batch's rows, with filtro after the batch.
    void Lista(const std::string &filtro);
    // Deletes the row's history and, with borraFichero, its copy where it was found when no
    // other row names it; then clears the batch's generation date when it has no history
    // left, and posts the notice. False (the row stays) when no row was deleted.
    bool BorraHistorico(QTreeWidgetItem *fila, bool borraFichero);
    // The batch's history rows; none when the count failed.
    std::optional<int> Historicos(const std::string &condicion) const;
};
