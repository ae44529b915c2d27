/* vasqdb: the program's only road to its password-protected database file.
 *
 * A flat C interface over one SQLCipher database. There is no handle: the library keeps
 * one process-wide state (the open database, its second connection, the stored password,
 * the index cache, the last error and the trace level) and expects one calling thread.
 *
 * Text: every text that crosses this interface (SQL, paths, passwords, row texts, error
 * texts) is Windows-1252, one byte per character, NUL-terminated. The library hands
 * SQLite UTF-8 and gives Windows-1252 back; a stored character outside Windows-1252
 * reads as "?".
 *
 * SQL: the program writes its statements in the Jet dialect; before each statement is
 * prepared the library rewrites, outside quotes and square brackets:
 *   - TRUE / FALSE (any case) as 1 / 0;
 *   - "DELETE * FROM" as "DELETE FROM";
 *   - the assignment targets of an UPDATE's SET list, "SET [T].col=" as "SET col=";
 *   - date literals #yyyy/mm/dd# (also #yyyy-mm-dd# and #m/d/yyyy#) as the stored
 *     text 'yyyy/mm/dd';
 *   - in CREATE TABLE, a column whose type is AUTOINCREMENT as
 *     "INTEGER PRIMARY KEY AUTOINCREMENT".
 * Square-bracketed names ("[Librados( Datos )]") and single-quoted texts pass unchanged.
 * Each call runs exactly one statement (a trailing ";" is allowed). Statements that differ
 * only in their values share one prepared statement, kept between calls with the values
 * bound; what a statement does and returns is the same as when it is prepared afresh.
 *
 * Declared column types and the text a value reads as in a row text (the declared type
 * is the one of the table column a result column comes from; only its first word
 * counts, case does not):
 *   - any column holding NULL ......................... "NULL"
 *   - BOOLEAN, BOOL, YESNO, BIT, LOGICAL .............. "TRUE" for a non-zero value
 *     (or the text TRUE), "FALSE" otherwise; store 1 and 0
 *   - DATE, DATETIME .................................. stored 'yyyy/mm/dd' (or
 *     'yyyy-mm-dd', a time after a blank ignored) reads "yy mm dd" (2002/01/31 reads
 *     "02 01 31"); an empty text reads "NULL"; any other text reads as it is
 *   - every other type, and results without a column (SUM, COUNT, MAX, expressions),
 *     by the value stored:
 *       integer ..... decimal digits ("7", "-12")
 *       real ........ plain decimal with "." and at most 15 significant digits, no
 *                     exponent and no trailing zeros: a SUM of 0.1 and 0.2 reads "0.3",
 *                     1234.50 reads "1234.5", 1234.0 reads "1234"
 *       text ........ the text itself; a zero-length text gives an empty value
 *       blob ........ "Array of VT_UI1"
 * Text columns should be declared "COLLATE ESNOCASE" (see VASQ_COLLATION).
 *
 * Results: unless a function says otherwise it returns 0 on success, or the code of its
 * own failure, which it also records as the last error: one of the VASQ_ERR_ codes below
 * or an engine code (VASQ_ENGINE_ERROR_BASE plus SQLite's extended result code, always
 * above 1). The register keeps the last failure, with its text, until it is read.
 */
#ifndef VASQDB_H
#define VASQDB_H

#ifdef __cplusplus
extern "C" {
#endif

#define VASQ_API __attribute__((visibility("default")))

/* The library's own error codes and their texts. */
#define VASQ_ERR_NOTOPEN     (-14969) /* "No se ha abierto la base de datos." */
#define VASQ_ERR_ALREADYOPEN (-14968) /* "Ya hay una base de datos abierta." */
#define VASQ_ERR_ARGUMENT    (-14967) /* a missing or too long argument; the text says which */
#define VASQ_ERR_INUSE       (-14966) /* another running copy holds the database */
#define VASQ_ERR_STATEMENT   (-14965) /* a statement refused before reaching the engine */

/* An engine failure is this base plus SQLite's extended result code; its text is
 * "(ERROR <code>) <engine's message>", cut to 1,023 characters. */
#define VASQ_ENGINE_ERROR_BASE 100000

/* An engine code's primary result (SQLite's result code without its extended part), and
 * the ones a caller tells apart: a damaged file, a write refused for want of room (a full
 * disk, a quota or a file size limit, whatever the engine made of it), and a file that is
 * no database or not one under the password given. */
#define VASQ_ENGINE_PRIMARY(code) (((code) - VASQ_ENGINE_ERROR_BASE) & 0xFF)
#define VASQ_PRIMARY_CORRUPT 11
#define VASQ_PRIMARY_FULL    13
#define VASQ_PRIMARY_NOTADB  26

/* Name of the collation registered on every connection: texts compare and sort without
 * regard to case, accented letters with their base letter (an accent only breaks ties),
 * N-tilde as its own letter right after N. */
#define VASQ_COLLATION "ESNOCASE"

/* Encrypted files this library writes are kept in pages of this many bytes; it still opens
 * those of 1,024-byte pages that earlier builds wrote (and writes their copies in the new
 * size). A connection of the raw engine to such a file sets "PRAGMA cipher_page_size" to
 * this value right after its key. */
#define VASQ_PAGE_SIZE 4096

/* The mark that ends the name of every temporary file the library writes beside a file it
 * replaces: "." (a hidden name), the file's name, ".", six letters or digits, and the mark;
 * "Orvanta.mcr" is written as ".Orvanta.mcr.k3J9aQ.vasqtmp". No user names a file so: a
 * sweep of what killed runs left behind removes those names and no other. */
#define VASQ_TEMP_MARK ".vasqtmp"

/* Longest stored password and longest database path, in characters. */
#define VASQ_MAX_PASSWORD 27
#define VASQ_MAX_PATH 1023

/* ------------------------------------------------------------------ connection */

/* Stores the password used to key every later connection (an empty one opens plain
 * files). Returns its length plus 1; VASQ_ERR_ARGUMENT, recorded, for a null password
 * or one longer than VASQ_MAX_PASSWORD (the stored password then stays as it was).
 * The password survives closing and reopening. */
VASQ_API int SetBdPassword(const char *password);

/* Sets the trace level; returns 0. Above 2, failures (level 1) and maintenance and
 * unload notes (level 11, when the level is at least 11) are appended to "vasqdb.log"
 * in the directory that was current at the last close, repair or compaction (or at
 * load), as "[DEBUG LEVEL: <level>] <label><text>". Close, repair and compaction set
 * the level back to 0. */
VASQ_API int VASQ_SetDebug(int level);

/* Running copies keep out of each other through an advisory lock on the side file
 * "<path>.lck" beside each database file this library opens, changes or copies: shared
 * while a copy has the file open, exclusive for exclusive opens, repair, compaction and
 * password change. The side file is created when first needed and left in place. */

/* Opens the database file at path (never creates one), keyed with the stored password,
 * with a probe read, so that a wrong password fails here with the engine's text. Opens
 * the second connection too (see C_Exec). exclusive: non-zero low byte asks that no
 * other running copy have the database open, and keeps others out until closed;
 * otherwise the database is shared. readOnly: non-zero low byte opens both connections
 * read-only.
 * Returns 0; VASQ_ERR_ARGUMENT without a path or with one longer than VASQ_MAX_PATH;
 * VASQ_ERR_ALREADYOPEN while a database is open (that one stays open); VASQ_ERR_INUSE
 * when another copy holds the database exclusively (or, for an exclusive open, holds it
 * at all); an engine code when the file cannot be opened or read. On failure nothing
 * stays open. */
VASQ_API int VASQ_OpenDB(const char *path, int exclusive, int readOnly);

/* Closes the database and its connections, drops the index cache, clears the last
 * error and sets the trace level to 0. Returns 0. */
VASQ_API int VASQ_CloseDB(void);

/* 1 while a database is open, else 0. */
VASQ_API int VASQ_IsDBOpened(void);

/* The path of the open database as given to VASQ_OpenDB, or "" when none is open. The
 * text belongs to the library and stays valid until the database is closed. Does not
 * touch the last error. */
VASQ_API const char *VASQ_GetDBNamePath(void);

/* ------------------------------------------------------------------ statements */

/* Runs one action statement (INSERT, UPDATE, DELETE, CREATE ...) on the open database,
 * inside the current transaction when there is one; waits for other copies' writes up
 * to the busy timeout of 5 seconds, trying again every 0.1 ms, so that a copy writing
 * one short transaction after another lets it in between two of them instead of making
 * it wait until that copy stops. *rows (when rows is not null) receives the number
 * of rows it inserted, changed or deleted (0 for other statements).
 * Returns 0; VASQ_ERR_NOTOPEN; VASQ_ERR_ARGUMENT for a null SQL text;
 * VASQ_ERR_STATEMENT for a statement that cannot be translated (a bad date literal,
 * more than one statement); an engine code. */
VASQ_API int VASQ_ExecSQL(const char *sql, int *rows);

/* Runs one action statement on the second connection: a persistent connection opened
 * and closed with the database, which takes part in no transaction of VASQ_BeginTrans,
 * so what it writes stays even when that transaction is rolled back. *rows as for
 * VASQ_ExecSQL, waiting for other copies' writes as it does. Returns 0 on success, 1 on
 * any failure; records no error (a failure is traced as "Error en C_Exec"). It also
 * fails at once while this copy's own transaction has written and not yet ended, since
 * the database has one writer at a time. */
VASQ_API int C_Exec(const char *sql, int *rows);

/* Transactions of the second connection: what C_Exec runs between C_BeginTrans and
 * C_CommitTrans is written all together, or not at all after C_Rollback (or when the
 * process ends before the commit). They nest as VASQ_BeginTrans does. The first statement
 * that writes takes the database's write lock, waiting for other copies' writes as C_Exec
 * does, and keeps it until the outermost commit or rollback: meanwhile the main
 * connection must not write (it would wait for it until the busy timeout). Each returns 0
 * on success, 1 on any failure (no database open, a commit or rollback without a
 * transaction, the engine's refusal); records no error. */
VASQ_API int C_BeginTrans(void);
VASQ_API int C_CommitTrans(void);
VASQ_API int C_Rollback(void);

/* Rowid of the last row inserted through VASQ_ExecSQL since the database was opened
 * (the new key of a table with an INTEGER PRIMARY KEY), 0 when none or not open. Read it
 * right after the INSERT: unlike the column's maximum, no other running copy changes
 * it. Does not touch the last error. */
VASQ_API long long VASQ_GetLastInsertID(void);

/* Transactions of the main connection; they nest (a nested commit folds into the
 * enclosing transaction, a nested rollback undoes only its own part). Until its first
 * write a transaction holds nothing: its reads see the latest data, as outside one. The
 * first statement that writes takes the database's write lock (waiting for other copies'
 * writes up to the busy timeout) and keeps it until the outermost commit or rollback:
 * keep transactions within one call of the program, never across waiting for the user.
 * Each returns 0, VASQ_ERR_NOTOPEN, VASQ_ERR_STATEMENT for a commit or rollback without
 * a transaction (or a commit of one the engine already undid after a failure), or an
 * engine code. */
VASQ_API int VASQ_BeginTrans(void);
VASQ_API int VASQ_CommitTrans(void);
VASQ_API int VASQ_Rollback(void);

/* ------------------------------------------------------------------ maintenance */

/* Closes the open database and repairs the file at path: every index rebuilt from its
 * table (an index that disagrees with its table after a lost write is mended so), then
 * the check that a copy of VASQ_ExportTransformed must pass, so that a file the repair
 * passes is never refused as a copy (a null where a column admits none, which no rebuild
 * mends, fails both). Needs a database opened before (else returns 1 and records nothing)
 * and no other running copy holding the file (else returns 1 and records VASQ_ERR_INUSE).
 * A file still damaged returns an engine code with an account of the damage as its text
 * (the engine's, or the check's own in Spanish), and is left as it was. Always leaves the
 * library closed with trace level 0; the caller opens again. Returns 0, 1 or an engine
 * code. */
VASQ_API int VASQ_RepairBase(const char *path);

/* Closes the open database, runs the integrity check on the file at source and writes
 * a compacted copy of it to destination, keyed with the stored password (an empty one
 * gives a plain copy), keeping its user_version. The copy is written beside destination
 * (named as for VASQ_ExportTransformed) and renamed over it at the end, so destination is
 * either the old file or the whole copy. Needs an open database and no other copy holding
 * source, as VASQ_RepairBase. Always leaves the library closed with trace level 0.
 * Returns 0, 1 or an engine code. */
VASQ_API int VASQ_CompactBase(const char *source, const char *destination);

/* Changes the password of the database file at path from oldPassword to newPassword
 * (either may be empty: a plain file gets encrypted, an encrypted one becomes plain).
 * The file is copied under the new password beside itself and renamed over it, keeping
 * its user_version. Needs that no running copy, this one included, has the file open.
 * Returns 0 on success, 1 on any failure (wrong old password, file in use, a password
 * longer than VASQ_MAX_PASSWORD); records and traces nothing. The stored password of
 * SetBdPassword does not change. */
VASQ_API int C_ChangePassword(const char *path, const char *oldPassword, const char *newPassword);

/* ------------------------------------------------------------------ transformed copies */

/* A reversible change of a file's bytes, made in place on the length bytes that lie at
 * byte offset of the file. The library reads and writes such a file in pieces of any
 * length at any offset, so the stored form of a byte may depend only on its value and
 * its offset. Called on the thread that called the library. */
typedef void (*VASQ_FileTransform)(void *bytes, long length, long long offset);

/* Writes a compacted plain copy (no password, its user_version kept) of the database file
 * at source, opened with password (an empty one opens a plain file), to destination, every
 * byte in the form encode gives it; decode must undo encode (the copy is read back while it
 * is written). The copy is written in one pass, already in its stored form, from one read
 * transaction of source: it holds one state of the database and the call waits for no
 * writer, while other running copies (and this one's other connections) go on writing to
 * it; source is left as it was, and an open database of this library and the stored
 * password are not touched. The export reads every page of every table and index, so a
 * page that is damaged fails it; the copy, once written, passes a check worth the engine's
 * integrity check (its quick check of pages and trees; every index holding exactly the
 * entries of its table's rows, in its order, which finds the records and index entries
 * that disagree after a lost write of the source; no null where a column admits none; no
 * key twice in a unique index), or it is not kept. Then it is sealed: the sum of its pages' checksums,
 * taken as they were written, goes into bytes of its header the engine leaves unused, so
 * that reading it back knows whether its bytes changed. A source without tables is
 * refused. The copy is written to a new file beside destination (named as VASQ_TEMP_MARK
 * says), flushed to disk and renamed over it, so destination is either
 * the old file or the whole copy; on any failure the new file is removed (a run killed
 * meanwhile leaves it behind). Uses up to 64 MiB of memory for the copy's pages.
 * Returns 0; VASQ_ERR_ARGUMENT for a missing path, password or transform, a path longer
 * than VASQ_MAX_PATH or a password longer than VASQ_MAX_PASSWORD; VASQ_ERR_INUSE when
 * another copy holds source exclusively; an engine code (a wrong password; a damaged
 * source, VASQ_PRIMARY_CORRUPT; no room for the copy, VASQ_PRIMARY_FULL; a source without
 * tables, VASQ_PRIMARY_NOTADB; a failed write or rename). A failure is recorded and traced
 * at level 11. */
VASQ_API int VASQ_ExportTransformed(const char *source, const char *password,
                                    const char *destination, VASQ_FileTransform encode,
                                    VASQ_FileTransform decode);

/* Rebuilds a database from such a copy: reads the plain database stored at source (decode
 * gives its bytes back, see VASQ_ExportTransformed) and writes it, keyed with password (an
 * empty one gives a plain file) and with its user_version, to destination, in one pass.
 * The pages are summed as they are read (and the few the rebuild does not need read at the
 * end): a sealed copy whose sum is not its seal's, one whose bytes changed after it was
 * written, is refused; a copy whose seal bytes are all zero (written by earlier builds) is
 * read as it is, and one whose seal bytes are neither zero nor a seal is refused as changed.
 * It is written to a new file beside destination (named as for VASQ_ExportTransformed),
 * flushed to disk and renamed over it,
 * after destination's journal files are removed; on any failure destination is left as
 * it was and the new file removed. Destination is held exclusively meanwhile (or runs
 * under VASQ_LockExclusive of the same path); source is only read. Does not touch an open
 * database of this library nor the stored password.
 * Returns 0; VASQ_ERR_ARGUMENT as for VASQ_ExportTransformed; VASQ_ERR_INUSE when a
 * running copy, this one included, has destination open or held; an engine code (a
 * source missing; one that is no database once decoded, or has no tables,
 * VASQ_PRIMARY_NOTADB; one damaged or changed since it was written,
 * VASQ_PRIMARY_CORRUPT; no room, VASQ_PRIMARY_FULL; a failed write or rename). A failure
 * is recorded and traced at level 11. */
VASQ_API int VASQ_ImportTransformed(const char *source, VASQ_FileTransform decode,
                                    const char *destination, const char *password);

/* Holds the database file at path exclusively across several calls, so that a sequence
 * (compact, replace the file, write its copy, remove it) runs with no other running copy
 * able to open the file in between. While it is held, this library's own VASQ_OpenDB,
 * VASQ_RepairBase, VASQ_CompactBase, C_ChangePassword, VASQ_ExportTransformed (of its
 * source) and VASQ_ImportTransformed (of its destination) of the same path (the same text)
 * run under it, and every other copy's opens, repairs and compactions of it are refused
 * with VASQ_ERR_INUSE. Closing the database does not release it; a lock held before (on
 * any path) is released first.
 * Returns 0 when held; VASQ_ERR_ALREADYOPEN while a database is open (close it first);
 * VASQ_ERR_ARGUMENT without a path or with one longer than VASQ_MAX_PATH; VASQ_ERR_INUSE
 * when another copy has the file open or held. */
VASQ_API int VASQ_LockExclusive(const char *path);

/* Releases what VASQ_LockExclusive holds; returns 0 (also when nothing is held), or
 * VASQ_ERR_ALREADYOPEN, keeping it, while the database it holds is open here. */
VASQ_API int VASQ_UnlockExclusive(void);

/* Turns what VASQ_LockExclusive holds into the shared lock of the database open here on
 * the same path, in one step: no other copy can hold the file alone in between, and other
 * copies may open it from then on, as after a shared VASQ_OpenDB. Returns 0;
 * VASQ_ERR_NOTOPEN (keeping the hold) when that database is not open here; VASQ_ERR_INUSE
 * when the lock cannot be changed. */
VASQ_API int VASQ_DowngradeExclusive(void);

/* ------------------------------------------------------------------ last error */

/* Returns the last error code and sets it to 0; the text stays but reads empty. */
VASQ_API int VASQ_GetLastErrorCodeID(void);

/* Copies the last error text into buffer, cut to size - 1 characters and terminated;
 * with a null buffer or a size below 1 it writes nothing. Returns the last error code
 * and clears code and text. The text is "" for code 0 and the fixed text above for
 * VASQ_ERR_NOTOPEN and VASQ_ERR_ALREADYOPEN. */
VASQ_API int VASQ_GetLastErrorCodeDesc(char *buffer, int size);

/* ------------------------------------------------------------------ row text */

/* A row text is one result row: name=value pairs in column order joined by "&", with no
 * "&" before the first or after the last pair; a row without columns gives "". Each
 * name and value is cut to 1,023 characters, then every "&" in it becomes the byte 0x01
 * and every "=" the byte 0x02; a reader takes a value out and unescapes it.
 * Names: the column's alias, else its name; when two result columns share a name (case
 * does not matter) each that comes from a table reads "Table.Column" with the table's
 * name without brackets ("_Presentadores( Datos ).Razon_social"). Values: see the
 * declared-type list at the top. Example: Cod_usuario=ABC&Id_usuario=7&Activo=TRUE&Password=NULL */

/* Called once per row. rowText belongs to the library and is valid until the callback
 * returns (the callback may change it in place and copies what it keeps). *keepGoing is
 * 1 at each call; setting it to 0 ends the walk, dropping the remaining rows.
 * recordCount is the number of rows of the whole result, the same at every call. */
typedef void (*GetDataCallback)(char *rowText, char *keepGoing, int recordCount);

/* Runs a query (a statement that writes is refused) and calls callback once per row, in
 * order. The whole result is read before the first call and no lock is held during the
 * calls, so a callback may run statements, also on the table it reads. A query without
 * rows calls nothing and returns 0.
 * Returns 0; VASQ_ERR_NOTOPEN; VASQ_ERR_ARGUMENT for a null SQL text or callback;
 * VASQ_ERR_STATEMENT for a statement that writes or cannot be translated; an engine code
 * (then no callback was called). */
VASQ_API int VASQ_GetData(const char *sql, GetDataCallback callback);

/* ------------------------------------------------------------------ prepared statements */

/* A statement prepared once and run many times with other values, for the runs that write
 * or read row after row with one statement (imports, mass changes): the text is translated
 * and prepared once, each run only binds its values. On the main connection, in its
 * transactions as VASQ_ExecSQL's statements. The handles belong to the open database:
 * closing it (also repair and compaction) finalizes every statement, and a handle is
 * never handed out twice in a process, so a stale one is refused, never mistaken.
 * Each returns 0; VASQ_ERR_NOTOPEN; VASQ_ERR_ARGUMENT for an unknown handle or a value
 * number the statement lacks; or an engine code; a failure is recorded as the last error. */

/* Translates sql (the Jet dialect, as VASQ_ExecSQL; "?" stands where a value goes,
 * numbered from 1 in order) and prepares it; *statement receives its handle (0 on
 * failure). Also VASQ_ERR_ARGUMENT for a null sql or statement, VASQ_ERR_STATEMENT as for
 * VASQ_ExecSQL. Until bound, every value is NULL. */
VASQ_API int VASQ_Prepare(const char *sql, int *statement);

/* Binds value number index (from 1) to a text (Windows-1252; a null text binds NULL; an
 * empty text stays an empty text) or to an integer. A bound value stays until bound
 * again, across runs. A text bound to a column that stores numbers (NUMERIC, INTEGER)
 * is stored as the number it reads as, as a quoted literal would be. */
VASQ_API int VASQ_BindText(int statement, int index, const char *text);
VASQ_API int VASQ_BindInteger(int statement, int index, long long value);

/* Runs the statement to its end with the values bound (rows a query returns are
 * dropped) and leaves it ready to run again with the same values. Inside a transaction
 * the first statement that writes takes the write lock (see VASQ_BeginTrans). *rows
 * (when rows is not null) receives the rows inserted, changed or deleted, as for
 * VASQ_ExecSQL; VASQ_GetLastInsertID reads a new row's key. */
VASQ_API int VASQ_Step(int statement, int *rows);

/* Runs a query statement with the values bound and calls callback once per row, as
 * VASQ_GetData does (the whole result read before the first call); then leaves it ready
 * to run again. VASQ_ERR_ARGUMENT for a null callback; VASQ_ERR_STATEMENT for a
 * statement that writes. */
VASQ_API int VASQ_StepQuery(int statement, GetDataCallback callback);

/* Finalizes the statement; its handle is known no more. */
VASQ_API int VASQ_Finalize(int statement);

/* Index cache for lazily painted grids: runs a query once and keeps its rows as row
 * texts, to be fetched in any order by number. A new one replaces the old; closing,
 * repair and compaction drop it. It is a snapshot: later changes are not seen.
 * C_InicIndexData writes the number of rows to *count (when count is not null) and
 * returns as VASQ_GetData does; on failure the cache is left empty and *count is 0.
 *
 * A large result opens fastest when the query can be read keys first: one SELECT (no
 * DISTINCT, GROUP BY, HAVING, LIMIT or UNION) that names its columns (no *), one of them
 * (and not the only one) a table's INTEGER PRIMARY KEY ([Documentos()].Id_documento),
 * ordered by columns or expressions, never by a column's position or alias. Such a query
 * returns once its rows' keys are known, in order, with the first rows; the others are
 * read from the same snapshot when they are asked for, and by the library in the
 * background. Any other query, and any query while this copy's transaction has written,
 * is read whole before the call returns. Rows come in the same order either way. */
VASQ_API int C_InicIndexData(const char *sql, int *count);

/* Copies row number row (0-based) of the index cache, with its terminator, into buffer,
 * which must hold the longest row text of the query (each name and value adds at most
 * 1,023 characters, plus "=" and "&" per column). Returns 0, or 1 when there is no such
 * row (no cache, row out of range, no open database, null buffer) or the engine fails to
 * read it (its text is traced after "[vasqdb::C_IndexData: ]" at level 1, nothing is
 * recorded), leaving buffer untouched. Prefer C_IndexDataSize. */
VASQ_API int C_IndexData(int row, char *buffer);

/* As C_IndexData, never writing more than size bytes: returns 0 when the whole row text
 * fit; 1 when there is no such row or it cannot be read; VASQ_ERR_ARGUMENT, recorded, when size is below 1
 * (nothing written) or the row text is longer than size - 1 (buffer then holds its first
 * size - 1 characters, terminated). */
VASQ_API int C_IndexDataSize(int row, char *buffer, int size);

/* Drops the index cache, ending its snapshot. Returns 0. */
VASQ_API int C_EndIndexData(void);

/* Kept for callers of the index cache: does nothing and returns 0 (the cache is a
 * snapshot; C_InicIndexData again reads the current rows). */
VASQ_API int C_RefreshIndexData(void);

/* Escape in place ("&" to 0x01, "=" to 0x02) and its reverse; a null text is left alone.
 * Both return the last error code without changing it. */
VASQ_API int VASQ_Escape(char *text);
VASQ_API int VASQ_Unescape(char *text);

#ifdef __cplusplus
}
#endif

#endif
