// The organisation a user owns (companies, presenters, issuers) as the user editor holds it
// while it is open: the rows as loaded, the changes made since, and their writing in one
// short transaction when the editor is confirmed.
//
// No write transaction is held while the editor waits for the user: every change is kept
// here and replayed, in the order it was made, by Escribe. A row added here has a
// provisional key below 0 until it is written; its real key is the connection's own last
// insert id. The uniqueness counts see the database and the changes held here together.
//
// Texts are Windows-1252, already cleaned (LimpiaTexto) by the dialogs.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

enum NivelOrganizacion { NivelUsuario = 0, NivelEmpresa = 1, NivelPresentador = 2, NivelEmisor = 3 };

struct STREmpresa {
    std::string Cif;    // at most 10 characters
    std::string Nombre; // at most 30
};

struct STRPresentador {
    std::string Id_orden;          // "CSB19" or "CSB58"
    std::string Clave_presentador; // NIF right-aligned in 9, then the suffix right-aligned in 3
    std::string Id_nif;            // at most 9
    std::string Sufijo;            // at most 3
    std::string Razon_social;      // at most 40
};

struct STREmisor {
    std::string Id_nif;       // at most 9
    std::string Sufijo;       // at most 3
    std::string Razon_social; // at most 40
    std::string Cuenta_abono; // 20 digits
    std::string Cuenta_cargo; // 20 digits or empty
    std::string Desc_cuenta;  // at most 30
};

// The data of one row; its alternative tells the level (company, presenter, issuer).
using DatosOrganizacion = std::variant<STREmpresa, STRPresentador, STREmisor>;

struct ElementoOrganizacion {
    int Clave = 0; // the row's key; below 0 while the row is not written
    int Padre = 0; // the owner's key: user, company or presenter
    DatosOrganizacion Datos;
    NivelOrganizacion Nivel() const { return NivelOrganizacion(Datos.index() + 1); }
};

// What went wrong while writing: the language text to show (0 when the failure is the SQL
// layer's own, whose text is Error), under caption text 6 for a refusal.
struct FalloOrganizacion {
    int Texto = 0;
    std::string Error;
};

class _Organizacion {
public:
    // Forgets everything; the organisation of user idUsuario is then empty.
    void Vacia(int idUsuario);

    // Loads the user's companies, their presenters and their issuers. False when a query
    // failed (logged by the SQL layer); what was read stays.
    bool Carga(int idUsuario);

    int IdUsuario() const { return m_idUsuario; }

    // The rows of one level owned by padre, in tree order (as loaded, then as added).
    std::vector<const ElementoOrganizacion *> Hijos(NivelOrganizacion nivel, int padre) const;
    const ElementoOrganizacion *Busca(NivelOrganizacion nivel, int clave) const;
    bool TieneHijos(NivelOrganizacion nivel, int clave) const;

    // The language text that refuses the row's removal, 0 when nothing depends on it: rows
    // below it here, or rows in the database that this object does not know of (presenters
    // of a company and issuers of a presenter added by another running copy: 73, 74;
    // batches of an issuer: 711), and drawees of an issuer that no other issuer of its order
    // type would take (its own and those the issuers removed here would pass to it: 712).
    // A failed query counts as dependent.
    int TextoDependientes(NivelOrganizacion nivel, int clave) const;

    // True when the row exists in the database and no change held here touches it.
    bool SinCambios(NivelOrganizacion nivel, int clave) const;

    // Reads the row again from the database when it has no change held here; false when it
    // is not there (or has changes).
    bool Relee(NivelOrganizacion nivel, int clave);

    // Changes. Alta returns the new row's provisional key. Modifica keeps the key and the
    // owner. Baja of an issuer also records the move of its drawees to the first other
    // issuer in tree order whose presenter has the same order type (with none, an issuer
    // that has drawees is refused: TextoDependientes, Escribe).
    int Alta(int padre, const DatosOrganizacion &datos);
    void Modifica(NivelOrganizacion nivel, int clave, const DatosOrganizacion &datos);
    void Baja(NivelOrganizacion nivel, int clave);

    // The issuer that would receive the drawees of emisor, or 0 for none.
    int DestinoLibrados(int emisor) const;

    bool HayCambios() const { return !m_cambios.empty(); }

    // How many other rows of candidato's level and owner carry the same unique data (a
    // company's tax code; a presenter's NIF, suffix and order type; an issuer's NIF and
    // suffix), compared as the database compares them (without regard to case; suffixes as
    // the bank reads them, "1" as "001"):
    // candidato.Clave is the row being modified, 0 for an addition; a modification that keeps
    // the row's unique data as held counts none (twins an earlier build stored stay
    // editable). Rows in the database that this object does not know are counted too; a
    // failed query counts none.
    int CuentaIguales(const ElementoOrganizacion &candidato) const;

    // Writes every change held, in order, through the main connection; the caller wraps it
    // in a transaction and rolls back on failure. A change of a row that is locked (its
    // statement changes no row), an issuer that still has batches or drawees no other issuer
    // takes, or a failed statement stops the writing and is returned. Nothing here changes
    // until Confirma.
    bool Escribe(FalloOrganizacion &fallo);

    // After the caller committed what Escribe wrote: the changes are forgotten and the rows
    // carry their real keys.
    void Confirma();

    // The real key a provisional one received from the last Escribe (the key itself when it
    // is real or was not written).
    int ClaveReal(NivelOrganizacion nivel, int clave) const;

private:
    enum TipoCambio { Alta_, Modificacion_, Baja_ };
    struct Cambio {
        TipoCambio Tipo;
        ElementoOrganizacion Elemento;
        int Destino = 0; // issuer removal: the drawees' new issuer
    };

    void CargaNivel(NivelOrganizacion nivel, int padre, bool &ok);
    std::string Conocidas(NivelOrganizacion nivel) const;
    // The stored issuers whose drawees would end with emisor: itself and the issuers removed
    // here whose drawees pass to it, directly or through another removed one.
    std::string LlegadasLibrados(int emisor) const;
    ElementoOrganizacion *BuscaMutable(NivelOrganizacion nivel, int clave);
    bool EscribeCambio(const Cambio &cambio, FalloOrganizacion &fallo);

    int m_idUsuario = 0;
    int m_ultimaProvisional = 0;
    std::vector<ElementoOrganizacion> m_elementos;
    std::vector<Cambio> m_cambios;
    std::map<std::pair<int, int>, int> m_claves;               // (level, provisional) -> real
    std::vector<std::pair<int, int>> m_conocidas;               // (level, key) read from the database
};
