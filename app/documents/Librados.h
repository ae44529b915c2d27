// Drawees ("librados"), the debtors of an issuer: the checks a drawee passes before it is
// stored and its one store, shared by the bill editor, the drawee window and the imports.
//
// Texts are Windows-1252. Which fields a drawee uses depends on the order type of the
// presenter above its issuer (1 CSB19, 2 CSB58). A drawee's reference code is unique among
// the drawees of one user's companies whose presenters have the same order type.
//
// Checks show their own messages (language texts through the message box) and never open
// a transaction; the store shows none and runs inside the caller's transaction, if any.
#pragma once

#include "General.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The fields of a drawee as the windows hold them. CSB58 uses Direccion, CP and Localidad
// for the debtor's domicile, postcode and town, and Loc_ordenante and
// Cod_provincia_ordenante for the receiver's; CSB19 uses Titular_cuenta and Provincia.
struct STRLibrado {
    std::string Codigo_referencia, Razon_social;
    std::string Banco, Oficina, DC, Cuenta; // the account: 4, 4, 2 and 10 digits
    std::string Titular_cuenta, Direccion, CP, Localidad, Provincia;
    std::string Loc_ordenante, Cod_provincia_ordenante;

    // The four account parts joined.
    std::string CuentaCompleta() const { return Banco + Oficina + DC + Cuenta; }
    // Splits a stored account 4/4/2/10 into the four parts (missing characters read empty).
    void PonCuenta(std::string_view veinte);
    // Control digits typed that do not match the account (General's DigitosErroneos).
    bool DigitosErroneos() const;
};

// Control digits typed that do not match the account: text 828 (title 142, error icon) and
// true. The account is not stored with digits the user did not type.
bool RechazaDigitos(const STRLibrado &l);

// The account of a CSB58 drawee without one.
inline constexpr const char *kCuentaCeros = "00000000000000000000";

// The drawee of a row text of [Librados( Datos )] ("NULL" reads empty).
STRLibrado LeeFilaLibrado(std::string_view fila);

// The Id_librado of the drawee with the reference code (trimmed; also as earlier builds
// stored it, IgualCodigo) among the drawees of the user's companies whose presenter has the
// order type, the drawee excepto left out; the last row found wins. 0 when there is none or
// the query failed. fila, when given, receives that drawee's row text.
int BuscaLibrado(int idUsuario, int tipoOrden, std::string_view codigo, std::string *fila = nullptr,
                 int excepto = 0);

// A CSB19 postcode: at least five characters, all digits, the first two a province 01 to 52.
bool CPValido19(std::string_view cp);

// Another drawee of the user and order type than idLibrado (0 for a new one) has the code
// (as BuscaLibrado finds it): shows text 302 (caption 303, information icon) and gives true.
bool ExisteCodigoReferencia(int idUsuario, int tipoOrden, std::string_view codigo, int idLibrado = 0);

// The required fields of the order type: every missing one is listed in one message (text
// 304 followed by the fields, caption 140, information icon); false when any is missing.
bool IsAllInputInfo(const STRLibrado &l, int tipoOrden);

// The drawee window's check before a store of the drawee idLibrado (0 for a new one), in
// this order: the duplicate check (only with comprobarCodigo: a new drawee, or one whose code
// changed; the drawee itself is never its duplicate), the required fields, the own
// entity's account rule, then CSB19's postcode (text 572; the postcode is emptied) and the
// control digits of both formats: typed ones that do not match refuse (RechazaDigitos);
// empty ones, or an account ValidaCCC refuses otherwise, are computed in place after text
// 141 (caption 309). A CSB58 drawee without account gets the zeros. True when it may be
// stored.
bool ValidaLibrado(STRLibrado &l, int tipoOrden, int idUsuario, bool comprobarCodigo, int idLibrado = 0);

// A stored drawee: its key, its code and its account as stored (trimmed).
struct LibradoGuardado {
    int Id = 0;
    std::string Codigo, Cuenta;
};
// An issuer's drawees by their reference as the bank reads it (ReferenciaBanco), in key
// order: drawees the bank cannot tell apart share a key.
using LibradosBanco = std::multimap<std::string, LibradoGuardado>;

// The drawees of idEmisor into guardados; the query's error, or the empty text.
std::string LibradosComoBanco(int idEmisor, LibradosBanco &guardados);
// The codes of the drawees that the bank reads as codigo.
std::vector<std::string> CodigosComoBanco(const LibradosBanco &guardados, std::string_view codigo);

// What a store did.
enum class ResultadoLibrado {
    Insertado,   // a new row; its key is in idLibrado
    Actualizado, // the row idLibrado was rewritten
    Bloqueado,   // the row idLibrado is locked by a running copy (or gone): nothing changed
    Fallido,     // a statement failed (logged), or a new drawee has no issuer: nothing stored
};

// Stores the drawee: with idLibrado above 0 the format's guarded UPDATE of that row; else
// the format's INSERT under the issuer idEmisor (above 0), the new key read back as this
// connection's last insert. Every text, account and postcode included, is stored cleaned
// (LimpiaTexto) and the code trimmed; a CSB58 drawee with an empty account is stored with
// kCuentaCeros, its province code cut to 2.
ResultadoLibrado GuardaLibrado(int tipoOrden, int idEmisor, int &idLibrado, const STRLibrado &l);

// The drawee statements of a run that stores many drawees (the imports), each prepared at
// its first use and kept for the run.
class LibradosEmisor {
public:
    // The Id_librado of the issuer's drawee with the code (0 when none; the first one when
    // several): a code found as it is or as earlier builds stored it (CodigoAnterior), an
    // empty one as NULL or empty. Returns the empty text or the query's error.
    std::string Busca(int idEmisor, std::string_view codigo, int &idLibrado);
    // Busca for the code of a CSB file, whose records carry a reference as the bank reads
    // it: a code that Busca does not find finds the issuer's drawee whose stored code the
    // bank reads so (ReferenciaBanco), when it is one only. When several are, their codes go
    // to iguales, for this code every time in the run, and idLibrado is 0 (or the drawee
    // stored for the code since).
    std::string BuscaEnFichero(int idEmisor, std::string_view codigo, int &idLibrado,
                               std::vector<std::string> &iguales);
    // The INSERT of GuardaLibrado: Insertado with the new key, or Fallido.
    ResultadoLibrado Inserta(int tipoOrden, int idEmisor, int &idLibrado, const STRLibrado &l);
    // A line of an imported file whose code (trimmed, as read) found the drawee idLibrado,
    // with the line's account as the import reads it (trimmed): empty when the line's bill
    // may go out on the drawee's stored account; else the report's line, text 926 when the
    // line carries another account that could be sent, or text 927 when the stored one
    // cannot be sent (CuentaEnviable of the order type). A line without account
    // (RegistrosCSB::SinCuenta) or with one that cannot be sent (the import's own account
    // check reports it) is not compared.
    std::string CuentaDistinta(int idLibrado, std::string_view codigo, std::string_view cuenta,
                               int tipoOrden) const;

private:
    std::optional<SentenciaSQL> m_busca, m_buscaVacio, m_inserta[2];
    // The drawees the run found or stored, by issuer and code as given: the same code finds
    // the same drawee again without a query.
    std::map<std::pair<int, std::string>, int> m_conocidos;
    std::map<int, std::string> m_cuentas; // their stored accounts, by Id_librado
    // Every drawee of an issuer that a code of a file did not find (LibradosComoBanco); read
    // at that first miss, then kept with the drawees the run stores.
    std::map<int, LibradosBanco> m_comoBanco;
    // The codes of a file that the bank reads as several stored ones, by issuer and code.
    std::map<std::pair<int, std::string>, std::vector<std::string>> m_ambiguos;
};

// True when the stored row idLibrado holds what GuardaLibrado would write of l.
bool CoincideLibrado(int tipoOrden, int idLibrado, const STRLibrado &l);
