// Fixture of the login and user windows' tests: the shipped database in a temporary program
// folder, this copy's coordination object, and the six windows created as start-up creates
// them and reached through App().
#pragma once

#include "Aplicacion.h"
#include "Login.h"
#include "Multiuser.h"
#include "Uniemisor.h"
#include "Uniempresa.h"
#include "Uninuevouser.h"
#include "Unipresentador.h"
#include "Uniusuarios.h"

#include "bdusuarios.h"
#include "ventanas.h"

#include <gtest/gtest.h>
#include <memory>

class VentanasUsuarios : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bd.Abierta());
        Aplicacion &app = App();
        app.Multiuser = &multiuser;
        app.FormLogin = &login;
        app.FRMGestionusers = &usuarios;
        app.FRMNuevoUsuario = &editor;
        app.FRMEmpresa = &empresa;
        app.FRMPresentador = &presentador;
        app.FRMEmisores = &emisores;
        admin = std::stoi(bd.Valor("SELECT Id_usuario FROM [_Usuarios()] WHERE Cod_usuario='ADMIN'", "Id_usuario"));
    }
    void TearDown() override { App() = Aplicacion(); }

    int Block(const std::string &tabla, const std::string &clave, int id) const
    {
        return std::stoi(bd.Valor("SELECT Block FROM " + tabla + " WHERE " + clave + "=" + std::to_string(id), "Block"));
    }
    int BlockUsuario(int id) const { return Block("[_Usuarios()]", "Id_usuario", id); }
    // The editor and the three dialogs ready for an addition, as their commands leave them.
    void PreparaAltas()
    {
        editor.PreparaAlta(std::to_string(admin));
        empresa.PreparaAlta(editor.Organizacion);
        presentador.PreparaAlta(editor.Organizacion, 0, 0);
        emisores.PreparaAlta(editor.Organizacion, 0);
    }
    // The editor opened on an active user with the first three permissions, as
    // modification opens it.
    void EditaUsuario(int id, const std::string &codigo)
    {
        STRUsuario u;
        u.Id_usuario = std::to_string(id);
        u.Cod_usuario = codigo;
        u.Permisos = "11100000000000000000";
        u.Activo = true;
        editor.PreparaModificacion(u, std::to_string(admin));
    }
    int Avisos(int nivel) const
    {
        return bd.Cuenta("[Actualizaciones()] WHERE Nivel=" + std::to_string(nivel));
    }

    bdusuarios::BaseUsuarios bd;
    _multiuser multiuser;
    TFRMEmpresa empresa;
    TFRMPresentador presentador;
    TFRMEmisores emisores;
    TFRMNuevoUsuario editor;
    TFRMGestionusers usuarios;
    TFormLogin login;
    int admin = 0; // the shipped administrator
};
