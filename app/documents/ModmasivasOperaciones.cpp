// The five mass-modification operations: their dialogs, the question about held bills and
// the run.
#include "Modmasivas.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmmconceptos.h"
#include "Frmmmdato.h"
#include "General.h"
#include "Multiuser.h"

namespace {

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

// A refusal: the text under the title, with the error icon and an "Aceptar" button.
void Rechaza(int titulo, const std::string &texto)
{
    CajaMensaje(texto, Texto(titulo), IconoMensaje::Error);
}

// The amount typed for the bills of the batch the dialog shows: 0, or -1 after saying why.
int ValidaFormatoImporte(const std::string &texto)
{
    OperacionImporte op;
    const int rechazo = LeeOperacionImporte(texto, App().FormMMDato->Moneda, op);
    if (rechazo == 0)
        return 0;
    Rechaza(312, Texto(rechazo));
    return -1;
}

// A due date goes to the bank: its year must be one the file's two digits carry.
int ValidaFormatoFecha(const std::string &texto)
{
    const std::string motivo =
        FormatoFechaValido(texto) ? MotivoFechaBanco(LeeFechaTecleada(texto)) : Texto(315);
    if (motivo.empty())
        return 0;
    Rechaza(1, motivo);
    return -1;
}

// The typed value, or none when cancelled.
std::optional<std::string> PideDato(int etiqueta, int tipo, TFormMMDato::Validacion validacion)
{
    TFormMMDato *dialogo = App().FormMMDato;
    dialogo->PreparaDato(Rotulo(etiqueta), tipo, std::move(validacion));
    if (dialogo->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogo->Dato();
}

// The engine on the list: the held bills asked about before anything is written, the write
// as a long run; the refusal or the failure shown after it.
ResultadoMasiva Ejecuta(const std::vector<std::string> &ids, Modificacion modificacion,
                        const ProgresoMasiva &progreso)
{
    ResultadoMasiva resultado;
    {
        ModificacionMasiva masiva(ids, std::move(modificacion));
        const bool escribe = masiva.ErrorLectura().empty() && masiva.Rechazo() == 0;
        if (escribe && masiva.Retenidos() > 0
            && AvisoTexto(637, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) != RespuestaSi) {
            resultado.Retenidos = masiva.Retenidos();
            resultado.Declinada = true;
            return resultado;
        }
        PausaMultiusuario pausa(App().Multiuser);
        CursorEspera espera;
        resultado = masiva.Escribe(progreso);
    }
    // The refused bill is named as the send file names one.
    if (resultado.Rechazo != 0)
        Rechaza(1, Texto(resultado.Rechazo) + "\n\n" + Texto(174) + resultado.Titular + "\n" + Texto(773) +
                       resultado.Referencia);
    else if (!resultado.Error.empty())
        Rechaza(1, resultado.Error);
    return resultado;
}

// The engine's status of a run: the bills written, 0 when declined, -1 when it failed.
int Estado(const ResultadoMasiva &r)
{
    if (r.Declinada)
        return 0;
    return r.Escrita() ? r.Cambiados : -1;
}

int ModificaFijo(const std::vector<std::string> &ids, TipoMasiva tipo, int etiqueta, int tipoDato,
                 const ProgresoMasiva &progreso)
{
    const std::optional<std::string> dato = PideDato(etiqueta, tipoDato, {});
    if (!dato)
        return -1;
    Modificacion m;
    m.Tipo = tipo;
    m.Valor = LimpiaTexto(*dato);
    return Estado(Ejecuta(ids, std::move(m), progreso));
}

} // namespace

std::optional<std::vector<std::string>> ModificaImportes(const std::vector<std::string> &ids,
                                                         const ProgresoMasiva &progreso)
{
    for (;;) {
        const std::optional<std::string> dato = PideDato(344, TFormMMDato::Importe, ValidaFormatoImporte);
        if (!dato)
            return std::nullopt;
        Modificacion m;
        m.Tipo = TipoMasiva::Importes;
        if (LeeOperacionImporte(*dato, App().FormMMDato->Moneda, m.Importe) != 0)
            continue;
        ResultadoMasiva r = Ejecuta(ids, std::move(m), progreso);
        if (r.Rechazo != 0)
            continue;
        if (r.Declinada)
            return std::vector<std::string>();
        if (!r.Escrita())
            return std::nullopt;
        return std::move(r.Valores);
    }
}

int ModificaConceptos(const std::vector<std::string> &ids, const ProgresoMasiva &progreso)
{
    TFormMMConceptos *dialogo = App().FormMMConceptos;
    if (dialogo->exec() != QDialog::Accepted)
        return -1;
    Modificacion m;
    m.Tipo = TipoMasiva::Conceptos;
    m.Segmentos = dialogo->GetConceptSegments();
    return Estado(Ejecuta(ids, std::move(m), progreso));
}

int ModificaCodDevolucion(const std::vector<std::string> &ids, const ProgresoMasiva &progreso)
{
    return ModificaFijo(ids, TipoMasiva::CodDevolucion, 466, TFormMMDato::CodDevolucion, progreso);
}

int ModificaRefInterna(const std::vector<std::string> &ids, const ProgresoMasiva &progreso)
{
    return ModificaFijo(ids, TipoMasiva::RefInterna, 620, TFormMMDato::RefInterna, progreso);
}

std::optional<std::vector<std::string>> ModificaFechaVencimiento(const std::vector<std::string> &ids,
                                                                 const ProgresoMasiva &progreso)
{
    const std::optional<std::string> dato = PideDato(474, TFormMMDato::Fecha, ValidaFormatoFecha);
    if (!dato)
        return std::nullopt;
    Modificacion m;
    m.Tipo = TipoMasiva::FechaVencimiento;
    m.Valor = FechaSQL(LeeFechaTecleada(*dato));
    ResultadoMasiva r = Ejecuta(ids, std::move(m), progreso);
    if (r.Declinada)
        return std::vector<std::string>();
    if (!r.Escrita())
        return std::nullopt;
    return std::move(r.Valores);
}
