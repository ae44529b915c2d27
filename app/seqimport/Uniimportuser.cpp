// The sequential import window.
#include "Uniimportuser.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmain.h"
#include "Frmmsg.h"
#include "General.h"
#include "Login.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "qcp1252.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Cuenta(int n)
{
    return QString::number(n);
}

// The suffix of a name filter's first pattern: "sec" of "Archivos (*.sec)", none of "*.*".
QString Sufijo(const QString &filtro)
{
    static const QRegularExpression patron(QStringLiteral("\\*\\.(\\w+)"));
    return patron.match(filtro).captured(1);
}

} // namespace

TFRMImportuser::TFRMImportuser(QWidget *parent)
    : QDialog(parent), Label1(new QLabel(this)), txtFichero(new QLineEdit(this)),
      cbtCommonDialog(new QPushButton("...", this)), BTNImportar(new QPushButton(this)),
      BTNCerrar(new QPushButton(this)), CGauge1(new QProgressBar(this)), Label10(new QLabel(this)),
      Label6(new QLabel(this)), Label12(new QLabel(this)), Label2(new QLabel(this)), Label3(new QLabel(this)),
      Label4(new QLabel(this)), Label5(new QLabel(this)), lblNEmisores(new QLabel(this)),
      lblNRemesas(new QLabel(this)), lblNRecibos(new QLabel(this)), lblNLibrados(new QLabel(this)),
      lblEmisoresRepetidos(new QLabel(this)), lblRemesasRepetidas(new QLabel("--", this)),
      lblRecibosRepetidos(new QLabel(this)), lblLibradosRepetidos(new QLabel(this)),
      lblEmisoresErroneos(new QLabel(this)), lblRemesasErroneas(new QLabel(this)),
      lblRecibosErroneos(new QLabel(this)), lblLibradosErroneos(new QLabel(this)),
      MEMMensajes(new QPlainTextEdit(this)), OpenDiag1(new QFileDialog(this)),
      m_importacion({[this](const std::string &t) { Mensaje(t); },
                     [this](long long hecho, long long total, bool) { Progreso(hecho, total); }})
{
    setObjectName("FRMImportuser");
    MEMMensajes->setReadOnly(true);
    OpenDiag1->setFileMode(QFileDialog::ExistingFile);
    OpenDiag1->setOption(QFileDialog::DontUseNativeDialog);
    // A name typed without suffix takes the chosen filter's ("cobros" is "cobros.sec").
    connect(OpenDiag1, &QFileDialog::filterSelected, this,
            [this](const QString &filtro) { OpenDiag1->setDefaultSuffix(Sufijo(filtro)); });
    AnchoParaCaracteres(txtFichero, 50);
    cbtCommonDialog->setFixedWidth(cbtCommonDialog->fontMetrics().horizontalAdvance("....") * 2);
    resize(620, 480);

    auto *fichero = new QHBoxLayout;
    fichero->addWidget(Label1);
    fichero->addWidget(txtFichero, 1);
    fichero->addWidget(cbtCommonDialog);
    auto *cuentas = new QGridLayout;
    cuentas->addWidget(Label10, 0, 1, Qt::AlignRight);
    cuentas->addWidget(Label6, 0, 2, Qt::AlignRight);
    cuentas->addWidget(Label12, 0, 3, Qt::AlignRight);
    QLabel *filas[4][4] = {{Label2, lblNEmisores, lblEmisoresRepetidos, lblEmisoresErroneos},
                           {Label3, lblNRemesas, lblRemesasRepetidas, lblRemesasErroneas},
                           {Label4, lblNRecibos, lblRecibosRepetidos, lblRecibosErroneos},
                           {Label5, lblNLibrados, lblLibradosRepetidos, lblLibradosErroneos}};
    for (int f = 0; f < 4; ++f)
        for (int c = 0; c < 4; ++c) {
            cuentas->addWidget(filas[f][c], f + 1, c);
            if (c > 0)
                filas[f][c]->setAlignment(Qt::AlignRight);
        }
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNImportar);
    botones->addWidget(BTNCerrar);
    auto *vertical = new QVBoxLayout(this);
    vertical->addLayout(fichero);
    vertical->addLayout(cuentas);
    vertical->addWidget(CGauge1);
    vertical->addWidget(MEMMensajes, 1);
    vertical->addLayout(botones);

    connect(cbtCommonDialog, &QPushButton::clicked, this, &TFRMImportuser::cbtCommonDialogClick);
    connect(txtFichero, &QLineEdit::textChanged, this, &TFRMImportuser::txtFicheroChange);
    connect(BTNImportar, &QPushButton::clicked, this, &TFRMImportuser::BTNImportarClick);
    connect(BTNCerrar, &QPushButton::clicked, this, &TFRMImportuser::BTNCerrarClick);
}

void TFRMImportuser::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormActivate();
}

void TFRMImportuser::FormActivate()
{
    setWindowTitle(Rotulo(467));
    Label1->setText(Rotulo(355));
    BTNImportar->setText(Rotulo(36, u'I'));
    BTNCerrar->setText(Rotulo(8));
    Label10->setText(Rotulo(391));
    Label6->setText(Rotulo(387));
    Label12->setText(Rotulo(390));
    Label2->setText(Rotulo(439));
    Label3->setText(Rotulo(388));
    Label4->setText(Rotulo(440));
    Label5->setText(Rotulo(389));
    ReiniciaPantalla();
    txtFichero->clear();
    BTNImportar->setEnabled(false);
}

void TFRMImportuser::ReiniciaPantalla()
{
    CGauge1->setRange(0, 100);
    CGauge1->setValue(0);
    for (QLabel *l : {lblNEmisores, lblNRemesas, lblNRecibos, lblNLibrados, lblEmisoresRepetidos, lblRecibosRepetidos,
                      lblLibradosRepetidos, lblEmisoresErroneos, lblRemesasErroneas, lblRecibosErroneos,
                      lblLibradosErroneos})
        l->setText("0");
    MEMMensajes->clear();
}

void TFRMImportuser::MuestraContadores()
{
    const ContadoresImportacion c = m_importacion.Contadores();
    lblNEmisores->setText(Cuenta(c.Emisores.Importados));
    lblNRemesas->setText(Cuenta(c.Remesas.Importados));
    lblNRecibos->setText(Cuenta(c.Recibos.Importados));
    lblNLibrados->setText(Cuenta(c.Librados.Importados));
    lblEmisoresRepetidos->setText(Cuenta(c.Emisores.Repetidos));
    lblRecibosRepetidos->setText(Cuenta(c.Recibos.Repetidos));
    lblLibradosRepetidos->setText(Cuenta(c.Librados.Repetidos));
    lblEmisoresErroneos->setText(Cuenta(c.Emisores.Erroneos));
    lblRemesasErroneas->setText(Cuenta(c.Remesas.Erroneos));
    lblRecibosErroneos->setText(Cuenta(c.Recibos.Erroneos));
    lblLibradosErroneos->setText(Cuenta(c.Librados.Erroneos));
}

void TFRMImportuser::Progreso(long long hecho, long long total)
{
    // The gauge counts in thousandths: a data file's bytes pass an int.
    CGauge1->setRange(0, 1000);
    CGauge1->setValue(total > 0 ? int(hecho * 1000 / total) : 0);
    MuestraContadores();
    QApplication::processEvents();
}

void TFRMImportuser::Mensaje(const std::string &texto)
{
    MEMMensajes->appendPlainText(cp1252::toQString(texto));
}

std::string TFRMImportuser::EligeFichero(int filtro, const char *nombre, int titulo)
{
    OpenDiag1->setNameFilters(FiltrosTexto(filtro));
    OpenDiag1->selectNameFilter(OpenDiag1->nameFilters().value(0));
    OpenDiag1->setDefaultSuffix(Sufijo(OpenDiag1->nameFilters().value(0)));
    OpenDiag1->selectFile(nombre);
    OpenDiag1->setWindowTitle(Rotulo(titulo));
    if (OpenDiag1->exec() != QDialog::Accepted || OpenDiag1->selectedFiles().isEmpty())
        return {};
    return cp1252::fromQString(OpenDiag1->selectedFiles().front());
}

void TFRMImportuser::cbtCommonDialogClick()
{
    const std::string fichero = EligeFichero(528, "*.txt", 539);
    if (fichero.empty())
        return;
    txtFichero->setText(cp1252::toQString(fichero));
    BTNImportar->setEnabled(true);
}

void TFRMImportuser::txtFicheroChange()
{
    BTNImportar->setEnabled(!txtFichero->text().isEmpty());
}

void TFRMImportuser::BTNImportarClick()
{
    if (m_importacion.Ejecutando())
        return;
    ReiniciaPantalla();
    // The file in the box, chosen or typed.
    const std::string datos = TextoCaja(txtFichero);
    if (!QFileInfo(txtFichero->text()).isFile()) {
        AvisoTexto(522, 1, IconoMensaje::Error);
        return;
    }
    const std::string plantilla = EligeFichero(527, "*.sec", 540);
    if (plantilla.empty())
        return;
    const int usuario = App().FormLogin ? Numero(App().FormLogin->LoginData.Id_usuario) : 0;
    const int empresa = App().FormMain ? Numero(App().FormMain->IdEmpresa) : 0;
    for (QWidget *w : std::initializer_list<QWidget *>{txtFichero, cbtCommonDialog, BTNImportar})
        w->setEnabled(false);
    _ImportacionUsuario::Resultado resultado;
    {
        CursorEspera cursor;
        resultado = m_importacion.Ejecuta(plantilla, datos, usuario, empresa);
    }
    txtFichero->setEnabled(true);
    cbtCommonDialog->setEnabled(true);
    txtFicheroChange();
    MuestraContadores();
    Termina(resultado);
    if (m_cerrar) {
        m_cerrar = false;
        QDialog::reject();
    }
}

// After the transaction: the notice of another company, the tree and the other copies.
void TFRMImportuser::Termina(_ImportacionUsuario::Resultado resultado)
{
    if (resultado != _ImportacionUsuario::Resultado::Terminada)
        return;
    if (!m_importacion.EmpresaActual())
        CajaMensaje(Idioma.GetTexto(523) + Recorta(m_importacion.NombreEmpresa()) + Idioma.GetTexto(524),
                    Idioma.GetTexto(525), IconoMensaje::Informacion);
    if (TFormMain *main = App().FormMain) {
        main->CargaArbol(main->IdEmpresa);
        QTreeWidget *arbol = main->treeInfoGlobal;
        if (QTreeWidgetItem *segundo = arbol->topLevelItemCount() ? arbol->itemBelow(arbol->topLevelItem(0)) : nullptr)
            arbol->setCurrentItem(segundo);
    }
    if (_multiuser *m = App().Multiuser)
        m->NotificaActualizacion(0, 0);
}

void TFRMImportuser::BTNCerrarClick()
{
    if (m_importacion.Ejecutando())
        m_importacion.Para();
    else
        QDialog::reject();
}

void TFRMImportuser::FormClose()
{
    MEMMensajes->clear();
}

void TFRMImportuser::reject()
{
    BTNCerrarClick();
    m_cerrar = m_importacion.Ejecutando();
}

void TFRMImportuser::closeEvent(QCloseEvent *evento)
{
    if (m_importacion.Ejecutando()) {
        m_importacion.Para();
        m_cerrar = true;
        evento->ignore();
        return;
    }
    FormClose();
    QDialog::closeEvent(evento);
}
