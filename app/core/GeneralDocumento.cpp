// The revalidation of a bill stored as incomplete.
#include "General.h"

#include "Cfgfile.h"
#include "itemproto.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace {

// The whole text as an integer; -1 when it is no number.
int Entero(std::string_view texto)
{
    int valor = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    return error == std::errc() && fin == texto.data() + texto.size() ? valor : -1;
}

bool EsProvincia(std::string_view texto)
{
    const int provincia = Entero(texto);
    return provincia >= 1 && provincia <= 52;
}

bool CodigoPostalValido(const std::string &cp)
{
    return cp.size() >= 5 && EsProvincia(std::string_view(cp).substr(0, 2));
}

// The control digits computed from bank, branch and account equal the account's own
// (an empty account passes: both sides are empty).
bool DigitosCorrectos(const std::string &cuenta)
{
    const auto parte = [&cuenta](size_t desde, size_t largo) {
        return desde < cuenta.size() ? cuenta.substr(desde, largo) : std::string();
    };
    return CalcDigitosControl(parte(0, 4), parte(4, 4), parte(10, 10)) == parte(8, 2);
}

bool ValidoCSB19()
{
    const std::string cuenta = GetField("Cuenta"), titular = GetField("Titular_cuenta"),
                      nombre = GetField("Razon_social");
    bool valido = !cuenta.empty() && DigitosCorrectos(cuenta) && !GetField("Codigo_referencia").empty() &&
                  !nombre.empty();
    if (!titular.empty() && titular != nombre)
        valido = valido && !GetField("Direccion").empty() && !GetField("Localidad").empty() &&
                 !GetField("Provincia").empty() && CodigoPostalValido(GetField("CP"));
    return valido;
}

bool ValidoCSB58()
{
    const std::string cuenta = GetField("Cuenta");
    bool valido = !GetField("Codigo_referencia").empty() && !GetField("Razon_social").empty() &&
                  !GetField("F_vencimiento").empty();
    if (cuenta.empty() || cuenta == "00000000000000000000") {
        const std::string provincia = GetField("Cod_provincia_ordenante");
        valido = valido && !GetField("Localidad").empty() && !GetField("Direccion").empty() &&
                 CodigoPostalValido(GetField("CP")) && !GetField("Loc_ordenante").empty() &&
                 provincia.size() >= 2 && EsProvincia(provincia);
    }
    return valido && DigitosCorrectos(cuenta);
}

} // namespace

bool ValidaDocumento(int idDocumento)
{
    char seguir = 1;
    StoreRow(nullptr, &seguir, 0); // the row buffer emptied: a failed query reads nothing
    DBGetData(FormatoSQL("SELECT [Documentos()].*,[_Presentadores( Datos )].Id_orden,[Librados( Datos )].* FROM "
                         "((([_Presentadores( Datos )] INNER JOIN [_Emisores( Datos )] ON [_Presentadores( Datos "
                         ")].Id_presentador = [_Emisores( Datos )].Id_presentador) INNER JOIN [Librados( Datos )] "
                         "ON [_Emisores( Datos )].Id_emisor = [Librados( Datos )].Id_emisor) INNER JOIN "
                         "[Remesas()] ON [_Emisores( Datos )].Id_emisor  = [Remesas()].Id_emisor) INNER JOIN "
                         "[Documentos()] ON ([Remesas()].Id_remesa = [Documentos()].Id_remesa) AND ([Librados( "
                         "Datos )].Id_librado = [Documentos()].Id_librado) WHERE [Documentos()].Id_documento=%d",
                         idDocumento),
              StoreRow);
    if (GetField("Situacion") == "0")
        return true;
    const std::string orden = GetField("Id_orden");
    bool valido = std::strtod(GetField("Importe").c_str(), nullptr) != 0;
    if (orden == "CSB19")
        valido = ValidoCSB19() && valido;
    else if (orden == "CSB58")
        valido = ValidoCSB58() && valido;
    if (valido) {
        int filas = 0;
        DBExecSQL(FormatoSQL("UPDATE OR FAIL [Documentos()] SET Situacion=0,Activo=true WHERE Id_documento=%d AND Block=0;",
                             idDocumento),
                  filas);
    }
    return valido;
}

std::string ConceptoAlmacenado(std::string_view pagina)
{
    // A page is mostly trailing blanks: eight at a time first.
    static constexpr char kOchoBlancos[] = "        ";
    size_t fin = pagina.size();
    while (fin >= 8 && std::memcmp(pagina.data() + fin - 8, kOchoBlancos, 8) == 0)
        fin -= 8;
    while (fin > 0 && pagina[fin - 1] == ' ')
        --fin;
    return std::string(fin == 0 ? pagina : pagina.substr(0, fin));
}

std::string ConceptoCompleto(std::string_view almacenado)
{
    std::string pagina(almacenado);
    if (!pagina.empty() && pagina != "NULL" && pagina.size() < ITEM_CONCEPT_LEN)
        pagina.resize(ITEM_CONCEPT_LEN, ' ');
    return pagina;
}
