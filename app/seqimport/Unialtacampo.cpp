// The field dialog of the template editor.
#include "Unialtacampo.h"

#include "Controles.h"
#include "Unidefinirimport.h"
#include "qcp1252.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

const char *const TFRMAltaCampo::kTipos[] = {"ALFANUMERICO",
                                             "NUMERICO",
                                             "NUMERICO_(1_DECIMAL)",
                                             "NUMERICO_(2_DECIMALES)",
                                             "NUMERICO_(3_DECIMALES)",
                                             "NUMERICO_(4_DECIMALES)",
                                             "FECHA_DDMMAA",
                                             "FECHA_DDMMAAAA",
                                             "FECHA_MMDDAA",
                                             "FECHA_MMDDAAAA",
                                             "FECHA_AAAAMMDD",
                                             nullptr};

TFRMAltaCampo::TFRMAltaCampo(QWidget *parent)
    : TDialogoEditor(parent), Label1(new QLabel(this)), Label2(new QLabel(this)), Label3(new QLabel(this)),
      Label4(new QLabel(this)), Label5(new QLabel(this)), Label6(new QLabel(this)), Label7(new QLabel(this)),
      Label8(new QLabel(this)), Label9(new QLabel(this)), TXTDescripcion(new QLineEdit(this)),
      TXTLinea(new QLineEdit(this)), TXTDesde(new QLineEdit(this)), TXTTam(new QLineEdit(this)),
      TXTTipo(new QComboBox(this)), BTNAceptar(new QPushButton(this)), BTNCancelar(new QPushButton(this))
{
    setObjectName("FRMAltaCampo");
    TXTDescripcion->setMaxLength(79);
    TXTLinea->setMaxLength(4);
    TXTDesde->setMaxLength(6);
    TXTTam->setMaxLength(6);
    SoloDigitos({TXTLinea, TXTDesde, TXTTam});
    for (const char *const *t = kTipos; *t; ++t)
        TXTTipo->addItem(QString::fromLatin1(*t));
    BTNAceptar->setDefault(true);
    for (QLabel *l : {Label1, Label3, Label9})
        l->setWordWrap(true);

    auto *datos = new QGridLayout;
    datos->addWidget(Label2, 0, 0);
    datos->addWidget(TXTDescripcion, 0, 1, 1, 5);
    datos->addWidget(Label4, 1, 0);
    datos->addWidget(TXTLinea, 1, 1);
    datos->addWidget(Label5, 1, 2);
    datos->addWidget(TXTDesde, 1, 3);
    datos->addWidget(Label6, 1, 4);
    datos->addWidget(TXTTam, 1, 5);
    datos->addWidget(Label7, 2, 0, 1, 6);
    datos->addWidget(Label8, 3, 0);
    datos->addWidget(TXTTipo, 3, 1, 1, 5);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    auto *vertical = new QVBoxLayout(this);
    vertical->addWidget(Label1);
    vertical->addWidget(Label3);
    vertical->addLayout(datos);
    vertical->addWidget(Label9);
    vertical->addLayout(botones);
    resize(440, 280);

    connect(TXTLinea, &QLineEdit::textChanged, this, [this] { TXTDesdeChange(TXTLinea); });
    connect(TXTDesde, &QLineEdit::textChanged, this, [this] { TXTDesdeChange(TXTDesde); });
    connect(TXTTam, &QLineEdit::textChanged, this, [this] { TXTDesdeChange(TXTTam); });
    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMAltaCampo::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &QDialog::close);
}

void TFRMAltaCampo::PrepararCampo(TFRMDefinirimport *editor, int modo, QTreeWidgetItem *nodo)
{
    Toma(editor, modo, nodo);
    if (modo == 1) {
        setWindowTitle(Rotulo(564));
        TXTDescripcion->setText(editor->TXTDescripcion->text());
        const int tipo = TXTTipo->findText(editor->TXTTipo->text());
        if (tipo >= 0)
            TXTTipo->setCurrentIndex(tipo);
    } else {
        TXTTipo->setCurrentIndex(0);
        TXTDescripcion->clear();
        setWindowTitle(Rotulo(563));
    }
    TXTLinea->setText(editor->TXTLinea->text());
    TXTDesde->setText(editor->TXTDesde->text());
    TXTTam->setText(editor->TXTTam->text());
    m_listo = true;
}

void TFRMAltaCampo::FormShow()
{
    Label1->setText(Rotulo(565));
    Label2->setText(Rotulo(188) + ":");
    Label3->setText(Rotulo(566));
    Label4->setText(Rotulo(511));
    Label5->setText(Rotulo(512));
    Label6->setText(Rotulo(587) + ":");
    Label7->setText(Rotulo(567));
    Label8->setText(Rotulo(568) + ":");
    Label9->setText(Rotulo(562));
    BTNAceptar->setText(Rotulo(2));
    BTNCancelar->setText(Rotulo(3));
}

void TFRMAltaCampo::BTNAceptarClick()
{
    if (!m_editor)
        return;
    std::string error;
    Respuesta(m_modo == 1 ? m_editor->ModificarNodo(m_nodo, error) : m_editor->AltaCampo(m_nodo, error), error);
}

void TFRMAltaCampo::TXTDesdeChange(QLineEdit *caja)
{
    if (!ZonaValida(caja))
        return;
    m_editor->TXTDesde->setText(TXTDesde->text());
    m_editor->TXTTam->setText(TXTTam->text());
    m_editor->TXTLinea->setText(TXTLinea->text());
}
