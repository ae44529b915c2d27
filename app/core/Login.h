// The login window and the current user.
//
// Two steps on one window: the user picks a user code and types the password; then picks one
// of the companies that user owns. Only then does the window close accepted. LoginData then
// holds the logged-in user: the program's one current user, read by every other window.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The logged-in user. Texts are Windows-1252; Id_usuario is empty while nobody is logged in.
struct STRLoginData {
    std::string Id_usuario;     // key in [_Usuarios()], decimal digits
    std::string Cod_usuario;    // the user code
    std::string Password;       // the password as stored (letters "A" to "P"), never in clear
    std::string Nombre_usuario; // the user's descriptive name
    std::string Permisos;       // permission flags "1"/"0" (see Uniusuarios.h)
    bool Activo = true;
};

class TFormLogin : public QDialog {
    Q_OBJECT
public:
    explicit TFormLogin(QWidget *parent = nullptr);

    // The current user, filled by the password check.
    STRLoginData LoginData;

    // What the main window does when a company is chosen: makes it current (by its key)
    // and shows the caption it is given. Unset members are skipped.
    std::function<void(int idEmpresa)> MuestraEmpresa;
    std::function<void(const std::string &titulo)> TituloPrincipal;
    // The import of the bank's users file chosen with spdImportar; while it is unset the
    // link stays disabled.
    std::function<void(const std::string &ruta)> ImportaUsuarios;
    // The first-start help, owned by the login window and not shown yet. The login shows it
    // while [General] PresentarAyuda is "Si" (whatever the case), once per run.
    std::function<QDialog *(QWidget *dueno)> AyudaInicial;
    // The euro reminder, owned by the login window and not shown yet; null before the euro
    // date. The login shows it while [General] PresentarRecordatorioEuro is "Si" (whatever the
    // case), until it has shown once in the run.
    std::function<QDialog *(QWidget *dueno)> RecordatorioEuro;

    // The command-line parameters after the program's name (Windows-1252); the constructor
    // takes them from the application.
    std::vector<std::string> Parametros;

    // The password check: fills LoginData from the active user with this code whose stored
    // password is that of clave. True when such a user exists; a database failure reads as
    // no user. LoginData's texts are emptied first.
    bool CompruebaUsuario(const std::string &codigo, const std::string &clave);

    // Reloads the user list keeping the selected user (another running copy changed the
    // users), and the company list on the second step.
    void RefreshUserCombo();

    void cbtOKClick();
    void cbtCancelClick();
    void spdUsuariosClick();
    void spdImportarClick();

    QLabel *Image1;
    QWidget *panelLogin;
    QLabel *Label1;
    QComboBox *txtUsuario;
    QLabel *Label2;
    QLineEdit *txtPassword;
    QWidget *panelEmpresa;
    QLabel *lblNameEmpresa;
    QLabel *Label3;
    QComboBox *cbxEmpresa;
    QPushButton *cbtOK;
    QPushButton *cbtCancel;
    QPushButton *spdUsuarios;
    QPushButton *spdImportar;
    QFileDialog *OpenDialog1;

    // Closing the window on the second step also releases the user's lock.
    void reject() override;
    // Once the window shows, the first-start help and then the euro reminder, when due, show
    // in front of it, each with the keys until it closes; then the window has them again.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;

private:
    void FormShow();
    void AplicaIdioma();
    void CargaUsuarios();
    void CargaEmpresasUsuario();
    void SeleccionaUltimoUsuario();
    bool EnEmpresa() const;
    void VuelveAlUsuario();

    void MuestraAvisos();
    QDialog *AvisoPendiente();

    bool m_mantenimiento = false;
    bool m_ocupado = false;
    bool m_ayudaMostrada = false; // for the whole run: a change of user does not show it again
    bool m_recordatorioMostrado = false; // likewise
    std::vector<std::string> m_idsEmpresa;
    std::vector<std::string> m_idsUsuario;
};
