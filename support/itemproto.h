// The item protocol: the contract between the template engine (plantillas.h), the program
// and every item-type function exported by a plug-in library.
//
// An item is a variable set (vars.h) of a template (Plantilla); its type is a registered
// section of items.ini naming the plug-in library ("DLL") and the exported item-type
// function ("Funcion"). The engine calls that function through PlItemCallFn with the item,
// a message code, the template the item belongs to (null where stated) and one argument
// whose form depends on the code. Item-type functions answer on the caller's thread (the
// program's main thread) and never throw.
//
// Coordinates are character cells of the concept text: ITEM_CONCEPT_COLS columns (X from 0)
// by ITEM_CONCEPT_ROWS lines (Y from 0), the concept being ITEM_CONCEPT_LEN characters.
// All texts are Windows-1252.
//
// Messages (code: argument; what the item does; result):
//   ITEM_MSG_INIT 1: none (template and argument null); sets the type's defaults in a new
//     item. Result ignored.
//   ITEM_MSG_CELLTEXT 2: ItemText_t; writes the text the designer draws in the item's cells,
//     cut to the buffer (never more than uSize bytes, terminator included). 0.
//   ITEM_MSG_RECT 3: ItemRect_t; fills the cells the item occupies (right and bottom
//     exclusive), all four -1 when its X or Y is missing or negative. 0.
//   ITEM_MSG_VALUE 4: ItemText_t, or null; writes the item's current value, cut to the
//     buffer; with a null argument (totals and percentages only) writes it into
//     VarNumBuffer (vars.h, VAR_NUM_BUFFER_LEN bytes). A total's value is the sum of the
//     values (message 4, asked through PlItemCallFn) of the items named in its Campos. 0.
//   ITEM_MSG_SETVALUE 5: const char *, the slice of the concept under the item; an amount
//     takes at most ITEM_SETVALUE_MAX characters of it, trimmed, as its control's text. 0.
//   ITEM_MSG_CREATE 6: ItemCreate_t; creates the item's control on pParent, returns it in
//     pCtrl and records it in the item (PlItemSetCtrl, plantillas.h). 0.
//   ITEM_MSG_RECALC 7: ItemText_t or null; totals and percentages recompute as for message
//     4 and show the result in their controls. 0.
//   ITEM_MSG_VALIDATE 8: ItemValidate_t; a property sheet asks before it changes a variable.
//     ITEM_REFUSED refuses the change (pcMessage may then name a text of the plug-in that
//     says why), 0 accepts it.
//   Any other code: 0.
//
// Totals reached in a circle: PlItemCallFn never calls an item-type function for an item
// whose value (message 4 or 7) is already being computed further up the same call chain.
// That inner call writes the empty text (which reads as 0) and returns PL_CALL_CYCLE, so a
// total whose Campos reach itself, directly or through other totals, counts itself as 0.
// Item-type functions therefore ask other items for values only through PlItemCallFn.
//
// Controls: _UI_Ctrl holds the address of the item's control as decimal text, "0" or no
// variable when it has none. The plug-in sets it when it creates the control (message 6).
// The control's owner, the code that destroys it (the program's template page, which owns
// the parent), clears the variable of every item whose control it destroys, before
// destroying it and while the item still exists (PlItemSetCtrl with null). Messages 4, 5
// and 7 dereference the control only through PlItemCtrl, so a cleared item never leads to
// a destroyed control.
#pragma once

#include "b_astr.h"
#include "quentaro_api.h"

#include <stdint.h>

// Message codes.
#define ITEM_MSG_INIT 1
#define ITEM_MSG_CELLTEXT 2
#define ITEM_MSG_RECT 3
#define ITEM_MSG_VALUE 4
#define ITEM_MSG_SETVALUE 5
#define ITEM_MSG_CREATE 6
#define ITEM_MSG_RECALC 7
#define ITEM_MSG_VALIDATE 8

// Results.
#define ITEM_OK 0
// Message 8: the change is refused.
#define ITEM_REFUSED (-1)
// PlItemCallFn called no function: the item's type is not registered, or its library or
// function cannot be found. Text arguments then hold the empty text and rectangles -1.
#define PL_CALL_NONE (-2)
// PlItemCallFn called no function because the item's value is already being computed.
#define PL_CALL_CYCLE (-3)

// Sizes of the concept text.
#define ITEM_CONCEPT_COLS 80
#define ITEM_CONCEPT_ROWS 8
#define ITEM_CONCEPT_LEN (ITEM_CONCEPT_COLS * ITEM_CONCEPT_ROWS)

// Buffer capacities, terminator included: a value the program asks for (message 4), a
// field value a total asks for while summing, and what message 5 keeps of its text.
#define ITEM_VALUE_LEN 81
#define ITEM_FIELD_VALUE_LEN 512
#define ITEM_SETVALUE_MAX 512

// Variables of an item.
#define ITEM_VAR_TIPO "Tipo"
#define ITEM_VAR_IDENTIFICADOR "Identificador"
#define ITEM_VAR_X "X"
#define ITEM_VAR_Y "Y"
#define ITEM_VAR_TEXTO "Texto"
#define ITEM_VAR_CAMPOS "Campos"
#define ITEM_VAR_PORCENTAJE "Porcentaje"
#define ITEM_VAR_TOTAL "Total"
#define ITEM_VAR_UI_CTRL "_UI_Ctrl"

// Keys of an item type (a section of items.ini).
#define ITEM_TYPE_NOMBRE "Nombre"
#define ITEM_TYPE_DLL "DLL"
#define ITEM_TYPE_FUNCION "Funcion"

// Messages 2, 4 and 7: the caller's buffer and its capacity in bytes.
typedef struct ItemText_t {
    char *pcBuffer;
    size_t uSize;
} ItemText_t;

// Message 3: occupied cells, right and bottom exclusive; -1 for no position.
typedef struct ItemRect_t {
    int32_t nX1;
    int32_t nY1;
    int32_t nX2;
    int32_t nY2;
} ItemRect_t;

// Message 6: the parent widget (in) and the created control (out, null beforehand).
typedef struct ItemCreate_t {
    void *pParent;
    void *pCtrl;
} ItemCreate_t;

// Message 8: the variable, its new value, and a text of the plug-in saying why it refuses
// (out, null beforehand; owned by the plug-in, valid until its next call).
typedef struct ItemValidate_t {
    const char *pcName;
    const char *pcValue;
    const char *pcMessage;
} ItemValidate_t;

#ifdef __cplusplus
class Plantilla;
#else
typedef struct Plantilla Plantilla;
#endif

// An item-type function: (item, message code, template or null, argument) -> result.
typedef int32_t (*ItemFn_t)(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg);

// Exports of a plug-in library that the engine and the program look up by name.

// The plug-in's string table: copies string id into buffer, cut to size bytes (terminator
// included; the empty text when the plug-in has no such string) and returns the number of
// characters copied, 0 when it has none.
#define ITEM_EXPORT_LOADSTRING "ItemsLoadString"
typedef int32_t (*ItemLoadStringFn_t)(int32_t id, char *buffer, size_t size);

// Language switch (optional): offset added to the plug-in's own string ids.
#define ITEM_EXPORT_SETLANGUAGE "_SetLanguage"
typedef void (*ItemSetLanguageFn_t)(int32_t offset);

// Currency switch of the items plug-in: non-zero euros, 0 pesetas (only the low byte counts).
#define ITEM_EXPORT_SETEURO "_SetEuro"
typedef void (*ItemSetEuroFn_t)(int32_t flag);

QUENTARO_BEGIN

// Declared here so that the plug-in's definition is checked against it.
__attribute__((visibility("default"))) int32_t ItemsLoadString(int32_t id, char *buffer,
                                                               size_t size);

QUENTARO_END
