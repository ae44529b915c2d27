// The user editor: its controls and the user's own data.
#include "Uninuevouser.h"

#include "Aplicacion.h"
#include "Cfgfile.h"
#include "Controles.h"
#include "General.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "Trunpass.h"
#include "vasqdb.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const char *SiNo(bool valor)
{
    return valor ? "true" : "false";
}

} // namespace

bool BloqueaUsuarioEditado(int idUsuario)
{
    _multiuser *multiuser = App().Multiuser;
    multiuser->LiberaSeleccion();
    if (!multiuser->BloqueaUsuario(idUsuario, false))
        return false;
    multiuser->Sel_Usuario = idUsuario;
    return true;
}

TFRMNuevoUsuario::TFRMNuevoUsuario(QWidget *parent)
    : QDialog(parent),
      Label3(new QLabel(this)),
      Label2(new QLabel(this)),
      Label4(new QLabel(this)),
      Label1(new QLabel(this)),
      TXTCodUser(new QLineEdit(this)),
      TXTPassword(new QLineEdit(this)),
      TXTConfirmar(new QLineEdit(this)),
      TXTNombre(new QLineEdit(this)),
      GroupBox1(new QGroupBox(this)),
      CHKAlta(new QCheckBox(GroupBox1)),
      CHKBaja(new QCheckBox(GroupBox1)),
      CHKModificacion(new QCheckBox(GroupBox1)),
      CHKActivo(new QCheckBox(this)),
      GroupBox2(new QGroupBox(this)),
      TREEEmpresas(new QTreeWidget(GroupBox2)),
      BTNMas(new QPushButton(GroupBox2)),
      BTNModificar(new QPushButton(GroupBox2)),
      BTNBorrar(new QPushButton(GroupBox2)),
      BTNAceptar(new QPushButton(this)),
      BTNCancelar(new QPushButton(this))
{
    TXTCodUser->setMaxLength(15);
    TXTPassword->setMaxLength(13);
    TXTConfirmar->setMaxLength(13);
    TXTPassword->setEchoMode(QLineEdit::Password);
    TXTConfirmar->setEchoMode(QLineEdit::Password);
    TXTNombre->setMaxLength(30);
    AnchoParaCaracteres(TXTCodUser, 15);
    AnchoParaCaracteres(TXTPassword, 13);
    AnchoParaCaracteres(TXTConfirmar, 13);
    AnchoParaCaracteres(TXTNombre, 30);
    TREEEmpresas->setHeaderHidden(true);
    TREEEmpresas->setSelectionMode(QAbstractItemView::SingleSelection);
    TREEEmpresas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A long name scrolls sideways instead of being cut.
    TREEEmpresas->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    TREEEmpresas->header()->setStretchLastSection(false);
    // Wide enough for an issuer's whole name of 40 characters, three levels in.
    TREEEmpresas->setMinimumWidth(4 * TREEEmpresas->indentation() + style()->pixelMetric(QStyle::PM_SmallIconSize) +
                                  AnchoCaracteres(TREEEmpresas, 40) + 2 * TREEEmpresas->frameWidth() + 8);
    TREEEmpresas->installEventFilter(this);
    BTNAceptar->setDefault(true);

    auto *permisos = new QVBoxLayout(GroupBox1);
    permisos->addWidget(CHKAlta);
    permisos->addWidget(CHKBaja);
    permisos->addWidget(CHKModificacion);

    auto *arbol = new QGridLayout(GroupBox2);
    arbol->addWidget(TREEEmpresas, 0, 0, 4, 1);
    arbol->addWidget(BTNMas, 0, 1);
    arbol->addWidget(BTNModificar, 1, 1);
    arbol->addWidget(BTNBorrar, 2, 1);
    arbol->setRowStretch(3, 1);

    auto *rejilla = new QGridLayout(this);
    rejilla->addWidget(Label3, 0, 0);
    rejilla->addWidget(TXTCodUser, 0, 1);
    rejilla->addWidget(Label1, 1, 0);
    rejilla->addWidget(TXTNombre, 1, 1);
    rejilla->addWidget(Label2, 2, 0);
    rejilla->addWidget(TXTPassword, 2, 1);
    rejilla->addWidget(Label4, 3, 0);
    rejilla->addWidget(TXTConfirmar, 3, 1);
    rejilla->addWidget(GroupBox1, 0, 2, 3, 1);
    rejilla->addWidget(CHKActivo, 3, 2);
    rejilla->addWidget(GroupBox2, 4, 0, 1, 3);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    rejilla->addLayout(botones, 5, 0, 1, 3);
    rejilla->setColumnStretch(1, 1);
    resize(560, 480);
    OrdenTabulacion({TXTCodUser, TXTNombre, TXTPassword, TXTConfirmar, CHKAlta, CHKBaja, CHKModificacion, CHKActivo,
                     TREEEmpresas, BTNMas, BTNModificar, BTNBorrar, BTNAceptar, BTNCancelar});
    DescartaTeclasAlt(this);

    for (QLineEdit *caja : {TXTCodUser, TXTPassword, TXTConfirmar, TXTNombre})
        connect(caja, &QLineEdit::textChanged, this, &TFRMNuevoUsuario::TXTCodUserChange);
    for (QCheckBox *marca : {CHKAlta, CHKBaja, CHKModificacion, CHKActivo})
        connect(marca, &QCheckBox::toggled, this, &TFRMNuevoUsuario::TXTCodUserChange);
    connect(TREEEmpresas, &QTreeWidget::itemSelectionChanged, this, &TFRMNuevoUsuario::TREEEmpresasChange);
    connect(BTNMas, &QPushButton::clicked, this, &TFRMNuevoUsuario::BTNMasClick);
    connect(BTNModificar, &QPushButton::clicked, this, &TFRMNuevoUsuario::BTNModificarClick);
    connect(BTNBorrar, &QPushButton::clicked, this, &TFRMNuevoUsuario::BTNBorrarClick);
    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMNuevoUsuario::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &TFRMNuevoUsuario::BTNCancelarClick);
}

void TFRMNuevoUsuario::PreparaAlta(const std::string &idActual)
{
    m_idActual = idActual;
    m_idUsuario.clear();
    m_permisosBase = std::string(kFlagsPermisos, '0');
    Organizacion.Vacia(0);
    TREEEmpresas->clear();
    for (QLineEdit *caja : {TXTCodUser, TXTPassword, TXTConfirmar, TXTNombre})
        caja->clear();
    for (QCheckBox *marca : {CHKActivo, CHKAlta, CHKBaja, CHKModificacion}) {
        marca->setEnabled(true);
        marca->setChecked(false);
    }
    BTNAceptar->setText(Rotulo(2));
    m_existe = false;
    m_modificacion = false;
    m_cambiado = false;
    m_administrador = false;
}

void TFRMNuevoUsuario::PreparaModificacion(const STRUsuario &usuario, const std::string &idActual)
{
    m_idActual = idActual;
    m_idUsuario = usuario.Id_usuario;
    m_permisosBase = usuario.Permisos;
    m_existe = true;
    m_modificacion = true;
    BTNAceptar->setText(Rotulo(2));
    PonTextoCaja(TXTCodUser, usuario.Cod_usuario);
    PonTextoCaja(TXTPassword, usuario.Password);
    PonTextoCaja(TXTConfirmar, usuario.Password);
    PonTextoCaja(TXTNombre, usuario.Nombre_usuario);
    auto flag = [&usuario](size_t i) { return i < usuario.Permisos.size() && usuario.Permisos[i] == '1'; };
    CHKAlta->setChecked(flag(0));
    CHKBaja->setChecked(flag(1));
    CHKModificacion->setChecked(flag(2));
    CHKActivo->setChecked(usuario.Activo);
    CargaArbolUsuario();
    // The administrator stays active and keeps every permission.
    m_administrador = flag(3);
    if (m_administrador)
        CHKActivo->setChecked(true);
    for (QCheckBox *marca : {CHKActivo, CHKAlta, CHKBaja, CHKModificacion})
        marca->setEnabled(!m_administrador);
    m_cambiado = false;
}

void TFRMNuevoUsuario::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormActivate();
}

void TFRMNuevoUsuario::FormActivate()
{
    Label2->setText(Etiqueta(465));
    Label3->setText(Etiqueta(393));
    Label4->setText(Etiqueta(101));
    Label1->setText(Etiqueta(394));
    GroupBox1->setTitle(Rotulo(24));
    GroupBox2->setTitle(Rotulo(100));
    CHKAlta->setText(Rotulo(21));
    CHKBaja->setText(Rotulo(22));
    CHKModificacion->setText(Rotulo(23));
    CHKActivo->setText(Rotulo(19));
    BTNAceptar->setText(Rotulo(2));
    BTNCancelar->setText(Rotulo(3));
    BTNMas->setText(Rotulo(10, u'd')); // Aceptar has the A
    BTNModificar->setText(Rotulo(38, u'M'));
    BTNBorrar->setText(Rotulo(37, u'B'));
    for (QPushButton *boton : {BTNMas, BTNModificar, BTNBorrar})
        boton->setEnabled(false);
    AnchoBotonesArbol();
    SafeSetFocus(TXTCodUser);
    m_cambiado = false;
}

void TFRMNuevoUsuario::TXTCodUserChange()
{
    m_cambiado = true;
}

STRUsuario TFRMNuevoUsuario::LeeEditor() const
{
    STRUsuario u;
    u.Id_usuario = m_idUsuario;
    u.Cod_usuario = TextoCaja(TXTCodUser);
    u.Password = TextoCaja(TXTPassword);
    u.Nombre_usuario = TextoCaja(TXTNombre);
    u.Permisos = m_permisosBase;
    if (u.Permisos.size() < 4)
        u.Permisos.resize(4, '0');
    u.Permisos[0] = CHKAlta->isChecked() ? '1' : '0';
    u.Permisos[1] = CHKBaja->isChecked() ? '1' : '0';
    u.Permisos[2] = CHKModificacion->isChecked() ? '1' : '0';
    u.Permisos[3] = m_administrador ? '1' : '0';
    u.Permisos.resize(std::min(u.Permisos.size(), kFlagsPermisos));
    u.Activo = CHKActivo->isChecked();
    return u;
}

void TFRMNuevoUsuario::BTNAceptarClick()
{
    const std::string codigo = LimpiaCaja(TXTCodUser);
    const std::string nombre = LimpiaCaja(TXTNombre);
    if (codigo.empty() || nombre.empty()) {
        AvisoTexto(102, 1, IconoMensaje::Error);
        return;
    }
    if (TXTPassword->text() != TXTConfirmar->text()) {
        AvisoTexto(87, 1, IconoMensaje::Error);
        return;
    }
    if (!m_existe) {
        InsertaUsuario();
        return;
    }
    if (GuardaUsuario())
        accept();
}

void TFRMNuevoUsuario::BTNCancelarClick()
{
    reject();
}

// Another user with this code, compared as the login compares codes (without regard to
// case, also as earlier builds stored them), the edited user left out.
bool TFRMNuevoUsuario::CodigoRepetido(const std::string &codigo) const
{
    int total = 0;
    DBGetData(FormateaTexto("SELECT COUNT(*) AS Total FROM [_Usuarios()] WHERE %s AND Id_usuario<>%d;",
                            IgualCodigo("Cod_usuario", codigo), Numero(m_idUsuario)),
              [&total](char *fila, char *seguir, int) {
                  total = Numero(GetCampo("Total", fila));
                  *seguir = 0;
              });
    if (total > 0)
        AvisoTexto(81, 1, IconoMensaje::Error);
    return total > 0;
}

void TFRMNuevoUsuario::InsertaUsuario()
{
    const STRUsuario u = LeeEditor();
    if (CodigoRepetido(u.Cod_usuario))
        return;
    const std::string sql = FormateaTexto("INSERT INTO [_Usuarios()] ([Cod_usuario],[Password],[Nombre_usuario],"
                                          "[Permisos],[Activo],Block) VALUES ('%s','%s','%s','%s',%s,0);",
                                          LimpiaTextoSQL(u.Cod_usuario), CodificaPassword(u.Password),
                                          LimpiaTextoSQL(u.Nombre_usuario), u.Permisos, SiNo(u.Activo));
    int filas = 0;
    if (VASQ_ExecSQL(sql.c_str(), &filas) != 0 || filas != 1) {
        char error[1024];
        VASQ_GetLastErrorCodeDesc(error, sizeof error);
        WriteLog(std::string("[ Uninuevouser::InsertaUsuario ] ") + error);
        AvisoTexto(81, 1, IconoMensaje::Error);
        return;
    }
    const int id = static_cast<int>(VASQ_GetLastInsertID());
    App().Multiuser->NotificaActualizacion(NIVEL_USUARIOS, 0);
    BloqueaUsuarioEditado(id);
    m_existe = true;
    m_cambiado = false;
    m_idUsuario = std::to_string(id);
    Organizacion.Vacia(id);
    AnadeRaiz();
}

bool TFRMNuevoUsuario::GuardaUsuario()
{
    const STRUsuario u = LeeEditor();
    if (CodigoRepetido(u.Cod_usuario))
        return false;
    const int id = Numero(u.Id_usuario);
    _multiuser *multiuser = App().Multiuser;
    // Locks run outside the transaction: release the user's before writing.
    multiuser->LiberaSeleccion();
    int filas = 0;
    if (!EscribeCambios(u, filas)) {
        BloqueaUsuarioEditado(id);
        return false;
    }
    Organizacion.Confirma();
    if (filas == 1)
        multiuser->NotificaActualizacion(NIVEL_USUARIOS, 0);
    else if (m_cambiado && multiuser->GetBloqueoUsuario(id) > 0)
        AvisoTexto(653, 6, IconoMensaje::Informacion);
    if (m_modificacion) {
        multiuser->NotificaActualizacion(NIVEL_USUARIOS, 0);
        multiuser->NotificaActualizacion(NIVEL_TODO, 0);
    }
    return true;
}

// The organisation's changes and the user's row in one transaction; filasUsuario tells
// whether the user's row was let through its lock. On failure nothing stays written and the
// reason has been shown.
bool TFRMNuevoUsuario::EscribeCambios(const STRUsuario &u, int &filasUsuario)
{
    const bool propio = Numero(u.Id_usuario) == Numero(m_idActual);
    const std::string sql =
        FormateaTexto(propio ? "UPDATE [_Usuarios()] SET [Cod_usuario]='%s',[Password]='%s',[Nombre_usuario]='%s',"
                               "[Permisos]='%s',[Activo]=%s WHERE Id_Usuario=%d;"
                             : "UPDATE [_Usuarios()] SET [Cod_usuario]='%s',[Password]='%s',[Nombre_usuario]='%s',"
                               "[Permisos]='%s',[Activo]=%s WHERE Id_Usuario=%d AND Block=0;",
                      LimpiaTextoSQL(u.Cod_usuario), CodificaPassword(u.Password), LimpiaTextoSQL(u.Nombre_usuario),
                      u.Permisos, SiNo(u.Activo), Numero(u.Id_usuario));
    FalloOrganizacion fallo;
    bool ok = VASQ_BeginTrans() == 0 && Organizacion.Escribe(fallo);
    if (ok && VASQ_ExecSQL(sql.c_str(), &filasUsuario) != 0)
        ok = false;
    if (ok && VASQ_CommitTrans() == 0)
        return true;
    if (fallo.Texto == 0 && fallo.Error.empty()) {
        // A failure of the library itself (the SQL layer has logged its own).
        char error[1024] = "";
        VASQ_GetLastErrorCodeDesc(error, sizeof error);
        fallo.Error = error;
        WriteLog("[ Uninuevouser::GuardaUsuario ] " + fallo.Error);
    }
    VASQ_Rollback();
    if (fallo.Texto != 0)
        AvisoTexto(fallo.Texto, 6, IconoMensaje::Informacion);
    else
        CajaMensaje(fallo.Error, Idioma.GetTexto(1), IconoMensaje::Error);
    return false;
}
