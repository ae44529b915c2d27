-- Tables of the shipped database, in plain SQLite as vasqdb runs it.
--
-- Conventions the program relies on:
--   * autonumber keys are INTEGER PRIMARY KEY AUTOINCREMENT: a deleted key is never handed
--     out again, so "the largest key" read after an INSERT is the new row's;
--   * yes/no columns are declared BOOLEAN and hold 1 or 0 (row text "TRUE"/"FALSE");
--   * dates are declared DATE and hold 'yyyy/mm/dd' text (row text "yy mm dd"), '' or
--     NULL; a date in any other form, or one the calendar lacks, is refused;
--   * amounts are NUMERIC, written with "." and no grouping: quoted or bare, they are
--     stored as numbers, so they sum, sort and compare as numbers; an amount that does not
--     store as a number (a decimal comma, a thousands point, '') is refused by a CHECK
--     (a number equals itself plus 0, a text does not; NULL passes). A CHECK, unlike a
--     trigger, lets a one-row INSERT run without a statement journal; one-row UPDATEs of
--     these tables are written "UPDATE OR FAIL" for the same reason;
--   * every text column compares and sorts with the program's collation (ESNOCASE);
--   * Block is the lock counter of the multi-user layer.
--
-- A statement ends with ";" outside quotes and brackets; a trigger ends with "END;".

-- Users and their permissions; the first four flags of Permisos are add, delete,
-- modify and administrator.
CREATE TABLE [_Usuarios()] (
    Id_usuario      INTEGER PRIMARY KEY AUTOINCREMENT,
    Cod_usuario     TEXT(15) COLLATE ESNOCASE,
    Password        TEXT(26) COLLATE ESNOCASE NOT NULL DEFAULT '',
    Nombre_usuario  TEXT(30) COLLATE ESNOCASE,
    Permisos        TEXT(20) COLLATE ESNOCASE NOT NULL DEFAULT '00000000000000000000',
    Activo          BOOLEAN NOT NULL DEFAULT 1,
    Block           INTEGER NOT NULL DEFAULT 0
);
-- The login looks a user up by code with the collation: two codes it cannot tell apart
-- cannot both exist.
CREATE UNIQUE INDEX [Usuarios_Codigo] ON [_Usuarios()] (Cod_usuario);

CREATE TABLE [_Empresas( Datos )] (
    Id_empresa      INTEGER PRIMARY KEY AUTOINCREMENT,
    Id_usuario      INTEGER,
    Cif             TEXT(10) COLLATE ESNOCASE,
    Nombre          TEXT(30) COLLATE ESNOCASE,
    Cuenta          TEXT(20) COLLATE ESNOCASE,
    Block           INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX [Empresas_Cif] ON [_Empresas( Datos )] (Id_usuario, Cif);

-- Id_orden is "CSB19" or "CSB58"; Clave_presentador is the NIF followed by the suffix.
CREATE TABLE [_Presentadores( Datos )] (
    Id_presentador    INTEGER PRIMARY KEY AUTOINCREMENT,
    Id_empresa        INTEGER,
    Id_orden          TEXT(5) COLLATE ESNOCASE,
    Clave_presentador TEXT(12) COLLATE ESNOCASE,
    Id_nif            TEXT(9) COLLATE ESNOCASE,
    Sufijo            TEXT(3) COLLATE ESNOCASE,
    Razon_social      TEXT(40) COLLATE ESNOCASE,
    Block             INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX [Presentadores_Nif] ON [_Presentadores( Datos )] (Id_empresa, Id_nif, Sufijo, Id_orden);

-- No unique index here: the CSB import and the bank's users file tell issuers apart by
-- their accounts as well, so one NIF and suffix may own several issuers.
CREATE TABLE [_Emisores( Datos )] (
    Id_emisor       INTEGER PRIMARY KEY AUTOINCREMENT,
    Id_presentador  INTEGER,
    Id_nif          TEXT(9) COLLATE ESNOCASE,
    Sufijo          TEXT(3) COLLATE ESNOCASE,
    Razon_social    TEXT(40) COLLATE ESNOCASE,
    Cuenta_abono    TEXT(20) COLLATE ESNOCASE,
    Cuenta_cargo    TEXT(20) COLLATE ESNOCASE,
    Desc_cuenta     TEXT(30) COLLATE ESNOCASE,
    Alias           TEXT(30) COLLATE ESNOCASE,
    Codigo_NIE      TEXT(9) COLLATE ESNOCASE,
    Block           INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX [Emisores_Presentador] ON [_Emisores( Datos )] (Id_presentador);

-- Concept templates; the items of a template are read back in the order they were stored.
CREATE TABLE [Plantillas( Datos )] (
    Id_plantilla    INTEGER PRIMARY KEY AUTOINCREMENT,
    Nombre          TEXT(128) COLLATE ESNOCASE,
    Block           INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE [Plantillas( Elementos )] (
    Id_plantilla    INTEGER,
    Datos           TEXT COLLATE ESNOCASE,
    Block           INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX [Elementos_Plantilla] ON [Plantillas( Elementos )] (Id_plantilla);

-- Batches. Id_moneda is "ESP" or "EUR"; Id_plantilla is NULL for none; F_generacion is
-- NULL (or '') while the batch never went into a send file.
CREATE TABLE [Remesas()] (
    Id_remesa          INTEGER PRIMARY KEY AUTOINCREMENT,
    Id_emisor          INTEGER,
    Id_moneda          TEXT(3) COLLATE ESNOCASE,
    Id_plantilla       INTEGER,
    Con_emision        BOOLEAN NOT NULL DEFAULT 0,
    Descripcion        TEXT(50) COLLATE ESNOCASE,
    F_alta             DATE DEFAULT (strftime('%Y/%m/%d', 'now', 'localtime'))
        CHECK (F_alta IS NULL OR F_alta = ''
               OR (F_alta GLOB '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]'
                   AND date(replace(F_alta, '/', '-'), '+0 days') IS replace(F_alta, '/', '-'))),
    F_generacion       DATE
        CHECK (F_generacion IS NULL OR F_generacion = ''
               OR (F_generacion GLOB '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]'
                   AND date(replace(F_generacion, '/', '-'), '+0 days') IS replace(F_generacion, '/', '-'))),
    Importe_total      NUMERIC DEFAULT 0 CHECK (Importe_total = Importe_total + 0),
    Contravalor_total  NUMERIC DEFAULT 0 CHECK (Contravalor_total = Contravalor_total + 0),
    Block              INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX [Remesas_Emisor] ON [Remesas()] (Id_emisor);
CREATE INDEX [Remesas_Plantilla] ON [Remesas()] (Id_plantilla);

-- A template that batches still name cannot be deleted.
CREATE TRIGGER [Plantillas_En_Uso] BEFORE DELETE ON [Plantillas( Datos )]
WHEN EXISTS (SELECT 1 FROM [Remesas()] WHERE Id_plantilla = OLD.Id_plantilla)
BEGIN
    SELECT RAISE(ABORT, 'La plantilla la usan remesas');
END;

-- Concept texts: 8 lines of 80 characters.
CREATE TABLE [Conceptos()] (
    Id_concepto     INTEGER PRIMARY KEY AUTOINCREMENT,
    Concepto        TEXT(640) COLLATE ESNOCASE,
    Block           INTEGER NOT NULL DEFAULT 0
);

-- Drawees of an issuer; which columns a drawee uses depends on its presenter's format.
CREATE TABLE [Librados( Datos )] (
    Id_librado               INTEGER PRIMARY KEY AUTOINCREMENT,
    Id_emisor                INTEGER,
    Codigo_referencia        TEXT(12) COLLATE ESNOCASE,
    Razon_social             TEXT(50) COLLATE ESNOCASE,
    Cuenta                   TEXT(20) COLLATE ESNOCASE,
    Titular_cuenta           TEXT(50) COLLATE ESNOCASE,
    Direccion                TEXT(50) COLLATE ESNOCASE,
    CP                       TEXT(5) COLLATE ESNOCASE,
    Localidad                TEXT(50) COLLATE ESNOCASE,
    Provincia                TEXT(50) COLLATE ESNOCASE,
    Loc_ordenante            TEXT(38) COLLATE ESNOCASE,
    Cod_provincia_ordenante  TEXT(2) COLLATE ESNOCASE,
    Block                    INTEGER NOT NULL DEFAULT 0
);
-- The imports find a drawee by its issuer and reference code.
CREATE INDEX [Librados_Emisor] ON [Librados( Datos )] (Id_emisor, Codigo_referencia);
CREATE INDEX [Librados_Referencia] ON [Librados( Datos )] (Codigo_referencia);

-- Bills. A new bill is active and normal unless the writer says otherwise; Situacion 1
-- marks an erroneous bill.
CREATE TABLE [Documentos()] (
    Id_documento     INTEGER PRIMARY KEY AUTOINCREMENT,
    Id_remesa        INTEGER,
    Id_librado       INTEGER,
    Id_concepto      INTEGER,
    Importe          NUMERIC CHECK (Importe = Importe + 0),
    Contravalor      NUMERIC CHECK (Contravalor = Contravalor + 0),
    Cod_devolucion   TEXT(6) COLLATE ESNOCASE,
    Ref_interna      TEXT(10) COLLATE ESNOCASE,
    Primer_concepto  TEXT(40) COLLATE ESNOCASE,
    F_formalizacion  DATE
        CHECK (F_formalizacion IS NULL OR F_formalizacion = ''
               OR (F_formalizacion GLOB '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]'
                   AND date(replace(F_formalizacion, '/', '-'), '+0 days') IS replace(F_formalizacion, '/', '-'))),
    F_vencimiento    DATE
        CHECK (F_vencimiento IS NULL OR F_vencimiento = ''
               OR (F_vencimiento GLOB '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]'
                   AND date(replace(F_vencimiento, '/', '-'), '+0 days') IS replace(F_vencimiento, '/', '-'))),
    F_proceso        DATE
        CHECK (F_proceso IS NULL OR F_proceso = ''
               OR (F_proceso GLOB '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]'
                   AND date(replace(F_proceso, '/', '-'), '+0 days') IS replace(F_proceso, '/', '-'))),
    Activo           BOOLEAN NOT NULL DEFAULT 1,
    Situacion        INTEGER NOT NULL DEFAULT 0,
    Block            INTEGER NOT NULL DEFAULT 0
);
-- A batch's bills with what its grid orders and totals by, read without the rows.
CREATE INDEX [Documentos_Remesa] ON [Documentos()] (Id_remesa, Situacion, Activo, Importe, Id_librado);
CREATE INDEX [Documentos_Librado] ON [Documentos()] (Id_librado);

-- One row per batch per generated send file; Descripcion is the path of the history copy.
CREATE TABLE [Historicos( Remesas )] (
    Id_historico    INTEGER PRIMARY KEY AUTOINCREMENT,
    Id_remesa       INTEGER,
    Descripcion     TEXT(255) COLLATE ESNOCASE,
    F_generacion    DATE DEFAULT (strftime('%Y/%m/%d', 'now', 'localtime'))
        CHECK (F_generacion IS NULL OR F_generacion = ''
               OR (F_generacion GLOB '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]'
                   AND date(replace(F_generacion, '/', '-'), '+0 days') IS replace(F_generacion, '/', '-')))
);
CREATE INDEX [Historicos_Remesa] ON [Historicos( Remesas )] (Id_remesa);

-- Reference tables, shipped filled and never written by the program.
CREATE TABLE [_TiposMoneda()] (
    Id_moneda       TEXT(3) COLLATE ESNOCASE PRIMARY KEY,
    Descripcion     TEXT(30) COLLATE ESNOCASE,
    Moneda_valida   BOOLEAN NOT NULL DEFAULT 1
);
-- CP is the two-digit code that begins the postcodes of the province.
CREATE TABLE [_Provincias()] (
    CP              TEXT(2) COLLATE ESNOCASE PRIMARY KEY,
    Provincia       TEXT(50) COLLATE ESNOCASE
);
CREATE TABLE [Bancos()] (
    N_Banco         TEXT(4) COLLATE ESNOCASE PRIMARY KEY,
    Nombre_banco    TEXT(71) COLLATE ESNOCASE
);

-- Multi-user registry: one row per running copy, and the change notices they post.
CREATE TABLE [Aplicaciones()] (
    Num_Aplicacion       INTEGER PRIMARY KEY AUTOINCREMENT,
    Hora                 TEXT(6) COLLATE ESNOCASE,
    Reg_Usuario          INTEGER,
    Id_UsuarioLogineado  INTEGER,
    Reg_Empresa          INTEGER,
    Reg_Presentador      INTEGER,
    Reg_Emisor           INTEGER,
    Reg_Librado          INTEGER,
    Reg_Remesa           INTEGER,
    Reg_Documentos       INTEGER,
    Reg_Plantilla        INTEGER,
    Ultima_Actualizacion INTEGER NOT NULL DEFAULT 0,
    Reg_Compartidos      TEXT NOT NULL DEFAULT ''
);
CREATE TABLE [Actualizaciones()] (
    Id_Actualizacion  INTEGER PRIMARY KEY AUTOINCREMENT,
    Num_Aplicacion    INTEGER,
    Id_Usuario        INTEGER,
    Nivel             INTEGER,
    Id_Actualizar     INTEGER,
    Contador          INTEGER
);
