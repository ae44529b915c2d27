// A running copy for the multi-user tests: one coordination object with its own connection
// to the database, driven by commands on stdin, one answer line per command on stdout.
//   abre RUTA                   -> 0 when the database opened
//   cierra                      -> ok; the database closed, as a copy that lost it
//   exclusiva                   -> 1 when this copy holds the database alone from now on, 0
//                                  when another copy has it (as a copy starting or leaving)
//   registra                    -> <result> <Num_Aplicacion>
//   pasada                      -> one pass; the notices it applied as "usuario:nivel:id;..." or "-"
//   bloquea remesa|documento|librado ID C -> 1/0 (C: 1 shared, 0 exclusive)
//   desbloquea remesa|librado ID -> 1 (the record is not kept)
//   detiene                     -> ok; a statement that raises a user's Block then answers
//                                  "detenida" for its command and never ends
//   detiene envio               -> ok; the same for the send's first write, the stamps
//   envia A B                   -> the result of a CSB19 euro send of batches A and B of
//                                  issuer 1 into the program folder
//   estado remesa ID            -> the lock state
//   notifica NIVEL ID           -> ok
//   usuario ID                  -> ok; the user logged in on this copy (its notices carry it)
//   fin                         -> 1/0
//   sale MS B                   -> ok once it holds the database alone, as the last copy on
//                                  its way out; then holds it MS milliseconds (its compaction)
//                                  and writes the scrambled copy, removing the database (with
//                                  B=1 it removes it first, then holds on); 0 when refused
//   escribe MS                  -> ok; then for MS milliseconds inserts rows into a table
//                                  of its own, two in each short transaction
//   hora N                      -> the heartbeat time of copy N as this copy reads it
// The end of the input unregisters a registered copy, as its exit does.
#include "Aplicacion.h"
#include "General.h"
#include "Generacsb.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "copias.h"
#include "progdir.h"
#include "vasqdb.h"

#include <QCoreApplication>
#include <atomic>
#include <cctype>
#include <chrono>
#include <clocale>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <dlfcn.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

std::atomic<const char *> g_detiene{nullptr}; // the statement that holds the copy

std::string Detiene(const char *sql)
{
    g_detiene = sql;
    return "ok";
}

} // namespace

// The library's statements pass here: "detiene" holds the copy inside one.
struct sqlite3_stmt;
extern "C" const char *sqlite3_sql(sqlite3_stmt *sentencia);
extern "C" int sqlite3_step(sqlite3_stmt *sentencia)
{
    using Paso = int (*)(sqlite3_stmt *);
    static const auto motor = reinterpret_cast<Paso>(::dlsym(RTLD_NEXT, "sqlite3_step"));
    const char *sql = sqlite3_sql(sentencia);
    if (const char *detiene = g_detiene; detiene && sql && std::strstr(sql, detiene)) {
        std::cout << "detenida" << std::endl;
        for (;;)
            ::pause();
    }
    return motor(sentencia);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    _multiuser m;
    MultiuserPrueba::RelojQueAvanza(m);
    std::string aplicadas;
    m.Host.ProcesaActualizacion = [&aplicadas](int usuario, int nivel, int id) {
        aplicadas += std::to_string(usuario) + ":" + std::to_string(nivel) + ":" + std::to_string(id) + ";";
    };

    auto n = [](bool b) { return std::to_string(int(b)); };
    std::string rutaBD; // of the database opened
    std::function<void()> despues; // what a command does after its answer
    using Orden = std::function<std::string(int id, int arg)>;
    const std::map<std::string, Orden> ordenes = {
        {"registra",
         [&](int, int) {
             const std::string registrada = n(m.IniciaMultiusuario());
             return registrada + " " + std::to_string(m.Num_Aplicacion);
         }},
        {"pasada",
         [&](int, int) {
             aplicadas.clear();
             m.Execute();
             return aplicadas.empty() ? std::string("-") : aplicadas;
         }},
        {"bloquea remesa", [&](int id, int c) { return n(m.BloqueaRemesa(id, c != 0)); }},
        {"bloquea documento", [&](int id, int c) { return n(m.BloqueaDocumento(id, c != 0)); }},
        {"desbloquea remesa", [&](int id, int) { return n(m.DesbloqueaRemesa(id, false)); }},
        {"bloquea librado", [&](int id, int c) { return n(m.BloqueaLibrado(id, c != 0)); }},
        {"desbloquea librado", [&](int id, int) { return n(m.DesbloqueaLibrado(id, true)); }},
        {"detiene", [](int, int) { return Detiene("UPDATE [_Usuarios()] SET Block=Block+"); }},
        {"detiene envio", [](int, int) { return Detiene("SET F_proceso"); }},
        {"envia",
         [&](int a, int b) {
             App().Multiuser = &m;
             const QDate hoy = QDate::currentDate();
             const PeticionCSB p{1, "EUR", {{a, 1}, {b, 1}}, hoy, hoy, QDate(2002, 1, 1), progdir::path(),
                                 progdir::path(), progdir::file("Orvanta.INI")};
             return std::to_string(int(_GeneradorCSB(p, {}).Genera()));
         }},
        {"cierra",
         [&](int, int) {
             VASQ_CloseDB();
             return std::string("ok");
         }},
        {"exclusiva", [&](int, int) { return n(VASQ_LockExclusive(rutaBD.c_str()) == 0); }},
        {"desbloquea documento", [&](int id, int) { return n(m.DesbloqueaDocumento(id)); }},
        {"bloquea plantilla", [&](int id, int) { return n(m.BloqueaPlantilla(id)); }},
        {"desbloquea plantilla", [&](int id, int) { return n(m.DesbloqueaPlantilla(id)); }},
        {"estado remesa", [&](int id, int) { return std::to_string(m.GetBloqueoRemesa(id)); }},
        {"notifica",
         [&](int nivel, int id) {
             m.NotificaActualizacion(nivel, id);
             return std::string("ok");
         }},
        {"usuario",
         [&](int id, int) {
             m.Id_UsuarioLogineado = id;
             return std::string("ok");
         }},
        {"fin", [&](int, int) { return n(m.FinMultiusuario()); }},
        {"hora",
         [&](int num, int) {
             std::string hora = "-";
             DBGetData("SELECT Hora FROM [Aplicaciones()] WHERE Num_Aplicacion=" + std::to_string(num),
                       [&hora](char *fila, char *, int) { hora = GetCampoTexto("Hora", fila); });
             return hora;
         }},
        {"sale",
         [&](int ms, int borraAntes) {
             const std::string ruta = VASQ_GetDBNamePath();
             VASQ_CloseDB();
             if (VASQ_LockExclusive(ruta.c_str()) != 0)
                 return std::string("0");
             despues = [ruta, ms, borraAntes] {
                 if (borraAntes)
                     GuardaBDCifrada(ruta, false, kPasswordBD);
                 std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                 if (!borraAntes)
                     GuardaBDCifrada(ruta, false, kPasswordBD);
                 VASQ_UnlockExclusive();
             };
             return std::string("ok");
         }},
        {"escribe",
         [&](int ms, int) {
             VASQ_ExecSQL("CREATE TABLE IF NOT EXISTS Escrituras (Texto TEXT)", nullptr);
             despues = [ms] {
                 const auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
                 while (std::chrono::steady_clock::now() < fin) {
                     VASQ_BeginTrans();
                     for (int fila = 0; fila < 2; ++fila)
                         VASQ_ExecSQL("INSERT INTO Escrituras (Texto) VALUES ('una fila de texto para llenar paginas')",
                                      nullptr);
                     VASQ_CommitTrans();
                 }
             };
             return std::string("ok");
         }},
    };

    std::string linea;
    while (std::getline(std::cin, linea)) {
        std::string respuesta = "?";
        if (linea.rfind("abre ", 0) == 0) {
            SetBdPassword(kPasswordBD);
            rutaBD = linea.substr(5);
            respuesta = std::to_string(VASQ_OpenDB(rutaBD.c_str(), 0, 0));
        } else {
            // The command is its words up to the first number.
            std::istringstream palabras(linea);
            std::string orden, palabra;
            while (palabras >> palabra && !std::isdigit(static_cast<unsigned char>(palabra[0])))
                orden += (orden.empty() ? "" : " ") + palabra;
            std::istringstream numeros(linea.substr(orden.size()));
            int a = 0, b = 0;
            numeros >> a >> b;
            if (const auto o = ordenes.find(orden); o != ordenes.end())
                respuesta = o->second(a, b);
        }
        std::cout << respuesta << std::endl;
        if (despues)
            std::exchange(despues, nullptr)();
    }
    m.FinMultiusuario();
    VASQ_CloseDB();
    return 0;
}
