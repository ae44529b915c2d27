// User administration: the list of the database's users, and the commands that add, delete
// and modify them (through the user editor) and switch them active or inactive, each as the
// administering user's permissions allow.
//
// Permission flags, by position: 1 may add users, 2 may delete them, 3 may modify them,
// 4 administrator (cannot be deleted or deactivated, and only an administrator or
// maintenance mode modifies it).
#pragma once

#include <QDialog>
#include <string>

class QPushButton;
class QTableWidget;

// The permissions of maintenance mode and the user it acts as.
inline constexpr const char *kPermisosMantenimiento = "1111000000";
inline constexpr const char *kUsuarioMantenimiento = "-1";

class TFRMGestionusers : public QDialog {
    Q_OBJECT
public:
    explicit TFRMGestionusers(QWidget *parent = nullptr);

    // Set by the login window before showing: the window then acts as the maintenance user.
    bool Mantenimiento = false;

    // The administering user (id, at most 9 characters; permission flags, at most 20):
    // enables the add, delete and modify buttons by its first three flags.
    void SetUsuarioActual(const std::string &idUsuario, const std::string &permisos);

    // Reloads the list keeping the selected row (another running copy changed the users).
    void RefreshUsersGrid();

    void BTNAltaClick();
    void BTNBajaClick();
    void BTNModificacionClick();
    void BTNCerrarClick();
    void STGridUsersDblClick(int fila, int columna);
    // Delete, Insert and Space run the delete, add and modify commands while their buttons
    // are enabled; true when the key was one of them.
    bool STGridUsersKeyDown(int tecla);

    // Grid columns: 0 active (an icon; the value in Qt::UserRole), 1 user code, 2 user name,
    // 3 the key (hidden; the permission flags in Qt::UserRole).
    QTableWidget *STGridUsers;
    QPushButton *BTNAlta;
    QPushButton *BTNBaja;
    QPushButton *BTNModificacion;
    QPushButton *BTNCerrar;

    // Closing in any way (FormClose) releases this copy's selection locks.
    void done(int resultado) override;

protected:
    void showEvent(QShowEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormShow();
    void CargaUsuarios();
    void SeleccionaFila(int fila);
    int FilaSeleccionada() const;
    int IdFila(int fila) const;
    bool AdministradorFila(int fila) const;
    bool ActivoFila(int fila) const;
    void PonActivo(int fila, bool activo);
    bool Permiso(int flag) const;
    bool EsPropio(int idUsuario) const;

    std::string m_idActual;
    std::string m_permisosActual;
    int m_administradores = 0;
};
