// Databases of earlier builds brought to the shipped definition of the tables that changed.
#include "Multiuser.h"

#include "Cfgfile.h"
#include "General.h"
#include "Modmas.h"
#include "sqlscript.h"
#include "vasqdb.h"

#include <QFile>

// The resources live in the program's static library, where nothing else references them;
// the registration is declared at global scope, as Qt requires.
static void IniciaDatos()
{
    static const bool iniciados = [] {
        Q_INIT_RESOURCE(Datos);
        return true;
    }();
    (void)iniciados;
}

namespace {

// Tables whose definition changed since the first builds, and the triggers those had.
const char *const kTablas[] = {"Documentos()", "Remesas()", "Aplicaciones()"};
const char *const kDisparadores[] = {"Documentos_Importes_Alta", "Documentos_Importes_Cambio",
                                     "Remesas_Totales_Alta", "Remesas_Totales_Cambio"};
constexpr const char *kAnterior = "Tabla_anterior";

std::vector<std::string> Esquema()
{
    IniciaDatos();
    QFile fichero(QStringLiteral(":/datos/schema.sql"));
    std::vector<std::string> sentencias;
    std::string error;
    if (!fichero.open(QIODevice::ReadOnly) || !sqlscript::split(fichero.readAll().toStdString(), sentencias, error))
        WriteLog("[ Multiuser::ActualizaEsquema ] No se puede leer el esquema: " + error);
    return sentencias;
}

bool Empieza(std::string_view texto, std::string_view inicio)
{
    return texto.substr(0, inicio.size()) == inicio;
}

// The shipped CREATE TABLE of tabla and its CREATE INDEX statements.
std::vector<std::string> Definicion(const std::vector<std::string> &esquema, const std::string &tabla)
{
    std::vector<std::string> definicion;
    const std::string nombre = "[" + tabla + "]";
    for (const std::string &sentencia : esquema)
        if (Empieza(sentencia, "CREATE TABLE " + nombre) ||
            (Empieza(sentencia, "CREATE ") && sentencia.find(" ON " + nombre + " ") != std::string::npos))
            definicion.push_back(sentencia);
    return definicion;
}

// True when tabla is stored with the definition given (compared whole: a row text would
// cut it).
bool Definida(const std::string &tabla, const std::string &definicion)
{
    SentenciaSQL consulta("SELECT count(*) AS N FROM sqlite_master WHERE type='table' AND name=? AND sql=?;");
    bool definida = false;
    consulta.Texto(tabla).Texto(definicion).Consulta(
        [&definida](char *fila, char *, int) { definida = GetCampo("N", fila) == "1"; });
    return definida;
}

// The columns of tabla, in order, joined by ",".
std::string Columnas(const std::string &tabla)
{
    std::string columnas;
    DBGetData(FormatoSQL("PRAGMA table_info([%s]);", tabla.c_str()), [&columnas](char *fila, char *, int) {
        columnas += (columnas.empty() ? "" : ",") + GetCampoTexto("name", fila);
    });
    return columnas;
}

bool Ejecuta(const std::string &sql)
{
    int filas = 0;
    return DBExecSQL(sql, filas).empty();
}

// Rebuilds tabla under its shipped definition, keeping its rows and the next key; a column
// the shipped definition adds takes its default.
bool Reconstruye(const std::string &tabla, const std::vector<std::string> &definicion)
{
    const std::string nombre = "[" + tabla + "]", anterior = std::string("[") + kAnterior + "]";
    if (!Ejecuta("ALTER TABLE " + nombre + " RENAME TO " + anterior + ";") || !Ejecuta(definicion.front()))
        return false;
    const std::string columnas = Columnas(kAnterior);
    if (columnas.empty() ||
        !Ejecuta("INSERT INTO " + nombre + " (" + columnas + ") SELECT " + columnas + " FROM " + anterior + ";") ||
        !Ejecuta("DELETE FROM sqlite_sequence WHERE name='" + tabla + "';") ||
        !Ejecuta(std::string("UPDATE sqlite_sequence SET name='") + tabla + "' WHERE name='" + kAnterior + "';") ||
        !Ejecuta("DROP TABLE " + anterior + ";"))
        return false;
    for (size_t i = 1; i < definicion.size(); ++i)
        if (!Ejecuta(definicion[i]))
            return false;
    return true;
}

// The tables whose stored definition is not the shipped one.
std::vector<std::string> Desfasadas(const std::vector<std::string> &esquema)
{
    std::vector<std::string> tablas;
    for (const char *tabla : kTablas) {
        const std::vector<std::string> definicion = Definicion(esquema, tabla);
        if (!definicion.empty() && !Definida(tabla, definicion.front()))
            tablas.push_back(tabla);
    }
    return tablas;
}

} // namespace

bool _multiuser::ActualizaEsquema()
{
    const std::vector<std::string> esquema = Esquema();
    if (Desfasadas(esquema).empty())
        return true;
    bool bien = VASQ_BeginTrans() == 0;
    // The first write takes the write lock: what follows sees what a copy that started at the
    // same time may have done meanwhile.
    for (const char *disparador : kDisparadores)
        bien = bien && Ejecuta(std::string("DROP TRIGGER IF EXISTS [") + disparador + "];");
    if (bien)
        for (const std::string &tabla : Desfasadas(esquema))
            bien = bien && Reconstruye(tabla, Definicion(esquema, tabla));
    bien = bien && VASQ_CommitTrans() == 0;
    if (!bien) {
        VASQ_Rollback();
        VASQ_GetLastErrorCodeID();
        WriteLog("[ Multiuser::ActualizaEsquema ] La base de datos no se ha actualizado");
    }
    return bien;
}
