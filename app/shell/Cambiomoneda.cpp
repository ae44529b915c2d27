// The batch currency switch without windows.
#include "Cambiomoneda.h"

#include "Aplicaplantillas.h"
#include "Cfgfile.h"
#include "General.h"
#include "Modmas.h"
#include "Totalesremesa.h"
#include "itemproto.h"
#include "regional.h"
#include "vasqdb.h"

#include <QWidget>

#include <algorithm>
#include <limits>
#include <cstdlib>
#include <strings.h>
#include <vector>

namespace {

// Characters of an amount field inside a concept.
constexpr size_t kAnchoCampo = 12;
// Bills between two calls of the progress.
constexpr size_t kPasoProgreso = 500;

// The page the layout is drawn on: 80 x 8 cells of 10 x 20 pixels.
constexpr int kAnchoPagina = 810;
constexpr int kAltoPagina = 170;

// An amount field of the template: the offset of its first character in the concept.
using Campos = std::vector<size_t>;

// The amount fields of the stored template: every item that is not a label. An item's Datos
// holds its variables as "name=value" entries, each followed by 0xB7.
Campos CamposImporte(int idPlantilla, std::string &error)
{
    Campos campos;
    error = DBGetData(FormatoSQL("SELECT Datos FROM [Plantillas( Elementos )] WHERE Id_plantilla=%d;", idPlantilla),
                      [&campos](char *fila, char *, int) {
                          std::string datos = GetCampoTexto("Datos", fila);
                          std::string tipo, x = "0", y = "0";
                          size_t inicio = 0;
                          for (size_t fin; (fin = datos.find('\xB7', inicio)) != std::string::npos; inicio = fin + 1) {
                              const std::string entrada = datos.substr(inicio, fin - inicio);
                              const size_t igual = entrada.find('=');
                              const std::string nombre = entrada.substr(0, igual);
                              const std::string valor = igual == std::string::npos ? "" : entrada.substr(igual + 1);
                              if (strcasecmp(nombre.c_str(), ITEM_VAR_TIPO) == 0)
                                  tipo = valor;
                              else if (nombre == ITEM_VAR_X)
                                  x = valor;
                              else if (nombre == ITEM_VAR_Y)
                                  y = valor;
                          }
                          const long offset = std::atol(x.c_str()) + ITEM_CONCEPT_COLS * std::atol(y.c_str());
                          if (strcasecmp(tipo.c_str(), "Etiqueta") != 0 && offset >= 0 && offset < ITEM_CONCEPT_LEN)
                              campos.push_back(static_cast<size_t>(offset));
                      });
    return campos;
}

// The field's amount in the other currency, in screen form with the decimal separator
// decimal; empty when the field is blank, no amount or 0, and is to stay as it is.
std::string ConvierteCampo(std::string_view campo, const std::string &nueva, char decimal)
{
    const std::string texto = Recorta(campo);
    const std::string antigua = nueva == kMonedaEuros ? kMonedaPesetas : kMonedaEuros;
    if (texto.empty() || FormatImporteSQL(texto, kMonedaEuros) == "0.00")
        return {};
    std::string convertido = GetContravalorSinFormato(texto, antigua);
    std::replace(convertido.begin(), convertido.end(), '.', decimal);
    return convertido;
}

// Converts every amount field of the concept in place (blank-padded to 640 first).
void ConvierteConcepto(std::string &concepto, const Campos &campos, const std::string &nueva, char decimal)
{
    concepto.resize(ITEM_CONCEPT_LEN, ' ');
    for (size_t offset : campos) {
        const size_t ancho = std::min(kAnchoCampo, concepto.size() - offset);
        const std::string convertido =
            ConvierteCampo(std::string_view(concepto).substr(offset, ancho), nueva, decimal);
        if (convertido.empty())
            continue;
        const size_t cabe = std::min(ancho, convertido.size());
        concepto.replace(offset, cabe, convertido, 0, cabe);
        std::fill_n(concepto.begin() + std::ptrdiff_t(offset + cabe), ancho - cabe, ' ');
    }
}

struct Cambio {
    int IdRemesa;
    std::string Moneda;
    Campos CamposPlantilla;
    bool ConPlantilla = false;
    ProgresoCambio Progreso;
    CambioMoneda Estado = CambioMoneda::Cambiada;
    size_t Hechos = 0;
    const char Decimal = regional::decimalSeparator();

    bool Bien() const { return Estado == CambioMoneda::Cambiada; }

    // The statements each bill repeats, prepared once.
    SentenciaSQL ImportesRecibo{"UPDATE OR FAIL [Documentos()] SET [Importe]=?,[Contravalor]=? WHERE [Id_documento]=? "
                                "AND Block<1;"};
    SentenciaSQL ConceptoRecibo{"UPDATE [Conceptos()] SET Concepto=? WHERE Id_concepto=?;"};

    // A guarded statement: a failure or no row changed ends the switch.
    void Resultado(const std::string &error, int filas, bool guardada)
    {
        if (!error.empty())
            Estado = CambioMoneda::Fallida;
        else if (guardada && filas == 0)
            Estado = CambioMoneda::Retenida;
    }
    void Ejecuta(const std::string &sql, bool guardada)
    {
        int filas = 0;
        const std::string error = DBExecSQL(sql, filas);
        Resultado(error, filas, guardada);
    }
    void Ejecuta(SentenciaSQL &sentencia, bool guardada)
    {
        int filas = 0;
        const std::string error = sentencia.Ejecuta(filas);
        Resultado(error, filas, guardada);
    }

    void Importes(int id, const std::string &importe, const std::string &contravalor)
    {
        Ejecuta(ImportesRecibo.Texto(importe).Texto(contravalor).Entero(id), true);
    }

    void Recibo(char *fila, int total)
    {
        const int id = std::atoi(GetCampo("Id_documento", fila).c_str());
        const std::string importe = GetCampo("Importe", fila);
        const std::string contravalor = GetCampo("Contravalor", fila);
        const std::string idConcepto = GetCampo("Id_concepto", fila);
        std::string concepto = GetCampoTexto("Concepto", fila);
        const bool conConcepto = ConPlantilla && idConcepto != "NULL";
        std::string totalPlantilla;
        if (conConcepto) {
            if (concepto == "NULL")
                concepto.clear();
            ConvierteConcepto(concepto, CamposPlantilla, Moneda, Decimal);
            RellenaPlantilla(concepto);
            totalPlantilla = GetTotalPlantilla();
        }
        if (totalPlantilla.empty())
            Importes(id, contravalor, importe);
        else
            Importes(id, FormatImporteSQL(totalPlantilla, Moneda), GetContravalor(totalPlantilla, Moneda));
        if (conConcepto && Bien())
            Ejecuta(ConceptoRecibo.Texto(LimpiaTexto(ConceptoAlmacenado(concepto))).Entero(std::atoi(idConcepto.c_str())),
                    false);
        ++Hechos;
        if (Progreso && (Hechos % kPasoProgreso == 0 || Hechos == size_t(total)))
            Progreso(Hechos, size_t(total));
    }

    void Recibos()
    {
        const std::string error = DBGetData(
            // The concept last: the columns before it are found without passing over it.
            FormatoSQL("SELECT [Documentos()].Id_documento,Importe,Contravalor,[Documentos()].Id_concepto,Concepto "
                       "FROM [Documentos()] LEFT JOIN [Conceptos()] ON [Conceptos()].Id_concepto = "
                       "[Documentos()].Id_concepto WHERE [Documentos()].Id_remesa=%d;",
                       IdRemesa),
            [this](char *fila, char *seguir, int total) {
                Recibo(fila, total);
                if (!Bien())
                    *seguir = 0;
            });
        if (!error.empty())
            Estado = CambioMoneda::Fallida;
    }

    void Ejecuta()
    {
        Ejecuta(FormatoSQL("UPDATE OR FAIL [Remesas()] SET Id_moneda='%s' WHERE Id_remesa=%d;", Moneda.c_str(), IdRemesa), true);
        if (!Bien())
            return;
        const std::string plantilla = GetCampo("Id_plantilla", PrimeraFila());
        std::string error;
        const int idPlantilla = std::atoi(plantilla.c_str());
        if (idPlantilla > 0) {
            CamposPlantilla = CamposImporte(idPlantilla, error);
            if (!error.empty()) {
                Estado = CambioMoneda::Fallida;
                return;
            }
        }
        SetEuroPlantillas(Moneda == kMonedaEuros);
        QWidget pagina;
        pagina.resize(kAnchoPagina, kAltoPagina);
        if (idPlantilla > 0) {
            LiberaPlantilla();
            AplicaPlantilla(&pagina, idPlantilla, std::string(ITEM_CONCEPT_LEN, ' '));
            ConPlantilla = true;
        }
        Recibos();
        LiberaPlantilla();
        if (Bien() && !ActualizaTotalesRemesa(std::to_string(IdRemesa), Moneda).empty())
            Estado = CambioMoneda::Fallida;
    }

    std::string PrimeraFila() const
    {
        std::string fila;
        DBGetData(FormatoSQL("SELECT Id_plantilla FROM [Remesas()] WHERE Id_remesa=%d;", IdRemesa),
                  [&fila](char *f, char *seguir, int) {
                      fila = f;
                      *seguir = 0;
                  });
        return fila;
    }
};

// The number in storage form in whole units of 10^-2: 0 when it is none, above every limit
// when it has more than 10 integer digits.
long long Centimos(const std::string &texto)
{
    long long unidades = 0;
    switch (LeeImporteSQL(texto, 2, unidades)) {
    case LecturaImporte::Correcta:
        return unidades;
    case LecturaImporte::DemasiadoGrande:
        return std::numeric_limits<long long>::max();
    default:
        return 0;
    }
}

} // namespace

bool SuperaLimiteCambio(std::string_view contravalor, std::string_view moneda)
{
    const long long centimos = Centimos(FormatImporteSQL(Recorta(contravalor), moneda));
    return moneda == kMonedaPesetas ? centimos > 9999999999LL : centimos > 999999999900LL;
}

CambioMoneda CambiaMonedaRemesa(int idRemesa, const std::string &moneda, const ProgresoCambio &progreso)
{
    if (VASQ_BeginTrans() != 0)
        return CambioMoneda::Fallida;
    Cambio cambio{idRemesa, moneda, {}, false, progreso};
    cambio.Ejecuta();
    if (cambio.Bien() && VASQ_CommitTrans() == 0)
        return CambioMoneda::Cambiada;
    VASQ_Rollback();
    return cambio.Bien() ? CambioMoneda::Fallida : cambio.Estado;
}
