// The batch and bill records that the editors receive, their loaders from the database, and
// the three states of a bill.
//
// Texts are Windows-1252, as the row text gives them (unescaped): a null or empty column
// reads "NULL".
#pragma once

#include <QDate>
#include <string>
#include <string_view>

// What an editor is opened for.
enum ModoRegistro { RegistroVacio = 0, RegistroNuevo = 1, RegistroModificar = 2 };

// The batch editor's input record.
struct STRRemesa {
    int Modo = RegistroVacio;
    std::string Id_remesa, Id_moneda, Id_plantilla, Con_emision, Descripcion;
};

// The bill editor's input record: the bill, its drawee, its concept and its batch's
// currency, template and issue flag.
struct STRDocumento {
    int Modo = RegistroVacio;
    std::string Id_librado, Razon_social, Cuenta, Titular_cuenta, Direccion, CP, Localidad, Provincia,
        Codigo_referencia, Importe, Contravalor, Cod_devolucion, Ref_interna, Id_concepto;
    QDate F_vencimiento; // invalid when the bill has none
    std::string Loc_ordenante, Cod_provincia_ordenante;
    QDate F_formalizacion;
    std::string Id_moneda, Id_plantilla, Con_emision, Primer_concepto, Concepto;
    std::string F_proceso; // as the row text reads it: "NULL" while the bill was never sent
};

// The batch idRemesa (its key as decimal text) in modify mode; a cleared record (mode 0,
// empty texts) when it cannot be read.
STRRemesa CargaRemesa(std::string_view idRemesa);

// The bill idDocumento in modify mode, with its drawee, its batch's currency, template and
// issue flag and its concept ("NULL" when it has none); a cleared record when it cannot be
// read (also when its drawee or batch is missing).
STRDocumento CargaDocumento(std::string_view idDocumento);

// A bill's state from its columns Activo and Situacion. Active and deactivated bills count in
// the batch's total; only active ones go into a send file; an erroneous bill (Situacion 1,
// left by a CSB import) counts nowhere and cannot be activated or deactivated.
enum EstadoRecibo { ReciboActivo, ReciboDesactivado, ReciboErroneo };

// activo as the row text reads it ("TRUE"/"FALSE"), situacion its decimal text.
EstadoRecibo GetEstadoRecibo(std::string_view activo, std::string_view situacion);

// The state as the bills grid holds it: "TRUE", "FALSE" or "Err".
std::string TextoEstadoRecibo(EstadoRecibo estado);

// Runs an INSERT through the SQL layer and gives the new row's key in clave: this
// connection's last insert (VASQ_GetLastInsertID), which no other running copy's insert
// changes, unlike the key column's maximum. clave is 0 when the statement failed. Returns
// the empty text or the error text (already in the product log).
std::string DBInsertSQL(std::string_view sql, int &clave);

// A transaction of the main connection while it lives, rolled back unless confirmed. A
// begin or commit that fails is written to the product log after "[ <etiqueta> ] ".
class Transaccion {
public:
    explicit Transaccion(std::string etiqueta);
    ~Transaccion();
    Transaccion(const Transaccion &) = delete;
    Transaccion &operator=(const Transaccion &) = delete;

    bool Abierta() const { return m_abierta; }
    // Commits; a commit that fails is rolled back and logged. True when committed.
    bool Confirma();

private:
    void Registra() const;

    std::string m_etiqueta;
    bool m_abierta;
};
