// Fixtures of the user windows' tests: a temporary program folder holding the shipped
// database, open while the object lives, with small readers and writers of its rows.
#pragma once

#include "basedatos.h"
#include "entorno.h"

#include "General.h"
#include "Trunpass.h"
#include "vasqdb.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace bdusuarios {

class BaseUsuarios {
public:
    BaseUsuarios()
    {
        m_ruta = basedatos::restoreShipped(m_programa.dir());
        m_abierta = !m_ruta.empty() && basedatos::open(m_ruta, kPasswordBD) == 0;
    }
    ~BaseUsuarios()
    {
        if (VASQ_IsDBOpened())
            VASQ_CloseDB();
        SetBdPassword("");
    }
    bool Abierta() const { return m_abierta; }
    const testutil::TempDir &Dir() const { return m_programa.dir(); }

    // Runs a statement; the rows it changed, -1 (with a test failure) when it failed.
    int Exec(const std::string &sql) const
    {
        std::string error;
        const int filas = basedatos::exec(sql, error);
        EXPECT_GE(filas, 0) << error << " en " << sql;
        return filas;
    }

    // The new row's key after an INSERT.
    int Inserta(const std::string &sql) const
    {
        return Exec(sql) == 1 ? static_cast<int>(VASQ_GetLastInsertID()) : 0;
    }

    std::vector<std::string> Filas(const std::string &sql) const
    {
        basedatos::Result r = basedatos::query(sql);
        EXPECT_TRUE(r.ok) << r.error << " en " << sql;
        return r.rows;
    }

    // The field of the first row of a query; "<ninguna>" when there is no row.
    std::string Valor(const std::string &sql, const std::string &campo) const
    {
        const std::vector<std::string> filas = Filas(sql);
        return filas.empty() ? "<ninguna>" : basedatos::field(filas.front(), campo);
    }

    int Cuenta(const std::string &tablaYCondicion) const
    {
        return std::stoi(Valor("SELECT COUNT(*) AS Total FROM " + tablaYCondicion, "Total"));
    }

    int Usuario(const std::string &codigo, const std::string &clave, const std::string &permisos = "11100000000000000000",
                bool activo = true, const std::string &nombre = "Nombre") const
    {
        return Inserta("INSERT INTO [_Usuarios()] ([Cod_usuario],[Password],[Nombre_usuario],[Permisos],[Activo],Block) "
                       "VALUES ('" + codigo + "','" + CodificaPassword(clave) + "','" + nombre + "','" + permisos +
                       "'," + (activo ? "1" : "0") + ",0);");
    }

    int Empresa(int usuario, const std::string &cif, const std::string &nombre) const
    {
        return Inserta("INSERT INTO [_Empresas( Datos )] (Id_usuario,Cif,Nombre,Block) VALUES (" +
                       std::to_string(usuario) + ",'" + cif + "','" + nombre + "',0);");
    }

    int Presentador(int empresa, const std::string &orden, const std::string &nif, const std::string &sufijo,
                    const std::string &nombre) const
    {
        return Inserta("INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Clave_presentador,Id_nif,Sufijo,"
                       "Razon_social,Block) VALUES (" + std::to_string(empresa) + ",'" + orden + "','','" + nif +
                       "','" + sufijo + "','" + nombre + "',0);");
    }

    int Emisor(int presentador, const std::string &nif, const std::string &sufijo, const std::string &nombre) const
    {
        return Inserta("INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono,"
                       "Block) VALUES (" + std::to_string(presentador) + ",'" + nif + "','" + sufijo + "','" +
                       nombre + "','21000418450200051332',0);");
    }

    int Librado(int emisor, const std::string &nombre) const
    {
        return Inserta("INSERT INTO [Librados( Datos )] (Id_emisor,Razon_social,Block) VALUES (" +
                       std::to_string(emisor) + ",'" + nombre + "',0);");
    }

    int Remesa(int emisor) const
    {
        return Inserta("INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Descripcion,Block) VALUES (" +
                       std::to_string(emisor) + ",'EUR','R',0);");
    }

    // Sets a row's lock counter as another running copy holding it would.
    void Bloquea(const std::string &tabla, const std::string &clave, int id, int bloqueo = 1) const
    {
        Exec("UPDATE " + tabla + " SET Block=" + std::to_string(bloqueo) + " WHERE " + clave + "=" +
             std::to_string(id) + ";");
    }

private:
    entorno::Programa m_programa;
    std::string m_ruta;
    bool m_abierta = false;
};

} // namespace bdusuarios
