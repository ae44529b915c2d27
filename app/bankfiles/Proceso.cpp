// The CSB import window.
#include "Proceso.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmain.h"
#include "Frmmsg.h"
#include "General.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Unithistoricos.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Texto(int n)
{
    return cp1252::toQString(Idioma.GetTexto(n));
}

std::string Provincia(std::string_view codigo)
{
    return App().FormMain ? App().FormMain->GetProvincia(codigo) : std::string();
}

} // namespace

TfrmProceso::TfrmProceso(QWidget *owner)
    : TVentanaImportacion(owner, m_importacion),
      Label1(new QLabel(this)),
      txtFichero(new QLineEdit(this)),
      cbtCommonDialog(new QPushButton(QStringLiteral("..."), this)),
      OpenDialog1(new QFileDialog(this)),
      cbtOK(new QPushButton(this)),
      BTNPrevisualizacion(new QPushButton(this)),
      cbtCancel(new QPushButton(this)),
      lstProceso(new QTextEdit(this)),
      rbtCSB19(new QRadioButton(QStringLiteral("CSB19"), this)),
      rbtCSB58(new QRadioButton(QStringLiteral("CSB58"), this)),
      Label2(new QLabel(this)),
      Label3(new QLabel(this)),
      Label4(new QLabel(this)),
      Label5(new QLabel(this)),
      Label10(new QLabel(this)),
      Label6(new QLabel(this)),
      Label12(new QLabel(this)),
      lblNEmisores(new QLabel(this)),
      lblNRemesas(new QLabel(this)),
      lblNRecibos(new QLabel(this)),
      lblNLibrados(new QLabel(this)),
      lblEmisoresRepetidos(new QLabel(this)),
      lblRemesasRepetidas(new QLabel(this)),
      lblRecibosRepetidos(new QLabel(this)),
      lblLibradosRepetidos(new QLabel(this)),
      lblEmisoresErroneos(new QLabel(this)),
      lblRemesasErroneas(new QLabel(this)),
      lblRecibosErroneos(new QLabel(this)),
      lblLibradosErroneos(new QLabel(this)),
      m_importacion(Provincia)
{
    setObjectName(QStringLiteral("frmProceso"));
    txtFichero->setObjectName(QStringLiteral("txtFichero"));
    lstProceso->setObjectName(QStringLiteral("lstProceso"));
    lstProceso->setReadOnly(true);
    lstProceso->setLineWrapMode(QTextEdit::NoWrap);
    lstProceso->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstProceso->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstProceso->setMinimumSize(520, 220);
    rbtCSB19->setChecked(true);
    rbtCSB19->hide();
    rbtCSB58->hide();
    cbtOK->setDefault(true);

    // FormCreate
    OpenDialog1->setDirectory(cp1252::toQString(GetAppPath()));
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setNameFilters({QStringLiteral("Ficheros CSB (*.csb *.CSB)"), QStringLiteral("Todos los ficheros (*)")});

    auto *fichero = new QHBoxLayout;
    fichero->addWidget(Label1);
    fichero->addWidget(txtFichero, 1);
    fichero->addWidget(cbtCommonDialog);

    auto *cuentas = new QGridLayout;
    QLabel *const columnas[] = {Label10, Label6, Label12};
    QLabel *const filas[] = {Label2, Label3, Label4, Label5};
    QLabel *const numeros[4][3] = {{lblNEmisores, lblEmisoresRepetidos, lblEmisoresErroneos},
                                   {lblNRemesas, lblRemesasRepetidas, lblRemesasErroneas},
                                   {lblNRecibos, lblRecibosRepetidos, lblRecibosErroneos},
                                   {lblNLibrados, lblLibradosRepetidos, lblLibradosErroneos}};
    for (int c = 0; c < 3; ++c)
        cuentas->addWidget(columnas[c], 0, c + 1, Qt::AlignRight);
    for (int f = 0; f < 4; ++f) {
        cuentas->addWidget(filas[f], f + 1, 0);
        for (int c = 0; c < 3; ++c) {
            QLabel *numero = numeros[f][c];
            numero->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            numero->setStyleSheet(QStringLiteral("color: blue"));
            numero->setMinimumWidth(70);
            numero->setText(QStringLiteral("0 "));
            cuentas->addWidget(numero, f + 1, c + 1);
        }
    }
    lblRemesasRepetidas->setText(QStringLiteral("-- "));

    auto *botones = new QHBoxLayout;
    botones->addWidget(BTNPrevisualizacion);
    botones->addStretch();
    botones->addWidget(cbtOK);
    botones->addWidget(cbtCancel);

    auto *capas = new QVBoxLayout(this);
    capas->addLayout(fichero);
    capas->addWidget(lstProceso, 1);
    capas->addWidget(gaugeProgreso);
    capas->addLayout(cuentas);
    capas->addLayout(botones);

    OrdenTabulacion({txtFichero, cbtCommonDialog, BTNPrevisualizacion, cbtOK, cbtCancel});

    connect(txtFichero, &QLineEdit::textChanged, this, [this] { txtFicheroChange(); });
    connect(cbtCommonDialog, &QPushButton::clicked, this, [this] { cbtCommonDialogClick(); });
    connect(cbtOK, &QPushButton::clicked, this, [this] { cbtOKClick(); });
    connect(cbtCancel, &QPushButton::clicked, this, [this] { cbtCancelClick(); });
    connect(BTNPrevisualizacion, &QPushButton::clicked, this, [this] { BTNPrevisualizacionClick(); });
}

void TfrmProceso::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous()) {
        FormShow();
        FormActivate();
    }
}

void TfrmProceso::FormShow()
{
    const std::string orden = App().FormMain ? App().FormMain->GetTipoOrden() : std::string();
    if (orden == "CSB19")
        rbtCSB19->setChecked(true);
    else if (orden == "CSB58")
        rbtCSB58->setChecked(true);
    setWindowTitle(Texto(392));
    Label1->setText(Texto(355));
    cbtOK->setText(Texto(356));
    cbtCancel->setText(Texto(8));
    Label10->setText(Texto(391));
    Label6->setText(Texto(387));
    Label12->setText(Texto(390));
    Label2->setText(Texto(439));
    Label3->setText(Texto(388));
    Label4->setText(Texto(440));
    Label5->setText(Texto(389));
    BTNPrevisualizacion->setText(QStringLiteral("&") + Texto(43));
    LimpiaProceso();
}

// Runs when the window shows: the file dialog's return keeps the chosen name.
void TfrmProceso::FormActivate()
{
    cbtOK->setEnabled(false);
    BTNPrevisualizacion->setEnabled(false);
    txtFichero->clear();
}

void TfrmProceso::txtFicheroChange()
{
    cbtOK->setEnabled(!txtFichero->text().isEmpty());
    BTNPrevisualizacion->setEnabled(!txtFichero->text().isEmpty());
}

void TfrmProceso::BTNPrevisualizacionClick()
{
    if (Importando())
        return;
    const std::string fichero = cp1252::fromQString(txtFichero->text());
    std::FILE *existe = fichero.empty() ? nullptr : cp1252::openFile(fichero, "rb");
    if (!existe)
        return;
    std::fclose(existe);
    TFRMHistoricos *visor = App().FRMHistoricos;
    visor->SetFichero(fichero);
    visor->exec();
}

void TfrmProceso::LimpiaProceso()
{
    for (QLabel *numero : {lblNEmisores, lblNRemesas, lblNRecibos, lblNLibrados, lblEmisoresRepetidos,
                           lblRecibosRepetidos, lblLibradosRepetidos, lblEmisoresErroneos, lblRemesasErroneas,
                           lblRecibosErroneos, lblLibradosErroneos})
        numero->setText(QStringLiteral("0"));
    lstProceso->clear();
    gaugeProgreso->setValue(0);
}

void TfrmProceso::cbtCommonDialogClick()
{
    if (Importando())
        return;
    OpenDialog1->selectFile(QString());
    if (OpenDialog1->exec() == QDialog::Accepted && !OpenDialog1->selectedFiles().isEmpty())
        txtFichero->setText(OpenDialog1->selectedFiles().first());
}

void TfrmProceso::cbtOKClick()
{
    if (Importando())
        return;
    const std::string fichero = cp1252::fromQString(txtFichero->text());
    const int tipo = GetTipoOrdenFichero(fichero);
    if (tipo == 0) {
        CajaMensaje(Idioma.GetTexto(316), Idioma.GetTexto(317), IconoMensaje::Aviso);
        return;
    }
    {
        CursorEspera espera;
        LimpiaProceso();
        rbtCSB19->setChecked(tipo == 1);
        rbtCSB58->setChecked(tipo != 1);
        Importa(fichero, tipo);
        RecargaArbol(false);
        if (m_importacion.Confirmada() && App().Multiuser)
            App().Multiuser->NotificaActualizacion(0, 0);
    }
    txtFichero->clear();
    cbtOK->setEnabled(false);
}

void TfrmProceso::Importa(const std::string &fichero, int tipo)
{
    TFormMain *m = App().FormMain;
    if (fichero.empty() || !m)
        return;
    const std::string layout = tipo == 1 ? m->STRImpCSB19 : m->STRImpCSB58;
    m_importacion.ImportaFicheroCSB(
        fichero, layout, m->IdEmpresa, GetTipoOrdenStr(tipo),
        [this](int minimo, int maximo, int posicion) { Progreso(minimo, maximo, posicion); },
        [this](const std::string &texto) { lstProceso->append(cp1252::toQString(texto)); },
        [this](const std::array<int, 12> &c) { Contadores(c); });
}

void TfrmProceso::Contadores(const std::array<int, 12> &c)
{
    QLabel *const numeros[] = {lblNEmisores,        lblNRemesas,          lblNRecibos,         lblNLibrados,
                               lblEmisoresRepetidos, nullptr,              lblRecibosRepetidos, lblLibradosRepetidos,
                               lblEmisoresErroneos,  lblRemesasErroneas,   lblRecibosErroneos,  lblLibradosErroneos};
    for (size_t i = 0; i < c.size(); ++i)
        if (numeros[i])
            numeros[i]->setText(QString::number(c[i]));
    QApplication::processEvents();
}
