// The batch totals writer.
#include "Totalesremesa.h"

#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"

std::string ActualizaTotalesRemesa(std::string_view idRemesa, std::string_view moneda)
{
    const std::string id = std::to_string(Numero(idRemesa));
    std::string error, divisa(moneda);
    if (divisa.empty())
        error = DBGetData(FormateaTexto("SELECT [Id_moneda] FROM [Remesas()] WHERE Id_remesa=%s;", id),
                          [&divisa](char *fila, char *, int) { divisa = GetCampoTexto("Id_moneda", fila); });
    std::string suma = "NULL";
    if (error.empty())
        error = DBGetData(FormateaTexto("SELECT SUM([Documentos()].Importe) AS TotalImporte FROM [Documentos()] "
                                        "WHERE Id_remesa=%s AND [Documentos()].Situacion=0;",
                                        id),
                          [&suma](char *fila, char *, int) { suma = GetCampo("TotalImporte", fila); });
    if (!error.empty())
        return error;
    const std::string total = FormatImporteSQL(suma == "NULL" ? "0" : suma, divisa);
    const std::string contravalor = GetContravalorSinFormato(total, divisa);
    if (total.empty() || contravalor.empty())
        return "[ ActualizaTotalesRemesa ] '" + suma + "' no es un importe v\xE1lido";
    int filas = 0;
    return DBExecSQL(FormateaTexto("UPDATE OR FAIL [Remesas()] SET [Remesas()].Importe_total=%s, "
                                   "[Remesas()].Contravalor_total=%s WHERE Id_remesa=%s;",
                                   total, contravalor, id),
                     filas);
}
