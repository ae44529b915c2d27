// Debug records: the log file, the boxes and list lines through the display hook.
#include "b_debug.h"

#include "b_private.h"
#include "cp1252.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

constexpr const char *kFamily = "b_debug";
constexpr size_t kTextLimit = 1024;

enum Kind { kAssertion, kWarning, kTrace, kParams, kTraceToFile };

const char *const kTitles[] = {"ASSERTION FAILED", "WARNING", "TRACE MESSAGE",
                               "FUNCTION PARAMETERS", "TRACE MESSAGE"};

int g_word = B_DEBUG_ALL;
int g_defaults[2] = {0, 0};
bool g_multipleFiles = false;
B_DebugDisplay_t g_display = {nullptr, nullptr, nullptr};
char g_debugBuffer[kTextLimit + 4];

const char *orMark(const char *text)
{
    return text ? text : "?";
}

// Appends to the log; the record is dropped when the file cannot be opened.
FILE *openLog()
{
    char name[48];
    if (g_multipleFiles)
        std::snprintf(name, sizeof name, "debug.%ld.log", long(getpid()));
    else
        std::snprintf(name, sizeof name, "debug.log");
    FILE *log = std::fopen(name, "a");
    if (log)
        std::fprintf(log, "%ld - ", long(getpid()));
    return log;
}

void logCheck(Kind kind, const char *file, int line, const char *message, const char *condition)
{
    FILE *log = openLog();
    if (!log)
        return;
    std::fprintf(log, "%s\n", kTitles[kind]);
    std::fprintf(log, "%s%s\n", "MESSAGE   : ", orMark(message));
    std::fprintf(log, "%s%s\n", "CONDITION : ", orMark(condition));
    std::fprintf(log, "%s%s\n", "FILE      : ", orMark(file));
    std::fprintf(log, "%s%05d\n\n", "LINE      : ", line);
    std::fclose(log);
}

void logTrace(const char *file, int line, const char *message)
{
    FILE *log = openLog();
    if (!log)
        return;
    std::fprintf(log, "%s(%d) - %s\n", orMark(file), line, orMark(message));
    std::fclose(log);
}

void printUtf8(const char *text)
{
    try {
        std::fputs(cp1252::toUtf8(text).c_str(), stderr);
    } catch (...) {
        std::fputs(text, stderr);
    }
}

// Shows the box of an assertion or warning; Cancel ends the process.
void showBox(Kind kind, const char *file, int line, const char *message, const char *condition)
{
    char text[kTextLimit + 1];
    int n = std::snprintf(text, sizeof text, "%s\t%s\n%s\t%s\n%s\t%s\n%s\t%05d\n\n",
                          "TRACE MESSAGE", orMark(message), "CONDITION : ", orMark(condition),
                          "FILE      : ", orMark(file), "LINE      : ", line);
    if (n < 0 || size_t(n) > kTextLimit)
        B_FATAL(kFamily, "DebugDisplayMessage OVERRUN!", B_ERR_UNKNOWN);
    int icon = kind == kAssertion ? B_DEBUG_ICON_STOP : B_DEBUG_ICON_INFORMATION;
    int answer = B_DEBUG_OK;
    if (g_display.box) {
        answer = g_display.box(g_display.context, kTitles[kind], text, icon);
    } else {
        printUtf8(kTitles[kind]);
        std::fputs("\n", stderr);
        printUtf8(text);
    }
    if (answer == B_DEBUG_CANCEL) {
        std::fflush(nullptr);
        std::exit(1);
    }
}

void raiseCheck(Kind kind, const char *file, int line, const char *message, const char *condition)
{
    logCheck(kind, file, line, message, condition);
    showBox(kind, file, line, message, condition);
}

void raiseTrace(const char *file, int line, const char *message)
{
    logTrace(file, line, message);
    if (g_display.listLine)
        g_display.listLine(g_display.context, orMark(message));
}

struct LevelName {
    const char *name;
    int value;
    bool isFlag;
};

const LevelName kLevelNames[] = {
    {"NONE", B_DEBUG_NONE, false},     {"ALL", B_DEBUG_ALL, false},
    {"ASSERT", B_DEBUG_ASSERT, true},  {"WARN", B_DEBUG_WARN, true},
    {"TRACE", B_DEBUG_TRACE, true},    {"PARAMS", B_DEBUG_PARAMS, true},
    {"TOFILE", B_DEBUG_TOFILE, true},
};

const LevelName *levelName(const char *word)
{
    for (const LevelName &level : kLevelNames)
        if (std::strncmp(word, level.name, std::strlen(level.name)) == 0)
            return &level;
    return nullptr;
}

} // namespace

namespace quentaro {

bool check(int word, bool ok, const char *family, int line, const char *message,
           const char *condition)
{
    if (!ok && DebugAssertOn(word))
        DebugDoAssert(family, line, message, condition);
    return ok;
}

} // namespace quentaro

void DebugSetDisplay(const B_DebugDisplay_t *display)
{
    g_display = display ? *display : B_DebugDisplay_t{nullptr, nullptr, nullptr};
}

int DebugDoGetDefault(void)
{
    return g_word;
}

int DebugDoSetDefault(int word)
{
    int previous = g_word;
    g_word = word;
    return previous;
}

void DebugDoSetMultipleLogFiles(int flag)
{
    g_multipleFiles = flag != 0;
}

int DebugDoLevelStr(int word, const char *text)
{
    if (!text)
        return word;
    bool negated = false;
    const char *p = text;
    while (*p) {
        if (*p == ' ') {
            ++p;
        } else if (*p == '!') {
            negated = !negated;
            ++p;
        } else {
            if (const LevelName *level = levelName(p)) {
                if (!level->isFlag)
                    word = negated ? ~level->value : level->value;
                else if (negated)
                    word |= level->value;
                else
                    word &= ~level->value;
                negated = false;
            }
            p += std::strcspn(p, " ");
        }
    }
    return word;
}

void DebugDoDefaultFor(int kind, int value)
{
    if (kind == 0 || kind == 1)
        g_defaults[kind] = value;
}

void DebugDoAssert(const char *file, int line, const char *message, const char *condition)
{
    raiseCheck(kAssertion, file, line, message, condition);
}

void DebugDoWarn(const char *file, int line, const char *message, const char *condition)
{
    raiseCheck(kWarning, file, line, message, condition);
}

void DebugDoTrace(const char *file, int line, const char *message)
{
    raiseTrace(file, line, message);
}

void DebugDoParams(const char *file, int line, const char *message)
{
    raiseTrace(file, line, message);
}

void DebugDoTraceToFile(const char *file, int line, const char *message)
{
    logTrace(file, line, message);
}

char *DebugPrintf(char *buffer, size_t size, const char *format, ...)
{
    bool shared = buffer == nullptr;
    if (shared) {
        buffer = g_debugBuffer;
        size = sizeof g_debugBuffer;
    }
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    if (shared && (n < 0 || size_t(n) > kTextLimit))
        B_FATAL(kFamily, "DebugPrintf OVERRUN!", B_ERR_UNKNOWN);
    return buffer;
}
