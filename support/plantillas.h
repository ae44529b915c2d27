// The concept-template engine: the registry of item types read from items.ini, the calls
// into item-type functions (itemproto.h), and the template Plantilla with its items.
//
// Item types and items are variable sets (vars.h). The registry holds one type per
// section "Elemento_0", "Elemento_1", ... of items.ini, in file order, from PlInit to
// PlClose; the library cache (dll.h) must be started before PlInit and closed after
// PlClose. Every text is Windows-1252. Misuse (a null item, type or name) raises the
// assertion "NULL" (b_debug.h, under the global level word) and the operation then does
// nothing and returns its "not found" answer. Not reentrant: the registry, the language
// offset and the string buffer of PlTipoItemStr are process-wide; main thread only.
#pragma once

#include "b_astr.h"
#include "b_lstack.h"
#include "itemproto.h"
#include "quentaro_api.h"

QUENTARO_BEGIN

// Characters of a template's name.
#define PL_NOMBRE_LEN 128
// Bytes of the buffer in which PlTipoItemStr returns its texts.
#define PL_STRING_LEN 1024

// Builds the registry from the items.ini file at path (a second call first destroys the
// types of the first). Sections "Elemento_0", "Elemento_1", ... are read until one is
// missing or holds no key (a gap ends the registry). Lines are trimmed of blanks and tabs,
// cut to 1023 characters; empty lines, lines beginning with "#" or "'" and lines without
// "=" are skipped; the key is what precedes the first "=", both key and value trimmed;
// a section ends at the next line beginning with "[". A section becomes a type when its
// Nombre is not empty and not yet registered (without regard to case), its DLL loads
// through the cache and exports the function its Funcion names; other sections are
// dropped without a word (their library stays in the cache). A missing file gives an empty
// registry. The language offset becomes 0.
QUENTARO_API void PlInit(const char *path);
// Destroys every type and empties the registry.
QUENTARO_API void PlClose(void);

// The registry: a Stack of type addresses (B_AStr_t *), in section order. Owned by the
// engine; callers only read it.
QUENTARO_API Stack *PlTiposItem(void);
// The index of the first type whose Nombre equals name without regard to case, or -1.
QUENTARO_API int PlTipoItemByName(const char *name);
// The registered type that the item's Tipo names, or null (no Tipo, or not registered).
QUENTARO_API B_AStr_t *PlItemTipo(B_AStr_t *item);
// The item's own value of the variable; else its type's value; else def. An empty name
// raises "No se puede buscar un dato sin nombre" and returns def.
QUENTARO_API const char *PlItemVar(B_AStr_t *item, const char *name, const char *def);

// String (language offset + id) of the type's plug-in (its ItemsLoadString export), in the
// engine's buffer of PL_STRING_LEN bytes (longer texts are cut), valid until the next call;
// def when the plug-in has no such string or the string is empty. A type without DLL raises
// "Tipo sin DLL", a library that does not load "La DLL no existe"; both return def.
QUENTARO_API const char *PlTipoItemStr(B_AStr_t *type, int32_t id, const char *def);
// The same for the item's type; def when the item's type is not registered.
QUENTARO_API const char *PlItemStr(B_AStr_t *item, int32_t id, const char *def);
// Stores the language offset and hands it to the _SetLanguage export of every registered
// type's library that has one (assertions as PlTipoItemStr).
QUENTARO_API void PlSetLanguage(int32_t offset);

// Calls the item's type function with (item, code, plantilla, arg) and returns its result
// (see itemproto.h for codes, arguments and the circle rule). The type is found by the
// item's Tipo, the library through the cache and the function by name, on every call.
// PL_CALL_NONE when there is no such type, library or function (with the assertions "El
// tipo de elemento no existe.", "Tipo sin DLL", "La DLL no existe", "Tipo sin funcion" or
// "La funcion no existe en la DLL"); PL_CALL_CYCLE for a value already being computed.
QUENTARO_API int32_t PlItemCallFn(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg);

// The item's control recorded in _UI_Ctrl, null when it has none.
QUENTARO_API void *PlItemCtrl(B_AStr_t *item);
// Records the control in _UI_Ctrl as decimal text; null clears it ("0").
QUENTARO_API void PlItemSetCtrl(B_AStr_t *item, void *ctrl);

// Slicing and composing a concept of ITEM_CONCEPT_LEN characters (8 lines of 80). Nothing
// is read or written outside the concept's first ITEM_CONCEPT_LEN characters.
// The characters of text, a concept (which ends at its terminator or after ITEM_CONCEPT_LEN
// characters) under the cells of rect (message 3): from cell (nX1, nY1) for
// (nY2 - nY1) x 80 + (nX2 - nX1) - 80 characters. Writes them to out (size bytes, cut to
// fit, terminated when size is not 0) and returns their count; 0 for a rectangle without
// position or outside the concept.
QUENTARO_API size_t PlConceptSlice(const char *text, const ItemRect_t *rect, char *out,
                                   size_t size);
// Copies text (without its terminator) into page, which holds ITEM_CONCEPT_LEN characters,
// from cell (x, y), cut at the page's end. Returns the characters copied; 0 when the cell
// is outside the 80 x 8 grid.
QUENTARO_API size_t PlConceptPut(char *page, int32_t x, int32_t y, const char *text);

QUENTARO_END

#ifdef __cplusplus

// A concept template: its key, its name and its items, which it owns. No virtual members;
// construct it in the caller's memory or on the heap.
class QUENTARO_API Plantilla {
public:
    // Key -1, empty name, no items.
    Plantilla();
    // Destroys the items.
    ~Plantilla();
    Plantilla(const Plantilla &) = delete;
    Plantilla &operator=(const Plantilla &) = delete;

    // Destroys every item (keeping the stack's block), key -1, name all zero bytes.
    void Flush();
    // A new item of the registered type named tipo: Tipo is tipo as given, Identificador
    // tipo followed by the first number from 1 that no item of this template carries;
    // the type then gets ITEM_MSG_INIT. The item is the caller's (destroy it with
    // B_AStrDest or give it to ItemAdd). Null for a type that is not registered.
    B_AStr_t *ItemNew(const char *tipo);
    // Takes the item: 0. Refuses it with -1 (it stays the caller's, the template unchanged)
    // when its Tipo is not registered, its X or Y is missing or negative, or its
    // Identificador is missing, empty or carried by an item of this template (without
    // regard to case).
    int ItemAdd(B_AStr_t *item);
    // Index of the first item whose Identificador equals name without regard to case, or
    // -1. Raises "Mas de un elemento tiene el nombre [name]" when several carry it and
    // "Elemento sin nombre" for each item scanned without Identificador.
    int ItemByName(const char *name) const;
    // How many items carry the Identificador name (without regard to case); raises
    // "Elemento sin nombre" as ItemByName.
    int TestItemName(const char *name) const;

    int32_t nId;                      // key in the database, -1 while not stored
    char acNombre[PL_NOMBRE_LEN + 1]; // name, NUL-terminated
    Stack stkItems;                   // item addresses (B_AStr_t *)
};

#endif
