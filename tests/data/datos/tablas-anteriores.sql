-- The two tables as earlier builds made them, over the shipped schema: amounts guarded by
-- triggers instead of CHECK constraints.
DROP TABLE [Remesas()];
DROP TABLE [Documentos()];
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
    Importe_total      NUMERIC DEFAULT 0,
    Contravalor_total  NUMERIC DEFAULT 0,
    Block              INTEGER NOT NULL DEFAULT 0
);
-- Totals that would not store as numbers would not sum.
CREATE TRIGGER [Remesas_Totales_Alta] AFTER INSERT ON [Remesas()]
WHEN typeof(NEW.Importe_total) NOT IN ('integer', 'real', 'null')
  OR typeof(NEW.Contravalor_total) NOT IN ('integer', 'real', 'null')
BEGIN
    SELECT RAISE(ABORT, 'Importe no numerico');
END;
CREATE TRIGGER [Remesas_Totales_Cambio] AFTER UPDATE OF Importe_total, Contravalor_total ON [Remesas()]
WHEN typeof(NEW.Importe_total) NOT IN ('integer', 'real', 'null')
  OR typeof(NEW.Contravalor_total) NOT IN ('integer', 'real', 'null')
BEGIN
    SELECT RAISE(ABORT, 'Importe no numerico');
END;
CREATE INDEX [Remesas_Emisor] ON [Remesas()] (Id_emisor);
CREATE INDEX [Remesas_Plantilla] ON [Remesas()] (Id_plantilla);

CREATE TABLE [Documentos()] (
    Id_documento     INTEGER PRIMARY KEY AUTOINCREMENT,
    Id_remesa        INTEGER,
    Id_librado       INTEGER,
    Id_concepto      INTEGER,
    Importe          NUMERIC,
    Contravalor      NUMERIC,
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
CREATE TRIGGER [Documentos_Importes_Alta] AFTER INSERT ON [Documentos()]
WHEN typeof(NEW.Importe) NOT IN ('integer', 'real', 'null')
  OR typeof(NEW.Contravalor) NOT IN ('integer', 'real', 'null')
BEGIN
    SELECT RAISE(ABORT, 'Importe no numerico');
END;
CREATE TRIGGER [Documentos_Importes_Cambio] AFTER UPDATE OF Importe, Contravalor ON [Documentos()]
WHEN typeof(NEW.Importe) NOT IN ('integer', 'real', 'null')
  OR typeof(NEW.Contravalor) NOT IN ('integer', 'real', 'null')
BEGIN
    SELECT RAISE(ABORT, 'Importe no numerico');
END;
-- A batch's bills with what its grid orders and totals by, read without the rows.
CREATE INDEX [Documentos_Remesa] ON [Documentos()] (Id_remesa, Situacion, Activo, Importe, Id_librado);
CREATE INDEX [Documentos_Librado] ON [Documentos()] (Id_librado);

