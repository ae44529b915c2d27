// The template engine: items.ini sections, the type registry, calls into item-type
// functions with the circle guard, concept slices, and the Plantilla methods.
#include "plantillas.h"

#include "b_buffer.h"
#include "b_mem.h"
#include "b_private.h"
#include "b_str.h"
#include "cp1252.h"
#include "dll.h"
#include "vars.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {

constexpr const char *kFamily = "plantillas";
constexpr size_t kSectionSize = 32769;
constexpr size_t kLineLimit = 1023;
constexpr const char *kBlanks = " \t";

Stack g_types = {nullptr, 0, 0, sizeof(B_AStr_t *), 10};

// What was last read from an item for a call: its type's function and its control. Reading
// them takes the item's and its type's variables and the registry, none of which can
// change while no string array changes and the library cache stays the same; an entry
// stands while both counts do. A few slots, chosen by the item's address.
struct Read {
    const B_AStr_t *item = nullptr;
    unsigned long changes = 0;
    unsigned generation = 0;
    void *value = nullptr;
};
constexpr size_t kReadSlots = 64;
Read g_functions[kReadSlots];
Read g_controls[kReadSlots];

Read &slotOf(Read (&slots)[kReadSlots], const B_AStr_t *item)
{
    return slots[(reinterpret_cast<uintptr_t>(item) >> 4) % kReadSlots];
}

// The slot's value when it was read from item under the present counts, or null.
Read *stillRead(Read (&slots)[kReadSlots], const B_AStr_t *item)
{
    Read &read = slotOf(slots, item);
    return read.item == item && read.changes == quentaro::astrChanges() &&
                   read.generation == quentaro::dllGeneration()
               ? &read
               : nullptr;
}

void remember(Read (&slots)[kReadSlots], const B_AStr_t *item, void *value)
{
    slotOf(slots, item) = Read{item, quentaro::astrChanges(), quentaro::dllGeneration(), value};
}

int32_t g_language = 0;
char g_string[PL_STRING_LEN];

// Items whose value (message 4 or 7) is being computed, outermost first; a chain deeper
// than kMaxDepth is cut as a circle would be.
constexpr int kMaxDepth = 1024;
const B_AStr_t *g_computing[kMaxDepth];
int g_depth = 0;

#define PL_CHECK(ok, message, condition) \
    B_CHECK(DebugDoGetDefault(), kFamily, (ok), (message), (condition))

bool present(const void *p, const char *condition)
{
    return PL_CHECK(p != nullptr, "NULL", condition);
}

B_AStr_t *typeAt(int index)
{
    return *static_cast<B_AStr_t **>(GiveMeThePointerToElement(&g_types, index));
}

B_AStr_t *itemAt(const Stack &items, int index)
{
    return *static_cast<B_AStr_t **>(GiveMeThePointerToElement(&items, index));
}

// Whether a template's item carries the identifier name (without case); an item without
// one raises "Elemento sin nombre".
bool carries(B_AStr_t *item, const char *name)
{
    const char *own = VarGet(item, ITEM_VAR_IDENTIFICADOR, nullptr);
    return PL_CHECK(own != nullptr, "Elemento sin nombre", "pc != NULL") &&
           PL_CHECK(*own != '\0', "Elemento sin nombre", "*pc != 0") && B_stricmp(own, name) == 0;
}

// A number as the item types read it: leading blanks, optional sign, digits.
long numberOf(const char *text)
{
    return std::strtol(text, nullptr, 10);
}

// --- items.ini sections ---

// The next line of the file, cut at its end of line, trimmed and cut to kLineLimit
// characters; the rest of an over-long line is dropped. Null at the end of the file.
char *nextLine(std::FILE *file, char *buffer, size_t size)
{
    if (!std::fgets(buffer, int(size), file))
        return nullptr;
    if (!std::strchr(buffer, '\n')) {
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    quita1310(buffer);
    char *line = B_strtrimstr(buffer, kBlanks);
    if (std::strlen(line) > kLineLimit)
        line[kLineLimit] = '\0';
    return line;
}

bool ignored(const char *line)
{
    return *line == '\0' || *line == '#' || *line == '\'';
}

bool opensSection(const char *line, const char *key)
{
    size_t n = std::strlen(key);
    return line[0] == '[' && B_strnicmp(line + 1, key, n) == 0 && line[1 + n] == ']';
}

// Copies the section's entries into buffer as a text form (vars.h) and returns the bytes
// written before its final terminator; 0 when the file or section is missing or empty.
size_t readSection(const char *key, char *buffer, size_t size, const char *path)
{
    size_t written = 0;
    std::FILE *file = cp1252::openFile(path, "r");
    if (file) {
        char raw[B_BUFFER_LEN];
        char *line;
        while ((line = nextLine(file, raw, sizeof raw)) && !opensSection(line, key)) {
        }
        while (line && (line = nextLine(file, raw, sizeof raw)) && *line != '[') {
            char *equals = ignored(line) ? nullptr : std::strchr(line, '=');
            if (!equals)
                continue;
            *equals = '\0';
            char *name = B_strtrimstr(line, kBlanks);
            char *value = B_strtrimstr(equals + 1, kBlanks);
            size_t entry = std::strlen(name) + 1 + std::strlen(value) + 1;
            if (written + entry + 1 > size)
                break;
            size_t nameLength = std::strlen(name);
            std::memcpy(buffer + written, name, nameLength);
            buffer[written + nameLength] = '=';
            std::memcpy(buffer + written + nameLength + 1, value, std::strlen(value) + 1);
            written += entry;
        }
        std::fclose(file);
    }
    if (size)
        buffer[written] = '\0';
    return written;
}

// The export named by the type's Funcion in its library, or null.
ItemFn_t typeFunction(B_AStr_t *type)
{
    const char *function = VarGet(type, ITEM_TYPE_FUNCION, nullptr);
    DLLHandle_t module = DLLInstance(VarGet(type, ITEM_TYPE_DLL, ""));
    if (!module || !function)
        return nullptr;
    return reinterpret_cast<ItemFn_t>(dlsym(module, function));
}

bool acceptable(B_AStr_t *type)
{
    const char *name = VarGet(type, ITEM_TYPE_NOMBRE, "");
    return *name && PlTipoItemByName(name) < 0 && typeFunction(type) != nullptr;
}

void destroyTypes()
{
    for (int i = 0; i < StackTop(&g_types); ++i)
        B_AStrDest(typeAt(i));
    SendArrayToOuterSpace(&g_types);
}

// The library of a type, with the assertions of the string and language operations.
DLLHandle_t typeLibrary(B_AStr_t *type)
{
    const char *dll = VarGet(type, ITEM_TYPE_DLL, nullptr);
    if (!PL_CHECK(dll != nullptr, "Tipo sin DLL", "VarGet( pvar, \"DLL\", NULL ) != NULL"))
        return nullptr;
    DLLHandle_t module = DLLInstance(dll);
    PL_CHECK(module != nullptr, "La DLL no existe", "DLLInstance( VarGet( pvar, \"DLL\", NULL ) ) != NULL");
    return module;
}

// --- calls ---

bool computesValue(int32_t code)
{
    return code == ITEM_MSG_VALUE || code == ITEM_MSG_RECALC;
}

bool textArgument(int32_t code)
{
    return code == ITEM_MSG_CELLTEXT || computesValue(code);
}

// What a call that reaches no function leaves in the argument: the empty text, or a
// rectangle without position.
void answerNothing(int32_t code, void *arg)
{
    if (textArgument(code)) {
        ItemText_t *text = static_cast<ItemText_t *>(arg);
        if (text && text->pcBuffer && text->uSize)
            text->pcBuffer[0] = '\0';
        else if (!text && computesValue(code))
            VarNumBuffer()[0] = '\0';
    } else if (code == ITEM_MSG_RECT && arg) {
        *static_cast<ItemRect_t *>(arg) = ItemRect_t{-1, -1, -1, -1};
    }
}

bool beingComputed(const B_AStr_t *item)
{
    for (int i = 0; i < g_depth; ++i)
        if (g_computing[i] == item)
            return true;
    return g_depth == kMaxDepth;
}

// Marks an item's value as being computed for the length of one call.
class Computing {
public:
    explicit Computing(const B_AStr_t *item) { g_computing[g_depth++] = item; }
    ~Computing() { --g_depth; }
    Computing(const Computing &) = delete;
    Computing &operator=(const Computing &) = delete;
};

// The item's function, with the assertions of the call; null when there is none. A
// function found is remembered for the item (a failure, with its assertion, is not).
ItemFn_t itemFunction(B_AStr_t *item)
{
    if (const Read *read = stillRead(g_functions, item))
        return reinterpret_cast<ItemFn_t>(read->value);
    int index = PlTipoItemByName(VarGet(item, ITEM_VAR_TIPO, ""));
    if (!PL_CHECK(index >= 0, "El tipo de elemento no existe.",
                  "PlTipoItemByName( VarGet( pvar, ITEM_VAR_TIPO, \"\" ) ) >= 0"))
        return nullptr;
    B_AStr_t *type = typeAt(index);
    const char *dll = VarGet(type, ITEM_TYPE_DLL, nullptr);
    if (!PL_CHECK(dll != nullptr, "Tipo sin DLL", "VarGet( pvarTipo, \"DLL\", NULL ) != NULL"))
        return nullptr;
    DLLHandle_t module = DLLInstance(dll);
    if (!PL_CHECK(module != nullptr, "La DLL no existe",
                  "DLLInstance( VarGet( pvarTipo, \"DLL\", NULL ) ) != NULL"))
        return nullptr;
    const char *name = VarGet(type, ITEM_TYPE_FUNCION, nullptr);
    if (!PL_CHECK(name != nullptr, "Tipo sin funcion", "VarGet( pvarTipo, \"Funcion\", NULL ) != NULL"))
        return nullptr;
    ItemFn_t function = reinterpret_cast<ItemFn_t>(dlsym(module, name));
    if (PL_CHECK(function != nullptr, "La funcion no existe en la DLL",
                 "::GetProcAddress( hinst, VarGet( pvarTipo, \"Funcion\", NULL ) ) != NULL"))
        remember(g_functions, item, reinterpret_cast<void *>(function));
    return function;
}

} // namespace

// --- registry ---

void PlInit(const char *path)
{
    if (!present(path, "pcPath != NULL"))
        return;
    destroyTypes();
    g_language = 0;
    NewStackOfInternal(&g_types, sizeof(B_AStr_t *), 10, 10);
    char *section = static_cast<char *>(B_calloc_tagged(kSectionSize, __LINE__, kFamily));
    for (int n = 0;; ++n) {
        char key[32];
        std::snprintf(key, sizeof key, "Elemento_%d", n);
        if (readSection(key, section, kSectionSize - 1, path) == 0)
            break;
        B_AStr_t *type = VarCons(nullptr, section);
        if (acceptable(type))
            PushStack(&g_types, &type);
        else
            B_AStrDest(type);
    }
    B_free(section);
}

void PlClose(void)
{
    destroyTypes();
}

Stack *PlTiposItem(void)
{
    return &g_types;
}

int PlTipoItemByName(const char *name)
{
    if (!present(name, "pcTipo != NULL"))
        return -1;
    for (int i = 0; i < StackTop(&g_types); ++i)
        if (B_stricmp(VarGet(typeAt(i), ITEM_TYPE_NOMBRE, ""), name) == 0)
            return i;
    return -1;
}

B_AStr_t *PlItemTipo(B_AStr_t *item)
{
    if (!present(item, "pvar != NULL"))
        return nullptr;
    const char *name = VarGet(item, ITEM_VAR_TIPO, nullptr);
    int index = name ? PlTipoItemByName(name) : -1;
    return index < 0 ? nullptr : typeAt(index);
}

const char *PlItemVar(B_AStr_t *item, const char *name, const char *def)
{
    if (!present(item, "pvar != NULL") || !present(name, "pcNombre != NULL") ||
        !PL_CHECK(*name != '\0', "No se puede buscar un dato sin nombre", "strlen( pcNombre ) > 0"))
        return def;
    if (const char *own = VarGet(item, name, nullptr))
        return own;
    B_AStr_t *type = PlItemTipo(item);
    return type ? VarGet(type, name, def) : def;
}

// --- plug-in strings and language ---

const char *PlTipoItemStr(B_AStr_t *type, int32_t id, const char *def)
{
    if (!present(type, "pvar != NULL"))
        return def;
    DLLHandle_t module = typeLibrary(type);
    auto load = module ? reinterpret_cast<ItemLoadStringFn_t>(dlsym(module, ITEM_EXPORT_LOADSTRING))
                       : nullptr;
    if (!load)
        return def;
    g_string[0] = '\0';
    int32_t n = load(int32_t(uint32_t(g_language) + uint32_t(id)), g_string, sizeof g_string);
    g_string[sizeof g_string - 1] = '\0';
    return n > 0 && g_string[0] ? g_string : def;
}

const char *PlItemStr(B_AStr_t *item, int32_t id, const char *def)
{
    B_AStr_t *type = PlItemTipo(item);
    return type ? PlTipoItemStr(type, id, def) : def;
}

void PlSetLanguage(int32_t offset)
{
    g_language = offset;
    for (int i = 0; i < StackTop(&g_types); ++i) {
        DLLHandle_t module = typeLibrary(typeAt(i));
        if (!module)
            continue;
        auto set = reinterpret_cast<ItemSetLanguageFn_t>(dlsym(module, ITEM_EXPORT_SETLANGUAGE));
        if (set)
            set(offset);
    }
}

// --- calls ---

int32_t PlItemCallFn(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg)
{
    if (!present(item, "pvar != NULL")) {
        answerNothing(code, arg);
        return PL_CALL_NONE;
    }
    if (computesValue(code) && beingComputed(item)) {
        answerNothing(code, arg);
        return PL_CALL_CYCLE;
    }
    ItemFn_t function = itemFunction(item);
    if (!function) {
        answerNothing(code, arg);
        return PL_CALL_NONE;
    }
    if (!computesValue(code))
        return function(item, code, plantilla, arg);
    Computing computing(item);
    return function(item, code, plantilla, arg);
}

void *PlItemCtrl(B_AStr_t *item)
{
    if (!present(item, "pvar != NULL"))
        return nullptr;
    if (const Read *read = stillRead(g_controls, item))
        return read->value;
    const char *text = VarGet(item, ITEM_VAR_UI_CTRL, "0");
    void *control = reinterpret_cast<void *>(intptr_t(std::strtoll(text, nullptr, 10)));
    remember(g_controls, item, control);
    return control;
}

void PlItemSetCtrl(B_AStr_t *item, void *ctrl)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ld", long(reinterpret_cast<intptr_t>(ctrl)));
    VarSet(item, ITEM_VAR_UI_CTRL, text);
}

// --- concept text ---

size_t PlConceptSlice(const char *text, const ItemRect_t *rect, char *out, size_t size)
{
    if (!present(text, "pcConcepto != NULL") || !present(rect, "prect != NULL") ||
        !present(out, "pcBuffer != NULL"))
        return 0;
    size_t count = 0;
    int64_t offset = int64_t(rect->nY1) * ITEM_CONCEPT_COLS + rect->nX1;
    int64_t length = (int64_t(rect->nY2) - rect->nY1) * ITEM_CONCEPT_COLS +
                     (int64_t(rect->nX2) - rect->nX1) - ITEM_CONCEPT_COLS;
    if (rect->nX1 >= 0 && rect->nY1 >= 0 && offset < ITEM_CONCEPT_LEN && length > 0 && size) {
        size_t available = strnlen(text, ITEM_CONCEPT_LEN);
        size_t start = size_t(offset);
        size_t limit = start < available ? available - start : 0;
        count = size_t(length) < limit ? size_t(length) : limit;
        if (count > size - 1)
            count = size - 1;
        std::memcpy(out, text + start, count);
    }
    if (size)
        out[count] = '\0';
    return count;
}

size_t PlConceptPut(char *page, int32_t x, int32_t y, const char *text)
{
    if (!present(page, "pcPagina != NULL") || !present(text, "pcTexto != NULL"))
        return 0;
    if (x < 0 || x >= ITEM_CONCEPT_COLS || y < 0 || y >= ITEM_CONCEPT_ROWS)
        return 0;
    size_t offset = size_t(y) * ITEM_CONCEPT_COLS + size_t(x);
    size_t count = strnlen(text, ITEM_CONCEPT_LEN - offset);
    std::memcpy(page + offset, text, count);
    return count;
}

// --- Plantilla ---

Plantilla::Plantilla() : nId(-1), acNombre{}, stkItems{}
{
    NewStackOfInternal(&stkItems, sizeof(B_AStr_t *), 10, 10);
}

Plantilla::~Plantilla()
{
    Flush();
    SendArrayToOuterSpace(&stkItems);
}

void Plantilla::Flush()
{
    for (int i = 0; i < StackTop(&stkItems); ++i)
        B_AStrDest(itemAt(stkItems, i));
    StackFlush(&stkItems);
    nId = -1;
    std::memset(acNombre, 0, sizeof acNombre);
}

B_AStr_t *Plantilla::ItemNew(const char *tipo)
{
    if (!present(tipo, "pcTipo != NULL") || PlTipoItemByName(tipo) < 0)
        return nullptr;
    B_AStr_t *item = VarCons(nullptr, nullptr);
    B_AStrAdd(item, ITEM_VAR_TIPO);
    B_AStrAdd(item, tipo);
    char name[kLineLimit + 24];
    for (long k = 1;; ++k) {
        std::snprintf(name, sizeof name, "%s%ld", tipo, k);
        if (TestItemName(name) == 0)
            break;
    }
    B_AStrAdd(item, ITEM_VAR_IDENTIFICADOR);
    B_AStrAdd(item, name);
    PlItemCallFn(item, ITEM_MSG_INIT, nullptr, nullptr);
    return item;
}

int Plantilla::ItemAdd(B_AStr_t *item)
{
    if (!present(item, "pvar != NULL") || !PlItemTipo(item))
        return -1;
    const char *x = VarGet(item, ITEM_VAR_X, nullptr);
    const char *y = VarGet(item, ITEM_VAR_Y, nullptr);
    if (!x || numberOf(x) < 0 || !y || numberOf(y) < 0)
        return -1;
    const char *name = VarGet(item, ITEM_VAR_IDENTIFICADOR, "");
    if (!*name || TestItemName(name) > 0)
        return -1;
    PushStack(&stkItems, &item);
    return 0;
}

int Plantilla::ItemByName(const char *name) const
{
    if (!present(name, "pcName != NULL"))
        return -1;
    // With assertions on, every item is looked at to count the name's bearers; the first
    // one is the answer all the same.
    const bool counting = DebugAssertOn(DebugDoGetDefault());
    int first = -1, count = 0;
    for (int i = 0; i < StackTop(&stkItems) && (counting || first < 0); ++i)
        if (carries(itemAt(stkItems, i), name)) {
            if (first < 0)
                first = i;
            ++count;
        }
    if (count >= 2) {
        char message[256];
        std::snprintf(message, sizeof message, "Mas de un elemento tiene el nombre [%.200s]", name);
        PL_CHECK(false, message, "this->TestItemName( pcName ) < 2");
    }
    return first;
}

int Plantilla::TestItemName(const char *name) const
{
    if (!present(name, "pcName != NULL"))
        return 0;
    int count = 0;
    for (int i = 0; i < StackTop(&stkItems); ++i)
        count += carries(itemAt(stkItems, i), name);
    return count;
}
