// Account numbers: control digits, validation, the own entity's rule and number boxes.
#include "General.h"

#include "Frmmsg.h"
#include "Multiidioma.h"
#include "qcp1252.h"

#include <QLineEdit>
#include <cstdio>

namespace {

// Control digit of a digit string of up to 10 characters, weights from the rightmost
// character leftwards.
char DigitoControl(std::string_view s)
{
    static constexpr int kPesos[] = {6, 3, 7, 9, 10, 5, 8, 4, 2, 1};
    int suma = 0;
    for (size_t k = 0; k < s.size() && k < 10; ++k)
        suma += (s[s.size() - 1 - k] - '0') * kPesos[k];
    const int d = 11 - suma % 11;
    return char('0' + (d == 10 ? 1 : d == 11 ? 0 : d));
}

// The text cut or blank-padded on the right to n characters ("%-n.ns").
std::string Ajusta(std::string_view s, size_t n)
{
    std::string r(s.substr(0, n));
    r.resize(n, ' ');
    return r;
}

bool SoloDigitos(std::string_view s)
{
    for (char c : s)
        if (!EsDigito(c))
            return false;
    return true;
}

bool SoloDigitosNoCero(std::string_view s)
{
    return SoloDigitos(s) && s.find_first_not_of('0') != std::string_view::npos;
}

} // namespace

bool EsDigito(char c)
{
    return c >= '0' && c <= '9';
}

std::string CalcDigitosControl(std::string_view banco, std::string_view oficina, std::string_view cuenta)
{
    const std::string entidad = Ajusta(banco, 4) + Ajusta(oficina, 4);
    const std::string numero = Ajusta(cuenta, 10);
    if (!SoloDigitos(entidad) || !SoloDigitos(numero))
        return {};
    return {DigitoControl(entidad), DigitoControl(numero)};
}

bool DigitosErroneos(std::string_view banco, std::string_view oficina, std::string_view dc, std::string_view cuenta)
{
    return !dc.empty() && dc != CalcDigitosControl(banco, oficina, cuenta);
}

std::string ValidaCCC(std::string_view banco, std::string_view oficina, std::string_view dc,
                      std::string_view cuenta, bool forzar)
{
    std::string control(dc);
    bool correcto;
    if (!forzar && control.empty()) {
        control = "  ";
        correcto = true;
    } else {
        const std::string esperado = CalcDigitosControl(banco, oficina, cuenta);
        correcto = !esperado.empty() && esperado == control;
    }
    if (!correcto || banco.size() != 4 || oficina.size() != 4 || cuenta.size() != 10
        || !SoloDigitosNoCero(banco) || !SoloDigitos(oficina) || !SoloDigitosNoCero(cuenta))
        return {};
    return std::string(banco) + std::string(oficina) + control + std::string(cuenta);
}

bool ValidaCuentaBanco(std::string &cuenta)
{
    if (cuenta.size() == 10 && cuenta[0] == '0')
        return true;
    if (cuenta.size() >= 3 && cuenta.size() <= 9 && cuenta[0] == '0') {
        cuenta = cuenta.substr(0, 3) + std::string(10 - cuenta.size(), '0') + cuenta.substr(3);
        return true;
    }
    CajaMensaje(Idioma.GetTexto(625), Idioma.GetTexto(1), IconoMensaje::Error);
    cuenta.clear();
    return false;
}

bool ValidaCuentaBanco(QLineEdit *edit)
{
    const std::string antes = cp1252::fromQString(edit->text());
    std::string t = antes;
    const bool valida = ValidaCuentaBanco(t);
    if (t != antes)
        edit->setText(cp1252::toQString(t));
    return valida;
}

void Padea(QLineEdit *edit)
{
    const std::string t = cp1252::fromQString(edit->text());
    const int largo = edit->maxLength();
    if (t.empty() || t.size() >= 10 || largo < 1 || largo > 10)
        return;
    size_t i = t.find_first_not_of(' ');
    const size_t inicio = i;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    if (i >= t.size() || !SoloDigitos(std::string_view(t).substr(i))) {
        WriteLog("[ General::Padea ] '" + t + "' no es un n\xFAmero entero");
        return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*i", largo, std::stoi(t.substr(inicio)));
    edit->setText(QString::fromLatin1(buffer));
}

void FiltraTeclaNumerica(char &tecla)
{
    if (!EsDigito(tecla) && tecla != 8 && tecla != 10)
        tecla = 0;
}
