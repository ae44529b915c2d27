// Statements of every shape the program runs, per table, against the shipped schema
// through vasqdb: a missing or misnamed column, a missing default, a wrong type or a
// missing guard column fails here instead of in a user's hands. The rows run in order
// on one database; later rows rely on the keys the earlier ones created.
#include "basedatos.h"

#include "General.h"
#include "vasqdb.h"

#include <gtest/gtest.h>

#include <ctime>

using basedatos::field;

namespace {

constexpr int kFails = -1; // the statement must be refused
constexpr int kAny = -2;   // any number of rows, but it must run

struct Shape {
    const char *table;
    const char *why;
    const char *sql;
    int expected; // rows affected (actions) or returned (queries), or kFails / kAny
    const char *field = nullptr; // in the first row returned ...
    const char *value = nullptr; // ... reads this ("*": anything but empty)
};

// "{hoy}" in a statement is today as stored ('yyyy/mm/dd'); in a value, as read ("yy mm dd").
const Shape kShapes[] = {
    // Users.
    {"_Usuarios()", "user administration adds a user with all its columns",
     "INSERT INTO [_Usuarios()] ([Cod_usuario],[Password],[Nombre_usuario],[Permisos],[Activo],Block) "
     "VALUES ('PEPE','','Pepe','11100000000000000000',true,0);", 1},
    {"_Usuarios()", "a new user's key is read back as the maximum",
     "SELECT MAX([_Usuarios()].Id_usuario) AS NewUser FROM [_Usuarios()];", 1, "NewUser", "2"},
    {"_Usuarios()", "a code equal but for case is refused, as the login could not tell them apart",
     "INSERT INTO [_Usuarios()] (Cod_usuario, Password, Nombre_usuario,Block) VALUES ( 'pepe', '', 'Otro',0 );", kFails},
    {"_Usuarios()", "the bank's users file inserts code, password and name only",
     "INSERT INTO [_Usuarios()] (Cod_usuario, Password, Nombre_usuario,Block) VALUES ( 'BANCO', '', 'Del banco',0 );", 1},
    {"_Usuarios()", "a user from the bank's file is active by default",
     "SELECT * FROM [_Usuarios()] WHERE [Id_Usuario]=3;", 1, "Activo", "TRUE"},
    {"_Usuarios()", "a user from the bank's file gets twenty permission flags, none set",
     "SELECT * FROM [_Usuarios()] WHERE [Id_Usuario]=3;", 1, "Permisos", "00000000000000000000"},
    {"_Usuarios()", "the users file finds a user by code without regard to case",
     "SELECT [_Usuarios()].Id_usuario FROM [_Usuarios()] WHERE [_Usuarios()].Cod_usuario = 'banco'", 1, "Id_usuario", "3"},
    {"_Usuarios()", "the login query",
     "SELECT * FROM [_Usuarios()] WHERE ([_Usuarios()].Cod_usuario='PEPE' AND [_Usuarios()].Password='' "
     "AND [_Usuarios()].Activo=true);", 1, "Nombre_usuario", "Pepe"},
    {"_Usuarios()", "exclusive lock from 0", "UPDATE [_Usuarios()] SET Block=Block+1 WHERE Id_usuario=2 AND Block=0;", 1},
    {"_Usuarios()", "a locked user is not saved",
     "UPDATE [_Usuarios()] SET [Cod_usuario]='PEPE',[Password]='',[Nombre_usuario]='Pepe P.',"
     "[Permisos]='11100000000000000000',[Activo]=true WHERE Id_Usuario=2 AND Block=0;", 0},
    {"_Usuarios()", "lock state", "SELECT Block FROM [_Usuarios()] WHERE Id_usuario=2;", 1, "Block", "1"},
    {"_Usuarios()", "unlock", "UPDATE [_Usuarios()] SET Block=Block-1 WHERE Id_usuario=2 AND Block>0;", 1},
    {"_Usuarios()", "a free user is saved",
     "UPDATE [_Usuarios()] SET [Cod_usuario]='PEPE',[Password]='',[Nombre_usuario]='Pepe P.',"
     "[Permisos]='11100000000000000000',[Activo]=true WHERE Id_Usuario=2 AND Block=0;", 1},
    {"_Usuarios()", "the active switch", "UPDATE [_Usuarios()] SET [Activo]=false WHERE [Id_Usuario]=3 AND Block=0;", 1},
    {"_Usuarios()", "the login lists active users only",
     "SELECT * FROM [_Usuarios()] WHERE Activo=true ORDER BY Cod_usuario ;", 2},
    {"_Usuarios()", "guarded delete", "DELETE FROM [_Usuarios()] WHERE [Id_Usuario]=3 AND Block=0;", 1},
    {"_Usuarios()", "the administration grid",
     "SELECT [Id_usuario],[Cod_usuario],[Nombre_usuario],[Permisos],[Activo] FROM [_Usuarios()] "
     "ORDER BY [Cod_usuario], [Nombre_usuario];", 2},

    // Companies.
    {"_Empresas( Datos )", "the organisation editor adds a company",
     "INSERT INTO [_Empresas( Datos )] ([Id_usuario],[Cif],[Nombre],Block) VALUES (2,'B12345678','Pepe S.L.',0);", 1},
    {"_Empresas( Datos )", "key read-back",
     "SELECT MAX([_Empresas( Datos )].Id_empresa) AS NewEmpresa FROM [_Empresas( Datos )];", 1, "NewEmpresa", "1"},
    {"_Empresas( Datos )", "a tax code is unique per user",
     "INSERT INTO [_Empresas( Datos )] (Id_usuario, Cif, Nombre,Block) VALUES ( '2', 'b12345678', 'Repetida',0 );", kFails},
    {"_Empresas( Datos )", "the users file writes the user's id quoted; another user may have the same tax code",
     "INSERT INTO [_Empresas( Datos )] (Id_usuario, Cif, Nombre,Block) VALUES ( '1', 'B12345678', 'Otra',0 );", 1},
    {"_Empresas( Datos )", "a quoted id is stored as a number and found by one",
     "SELECT [_Empresas( Datos )].Id_empresa FROM [_Empresas( Datos )] WHERE [_Empresas( Datos )].Id_usuario = 1   "
     "AND [_Empresas( Datos )].Cif = 'B12345678' ", 1, "Id_empresa", "2"},
    {"_Empresas( Datos )", "the company dialog's uniqueness count",
     "SELECT COUNT(*) AS Total FROM [_Empresas( Datos )] WHERE Id_usuario=2 AND Cif='b12345678'", 1, "Total", "1"},
    {"_Empresas( Datos )", "the sequential import writes the catalogue's company columns",
     "INSERT INTO [_Empresas( Datos )] (Id_usuario,Block,Cif,Nombre,Cuenta) "
     "VALUES (2,0,'A87654321','Importada','00491500051234567892');", 1},
    {"_Empresas( Datos )", "shared lock", "UPDATE [_Empresas( Datos )] SET Block=Block+1 WHERE Id_empresa=3;", 1},
    {"_Empresas( Datos )", "a locked company is not changed",
     "UPDATE [_Empresas( Datos )] SET [Cif]='A87654321',[Nombre]='Importada S.A.' WHERE [Id_empresa]=3 AND Block=0;", 0},
    {"_Empresas( Datos )", "lock state and parent",
     "SELECT Block,Id_usuario FROM [_Empresas( Datos )] WHERE Id_empresa=3;", 1, "Block", "1"},
    {"_Empresas( Datos )", "unlock", "UPDATE [_Empresas( Datos )] SET Block=Block-1 WHERE Id_empresa=3 AND Block>0;", 1},
    {"_Empresas( Datos )", "a free company is changed",
     "UPDATE [_Empresas( Datos )] SET [Cif]='A87654321',[Nombre]='Importada S.A.' WHERE [Id_empresa]=3 AND Block=0;", 1},
    {"_Empresas( Datos )", "guarded delete", "DELETE FROM [_Empresas( Datos )] WHERE [Id_empresa]=2 AND Block=0;", 1},

    // Presenters.
    {"_Presentadores( Datos )", "the organisation editor adds a presenter",
     "INSERT INTO [_Presentadores( Datos )] ([Id_empresa],[Id_orden],[Clave_presentador],[Id_nif],[Sufijo],"
     "[Razon_social],Block) VALUES (1,'CSB19','B12345678000','B12345678','000','Presentador 19',0);", 1},
    {"_Presentadores( Datos )", "key read-back",
     "SELECT MAX([_Presentadores( Datos )].Id_presentador) AS NewPresentador FROM [_Presentadores( Datos )];", 1,
     "NewPresentador", "1"},
    {"_Presentadores( Datos )", "the same NIF and suffix may present the other format",
     "INSERT INTO [_Presentadores( Datos )] (Id_empresa, Id_orden, Clave_presentador, Id_nif, Sufijo, Razon_social,Block) "
     "VALUES ( '1', 'CSB58', 'B12345678000', 'B12345678', '000', 'Presentador 58',0 );", 1},
    {"_Presentadores( Datos )", "but not twice the same format",
     "INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Clave_presentador,Id_nif,Sufijo,Razon_social,Block)  "
     "VALUES (1,'csb19','B12345678000','B12345678','000','Otro',0);", kFails},
    {"_Presentadores( Datos )", "the CSB import looks a presenter up without its format",
     "SELECT [_Presentadores( Datos )].Id_presentador,[_Presentadores( Datos )].Id_orden FROM [_Presentadores( Datos )] "
     "WHERE [_Presentadores( Datos )].Id_empresa=1 AND [_Presentadores( Datos )].Id_nif='B12345678' "
     "AND [_Presentadores( Datos )].Sufijo='000';", 2},
    {"_Presentadores( Datos )", "the presenter dialog's uniqueness count",
     "SELECT COUNT(*) AS Total FROM [_Presentadores( Datos )] WHERE Id_presentador<>1 AND Id_empresa=1 "
     "AND Id_nif='B12345678' AND Sufijo='000' AND Id_orden='CSB19';", 1, "Total", "0"},
    {"_Presentadores( Datos )", "the presenters grid sorted by a title click",
     "SELECT [_Presentadores( Datos )].Id_nif, [_Presentadores( Datos )].Sufijo, [_Presentadores( Datos )].Razon_social,  "
     "[_Presentadores( Datos )].Id_presentador, [_Presentadores( Datos )].Clave_presentador FROM  [_Presentadores( Datos )] "
     "WHERE Id_empresa = 1 ORDER BY [_Presentadores( Datos )].Razon_social DESC;", 2, "Razon_social", "Presentador 58"},
    {"_Presentadores( Datos )", "shared lock",
     "UPDATE [_Presentadores( Datos )] SET Block=Block+1 WHERE Id_presentador=2;", 1},
    {"_Presentadores( Datos )", "a locked presenter is not changed",
     "UPDATE [_Presentadores( Datos )] SET [Id_orden]='CSB58',[Clave_presentador]='B12345678001',[Id_nif]='B12345678',"
     "[Sufijo]='001',[Razon_social]='Presentador 58' WHERE [Id_presentador]=2 AND Block=0;", 0},
    {"_Presentadores( Datos )", "lock state",
     "SELECT Block FROM [_Presentadores( Datos )] WHERE Id_presentador =2", 1, "Block", "1"},
    {"_Presentadores( Datos )", "unlock",
     "UPDATE [_Presentadores( Datos )] SET Block=Block-1 WHERE Id_presentador=2 AND Block>0;", 1},
    {"_Presentadores( Datos )", "a free presenter is changed",
     "UPDATE [_Presentadores( Datos )] SET [Id_orden]='CSB58',[Clave_presentador]='B12345678001',[Id_nif]='B12345678',"
     "[Sufijo]='001',[Razon_social]='Presentador 58' WHERE [Id_presentador]=2 AND Block=0;", 1},
    {"_Presentadores( Datos )", "the sequential import's presenter",
     "INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Clave_presentador,Block,Id_nif,Sufijo,Razon_social) "
     "VALUES (3,'CSB19','A87654321000',0,'A87654321','000','Importado');", 1},
    {"_Presentadores( Datos )", "guarded delete",
     "DELETE FROM [_Presentadores( Datos )] WHERE [Id_presentador]=3 AND Block=0;", 1},

    // Issuers.
    {"_Emisores( Datos )", "the organisation editor adds an issuer",
     "INSERT INTO [_Emisores( Datos )] ([Id_presentador],[Id_nif],[Sufijo],[Razon_social],[Cuenta_abono],[Cuenta_cargo],"
     "[Desc_cuenta],Block)  VALUES (1,'B12345678','000','Emisor 19','00491500051234567892','','',0);", 1},
    {"_Emisores( Datos )", "key read-back",
     "SELECT MAX([_Emisores( Datos )].Id_emisor) AS NewEmisor FROM [_Emisores( Datos )];", 1, "NewEmisor", "1"},
    {"_Emisores( Datos )", "the users file adds an issuer of the same NIF and suffix with other accounts",
     "INSERT INTO [_Emisores( Datos )] (Id_presentador, Id_nif, Sufijo, Razon_social, Cuenta_abono,Cuenta_cargo,Desc_cuenta,"
     "Alias,Block) VALUES ( '1', 'B12345678', '000', 'Emisor 19 bis', '21000813610123456789','00491500051234567892', "
     "'Cuenta de riesgo','ALIAS',0 );", 1},
    {"_Emisores( Datos )", "the CSB58 import writes the NIE code",
     "INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono,Codigo_NIE,Cuenta_cargo,"
     "Block)  VALUES (2,'B12345678','001','Emisor 58','00491500051234567892','280790000','',0);", 1},
    {"_Emisores( Datos )", "the users file finds an issuer by its two accounts",
     "SELECT [_Emisores( Datos )].Id_emisor FROM [_Emisores( Datos )] WHERE [_Emisores( Datos )].Id_presentador = 1   "
     "AND [_Emisores( Datos )].Cuenta_abono = '21000813610123456789' AND [_Emisores( Datos )].Cuenta_cargo= "
     "'00491500051234567892'", 1, "Id_emisor", "2"},
    {"_Emisores( Datos )", "the send file's issuer row",
     "SELECT [_Emisores( Datos )].Id_nif, [_Emisores( Datos )].Sufijo, [_Emisores( Datos )].Razon_social, "
     "[_Emisores( Datos )].Cuenta_abono, [_Emisores( Datos )].Codigo_NIE FROM [_Emisores( Datos )] "
     "WHERE ((([_Emisores( Datos )].Id_emisor)=3));", 1, "Codigo_NIE", "280790000"},
    {"_Emisores( Datos )", "shared lock", "UPDATE [_Emisores( Datos )] SET Block=Block+1 WHERE Id_emisor=2;", 1},
    {"_Emisores( Datos )", "a locked issuer is not changed",
     "UPDATE [_Emisores( Datos )] SET [Id_nif]='B12345678',[Sufijo]='000',[Razon_social]='Emisor 19 bis',"
     "[Cuenta_abono]='21000813610123456789',[Cuenta_cargo]='',[Desc_cuenta]=''  WHERE [Id_emisor]=2 AND Block=0;", 0},
    {"_Emisores( Datos )", "lock state and parent",
     "SELECT Block,Id_presentador FROM [_Emisores( Datos )] WHERE Id_emisor=2;", 1, "Id_presentador", "1"},
    {"_Emisores( Datos )", "unlock", "UPDATE [_Emisores( Datos )] SET Block=Block-1 WHERE Id_emisor=2 AND Block>0;", 1},

    // Concept templates.
    {"Plantillas( Datos )", "a new template", "INSERT INTO [Plantillas( Datos )] (Nombre,Block) VALUES ( 'Cuotas',0 )", 1},
    {"Plantillas( Datos )", "the helpers' maximum query",
     "SELECT MAX( [Plantillas( Datos )].Id_plantilla ) FROM [Plantillas( Datos )]", 1},
    {"Plantillas( Elementos )", "an item",
     "INSERT INTO [Plantillas( Elementos )] (Id_plantilla, Datos,Block) VALUES ( 1, 'Tipo=Label\xB7X=0\xB7',0 );", 1},
    {"Plantillas( Elementos )", "a second item",
     "INSERT INTO [Plantillas( Elementos )] (Id_plantilla, Datos,Block) VALUES ( 1, 'Tipo=Importe\xB7X=9\xB7',0 );", 1},
    {"Plantillas( Elementos )", "items come back in the order they were stored",
     "SELECT [Plantillas( Elementos )].Datos FROM [Plantillas( Elementos )] "
     "WHERE [Plantillas( Elementos )].Id_plantilla = 1", 2, "Datos", "Tipo=Label\xB7X=0\xB7"},
    {"Plantillas( Datos )", "template lock", "UPDATE [Plantillas( Datos )] SET Block=1 WHERE Id_plantilla=1 AND Block=0;", 1},
    {"Plantillas( Elementos )", "template lock on its items",
     "UPDATE [Plantillas( Elementos )] SET Block=1 WHERE Id_plantilla=1 AND Block=0;", 2},
    {"Plantillas( Datos )", "a locked template is not renamed",
     "UPDATE [Plantillas( Datos )] SET [Plantillas( Datos )].Nombre = 'Otra' "
     "WHERE [Plantillas( Datos )].Id_plantilla = 1 AND Block=0", 0},
    {"Plantillas( Elementos )", "a locked template keeps its items",
     "DELETE FROM [Plantillas( Elementos )] WHERE [Plantillas( Elementos )].Id_plantilla = 1 AND Block=0", 0},
    {"Plantillas( Datos )", "unlock", "UPDATE [Plantillas( Datos )] SET Block=0 WHERE Id_plantilla=1 AND Block>0;", 1},
    {"Plantillas( Elementos )", "unlock", "UPDATE [Plantillas( Elementos )] SET Block=0 WHERE Id_plantilla=1 AND Block>0;", 2},

    // Batches.
    {"Remesas()", "the batch editor's new batch",
     "INSERT INTO [Remesas()] (Id_plantilla,Id_moneda,Id_emisor,Con_emision,Descripcion,Block)  "
     "VALUES (1,'EUR',1,TRUE,'Remesa con plantilla',0);", 1},
    {"Remesas()", "key read-back", "SELECT MAX([Remesas()].Id_remesa) AS NewRem FROM [Remesas()];", 1, "NewRem", "1"},
    {"Remesas()", "a batch made by the editor is dated today",
     "SELECT [Remesas()].Id_remesa, [Remesas()].F_alta, [Remesas()].Importe_total, [Remesas()].Con_emision,  "
     "[Remesas()].Contravalor_total, [Remesas()].Descripcion, [Remesas()].Id_moneda, [Remesas()].F_generacion  "
     "FROM [Remesas()] WHERE ((([Remesas()].Id_remesa)=1));", 1, "F_alta", "{hoy}"},
    {"Remesas()", "its totals start at 0",
     "SELECT [Importe_total] FROM [Remesas()] WHERE Id_remesa=1;", 1, "Importe_total", "0"},
    {"Remesas()", "a batch never generated reads NULL",
     "SELECT [Remesas()].F_generacion FROM [Remesas()] WHERE Id_remesa=1;", 1, "F_generacion", "NULL"},
    {"Remesas()", "the quick batch",
     "INSERT INTO [Remesas()] ( Id_moneda,Id_emisor,Con_emision,F_alta,Importe_total,Contravalor_total,Descripcion,Block) "
     "VALUES ( 'ESP',1,false,'2002/01/31',0,0,'Remesa rapida',0 );", 1},
    {"Remesas()", "the quick batch's key", "SELECT MAX(Id_remesa) AS UltimoId FROM [Remesas()]", 1, "UltimoId", "2"},
    {"Remesas()", "dates read as yy mm dd",
     "SELECT [Remesas()].F_alta FROM [Remesas()] WHERE Id_remesa=2;", 1, "F_alta", "02 01 31"},
    {"Remesas()", "the sequential import's batch, with a quoted total",
     "INSERT INTO [Remesas()] (Id_moneda,Id_emisor,Con_emision,F_alta,Importe_total,Descripcion,Block) "
     "VALUES ('EUR',3,true,'2002/01/31','0','IMPORTACION',0);", 1},
    {"Remesas()", "exclusive lock", "UPDATE [Remesas()] SET Block=Block+1 WHERE Id_remesa=2 AND Block=0;", 1},
    {"Remesas()", "a locked batch is not changed",
     "UPDATE [Remesas()] SET [Remesas()].Id_emisor= 1 ,[Remesas()].Id_plantilla = NULL, [Remesas()].Id_moneda = 'ESP', "
     "[Remesas()].Con_emision = FALSE,  [Remesas()].Descripcion = 'Rapida' WHERE [Remesas()].Id_remesa = 2 AND Block<1;", 0},
    {"Remesas()", "lock state and parent", "SELECT Block,Id_emisor FROM [Remesas()] WHERE Id_remesa=2;", 1, "Block", "1"},
    {"Remesas()", "unlock", "UPDATE [Remesas()] SET Block=Block-1 WHERE Id_remesa=2 AND Block>0;", 1},
    {"Remesas()", "a free batch is changed",
     "UPDATE [Remesas()] SET [Remesas()].Id_emisor= 1 ,[Remesas()].Id_plantilla = NULL, [Remesas()].Id_moneda = 'ESP', "
     "[Remesas()].Con_emision = FALSE,  [Remesas()].Descripcion = 'Rapida' WHERE [Remesas()].Id_remesa = 2 AND Block<1;", 1},
    {"Plantillas( Datos )", "a template that batches name cannot be deleted",
     "DELETE FROM [Plantillas( Datos )] WHERE [Plantillas( Datos )].Id_plantilla = 1 AND Block=0", kFails},
    {"Remesas()", "the batches grid sorted by amount",
     "SELECT [Remesas()].Id_remesa, [Remesas()].F_alta, [Remesas()].Importe_total, [Remesas()].Con_emision, "
     "[Remesas()].Contravalor_total, [Remesas()].Descripcion, [Remesas()].F_generacion, [_TiposMoneda()].Id_moneda "
     "FROM [_TiposMoneda()] INNER JOIN [Remesas()] ON [_TiposMoneda()].Id_moneda = [Remesas()].Id_moneda "
     "WHERE ((([Remesas()].Id_emisor)=1)) ORDER BY [Remesas()].Importe_total ASC,[Remesas()].Id_moneda ASC;", 2},
    {"Remesas()", "the send-file window's batches",
     "SELECT * FROM [Remesas()] INNER JOIN [_Emisores( Datos )] ON [_Emisores( Datos )].Id_emisor=[Remesas()].Id_emisor "
     "WHERE Id_presentador=1 ORDER BY [_Emisores( Datos )].[Razon_social] ASC,[Remesas()].Descripcion ASC;", 2,
     "Remesas().Id_emisor", "1"},
    {"Remesas()", "a date in display form is refused: it would read back as no date",
     "UPDATE [Remesas()] SET [Remesas()].F_generacion = '01/02/2002' WHERE [Remesas()].Id_remesa = 1;", kFails},
    {"Remesas()", "the generation date",
     "UPDATE [Remesas()] SET [Remesas()].F_generacion = '2002/02/01' WHERE [Remesas()].Id_remesa = 1;", 1},
    {"Remesas()", "the navigation tree's nested joins",
     "SELECT [_Emisores( Datos )].Id_emisor, [_Emisores( Datos )].Razon_social, [Remesas()].Id_remesa, "
     "[Remesas()].Descripcion, [_Presentadores( Datos )].Razon_social, [_Presentadores( Datos )].Id_orden,"
     "[_Presentadores( Datos )].Id_presentador, [_Empresas( Datos )].Nombre, [_Empresas( Datos )].Id_empresa "
     "FROM [_Empresas( Datos )] INNER JOIN ([_Presentadores( Datos )] LEFT JOIN ([_Emisores( Datos )] LEFT JOIN "
     "[Remesas()] ON [_Emisores( Datos )].Id_emisor = [Remesas()].Id_emisor) ON [_Presentadores( Datos )].Id_presentador "
     "= [_Emisores( Datos )].Id_presentador) ON [_Empresas( Datos )].Id_empresa = [_Presentadores( Datos )].Id_empresa "
     "WHERE ((([_Presentadores( Datos )].Id_empresa)=1));", 4, "_Presentadores( Datos ).Razon_social", "*"},

    // Drawees.
    {"Librados( Datos )", "a CSB19 drawee",
     "INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social,Cuenta,Titular_cuenta,Direccion,CP,"
     "Localidad,Provincia,Block)  VALUES (1,'REF001','\xC1lvarez','21000813610123456789','\xC1lvarez',"
     "'Calle Mayor 1','29001','M\xE1laga','M\xC1LAGA',0);", 1},
    {"Librados( Datos )", "a CSB58 drawee without account",
     "INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Direccion,Localidad,CP,Cuenta,Loc_ordenante,"
     "Cod_provincia_ordenante,Razon_social,Block)  VALUES (3,'REF058','Gran Via 2','Madrid','28013',"
     "'00000000000000000000','Madrid','28','Zapata',0);", 1},
    {"Librados( Datos )", "key read-back",
     "SELECT MAX([Librados( Datos )].Id_librado) AS NewLibrado FROM [Librados( Datos )];", 1, "NewLibrado", "2"},
    {"Librados( Datos )", "the sequential import's drawee",
     "INSERT INTO [Librados( Datos )] (Id_emisor,Block,Codigo_referencia,Razon_social,Cuenta) "
     "VALUES (1,0,'REF002','Nu\xF1" "ez','21000813610123456789');", 1},
    {"Librados( Datos )", "the imports find a drawee by reference and issuer",
     "SELECT [Librados( Datos )].Id_librado FROM [Librados( Datos )] WHERE [Librados( Datos )].Codigo_referencia='ref001' "
     "AND [Librados( Datos )].Id_emisor=1;", 1, "Id_librado", "1"},
    {"Librados( Datos )", "a reference is unique per user and format (nested joins)",
     "SELECT [Librados( Datos )].Id_librado FROM [_Empresas( Datos )] INNER JOIN ([_Presentadores( Datos )] INNER JOIN "
     "([_Emisores( Datos )] INNER JOIN [Librados( Datos )] ON [_Emisores( Datos )].Id_emisor = [Librados( Datos )].Id_emisor) "
     "ON [_Presentadores( Datos )].Id_presentador = [_Emisores( Datos )].Id_presentador) ON [_Empresas( Datos )].Id_empresa "
     "= [_Presentadores( Datos )].Id_empresa WHERE [_Empresas( Datos )].Id_usuario=2  AND "
     "[Librados( Datos )].Codigo_referencia='REF001' AND[_Presentadores( Datos )].Id_orden='CSB19';", 1},
    {"Librados( Datos )", "drawees sort by name with accented letters among their base letter",
     "SELECT [Librados( Datos )].* FROM [_Empresas( Datos )] INNER JOIN ([_Presentadores( Datos )] INNER JOIN "
     "([_Emisores( Datos )] INNER JOIN [Librados( Datos )] ON [_Emisores( Datos )].Id_emisor = [Librados( Datos )].Id_emisor) "
     "ON [_Presentadores( Datos )].Id_presentador = [_Emisores( Datos )].Id_presentador) ON [_Empresas( Datos )].Id_empresa "
     "= [_Presentadores( Datos )].Id_empresa WHERE [_Empresas( Datos )].Id_usuario=2  AND "
     "[_Presentadores( Datos )].Id_orden='CSB19' ORDER BY [Librados( Datos )].[Razon_social];", 2,
     "Razon_social", "\xC1lvarez"},
    {"Librados( Datos )", "shared lock", "UPDATE [Librados( Datos )] SET Block=Block+1 WHERE Id_librado=1;", 1},
    {"Librados( Datos )", "a locked CSB19 drawee is not changed",
     "UPDATE [Librados( Datos )] SET [Librados( Datos )].Codigo_referencia = 'REF001', [Librados( Datos )].Razon_social = "
     "'\xC1lvarez', [Librados( Datos )].Cuenta = '21000813610123456789', [Librados( Datos )].Titular_cuenta = '\xC1lvarez', "
     "[Librados( Datos )].Direccion = 'Calle Mayor 3', [Librados( Datos )].CP = '29001', [Librados( Datos )].Localidad = "
     "'M\xE1laga', [Librados( Datos )].Provincia = 'M\xC1LAGA' WHERE [Librados( Datos )].Id_librado = 1  AND Block<1;", 0},
    {"Librados( Datos )", "lock state and parent",
     "SELECT Block,Id_emisor FROM [Librados( Datos )] WHERE Id_librado=1;", 1, "Block", "1"},
    {"Librados( Datos )", "unlock", "UPDATE [Librados( Datos )] SET Block=Block-1 WHERE Id_librado=1 AND Block>0;", 1},
    {"Librados( Datos )", "a free CSB58 drawee is changed",
     "UPDATE [Librados( Datos )] SET [Librados( Datos )].Codigo_referencia = 'REF058', [Librados( Datos )].Razon_social = "
     "'Zapata', [Librados( Datos )].Cuenta = '00000000000000000000', [Librados( Datos )].Localidad = 'Madrid', "
     "[Librados( Datos )].Direccion = 'Gran Via 4', [Librados( Datos )].CP = '28013', [Librados( Datos )].Loc_ordenante = "
     "'Madrid', [Librados( Datos )].Cod_provincia_ordenante = '28' WHERE [Librados( Datos )].Id_librado = 2 AND Block<1;", 1},

    // Concepts.
    {"Conceptos()", "the bill editor's concept", "INSERT INTO [Conceptos()] (Concepto) VALUES ('Cuota de enero');", 1},
    {"Conceptos()", "key read-back",
     "SELECT MAX([Conceptos()].Id_concepto) AS NewConcepto FROM [Conceptos()];", 1, "NewConcepto", "1"},
    {"Conceptos()", "the mass modification's blank concept", "INSERT INTO [Conceptos()] (Concepto) VALUES ( ' ' )", 1},
    {"Conceptos()", "concepts are rewritten in place",
     "UPDATE [Conceptos()] SET [Conceptos()].Concepto='Cuota de febrero' WHERE [Conceptos()].Id_concepto=2;", 1},
    {"Conceptos()", "read back",
     "SELECT [Conceptos()].Concepto FROM [Conceptos()] WHERE [Conceptos()].Id_concepto = 2", 1, "Concepto",
     "Cuota de febrero"},

    // Bills.
    {"Documentos()", "the bill editor's bill with concept and dates",
     "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Cod_devolucion,Ref_interna,Id_concepto,"
     "F_formalizacion,F_vencimiento,Primer_concepto,Block)  VALUES (1,1,'1234.50','205405','','FAC-1',1,'','2002/02/28',"
     "'Cuota de enero',0);", 1},
    {"Documentos()", "the short bill", "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Cod_devolucion,"
     "Ref_interna,Primer_concepto,Block)  VALUES (1,3,'100.25','16680','','FAC-2','Sin concepto',0);", 1},
    {"Documentos()", "key read-back", "SELECT MAX([Documentos()].Id_documento) AS NewDoc FROM [Documentos()];", 1,
     "NewDoc", "2"},
    {"Documentos()", "a new bill is active",
     "SELECT [Documentos()].Id_documento, [Documentos()].Activo, [Documentos()].Importe, [Documentos()].F_vencimiento, "
     "[Documentos()].Contravalor, [Documentos()].Cod_devolucion, [Librados( Datos )].Razon_social, [Librados( Datos )].Cuenta, "
     "[Remesas()].Id_moneda FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN [Documentos()] ON "
     "[Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = [Documentos()].Id_remesa "
     "WHERE ((([Documentos()].Id_documento)=2));", 1, "Activo", "TRUE"},
    {"Documentos()", "and normal", "SELECT Situacion FROM [Documentos()] WHERE Id_documento=2;", 1, "Situacion", "0"},
    {"Documentos()", "the CSB import's bill without formalisation date",
     "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Cod_devolucion,Ref_interna,Id_concepto,"
     "F_vencimiento,Primer_concepto,Block)  VALUES (3,2,'50.00','8319','','',2,'2002/03/31','Cuota de febrero',0);", 1},
    {"Documentos()", "the CSB import's erroneous mark",
     "UPDATE [Documentos()] SET Situacion=1,Activo=false WHERE Id_documento=3", 1},
    {"Documentos()", "the CSB import's key", "SELECT MAX(Id_documento) AS LastDoc FROM [Documentos()]", 1, "LastDoc", "3"},
    {"Documentos()", "an amount written '50.00' is found by that text",
     "SELECT [Documentos()].Id_documento FROM [Documentos()] WHERE [Documentos()].Id_remesa=3 AND "
     "[Documentos()].Id_librado=2 AND [Documentos()].Id_concepto=2 AND [Documentos()].Importe='50.00';", 1},
    {"Documentos()", "the sequential import's bill",
     "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Id_concepto,Activo,Situacion,Contravalor,Block,Importe,Ref_interna,"
     "F_vencimiento) VALUES (3,2,'',true,0,'16638',0,'100.00','IMP-1','2002/04/30');", 1},
    {"Documentos()", "an amount with a decimal comma or a thousands point is refused: it would sum wrong",
     "UPDATE [Documentos()] SET Contravalor='205.405,00' WHERE Id_documento=1;", kFails},
    {"Remesas()", "an empty total is refused: it is no amount",
     "UPDATE [Remesas()] SET Importe_total='' WHERE Id_remesa=1;", kFails},
    {"Documentos()", "a date the calendar lacks is refused",
     "UPDATE [Documentos()] SET F_vencimiento='2002/02/30' WHERE Id_documento=1;", kFails},
    {"Documentos()", "amounts sum exactly",
     "SELECT SUM([Documentos()].Importe) AS TotalImporte FROM [Documentos()] WHERE Id_remesa=1 AND "
     "[Documentos()].Situacion=0;", 1, "TotalImporte", "1334.75"},
    {"Remesas()", "batch totals written bare",
     "UPDATE [Remesas()] SET [Remesas()].Importe_total=1334.75, [Remesas()].Contravalor_total=222085 WHERE Id_remesa=1;", 1},
    {"Remesas()", "batch totals written quoted",
     "UPDATE [Remesas()] SET Importe_total='150.00',Contravalor_total='24958' WHERE Id_remesa=3;", 1},
    {"Remesas()", "a quoted total reads as the number",
     "SELECT [Importe_total] FROM [Remesas()] WHERE Id_remesa=3;", 1, "Importe_total", "150"},
    {"Documentos()", "the totals panel counts active normal bills",
     "SELECT COUNT(Id_documento) AS NActivos, SUM(Importe) AS ImporteActivos FROM [Documentos()] WHERE "
     "[Documentos()].Activo = TRUE AND [Documentos()].Id_remesa = 3 AND [Documentos()].Situacion=0;", 1,
     "ImporteActivos", "100"},
    {"Documentos()", "a batch without bills sums to NULL",
     "SELECT SUM([Documentos()].Importe) AS TotalImporte FROM [Documentos()] WHERE Id_remesa=2 AND "
     "[Documentos()].Situacion=0;", 1, "TotalImporte", "NULL"},
    {"Documentos()", "the bills grid sorts amounts as numbers, not as texts",
     "SELECT [Documentos()].Situacion, [Librados( Datos )].Cuenta, [Documentos()].F_vencimiento, [Librados( Datos )].Razon_social, "
     "[Documentos()].Importe, [Documentos()].Id_documento, [Documentos()].Cod_devolucion, [Documentos()].Activo, "
     "[Documentos()].Contravalor, [Remesas()].Id_moneda FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN "
     "[Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = "
     "[Documentos()].Id_remesa WHERE ((([Documentos()].Id_remesa)=3)) ORDER BY [Documentos()].Importe ASC;", 2,
     "Importe", "50"},
    {"Documentos()", "exclusive lock", "UPDATE [Documentos()] SET Block=Block+1 WHERE Id_documento=1 AND Block=0;", 1},
    {"Documentos()", "a locked bill is not saved",
     "UPDATE [Documentos()] SET [Situacion]=0,Activo=true,[Documentos()].Importe = '1234.50', [Documentos()].Contravalor = "
     "'205405',  [Documentos()].Cod_devolucion = '', [Documentos()].Ref_interna = 'FAC-1', [Documentos()].Id_concepto = 1,  "
     "[Documentos()].F_formalizacion = '', [Documentos()].F_vencimiento = '2002/02/28', [Documentos()].Id_librado = 1,  "
     "[Documentos()].Primer_concepto = 'Cuota de enero' WHERE [Documentos()].Id_documento = 1 AND Block<1;", 0},
    {"Documentos()", "lock state and parents",
     "SELECT Block,Id_remesa,Id_librado FROM [Documentos()] WHERE Id_documento=1;", 1, "Block", "1"},
    {"Documentos()", "unlock", "UPDATE [Documentos()] SET Block=Block-1 WHERE Id_documento=1 AND Block>0;", 1},
    {"Documentos()", "a free bill is saved",
     "UPDATE [Documentos()] SET [Situacion]=0,Activo=true,[Documentos()].Importe = '1234.50', [Documentos()].Contravalor = "
     "'205405',  [Documentos()].Cod_devolucion = '', [Documentos()].Ref_interna = 'FAC-1', [Documentos()].Id_concepto = 1,  "
     "[Documentos()].F_formalizacion = '', [Documentos()].F_vencimiento = '2002/02/28', [Documentos()].Id_librado = 1,  "
     "[Documentos()].Primer_concepto = 'Cuota de enero' WHERE [Documentos()].Id_documento = 1 AND Block<1;", 1},
    {"Documentos()", "an empty date reads NULL",
     "SELECT F_formalizacion FROM [Documentos()] WHERE Id_documento=1;", 1, "F_formalizacion", "NULL"},
    {"Documentos()", "revalidation", "UPDATE [Documentos()] SET Situacion=0,Activo=true WHERE Id_documento=3 AND Block=0;", 1},
    {"Documentos()", "deactivation",
     "UPDATE [Documentos()] SET [Documentos()].Activo=FALSE WHERE [Documentos()].Id_documento=2  AND Block<1;", 1},
    {"Documentos()", "the mass modification writes a date literal",
     "UPDATE [Documentos()] SET [Documentos()].F_vencimiento = #2002/05/31# WHERE [Documentos()].Id_documento = 2 "
     "AND Block=0", 1},
    {"Documentos()", "and it reads back as a date",
     "SELECT [Documentos()].F_vencimiento FROM [Documentos()] WHERE [Documentos()].Id_documento = 2", 1,
     "F_vencimiento", "02 05 31"},
    {"Documentos()", "the processing date of the active bills",
     "UPDATE [Documentos()] SET [Documentos()].F_proceso = '2002/02/01' WHERE ([Documentos()].Activo = TRUE AND "
     "[Documentos()].Id_remesa = 1)  AND Block<1;", 1},
    {"Documentos()", "the send file's bills with their concept (nested joins)",
     "SELECT [Librados( Datos )].Codigo_referencia, [Librados( Datos )].Razon_social, [Librados( Datos )].Loc_ordenante, "
     "[Librados( Datos )].Cod_provincia_ordenante, [Librados( Datos )].Cuenta, [Documentos()].Importe, "
     "[Documentos()].Cod_devolucion,[Documentos()].F_vencimiento, [Documentos()].F_formalizacion, [Documentos()].Ref_interna, "
     "[Documentos()].Primer_concepto, [Conceptos()].Concepto, [Librados( Datos )].Titular_cuenta, [Librados( Datos )].Direccion, "
     "[Librados( Datos )].CP, [Librados( Datos )].Localidad FROM ([Librados( Datos )] INNER JOIN [Documentos()] ON "
     "[Librados( Datos )].Id_librado = [Documentos()].Id_librado) LEFT JOIN [Conceptos()] ON [Conceptos()].Id_concepto = "
     "[Documentos()].Id_concepto WHERE ((([Documentos()].Id_remesa)=1)) AND ([Documentos()].Activo=TRUE);", 1,
     "Concepto", "Cuota de enero"},
    {"Documentos()", "the bill loader of a bill without concept (nested joins)",
     "SELECT [Librados( Datos )].Id_librado, [Librados( Datos )].Razon_social, [Librados( Datos )].Cuenta, "
     "[Librados( Datos )].Loc_ordenante, [Librados( Datos )].Cod_provincia_ordenante, [Documentos()].F_formalizacion, "
     "[Librados( Datos )].Titular_cuenta, [Librados( Datos )].Direccion, [Librados( Datos )].CP, [Librados( Datos )].Localidad, "
     "[Librados( Datos )].Provincia, [Documentos()].Importe, [Documentos()].Contravalor, [Documentos()].Cod_devolucion, "
     "[Documentos()].Ref_interna, [Documentos()].F_vencimiento,[Librados( Datos )].Codigo_referencia, "
     "[Remesas()].Id_plantilla, [Remesas()].Id_moneda, [Remesas()].Con_emision, [Conceptos()].Concepto, "
     "[Documentos()].Primer_concepto, [Documentos()].Id_concepto FROM ([Remesas()] INNER JOIN ([Librados( Datos )] INNER "
     "JOIN [Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = "
     "[Documentos()].Id_remesa) LEFT JOIN [Conceptos()] ON [Conceptos()].Id_concepto = [Documentos()].Id_concepto "
     "WHERE ((([Documentos()].Id_documento)=2));", 1, "Concepto", "NULL"},
    {"Documentos()", "revalidation reads a bill with its drawee and format (nested joins)",
     "SELECT [Documentos()].*,[_Presentadores( Datos )].Id_orden,[Librados( Datos )].* FROM ((([_Presentadores( Datos )] "
     "INNER JOIN [_Emisores( Datos )] ON [_Presentadores( Datos )].Id_presentador = [_Emisores( Datos )].Id_presentador) "
     "INNER JOIN [Librados( Datos )] ON [_Emisores( Datos )].Id_emisor = [Librados( Datos )].Id_emisor) INNER JOIN "
     "[Remesas()] ON [_Emisores( Datos )].Id_emisor  = [Remesas()].Id_emisor) INNER JOIN [Documentos()] ON "
     "([Remesas()].Id_remesa = [Documentos()].Id_remesa) AND ([Librados( Datos )].Id_librado = [Documentos()].Id_librado) "
     "WHERE [Documentos()].Id_documento=1", 1, "Id_orden", "CSB19"},
    {"Documentos()", "the currency switch applies templates to bills with concepts",
     "SELECT [Id_documento],Importe,Contravalor,Id_plantilla,[Conceptos()].Id_concepto,Concepto FROM [Conceptos()] INNER "
     "JOIN ([Remesas()] INNER JOIN [Documentos()]  ON [Remesas()].Id_remesa = [Documentos()].Id_remesa) ON "
     "[Conceptos()].Id_concepto = [Documentos()].Id_concepto WHERE [Documentos()].Id_remesa=1;", 1, "Id_plantilla", "1"},
    {"Documentos()", "the currency switch exchanges amount and counter-value",
     "UPDATE [Documentos()] SET [Importe]='205405',[Contravalor]='1234.50' WHERE [Id_documento]=1 AND Block<1;", 1},
    {"Documentos()", "the bills report count",
     "SELECT COUNT(*) AS Total FROM [Remesas()]      INNER JOIN ([Librados( Datos )]      INNER JOIN [Documentos()]      "
     "ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado)      ON [Remesas()].Id_remesa = [Documentos()].Id_remesa "
     "WHERE [Documentos()].Id_remesa=1", 1, "Total", "2"},
    {"Documentos()", "guarded delete of a bill",
     "DELETE * FROM [Documentos()] WHERE [Documentos()].Id_documento = 4 AND Block<1;", 1},
    {"Documentos()", "deleting a batch deletes its bills first",
     "DELETE * FROM [Documentos()] WHERE [Documentos()].Id_remesa = 2  AND Block<1;", 0},
    {"Remesas()", "then the batch", "DELETE * FROM [Remesas()] WHERE [Remesas()].Id_remesa = 2 AND Block<1;", 1},
    {"Librados( Datos )", "lock before a guarded delete", "UPDATE [Librados( Datos )] SET Block=Block+1 WHERE Id_librado=2;", 1},
    {"Librados( Datos )", "a locked drawee is not deleted",
     "DELETE * FROM [Librados( Datos )] WHERE [Librados( Datos )].Id_librado = 2 AND Block<1;", 0},
    {"Librados( Datos )", "a deleted issuer's drawees move to another issuer",
     "UPDATE [Librados( Datos )] SET [Id_emisor]=2 WHERE [Id_emisor]=1;", 2},
    {"_Emisores( Datos )", "guarded delete", "DELETE FROM [_Emisores( Datos )] WHERE [Id_emisor]=1 AND Block=0;", 1},

    // History.
    {"Historicos( Remesas )", "the send file's history row",
     "INSERT INTO [Historicos( Remesas )] (Id_remesa,Descripcion) VALUES (1,'/HISTORICO/hst0102021.csb');", 1},
    {"Historicos( Remesas )", "its generation date comes from the default",
     "SELECT * FROM [Historicos( Remesas )] WHERE Id_remesa=1 ORDER BY F_generacion;", 1, "F_generacion", "{hoy}"},
    {"Historicos( Remesas )", "histories between two dates",
     "SELECT * FROM [Historicos( Remesas )] WHERE Id_remesa=1 AND F_generacion BETWEEN #{hoy}# AND #{hoy}# "
     "ORDER BY F_generacion;", 1, "Id_historico", "1"},
    {"Historicos( Remesas )", "none outside the dates",
     "SELECT * FROM [Historicos( Remesas )] WHERE Id_remesa=1 AND F_generacion BETWEEN #2001/01/01# AND #2001/12/31# "
     "ORDER BY F_generacion;", 0},
    {"Historicos( Remesas )", "delete a history", "DELETE * FROM [Historicos( Remesas )] WHERE Id_historico =1;", 1},
    {"Remesas()", "the batch counts as never generated again",
     "UPDATE [Remesas()] SET [F_generacion]='' WHERE Id_remesa=1;", 1},
    {"Remesas()", "an emptied date reads NULL",
     "SELECT [Remesas()].F_generacion FROM [Remesas()] WHERE Id_remesa=1;", 1, "F_generacion", "NULL"},

    // Reference tables.
    {"_TiposMoneda()", "the batch editor's currencies", "SELECT * FROM [_TiposMoneda()] WHERE Moneda_valida = True;", 2,
     "Descripcion", "Pesetas"},
    {"_Provincias()", "a province by postcode prefix", "SELECT Provincia FROM [_Provincias()] WHERE CP = '29';", 1,
     "Provincia", "M\xC1LAGA"},
    {"_Provincias()", "a province code by name, without regard to case",
     "SELECT CP FROM [_Provincias()] WHERE Provincia = 'm\xE1laga';", 1, "CP", "29"},
    {"_Provincias()", "the provinces list", "SELECT * FROM [_Provincias()];", 52},
    {"Bancos()", "a bank by entity code", "SELECT * FROM [Bancos()] WHERE [N_Banco]='0049'", 1, "Nombre_banco",
     "Banco Santander"},

    // Multi-user registry.
    {"Aplicaciones()", "registration sets only the time", "INSERT INTO [Aplicaciones()] (Hora) VALUES ('101500');", 1},
    {"Aplicaciones()", "the copy's number", "SELECT MAX([Aplicaciones()].[Num_Aplicacion]) AS UltimoId FROM [Aplicaciones()];",
     1, "UltimoId", "1"},
    {"Aplicaciones()", "heartbeat", "UPDATE [Aplicaciones()] SET Hora='101502' WHERE Num_Aplicacion=1;", 1},
    {"Aplicaciones()", "the copy's records",
     "UPDATE [Aplicaciones()] SET Id_UsuarioLogineado=2,Reg_Usuario=0,Reg_Empresa=1,Reg_Presentador=0,Reg_Emisor=0,"
     "Reg_Remesa=0,Reg_Librado=0,Reg_Documentos=0,Reg_Plantilla=0,Reg_Compartidos='4:1;' WHERE Num_Aplicacion=1", 1},
    {"Aplicaciones()", "sweep", "SELECT Num_Aplicacion,Hora FROM [Aplicaciones()] ORDER BY Num_Aplicacion;", 1, "Hora",
     "101502"},
    {"Aplicaciones()", "the count with the table alias", "SELECT COUNT (*) AS Total FROM [Aplicaciones()] Num_Aplicacion;",
     1, "Total", "1"},
    {"Actualizaciones()", "posting a notice",
     "INSERT INTO [Actualizaciones()] (Num_Aplicacion,Id_Usuario,Nivel,Id_Actualizar,Contador) VALUES (1,2,3,1,0);", 1},
    {"Actualizaciones()", "reading notices",
     "SELECT * FROM [Actualizaciones()] WHERE Id_Actualizacion>0 ORDER BY Id_Actualizacion,Nivel,Id_Actualizar;", 1,
     "Nivel", "3"},
    {"Actualizaciones()", "counting a reader", "UPDATE [Actualizaciones()] SET Contador=1 WHERE Id_Actualizacion=1;", 1},
    {"Actualizaciones()", "the last reader deletes it", "DELETE FROM [Actualizaciones()] WHERE Id_Actualizacion=1;", 1},
    {"Aplicaciones()", "a copy's release", "SELECT * FROM [Aplicaciones()] WHERE Num_Aplicacion=1;", 1,
     "Id_UsuarioLogineado", "2"},
    {"Aplicaciones()", "unregistration", "DELETE * FROM [Aplicaciones()] WHERE Num_Aplicacion=1;", 1},
    {"_Usuarios()", "the last copy out clears every lock", "UPDATE [_Usuarios()] SET Block=0 WHERE Block<>0;", kAny},
    {"_Empresas( Datos )", "the last copy out clears every lock", "UPDATE [_Empresas( Datos )] SET Block=0 WHERE Block<>0;", kAny},
    {"_Presentadores( Datos )", "the last copy out clears every lock", "UPDATE [_Presentadores( Datos )] SET Block=0 WHERE Block<>0;", kAny},
    {"_Emisores( Datos )", "the last copy out clears every lock", "UPDATE [_Emisores( Datos )] SET Block=0 WHERE Block<>0;", kAny},
    {"Remesas()", "the last copy out clears every lock", "UPDATE [Remesas()] SET Block=0 WHERE Block<>0;", kAny},
    {"Librados( Datos )", "the last copy out clears every lock", "UPDATE [Librados( Datos )] SET Block=0 WHERE Block<>0;", kAny},
    {"Documentos()", "the last copy out clears every lock", "UPDATE [Documentos()] SET Block=0 WHERE Block<>0;", kAny},
    {"Plantillas( Datos )", "the last copy out clears every lock", "UPDATE [Plantillas( Datos )] SET Block=0 WHERE Block<>0;", kAny},
    {"Plantillas( Elementos )", "the last copy out clears every lock", "UPDATE [Plantillas( Elementos )] SET Block=0 WHERE Block<>0;", kAny},
    {"Actualizaciones()", "and empties the notices", "DELETE FROM [Actualizaciones()]", 0},
    {"Aplicaciones()", "an already converted database is recognised", "SELECT * FROM [Aplicaciones()]", 0},
};

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string today(const char *format)
{
    std::time_t now = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, format, std::localtime(&now));
    return text;
}

bool isQuery(const std::string &sql)
{
    return sql.compare(0, 6, "SELECT") == 0;
}

TEST(Statements, EveryShapeRunsAgainstTheShippedSchema)
{
    testutil::TempDir dir;
    std::string mdb = basedatos::restoreShipped(dir);
    ASSERT_FALSE(mdb.empty());
    ASSERT_EQ(basedatos::open(mdb, kPasswordBD), 0);

    for (const Shape &shape : kShapes) {
        std::string sql = replaceAll(shape.sql, "{hoy}", today("%Y/%m/%d"));
        SCOPED_TRACE(std::string(shape.table) + ": " + shape.why + "\n    " + sql);
        std::vector<std::string> rows;
        int count;
        std::string error;
        if (isQuery(sql)) {
            auto result = basedatos::query(sql);
            count = result.ok ? int(result.rows.size()) : kFails;
            rows = result.rows;
            error = result.error;
        } else {
            count = basedatos::exec(sql, error);
        }
        if (shape.expected == kFails) {
            EXPECT_EQ(count, kFails) << "it ran";
            continue;
        }
        if (count == kFails) {
            ADD_FAILURE() << error;
            continue;
        }
        if (shape.expected != kAny) {
            EXPECT_EQ(count, shape.expected);
        }
        if (shape.field && !rows.empty()) {
            std::string value = field(rows[0], shape.field);
            if (std::string(shape.value) == "*") {
                EXPECT_NE(value, "") << rows[0];
            } else {
                EXPECT_EQ(value, replaceAll(shape.value, "{hoy}", today("%y %m %d"))) << rows[0];
            }
        }
    }
    VASQ_CloseDB();
}

} // namespace
