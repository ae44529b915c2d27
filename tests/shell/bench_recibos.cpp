#include "basedatos.h"
#include "vasqdb.h"
#include "General.h"
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
using namespace std::chrono;
static double ms(steady_clock::time_point a){return duration<double,std::milli>(steady_clock::now()-a).count();}
int main(){
  testutil::TempDir dir;
  std::string path = basedatos::restoreShipped(dir);
  if (basedatos::open(path, kPasswordBD)!=0) {puts("open fail");return 1;}
  std::string e;
  basedatos::exec("INSERT INTO [_Empresas( Datos )] (Id_empresa,Id_usuario,Cif,Nombre) VALUES (1,1,'B1','E')",e);
  basedatos::exec("INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) VALUES (1,1,'CSB19','B1','000','N')",e);
  basedatos::exec("INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Razon_social) VALUES (1,1,'E')",e);
  basedatos::exec("INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (1,1,'EUR','R')",e);
  auto t=steady_clock::now();
  VASQ_BeginTrans();
  std::mt19937 rng(1);
  const char* sil[]={"ga","mo","ra","lo","pe","su","ti","ña","ál","ve","do","ri"};
  for(int i=1;i<=20000;i++){ std::string n; for(int k=0;k<4;k++) n+=sil[rng()%12]; n+=" S.L.";
    char sql[512]; snprintf(sql,sizeof sql,"INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta) VALUES (%d,1,'R%d','%s','%020d')",i,i,n.c_str(),i);
    if(VASQ_ExecSQL(sql,nullptr)){puts("ins fail");return 1;} }
  for(int i=1;i<=100000;i++){ char sql[512]; snprintf(sql,sizeof sql,"INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,F_vencimiento,Activo) VALUES (1,%d,%d.%02d,%d,'2024/%02d/%02d',1)",1+int(rng()%20000),int(rng()%100000),int(rng()%100),int(rng()%1000000),1+i%12,1+i%28);
    if(VASQ_ExecSQL(sql,nullptr)){puts("ins2 fail");return 1;} }
  VASQ_CommitTrans();
  printf("insert %.0f ms\n",ms(t));
  const char* full="SELECT [Documentos()].Situacion, [Librados( Datos )].Cuenta, [Documentos()].F_vencimiento, [Librados( Datos )].Razon_social, [Documentos()].Importe, [Documentos()].Id_documento, [Documentos()].Cod_devolucion, [Documentos()].Activo, [Documentos()].Contravalor, [Remesas()].Id_moneda FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN [Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = [Documentos()].Id_remesa WHERE ((([Documentos()].Id_remesa)=1)) ORDER BY [Librados( Datos )].Razon_social";
  const char* keys="SELECT [Documentos()].Id_documento FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN [Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = [Documentos()].Id_remesa WHERE ((([Documentos()].Id_remesa)=1)) ORDER BY [Librados( Datos )].Razon_social, [Documentos()].Id_documento";
  const char* keys2="SELECT [Documentos()].Id_documento FROM [Documentos()] WHERE [Documentos()].Id_remesa=1 ORDER BY [Documentos()].Importe";
  const char* keys3="SELECT [Documentos()].Id_documento FROM [Documentos()] WHERE [Documentos()].Id_remesa=1 ORDER BY [Documentos()].Id_documento";
  for(int rep=0;rep<2;rep++) for(const char* q: {full,keys,keys2,keys3}){ int n=0; t=steady_clock::now(); int r=C_InicIndexData(q,&n); printf("%d rows=%d %.1f ms\n",r,n,ms(t)); }
  VASQ_CloseDB();
}
