// The sample grid's model: a customer's data file shown one character per cell, read as the
// import reads it (each line as Windows-1252 bytes, or as UTF-8 when it is written so), so
// that a cell's column is the position the import cuts.
// Rows are the file's lines (CR LF and LF alike), whole up to kMaxColumnas characters; the
// columns are enough for the longest line with its line end, whose cell stays empty.
//
// Model rows and columns are 0-based; the editor's sample lines and positions are 1-based
// (line n is model row n - 1). The headers number them from 1.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>

class ModeloMuestra : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kMaxLineas = 9999;    // a sample line must fit the template's four digits
    static constexpr int kMaxColumnas = 4095;  // what the import reads of a line
    static constexpr int kLineasVacias = 8;    // the empty grid before a sample is opened
    static constexpr int kColumnasVacias = 79;

    explicit ModeloMuestra(QObject *parent = nullptr);

    // The sample read from a file, each line as the import reads it (TextoDatos); false
    // (the grid as it was) when it cannot be read.
    bool Carga(std::string_view ruta);
    // The sample from its bytes.
    void PonTexto(std::string_view texto);
    // The empty grid.
    void Vacia();

    // More lines than kMaxLineas: only the first ones were taken.
    bool Cortado() const { return m_cortado; }
    int Lineas() const { return m_lineas; }
    int Columnas() const { return m_columnas; }
    // The characters of sample line linea from position desde, tamano of them (fewer at
    // the line's end; none outside the sample).
    std::string Texto(int linea, int desde, int tamano) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // DisplayRole: the cell's character; empty past the end of its line.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The 1-based numbers of lines and positions.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<std::string> m_texto; // the lines without their line ends
    int m_lineas = kLineasVacias;
    int m_columnas = kColumnasVacias;
    bool m_cortado = false;
};
