// The bill detail window: the 640 concept characters of one bill of the file in the
// send-file viewer, as 8 rows of 80 characters in a fixed-pitch font. A tool window over the
// viewer that follows the bill selected there.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <string_view>

class QTableWidget;
class TFRMHistoricos;

// The 8 rows of the bill at the offset of a file of the format (1 CSB19, 2 CSB58): the
// concept is 16 pieces of 40 characters, piece 0 the bill record's 115-154, pieces 3n-2,
// 3n-1 and 3n the optional record n's 29-68, 69-108 and 109-148 (n 1 to 5); row r is pieces
// 2r and 2r + 1. The optional records read are those following the bill up to the first
// line of another code or number (the address record 6 is passed over); a missing piece
// is blank when the other half of its row holds one, and a row without pieces is empty.
std::array<std::string, 8> FilasRecibo(std::string_view ruta, long long posicion, int formato);

class TFRMOpcion : public QDialog {
    Q_OBJECT
public:
    explicit TFRMOpcion(TFRMHistoricos *visor);

    void SetDatosRecibo(const std::string &ruta, long long posicion, int linea);
    // Fills the grid with the bill's rows.
    void CargaRecibo();
    int Linea() const { return m_linea; }

    QTableWidget *Grid1;

protected:
    void showEvent(QShowEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;

private:
    void FormShow();
    void FormClose();

    TFRMHistoricos *m_visor;
    std::string m_ruta;
    long long m_posicion = 0;
    int m_linea = 0;
};
