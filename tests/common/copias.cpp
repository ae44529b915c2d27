// Fixtures of the multi-user tests.
#include "copias.h"

#include "General.h"
#include "Modmas.h"
#include "basedatos.h"
#include "vasqdb.h"

#include <csignal>

namespace copias {

namespace {

const char *const kOrganizacion[] = {
    "INSERT INTO [_Empresas( Datos )] (Id_usuario,Cif,Nombre) VALUES (1,'B00000001','Empresa')",
    "INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Id_nif,Sufijo) VALUES (1,'CSB19','B00000001','000')",
    "INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo) VALUES (1,'B00000001','000')",
    "INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Descripcion) VALUES (1,'EUR','Uno')",
    "INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Descripcion) VALUES (1,'EUR','Dos')",
    "INSERT INTO [Librados( Datos )] (Id_emisor,Razon_social) VALUES (1,'Librado')",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe) VALUES (1,1,10.5)",
    "INSERT INTO [Plantillas( Datos )] (Nombre) VALUES ('Plantilla')",
    "INSERT INTO [Plantillas( Elementos )] (Id_plantilla,Datos) VALUES (1,'a')",
    "INSERT INTO [Plantillas( Elementos )] (Id_plantilla,Datos) VALUES (1,'b')",
};

} // namespace

Base::Base()
{
    m_ruta = basedatos::restoreShipped(m_programa.dir());
    m_abierta = !m_ruta.empty() && basedatos::open(m_ruta, kPasswordBD) == 0;
    for (const char *sql : kOrganizacion)
        m_abierta = m_abierta && Ejecuta(sql);
}

Base::~Base()
{
    VASQ_CloseDB();
    SetBdPassword("");
}

std::vector<std::string> Filas(const std::string &sql)
{
    return basedatos::query(sql).rows;
}

std::string Valor(const std::string &sql, const std::string &campo)
{
    const std::vector<std::string> filas = Filas(sql);
    return filas.empty() ? std::string() : GetCampo(campo, filas.front());
}

bool Ejecuta(const std::string &sql)
{
    std::string error;
    return basedatos::exec(sql, error) >= 0;
}

std::vector<int> Contadores()
{
    const char *const consultas[] = {
        "SELECT Block FROM [_Usuarios()] WHERE Id_usuario=1",
        "SELECT Block FROM [_Empresas( Datos )] WHERE Id_empresa=1",
        "SELECT Block FROM [_Presentadores( Datos )] WHERE Id_presentador=1",
        "SELECT Block FROM [_Emisores( Datos )] WHERE Id_emisor=1",
        "SELECT Block FROM [Remesas()] WHERE Id_remesa=1",
        "SELECT Block FROM [Remesas()] WHERE Id_remesa=2",
        "SELECT Block FROM [Librados( Datos )] WHERE Id_librado=1",
        "SELECT Block FROM [Documentos()] WHERE Id_documento=1",
        "SELECT Block FROM [Plantillas( Datos )] WHERE Id_plantilla=1",
        "SELECT SUM(Block) AS Block FROM [Plantillas( Elementos )] WHERE Id_plantilla=1",
    };
    std::vector<int> r;
    for (const char *sql : consultas)
        r.push_back(std::atoi(Valor(sql, "Block").c_str()));
    return r;
}

Copia::Copia(const std::string &rutaBD)
{
    m_proceso.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_proceso.start(QStringLiteral(COPIA_MULTIUSER), {});
    m_proceso.waitForStarted();
    Pide("abre " + rutaBD);
}

Copia::~Copia()
{
    if (m_proceso.state() != QProcess::NotRunning) {
        m_proceso.closeWriteChannel();
        if (!m_proceso.waitForFinished())
            Mata();
    }
}

std::string Copia::Pide(const std::string &orden)
{
    m_proceso.write((orden + "\n").c_str());
    while (!m_proceso.canReadLine())
        if (!m_proceso.waitForReadyRead(60000))
            return "<sin respuesta a " + orden + ">";
    return m_proceso.readLine().trimmed().toStdString();
}

void Copia::Mata()
{
    ::kill(pid_t(m_proceso.processId()), SIGKILL);
    m_proceso.waitForFinished();
}

} // namespace copias
