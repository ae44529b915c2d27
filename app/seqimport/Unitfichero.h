// The files of a sequential import: the template (*.sec) that describes a customer's
// fixed-position data file and links its fields to database columns, the template's options
// (*.opc), and the field catalogue tablas.dat that lists the columns a template may link to.
//
// All three are ini files (support/platform/profile.h). Template, section "LINEAS": one key
// per record kind, "descriptor,from,size,description"; then one section per kind, named by
// it, one key per field, "from,size,type,link,code" where link is "[table].column" or
// "NULL" and code is nine digits: the sample line (4), a flag (1) and the link index (4), the
// 1-based position of the linked column among all nodes of the catalogue tree (tables and
// columns in file order). Catalogue: one section per table, one key per column,
// "size,type,required,description" with required "SI", "NO", "19" or "58".
//
// Texts are Windows-1252. Nothing here shows a window; failures go to the product log.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The options of a template, as the options dialog edits them.
struct OpcionesImportacion {
    std::string Separador_decimal = ","; // ",", "." or empty
    std::string Moneda = "Peseta";       // "Peseta" or "Euros"; a file without the key is pesetas
    std::string Emision_factura = "Si";  // "Si" or "No"
    std::string Tipos_orden = "CSB19";   // "CSB19" or "CSB58"
};

// The options file of a template: its path with the extension replaced by ".opc".
std::string RutaOpciones(std::string_view plantilla);

// Reads the section "Opciones" of an options file; missing keys keep the defaults (the
// editor's unless given) and values are cut to 1, 7, 2 and 5 characters.
OpcionesImportacion LeeOpciones(std::string_view rutaOpciones, const OpcionesImportacion &defecto = {});

// Writes the four keys in place (other content of the file stays); false when one could not
// be written.
bool EscribeOpciones(std::string_view rutaOpciones, const OpcionesImportacion &opciones);

// One column of the catalogue.
struct ColumnaCatalogo {
    std::string Nombre;
    int Tamano = 0;
    std::string Tipo;
    bool Requerido = false; // the marker is "SI" in any letter case
    std::string Descripcion;
};

// One table of the catalogue: Seccion is the database table's name.
struct TablaCatalogo {
    std::string Seccion;
    std::vector<ColumnaCatalogo> Columnas;

    // The name shown: every "_" removed, cut before the first "(" ("Empresas").
    std::string NombreVisible() const;
};

// The catalogue as the editor's tree shows it: node 1 is the first table, its columns
// follow it, then the next table, and so on.
struct Catalogo {
    std::vector<TablaCatalogo> Tablas;
    int NodoVencimiento = 0; // node of the column F_vencimiento, 0 when there is none
    int NodoNIE = 0;         // node of the column Codigo_NIE, 0 when there is none

    // The column at node nodo with its table; false (nothing set) for a table node or a
    // node that does not exist.
    bool Columna(int nodo, const TablaCatalogo *&tabla, const ColumnaCatalogo *&columna) const;
    // The link text of the column at node nodo ("[_Empresas( Datos )].Cif"); "NULL" when the
    // node is not a column.
    std::string Enlace(int nodo) const;
};

// Reads tablas.dat (any catalogue file): every section in file order, every entry of it
// with LeerValor. An absent file gives an empty catalogue.
Catalogo CargarCamposPrograma(std::string_view ruta);

// One field of a record kind. Enlace is the catalogue node it is linked to (0: none).
struct CampoPlantilla {
    std::string Nombre;
    int Desde = 0, Tamano = 0;
    std::string Tipo;
    int LineaMuestra = 0;
    int Marca = 0;
    int Enlace = 0;

    bool operator==(const CampoPlantilla &) const = default;
};

// One record kind: the data lines whose text at Desde, Tamano is Descriptor.
struct TipoRegistro {
    std::string Nombre;
    std::string Descriptor;
    int Desde = 0, Tamano = 0;
    std::string Descripcion = "NULL";
    int LineaMuestra = 0;
    std::vector<CampoPlantilla> Campos;

    bool operator==(const TipoRegistro &) const = default;
};

using PlantillaImportacion = std::vector<TipoRegistro>;

// Splits an ini line: every blank removed, then cut at the first "=" and at each comma until
// partes parts follow the key (the last part takes the rest). Element 0 is the key, element
// k part k; a part the line does not have reads as the key.
std::vector<std::string> SepararValores(std::string_view linea, int partes);

// A catalogue line ("Cif=10,TEXTO,SI,CIF de la empresa") into a column.
void LeerValor(std::string_view linea, ColumnaCatalogo &columna);
// A template field line ("Importe=20,10,NUMERICO,[Documentos()].Importe,000100031") into a
// field: name, from, size, type and the code; the link text is not read. Numbers that do
// not read stay 0.
void LeerValor(std::string_view linea, CampoPlantilla &campo);

// The name as the template file gives it back: a kind's without the blanks around it (a
// section name), a field's without any blank (the editor's reading of its line).
std::string NombrePlantilla(std::string_view nombre, bool campo);

// 0 when the template file can hold the name, in its NombrePlantilla form, as a new kind of
// plantilla (tipo null) or a new field of tipo, and give it back apart from the others;
// propio, the kind or field being renamed, does not count. Else the number of the text that
// says why: a control character (733), "=", ",", "[" or "]" (1000), a comment's first "#" or
// ";" (731), a kind named "LINEAS" (989), the name of another kind (998) or field of tipo
// (999). Names are compared without regard to letter case, as the file's reader does.
int NombreRechazado(std::string_view nombre, const PlantillaImportacion &plantilla, const TipoRegistro *tipo,
                    const void *propio = nullptr);

// Reads a template as the editor does: its options file (LeeOpciones), then the sections
// after the first paired by position with the entries of "LINEAS". A field whose link
// index is not a column node of the catalogue is left unlinked. False, with plantilla
// emptied, when a section has no paired entry, an entry's from or size is not a whole
// number, a kind's or field's name could not be saved back (NombreRechazado) or a field is
// longer than a line (kMaxLinea); motivo, when given, then gets the user's text naming the
// kind or field ("kind.field").
bool LeerPlantilla(std::string_view ruta, const Catalogo &catalogo, PlantillaImportacion &plantilla,
                   OpcionesImportacion &opciones, std::string *motivo = nullptr);

// Writes the template and its options file. The kinds go out sorted by sample line; a kind
// without fields is left out; fields and kinds with the same name collapse into one entry.
// The template is written to a temporary file beside it and renamed into place; only then
// is the old template kept as ".bak" (replacing the previous one). True when both files
// were written; false, the old template untouched, when there was nothing to write or the
// writing failed.
bool EscribirPlantilla(std::string_view ruta, const Catalogo &catalogo, const PlantillaImportacion &plantilla,
                       const OpcionesImportacion &opciones);
