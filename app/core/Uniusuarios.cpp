// User administration.
#include "Uniusuarios.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "General.h"
#include "Imagenes.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "Trunpass.h"
#include "Uninuevouser.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Columna { ColActivo = 0, ColCodigo = 1, ColNombre = 2, ColId = 3 };

bool Flag(const std::string &permisos, size_t n)
{
    return n >= 1 && n <= permisos.size() && permisos[n - 1] == '1';
}

// The user's row as the editor takes it, password in clear; false when there is no row.
bool LeeUsuario(int id, STRUsuario &u)
{
    bool leido = false;
    DBGetData(FormateaTexto("SELECT * FROM [_Usuarios()] WHERE [Id_Usuario]=%d;", id),
              [&](char *fila, char *seguir, int) {
                  u.Id_usuario = GetCampo("Id_usuario", fila).substr(0, 9);
                  u.Cod_usuario = GetCampoTexto("Cod_usuario", fila).substr(0, 15);
                  u.Password = DecodificaPassword(NullToEmpty(GetCampo("Password", fila)));
                  u.Nombre_usuario = NullToEmpty(GetCampoTexto("Nombre_usuario", fila)).substr(0, 30);
                  u.Permisos = NullToEmpty(GetCampo("Permisos", fila)).substr(0, 20);
                  u.Activo = !cp1252::equalNoCase(GetCampo("Activo", fila), "False");
                  leido = true;
                  *seguir = 0;
              });
    return leido;
}

// The user still owns a company: its organisation would stay where no window reaches it.
bool TieneEmpresas(int id)
{
    bool alguna = false;
    DBGetData(FormateaTexto("SELECT Id_empresa FROM [_Empresas( Datos )] WHERE Id_usuario=%d;", id),
              [&alguna](char *, char *seguir, int) {
                  alguna = true;
                  *seguir = 0;
              });
    return alguna;
}

} // namespace

TFRMGestionusers::TFRMGestionusers(QWidget *parent)
    : QDialog(parent),
      STGridUsers(new QTableWidget(this)),
      BTNAlta(new QPushButton(this)),
      BTNBaja(new QPushButton(this)),
      BTNModificacion(new QPushButton(this)),
      BTNCerrar(new QPushButton(this))
{
    STGridUsers->setColumnCount(4);
    STGridUsers->setSelectionBehavior(QAbstractItemView::SelectRows);
    STGridUsers->setSelectionMode(QAbstractItemView::SingleSelection);
    STGridUsers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    STGridUsers->setTabKeyNavigation(false); // Tab leaves the grid for the buttons
    STGridUsers->verticalHeader()->hide();
    STGridUsers->verticalHeader()->setDefaultSectionSize(18);
    // The icon, then a code of 15 characters and a name of 30 shown whole.
    const int margen = 2 * STGridUsers->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    STGridUsers->setColumnWidth(ColActivo, 18 + margen);
    STGridUsers->setColumnWidth(ColCodigo, AnchoCaracteres(STGridUsers, 15) + margen);
    STGridUsers->setColumnWidth(ColNombre, AnchoCaracteres(STGridUsers, 30) + margen);
    STGridUsers->setColumnHidden(ColId, true);
    STGridUsers->horizontalHeader()->setStretchLastSection(true);
    int columnas = 0;
    for (int c : {ColActivo, ColCodigo, ColNombre})
        columnas += STGridUsers->columnWidth(c);
    STGridUsers->setMinimumWidth(columnas + 2 * STGridUsers->frameWidth() +
                                 STGridUsers->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    STGridUsers->installEventFilter(this);
    BTNCerrar->setDefault(true);

    auto *botones = new QHBoxLayout;
    for (QPushButton *boton : {BTNAlta, BTNBaja, BTNModificacion})
        botones->addWidget(boton);
    botones->addStretch();
    botones->addWidget(BTNCerrar);
    auto *vertical = new QVBoxLayout(this);
    vertical->addWidget(STGridUsers);
    vertical->addLayout(botones);
    resize(420, 320);
    OrdenTabulacion({STGridUsers, BTNAlta, BTNBaja, BTNModificacion, BTNCerrar});
    DescartaTeclasAlt(this);

    connect(BTNAlta, &QPushButton::clicked, this, &TFRMGestionusers::BTNAltaClick);
    connect(BTNBaja, &QPushButton::clicked, this, &TFRMGestionusers::BTNBajaClick);
    connect(BTNModificacion, &QPushButton::clicked, this, &TFRMGestionusers::BTNModificacionClick);
    connect(BTNCerrar, &QPushButton::clicked, this, &TFRMGestionusers::BTNCerrarClick);
    connect(STGridUsers, &QTableWidget::cellDoubleClicked, this, &TFRMGestionusers::STGridUsersDblClick);
    SetUsuarioActual("", ""); // nothing is permitted until a user is given
}

void TFRMGestionusers::SetUsuarioActual(const std::string &idUsuario, const std::string &permisos)
{
    m_idActual = idUsuario.substr(0, 9);
    m_permisosActual = permisos.substr(0, 20);
    BTNAlta->setEnabled(Permiso(1));
    BTNBaja->setEnabled(Permiso(2));
    BTNModificacion->setEnabled(Permiso(3));
}

bool TFRMGestionusers::Permiso(int flag) const
{
    return Flag(m_permisosActual, static_cast<size_t>(flag));
}

bool TFRMGestionusers::EsPropio(int idUsuario) const
{
    return idUsuario == Numero(m_idActual);
}

void TFRMGestionusers::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFRMGestionusers::FormShow()
{
    BTNAlta->setText(QStringLiteral("&") + Rotulo(21));
    BTNBaja->setText(QStringLiteral("&") + Rotulo(22));
    BTNModificacion->setText(QStringLiteral("&") + Rotulo(23));
    BTNCerrar->setText(Rotulo(8));
    setWindowTitle(Rotulo(75));
    STGridUsers->setHorizontalHeaderLabels({QString(), Rotulo(77), Rotulo(76), QString()});
    if (Mantenimiento)
        SetUsuarioActual(kUsuarioMantenimiento, kPermisosMantenimiento);
    CargaUsuarios();
    int fila = 0;
    for (int i = 0; i < STGridUsers->rowCount(); ++i)
        if (EsPropio(IdFila(i)))
            fila = i;
    SeleccionaFila(fila);
    STGridUsers->setFocus();
    if (m_administradores > 1)
        CajaMensaje("Hay m\xE1s de un usuario administrador en la base de datos", Idioma.GetTexto(1),
                    IconoMensaje::Ninguno);
}

void TFRMGestionusers::CargaUsuarios()
{
    STGridUsers->setRowCount(0);
    m_administradores = 0;
    DBGetData("SELECT [Id_usuario],[Cod_usuario],[Nombre_usuario],[Permisos],[Activo] FROM [_Usuarios()] ORDER BY "
              "[Cod_usuario], [Nombre_usuario];",
              [this](char *fila, char *, int) {
                  const int r = STGridUsers->rowCount();
                  STGridUsers->insertRow(r);
                  auto *codigo = new QTableWidgetItem(cp1252::toQString(GetCampoTexto("Cod_usuario", fila)));
                  auto *nombre = new QTableWidgetItem(
                      cp1252::toQString(NullToEmpty(GetCampoTexto("Nombre_usuario", fila))));
                  auto *id = new QTableWidgetItem(cp1252::toQString(GetCampo("Id_usuario", fila)));
                  const std::string permisos = NullToEmpty(GetCampo("Permisos", fila));
                  id->setData(Qt::UserRole, cp1252::toQString(permisos));
                  STGridUsers->setItem(r, ColActivo, new QTableWidgetItem);
                  STGridUsers->setItem(r, ColCodigo, codigo);
                  STGridUsers->setItem(r, ColNombre, nombre);
                  STGridUsers->setItem(r, ColId, id);
                  PonActivo(r, cp1252::equalNoCase(GetCampo("Activo", fila), "TRUE"));
                  if (Flag(permisos, 4))
                      ++m_administradores;
              });
}

void TFRMGestionusers::PonActivo(int fila, bool activo)
{
    QTableWidgetItem *celda = STGridUsers->item(fila, ColActivo);
    celda->setData(Qt::UserRole, activo);
    celda->setIcon(ImagenActivo(activo));
}

void TFRMGestionusers::RefreshUsersGrid()
{
    const int fila = FilaSeleccionada();
    CargaUsuarios();
    if (fila < STGridUsers->rowCount())
        SeleccionaFila(fila);
}

void TFRMGestionusers::SeleccionaFila(int fila)
{
    if (fila >= 0 && fila < STGridUsers->rowCount())
        STGridUsers->setCurrentCell(fila, ColCodigo);
}

int TFRMGestionusers::FilaSeleccionada() const
{
    const QList<QTableWidgetItem *> seleccion = STGridUsers->selectedItems();
    return seleccion.isEmpty() ? -1 : seleccion.first()->row();
}

int TFRMGestionusers::IdFila(int fila) const
{
    const QTableWidgetItem *id = STGridUsers->item(fila, ColId);
    return id ? id->text().toInt() : 0;
}

bool TFRMGestionusers::AdministradorFila(int fila) const
{
    const QTableWidgetItem *id = STGridUsers->item(fila, ColId);
    return id && Flag(cp1252::fromQString(id->data(Qt::UserRole).toString()), 4);
}

bool TFRMGestionusers::ActivoFila(int fila) const
{
    const QTableWidgetItem *celda = STGridUsers->item(fila, ColActivo);
    return celda && celda->data(Qt::UserRole).toBool();
}

void TFRMGestionusers::BTNAltaClick()
{
    TFRMNuevoUsuario *editor = App().FRMNuevoUsuario;
    editor->PreparaAlta(m_idActual);
    editor->setWindowTitle(Rotulo(82));
    editor->exec();
    App().Multiuser->LiberaSeleccion();
    RefreshUsersGrid();
}

void TFRMGestionusers::BTNModificacionClick()
{
    const int fila = FilaSeleccionada();
    if (fila < 0)
        return;
    const int id = IdFila(fila);
    if (!Permiso(4) && AdministradorFila(fila) && !Mantenimiento) {
        AvisoTexto(86, 6, IconoMensaje::Error);
        return;
    }
    if (EsPropio(id))
        AvisoTexto(84, 6, IconoMensaje::Informacion);
    STRUsuario usuario;
    if (!LeeUsuario(id, usuario))
        return;
    // The editor opens whether the lock was taken or not: the save then tells.
    BloqueaUsuarioEditado(id);
    TFRMNuevoUsuario *editor = App().FRMNuevoUsuario;
    editor->setWindowTitle(Rotulo(83));
    editor->PreparaModificacion(usuario, m_idActual);
    editor->exec();
    App().Multiuser->LiberaSeleccion();
    CargaUsuarios();
    SeleccionaFila(fila);
}

void TFRMGestionusers::BTNBajaClick()
{
    const int fila = FilaSeleccionada();
    if (fila < 0)
        return;
    const int id = IdFila(fila);
    if (EsPropio(id)) {
        AvisoTexto(78, 6, IconoMensaje::Error);
        return;
    }
    if (AdministradorFila(fila)) {
        AvisoTexto(79, 6, IconoMensaje::Error);
        return;
    }
    if (App().Multiuser->GetBloqueoUsuario(id) > 0) {
        AvisoTexto(652, 6, IconoMensaje::Informacion);
        return;
    }
    if (TieneEmpresas(id)) {
        AvisoTexto(710, 6, IconoMensaje::Informacion);
        return;
    }
    if (AvisoTexto(80, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) != RespuestaSi)
        return;
    int filas = 0;
    DBExecSQL(FormateaTexto("DELETE FROM [_Usuarios()] WHERE [Id_Usuario]=%d AND Block=0 AND NOT EXISTS (SELECT "
                            "Id_empresa FROM [_Empresas( Datos )] WHERE Id_usuario=%d);",
                            id, id),
              filas);
    if (filas == 1)
        App().Multiuser->NotificaActualizacion(NIVEL_USUARIOS, 0);
    else // locked, or given a company, since it was asked
        AvisoTexto(TieneEmpresas(id) ? 710 : 652, 6, IconoMensaje::Informacion);
    CargaUsuarios();
    SeleccionaFila(filas == 1 && fila >= 1 ? fila - 1 : fila);
}

void TFRMGestionusers::BTNCerrarClick()
{
    accept();
}

void TFRMGestionusers::done(int resultado)
{
    App().Multiuser->LiberaSeleccion();
    QDialog::done(resultado);
}

void TFRMGestionusers::STGridUsersDblClick(int fila, int columna)
{
    if (!Permiso(3) || fila < 0 || fila >= STGridUsers->rowCount())
        return;
    const bool administrador = AdministradorFila(fila);
    if (administrador && !Permiso(4))
        return;
    if (columna != ColActivo) {
        BTNModificacionClick();
        return;
    }
    if (administrador)
        return; // the administrator is never deactivated
    const int id = IdFila(fila);
    const bool activo = !ActivoFila(fila);
    int filas = 0;
    DBExecSQL(FormateaTexto(EsPropio(id) ? "UPDATE [_Usuarios()] SET [Activo]=%s WHERE [Id_Usuario]=%d;"
                                         : "UPDATE [_Usuarios()] SET [Activo]=%s WHERE [Id_Usuario]=%d AND Block=0;",
                            activo ? "true" : "false", id),
              filas);
    if (filas == 1) {
        App().Multiuser->NotificaActualizacion(NIVEL_USUARIOS, 0);
        PonActivo(fila, activo);
    } else {
        AvisoTexto(653, 6, IconoMensaje::Informacion);
    }
}

bool TFRMGestionusers::STGridUsersKeyDown(int tecla)
{
    QPushButton *boton = tecla == Qt::Key_Delete   ? BTNBaja
                         : tecla == Qt::Key_Insert ? BTNAlta
                         : tecla == Qt::Key_Space  ? BTNModificacion
                                                   : nullptr;
    if (!boton)
        return false;
    if (boton->isEnabled())
        boton->click();
    return true;
}

bool TFRMGestionusers::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == STGridUsers && evento->type() == QEvent::KeyPress &&
        STGridUsersKeyDown(static_cast<QKeyEvent *>(evento)->key()))
        return true;
    return QDialog::eventFilter(objeto, evento);
}
