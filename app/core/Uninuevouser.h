// The user editor: a user's own data (code, password, name, permissions, activity) in its
// upper half and the user's organisation of companies, presenters and issuers as a tree in
// its lower half.
//
// An addition inserts the user at the first OK on a valid form and stays open, so that the
// organisation can be given; a modification opens on a user that exists. The organisation's
// changes are held by Organizacion and written, with the user's own data, in one short
// transaction at the final OK; Cancel forgets them (an inserted user stays).
#pragma once

#include "Organizacion.h"

#include <QDialog>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// One user as the editor reads and writes it. Texts are Windows-1252.
struct STRUsuario {
    std::string Id_usuario;     // decimal key, at most 9 characters; empty while not inserted
    std::string Cod_usuario;    // at most 15
    std::string Password;       // the clear password, at most 13
    std::string Nombre_usuario; // at most 30
    std::string Permisos;       // at most 20 flags "1"/"0": add, delete, modify, administrator, ...
    bool Activo = false;
};

// Users created here get this many flags, all "0" but the ones set.
inline constexpr size_t kFlagsPermisos = 20;

// Takes the exclusive lock of a user and, only when it was taken, makes the user this copy's
// selected user, so that LiberaSeleccion releases it. Any previous selection is released
// first. False when the lock was refused.
bool BloqueaUsuarioEditado(int idUsuario);

class TFRMNuevoUsuario : public QDialog {
    Q_OBJECT
public:
    explicit TFRMNuevoUsuario(QWidget *parent = nullptr);

    // Before showing. idActual is the user who administers ("-1" in maintenance mode): that
    // user's own row is saved without the lock test. PreparaModificacion takes the user as
    // read, password in clear, and loads the organisation.
    void PreparaAlta(const std::string &idActual);
    void PreparaModificacion(const STRUsuario &usuario, const std::string &idActual);

    // The edited user's key once its row exists, else empty.
    const std::string &IdUsuario() const { return m_idUsuario; }

    // Fills the tree with the user's organisation, read again from the database.
    void CargaArbolUsuario();

    void BTNAceptarClick();
    void BTNCancelarClick();
    void TXTCodUserChange();
    void TREEEmpresasChange();
    void BTNMasClick();
    void BTNModificarClick();
    void BTNBorrarClick();

    QLabel *Label3;
    QLabel *Label2;
    QLabel *Label4;
    QLabel *Label1;
    QLineEdit *TXTCodUser;
    QLineEdit *TXTPassword;
    QLineEdit *TXTConfirmar;
    QLineEdit *TXTNombre;
    QGroupBox *GroupBox1;
    QCheckBox *CHKAlta;
    QCheckBox *CHKBaja;
    QCheckBox *CHKModificacion;
    QCheckBox *CHKActivo;
    QGroupBox *GroupBox2;
    QTreeWidget *TREEEmpresas;
    QPushButton *BTNMas;
    QPushButton *BTNModificar;
    QPushButton *BTNBorrar;
    QPushButton *BTNAceptar;
    QPushButton *BTNCancelar;

    // The organisation being edited.
    _Organizacion Organizacion;

protected:
    void showEvent(QShowEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormActivate();
    void AnchoBotonesArbol();
    STRUsuario LeeEditor() const;
    bool CodigoRepetido(const std::string &codigo) const;
    void InsertaUsuario();
    bool GuardaUsuario();
    bool EscribeCambios(const STRUsuario &usuario, int &filasUsuario);

    // The tree.
    QTreeWidgetItem *AnadeNodo(QTreeWidgetItem *padre, const ElementoOrganizacion &elemento);
    void PonNodo(QTreeWidgetItem *nodo, const ElementoOrganizacion &elemento);
    void AnadeRaiz();
    QTreeWidgetItem *NodoElegido() const;
    int Nivel(const QTreeWidgetItem *nodo) const;
    int Clave(const QTreeWidgetItem *nodo) const;
    void AnadeEmpresa(QTreeWidgetItem *nodo);
    void AnadePresentador(QTreeWidgetItem *nodo);
    void AnadeEmisor(QTreeWidgetItem *nodo);
    bool Bloqueado(NivelOrganizacion nivel, int clave) const;

    std::string m_idActual;
    std::string m_idUsuario;
    std::string m_permisosBase; // flags the editor does not show, kept as they were
    bool m_existe = false;
    bool m_modificacion = false;
    bool m_cambiado = false;
    bool m_administrador = false;
};
