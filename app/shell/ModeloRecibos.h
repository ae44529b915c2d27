// The bills grid's model: one row per bill of the batch in view, in the grid's order, read
// lazily. vasqdb's index cache holds the key of every bill (Id_documento) in order; the
// cells of a row are read from the database only when the row comes into view, a few
// screens of them are kept, and the marks of the bill commands are held by bill.
//
// Rows are the model's (0-based): the grid's data row n is model row n - 1. Columns are the
// grid's, 0 to 8. Texts are Windows-1252 inside, QString at the Qt boundary.
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

class TModeloRecibos : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Columna {
        ColId = 0,         // Id_documento
        ColEstado = 1,     // "TRUE", "FALSE" or "Err"
        ColVencimiento = 2, // due date for the screen, empty when none
        ColLibrado = 3,    // drawee's name
        ColCuenta = 4,     // "bbbb-oooo-cc-nnnnnnnnnn"
        ColImporte = 5,    // amount for the screen in the batch's currency
        ColMoneda = 6,     // the batch's currency code
        ColContravalor = 7, // counter-value for the screen in the other currency
        ColMarca = 8,      // "SEL" for a marked bill, else empty
        NumColumnas = 9,
    };

    explicit TModeloRecibos(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // DisplayRole: the cell's text (a row that cannot be read is empty).
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The column titles (the grid's row 0).
    void SetTitulos(const std::vector<std::string> &titulos);

    // Opens vasqdb's index on sqlIndice, a query whose rows give Id_documento in the grid's
    // order, for a batch in the currency moneda. Forgets every row and mark. Returns vasqdb's
    // result; on failure the model is empty.
    int Abre(const std::string &sqlIndice, const std::string &moneda);
    // An empty model without index (no batch in view).
    void Vacia();
    // Opens the index again on the same query, to see other changes of the batch: the marks
    // stay on their bills and drop the bills that are gone; rows added or removed are
    // reported at the end; held rows are re-read when next filled. sigue: bills whose new
    // rows are wanted, given back in the same order in filas (-1 for a bill that is gone).
    // Returns vasqdb's result.
    int Reindexa(const std::vector<int> &sigue, std::vector<int> &filas);
    const std::string &SQLIndice() const { return m_sql; }

    // Reads the rows primera to ultima (clamped) that are not held, and with releer also
    // those held, signalling only the rows whose texts changed.
    void LlenaFilas(int primera, int ultima, bool releer);

    // A cell as the grid holds it, Windows-1252; the row is read when it is not held.
    std::string Celda(int fila, int columna) const;
    // Writes a cell's text (columns 0 to 7) until the row is read again.
    void SetCelda(int fila, int columna, const std::string &texto);
    // The amount column takes an editor.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The first row from desde on whose cell of the column, as the grid shows it, contains
    // texto (case-sensitive); -1 when none. Rows not held are read in runs and not kept.
    int Busca(int desde, int columna, const QString &texto) const;
    // The row's Id_documento, read from the index; 0 when the index cannot give it.
    int IdFila(int fila) const;
    // The row of a bill, searched in the index; -1 when it is not there.
    int FilaDeId(int id) const;

    bool Marcada(int fila) const;
    void Marca(int fila, bool marcada);
    // Marks the rows from desde to hasta, both included, in either direction.
    void MarcaRango(int desde, int hasta);
    void DesmarcaTodas();
    // The marked bills' ids in the grid's order.
    std::vector<int> Marcadas() const;
    size_t NumMarcadas() const { return m_marcas.size(); }

    // Index rows read since the model was made (to show that reading stays lazy).
    long FilasIndiceLeidas() const { return m_filasIndiceLeidas; }
    size_t FilasRetenidas() const { return m_filas.size(); }

private:
    struct Fila {
        int id = 0;
        std::array<QString, ColMarca> celdas; // columns 0 to 7
        bool vigente = true;                   // false once the index was opened again
    };

    // The rows [primera, ultima] read from the database (ids from the index, cells by one
    // query); a row that cannot be read comes back empty.
    std::vector<Fila> LeeFilas(int primera, int ultima) const;
    const Fila &FilaRetenida(int fila) const;
    void Recorta(int primera, int ultima) const;
    void AvisaMarca(int fila);

    std::string m_sql, m_moneda;
    int m_numFilas = 0;
    std::vector<QString> m_titulos;
    mutable std::map<int, Fila> m_filas; // the rows held, by row
    std::unordered_set<int> m_marcas;     // marked bills
    mutable long m_filasIndiceLeidas = 0;
};
