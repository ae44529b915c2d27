// The configuration dialog.
#include "Frmcfg.h"

#include "Controles.h"
#include "Frmseldir.h"
#include "Multiidioma.h"
#include "qcp1252.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

namespace {

QPushButton *BotonCarpeta(QWidget *padre, const char *nombre)
{
    auto *boton = new QPushButton(QStringLiteral("..."), padre);
    boton->setObjectName(QLatin1String(nombre));
    boton->setFixedWidth(28);
    boton->setVisible(false);
    return boton;
}

QLineEdit *EditCarpeta(QWidget *padre, const char *nombre)
{
    auto *edit = new QLineEdit(padre);
    edit->setObjectName(QLatin1String(nombre));
    edit->setEnabled(false);
    edit->setMinimumWidth(360);
    return edit;
}

// The minutes box: it holds any whole number typed, far beyond the range, so that no digit
// is dropped; its arrows go no further than the range.
class CajaMinutos : public QSpinBox {
public:
    explicit CajaMinutos(QWidget *padre) : QSpinBox(padre)
    {
        setRange(-kTecleable, kTecleable);
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue); // an empty box reads 0
    }

    void stepBy(int pasos) override
    {
        setValue(std::clamp(value() + pasos, TFormCfg::kMinutosMinimo, TFormCfg::kMinutosMaximo));
        selectAll();
    }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled pasos = StepNone;
        if (value() < TFormCfg::kMinutosMaximo)
            pasos |= StepUpEnabled;
        if (value() > TFormCfg::kMinutosMinimo)
            pasos |= StepDownEnabled;
        return pasos;
    }

private:
    static constexpr int kTecleable = 9999;
};

} // namespace

TFormCfg::TFormCfg(QWidget *parent)
    : QDialog(parent, Qt::Tool),
      Panel1(new QWidget(this)),
      Img(new QLabel(Panel1)),
      Label1(new QLabel(Panel1)),
      Label5(new QLabel(Panel1)),
      Label2(new QLabel(this)),
      Label3(new QLabel(this)),
      Label4(new QLabel(this)),
      Label6(new QLabel(QStringLiteral("Directorio de la base de datos:"), this)),
      Label7(new QLabel(cp1252::toQString("Tiempo de inactividad m\xE1xima de la aplicaci\xF3n en minutos:"), this)),
      EdPathCSB19(EditCarpeta(this, "EdPathCSB19")),
      EdPathCSB58(EditCarpeta(this, "EdPathCSB58")),
      EdPathHist(EditCarpeta(this, "EdPathHist")),
      EdPathBD(EditCarpeta(this, "EdPathBD")),
      BtnCSB19(BotonCarpeta(this, "BtnCSB19")),
      BtnCSB58(BotonCarpeta(this, "BtnCSB58")),
      BtnHist(BotonCarpeta(this, "BtnHist")),
      BtnBd(BotonCarpeta(this, "BtnBd")),
      CSpTimeOut(new CajaMinutos(this)),
      Panel2(new QWidget(this)),
      BtnAceptar(new QPushButton(Panel2)),
      BtnCancelar(new QPushButton(Panel2))
{
    setObjectName(QStringLiteral("FormCfg"));
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::Base);
    Img->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    QFont negrita = Label1->font();
    negrita.setBold(true);
    Label1->setFont(negrita);
    Label5->setWordWrap(true);
    Label5->setVisible(false);
    auto *arriba = new QHBoxLayout(Panel1);
    arriba->addWidget(Img);
    auto *titulos = new QVBoxLayout;
    titulos->addWidget(Label1);
    titulos->addWidget(Label5);
    arriba->addLayout(titulos, 1);

    CSpTimeOut->setObjectName(QStringLiteral("CSpTimeOut"));

    auto *rejilla = new QGridLayout;
    rejilla->setContentsMargins(9, 9, 9, 9);
    int fila = 0;
    for (auto [etiqueta, edit, boton] : {std::tuple{Label2, EdPathCSB19, BtnCSB19}, std::tuple{Label3, EdPathCSB58, BtnCSB58},
                                         std::tuple{Label4, EdPathHist, BtnHist}, std::tuple{Label6, EdPathBD, BtnBd}}) {
        rejilla->addWidget(etiqueta, fila++, 0, 1, 2);
        rejilla->addWidget(edit, fila, 0);
        rejilla->addWidget(boton, fila++, 1);
    }
    auto *minutos = new QHBoxLayout;
    minutos->addWidget(Label7);
    minutos->addWidget(CSpTimeOut);
    minutos->addStretch();
    rejilla->addLayout(minutos, fila, 0, 1, 2);

    BtnAceptar->setDefault(true);
    auto *abajo = new QHBoxLayout(Panel2);
    abajo->addStretch();
    abajo->addWidget(BtnAceptar);
    abajo->addWidget(BtnCancelar);

    auto *capas = new QVBoxLayout(this);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->addWidget(Panel1);
    capas->addLayout(rejilla, 1);
    capas->addWidget(Panel2);
    capas->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnAceptar, &QPushButton::clicked, this, &TFormCfg::BtnAceptarClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnCSB19, &QPushButton::clicked, this, &TFormCfg::BtnCSB19Click);
    connect(BtnCSB58, &QPushButton::clicked, this, &TFormCfg::BtnCSB58Click);
    connect(BtnHist, &QPushButton::clicked, this, &TFormCfg::BtnHistClick);
    connect(BtnBd, &QPushButton::clicked, this, &TFormCfg::BtnBdClick);
}

void TFormCfg::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFormCfg::FormShow()
{
    setWindowTitle(Rotulo(359));
    Label1->setText(Rotulo(359));
    Label5->setText(Rotulo(360));
    Label2->setText(Rotulo(361));
    Label3->setText(Rotulo(362));
    Label4->setText(Rotulo(363));
    BtnAceptar->setText(Rotulo(2));
    BtnCancelar->setText(Rotulo(3));
}

void TFormCfg::BtnAceptarClick()
{
    const int minutos = CSpTimeOut->value();
    if (!CSpTimeOut->hasAcceptableInput() || minutos < kMinutosMinimo || minutos > kMinutosMaximo) {
        CajaMensaje(FormateaTexto(Idioma.GetTexto(950), kMinutosMinimo, kMinutosMaximo), Idioma.GetTexto(6),
                    IconoMensaje::Error);
        SafeSetFocus(CSpTimeOut);
        return;
    }
    accept();
}

std::string TFormCfg::GetPathCSB19() const { return TextoCaja(EdPathCSB19); }
void TFormCfg::SetPathCSB19(const std::string &ruta) { PonTextoCaja(EdPathCSB19, ruta); }
std::string TFormCfg::GetPathCSB58() const { return TextoCaja(EdPathCSB58); }
void TFormCfg::SetPathCSB58(const std::string &ruta) { PonTextoCaja(EdPathCSB58, ruta); }
std::string TFormCfg::GetPathHist() const { return TextoCaja(EdPathHist); }
void TFormCfg::SetPathHist(const std::string &ruta) { PonTextoCaja(EdPathHist, ruta); }

void TFormCfg::EligeCarpeta(QLineEdit *edit)
{
    PonTextoCaja(edit, SeleccionaDirectorio(this, TextoCaja(edit)));
}

void TFormCfg::BtnCSB19Click() { EligeCarpeta(EdPathCSB19); }
void TFormCfg::BtnCSB58Click() { EligeCarpeta(EdPathCSB58); }
void TFormCfg::BtnHistClick() { EligeCarpeta(EdPathHist); }
void TFormCfg::BtnBdClick() { EligeCarpeta(EdPathBD); }
