// The login window.
#include "Login.h"

#include "Aplicacion.h"
#include "Cfgfile.h"
#include "Controles.h"
#include "General.h"
#include "Imagenes.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "Trunpass.h"
#include "Uniusuarios.h"
#include "cp1252.h"
#include "profile.h"
#include "progdir.h"
#include "qcp1252.h"
#include "vasqdb.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const char *const kNingunUsuario = "*NADA*";

std::string RutaIni()
{
    return progdir::file("Orvanta.INI");
}

// The record the password check's row callback fills (the library's callback is a plain
// function).
STRLoginData *g_usuarioLeido = nullptr;

void CopiaUsuario(char *fila, char *, int)
{
    STRLoginData &d = *g_usuarioLeido;
    d.Id_usuario = GetCampo("Id_usuario", fila);
    d.Cod_usuario = NullToEmpty(GetCampoTexto("Cod_usuario", fila));
    d.Password = NullToEmpty(GetCampo("Password", fila));
    d.Nombre_usuario = NullToEmpty(GetCampoTexto("Nombre_usuario", fila));
    d.Permisos = NullToEmpty(GetCampo("Permisos", fila));
    d.Activo = !cp1252::equalNoCase(GetCampo("Activo", fila), "FALSE");
}

QPushButton *Enlace(QWidget *padre)
{
    auto *boton = new QPushButton(padre);
    boton->setFlat(true);
    boton->setCursor(Qt::PointingHandCursor);
    return boton;
}

} // namespace

TFormLogin::TFormLogin(QWidget *parent)
    : QDialog(parent),
      Image1(new QLabel(this)),
      panelLogin(new QWidget(this)),
      Label1(new QLabel(panelLogin)),
      txtUsuario(new QComboBox(panelLogin)),
      Label2(new QLabel(panelLogin)),
      txtPassword(new QLineEdit(panelLogin)),
      panelEmpresa(new QWidget(this)),
      lblNameEmpresa(new QLabel(panelEmpresa)),
      Label3(new QLabel(panelEmpresa)),
      cbxEmpresa(new QComboBox(panelEmpresa)),
      cbtOK(new QPushButton(this)),
      cbtCancel(new QPushButton(this)),
      spdUsuarios(Enlace(this)),
      spdImportar(Enlace(this)),
      OpenDialog1(new QFileDialog(this))
{
    for (const QString &p : QCoreApplication::arguments().mid(1))
        Parametros.push_back(cp1252::fromQString(p));

    Image1->setPixmap(ImagenBanner());
    Image1->setScaledContents(true);
    Image1->setFixedHeight(56);
    txtPassword->setMaxLength(13);
    txtPassword->setEchoMode(QLineEdit::Password);
    QFont negrita = lblNameEmpresa->font();
    negrita.setBold(true);
    lblNameEmpresa->setFont(negrita);
    lblNameEmpresa->setAlignment(Qt::AlignCenter);
    cbtOK->setDefault(true);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setNameFilter(QStringLiteral("*.ini"));
    OpenDialog1->selectFile(QStringLiteral("*.ini"));
    OpenDialog1->setWindowTitle(cp1252::toQString("Fichero de importaci\xF3n de usuarios telvirana"));

    AnchoParaCaracteres(txtUsuario, 15);
    AnchoParaCaracteres(txtPassword, 13);
    AnchoParaCaracteres(cbxEmpresa, 30);

    // The fields take what the window gives beyond their labels.
    auto *usuario = new QGridLayout(panelLogin);
    usuario->addWidget(Label1, 0, 0);
    usuario->addWidget(txtUsuario, 0, 1);
    usuario->addWidget(Label2, 1, 0);
    usuario->addWidget(txtPassword, 1, 1);
    usuario->setColumnStretch(1, 1);
    auto *empresa = new QGridLayout(panelEmpresa);
    empresa->addWidget(lblNameEmpresa, 0, 0, 1, 2);
    empresa->addWidget(Label3, 1, 0);
    empresa->addWidget(cbxEmpresa, 1, 1);
    empresa->setColumnStretch(1, 1);
    // The two steps take the same place and replace each other.
    auto *pasos = new QGridLayout;
    pasos->addWidget(panelLogin, 0, 0);
    pasos->addWidget(panelEmpresa, 0, 0);
    auto *enlaces = new QHBoxLayout;
    enlaces->addWidget(spdUsuarios);
    enlaces->addWidget(spdImportar);
    enlaces->addStretch();
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cbtOK);
    botones->addWidget(cbtCancel);
    auto *vertical = new QVBoxLayout(this);
    vertical->setContentsMargins(0, 0, 0, 8);
    vertical->addWidget(Image1);
    vertical->addLayout(pasos);
    vertical->addLayout(enlaces);
    vertical->addLayout(botones);
    // Both steps as wide as the wider, so that the window keeps its size between them.
    const int ancho = std::max(panelLogin->minimumSizeHint().width(), panelEmpresa->minimumSizeHint().width());
    panelLogin->setMinimumWidth(ancho);
    panelEmpresa->setMinimumWidth(ancho);
    panelEmpresa->hide();
    resize(350, sizeHint().height());
    OrdenTabulacion({txtUsuario, txtPassword, cbxEmpresa, spdUsuarios, spdImportar, cbtOK, cbtCancel});
    DescartaTeclasAlt(this);

    connect(cbtOK, &QPushButton::clicked, this, &TFormLogin::cbtOKClick);
    connect(cbtCancel, &QPushButton::clicked, this, &TFormLogin::cbtCancelClick);
    connect(spdUsuarios, &QPushButton::clicked, this, &TFormLogin::spdUsuariosClick);
    connect(spdImportar, &QPushButton::clicked, this, &TFormLogin::spdImportarClick);
}

void TFormLogin::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFormLogin::FormShow()
{
    m_ocupado = false;
    txtUsuario->clear();
    txtPassword->clear();
    panelLogin->show();
    panelEmpresa->hide();
    spdImportar->setEnabled(static_cast<bool>(ImportaUsuarios));
    spdUsuarios->setEnabled(false);
    AplicaIdioma();
    m_mantenimiento = Parametros.size() == 1 && Parametros.front() == CodigoMantenimiento();
    if (m_mantenimiento)
        spdUsuarios->setEnabled(true);
    CargaUsuarios();
    SeleccionaUltimoUsuario();
    SafeSetFocus(txtPassword);
}

void TFormLogin::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible)
        MuestraAvisos();
}

// Each notice blocks the login while it shows, and the next one follows it when it closes.
void TFormLogin::MuestraAvisos()
{
    QDialog *aviso = AvisoPendiente();
    if (!aviso) {
        if (isVisible())
            activateWindow();
        return;
    }
    aviso->setWindowModality(Qt::ApplicationModal);
    connect(aviso, &QDialog::finished, this, &TFormLogin::MuestraAvisos, Qt::SingleShotConnection);
    aviso->show();
    aviso->activateWindow();
}

QDialog *TFormLogin::AvisoPendiente()
{
    auto activado = [](const char *clave, size_t largo) {
        return cp1252::equalNoCase(profile::readString(RutaIni(), "General", clave, "Si", largo), "Si");
    };
    if (!m_ayudaMostrada && AyudaInicial && activado("PresentarAyuda", 2)) {
        m_ayudaMostrada = true;
        return AyudaInicial(this);
    }
    if (!m_recordatorioMostrado && RecordatorioEuro && activado("PresentarRecordatorioEuro", std::string::npos)) {
        QDialog *recordatorio = RecordatorioEuro(this);
        m_recordatorioMostrado = recordatorio != nullptr;
        return recordatorio;
    }
    return nullptr;
}

void TFormLogin::AplicaIdioma()
{
    setWindowTitle(cp1252::toQString(Idioma.GetTexto(120) + " Versi\xF3n 2.10"));
    spdUsuarios->setText(QStringLiteral("&") + Rotulo(75));
    spdImportar->setText(QStringLiteral("&") + Rotulo(121));
    Label1->setText(Rotulo(453));
    Label2->setText(Rotulo(465));
    Label3->setText(Rotulo(478));
    cbtOK->setText(Rotulo(2));
    cbtCancel->setText(Rotulo(3));
}

void TFormLogin::CargaUsuarios()
{
    txtUsuario->clear();
    m_idsUsuario.clear();
    DBGetData("SELECT * FROM [_Usuarios()] WHERE Activo=true ORDER BY Cod_usuario ;", [this](char *fila, char *, int) {
        txtUsuario->addItem(cp1252::toQString(GetCampoTexto("Cod_usuario", fila)));
        m_idsUsuario.push_back(GetCampo("Id_usuario", fila));
    });
    txtUsuario->setCurrentIndex(txtUsuario->count() > 0 ? 0 : -1);
}

void TFormLogin::SeleccionaUltimoUsuario()
{
    const std::string ultimo = profile::readString(RutaIni(), "USUARIOS", "Ultimo usuario", kNingunUsuario, 28);
    if (cp1252::equalNoCase(ultimo, kNingunUsuario)) {
        if (txtUsuario->count() > 0)
            txtUsuario->setCurrentIndex(0);
        return;
    }
    const int i = txtUsuario->findText(cp1252::toQString(ultimo), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0)
        txtUsuario->setCurrentIndex(i);
}

void TFormLogin::CargaEmpresasUsuario()
{
    m_idsEmpresa.clear();
    cbxEmpresa->clear();
    DBGetData(FormateaTexto("SELECT * FROM [_Empresas( Datos )] WHERE [_Empresas( Datos )].Id_usuario=%d;",
                            Numero(LoginData.Id_usuario)),
              [this](char *fila, char *, int) {
                  cbxEmpresa->addItem(cp1252::toQString(NullToEmpty(GetCampoTexto("Nombre", fila))));
                  m_idsEmpresa.push_back(GetCampo("Id_empresa", fila));
              });
    if (cbxEmpresa->count() > 0)
        cbxEmpresa->setCurrentIndex(0);
    SafeSetFocus(cbxEmpresa);
}

bool TFormLogin::CompruebaUsuario(const std::string &codigo, const std::string &clave)
{
    LoginData.Id_usuario.clear();
    LoginData.Cod_usuario.clear();
    LoginData.Password.clear();
    LoginData.Nombre_usuario.clear();
    LoginData.Permisos.clear();
    const std::string sql = FormateaTexto("SELECT * FROM [_Usuarios()] WHERE (%s AND "
                                          "[_Usuarios()].Password='%s' AND [_Usuarios()].Activo=true);",
                                          IgualCodigo("[_Usuarios()].Cod_usuario", codigo), CodificaPassword(clave));
    g_usuarioLeido = &LoginData;
    VASQ_GetData(sql.c_str(), CopiaUsuario);
    g_usuarioLeido = nullptr;
    return !LoginData.Id_usuario.empty();
}

bool TFormLogin::EnEmpresa() const
{
    return !panelEmpresa->isHidden();
}

void TFormLogin::cbtOKClick()
{
    if (m_ocupado)
        return;
    if (!EnEmpresa()) {
        if (!CompruebaUsuario(cp1252::fromQString(txtUsuario->currentText()), TextoCaja(txtPassword))) {
            AvisoTexto(112, 113, IconoMensaje::Aviso);
            return;
        }
        spdImportar->setEnabled(false);
        spdUsuarios->setEnabled(true);
        App().Multiuser->RegistraUsuarioLogin(Numero(LoginData.Id_usuario));
        App().FRMGestionusers->SetUsuarioActual(LoginData.Id_usuario, LoginData.Permisos);
        lblNameEmpresa->setText(cp1252::toQString(LoginData.Nombre_usuario));
        CargaEmpresasUsuario();
        panelLogin->hide();
        panelEmpresa->show();
        SafeSetFocus(cbxEmpresa);
        profile::writeString(RutaIni(), "USUARIOS", "Ultimo usuario", cp1252::fromQString(txtUsuario->currentText()));
        return;
    }
    const int i = cbxEmpresa->currentIndex();
    if (i < 0 || i >= static_cast<int>(m_idsEmpresa.size())) {
        AvisoTexto(110, 111, IconoMensaje::Informacion);
        return;
    }
    if (MuestraEmpresa)
        MuestraEmpresa(Numero(m_idsEmpresa[static_cast<size_t>(i)]));
    if (TituloPrincipal)
        TituloPrincipal(" Orvanta [ " + LoginData.Nombre_usuario + " ]");
    accept();
}

void TFormLogin::VuelveAlUsuario()
{
    App().Multiuser->DesbloqueaUsuarioLogin();
    panelEmpresa->hide();
    panelLogin->show();
    spdUsuarios->setEnabled(false);
    spdImportar->setEnabled(static_cast<bool>(ImportaUsuarios));
    txtPassword->clear();
}

void TFormLogin::cbtCancelClick()
{
    if (EnEmpresa()) {
        VuelveAlUsuario();
        SafeSetFocus(txtPassword);
        return;
    }
    reject();
}

void TFormLogin::reject()
{
    if (EnEmpresa())
        VuelveAlUsuario();
    QDialog::reject();
}

void TFormLogin::keyPressEvent(QKeyEvent *evento)
{
    switch (evento->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: cbtOKClick(); break;
    case Qt::Key_Escape: cbtCancelClick(); break;
    default: QDialog::keyPressEvent(evento); break;
    }
}

void TFormLogin::spdUsuariosClick()
{
    if (m_ocupado)
        return;
    TFRMGestionusers *usuarios = App().FRMGestionusers;
    usuarios->Mantenimiento = m_mantenimiento;
    usuarios->exec();
    CargaUsuarios();
    SeleccionaUltimoUsuario();
    if (!LoginData.Id_usuario.empty())
        CargaEmpresasUsuario();
}

void TFormLogin::spdImportarClick()
{
    if (m_ocupado || !ImportaUsuarios || OpenDialog1->exec() != QDialog::Accepted)
        return;
    const QStringList elegidos = OpenDialog1->selectedFiles();
    if (elegidos.isEmpty())
        return;
    m_ocupado = true;
    ImportaUsuarios(cp1252::fromQString(elegidos.first()));
    m_ocupado = false;
    CargaUsuarios();
}

void TFormLogin::RefreshUserCombo()
{
    const int i = txtUsuario->currentIndex();
    const std::string id = i >= 0 && i < static_cast<int>(m_idsUsuario.size()) ? m_idsUsuario[size_t(i)] : "";
    CargaUsuarios();
    for (size_t k = 0; k < m_idsUsuario.size(); ++k)
        if (!id.empty() && m_idsUsuario[k] == id)
            txtUsuario->setCurrentIndex(static_cast<int>(k));
    if (EnEmpresa())
        CargaEmpresasUsuario();
}
