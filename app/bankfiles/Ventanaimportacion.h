// What the CSB import window and the drawee import window share: the run's progress bar,
// closing that only asks a running import to stop, and the main window's tree reloaded after
// a run.
#pragma once

#include <QDialog>

class MarcoImportacion;
class QProgressBar;

class TVentanaImportacion : public QDialog {
    Q_OBJECT
public:
    QProgressBar *gaugeProgreso;

    // True while an import runs.
    bool Importando() const;
    // Stops a running import (it ends on its own, rolled back); else closes.
    void cbtCancelClick();

protected:
    // importacion: the window's run, which outlives every call made here.
    TVentanaImportacion(QWidget *owner, MarcoImportacion &importacion);

    void Progreso(int minimo, int maximo, int posicion);
    // The main window's tree rebuilt for its company, with its second node selected, or
    // with the node selected before (none stays none) when mismaSeleccion.
    static void RecargaArbol(bool mismaSeleccion);

    void closeEvent(QCloseEvent *evento) override;
    void reject() override;

private:
    MarcoImportacion &m_marco;
};
