// The import template editor: its window, the two trees, the kinds, fields and links, and
// the template commands. The sample grid is in UnidefinirimportRejilla.cpp.
#include "Unidefinirimport.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Lineas.h"
#include "ModeloMuestra.h"
#include "Unialtacampo.h"
#include "Unialtalinea.h"
#include "Uniopcsimport.h"
#include "cp1252.h"
#include "progdir.h"
#include "qcp1252.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMaxDescriptor = 20;
constexpr size_t kMaxTipo = 49;

// The images of the trees: 0 an unlinked column or field, 1 a linked one, 2 a table or kind.
QIcon Imagen(const QWidget *ventana, int imagen)
{
    static constexpr QStyle::StandardPixmap kImagenes[] = {QStyle::SP_FileIcon, QStyle::SP_DialogApplyButton,
                                                           QStyle::SP_DirIcon};
    return ventana->style()->standardIcon(kImagenes[imagen]);
}

// The value box in the normal colour or grey.
void Gris(QLineEdit *caja, bool gris)
{
    QPalette paleta = caja->style()->standardPalette();
    if (gris)
        paleta.setColor(QPalette::Base, QColor(Qt::lightGray));
    caja->setPalette(paleta);
}

} // namespace

TFRMDefinirimport::TFRMDefinirimport(QWidget *parent)
    : QDialog(parent), LBLArchivo(new QLabel(this)), Grid(new QTableView(this)), Muestra(new ModeloMuestra(this)),
      GroupBox1(new QGroupBox(this)), GroupBox2(new QGroupBox(this)), Tree1(new QTreeWidget(GroupBox1)),
      Tree2(new QTreeWidget(this)), Label1(new QLabel(GroupBox2)), Label2(new QLabel(GroupBox2)),
      Label3(new QLabel(GroupBox2)), Label4(new QLabel(GroupBox2)), Label5(new QLabel(GroupBox2)),
      Label6(new QLabel(GroupBox2)), Label7(new QLabel(GroupBox1)), Label8(new QLabel(GroupBox1)),
      TXTLinea(new QLineEdit(GroupBox2)), TXTDesde(new QLineEdit(GroupBox2)), TXTTam(new QLineEdit(GroupBox2)),
      TXTValor(new QLineEdit(GroupBox2)), TXTDescripcion(new QLineEdit(GroupBox2)), TXTTipo(new QLineEdit(GroupBox2)),
      TXTTamtv(new QLineEdit(GroupBox1)), TXTTipotv(new QLineEdit(GroupBox1)), BTNAbrir(new QPushButton(this)),
      BTNAbrirusuario(new QPushButton(this)), BTNOpciones(new QPushButton(this)), BTNAceptar(new QPushButton(this)),
      BTNCancelar(new QPushButton(this)), BTNNuevatabla(new QPushButton(this)), BTNMas(new QPushButton(this)),
      BTNModif(new QPushButton(this)), BTNBorrar(new QPushButton(this)), BTNAsociar(new QPushButton(">:<", this)),
      BTNDespejar(new QPushButton("<:>", this)), OpenDialog1(new QFileDialog(this)), SaveDiag1(new QFileDialog(this))
{
    setObjectName("FRMDefinirimport");
    Construye();
}

TFRMDefinirimport::~TFRMDefinirimport()
{
    SoltarDialogos();
}

void TFRMDefinirimport::Construye()
{
    Grid->setModel(Muestra);
    PreparaRejilla();
    for (QTreeWidget *arbol : {Tree1, Tree2}) {
        arbol->setHeaderHidden(true);
        arbol->setColumnCount(1);
    }
    for (QLineEdit *caja : {TXTLinea, TXTDesde, TXTTam, TXTValor, TXTDescripcion, TXTTipo, TXTTamtv, TXTTipotv})
        caja->setReadOnly(true);
    SoloDigitos({TXTLinea, TXTDesde, TXTTam, TXTTamtv});
    TXTValor->setMaxLength(kMaxDescriptor);
    TXTDescripcion->setMaxLength(79);
    TXTTipo->setMaxLength(int(kMaxTipo));
    for (QPushButton *b : {BTNAbrirusuario, BTNNuevatabla, BTNAceptar, BTNOpciones, BTNMas, BTNModif, BTNBorrar,
                           BTNAsociar, BTNDespejar})
        b->setEnabled(false);
    for (QFileDialog *d : {OpenDialog1, SaveDiag1})
        d->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    SaveDiag1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDiag1->setWindowTitle(cp1252::toQString("Salvar archivo importaci\xF3n"));
    SaveDiag1->setDefaultSuffix(QStringLiteral("sec"));
    SaveDiag1->setNameFilters({QStringLiteral("Archivos importacion secuencial (*.sec)"),
                               QStringLiteral("Todos los archivos (*.*)")});

    auto *comandos = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{BTNAbrir, BTNAbrirusuario, BTNOpciones})
        comandos->addWidget(w);
    comandos->addWidget(LBLArchivo, 1);

    auto *catalogo = new QGridLayout(GroupBox1);
    catalogo->addWidget(Tree1, 0, 0, 1, 4);
    catalogo->addWidget(Label7, 1, 0);
    catalogo->addWidget(TXTTamtv, 1, 1);
    catalogo->addWidget(Label8, 1, 2);
    catalogo->addWidget(TXTTipotv, 1, 3);
    auto *enlaces = new QVBoxLayout;
    enlaces->addStretch();
    enlaces->addWidget(BTNAsociar);
    enlaces->addWidget(BTNDespejar);
    enlaces->addStretch();
    auto *tipos = new QVBoxLayout;
    tipos->addWidget(Tree2, 1);
    auto *botonesTipos = new QGridLayout;
    botonesTipos->addWidget(BTNNuevatabla, 0, 0);
    botonesTipos->addWidget(BTNMas, 0, 1);
    botonesTipos->addWidget(BTNModif, 1, 0);
    botonesTipos->addWidget(BTNBorrar, 1, 1);
    tipos->addLayout(botonesTipos);
    auto *datos = new QGridLayout(GroupBox2);
    const std::pair<QLabel *, QLineEdit *> filas[] = {{Label1, TXTLinea}, {Label2, TXTDesde}, {Label3, TXTTam},
                                                      {Label4, TXTValor}, {Label5, TXTDescripcion}, {Label6, TXTTipo}};
    for (int f = 0; f < 6; ++f) {
        datos->addWidget(filas[f].first, f, 0);
        datos->addWidget(filas[f].second, f, 1);
    }
    datos->setRowStretch(6, 1);
    auto *abajo = new QHBoxLayout;
    abajo->addWidget(GroupBox1, 3);
    abajo->addLayout(enlaces);
    abajo->addLayout(tipos, 2);
    abajo->addWidget(GroupBox2, 2);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    auto *vertical = new QVBoxLayout(this);
    vertical->addLayout(comandos);
    vertical->addWidget(Grid, 3);
    vertical->addLayout(abajo, 2);
    vertical->addLayout(botones);
    resize(900, 640);

    connect(BTNAbrir, &QPushButton::clicked, this, &TFRMDefinirimport::BTNAbrirClick);
    connect(BTNAbrirusuario, &QPushButton::clicked, this, &TFRMDefinirimport::BTNAbrirusuarioClick);
    connect(BTNOpciones, &QPushButton::clicked, this, &TFRMDefinirimport::BTNOpcionesClick);
    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMDefinirimport::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &TFRMDefinirimport::BTNCancelarClick);
    connect(BTNNuevatabla, &QPushButton::clicked, this, &TFRMDefinirimport::BTNNuevatablaClick);
    connect(BTNMas, &QPushButton::clicked, this, &TFRMDefinirimport::BTNMasClick);
    connect(BTNModif, &QPushButton::clicked, this, &TFRMDefinirimport::BTNModifClick);
    connect(BTNBorrar, &QPushButton::clicked, this, &TFRMDefinirimport::BTNBorrarClick);
    connect(BTNAsociar, &QPushButton::clicked, this, &TFRMDefinirimport::BTNAsociarClick);
    connect(BTNDespejar, &QPushButton::clicked, this, &TFRMDefinirimport::BTNDespejarClick);
    connect(Tree1, &QTreeWidget::currentItemChanged, this, &TFRMDefinirimport::Tree1Change);
    connect(Tree2, &QTreeWidget::currentItemChanged, this, &TFRMDefinirimport::Tree2Change);
    connect(Tree2, &QTreeWidget::itemClicked, this, &TFRMDefinirimport::Tree2Change);
    connect(TXTValor, &QLineEdit::textChanged, this, &TFRMDefinirimport::TXTValorChange);
    connect(TXTDescripcion, &QLineEdit::editingFinished, this, &TFRMDefinirimport::TXTDescripcionExit);
    for (QLineEdit *caja : {TXTLinea, TXTDesde, TXTTam})
        connect(caja, &QLineEdit::textChanged, this, [this, caja] { TXTLineaChange(caja); });
}

void TFRMDefinirimport::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        FormShow();
}

void TFRMDefinirimport::AplicarTextosEditor()
{
    setWindowTitle(Rotulo(357));
    GroupBox1->setTitle(Rotulo(514));
    GroupBox2->setTitle(Rotulo(585));
    Label1->setText(Rotulo(511));
    Label2->setText(Rotulo(512));
    Label3->setText(Rotulo(587) + ":");
    Label4->setText(Rotulo(586) + ":");
    Label5->setText(Rotulo(188) + ":");
    Label6->setText(Rotulo(515));
    Label7->setText(Rotulo(587) + ":");
    Label8->setText(Rotulo(515) + ":");
    BTNAbrir->setText("&" + Rotulo(539));
    BTNAbrirusuario->setText(Rotulo(614));
    BTNOpciones->setText("&" + Rotulo(588));
    BTNAceptar->setText(Rotulo(556));
    BTNCancelar->setText(Rotulo(3));
    // The C, the B and the O are Cancelar's, Abrir plantilla's and Opciones'.
    BTNNuevatabla->setText(Rotulo(517, u'N'));
    BTNMas->setText(Rotulo(563, u'd'));
    BTNModif->setText(Rotulo(38, u'M'));
    BTNBorrar->setText(Rotulo(37, u'r'));
}

void TFRMDefinirimport::FormShow()
{
    AplicarTextosEditor();
    m_ocupado = true;
    m_arrastrando = false;
    m_teclas = false;
    m_linea = 1;
    m_modificado = false;
    Muestra->Vacia();
    TXTTipo->setText(QStringLiteral("0"));
    CargaCatalogo();
    Grid->scrollToTop();
    VaciaTipos();
    for (QPushButton *b : {BTNAbrirusuario, BTNMas, BTNBorrar, BTNModif, BTNNuevatabla})
        b->setEnabled(false);
    LBLArchivo->setText(Rotulo(496));
    TXTDescripcion->clear();
    SaveDiag1->selectFile(QString());
    TXTValor->setText(QStringLiteral("0"));
    PonZona(1, 1, 1);
    m_ocupado = false;
}

// ---- The model behind the trees ----

TipoRegistro &TFRMDefinirimport::Tipo(QTreeWidgetItem *item)
{
    QTreeWidgetItem *tipo = item->parent() ? item->parent() : item;
    return m_plantilla[size_t(Tree2->indexOfTopLevelItem(tipo))];
}

CampoPlantilla &TFRMDefinirimport::Campo(QTreeWidgetItem *campo)
{
    return Tipo(campo).Campos[size_t(campo->parent()->indexOfChild(campo))];
}

ColumnaCatalogo *TFRMDefinirimport::Columna(int nodo)
{
    int n = 0;
    for (TablaCatalogo &t : m_catalogo.Tablas) {
        ++n;
        if (nodo > n && nodo <= n + int(t.Columnas.size()))
            return &t.Columnas[size_t(nodo - n - 1)];
        n += int(t.Columnas.size());
    }
    return nullptr;
}

int TFRMDefinirimport::NodoColumna(QTreeWidgetItem *columna) const
{
    const int tabla = Tree1->indexOfTopLevelItem(columna->parent());
    int n = 0;
    for (int t = 0; t < tabla; ++t)
        n += 1 + int(m_catalogo.Tablas[size_t(t)].Columnas.size());
    return n + 2 + columna->parent()->indexOfChild(columna);
}

QTreeWidgetItem *TFRMDefinirimport::ItemColumna(int nodo) const
{
    int n = 0;
    for (int t = 0; t < Tree1->topLevelItemCount(); ++t) {
        QTreeWidgetItem *tabla = Tree1->topLevelItem(t);
        ++n;
        if (nodo > n && nodo <= n + tabla->childCount())
            return tabla->child(nodo - n - 1);
        n += tabla->childCount();
    }
    return nullptr;
}

QTreeWidgetItem *TFRMDefinirimport::ItemCampoEnlazado(int nodo) const
{
    if (nodo <= 0)
        return nullptr;
    for (size_t t = 0; t < m_plantilla.size(); ++t)
        for (size_t c = 0; c < m_plantilla[t].Campos.size(); ++c)
            if (m_plantilla[t].Campos[c].Enlace == nodo)
                return Tree2->topLevelItem(int(t))->child(int(c));
    return nullptr;
}

void TFRMDefinirimport::PintaColumna(QTreeWidgetItem *columna)
{
    const ColumnaCatalogo *c = Columna(NodoColumna(columna));
    const QTreeWidgetItem *campo = ItemCampoEnlazado(NodoColumna(columna));
    QString texto = cp1252::toQString(c->Descripcion);
    if (campo)
        texto += " : " + campo->text(0);
    columna->setText(0, texto);
    columna->setIcon(0, Imagen(this, campo ? 1 : 0));
    QFont letra = Tree1->font();
    letra.setBold(c->Requerido);
    columna->setFont(0, letra);
}

void TFRMDefinirimport::PintaCampo(QTreeWidgetItem *campo)
{
    const CampoPlantilla &c = Campo(campo);
    campo->setText(0, cp1252::toQString(c.Nombre));
    campo->setIcon(0, Imagen(this, c.Enlace ? 1 : 0));
}

void TFRMDefinirimport::CargaCatalogo()
{
    const bool ocupado = std::exchange(m_ocupado, true);
    Tree1->clear();
    m_catalogo = CargarCamposPrograma(progdir::file("tablas.dat"));
    for (const TablaCatalogo &t : m_catalogo.Tablas) {
        auto *tabla = new QTreeWidgetItem(Tree1, {cp1252::toQString(t.NombreVisible())});
        tabla->setIcon(0, Imagen(this, 2));
        for (size_t c = 0; c < t.Columnas.size(); ++c)
            new QTreeWidgetItem(tabla);
    }
    PintaRequeridos();
    m_ocupado = ocupado;
}

void TFRMDefinirimport::PintaRequeridos()
{
    for (int t = 0; t < Tree1->topLevelItemCount(); ++t)
        for (int c = 0; c < Tree1->topLevelItem(t)->childCount(); ++c)
            PintaColumna(Tree1->topLevelItem(t)->child(c));
}

void TFRMDefinirimport::AplicaTipoOrden(bool conNIE)
{
    const bool csb58 = cp1252::equalNoCase(App().FRMOpcionImport->Opciones.Tipos_orden, "CSB58");
    if (ColumnaCatalogo *c = Columna(m_catalogo.NodoVencimiento))
        c->Requerido = csb58;
    if (ColumnaCatalogo *c = conNIE ? Columna(m_catalogo.NodoNIE) : nullptr)
        c->Requerido = csb58;
    PintaRequeridos();
}

bool TFRMDefinirimport::FaltanRequeridos() const
{
    int nodo = 0;
    for (const TablaCatalogo &t : m_catalogo.Tablas) {
        ++nodo;
        for (const ColumnaCatalogo &c : t.Columnas)
            if (++nodo, c.Requerido && !ItemCampoEnlazado(nodo))
                return true;
    }
    return false;
}

void TFRMDefinirimport::VaciaTipos()
{
    const bool ocupado = std::exchange(m_ocupado, true);
    Tree2->clear();
    m_plantilla.clear();
    m_ocupado = ocupado;
}

QTreeWidgetItem *TFRMDefinirimport::AnadeTipo(const TipoRegistro &tipo)
{
    m_plantilla.push_back(tipo);
    m_plantilla.back().Campos.clear();
    auto *item = new QTreeWidgetItem(Tree2, {cp1252::toQString(tipo.Nombre)});
    item->setIcon(0, Imagen(this, 2));
    return item;
}

QTreeWidgetItem *TFRMDefinirimport::AnadeCampo(QTreeWidgetItem *tipo, const CampoPlantilla &campo)
{
    Tipo(tipo).Campos.push_back(campo);
    auto *item = new QTreeWidgetItem(tipo);
    PintaCampo(item);
    tipo->setExpanded(true);
    return item;
}

// ---- Selections ----

void TFRMDefinirimport::Habilita(bool asociar, bool despejar)
{
    BTNAsociar->setEnabled(asociar);
    BTNDespejar->setEnabled(despejar);
}

void TFRMDefinirimport::Tree1Change()
{
    QTreeWidgetItem *item = Tree1->currentItem();
    if (m_ocupado || !item)
        return;
    if (!item->parent()) {
        TXTTamtv->clear();
        TXTTipotv->clear();
        Habilita(false, false);
        return;
    }
    const int nodo = NodoColumna(item);
    const ColumnaCatalogo *c = Columna(nodo);
    PonNumeroCaja(TXTTamtv, c->Tamano);
    TXTTipotv->setText(cp1252::toQString(c->Tipo));
    if (QTreeWidgetItem *campo = ItemCampoEnlazado(nodo)) {
        Tree2->setCurrentItem(campo);
        Habilita(false, true);
        return;
    }
    QTreeWidgetItem *seleccion = Tree2->currentItem();
    Habilita(seleccion && seleccion->parent() && Campo(seleccion).Enlace == 0, false);
}

void TFRMDefinirimport::Tree2Change()
{
    if (m_ocupado)
        return;
    QTreeWidgetItem *item = Tree2->currentItem();
    if (!item) {
        for (QPushButton *b : {BTNBorrar, BTNModif, BTNMas, BTNAsociar, BTNDespejar})
            b->setEnabled(false);
        return;
    }
    TXTDescripcion->setText(item->text(0));
    TXTTipo->clear();
    BTNBorrar->setEnabled(true);
    BTNModif->setEnabled(true);
    if (!item->parent()) {
        const TipoRegistro &t = Tipo(item);
        Gris(TXTValor, false);
        Gris(TXTTipo, true);
        BTNMas->setEnabled(true);
        Habilita(false, false);
        TXTValor->setText(cp1252::toQString(t.Descriptor));
        PonZona(t.LineaMuestra, t.Desde, t.Tamano);
        return;
    }
    const CampoPlantilla &c = Campo(item);
    Gris(TXTValor, true);
    Gris(TXTTipo, false);
    TXTTipo->setText(cp1252::toQString(c.Tipo));
    TXTValor->setText(QStringLiteral("0"));
    PonZona(c.LineaMuestra, c.Desde, c.Tamano);
    if (c.Enlace) {
        Tree1->setCurrentItem(ItemColumna(c.Enlace));
        Habilita(false, true);
        return;
    }
    QTreeWidgetItem *columna = Tree1->currentItem();
    Habilita(columna && (!columna->parent() || !ItemCampoEnlazado(NodoColumna(columna))), false);
}

void TFRMDefinirimport::TXTValorChange()
{
    if (TXTValor->text().isEmpty())
        TXTValor->setText(QStringLiteral("0"));
}

void TFRMDefinirimport::TXTDescripcionExit()
{
    TXTDescripcion->setText(TXTDescripcion->text().remove(QLatin1Char(' ')));
}

// ---- Kinds and fields ----

bool TFRMDefinirimport::DialogoAbierto() const
{
    return App().FRMAltaLinea->isVisible() || App().FRMAltaCampo->isVisible();
}

void TFRMDefinirimport::SoltarDialogos()
{
    if (App().FRMAltaLinea && App().FRMAltaLinea->parentWidget() == this)
        App().FRMAltaLinea->Suelta();
    if (App().FRMAltaCampo && App().FRMAltaCampo->parentWidget() == this)
        App().FRMAltaCampo->Suelta();
}

bool TFRMDefinirimport::NombreValido(const std::string &nombre, const TipoRegistro *tipo, const void *propio,
                                     std::string &error) const
{
    const int texto = NombreRechazado(nombre, m_plantilla, tipo, propio);
    if (texto)
        error = Idioma.GetTexto(texto);
    return texto == 0;
}

void TFRMDefinirimport::BTNNuevatablaClick()
{
    if (DialogoAbierto())
        return;
    App().FRMAltaLinea->PrepararLinea(this, 0, nullptr);
    App().FRMAltaLinea->show();
}

bool TFRMDefinirimport::AltaTabla(std::string &error)
{
    const TFRMAltaLinea *dialogo = App().FRMAltaLinea;
    if (NombrePlantilla(TextoCaja(dialogo->TXTDescripcion), false).empty()) {
        error = Idioma.GetTexto(500);
        return false;
    }
    if (dialogo->TXTValor->text().isEmpty()) {
        error = Idioma.GetTexto(501);
        return false;
    }
    if (dialogo->TXTValor->text().toInt() == 0)
        PonTextoCaja(TXTValor, Muestra->Texto(m_linea, NumeroCaja(TXTDesde, 1), NumeroCaja(TXTTam, 0)));
    TipoRegistro tipo;
    tipo.Nombre = NombrePlantilla(TextoCaja(TXTDescripcion), false);
    tipo.Desde = NumeroCaja(TXTDesde, 0);
    tipo.Tamano = std::min(NumeroCaja(TXTTam, 0), kMaxDescriptor);
    tipo.Descriptor = TextoCaja(TXTValor).substr(0, size_t(std::max(tipo.Tamano, 0)));
    tipo.LineaMuestra = m_linea;
    for (const TipoRegistro &t : m_plantilla)
        if (t.Descriptor == tipo.Descriptor) {
            error = Idioma.GetTexto(520);
            return false;
        }
    if (!NombreValido(tipo.Nombre, nullptr, nullptr, error) || !DescriptorValido(tipo.Descriptor, error))
        return false;
    m_ocupado = true;
    Tree2->setCurrentItem(AnadeTipo(tipo));
    m_modificado = true;
    m_ocupado = false;
    return true;
}

bool TFRMDefinirimport::CabeEnLinea(QTreeWidgetItem *nodo, const std::string &nombre, std::string &error)
{
    if (NumeroCaja(TXTTam, 0) <= kMaxLinea)
        return true;
    error = FormateaTexto(Idioma.GetTexto(730), Tipo(nodo).Nombre + "." + nombre);
    return false;
}

bool TFRMDefinirimport::DescriptorValido(const std::string &descriptor, std::string &error) const
{
    const int texto = descriptor.find(',') != std::string::npos    ? 1000
                      : descriptor.find('\n') != std::string::npos ? 735
                      : descriptor.starts_with(' ')                 ? 736
                                                                    : 0;
    if (texto)
        error = Idioma.GetTexto(texto);
    return texto == 0;
}

void TFRMDefinirimport::BTNMasClick()
{
    if (DialogoAbierto())
        return;
    App().FRMAltaCampo->PrepararCampo(this, 0, Tree2->currentItem());
    App().FRMAltaCampo->show();
}

bool TFRMDefinirimport::AltaCampo(QTreeWidgetItem *nodo, std::string &error)
{
    if (!nodo)
        return false;
    const TFRMAltaCampo *dialogo = App().FRMAltaCampo;
    if (NombrePlantilla(TextoCaja(dialogo->TXTDescripcion), true).empty() ||
        dialogo->TXTTipo->currentText().isEmpty()) {
        error = Idioma.GetTexto(503);
        return false;
    }
    TXTDescripcion->setText(dialogo->TXTDescripcion->text());
    TXTTipo->setText(dialogo->TXTTipo->currentText());
    QTreeWidgetItem *tipo = nodo->parent() ? nodo->parent() : nodo;
    CampoPlantilla campo;
    campo.Nombre = NombrePlantilla(TextoCaja(TXTDescripcion), true);
    campo.LineaMuestra = NumeroCaja(TXTLinea, 1);
    if (campo.LineaMuestra != Tipo(tipo).LineaMuestra) {
        error = Idioma.GetTexto(521);
        return false;
    }
    if (!NombreValido(campo.Nombre, &Tipo(tipo), nullptr, error) || !CabeEnLinea(tipo, campo.Nombre, error))
        return false;
    campo.Tamano = NumeroCaja(TXTTam, 0);
    campo.Tipo = TextoCaja(TXTTipo).substr(0, kMaxTipo);
    campo.Desde = NumeroCaja(TXTDesde, 0);
    m_ocupado = true;
    Tree2->setCurrentItem(AnadeCampo(tipo, campo));
    m_modificado = true;
    m_ocupado = false;
    return true;
}

void TFRMDefinirimport::BTNModifClick()
{
    QTreeWidgetItem *item = Tree2->currentItem();
    if (!item || DialogoAbierto())
        return;
    if (!item->parent()) {
        App().FRMAltaLinea->PrepararLinea(this, 1, item);
        App().FRMAltaLinea->show();
    } else {
        App().FRMAltaCampo->PrepararCampo(this, 1, item);
        App().FRMAltaCampo->show();
    }
}

bool TFRMDefinirimport::ModificarNodo(QTreeWidgetItem *nodo, std::string &error)
{
    if (!nodo)
        return false;
    if (!nodo->parent()) {
        if (!ModificarTipo(nodo, error))
            return false;
    } else if (!ModificarCampo(nodo, error)) {
        return false;
    }
    m_modificado = true;
    return true;
}

bool TFRMDefinirimport::ModificarTipo(QTreeWidgetItem *nodo, std::string &error)
{
    const TFRMAltaLinea *dialogo = App().FRMAltaLinea;
    TipoRegistro &tipo = Tipo(nodo);
    const std::string nombre = NombrePlantilla(TextoCaja(dialogo->TXTDescripcion), false);
    const std::string valor = TextoCaja(dialogo->TXTValor);
    if (nombre.empty()) {
        error = Idioma.GetTexto(500);
        return false;
    }
    if (valor.empty()) {
        error = Idioma.GetTexto(501);
        return false;
    }
    const int tamano = std::clamp(NumeroCaja(TXTTam, 0), 0, kMaxDescriptor);
    const std::string descriptor = valor.substr(0, size_t(tamano));
    for (const TipoRegistro &t : m_plantilla)
        if (&t != &tipo && t.Descriptor == descriptor) {
            error = Idioma.GetTexto(520);
            return false;
        }
    if (!NombreValido(nombre, nullptr, &tipo, error) || !DescriptorValido(descriptor, error))
        return false;
    TXTDescripcion->setText(dialogo->TXTDescripcion->text());
    TXTValor->setText(dialogo->TXTValor->text());
    tipo.Nombre = nombre;
    nodo->setText(0, cp1252::toQString(nombre));
    tipo.Desde = NumeroCaja(TXTDesde, 0);
    tipo.Tamano = tamano;
    if (tipo.Campos.empty())
        tipo.LineaMuestra = NumeroCaja(TXTLinea, 1);
    tipo.Descriptor = descriptor;
    return true;
}

// A refused change leaves the field as it was, its link included.
bool TFRMDefinirimport::ModificarCampo(QTreeWidgetItem *nodo, std::string &error)
{
    TFRMAltaCampo *dialogo = App().FRMAltaCampo;
    CampoPlantilla &campo = Campo(nodo);
    const std::string nombre = NombrePlantilla(TextoCaja(dialogo->TXTDescripcion), true);
    if (nombre.empty()) {
        error = Idioma.GetTexto(500);
        return false;
    }
    if (NumeroCaja(TXTLinea, 1) != campo.LineaMuestra) {
        PonNumeroCaja(dialogo->TXTLinea, campo.LineaMuestra);
        error = Idioma.GetTexto(521);
        return false;
    }
    if (!NombreValido(nombre, &Tipo(nodo), &campo, error) || !CabeEnLinea(nodo, nombre, error))
        return false;
    if (campo.Enlace)
        Desenlaza(nodo);
    TXTDescripcion->setText(dialogo->TXTDescripcion->text());
    TXTTipo->setText(dialogo->TXTTipo->currentText());
    campo.Nombre = nombre;
    campo.Tamano = NumeroCaja(TXTTam, 0);
    campo.Tipo = TextoCaja(TXTTipo).substr(0, kMaxTipo);
    campo.Desde = NumeroCaja(TXTDesde, 0);
    campo.Marca = 0;
    PintaCampo(nodo);
    return true;
}

void TFRMDefinirimport::BTNBorrarClick()
{
    QTreeWidgetItem *item = Tree2->currentItem();
    if (!item)
        return;
    if (item->parent()) {
        if (AvisoTexto(502, 6, IconoMensaje::Ninguno, BotonesMensaje::SiNo) != RespuestaSi)
            return;
        BorrarCampo(item);
    } else {
        if (AvisoTexto(495, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) == RespuestaNo)
            return;
        for (int c = item->childCount() - 1; c >= 0; --c)
            BorrarCampo(item->child(c));
        m_ocupado = true;
        m_plantilla.erase(m_plantilla.begin() + Tree2->indexOfTopLevelItem(item));
        delete item;
        m_modificado = true;
        m_ocupado = false;
    }
    // The node that took the selection, once the model matches the tree again.
    Tree2Change();
}

void TFRMDefinirimport::BorrarCampo(QTreeWidgetItem *campo)
{
    if (Campo(campo).Enlace)
        Desenlaza(campo);
    m_ocupado = true;
    std::vector<CampoPlantilla> &campos = Tipo(campo).Campos;
    campos.erase(campos.begin() + campo->parent()->indexOfChild(campo));
    delete campo;
    m_modificado = true;
    m_ocupado = false;
}

// ---- Links ----

void TFRMDefinirimport::BTNAsociarClick()
{
    QTreeWidgetItem *columna = Tree1->currentItem();
    QTreeWidgetItem *campo = Tree2->currentItem();
    if (!columna || !columna->parent() || !campo || !campo->parent())
        return;
    const int nodo = NodoColumna(columna);
    if (ItemCampoEnlazado(nodo) || Campo(campo).Enlace)
        return;
    const ColumnaCatalogo *c = Columna(nodo);
    if (c->Tamano < Campo(campo).Tamano) {
        CajaMensaje(Idioma.GetTexto(506) + std::to_string(c->Tamano), Idioma.GetTexto(1), IconoMensaje::Error);
        return;
    }
    Campo(campo).Enlace = nodo;
    PintaCampo(campo);
    PintaColumna(columna);
    m_modificado = true;
    Habilita(false, true);
}

void TFRMDefinirimport::Desenlaza(QTreeWidgetItem *campo)
{
    QTreeWidgetItem *columna = ItemColumna(Campo(campo).Enlace);
    Campo(campo).Enlace = 0;
    PintaCampo(campo);
    if (columna)
        PintaColumna(columna);
}

void TFRMDefinirimport::BTNDespejarClick()
{
    QTreeWidgetItem *columna = Tree1->currentItem();
    QTreeWidgetItem *campo = columna && columna->parent() ? ItemCampoEnlazado(NodoColumna(columna)) : nullptr;
    if (!campo)
        return;
    Desenlaza(campo);
    m_modificado = true;
    Habilita(true, false);
}

// ---- Template commands ----

void TFRMDefinirimport::BTNOpcionesClick()
{
    App().FRMOpcionImport->exec();
    AplicaTipoOrden(false);
}

void TFRMDefinirimport::BTNAceptarClick()
{
    if (FaltanRequeridos())
        AvisoTexto(497, 6, IconoMensaje::Informacion);
    if (SaveDiag1->exec() != QDialog::Accepted || SaveDiag1->selectedFiles().isEmpty())
        return;
    const std::string fichero = cp1252::fromQString(SaveDiag1->selectedFiles().front());
    if (!EscribirPlantilla(fichero, m_catalogo, m_plantilla, App().FRMOpcionImport->Opciones)) {
        AvisoTexto(988, 1, IconoMensaje::Error);
        return;
    }
    m_modificado = false;
}

void TFRMDefinirimport::BTNAbrirusuarioClick()
{
    if (m_modificado && AvisoTexto(505, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) == RespuestaNo)
        return;
    m_modificado = true;
    const std::string fichero = EligeFichero(527, "*.sec");
    if (fichero.empty())
        return;
    m_ocupado = true;
    CargaCatalogo();
    VaciaTipos();
    SaveDiag1->selectFile(cp1252::toQString(fichero));
    PlantillaImportacion plantilla;
    std::string motivo;
    const bool leida = LeerPlantilla(fichero, m_catalogo, plantilla, App().FRMOpcionImport->Opciones, &motivo);
    AplicaTipoOrden(true);
    for (const TipoRegistro &t : plantilla) {
        QTreeWidgetItem *tipo = AnadeTipo(t);
        for (CampoPlantilla c : t.Campos) {
            // A column takes one field: a second field naming it stays unlinked.
            if (ItemCampoEnlazado(c.Enlace))
                c.Enlace = 0;
            AnadeCampo(tipo, c);
        }
    }
    PintaRequeridos();
    m_ocupado = false;
    if (!leida)
        CajaMensaje(Idioma.GetTexto(498) + (motivo.empty() ? "" : "\n" + motivo), Idioma.GetTexto(1),
                    IconoMensaje::Error);
}

std::string TFRMDefinirimport::EligeFichero(int filtro, const char *nombre)
{
    OpenDialog1->setNameFilters(FiltrosTexto(filtro));
    OpenDialog1->selectFile(QString::fromLatin1(nombre));
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
        return {};
    return cp1252::fromQString(OpenDialog1->selectedFiles().front());
}

bool TFRMDefinirimport::PuedeCerrar()
{
    return !m_modificado || AvisoTexto(499, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) == RespuestaSi;
}

void TFRMDefinirimport::BTNCancelarClick()
{
    reject();
}

void TFRMDefinirimport::reject()
{
    if (!PuedeCerrar())
        return;
    SoltarDialogos();
    QDialog::reject();
}
