// Laying concept templates out on a window page and composing concepts from them.
#include "Aplicaplantillas.h"

#include "Cfgfile.h"
#include "Frmplantillas.h"
#include "dll.h"
#include "itemproto.h"
#include "plantillas.h"
#include "vars.h"

#include <QPointer>
#include <QSignalBlocker>
#include <QWidget>

#include <cstdlib>
#include <dlfcn.h>
#include <memory>
#include <optional>
#include <strings.h>
#include <vector>

namespace {

// Height of an item's control in pixels.
constexpr int kAltoControl = 20;

struct Actual {
    std::unique_ptr<Plantilla> Plantilla_;
    QPointer<QWidget> Padre;
    // Each item's cells and control (null without one): they follow its place and its
    // message 6, which no fill changes.
    std::vector<ItemRect_t> Celdas;
    std::vector<QPointer<QObject>> Controles;
    // The index of the item that is the total, once asked; -1 for none.
    std::optional<int> Total;
};

Actual &Actual_()
{
    static Actual actual;
    return actual;
}

B_AStr_t *Item(Plantilla &p, int i)
{
    return static_cast<B_AStr_t **>(p.stkItems.data)[i];
}

int Items(const Plantilla &p)
{
    return static_cast<int>(p.stkItems.used);
}

// Clears every item's control and destroys every child of padre (the plug-in's owner of
// the controls with them).
void VaciaPadre(Plantilla *plantilla, QWidget *padre)
{
    if (plantilla)
        for (int i = 0; i < Items(*plantilla); ++i)
            PlItemSetCtrl(Item(*plantilla, i), nullptr);
    if (!padre)
        return;
    while (!padre->children().isEmpty())
        delete padre->children().first();
}

// The controls hold the template they were made for: they go with it.
void BorraActual()
{
    Actual &a = Actual_();
    VaciaPadre(a.Plantilla_.get(), a.Padre);
    a.Plantilla_.reset();
    a.Padre.clear();
    a.Celdas.clear();
    a.Controles.clear();
    a.Total.reset();
}

std::string Valor(Plantilla &p, B_AStr_t *item)
{
    char buffer[ITEM_VALUE_LEN] = {};
    ItemText_t texto{buffer, sizeof buffer};
    PlItemCallFn(item, ITEM_MSG_VALUE, &p, &texto);
    return buffer;
}

ItemRect_t Celdas(Plantilla &p, B_AStr_t *item)
{
    ItemRect_t r{-1, -1, -1, -1};
    PlItemCallFn(item, ITEM_MSG_RECT, &p, &r);
    return r;
}

// Message 5 with the characters of pagina under the cells r.
void DaTexto(Plantilla &p, B_AStr_t *item, const ItemRect_t &r, const std::string &pagina)
{
    char trozo[ITEM_CONCEPT_LEN + 1] = {};
    PlConceptSlice(pagina.c_str(), &r, trozo, sizeof trozo);
    PlItemCallFn(item, ITEM_MSG_SETVALUE, &p, trozo);
}

void Recalcula(Plantilla &p)
{
    for (int i = 0; i < Items(p); ++i)
        PlItemCallFn(Item(p, i), ITEM_MSG_RECALC, &p, nullptr);
}

// The item's control, placed and given its text; null when message 6 makes none.
QWidget *Coloca(Plantilla &p, B_AStr_t *item, const ItemRect_t &r, QWidget *padre, const std::string &pagina,
                int ancho, int alto)
{
    ItemCreate_t creacion{padre, nullptr};
    PlItemCallFn(item, ITEM_MSG_CREATE, &p, &creacion);
    if (!creacion.pCtrl)
        return nullptr;
    auto *control = static_cast<QWidget *>(creacion.pCtrl);
    control->setGeometry(r.nX1 * ancho + 5, r.nY1 * alto + 5, (r.nX2 - r.nX1) * ancho, kAltoControl);
    DaTexto(p, item, r, pagina);
    control->setVisible(true);
    return control;
}

} // namespace

int IniciaPlantillas(std::string_view ruta)
{
    DLLInit();
    IniciaCfgfile();
    PlInit(std::string(ruta).c_str());
    Actual_().Plantilla_.reset();
    return 0;
}

void FinPlantillas()
{
    BorraActual();
    PlClose();
    FinCfgfile();
    DLLClose();
}

void AplicaPlantilla(QWidget *padre, int id, std::string_view pagina)
{
    Actual &a = Actual_();
    if (a.Plantilla_ && a.Plantilla_->nId == id && a.Padre == padre)
        return;
    VaciaPadre(a.Plantilla_.get(), padre);
    BorraActual();
    a.Plantilla_ = std::make_unique<Plantilla>();
    a.Padre = padre;
    Plantilla &p = *a.Plantilla_;
    if (CargaPlantilla(p, id) != 0)
        return;
    const int ancho = (padre->width() - 10) / ITEM_CONCEPT_COLS;
    const int alto = (padre->height() - 10) / ITEM_CONCEPT_ROWS;
    const std::string texto(pagina);
    for (int i = 0; i < Items(p); ++i) {
        a.Celdas.push_back(Celdas(p, Item(p, i)));
        a.Controles.emplace_back(Coloca(p, Item(p, i), a.Celdas.back(), padre, texto, ancho, alto));
    }
    Recalcula(p);
}

void RellenaPlantilla(std::string_view pagina)
{
    Actual &a = Actual_();
    Plantilla *p = a.Plantilla_.get();
    if (!p || !a.Padre)
        return;
    const std::string texto(pagina);
    for (size_t i = 0; i < a.Celdas.size(); ++i)
        if (a.Controles[i]) {
            const QSignalBlocker retenido(a.Controles[i].data());
            DaTexto(*p, Item(*p, int(i)), a.Celdas[i], texto);
        }
}

std::string ComponeTextoPlantilla(bool componer)
{
    std::string pagina;
    Actual &a = Actual_();
    if (componer) {
        pagina.assign(ITEM_CONCEPT_LEN, ' ');
        for (int i = 0; a.Plantilla_ && i < Items(*a.Plantilla_); ++i) {
            B_AStr_t *item = Item(*a.Plantilla_, i);
            const std::string valor = Valor(*a.Plantilla_, item);
            if (!valor.empty())
                PlConceptPut(pagina.data(), std::atoi(VarGet(item, ITEM_VAR_X, "0")),
                             std::atoi(VarGet(item, ITEM_VAR_Y, "0")), valor.c_str());
        }
    }
    BorraActual();
    return pagina;
}

std::string GetTotalPlantilla()
{
    Actual &a = Actual_();
    Plantilla *p = a.Plantilla_.get();
    if (!p)
        return {};
    if (!a.Total) {
        a.Total = -1;
        for (int i = 0; i < Items(*p) && a.Total < 0; ++i)
            if (strcasecmp(VarGet(Item(*p, i), ITEM_VAR_TOTAL, ""), "si") == 0)
                a.Total = i;
    }
    return *a.Total < 0 ? std::string() : Valor(*p, Item(*p, *a.Total));
}

void LiberaPlantilla()
{
    BorraActual();
}

void SetEuroPlantillas(bool euro)
{
    DLLHandle_t dll = DLLInstance("Items.dll");
    if (auto fn = dll ? reinterpret_cast<ItemSetEuroFn_t>(dlsym(dll, ITEM_EXPORT_SETEURO)) : nullptr)
        fn(euro);
}

void MuestraPlantillas()
{
    TFormPlantillas disenador;
    disenador.exec();
}
