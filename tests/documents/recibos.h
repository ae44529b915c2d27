// Fixture of the bill and drawee tests: the shipped encrypted database with an organisation
// of two users and both formats, this copy's coordination as App().Multiuser, and the
// message boxes answered and kept.
#pragma once

#include "Aplicacion.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "copias.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace recibos {

// On top of copias::Base (user 1, company 1, CSB19 presenter 1, issuer 1, euro batches 1 and
// 2 without issue, drawee 1, bill 1):
// - company 1: CSB58 presenter 2 with issuer 3; issuer 2 under presenter 1;
// - batch 3 (issuer 3, euros, with issue), batch 4 (issuer 1, pesetas, with issue);
// - user 2 with company 2, CSB19 presenter 3 and issuer 4;
// - drawees: 1 "R1" of issuer 1, 2 "R2" of issuer 2 (CSB19), 3 "R2" of issuer 3 (CSB58),
//   4 "R9" of issuer 4 (user 2), 5 "O'1" of issuer 1.
inline const char *const kOrganizacion[] = {
    "INSERT INTO [_Usuarios()] (Cod_usuario,Nombre_usuario) VALUES ('otro','Otro')",
    "INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Id_nif,Sufijo) VALUES (1,'CSB58','B00000001','001')",
    "INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo) VALUES (1,'B00000001','001')",
    "INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo) VALUES (2,'B00000001','002')",
    "INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Con_emision,Descripcion) VALUES (3,'EUR',1,'Tres')",
    "INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Con_emision,Descripcion) VALUES (1,'ESP',1,'Cuatro')",
    "INSERT INTO [_Empresas( Datos )] (Id_usuario,Cif,Nombre) VALUES (2,'B00000002','Otra')",
    "INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Id_nif,Sufijo) VALUES (2,'CSB19','B00000002','000')",
    "INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo) VALUES (3,'B00000002','000')",
    "UPDATE [Librados( Datos )] SET Codigo_referencia='R1',Cuenta='21000418450200051332' WHERE Id_librado=1",
    "INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social,Cuenta) "
    "VALUES (2,'R2','Dos','21000418450200051332')",
    "INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social,Cuenta) "
    "VALUES (3,'R2','Tres','00000000000000000000')",
    "INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social) VALUES (4,'R9','Nueve')",
    "INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social) VALUES (1,'O''1','Comilla')",
};

// The language text n as a message box shows it.
inline QString Texto(int n)
{
    return cp1252::toQString(Idioma.GetTexto(n));
}

// The texts of the message boxes shown.
inline std::vector<QString> Textos(const RespondeCajas &cajas)
{
    std::vector<QString> t;
    for (const CajaVista &c : cajas.Vistas)
        t.push_back(c.texto);
    return t;
}

class Organizacion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.Abierta());
        for (const char *sql : kOrganizacion)
            ASSERT_TRUE(copias::Ejecuta(sql)) << sql;
        multiuser = std::make_unique<_multiuser>();
        ASSERT_TRUE(multiuser->IniciaMultiusuario());
        App().Multiuser = multiuser.get();
    }
    void TearDown() override
    {
        App().Multiuser = nullptr;
        multiuser->FinMultiusuario();
    }

    // The notices posted, "level:id" in order.
    static std::vector<std::string> Avisos()
    {
        std::vector<std::string> r;
        for (const std::string &f : copias::Filas("SELECT Nivel,Id_Actualizar FROM [Actualizaciones()] "
                                                  "ORDER BY Id_Actualizacion"))
            r.push_back(GetCampo("Nivel", f) + ":" + GetCampo("Id_Actualizar", f));
        return r;
    }

    static std::string Valor(const std::string &sql, const std::string &campo) { return copias::Valor(sql, campo); }

    copias::Base base;
    std::unique_ptr<_multiuser> multiuser;
};

} // namespace recibos
