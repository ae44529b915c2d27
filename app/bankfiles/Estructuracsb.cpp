// The structure check of CSB files.
#include "Estructuracsb.h"

#include "Lineas.h"

namespace {

constexpr size_t kLongitudRegistro = 162;

enum Motivos {
    kLongitud = 850,
    kOtroFormato = 851,
    kSinPresentador = 852,
    kEsperaOrdenante = 853,
    kEsperaIndividual = 854,
    kOpcionalFuera = 855,
    kTrasTotal = 856,
    kSinTotalGeneral = 857,
    kNoDigitos = 858,
    kTotalDistinto = 859,
    kProcedimiento = 860,
    kCodigoDesconocido = 861,
    kIlegible = 862,
};

std::string_view Campo(std::string_view linea, size_t pos, size_t longitud)
{
    return linea.substr(pos - 1, longitud);
}

// The number of an all-digit field, or -1.
long long Numero(std::string_view texto)
{
    long long n = 0;
    for (char c : texto) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

EstructuraCSB::EstructuraCSB(bool exigeProcedimiento)
    : m_exigeProcedimiento(exigeProcedimiento)
{
}

bool EstructuraCSB::Falla(int motivo, int numero)
{
    m_motivo = motivo;
    m_lineaFallo = numero;
    m_espera = Espera::Nada;
    return false;
}

bool EstructuraCSB::Totales(std::string_view linea, int numero, long long importe, long long documentos,
                            long long registros, long long ordenantes)
{
    const long long leidos[] = {Numero(Campo(linea, 89, 10)), Numero(Campo(linea, 105, 10)),
                                Numero(Campo(linea, 115, 10)),
                                ordenantes < 0 ? 0 : Numero(Campo(linea, 69, 4))};
    for (long long n : leidos)
        if (n < 0)
            return Falla(kNoDigitos, numero);
    if (leidos[0] != importe || leidos[1] != documentos || leidos[2] != registros ||
        (ordenantes >= 0 && leidos[3] != ordenantes))
        return Falla(kTotalDistinto, numero);
    return true;
}

bool EstructuraCSB::Linea(std::string_view linea, int numero)
{
    if (m_lineaFallo)
        return false;
    if (linea.empty())
        return true;
    if (linea.size() != kLongitudRegistro)
        return Falla(kLongitud, numero);
    const char tipo = linea[1], datos = linea[3];
    if (m_espera == Espera::Presentador) {
        if (tipo != '1' || (linea[0] != '5' && linea[0] != '0') || (linea[2] != '8' && linea[2] != '7') ||
            datos != '0')
            return Falla(kSinPresentador, numero);
        m_moneda1 = linea[0];
        m_datos = linea[2];
        m_formato = m_datos == '8' ? 1 : 2;
        m_moneda = m_moneda1 == '5' ? "EUR" : "ESP";
        m_registros = 1;
        m_espera = Espera::Ordenante;
        return true;
    }
    if (m_espera == Espera::Nada)
        return Falla(kTrasTotal, numero);
    if (linea[0] != m_moneda1 || linea[2] != m_datos)
        return Falla(kOtroFormato, numero);
    const bool bloque = m_espera == Espera::Individual || m_espera == Espera::Opcional;
    ++m_registros;
    ++m_registrosBloque;
    if (tipo == '3' && datos == '0') {
        if (m_espera != Espera::Ordenante)
            return Falla(kEsperaIndividual, numero);
        const std::string_view procedimiento = Campo(linea, 97, 2);
        if (m_exigeProcedimiento && procedimiento != "01" && procedimiento != "02" && procedimiento != "06")
            return Falla(kProcedimiento, numero);
        ++m_ordenantes;
        m_importeBloque = m_documentosBloque = 0;
        m_registrosBloque = 1;
        m_espera = Espera::Individual;
        return true;
    }
    if (tipo == '6' && datos == '0') {
        if (!bloque)
            return Falla(kEsperaOrdenante, numero);
        const long long importe = Numero(Campo(linea, 89, 10));
        if (importe < 0)
            return Falla(kNoDigitos, numero);
        m_importeBloque += importe;
        m_importe += importe;
        ++m_documentosBloque;
        ++m_documentos;
        m_referencia = Campo(linea, 17, 12);
        m_ultimoOpcional = 0;
        m_espera = Espera::Opcional;
        return true;
    }
    if (tipo == '6' && datos >= '1' && datos <= '6') {
        if (m_espera != Espera::Opcional || Campo(linea, 17, 12) != m_referencia || datos - '0' <= m_ultimoOpcional)
            return Falla(bloque || m_espera == Espera::Ordenante ? kOpcionalFuera : kEsperaOrdenante, numero);
        m_ultimoOpcional = datos - '0';
        return true;
    }
    if (tipo == '8' && datos == '0') {
        if (!bloque)
            return Falla(kEsperaOrdenante, numero);
        if (!Totales(linea, numero, m_importeBloque, m_documentosBloque, m_registrosBloque, -1))
            return false;
        m_espera = Espera::Ordenante;
        return true;
    }
    if (tipo == '9' && datos == '0') {
        if (m_espera != Espera::Ordenante)
            return Falla(kEsperaIndividual, numero);
        if (!Totales(linea, numero, m_importe, m_documentos, m_registros, m_ordenantes))
            return false;
        m_espera = Espera::Nada;
        return true;
    }
    if (tipo == '1' && datos == '0')
        return Falla(bloque ? kEsperaIndividual : kEsperaOrdenante, numero);
    return Falla(kCodigoDesconocido, numero);
}

bool EstructuraCSB::Fin(int ultima)
{
    if (m_lineaFallo)
        return false;
    if (m_espera == Espera::Nada || m_espera == Espera::Presentador)
        return true;
    return Falla(kSinTotalGeneral, ultima);
}

bool CompruebaEstructuraCSB(std::string_view ruta, bool exigeProcedimiento, int &lineaFallo, int &motivo)
{
    LectorLineas lector(ruta);
    EstructuraCSB estructura(exigeProcedimiento);
    std::string linea;
    bool correcta = lector.Abierto();
    while (correcta && lector.Lee(linea))
        correcta = estructura.Linea(linea, lector.Numero());
    if (correcta && lector.Error())
        correcta = false;
    else if (correcta)
        correcta = estructura.Fin(lector.Numero());
    lineaFallo = correcta || !lector.Abierto() || lector.Error() ? 0 : estructura.LineaFallo();
    motivo = correcta ? 0 : (lineaFallo ? estructura.Motivo() : int(kIlegible));
    return correcta;
}

void EnhesCSB(std::string &linea)
{
    for (char &c : linea)
        if (c == '\xA5')
            c = '\xD1';
        else if (c == '\xA4')
            c = '\xF1';
}
