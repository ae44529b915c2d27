// A template of the shipped item types, laid out on a panel as the bill editor lays one out.
#pragma once

#include "elementos.h"
#include "vars.h"

#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

class Pagina {
public:
    using Variables = std::vector<std::pair<const char *, const char *>>;

    // Adds an item of the type with the variables given (X and Y 0 unless given).
    B_AStr_t *Agrega(const char *tipo, const char *nombre, Variables variables = {})
    {
        B_AStr_t *item = VarCons(nullptr, nullptr);
        VarSet(item, ITEM_VAR_TIPO, tipo);
        VarSet(item, ITEM_VAR_IDENTIFICADOR, nombre);
        VarSet(item, ITEM_VAR_X, "0");
        VarSet(item, ITEM_VAR_Y, "0");
        for (const auto &[nombreVariable, valor] : variables)
            VarSet(item, nombreVariable, valor);
        EXPECT_EQ(plantilla.ItemAdd(item), 0) << nombre;
        return item;
    }

    B_AStr_t *Item(const char *nombre)
    {
        const int i = plantilla.ItemByName(nombre);
        return i < 0 ? nullptr : *static_cast<B_AStr_t **>(GiveMeThePointerToElement(&plantilla.stkItems, i));
    }

    // Message 6 for every item, in order, on the panel.
    void Coloca()
    {
        for (int i = 0; i < StackTop(&plantilla.stkItems); ++i) {
            ItemCreate_t creacion = {&panel, nullptr};
            PlItemCallFn(*static_cast<B_AStr_t **>(GiveMeThePointerToElement(&plantilla.stkItems, i)),
                         ITEM_MSG_CREATE, &plantilla, &creacion);
            EXPECT_NE(creacion.pCtrl, nullptr);
        }
    }

    // Message 5: the text into the named item.
    void Pon(const char *nombre, const char *texto)
    {
        PlItemCallFn(Item(nombre), ITEM_MSG_SETVALUE, &plantilla, const_cast<char *>(texto));
    }

    // Message 4 into a buffer of the size the program passes.
    std::string Valor(const char *nombre)
    {
        char buffer[ITEM_VALUE_LEN] = "";
        ItemText_t texto = {buffer, sizeof buffer};
        PlItemCallFn(Item(nombre), ITEM_MSG_VALUE, &plantilla, &texto);
        return buffer;
    }

    QLineEdit *Caja(const char *nombre) { return panel.findChild<QLineEdit *>(QString::fromLatin1(nombre)); }

    Plantilla plantilla;
    QWidget panel; // destroyed first, with the controls
};
