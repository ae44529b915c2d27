// A small item plug-in for the tests: a label, an amount, a total and an echo type, its
// string table and language switch, loaded through the library cache with dlopen.
// A control here is a block of ITEM_SETVALUE_MAX + 1 bytes holding its text; the test that
// asks for it owns it.
#include "b_mem.h"
#include "b_str.h"
#include "itemproto.h"
#include "plantillas.h"
#include "vars.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define TEST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int32_t g_language = 0;

// Copies text into the caller's buffer, never past its capacity.
void put(ItemText_t *out, const char *text)
{
    if (out && out->pcBuffer && out->uSize) {
        std::strncpy(out->pcBuffer, text, out->uSize - 1);
        out->pcBuffer[out->uSize - 1] = '\0';
    }
}

int32_t rect(B_AStr_t *item, int32_t width, ItemRect_t *r)
{
    const char *x = VarGet(item, ITEM_VAR_X, nullptr);
    const char *y = VarGet(item, ITEM_VAR_Y, nullptr);
    if (!x || !y || std::atoi(x) < 0 || std::atoi(y) < 0) {
        *r = ItemRect_t{-1, -1, -1, -1};
        return 0;
    }
    *r = ItemRect_t{std::atoi(x), std::atoi(y), std::atoi(x) + width, std::atoi(y) + 1};
    return 0;
}

int32_t validate(ItemValidate_t *change)
{
    if (B_stricmp(change->pcName, ITEM_VAR_IDENTIFICADOR) == 0 && std::strchr(change->pcValue, ' ')) {
        change->pcMessage = "sin blancos";
        return ITEM_REFUSED;
    }
    return ITEM_OK;
}

// "$", "+": the sign and the identifier in 11 characters.
void cellText(B_AStr_t *item, char sign, ItemText_t *out)
{
    char text[16];
    std::snprintf(text, sizeof text, "%c%-*.*s", sign, 11, 11, VarGet(item, ITEM_VAR_IDENTIFICADOR, ""));
    put(out, text);
}

int32_t createCtrl(B_AStr_t *item, ItemCreate_t *create)
{
    if (!create->pParent)
        return ITEM_REFUSED;
    create->pCtrl = B_calloc(ITEM_SETVALUE_MAX + 1);
    PlItemSetCtrl(item, create->pCtrl);
    return ITEM_OK;
}

// Sum of the values of the items named in Campos, asked through the engine.
double sum(B_AStr_t *item, Plantilla *plantilla)
{
    if (!plantilla)
        return 0;
    std::string fields = VarGet(item, ITEM_VAR_CAMPOS, "");
    double total = 0;
    for (size_t start = 0; start <= fields.size();) {
        size_t end = fields.find('+', start);
        if (end == std::string::npos)
            end = fields.size();
        std::string name = fields.substr(start, end - start);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        int index = name.empty() ? -1 : plantilla->ItemByName(name.c_str());
        if (index >= 0) {
            char value[ITEM_FIELD_VALUE_LEN];
            ItemText_t arg = {value, sizeof value};
            B_AStr_t *field = *static_cast<B_AStr_t **>(GiveMeThePointerToElement(&plantilla->stkItems, index));
            PlItemCallFn(field, ITEM_MSG_VALUE, plantilla, &arg);
            total += std::strtod(value, nullptr);
        }
        start = end + 1;
    }
    return total;
}

// What the amount and total types answer alike.
int32_t common(B_AStr_t *item, int32_t code, void *arg)
{
    switch (code) {
    case ITEM_MSG_RECT:
        return rect(item, 12, static_cast<ItemRect_t *>(arg));
    case ITEM_MSG_CREATE:
        return createCtrl(item, static_cast<ItemCreate_t *>(arg));
    case ITEM_MSG_VALIDATE:
        return validate(static_cast<ItemValidate_t *>(arg));
    default:
        return ITEM_OK;
    }
}

} // namespace

TEST_EXPORT int32_t TestLabelFunc(B_AStr_t *item, int32_t code, Plantilla *, void *arg)
{
    if (!*VarGet(item, ITEM_VAR_TEXTO, ""))
        VarSet(item, ITEM_VAR_TEXTO, "Etiqueta");
    const char *text = VarGet(item, ITEM_VAR_TEXTO, "");
    switch (code) {
    case ITEM_MSG_CELLTEXT:
    case ITEM_MSG_VALUE:
        put(static_cast<ItemText_t *>(arg), text);
        return ITEM_OK;
    case ITEM_MSG_RECT:
        return rect(item, int32_t(std::strlen(text)), static_cast<ItemRect_t *>(arg));
    case ITEM_MSG_VALIDATE:
        return validate(static_cast<ItemValidate_t *>(arg));
    default:
        return ITEM_OK;
    }
}

TEST_EXPORT int32_t TestImporteFunc(B_AStr_t *item, int32_t code, Plantilla *, void *arg)
{
    char *ctrl = static_cast<char *>(PlItemCtrl(item));
    switch (code) {
    case ITEM_MSG_CELLTEXT:
        cellText(item, '$', static_cast<ItemText_t *>(arg));
        return ITEM_OK;
    case ITEM_MSG_VALUE:
        put(static_cast<ItemText_t *>(arg), ctrl ? ctrl : "");
        return ITEM_OK;
    case ITEM_MSG_SETVALUE:
        if (ctrl) {
            char text[ITEM_SETVALUE_MAX + 1];
            std::snprintf(text, sizeof text, "%s", static_cast<const char *>(arg));
            std::strcpy(ctrl, B_strtrim(text, ' '));
        }
        return ITEM_OK;
    default:
        return common(item, code, arg);
    }
}

TEST_EXPORT int32_t TestTotalFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg)
{
    switch (code) {
    case ITEM_MSG_INIT:
        VarSet(item, ITEM_VAR_PORCENTAJE, "100");
        return ITEM_OK;
    case ITEM_MSG_CELLTEXT:
        cellText(item, '+', static_cast<ItemText_t *>(arg));
        return ITEM_OK;
    case ITEM_MSG_VALUE:
    case ITEM_MSG_RECALC: {
        double rate = std::atoi(VarGet(item, ITEM_VAR_PORCENTAJE, "0")) / 100.0;
        char text[VAR_NUM_BUFFER_LEN];
        std::snprintf(text, sizeof text, "%.2f", sum(item, plantilla) * rate);
        ItemText_t numbers = {VarNumBuffer(), VAR_NUM_BUFFER_LEN};
        put(arg ? static_cast<ItemText_t *>(arg) : &numbers, text);
        if (char *ctrl = static_cast<char *>(PlItemCtrl(item)))
            std::strcpy(ctrl, text);
        return ITEM_OK;
    }
    default:
        return common(item, code, arg);
    }
}

// Records what it was given in the item and answers 1000 + the code.
TEST_EXPORT int32_t TestEcoFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d %p %p", code, static_cast<void *>(plantilla), arg);
    VarSet(item, "Recibido", text);
    return 1000 + code;
}

TEST_EXPORT int32_t ItemsLoadString(int32_t id, char *buffer, size_t size)
{
    static const std::string longText(1500, 'x');
    const char *text = id == 1     ? "Identificador"
                       : id == 100 ? "Etiqueta de texto"
                       : id == 101 ? ""
                       : id == 102 ? longText.c_str()
                       : id == 800 ? "Etiqueta"
                                   : nullptr;
    ItemText_t out = {buffer, size};
    put(&out, text ? text : "");
    return text ? int32_t(std::strlen(out.pcBuffer)) : 0;
}

TEST_EXPORT void _SetLanguage(int32_t offset)
{
    g_language = offset;
}

TEST_EXPORT int32_t TestLanguage()
{
    return g_language;
}
