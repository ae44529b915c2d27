// The drawee import window.
#include "Importlibrados.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmain.h"
#include "Frmmsg.h"
#include "General.h"
#include "Login.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Seleccemisor.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

std::string Provincia(std::string_view codigo)
{
    return App().FormMain ? App().FormMain->GetProvincia(codigo) : std::string();
}

} // namespace

TFRMImportLibrados::TFRMImportLibrados(QWidget *owner)
    : TVentanaImportacion(owner, m_importacion),
      Label1(new QLabel(this)),
      txtFichero(new QLineEdit(this)),
      cbtCommonDialog(new QPushButton(QStringLiteral("..."), this)),
      OpenDialog1(new QFileDialog(this)),
      cbtOK(new QPushButton(this)),
      cbtCancel(new QPushButton(this)),
      lstProceso(new QListWidget(this)),
      rbtCSB19(new QRadioButton(QStringLiteral("CSB19"), this)),
      rbtCSB58(new QRadioButton(QStringLiteral("CSB58"), this)),
      Label10(new QLabel(this)),
      Label6(new QLabel(this)),
      Label12(new QLabel(this)),
      Label5(new QLabel(this)),
      lblNLibrados(new QLabel(this)),
      lblLibradosRepetidos(new QLabel(this)),
      lblLibradosErroneos(new QLabel(this)),
      m_importacion(Provincia)
{
    setObjectName(QStringLiteral("FRMImportLibrados"));
    txtFichero->setObjectName(QStringLiteral("txtFichero"));
    lstProceso->setObjectName(QStringLiteral("lstProceso"));
    lstProceso->setMinimumSize(520, 220);
    rbtCSB19->setChecked(true);
    rbtCSB19->hide();
    rbtCSB58->hide();
    cbtOK->setDefault(true);
    cbtOK->setEnabled(false);
    cbtCommonDialog->setFixedWidth(AnchoCaracteres(cbtCommonDialog, 3));

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
    QLabel *const numeros[] = {lblNLibrados, lblLibradosRepetidos, lblLibradosErroneos};
    cuentas->addWidget(Label5, 1, 0);
    for (int c = 0; c < 3; ++c) {
        cuentas->addWidget(columnas[c], 0, c + 1, Qt::AlignRight);
        numeros[c]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        numeros[c]->setStyleSheet(QStringLiteral("color: blue"));
        numeros[c]->setMinimumWidth(70);
        numeros[c]->setText(QStringLiteral("0 "));
        cuentas->addWidget(numeros[c], 1, c + 1);
    }

    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cbtOK);
    botones->addWidget(cbtCancel);

    auto *capas = new QVBoxLayout(this);
    capas->addLayout(fichero);
    capas->addWidget(lstProceso, 1);
    capas->addWidget(gaugeProgreso);
    capas->addLayout(cuentas);
    capas->addLayout(botones);

    connect(txtFichero, &QLineEdit::textChanged, this, [this] { txtFicheroChange(); });
    connect(cbtCommonDialog, &QPushButton::clicked, this, [this] { cbtCommonDialogClick(); });
    connect(cbtOK, &QPushButton::clicked, this, [this] { cbtOKClick(); });
    connect(cbtCancel, &QPushButton::clicked, this, [this] { cbtCancelClick(); });
}

void TFRMImportLibrados::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        FormShow();
}

void TFRMImportLibrados::FormShow()
{
    const std::string orden = App().FormMain ? App().FormMain->GetTipoOrden() : std::string();
    if (orden == "CSB19")
        rbtCSB19->setChecked(true);
    else if (orden == "CSB58")
        rbtCSB58->setChecked(true);
    setWindowTitle(Rotulo(615));
    Label1->setText(Rotulo(355));
    cbtOK->setText(QStringLiteral("&") + Rotulo(36));
    cbtCancel->setText(Rotulo(8));
    Label10->setText(Rotulo(391));
    Label6->setText(Rotulo(387));
    Label12->setText(Rotulo(390));
    Label5->setText(Rotulo(389));
    LimpiaProceso();
    m_idEmisor = 0;
    m_ficheroEmisor.clear();
    txtFichero->clear();
    cbtOK->setEnabled(false);
}

// Import needs the file named and an issuer chosen for it.
void TFRMImportLibrados::txtFicheroChange()
{
    cbtOK->setEnabled(!txtFichero->text().isEmpty() && EmisorDelFichero());
}

bool TFRMImportLibrados::EmisorDelFichero() const
{
    return m_idEmisor > 0 && cp1252::fromQString(txtFichero->text()) == m_ficheroEmisor;
}

void TFRMImportLibrados::LimpiaProceso()
{
    for (QLabel *numero : {lblNLibrados, lblLibradosRepetidos, lblLibradosErroneos})
        numero->setText(QStringLiteral("0"));
    lstProceso->clear();
    gaugeProgreso->setValue(0);
}

void TFRMImportLibrados::cbtCommonDialogClick()
{
    if (Importando())
        return;
    OpenDialog1->selectFile(QString());
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
        return;
    const QString nombre = OpenDialog1->selectedFiles().first();
    m_idEmisor = 0;
    txtFichero->setText(nombre);
    EligeEmisor(cp1252::fromQString(nombre));
}

// The issuer dialog for the file's format; without a choice Import stays disabled (669).
void TFRMImportLibrados::EligeEmisor(const std::string &fichero)
{
    m_tipoEmisor = GetTipoOrdenFichero(fichero) == 1 ? 1 : 2;
    TFRMSelectEmisor *dialogo = App().FRMSelectEmisor;
    const int usuario = App().FormLogin ? Numero(App().FormLogin->LoginData.Id_usuario) : 0;
    dialogo->SetDatosSeleccion(usuario, GetTipoOrdenStr(m_tipoEmisor));
    dialogo->exec();
    m_idEmisor = dialogo->IdEmisorElegido;
    m_ficheroEmisor = fichero;
    txtFicheroChange();
    if (m_idEmisor == 0)
        AvisoTexto(669, 6, IconoMensaje::Error);
}

void TFRMImportLibrados::cbtOKClick()
{
    if (Importando())
        return;
    const std::string fichero = cp1252::fromQString(txtFichero->text());
    const int tipo = GetTipoOrdenFichero(fichero);
    if (tipo == 0) {
        AvisoTexto(316, 317, IconoMensaje::Aviso);
        return;
    }
    if (!EmisorDelFichero() || tipo != m_tipoEmisor) {
        cbtOK->setEnabled(false);
        AvisoTexto(669, 6, IconoMensaje::Error);
        return;
    }
    {
        CursorEspera espera;
        LimpiaProceso();
        rbtCSB19->setChecked(tipo == 1);
        rbtCSB58->setChecked(tipo != 1);
        Importa(fichero, tipo);
        RecargaArbol(true);
    }
    txtFichero->clear();
    cbtOK->setEnabled(false);
    if (m_importacion.Confirmada() && App().Multiuser)
        App().Multiuser->NotificaActualizacion(NIVEL_LIBRADOS, tipo - 1);
}

void TFRMImportLibrados::Importa(const std::string &fichero, int tipo)
{
    TFormMain *m = App().FormMain;
    if (fichero.empty() || !m)
        return;
    m_importacion.ImportaLibradosCSB(
        fichero, tipo == 1 ? m->STRImpCSB19 : m->STRImpCSB58, GetTipoOrdenStr(tipo), m_idEmisor,
        [this](int minimo, int maximo, int posicion) { Progreso(minimo, maximo, posicion); },
        [this](const std::string &texto) { lstProceso->addItem(cp1252::toQString(texto)); },
        [this](const std::array<int, 12> &c) { Contadores(c); });
}

void TFRMImportLibrados::Contadores(const std::array<int, 12> &c)
{
    lblNLibrados->setText(QString::number(c[3]));
    lblLibradosRepetidos->setText(QString::number(c[7]));
    lblLibradosErroneos->setText(QString::number(c[11]));
    QApplication::processEvents();
}
