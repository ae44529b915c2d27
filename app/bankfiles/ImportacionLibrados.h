// The drawee import: only the drawees (debtors) of a CSB19 or CSB58 file, stored under one
// issuer the user chose; presenters, issuers, batches and bills of the file are ignored.
// The file is read, checked and imported in one transaction by the run frame
// (ImportacionMarco.h).
//
// A drawee's individual record gives its reference, name and account, its address record
// the rest; it is written when the next reference or the issuer totals arrive, once
// complete. An incomplete drawee stays pending: a next, different reference is refused
// (290) and later records fill only what it lacks. A drawee whose reference the issuer has
// already is counted repeated and left as stored; one with a wrong account or a failing
// check is reported, counted erroneous and not stored. The run's messages name no line,
// but for a refused file.
#pragma once

#include "ImportacionMarco.h"

#include <string>
#include <string_view>

class ImportacionLibrados : public MarcoImportacion {
public:
    explicit ImportacionLibrados(Provincias provincias);

    // Imports the drawees of the file at ruta with the layout file rutaLayout (relative to
    // the program folder unless absolute) as the order type tipo ("CSB19" or "CSB58") under
    // the issuer idEmisor (above 0, else nothing is read). The counters callback gets only
    // the drawee counters (4th, 8th and 12th) set. -1 when the data file cannot be read;
    // else 0, whatever was imported.
    int ImportaLibradosCSB(std::string_view ruta, std::string_view rutaLayout, std::string_view tipo, int idEmisor,
                           Progreso progreso, Mensaje mensaje, Contadores contadores);

    // The counters of the last run (all 0 after a run that rolled back).
    Cuenta Librados;

private:
    int TextoCabecera() const override;
    void Inicia() override;
    std::vector<const char *> Necesarias(char clase) const override;
    void Campo(char clase, const FieldDef &campo) override;
    void CeroContadores() override;
    std::array<int, 12> Cuentas() const override;
    void EscribeResumenImportacion() override;

    void LeeLibradoIndividual(const FieldDef &campo, const std::string &texto);
    void LeeLibradoOpcional(const FieldDef &campo, const std::string &texto);
    void ReglaCuenta(const std::string &texto);
    void CierraLibradoPendiente();
    bool LibradoCompleto() const;
    void AltaLibradoImportado();
    void LimpiaLibradoPendiente();
    void Duplicado(int texto);

    int m_idEmisor = 0;
    Librado m_librado;
};
