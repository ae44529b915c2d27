// The items plug-in libitems.so ("Items.dll" in items.ini): the four item types of concept
// templates (label, amount, total, percentage), the currency switch and the string table.
//
// The template engine (plantillas.h) finds each type through items.ini and calls its
// function for every message of the item protocol (itemproto.h); the program's bill editor
// calls _SetEuro through the library cache. Items are variable sets (vars.h); every text is
// Windows-1252. A null item, template or argument where one is needed raises the assertion
// "NULL" (b_debug.h, source "main", under the global level word), after which the message
// does nothing and returns 0. Main thread only: the module state is shared by every caller.
//
// The library stays mapped once loaded (linked with -z nodelete), because the controls of
// message 6 and their owner are Qt objects whose code lives here and may outlive the cache.
//
// Pictures of the types (18 x 18) are Qt resources of the library, readable while it is
// loaded: ":/items/LABEL", ":/items/IMPORTE", ":/items/TOTAL", ":/items/PORCENTAJE".
#pragma once

#include "itemproto.h"

#include <cstdint>

#define ITEMS_EXPORT extern "C" __attribute__((visibility("default")))

// The item-type functions: (item, message code, template, argument) -> 0, or ITEM_REFUSED
// when message 8 refuses a change.
//
// Label: its Texto, set to "Etiqueta" first whenever it is missing or empty; cell text and
//   value are the Texto, its cells as wide as the Texto; message 6 makes a QLabel.
// Amount: cell text "$" and the Identificador in 11 characters; 12 cells; value the text of
//   its entry box ("" without one); message 5 puts a text in the box; message 6 makes the
//   box, which keeps whatever is typed or pasted.
// Total: "+" and the Identificador; the sum of the values of the items named in Campos
//   (names joined by "+"; the text typed in an amount's box read as an amount box reads
//   it, amount.h, and counting 0 when it does not read; a total's or a percentage's result
//   with its sign), in euros "0,00" with two decimals, in pesetas a whole number, with the
//   regional decimal separator and no grouping; message 6 makes a disabled box that
//   messages 4 and 7 fill.
// Percentage: "%" and the Identificador; Porcentaje ("16" in a new item) per cent of that
//   sum; with a box, the value loses the trailing zeros of its decimals ("16", "12,5").
// Every type refuses in message 8 an Identificador that holds a blank.
ITEMS_EXPORT int32_t _ItemLabelFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg);
ITEMS_EXPORT int32_t _ItemImporteFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg);
ITEMS_EXPORT int32_t _ItemTotalFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg);
ITEMS_EXPORT int32_t _ItemPorcentajeFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg);

// Non-zero (only the low byte counts): euros, two decimals and 8 integer digits. 0:
// pesetas, whole numbers of 10 digits. The library starts in euros.
ITEMS_EXPORT void _SetEuro(int32_t flag);
