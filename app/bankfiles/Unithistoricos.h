// The send-file viewer: one stored CSB19 or CSB58 file as a tree of its presenter and
// issuers, a detail panel of the selected node and a list of the issuers or of one
// issuer's bills. The file is checked by the CSB structure check before anything shows;
// list rows are cut from their records when the list asks for them.
//
// Positions are 1-based columns of a record. Texts are Windows-1252 up to the widgets.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class QTreeWidget;

// ---- The record index ----

enum TipoEntradaCSB {
    EntradaPresentador = 1,
    EntradaOrdenante = 2,
    EntradaIndividual = 3,
    EntradaOpcional = 4,
    EntradaTotalOrdenante = 5,
    EntradaTotalGeneral = 6,
};

// One accepted record: its kind, line number, file offset, the tree node it belongs to
// (0 the presenter, n the n-th issuer) and its own index.
struct EntradaCSB {
    int Tipo = 0;
    int Linea = 0;
    long long Posicion = 0;
    int Nodo = 0;
    int Indice = 0;
};

struct IndiceCSB {
    std::vector<EntradaCSB> Entradas;
    int Formato = 0;    // 1 CSB19, 2 CSB58
    bool Euros = false; // first character of the first record "5"
    // After a failure: the reason ending "en l\xEDnea N" (a file that cannot be read: the
    // reason alone), and whether it is a fault of the structure (then logged).
    std::string Fallo;
    bool Estructural = false;
};

// Checks the file with the CSB structure check (any procedure code passes) and indexes
// its records. False with indice.Fallo set when it cannot be read or is not well formed;
// a file without records is not a send file.
bool LeeIndiceCSB(std::string_view ruta, IndiceCSB &indice);

// Reads records of a CSB file: each line (at most 700 characters) with its control
// characters as blanks and the norms' n with tilde as Windows-1252's (EnhesCSB); empty
// lines are skipped.
class LectorCSB {
public:
    explicit LectorCSB(std::string_view ruta);
    ~LectorCSB();
    LectorCSB(const LectorCSB &) = delete;
    LectorCSB &operator=(const LectorCSB &) = delete;

    bool Abierto() const { return m_fichero != nullptr; }
    // The line at the offset; the empty text when there is none.
    std::string Lee(long long posicion);
    // The next line; false at the end of the file.
    bool Siguiente(std::string &linea);

private:
    std::FILE *m_fichero = nullptr;
};

// The text at positions pos .. pos + longitud - 1, padded with blanks when the record is
// shorter.
std::string CampoCSB(std::string_view registro, size_t pos, size_t longitud);

// A ddmmyy field in the user's short date format (empty when it is no date).
std::string FechaCSB(std::string_view ddmmaa);

// A ten-digit amount for the screen: a euro file's in cents, a peseta file's in pesetas.
// A field that is not all digits and blanks is shown as it is.
std::string ImporteCSB(std::string_view campo, bool euros);

// A count without its leading zeros and blanks (at least its last character stays).
std::string QuitaCerosIzquierda(std::string_view texto);

// ---- The list ----

// The issuers of the file or the bills of one issuer, one row per record, each cell cut
// from its record when asked for.
class TModeloCSB : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Nivel { Ninguno, Ordenantes, Recibos };

    explicit TModeloCSB(QObject *parent = nullptr);

    // The rows are the records of the entries; columns by the level and format.
    void Carga(const std::string &ruta, int formato, bool euros, Nivel nivel, std::vector<EntradaCSB> filas);
    void Vacia();
    Nivel GetNivel() const { return m_nivel; }
    const EntradaCSB &Fila(int fila) const { return m_filas[size_t(fila)]; }
    // Sorts the bill rows by the column's key (ascending, stable); nothing on issuers.
    void Ordena(int columna);
    // The text of a cell, Windows-1252.
    std::string Texto(int fila, int columna) const;

    int rowCount(const QModelIndex &padre = QModelIndex()) const override;
    int columnCount(const QModelIndex &padre = QModelIndex()) const override;
    QVariant data(const QModelIndex &indice, int rol) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;

private:
    const std::string &Registro(int fila) const;

    std::string m_ruta;
    int m_formato = 0;
    bool m_euros = false;
    Nivel m_nivel = Ninguno;
    std::vector<EntradaCSB> m_filas;
    mutable int m_filaLeida = -1; // the row whose record m_registro holds
    mutable std::string m_registro;
};

// ---- The window ----

class TFRMHistoricos : public QDialog {
    Q_OBJECT
public:
    explicit TFRMHistoricos(QWidget *parent = nullptr);

    // The file to show; read when the window shows.
    void SetFichero(const std::string &ruta);
    const std::string &Fichero() const { return m_fichero; }
    // Of the file shown: 1 CSB19, 2 CSB58 (0 none).
    int Formato() const { return m_indice.Formato; }
    const IndiceCSB &Indice() const { return m_indice; }

    void FormActivate();
    void FormClose();
    // Parses the file into the index and the tree; false (message 288 shown) on a failure.
    bool RellenarArbol();
    void TREEHistorChange();
    void LSTHistorColumnClick(int columna);
    void BTNReciboClick();
    void SpeedButton1Click();

    QLabel *LBLTitulo, *LBLFichero;
    QTreeWidget *TREEHistor;
    QGroupBox *PanelDetalle;
    QLabel *LBLOrdenantes, *LBLCodigo, *LBLFecha, *LBLImportes;
    QLabel *TXTSumaOrd, *TXTCodigo, *TXTFecha, *TXTSuma;
    QTableView *LSTHistor;
    TModeloCSB *Modelo;
    QPushButton *BTNRecibo, *SpeedButton1;

protected:
    void showEvent(QShowEvent *evento) override;
    void done(int resultado) override;
    // Ctrl+Tab and F6 as Tab through the controls; Return on a bill of the list opens its
    // detail as Ver recibo does.
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void PonTextos();
    void Vacia();
    void MuestraPresentador();
    void MuestraOrdenante(int entrada);
    void LSTHistorChange();
    // The bill of the list's current row to the bill-detail window; false when none.
    bool PasaRecibo();

    std::string m_fichero;
    IndiceCSB m_indice;
    bool m_cargado = false;
};
