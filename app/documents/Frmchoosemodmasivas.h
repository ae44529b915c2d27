// The chooser of the mass modifications: one button per kind, enabled as the main window's
// menu items of the same kind; its result names the kind chosen.
#pragma once

#include <QDialog>
#include <array>
#include <string>

class QPushButton;

class TFRMModMasivas : public QDialog {
    Q_OBJECT
public:
    // The results: Cancel, then the five kinds in the order of their buttons.
    enum Resultado { Cancelar = 2, Importes = 3, Conceptos = 4, CodDevolucion = 5, RefInterna = 6, FechaVenc = 7 };

    explicit TFRMModMasivas(QWidget *parent = nullptr);

    // Before every show: whether each kind's menu item is enabled (in the order of the
    // buttons) and the order type of the main window's selection ("CSB19", "CSB58" or "").
    std::array<bool, 5> Habilitados{};
    std::string TipoOrden;

    QPushButton *BTNImportes;
    QPushButton *BTNConceptos;
    QPushButton *BTNCodDevol;
    QPushButton *BTNRefInterna;
    QPushButton *BTNFechaVenc;
    QPushButton *BTNCancelar;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
    std::array<QPushButton *, 5> Botones() const;
};
