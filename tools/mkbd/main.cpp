// mkbd: builds the shipped database from its schema and reference rows and writes its
// scrambled copy. Usage: mkbd SCHEMA.sql REFERENCIA.sql DESTINO/Orvanta.mcr
#include "shippeddb.h"

#include "cp1252.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool readText(const char *path, std::string &text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return bool(in) || in.eof();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "uso: mkbd ESQUEMA.sql REFERENCIA.sql DESTINO.mcr\n");
        return 2;
    }
    std::string schema, data;
    if (!readText(argv[1], schema) || !readText(argv[2], data)) {
        std::fprintf(stderr, "mkbd: no se pueden leer %s y %s\n", argv[1], argv[2]);
        return 1;
    }
    std::string error;
    if (!shippeddb::writeScrambledCopy(cp1252::fromUtf8(argv[3]), schema, data, error)) {
        std::fprintf(stderr, "mkbd: %s\n", cp1252::toUtf8(error).c_str());
        return 1;
    }
    return 0;
}
