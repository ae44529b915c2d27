// The quick batch entry.
#include "Altarapida.h"

#include "Cfgfile.h"
#include "Controles.h"
#include "General.h"
#include "Modmas.h"
#include "Registros.h"
#include "qcp1252.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

int g_ultimaRemesa = -1;

constexpr int kLargoDescripcion = 50;

// Adds a row's name to the list and its key to the keys.
void Agrega(QComboBox *lista, std::vector<std::string> &ids, const char *nombre, const char *clave, const char *fila)
{
    lista->addItem(cp1252::toQString(NullToEmpty(GetCampoTexto(nombre, fila))));
    ids.push_back(GetCampo(clave, fila));
}

// The key at the list's current item; -1 when none.
int Clave(const QComboBox *lista, const std::vector<std::string> &ids)
{
    const int i = lista->currentIndex();
    return i >= 0 && size_t(i) < ids.size() ? Numero(ids[size_t(i)]) : -1;
}

} // namespace

int GetUltimaRemesa()
{
    return g_ultimaRemesa;
}

TFRMAltaRapida::TFRMAltaRapida(QWidget *parent)
    : QDialog(parent),
      RButtomCSB19(new QRadioButton(this)),
      RButtomCSB58(new QRadioButton(this)),
      LblPresentador(new QLabel(this)),
      CBoxPresentador(new QComboBox(this)),
      LblEmisor(new QLabel(this)),
      CBoxEmisores(new QComboBox(this)),
      CBoxDatosRemesa(new QGroupBox(this)),
      LblDescripcion(new QLabel(CBoxDatosRemesa)),
      TxtDescripcion(new QLineEdit(CBoxDatosRemesa)),
      LblMoneda(new QLabel(CBoxDatosRemesa)),
      CBoxMoneda(new QComboBox(CBoxDatosRemesa)),
      GBoxPlantilla(new QGroupBox(CBoxDatosRemesa)),
      CBoxPlantilla(new QComboBox(GBoxPlantilla)),
      CheckBoxEmisionRecibo(new QCheckBox(CBoxDatosRemesa)),
      BottomAceptar(new QPushButton(this)),
      BottomCancelar(new QPushButton(this))
{
    setObjectName(QStringLiteral("FRMAltaRapida"));
    RButtomCSB19->setChecked(true);
    ListaMonedas(CBoxMoneda);
    TxtDescripcion->setMaxLength(kLargoDescripcion);
    for (QComboBox *lista : {CBoxPresentador, CBoxEmisores, CBoxPlantilla})
        AnchoParaCaracteres(lista, 30);
    BottomAceptar->setDefault(true);

    auto *formato = new QHBoxLayout;
    formato->addWidget(RButtomCSB19);
    formato->addWidget(RButtomCSB58);
    auto *origen = new QFormLayout;
    origen->addRow(LblPresentador, CBoxPresentador);
    origen->addRow(LblEmisor, CBoxEmisores);
    auto *plantilla = new QVBoxLayout(GBoxPlantilla);
    plantilla->addWidget(CBoxPlantilla);
    auto *datos = new QFormLayout(CBoxDatosRemesa);
    datos->addRow(LblDescripcion, TxtDescripcion);
    datos->addRow(LblMoneda, CBoxMoneda);
    datos->addRow(CheckBoxEmisionRecibo);
    datos->addRow(GBoxPlantilla);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BottomAceptar);
    botones->addWidget(BottomCancelar);
    auto *capas = new QVBoxLayout(this);
    capas->addLayout(formato);
    capas->addLayout(origen);
    capas->addWidget(CBoxDatosRemesa);
    capas->addLayout(botones);
    capas->setSizeConstraint(QLayout::SetFixedSize);
    OrdenTabulacion({RButtomCSB19, RButtomCSB58, CBoxPresentador, CBoxEmisores, TxtDescripcion, CBoxMoneda,
                     CheckBoxEmisionRecibo, CBoxPlantilla, BottomAceptar, BottomCancelar});

    connect(RButtomCSB19, &QRadioButton::clicked, this, &TFRMAltaRapida::CSB19Click);
    connect(RButtomCSB58, &QRadioButton::clicked, this, &TFRMAltaRapida::CSB58Click);
    connect(CBoxPresentador, &QComboBox::activated, this, &TFRMAltaRapida::CBoxPresentadorChange);
    connect(CheckBoxEmisionRecibo, &QCheckBox::clicked, this, &TFRMAltaRapida::CheckBoxEmisionReciboClick);
    connect(BottomAceptar, &QPushButton::clicked, this, &TFRMAltaRapida::BottomAceptarClick);
    connect(BottomCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TFRMAltaRapida::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormActive();
    QDialog::showEvent(evento);
}

void TFRMAltaRapida::FormActive()
{
    setWindowTitle(Rotulo(204));
    RButtomCSB19->setText(Rotulo(398) + QStringLiteral(" CSB19"));
    RButtomCSB58->setText(Rotulo(399) + QStringLiteral(" CSB58"));
    LblPresentador->setText(Rotulo(320));
    LblEmisor->setText(Rotulo(321));
    LblDescripcion->setText(Rotulo(188));
    LblMoneda->setText(Rotulo(323));
    GBoxPlantilla->setTitle(Rotulo(444));
    CheckBoxEmisionRecibo->setText(Rotulo(450));
    BottomAceptar->setText(Rotulo(2));
    BottomCancelar->setText(Rotulo(3));
    CBoxMoneda->setCurrentIndex(0);
    TxtDescripcion->clear();
    // The format checked last, unless the company has presenters of the other one only.
    RellenaFormato();
    QRadioButton *marcado = RButtomCSB19->isChecked() ? RButtomCSB19 : RButtomCSB58;
    for (QRadioButton *formato : {marcado == RButtomCSB19 ? RButtomCSB58 : RButtomCSB19, marcado}) {
        if (CBoxPresentador->count() > 0)
            break;
        formato->setChecked(true);
        RellenaFormato();
    }
    RellenaPlantillas();
    if (RButtomCSB19->isChecked())
        CheckBoxEmisionReciboClick();
    TxtDescripcion->setFocus();
}

void TFRMAltaRapida::RellenaFormato()
{
    if (RButtomCSB19->isChecked())
        CSB19Click();
    else
        CSB58Click();
}

void TFRMAltaRapida::CSB19Click()
{
    RellenaPresentadores("CSB19");
    CheckBoxEmisionRecibo->setEnabled(true);
}

void TFRMAltaRapida::CSB58Click()
{
    RellenaPresentadores("CSB58");
    CheckBoxEmisionRecibo->setChecked(true);
    CheckBoxEmisionRecibo->setEnabled(false);
    CheckBoxEmisionReciboClick();
}

void TFRMAltaRapida::RellenaPresentadores(const char *orden)
{
    CBoxPresentador->clear();
    IdsPresentadores.clear();
    CBoxEmisores->clear();
    IdsEmisores.clear();
    const std::string empresa = std::to_string(Numero(IdEmpresa ? IdEmpresa() : std::string()));
    DBGetData(FormatoSQL("SELECT * FROM [_Presentadores( Datos )] WHERE Id_orden='%s' AND Id_empresa=%s;", orden,
                         empresa.c_str()),
              [this](char *fila, char *, int) {
                  Agrega(CBoxPresentador, IdsPresentadores, "Razon_social", "Id_presentador", fila);
              });
    if (CBoxPresentador->count() > 0) {
        CBoxPresentador->setCurrentIndex(0);
        RellenaComboEmisores();
    }
}

void TFRMAltaRapida::CBoxPresentadorChange()
{
    CBoxEmisores->clear();
    IdsEmisores.clear();
    RellenaComboEmisores();
}

void TFRMAltaRapida::RellenaComboEmisores()
{
    DBGetData(FormatoSQL("SELECT * FROM [_Emisores( Datos )] WHERE [_Emisores( Datos )].Id_presentador=%d;",
                         Clave(CBoxPresentador, IdsPresentadores)),
              [this](char *fila, char *, int) {
                  Agrega(CBoxEmisores, IdsEmisores, "Razon_social", "Id_emisor", fila);
              });
    if (CBoxEmisores->count() > 0)
        CBoxEmisores->setCurrentIndex(0);
}

void TFRMAltaRapida::RellenaPlantillas()
{
    CBoxPlantilla->clear();
    IdsPlantillas.clear();
    CBoxPlantilla->addItem(QStringLiteral("Sin plantilla"));
    IdsPlantillas.push_back("-1");
    DBGetData("SELECT * FROM [Plantillas( Datos )];", [this](char *fila, char *, int) {
        Agrega(CBoxPlantilla, IdsPlantillas, "Nombre", "Id_plantilla", fila);
    });
    CBoxPlantilla->setCurrentIndex(0);
}

void TFRMAltaRapida::CheckBoxEmisionReciboClick()
{
    BottomAceptar->setEnabled(true);
    const bool con = CheckBoxEmisionRecibo->isChecked();
    GBoxPlantilla->setEnabled(con);
    QPalette paleta = CBoxPlantilla->palette();
    paleta.setColor(QPalette::Base, con ? palette().color(QPalette::Base) : QColor(192, 192, 192));
    CBoxPlantilla->setPalette(paleta);
}

void TFRMAltaRapida::BottomAceptarClick()
{
    if (Recorta(cp1252::fromQString(CBoxPresentador->currentText())).empty()
        || Recorta(cp1252::fromQString(CBoxEmisores->currentText())).empty()) {
        AvisoTexto(598, 1, IconoMensaje::Error);
        return;
    }
    if (Recorta(TextoCaja(TxtDescripcion)).empty()) {
        CajaMensaje(Idioma.GetTexto(597) + Idioma.GetTexto(188) + " ,", Idioma.GetTexto(1), IconoMensaje::Error);
        return;
    }
    bool insertada = false;
    {
        CursorEspera espera;
        insertada = InsertaRemesa();
    }
    if (!insertada) {
        AvisoTexto(997, 1, IconoMensaje::Error);
        return;
    }
    done(QDialog::Accepted);
}

bool TFRMAltaRapida::InsertaRemesa()
{
    const std::string moneda = CBoxMoneda->currentData().toString().toStdString();
    const bool conEmision = CheckBoxEmisionRecibo->isChecked();
    const char *emision = conEmision ? "TRUE" : "FALSE";
    const int plantilla = conEmision ? Clave(CBoxPlantilla, IdsPlantillas) : -1; // no issue, no template
    const int emisor = Clave(CBoxEmisores, IdsEmisores);
    const std::string fecha = FechaSQL(QDate::currentDate());
    const std::string descripcion = LimpiaTextoSQL(TextoCaja(TxtDescripcion));
    const std::string sql =
        plantilla != -1
            ? FormatoSQL("INSERT INTO [Remesas()] ( Id_moneda,Id_emisor,Id_plantilla,Con_emision,F_alta,Importe_total,"
                         "Contravalor_total,Descripcion,Block) VALUES ( '%s',%d,%d,%s,'%s',%d,%d,'%s',0 );",
                         moneda.c_str(), emisor, plantilla, emision, fecha.c_str(), 0, 0, descripcion.c_str())
            : FormatoSQL("INSERT INTO [Remesas()] ( Id_moneda,Id_emisor,Con_emision,F_alta,Importe_total,"
                         "Contravalor_total,Descripcion,Block) VALUES ( '%s',%d,%s,'%s',%d,%d,'%s',0 );",
                         moneda.c_str(), emisor, emision, fecha.c_str(), 0, 0, descripcion.c_str());
    int clave = 0;
    if (!DBInsertSQL(sql, clave).empty() || clave <= 0)
        return false;
    g_ultimaRemesa = clave;
    return true;
}
