// Coordination of the running copies that share one database: the instance registry, the
// heartbeat, the sweep of dead copies, the inactivity count, the conversion of an older
// database, row locks and change notices.
//
// One object lives for the whole run (App().Multiuser) and works on the main thread only.
// Each running copy has one row in [Aplicaciones()], keyed by its number Num_Aplicacion,
// holding its heartbeat time Hora ("hhnnss"), its current records (the Reg_ members and
// the logged-in user) and the last change notice it has read. Every 2 seconds a pass of the
// coordination timer counts one tick of inactivity, writes the heartbeat, sweeps away copies
// whose heartbeat stopped (at the first pass and every 20th) and applies the change notices
// of the other copies; a notice goes once every registered copy has read it.
//
// Locks are counters: each shared table has an integer column Block, 0 when free. An
// exclusive lock raises it only from 0, a shared lock raises it at any value, an unlock
// lowers it while above 0. A lock also takes a shared lock on each record above it in the
// ownership chain (company -> user, presenter -> company, issuer -> presenter, batch ->
// issuer, bill -> batch and, apart, the bill's drawee); an unlock that lowered its row
// releases the same chain. Templates use Block as a flag (1 locked) and have no chain. A
// lock or unlock and the rewrite of the copy's row that names its records and its own
// shared locks are written in one transaction of the second connection: a copy that dies
// halfway leaves neither, so the row always names what the copy holds and a sweep
// releases exactly that.
//
// The locks, the heartbeat, the notices and the sweep run unlogged on vasqdb's second
// connection (C_Exec) and its direct queries (VASQ_GetData), outside any transaction, so
// they do not count as user activity and a rollback does not undo them. Their failures are
// ignored: a failed lock is refused, a failed unlock changed nothing, a failed
// step is tried again at the next pass. Registration, unregistration and the conversion run
// through the logged SQL layer (DBGetData, DBExecSQL).
#pragma once

#include <QObject>
#include <QTime>
#include <QTimer>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the coordination asks of the main window; set by the main window at start-up.
// An unset member is skipped (tests set only what they observe).
struct MultiuserHost {
    std::function<int()> TiempoInactividad;  // minutes before the time-out ([GENERAL] Tiempo_Inactividad)
    std::function<void()> TimeOutInactividad; // shows the inactivity time-out dialog
    std::function<void(int idUsuario, int nivel, int idActualizar)> ProcesaActualizacion;
    std::function<std::string()> GetPathBD;   // the database file's path
};

// Change-notice levels.
enum NivelActualizacion {
    NIVEL_TODO = 0,
    NIVEL_REMESAS = 2,
    NIVEL_DOCUMENTOS = 3,
    NIVEL_LIBRADOS = 4,
    NIVEL_USUARIOS = 5,
};

// Lock states returned by the GetBloqueo... queries.
enum EstadoBloqueo {
    BLOQUEO_LIBRE = 0,
    BLOQUEO_OTRO = 1,  // locked, and not this copy's current record of that level
    BLOQUEO_PROPIO = 2, // locked, and it is this copy's current record of that level
};

class _multiuser : public QObject {
    Q_OBJECT

public:
    explicit _multiuser(QObject *parent = nullptr);
    ~_multiuser() override; // stops the timer; unregistering is FinMultiusuario's

    MultiuserHost Host;

    int Num_Aplicacion = 0;  // this copy's key in [Aplicaciones()]; 0 until registered
    int NumAplicaciones = 1; // registered copies, as the last sweep or notice read counted them
    int Id_UsuarioLogineado = 0;
    // This copy's current record of each level (0 none), mirrored in its row.
    int Reg_Usuario = 0, Reg_Empresa = 0, Reg_Presentador = 0, Reg_Emisor = 0, Reg_Remesa = 0,
        Reg_Librado = 0, Reg_Documentos = 0, Reg_Plantilla = 0;
    // The records of the tree selection (not stored in the row).
    int Sel_Usuario = 0, Sel_Empresa = 0, Sel_Presentador = 0, Sel_Emisor = 0, Sel_Remesa = 0;
    int UltimaActualizacion = 0; // highest notice read so far
    std::string PathIni;         // the product ini, set at registration
    bool Registrado = false;
    bool Pausado = false;
    // Inactividad and Refrescando: see the inactivity count of General.h, which this object
    // drives (one tick per pass; Refrescando while applying other copies' notices).

    // ---- Registry (main thread; start-up and shut-down) ----

    // Registers this copy, once the database is open: converts an older database (see
    // ConvierteBaseDatos and ActualizaEsquema), sets PathIni to Orvanta.INI in the program folder, inserts this
    // copy's row with the current time through the logged SQL layer, takes this
    // connection's new key as Num_Aplicacion (0 when the insert failed) and starts the
    // 2-second timer. True when the row was inserted. No lock is reset, no notice deleted.
    bool IniciaMultiusuario();

    // Unregisters this copy at exit: stops the timer, releases this copy's locks by its row
    // and deletes the row (LiberaAplicacion), forgets its records, then counts the
    // remaining rows. Only when the count reads 0 (this was certainly the last copy) every
    // Block of the nine shared tables is set to 0 and every notice deleted. True when the
    // copy was not registered or was the last one; false when other copies remain or the
    // count failed. Registrado is clear afterwards, so a second call returns true at once.
    bool FinMultiusuario();

    // The last exit's decision, once this copy holds the database alone (no other copy has
    // it open, so a row left in the registry is a copy that died): true when no row is
    // left or every row left is dead, after deleting those rows and, as the last copy out,
    // setting every Block to 0 and deleting every notice. False, changing nothing, when a
    // row's heartbeat is within the sweep's window of this copy's clock (a copy that may
    // still run, whatever the lock said) or the registry cannot be read.
    bool UltimaSalida();

    // Releases the copy numAplicacion (a dead one, or this one at exit): reads its row,
    // deletes it, and only when this call deleted it (so that two sweeping copies never
    // both release it) lowers the Block of each record and shared lock the row names, with
    // its chain.
    // The lowering never touches this object's own records or row. For this copy's own
    // number the records and the selection are then forgotten. False when the row could
    // not be read (tried again at the next sweep); true otherwise.
    bool LiberaAplicacion(int numAplicacion);

    // Converts a database made before multi-user support, once, when [Aplicaciones()]
    // cannot be read: asks text 661 (Yes/No); on Yes renames the scrambled copy (Host's
    // GetPathBD with extension ".mcr") to ".bak" unless a ".bak" exists; then, with either
    // answer, creates [Aplicaciones()] and [Actualizaciones()] and adds Block (0 in every
    // row) to the nine shared tables, in one transaction committed only when every
    // statement succeeded (else rolled back and logged: the question comes again at the
    // next start). Called by IniciaMultiusuario.
    void ConvierteBaseDatos();

    // Brings a database made by an earlier build to the shipped definition of the tables
    // that changed since (amounts checked without triggers): each such table is rebuilt with
    // its rows, indexes and next key, all in one transaction, rolled back and logged on any
    // failure (the database keeps working as it was; the next start tries again). Returns
    // true when the database has the shipped definitions. Called by IniciaMultiusuario.
    static bool ActualizaEsquema();

    // Rewrites this copy's row from the members (logged-in user, the Reg_ records and the
    // shared locks): 1 when written, 0 when the copy has no row (taken for dead), -1 when
    // the statement failed.
    int GuardaRegistros();

    // ---- The coordination loop ----

    // One pass of the 2-second timer, never re-entered (a pass that would start inside
    // another, from a modal window of a host call such as the time-out's countdown, only
    // beats, so that a copy waiting for its user is never taken for dead): one tick of
    // inactivity (also while paused); unless Pausado: heartbeat, the time-out call when
    // TiempoInactividad * 30 <= ticks, heartbeat; then, still registered and not paused:
    // heartbeat, the sweep at the first pass and every 20th, and the notice read.
    void Execute();

    // The heartbeat (nothing while paused or unregistered): writes the current time
    // "hhnnss" to this copy's row, and the key Num_Aplic of [GENERAL] of PathIni with the
    // time followed by Num_Aplicacion. When the update finds no row (others declared this
    // copy dead while it was paused or busy and released its locks), the copy registers
    // again under a new number and takes back the locks its records hold, so that the
    // counters match its records again.
    void ActualizaHora();

    // Runs the host's TimeOutInactividad (which ends the program or resets the count).
    void LlamaTimeOut();

    // The sweep: reads every row's number and Hora; a row seen by the previous sweep with
    // the same Hora belongs to a dead copy, released with LiberaAplicacion, unless it is
    // this copy. NumAplicaciones becomes the rows read. The first sweep only records; a
    // failed read keeps the previous sweep's rows.
    void BarridoAplicaciones();

    // Reads the notices posted since the last read (nothing while paused): counts the rows
    // of [Aplicaciones()] into NumAplicaciones (a failed or zero count skips the read);
    // writes the last notice read to this copy's row and deletes every notice that each
    // registered copy has read (a copy alone deletes its own); hands each other copy's
    // notice to the host's ProcesaActualizacion with Refrescando set. A copy never applies
    // its own notices. Writes nothing per notice.
    void LeeActualizaciones();

    // ---- Row locks ----
    //
    // Bloquea...: true when taken; a refused lock changes nothing and records nothing
    // (except that an exclusive lock first releases this copy's previous record of that
    // level, and with it the selection when it was that record). An exclusive lock
    // becomes the level's record and is written to the row; a shared one is written to the
    // row among the copy's shared locks (Reg_Compartidos).
    // BloqueaDocumento is always exclusive. BloqueaLibrado: shared (as a bill takes it) it
    // takes no chain; exclusive it becomes the record and takes its issuer's chain, which
    // DesbloqueaLibrado with cadena releases.
    bool BloqueaUsuario(int id, bool compartido);
    bool BloqueaEmpresa(int id, bool compartido);
    bool BloqueaPresentador(int id, bool compartido);
    bool BloqueaEmisor(int id, bool compartido);
    bool BloqueaRemesa(int id, bool compartido);
    bool BloqueaDocumento(int id, bool compartido);
    bool BloqueaLibrado(int id, bool compartido);

    // Desbloquea...: lowers the row's Block while above 0 and, when it changed, the chain
    // above it; then forgets one shared lock of this id when conservar or when the id is
    // not the record; else, unless conservar, forgets the record when it is this id (and
    // the selection when it is the same record); rewrites the row. Always true.
    bool DesbloqueaUsuario(int id, bool conservar);
    bool DesbloqueaEmpresa(int id, bool conservar);
    bool DesbloqueaPresentador(int id, bool conservar);
    bool DesbloqueaEmisor(int id, bool conservar);
    bool DesbloqueaRemesa(int id, bool conservar);
    // When the bill's counter changed, its batch chain and its drawee are released and the
    // record forgotten. Always true.
    bool DesbloqueaDocumento(int id);
    // True when the drawee's counter changed; with cadena also releases its issuer chain
    // and forgets the record, without it forgets a shared lock of the drawee. The row is
    // rewritten when the counter changed.
    bool DesbloqueaLibrado(int id, bool cadena);

    // BLOQUEO_LIBRE (Block 0), BLOQUEO_PROPIO (above 0 and this copy's record of that
    // level) or BLOQUEO_OTRO (above 0 otherwise, unreadable, or no such row).
    int GetBloqueoUsuario(int id);
    int GetBloqueoEmpresa(int id);
    int GetBloqueoPresentador(int id);
    int GetBloqueoEmisor(int id);
    int GetBloqueoRemesa(int id);
    int GetBloqueoDocumento(int id);

    // A template and all its items: Block set to 1 only from 0. Locking first releases
    // this copy's previous template; true when the template was locked (it becomes
    // Reg_Plantilla). The unlock is true when the template's flag was cleared.
    bool BloqueaPlantilla(int id);
    bool DesbloqueaPlantilla(int id);

    // The logged-in user's shared lock: RegistraUsuarioLogin takes it, makes the user
    // Id_UsuarioLogineado and writes it to the row; returns the lock's result.
    // DesbloqueaUsuarioLogin releases it and forgets the user (so the release at exit does
    // not lower it twice); Reg_Usuario, a selection, is left alone.
    bool RegistraUsuarioLogin(int idUsuario);
    void DesbloqueaUsuarioLogin();

    // The tree selection: at most one selected record (with its chain) at a time.
    // Selecciona...: releases the previous selection, takes a shared lock of the id and,
    // when taken, makes it the level's record and selection; rewrites the row; true.
    bool SeleccionaUsuario(int id);
    bool SeleccionaEmpresa(int id);
    bool SeleccionaPresentador(int id);
    bool SeleccionaEmisor(int id);
    bool SeleccionaRemesa(int id);
    // Releases the selected record of each level (keeping the chain's records), forgets
    // records and selection of those levels, rewrites the row.
    void LiberaSeleccion();

    // Posts a change notice of the level (NivelActualizacion) and id for the other copies,
    // with this copy's number and logged-in user; a failure loses it.
    void NotificaActualizacion(int nivel, int id);

    // Start and stop of the 2-second timer (IniciaMultiusuario starts it, FinMultiusuario
    // stops it); Pausado is set and cleared by the main window around maintenance.

private:
    enum class Nivel { Usuario, Empresa, Presentador, Emisor, Remesa, Documento, Librado };
    class Atomica;

    bool Bloquea(Nivel nivel, int id, bool exclusivo);
    bool Desbloquea(Nivel nivel, int id, bool conservar);
    bool Selecciona(Nivel nivel, int id);
    int GetBloqueo(Nivel nivel, int id);
    bool Incrementa(Nivel nivel, int id, bool exclusivo, bool cadena = true);
    bool Decrementa(Nivel nivel, int id, bool cadena = true);
    bool TomaPlantilla(int id);
    bool LiberaPlantilla(int id);
    int *Registro(Nivel nivel);
    int *Seleccion(Nivel nivel);
    void OlvidaRegistro(Nivel nivel, int id);
    void OlvidaBloqueo(Nivel nivel, int id, bool conservar);
    std::string TextoCompartidos() const;
    static std::vector<std::pair<Nivel, int>> Compartidos(std::string_view texto);
    bool InsertaRegistro();
    void RecuperaBloqueos();
    void BorraAvisosLeidos();
    bool Reciente(const std::string &hora) const;
    std::string Hora() const;
    bool Activo() const { return Registrado && !Pausado; }

    // The shared locks taken through Bloquea... (not those of a chain, the selection or the
    // login, which the records name), each with its level; the row names them.
    std::multiset<std::pair<Nivel, int>> m_compartidos;
    QTimer m_timer;
    bool m_enPaso = false; // re-entrancy guard of Execute
    int m_pasadas = 19;    // passes since the last sweep; the first pass sweeps
    int m_leidaGuardada = 0; // the last notice read as this copy's row holds it
    std::vector<std::string> m_horasBarrido, m_numerosBarrido;
    std::function<QTime()> m_reloj; // the heartbeat's clock; the system clock when unset

    friend class MultiuserPrueba; // the tests' clock
};

// Pauses the coordination m (none when null) while the object lives, for a long run that
// holds one write transaction; then puts back the state it found.
class PausaMultiusuario {
public:
    explicit PausaMultiusuario(_multiuser *m)
        : m_multiuser(m), m_antes(m && m->Pausado)
    {
        if (m_multiuser)
            m_multiuser->Pausado = true;
    }
    ~PausaMultiusuario()
    {
        if (m_multiuser)
            m_multiuser->Pausado = m_antes;
    }
    PausaMultiusuario(const PausaMultiusuario &) = delete;
    PausaMultiusuario &operator=(const PausaMultiusuario &) = delete;

private:
    _multiuser *m_multiuser;
    bool m_antes;
};
