// What the report forms share: a hidden form holding a band report filled row by row from
// one query, the run that lays it out under a progress dialog and opens its preview, and
// the texts of its cells.
#pragma once

#include "Bandas.h"
#include "b_astr.h"

#include <QPointer>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

class TPreviewForm;

class TFormInforme : public QWidget {
    Q_OBJECT
public:
    TFormInforme(QWidget *parent, bool apaisado);

    TQuickRep QRep;
    bool Ocupado = false;   // pages are being produced
    bool Reiniciar = false; // the next row request ends the run
    QPointer<TPreviewForm> Preview;

    // The run: reads the rows with one query (a failure is shown and nothing more
    // happens), lays the pages out under a progress dialog whose Cancel abandons the run,
    // and opens the preview. True when the preview opened.
    bool Previsualiza();
    // Opens the preview window of the laid-out pages; closing it forgets the run.
    void QRPreview();
    // Forgets the run: no rows left, restart set, the result and the pages dropped.
    void Reinicia();

protected:
    // Runs the report query into Resultado (campos values per row); false when it failed,
    // after showing why.
    virtual bool EjecutaConsulta() = 0;
    // Supplies the next row into the detail band; MoreData false when there is none.
    virtual void QRNeedData(bool &MoreData) = 0;

    // The value of field k of the current row, as the query gave it.
    const std::string &Campo(int k) const { return Resultado[Cursor + size_t(k)]; }
    // Takes the shared value list of ConsultaCampos (null: the query failed) into
    // Resultado, campos values per row. False when the query failed.
    bool TomaResultado(const B_AStr_t *valores, int campos);

    std::vector<std::string> Resultado;
    bool HayResultado = false;
    size_t Cursor = 0;
    int FilasRestantes = 0;
    int CamposPorFila = 1;
};

// The first row text of a query ("" when it gave none or failed, the failure logged).
std::string PrimeraFila(const std::string &sql);

// A value for a cell: "NULL" prints empty, the row-text escapes become "&" and "=".
std::string ValorCelda(std::string_view valor);

// A stored account as bank-branch-check digits-account: characters 1-4, 5-8, 9-10 and
// 11-20 joined by "-", as far as the account reaches; empty for "NULL".
std::string CuentaConGuiones(std::string_view cuenta);
