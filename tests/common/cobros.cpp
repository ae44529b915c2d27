// Fixture of the tests on collection data.
#include "cobros.h"

#include "General.h"
#include "Modmas.h"
#include "basedatos.h"
#include "vasqdb.h"

namespace cobros {

namespace {

int Alta(const std::string &sql)
{
    return Ejecuta(sql) ? int(VASQ_GetLastInsertID()) : 0;
}

} // namespace

Base::Base()
{
    m_ruta = basedatos::restoreShipped(m_programa.dir());
    m_abierta = !m_ruta.empty() && basedatos::open(m_ruta, kPasswordBD) == 0;
}

Base::~Base()
{
    VASQ_CloseDB();
    SetBdPassword("");
}

std::string Literal(const std::string &texto)
{
    if (texto.empty())
        return "NULL";
    std::string r = "'";
    for (char c : texto) {
        r += c;
        if (c == '\'')
            r += '\'';
    }
    return r + "'";
}

bool Ejecuta(const std::string &sql)
{
    std::string error;
    return basedatos::exec(sql, error) >= 0;
}

std::string Valor(const std::string &sql, const std::string &campo)
{
    const basedatos::Result r = basedatos::query(sql);
    return r.rows.empty() ? std::string() : basedatos::field(r.rows.front(), campo);
}

int Filas(const std::string &sql)
{
    return int(basedatos::query(sql).rows.size());
}

int Empresa(int usuario, const std::string &nombre)
{
    return Alta("INSERT INTO [_Empresas( Datos )] (Id_usuario,Cif,Nombre) VALUES (" + std::to_string(usuario) +
                ",'B00000000'," + Literal(nombre) + ")");
}

int Presentador(int empresa, const std::string &orden, const std::string &nif, const std::string &sufijo,
                const std::string &razon)
{
    return Alta("INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Clave_presentador,Id_nif,Sufijo,"
                "Razon_social) VALUES (" +
                std::to_string(empresa) + "," + Literal(orden) + "," + Literal(nif + sufijo) + "," + Literal(nif) +
                "," + Literal(sufijo) + "," + Literal(razon) + ")");
}

int Emisor(int presentador, const std::string &nif, const std::string &sufijo, const std::string &razon,
           const std::string &cuentaAbono, const std::string &cuentaCargo, const std::string &nie)
{
    return Alta("INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono,"
                "Cuenta_cargo,Codigo_NIE) VALUES (" +
                std::to_string(presentador) + "," + Literal(nif) + "," + Literal(sufijo) + "," + Literal(razon) +
                "," + Literal(cuentaAbono) + "," + Literal(cuentaCargo) + "," + Literal(nie) + ")");
}

int Remesa(int emisor, const std::string &moneda, const std::string &descripcion)
{
    return Alta("INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Con_emision,Descripcion) VALUES (" +
                std::to_string(emisor) + "," + Literal(moneda) + ",1," + Literal(descripcion) + ")");
}

int AltaLibrado(int emisor, const Librado &l)
{
    return Alta("INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social,Cuenta,Titular_cuenta,"
                "Direccion,CP,Localidad,Loc_ordenante,Cod_provincia_ordenante) VALUES (" +
                std::to_string(emisor) + "," + Literal(l.referencia) + "," + Literal(l.nombre) + "," +
                Literal(l.cuenta) + "," + Literal(l.titular) + "," + Literal(l.direccion) + "," + Literal(l.cp) +
                "," + Literal(l.localidad) + "," + Literal(l.locOrdenante) + "," + Literal(l.codProvincia) + ")");
}

int AltaRecibo(int remesa, int librado, const Recibo &r)
{
    std::string concepto = "NULL";
    if (!r.concepto.empty()) {
        const int id = Alta("INSERT INTO [Conceptos()] (Concepto) VALUES (" + Literal(r.concepto) + ")");
        if (id == 0)
            return 0;
        concepto = std::to_string(id);
    }
    return Alta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Id_concepto,Importe,Cod_devolucion,Ref_interna,"
                "Primer_concepto,F_vencimiento,F_formalizacion,Activo,Situacion) VALUES (" +
                std::to_string(remesa) + "," + std::to_string(librado) + "," + concepto + "," + r.importe + "," +
                Literal(r.codDevolucion) + "," + Literal(r.refInterna) + "," + Literal(r.primerConcepto) + "," +
                r.vencimiento + "," + r.formalizacion + "," + (r.activo ? "1" : "0") + "," +
                std::to_string(r.situacion) + ")");
}

int EmisorConLibrados(int empresa, int librados, int &primerLibrado)
{
    primerLibrado = 0;
    const int presentador = empresa ? Presentador(empresa, "CSB19", "B11111111", "000", "Presentador") : 0;
    const int emisor = presentador ? Emisor(presentador, "A11111111", "000", "Emisor", "21000418450200051332") : 0;
    for (int i = 0; emisor && i < librados; ++i) {
        Librado datos;
        datos.referencia = "R" + std::to_string(i);
        datos.nombre = "Librado " + std::to_string(i);
        datos.cuenta = "21000418450200051332";
        const int librado = AltaLibrado(emisor, datos);
        if (!librado)
            return 0;
        primerLibrado = primerLibrado ? primerLibrado : librado;
    }
    return emisor;
}

bool RecibosEnSerie(int remesa, bool euros, int cuantos, int primerLibrado, int librados)
{
    const std::string importe = euros ? "(1+i % 1000)*1.01" : "(1+i % 1000)*101";
    return Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Ref_interna,Primer_concepto,"
                   "F_vencimiento) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
                   std::to_string(cuantos) + ") SELECT " + std::to_string(remesa) + "," +
                   std::to_string(primerLibrado) + "+(i % " + std::to_string(librados) + ")," + importe +
                   ",'R'||i,'Cuota '||i,'2030/06/30' FROM n");
}

} // namespace cobros
