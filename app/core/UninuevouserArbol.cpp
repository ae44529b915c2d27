// The user editor's organisation tree: the user at the root, then companies, presenters and
// issuers, edited through their dialogs.
#include "Uninuevouser.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Imagenes.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "Uniemisor.h"
#include "Uniempresa.h"
#include "Unipresentador.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// A node's key and image index.
constexpr int kRolClave = Qt::UserRole;
constexpr int kRolImagen = Qt::UserRole + 1;

// Captions by level of the selected node: add, modify, delete.
struct RotulosNivel {
    int mas, modificar, borrar;
    bool masActivo, restoActivo;
};
const RotulosNivel kRotulos[] = {
    {91, 38, 37, true, false},
    {93, 94, 98, true, true},
    {92, 96, 97, true, true},
    {10, 95, 99, false, true},
};

// Refusals by level: locked for a change, confirmation, locked for a removal.
const int kTextoBloqueado[] = {0, 656, 658, 657};
const int kTextoConfirma[] = {0, 88, 89, 90};
const int kTextoBloqueadoBaja[] = {0, 654, 655, 662};

int ImagenDe(const ElementoOrganizacion &e)
{
    if (const auto *p = std::get_if<STRPresentador>(&e.Datos))
        return cp1252::equalNoCase(p->Id_orden, "CSB19") ? ImagenCSB19 : ImagenCSB58;
    return e.Nivel() == NivelEmpresa ? ImagenEmpresa : ImagenEmisor;
}

std::string NombreDe(const ElementoOrganizacion &e)
{
    if (const auto *c = std::get_if<STREmpresa>(&e.Datos))
        return c->Nombre;
    if (const auto *p = std::get_if<STRPresentador>(&e.Datos))
        return p->Razon_social;
    return std::get<STREmisor>(e.Datos).Razon_social;
}

void PonImagen(QTreeWidgetItem *nodo, int imagen)
{
    nodo->setIcon(0, ImagenArbol(imagen));
    nodo->setData(0, kRolImagen, imagen);
}

// The width a push button needs for any of these captions.
int AnchoBoton(const QPushButton *boton, const std::vector<int> &textos)
{
    int texto = 0;
    for (int n : textos)
        texto = std::max(texto, boton->fontMetrics().horizontalAdvance(Rotulo(n).remove(QLatin1Char('&'))));
    QStyleOptionButton opcion;
    opcion.initFrom(boton);
    const QSize contenido(texto, boton->fontMetrics().height());
    return boton->style()->sizeFromContents(QStyle::CT_PushButton, &opcion, contenido, boton).width();
}

} // namespace

// The three buttons as wide as their longest caption, so that the tree keeps its width
// whatever the selected level.
void TFRMNuevoUsuario::AnchoBotonesArbol()
{
    std::vector<int> textos;
    for (const RotulosNivel &r : kRotulos)
        textos.insert(textos.end(), {r.mas, r.modificar, r.borrar});
    const int ancho = AnchoBoton(BTNMas, textos);
    for (QPushButton *boton : {BTNMas, BTNModificar, BTNBorrar})
        boton->setMinimumWidth(ancho);
}

// Entering the tree by keyboard selects its current node (or the first), as a click does.
bool TFRMNuevoUsuario::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == TREEEmpresas && evento->type() == QEvent::FocusIn && TREEEmpresas->selectedItems().isEmpty()) {
        const Qt::FocusReason razon = static_cast<QFocusEvent *>(evento)->reason();
        const bool teclado =
            razon == Qt::TabFocusReason || razon == Qt::BacktabFocusReason || razon == Qt::ShortcutFocusReason;
        QTreeWidgetItem *nodo = TREEEmpresas->currentItem();
        if (!nodo)
            nodo = TREEEmpresas->topLevelItem(0);
        if (teclado && nodo)
            TREEEmpresas->setCurrentItem(nodo);
    }
    return QDialog::eventFilter(objeto, evento);
}

int TFRMNuevoUsuario::Nivel(const QTreeWidgetItem *nodo) const
{
    int nivel = 0;
    for (; nodo && nodo->parent(); nodo = nodo->parent())
        ++nivel;
    return nivel;
}

int TFRMNuevoUsuario::Clave(const QTreeWidgetItem *nodo) const
{
    return nodo ? nodo->data(0, kRolClave).toInt() : 0;
}

void TFRMNuevoUsuario::PonNodo(QTreeWidgetItem *nodo, const ElementoOrganizacion &elemento)
{
    nodo->setText(0, cp1252::toQString(NombreDe(elemento)));
    nodo->setData(0, kRolClave, elemento.Clave);
    PonImagen(nodo, ImagenDe(elemento));
}

QTreeWidgetItem *TFRMNuevoUsuario::AnadeNodo(QTreeWidgetItem *padre, const ElementoOrganizacion &elemento)
{
    auto *nodo = new QTreeWidgetItem(padre);
    PonNodo(nodo, elemento);
    return nodo;
}

void TFRMNuevoUsuario::AnadeRaiz()
{
    TREEEmpresas->clear();
    auto *raiz = new QTreeWidgetItem(TREEEmpresas);
    raiz->setText(0, TXTCodUser->text());
    PonImagen(raiz, ImagenUsuario);
}

void TFRMNuevoUsuario::CargaArbolUsuario()
{
    const int usuario = Numero(m_idUsuario);
    Organizacion.Carga(usuario);
    AnadeRaiz();
    QTreeWidgetItem *raiz = TREEEmpresas->topLevelItem(0);
    for (const ElementoOrganizacion *empresa : Organizacion.Hijos(NivelEmpresa, usuario)) {
        QTreeWidgetItem *nodoEmpresa = AnadeNodo(raiz, *empresa);
        for (const ElementoOrganizacion *presentador : Organizacion.Hijos(NivelPresentador, empresa->Clave)) {
            QTreeWidgetItem *nodoPresentador = AnadeNodo(nodoEmpresa, *presentador);
            for (const ElementoOrganizacion *emisor : Organizacion.Hijos(NivelEmisor, presentador->Clave))
                AnadeNodo(nodoPresentador, *emisor);
        }
    }
    TREEEmpresas->expandAll();
}

QTreeWidgetItem *TFRMNuevoUsuario::NodoElegido() const
{
    const QList<QTreeWidgetItem *> seleccion = TREEEmpresas->selectedItems();
    return seleccion.isEmpty() ? nullptr : seleccion.first();
}

void TFRMNuevoUsuario::TREEEmpresasChange()
{
    const QTreeWidgetItem *nodo = NodoElegido();
    if (!nodo) {
        for (QPushButton *boton : {BTNMas, BTNModificar, BTNBorrar})
            boton->setEnabled(false);
        return;
    }
    const RotulosNivel &r = kRotulos[Nivel(nodo)];
    BTNMas->setText(Rotulo(r.mas, u'd'));
    BTNModificar->setText(Rotulo(r.modificar, u'M'));
    BTNBorrar->setText(Rotulo(r.borrar, u'B'));
    BTNMas->setEnabled(r.masActivo);
    BTNModificar->setEnabled(r.restoActivo);
    BTNBorrar->setEnabled(r.restoActivo);
}

bool TFRMNuevoUsuario::Bloqueado(NivelOrganizacion nivel, int clave) const
{
    if (clave <= 0)
        return false; // not written yet: nobody else can hold it
    _multiuser *multiuser = App().Multiuser;
    switch (nivel) {
    case NivelEmpresa: return multiuser->GetBloqueoEmpresa(clave) > 0;
    case NivelPresentador: return multiuser->GetBloqueoPresentador(clave) > 0;
    default: return multiuser->GetBloqueoEmisor(clave) > 0;
    }
}

void TFRMNuevoUsuario::BTNMasClick()
{
    QTreeWidgetItem *nodo = NodoElegido();
    if (!nodo)
        return;
    switch (Nivel(nodo)) {
    case NivelUsuario: AnadeEmpresa(nodo); break;
    case NivelEmpresa: AnadePresentador(nodo); break;
    case NivelPresentador: AnadeEmisor(nodo); break;
    default: break;
    }
}

void TFRMNuevoUsuario::AnadeEmpresa(QTreeWidgetItem *nodo)
{
    TFRMEmpresa *dialogo = App().FRMEmpresa;
    dialogo->setWindowTitle(Rotulo(91));
    dialogo->PreparaAlta(Organizacion);
    if (dialogo->exec() != QDialog::Accepted)
        return;
    const int clave = Organizacion.Alta(Organizacion.IdUsuario(), dialogo->Lee());
    AnadeNodo(nodo, *Organizacion.Busca(NivelEmpresa, clave));
    TREEEmpresas->expandAll();
}

void TFRMNuevoUsuario::AnadePresentador(QTreeWidgetItem *nodo)
{
    TFRMPresentador *dialogo = App().FRMPresentador;
    dialogo->setWindowTitle(Rotulo(93));
    dialogo->PreparaAlta(Organizacion, Clave(nodo), 0);
    if (dialogo->exec() != QDialog::Accepted)
        return;
    const int clave = Organizacion.Alta(Clave(nodo), dialogo->Lee());
    AnadeNodo(nodo, *Organizacion.Busca(NivelPresentador, clave));
    TREEEmpresas->expandAll();
}

void TFRMNuevoUsuario::AnadeEmisor(QTreeWidgetItem *nodo)
{
    TFRMEmisores *dialogo = App().FRMEmisores;
    dialogo->setWindowTitle(Rotulo(92));
    dialogo->PreparaAlta(Organizacion, Clave(nodo));
    if (dialogo->exec() != QDialog::Accepted)
        return;
    const int clave = Organizacion.Alta(Clave(nodo), dialogo->Lee());
    AnadeNodo(nodo, *Organizacion.Busca(NivelEmisor, clave));
    TREEEmpresas->expandAll();
}

void TFRMNuevoUsuario::BTNModificarClick()
{
    QTreeWidgetItem *nodo = NodoElegido();
    if (!nodo || Nivel(nodo) == NivelUsuario)
        return;
    const auto nivel = NivelOrganizacion(Nivel(nodo));
    const int clave = Clave(nodo);
    if (Bloqueado(nivel, clave)) {
        AvisoTexto(kTextoBloqueado[nivel], 6, IconoMensaje::Informacion);
        return;
    }
    Organizacion.Relee(nivel, clave);
    const ElementoOrganizacion *elemento = Organizacion.Busca(nivel, clave);
    if (!elemento)
        return;
    const int padre = Clave(nodo->parent());
    bool aceptado = false;
    DatosOrganizacion datos;
    if (nivel == NivelEmpresa) {
        TFRMEmpresa *dialogo = App().FRMEmpresa;
        dialogo->setWindowTitle(Rotulo(94));
        dialogo->PreparaModificacion(Organizacion, clave, std::get<STREmpresa>(elemento->Datos));
        if ((aceptado = dialogo->exec() == QDialog::Accepted))
            datos = dialogo->Lee();
    } else if (nivel == NivelPresentador) {
        TFRMPresentador *dialogo = App().FRMPresentador;
        dialogo->setWindowTitle(Rotulo(96));
        dialogo->PreparaModificacion(Organizacion, padre, clave, std::get<STRPresentador>(elemento->Datos),
                                     nodo->childCount() > 0);
        if ((aceptado = dialogo->exec() == QDialog::Accepted))
            datos = dialogo->Lee();
    } else {
        TFRMEmisores *dialogo = App().FRMEmisores;
        dialogo->setWindowTitle(Rotulo(95));
        dialogo->PreparaModificacion(Organizacion, padre, clave, std::get<STREmisor>(elemento->Datos));
        if ((aceptado = dialogo->exec() == QDialog::Accepted))
            datos = dialogo->Lee();
    }
    if (!aceptado)
        return;
    Organizacion.Modifica(nivel, clave, datos);
    PonNodo(nodo, *Organizacion.Busca(nivel, clave));
}

void TFRMNuevoUsuario::BTNBorrarClick()
{
    QTreeWidgetItem *nodo = NodoElegido();
    if (!nodo || Nivel(nodo) == NivelUsuario)
        return;
    const auto nivel = NivelOrganizacion(Nivel(nodo));
    const int clave = Clave(nodo);
    // What forbids the deletion is said first, without the question.
    if (const int texto = Organizacion.TextoDependientes(nivel, clave)) {
        AvisoTexto(texto, 6, nivel == NivelEmisor ? IconoMensaje::Informacion : IconoMensaje::Ninguno);
        return;
    }
    if (Bloqueado(nivel, clave)) {
        AvisoTexto(kTextoBloqueadoBaja[nivel], 6, IconoMensaje::Informacion);
        return;
    }
    if (AvisoTexto(kTextoConfirma[nivel], 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) != RespuestaSi)
        return;
    Organizacion.Baja(nivel, clave);
    delete nodo;
}
