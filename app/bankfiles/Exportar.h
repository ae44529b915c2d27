// The send-file window: lists the batches of the presenter selected in the main window's
// tree, and turns the batches the user selects (one currency) into one CSB19 or CSB58
// send file with its history copy (_GeneradorCSB), showing the run's progress.
#pragma once

#include "Generacsb.h"

#include <QDialog>
#include <set>
#include <string>

class TCajaFecha;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFormExportar : public QDialog {
    Q_OBJECT
public:
    // Columns of lstRemesas: the icon and batch id, the currency (hidden), the issuer's
    // name, the batch's description, the amount of its active bills, the day it was last
    // sent (empty when never), the issuer id (hidden).
    enum Columna { ColRemesa, ColMoneda, ColEmisor, ColDescripcion, ColImporte, ColEnvio, ColIdEmisor };

    explicit TFormExportar(QWidget *parent = nullptr);

    // Captions, order type, folders, the presenter's and issuer's names, zero totals, the
    // list, the charge date (today, and nothing earlier); leftover temporaries of runs that
    // died are put in place or removed first.
    void FormShow();
    // Refills lstRemesas with the selected presenter's batches, by issuer name and
    // description, each with the sum of its active bills; nothing while Generando. The main
    // window's change-notice handler calls it while the window shows.
    void CargaRemesasPresentador();
    // Enables cbtGenerar while a batch is selected; a batch selected in another currency
    // than the others is deselected with message 153.
    void lstRemesasSelectItem(QTreeWidgetItem *item, bool seleccionado);
    // One generation of the selected batches. When some went out before, a question names
    // them with their days and nothing runs unless the user says Yes (No is the default).
    // After a file the list is read again with nothing selected, so that no key sends the
    // same batches again.
    void cbtGenerarClick();
    // The run into carpeta for the batches selected, in moneda: the file is named by today
    // as "ddmmyy", the first free counter from UltimoFichero and ".csb". The batches of
    // reenvios may go again; true when the file was generated.
    bool GeneraFicheroCSB(const std::string &carpeta, const std::string &moneda, const std::set<int> &reenvios = {});
    // The main window's grid of the selected node again, when that node has children.
    void RefrescaMain();

    int TipoOrden = 0;
    bool Generando = false;
    std::string FechaProceso; // the charge date of the last run, "ddmmyy"

    QLabel *lbl1, *lbl2, *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QLabel *lblPresentador, *lblClienteOrdenante, *lblRutaCSB, *lblHistorico;
    QLabel *lblOrdenantes, *lblNRecibos, *lblTotalImporte, *lblContravalor, *lblFechaProceso;
    QTreeWidget *lstRemesas;
    TCajaFecha *datePicker;
    QListWidget *lstProceso;
    QProgressBar *gaugeProceso;
    QPushButton *cbtGenerar, *BitBtn1;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    // The output folder of the order type, ending with "/"; the program folder for an empty
    // setting.
    std::string CarpetaCSB() const;
    // The totals of the file written, or zero (amounts as the currency shows them) without one.
    void Totales(const _GeneradorCSB *generador, const std::string &moneda);
    void Linea(const std::string &texto);
};

// The program's history folder, ending with "/"; the program folder for an empty setting.
std::string CarpetaHistorico();
