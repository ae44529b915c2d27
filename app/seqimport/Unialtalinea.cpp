// The record-kind dialog of the template editor.
#include "Unialtalinea.h"

#include "Controles.h"
#include "Unidefinirimport.h"
#include "qcp1252.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TFRMAltaLinea::TFRMAltaLinea(QWidget *parent)
    : TDialogoEditor(parent), Label1(new QLabel(this)), Label2(new QLabel(this)), Label3(new QLabel(this)),
      Label5(new QLabel(this)), Label6(new QLabel(this)), Label7(new QLabel(this)), Label8(new QLabel(this)),
      TXTDescripcion(new QLineEdit(this)), TXTValor(new QLineEdit(this)), TXTDesde(new QLineEdit(this)),
      TXTTam(new QLineEdit(this)), BTNAceptar(new QPushButton(this)), BTNCancelar(new QPushButton(this))
{
    setObjectName("FRMAltaLinea");
    TXTDescripcion->setMaxLength(79);
    TXTValor->setMaxLength(20);
    TXTDesde->setMaxLength(6);
    TXTTam->setMaxLength(6);
    SoloDigitos({TXTDesde, TXTTam});
    for (QLabel *l : {Label1, Label3, Label8})
        l->setWordWrap(true);

    auto *datos = new QGridLayout;
    datos->addWidget(Label2, 0, 0);
    datos->addWidget(TXTDescripcion, 0, 1, 1, 3);
    datos->addWidget(Label5, 1, 0);
    datos->addWidget(TXTValor, 1, 1, 1, 3);
    datos->addWidget(Label6, 2, 0);
    datos->addWidget(TXTDesde, 2, 1);
    datos->addWidget(Label7, 2, 2);
    datos->addWidget(TXTTam, 2, 3);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    auto *vertical = new QVBoxLayout(this);
    vertical->addWidget(Label1);
    vertical->addWidget(Label3);
    vertical->addLayout(datos);
    vertical->addWidget(Label8);
    vertical->addLayout(botones);
    resize(420, 260);

    connect(TXTDescripcion, &QLineEdit::textChanged, this, &TFRMAltaLinea::TXTDescripcionChange);
    connect(TXTValor, &QLineEdit::textChanged, this, &TFRMAltaLinea::TXTValorChange);
    connect(TXTDesde, &QLineEdit::textChanged, this, [this] { TXTDesdeChange(TXTDesde); });
    connect(TXTTam, &QLineEdit::textChanged, this, [this] { TXTDesdeChange(TXTTam); });
    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMAltaLinea::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &QDialog::close);
}

void TFRMAltaLinea::PrepararLinea(TFRMDefinirimport *editor, int modo, QTreeWidgetItem *nodo)
{
    Toma(editor, modo, nodo);
    if (modo == 1) {
        TXTDescripcion->setText(editor->TXTDescripcion->text());
        TXTValor->setText(editor->TXTValor->text());
        setWindowTitle(Rotulo(558));
    } else {
        TXTDescripcion->clear();
        TXTValor->clear();
        setWindowTitle(Rotulo(557));
    }
    TXTDesde->setText(editor->TXTDesde->text());
    TXTTam->setText(editor->TXTTam->text());
    m_listo = true;
}

void TFRMAltaLinea::FormShow()
{
    Label1->setText(Rotulo(559));
    Label2->setText(Rotulo(188) + ":");
    Label3->setText(Rotulo(561));
    Label5->setText(Rotulo(586) + ":");
    Label6->setText(Rotulo(512));
    Label7->setText(Rotulo(587) + ":");
    Label8->setText(Rotulo(562));
    BTNAceptar->setText(Rotulo(2));
    BTNCancelar->setText(Rotulo(3));
}

void TFRMAltaLinea::BTNAceptarClick()
{
    if (!m_editor)
        return;
    std::string error;
    Respuesta(m_modo == 1 ? m_editor->ModificarNodo(m_nodo, error) : m_editor->AltaTabla(error), error);
    m_editor->Tree2->setEnabled(true);
}

void TFRMAltaLinea::TXTDescripcionChange()
{
    if (m_listo && m_editor)
        m_editor->TXTDescripcion->setText(TXTDescripcion->text());
}

void TFRMAltaLinea::TXTValorChange()
{
    if (m_listo && m_editor)
        m_editor->TXTValor->setText(TXTValor->text());
}

void TFRMAltaLinea::TXTDesdeChange(QLineEdit *caja)
{
    if (!ZonaValida(caja))
        return;
    m_editor->TXTDesde->setText(TXTDesde->text());
    m_editor->TXTTam->setText(TXTTam->text());
}
