// Language texts: the current language, the lookup of the program's texts by number, and
// the bounded formatting of texts that carry printf-style arguments.
//
// Texts are Windows-1252. The Spanish texts are the table entries 1 to 999; a text n in
// language 2 or 3 is entry n + 1000 or n + 2000, and the Spanish text n while that entry
// does not exist.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <QPointer>

class QAction;
class QObject;

// One entry of the language table compiled into the program.
struct EntradaTexto {
    int numero;
    const char *texto; // Windows-1252, never empty
};

// The whole table, ordered by number, numbers unique.
std::span<const EntradaTexto> TablaTextos();

// The table entry n itself, without language offset; empty when there is none.
std::string CargaTexto(int n);

enum NumeroIdioma { IdiomaCastellano = 1, IdiomaIngles = 2, IdiomaCatalan = 3 };

// The language object: one for the program (Idioma), language 1 at start.
class _Multiidioma {
public:
    // The text n in the current language, or in Spanish when that language lacks it; empty
    // when neither exists.
    std::string GetTexto(int n) const;

    // 0 for language 1, 1000 for 2, 2000 for 3, 0 for any other number.
    int GetDesplazamientoIdioma() const;

    // "Castellano", "Ingles", "Catalan"; empty for any other number.
    std::string GetNombreIdioma() const;

    int GetIdioma() const { return m_idioma; }

    // Sets language n and re-captions the registered entries; false (nothing changes) for n > 3.
    bool SetIdioma(int n);

    // Unmarks the language entries; for "Castellano", "Ingles" or "Catalan" (exact) sets that
    // language and marks its entry, any other name leaves the language as it was with no entry
    // marked; then re-captions. Always true.
    bool SetIdiomaPorNombre(std::string_view nombre);

    // The main window registers the menu entries and toolbar buttons whose captions follow
    // the language (an entry is a QAction or a QAbstractButton), and its language menu
    // entries (checkable actions, one per language number). Entries that are destroyed
    // are skipped.
    void RegistraEntrada(int texto, QObject *entrada);
    void RegistraEntradaIdioma(int idioma, QAction *entrada);

private:
    void Recaptiona() const;

    struct Entrada {
        int texto;
        QPointer<QObject> objeto;
    };
    int m_idioma = IdiomaCastellano;
    std::vector<Entrada> m_entradas;
    std::vector<Entrada> m_entradasIdioma;
};

extern _Multiidioma Idioma;

// One argument of a formatted text: an integer, a floating-point number or a text.
class ArgTexto {
public:
    enum Tipo { Entero, Real, Texto };

    template<class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    ArgTexto(T valor) : m_tipo(Entero), m_entero(static_cast<long long>(valor)) {}
    ArgTexto(double valor) : m_tipo(Real), m_real(valor) {}
    ArgTexto(const char *texto) : m_tipo(Texto), m_texto(texto ? texto : "") {}
    ArgTexto(const std::string &texto) : m_tipo(Texto), m_texto(texto) {}
    ArgTexto(std::string_view texto) : m_tipo(Texto), m_texto(texto) {}

    Tipo tipo() const { return m_tipo; }
    long long entero() const { return m_entero; }
    double real() const { return m_real; }
    std::string_view texto() const { return m_texto; }

private:
    Tipo m_tipo;
    long long m_entero = 0;
    double m_real = 0;
    std::string_view m_texto;
};

// Longest formatted text; longer results are cut.
inline constexpr size_t kMaxTextoFormateado = 2047;

// printf-style formatting of a program text (never of user data, which goes in as an
// argument). Safe whatever the format: each conversion takes the next argument and prints
// it in the conversion's form when the kinds agree and in its own form when they do not
// (a text for %d is printed as text); a conversion without an argument prints nothing;
// %n prints nothing; widths and precisions above kMaxTextoFormateado are cut to it.
std::string FormateaTexto(std::string_view formato, std::span<const ArgTexto> args);

template<class... A>
std::string FormateaTexto(std::string_view formato, const A &...args)
{
    const std::array<ArgTexto, sizeof...(A)> lista{ArgTexto(args)...};
    return FormateaTexto(formato, std::span<const ArgTexto>(lista));
}
