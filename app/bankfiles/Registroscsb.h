// The records of the CSB19 and CSB58 send files: one routine per record kind, each giving
// the 162 bytes of its record (without the line end) ready to be written.
//
// Texts are Windows-1252. Every record comes out cleaned for the bank: each accented letter
// as its plain letter ("Pe\xF1a" goes out as "Pena"), each sign as the nearest character the
// bank takes (a dash as "-", a quote or the no-break space as a blank), the bank-file table
// (LimpiaTextoCSB), and every control byte (below 32, and 127) as a blank, so that no stored
// tab or line break can split a record. Amounts are whole units of the file's currency: cents of a euro
// file, pesetas of a peseta file; a field holds 10 digits.
// Positions in the comments count from 1.
#pragma once

#include <QDate>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr size_t kLargoRegistroCSB = 162;
// The largest amount a field of 10 digits holds, plus one.
inline constexpr long long kTopeImporteCSB = 10'000'000'000LL;

// The presenter of a file: its NIF and suffix (the presenter code), name, and the charge
// account of the issuer of the file's first batch (20 characters or empty).
struct PresentadorCSB {
    std::string IdNif, Sufijo, RazonSocial, CuentaCargo;
};

// The issuer of a block: NIF and suffix (the issuer code), name, credit account (20
// digits), INE code (CSB58).
struct EmisorCSB {
    std::string IdNif, Sufijo, RazonSocial, CuentaAbono, CodigoNIE;
};

// One active bill with its drawee. Empty texts stand for values the database holds as
// NULL or empty; Concepto is the bill's 640-character concept text, empty when it has none.
struct ReciboCSB {
    int IdDocumento = 0;
    std::string CodigoReferencia, RazonSocial, Cuenta, CodDevolucion, RefInterna, PrimerConcepto, Concepto;
    std::string TitularCuenta, Direccion, CP, Localidad, LocOrdenante, CodProvinciaOrdenante;
    long long Importe = 0; // cents or pesetas
    QDate FVencimiento, FFormalizacion;
};

// Whole units of a currency (cents with euros, else pesetas) in storage form: "12.05", "1500".
std::string TextoImporteCSB(long long unidades, bool euros);

// The layouts of one file: its format (1 CSB19, 2 CSB58), its currency, the day it is
// generated and the charge date (CSB19).
class RegistrosCSB {
public:
    RegistrosCSB(int tipoOrden, bool euros, const QDate &hoy, const QDate &fechaCargo);

    // The 12-character code of a presenter or issuer: NIF (9, its letters as capitals) and
    // suffix (3), each blank-padded or cut.
    static std::string Codigo(std::string_view nif, std::string_view sufijo);

    // "51"/"01": the presenter header; positions 89-96 are "00000000" when the charge
    // account's bank and branch are both blank.
    std::string CabeceraPresentador(const PresentadorCSB &presentador) const;

    // "53"/"03": the issuer header of a block; CSB19 takes procedure "01" when a bill of
    // the block has a concept text (conConcepto), else "02"; CSB58 always "06".
    std::string CabeceraOrdenante(const EmisorCSB &emisor, bool conConcepto) const;

    // "56"/"06": the individual record of a bill, with the bill's first concept line;
    // nullopt when its amount does not fit 10 digits or is negative.
    std::optional<std::string> Individual(const std::string &codigoEmisor, const ReciboCSB &recibo) const;

    // The optional concept records of a bill that hold text (data codes 81-85 or 71-75),
    // in rising order; none for a bill without concept text.
    std::vector<std::string> Opcionales(const std::string &codigoEmisor, const ReciboCSB &recibo) const;

    // The address record ("86" CSB19, "76" CSB58) when the bill gets one: CSB19 when the
    // drawee has an account holder and an address, town or postcode; CSB58 when the
    // drawee has no account.
    std::optional<std::string> Domicilio(const std::string &codigoEmisor, const ReciboCSB &recibo) const;

    // "58"/"08": the issuer totals of a block (documents: individual records; registros:
    // every record of the block, its header and this one included); nullopt when the
    // amount does not fit 10 digits.
    std::optional<std::string> TotalOrdenante(const std::string &codigoEmisor, long long importe, long long documentos,
                                              long long registros) const;

    // "59"/"09": the grand totals (ordenantes: issuer headers of the file; registros: every
    // record, the presenter header and this one included); nullopt when a value does not
    // fit its field.
    std::optional<std::string> TotalGeneral(const std::string &codigoPresentador, long long ordenantes,
                                            long long importe, long long documentos, long long registros) const;

    // True when the CSB58 individual record of the account leaves positions 69-88 blank:
    // an empty or blank account, or twenty zeros.
    static bool SinCuenta(std::string_view cuenta);

    // The amount as it reads in error lines: storage form in the file's currency.
    std::string TextoImporte(long long unidades) const { return TextoImporteCSB(unidades, m_euros); }

private:
    std::string Codigos(const char *euro, const char *peseta, int dato) const;
    std::string PrimeraLinea(const ReciboCSB &recibo) const;

    int m_tipo;
    bool m_euros;
    std::string m_hoy, m_cargo; // "ddmmyy"
};

// Cleans a built record for the bank in place: letters of Windows-1252 as their plain letters
// of the same case and its signs as the nearest character the bank takes (a blank where none
// is near), LimpiaTextoCSB, then control bytes as blanks. Every byte comes out as a digit, a
// letter, a blank or one of "()*+-./<>", a letter only where one was; the length never
// changes.
std::string &LimpiaRegistroCSB(std::string &registro);

// A drawee's reference as the bank reads it from the records: the 12 characters written,
// cleaned (LimpiaRegistroCSB), without the blanks around them and with small letters as
// capitals, as the database compares codes. References the bank cannot tell apart give the
// same text.
std::string ReferenciaBanco(std::string_view codigo);
