// The search window: finds a text in one column of the grid the main window shows, from the
// first data row (a new search) or from the row after the last hit (find-next). A hit
// becomes the grid's current row; in the bills grid also the one marked bill.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TFormBuscador;

// Prepares the window for a new search on the grid (modo 0: the column list from the grid's
// titles, the text emptied; the caller shows the window), or repeats the last search (modo
// 1) when the grid is the one it ran on and the text is not empty.
void SetupSearch(TFormBuscador *buscador, QTableView *grid, int modo);

class TFormBuscador : public QDialog {
    Q_OBJECT
public:
    explicit TFormBuscador(QWidget *parent = nullptr);

    // Runs one search; no hit shows text 123 and the next find-next starts at the top.
    void cbtBuscarClick();
    void txtTextToFindChange();
    // Fills data row fila of the bills grid from the index (nothing for row 0).
    void CargaFilaRecibo(int fila);

    QLabel *Label1, *Label2;
    QComboBox *cbxField;
    QLineEdit *txtTextToFind;
    QPushButton *cbtBuscar, *cbtCerrar;

    // The grid of the last new search (none until the first); the titles of its columns from
    // column 1 on, blank ones included; the mode of the current run.
    QTableView *GridBusqueda = nullptr;
    std::vector<std::string> ListaColumnas;
    bool BuscarSiguiente = false;
    // The row (grid numbering) where the next find-next starts.
    int FilaSiguiente = 0;

protected:
    void showEvent(QShowEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;

private:
    void FormShow();
    // The first row from desde on whose cell of the column shows texto; 0 when none.
    int BuscaFila(int desde, int columna, const std::string &texto);
    void Selecciona(int fila);
};
