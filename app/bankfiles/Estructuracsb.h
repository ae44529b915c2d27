// The structure check of a CSB19 or CSB58 file, fed one line at a time so that a caller
// streaming the file checks it on the way.
//
// A well formed file: records of exactly 162 bytes (before CR LF or LF; empty lines are
// skipped), all of the format ("8x" CSB19, "7x" CSB58) and currency ("5" euros, "0"
// pesetas) of the first; a presenter header; blocks of an issuer header, individual records
// each followed by its optional and address records (same reference, data codes rising)
// and the issuer totals; the grand totals and nothing after. Amounts and counts are all
// digits, and every totals record equals what it totals. A file without records is well
// formed (there is nothing in it). Texts are Windows-1252.
#pragma once

#include <string>
#include <string_view>

class EstructuraCSB {
public:
    // With exigeProcedimiento every issuer header must hold the procedure "01", "02" or
    // "06" (positions 97-98).
    explicit EstructuraCSB(bool exigeProcedimiento);

    // Checks the line numero (empty lines are skipped); false at the first fault, and for
    // every line after it.
    bool Linea(std::string_view linea, int numero);

    // The end of the file after the line ultima; false when the grand totals are missing.
    bool Fin(int ultima);

    // The line of the first fault (0 while none) and the language text number of its reason.
    int LineaFallo() const { return m_lineaFallo; }
    int Motivo() const { return m_motivo; }

    // Of the first record: 1 CSB19, 2 CSB58, 0 before it; "EUR" or "ESP".
    int Formato() const { return m_formato; }
    const std::string &Moneda() const { return m_moneda; }

private:
    enum class Espera { Presentador, Ordenante, Individual, Opcional, Nada };

    bool Falla(int motivo, int numero);
    bool Totales(std::string_view linea, int numero, long long importe, long long documentos,
                 long long registros, long long ordenantes);

    bool m_exigeProcedimiento;
    Espera m_espera = Espera::Presentador;
    int m_formato = 0;
    std::string m_moneda;
    char m_moneda1 = 0, m_datos = 0;
    std::string m_referencia;
    int m_ultimoOpcional = 0;
    long long m_importeBloque = 0, m_documentosBloque = 0, m_registrosBloque = 0;
    long long m_importe = 0, m_documentos = 0, m_registros = 0, m_ordenantes = 0;
    int m_lineaFallo = 0;
    int m_motivo = 0;
};

// Checks the file at ruta. True when well formed; else false with the fault's line and
// reason text number (a file that cannot be read: line 0, text 862).
bool CompruebaEstructuraCSB(std::string_view ruta, bool exigeProcedimiento, int &lineaFallo, int &motivo);

// The norms' character set (code page 850) writes the capital and small n with tilde as the
// bytes 0xA5 and 0xA4: in place, they become Windows-1252's 0xD1 and 0xF1, as the imports
// store them and the viewer shows them; every other byte stays.
void EnhesCSB(std::string &linea);
