// The about box: the product and its version, the machine's memory and the running copies,
// and the two pictures that open web addresses.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

// The machine's memory as the about box shows it, in bytes, and the memory in use as a
// percentage; read from /proc/meminfo (swap stands for virtual memory). All 0 when it
// cannot be read.
struct EstadoMemoria {
    unsigned long long Fisica = 0, FisicaDisponible = 0, Virtual = 0, VirtualDisponible = 0;
    int Carga = 0;
};
EstadoMemoria LeeMemoria();
EstadoMemoria LeeMemoria(const std::string &meminfo); // the text of /proc/meminfo

// Thousands of bytes (integer division) with the regional thousands separator and " KB.":
// 523456789 gives "523.456 KB." where the separator is ".".
std::string FormatoMemoria(unsigned long long bytes);

class TAcercaDe : public QDialog {
    Q_OBJECT
public:
    explicit TAcercaDe(QWidget *parent = nullptr);

    // The maker's web address that Image2 opens.
    static constexpr const char *kWebFabricante = "https://www.orvanta.example/";

    void Image1DblClick();
    void Image2DblClick();

    QLabel *lblProducto, *lblVersion, *Label1;
    QLabel *Image1, *Image2;
    QLabel *StaticText6, *StaticText1, *StaticText2, *StaticText3, *StaticText4, *StaticText5, *StaticText7;
    QLabel *lblCPU, *lblFisica, *lblFisicaDisponible, *lblVirtual, *lblVirtualDisponible, *lblUsuarios;
    QPushButton *cbtCerrar;

protected:
    void showEvent(QShowEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormShow();
};
