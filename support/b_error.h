// Fatal error reports: what the library prints before it ends the process on an impossible
// request (no memory, a null block, a stack index out of range).
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

// Exit status of a process ended by a fatal report.
#define B_FATAL_EXIT_STATUS 1

// Modules of the report (index into its module table). The library's own checks use
// B_MOD_BASICO.
enum {
    B_MOD_BASICO = 0,          // "Sistema basico"
    B_MOD_BASE_DATOS = 1,
    B_MOD_USER_INTERFACE = 2,
    B_MOD_APLICACION_LIB = 3,
    B_MOD_COMUNICACIONES = 4,
    B_MOD_APLICACION_ESP = 5,
    B_MOD_PROTECCION = 6
};

// Error codes of the report (index into its error table).
enum {
    B_ERR_MALLOC = 0,          // "Sin memoria en malloc"
    B_ERR_REALLOC = 1,         // "Sin memoria en realloc"
    B_ERR_NO_MEMORY = 2,       // "Sin memoria"
    B_ERR_REALLOC_POINTER = 3, // "Realloc: mal puntero"
    B_ERR_FREE_POINTER = 4,    // "Free: mal puntero"
    B_ERR_STACK_UPPER = 5,
    B_ERR_STACK_LOWER = 6,
    B_ERR_BASIC_STACK_UPPER = 7,
    B_ERR_BASIC_STACK_LOWER = 8,
    B_ERR_UNKNOWN = 9,         // "Error desconocido"
    B_ERR_WRITE = 10,
    B_ERR_READ = 11,
    B_ERR_OPEN = 12,
    B_ERR_CLOSE = 13,
    B_ERR_NOT_FOUND = 14,
    B_ERR_SEARCH_RANGE = 15,
    B_ERR_VERIFY = 16,
    B_ERR_POINTER = 17,        // "Mal puntero"
    B_ERR_BAD_DATA = 18,       // "Datos erroneos"
    B_ERR_POSITION = 19,       // "Mala posicion"
    B_ERR_SIZE = 20,           // "Mal tamano"
    B_ERR_ELEMENT = 21,
    B_ERR_INCONSISTENT = 22,
    B_ERR_DATABASE = 23,
    B_ERR_USER_INTERFACE = 24,
    B_ERR_IPC_LIMIT = 25,
    B_ERR_SYSTEM = 26,
    B_ERR_COUNT = 27
};

// Hooks a caller may install with init_error_system. The report text handed to the
// display hook is UTF-8.
typedef void (*B_ErrorHookFn)(int module, int error);
typedef void (*B_ErrorDisplayFn)(const char *report, int module, int error);

// The full report. Composes (at most 2047 bytes, longer texts are cut) the debug message,
// the source file and line, the module and error texts, the free address space of the
// process, errno and its text, and prints it to stderr in UTF-8; then flushes every stream
// and ends the process with B_FATAL_EXIT_STATUS. A module or error outside the tables
// prints "?" or "Error desconocido". The message and file are printed as given.
// When hooks are installed, the first report clears them (a report raised from a hook
// takes the plain road), calls before, then display (or prints to stderr when there is no
// display hook), then after, and ends the process the same way.
QUENTARO_API __attribute__((noreturn)) void issue_extended_error(const char *message, int line,
                                                                 const char *file, int module,
                                                                 int error);

// A shorter report: debug message, module, error and free memory. Ends the process.
QUENTARO_API __attribute__((noreturn)) void show_error(const char *message, int module, int error);

// The shortest report: module, error and free memory. Ends the process.
QUENTARO_API __attribute__((noreturn)) void B_issue_error(int module, int error);

// Installs the three hooks (each may be null) for the next report.
QUENTARO_API void init_error_system(B_ErrorHookFn before, B_ErrorDisplayFn display,
                                    B_ErrorHookFn after);

QUENTARO_END
