// The reading of typed amounts.
#include "amount.h"

#include "regional.h"

#include <algorithm>
#include <string>

namespace amount {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Whether the thousands separators of the integer part group its digits in threes, the
// first group not beginning with 0: nobody writes thousands behind a 0 ("0.500").
bool groupsInThrees(std::string_view integer, char thousands)
{
    if (integer.find(thousands) == std::string_view::npos)
        return true;
    if (integer.front() == '0')
        return false;
    size_t start = 0;
    for (bool first = true;; first = false) {
        const size_t end = std::min(integer.find(thousands, start), integer.size());
        const size_t size = end - start;
        if (first ? size < 1 || size > 3 : size != 3)
            return false;
        if (end == integer.size())
            return true;
        start = end + 1;
    }
}

} // namespace

Reading read(std::string_view text, int decimals, int integerDigits)
{
    return read(text, decimals, integerDigits, regional::decimalSeparator());
}

Reading read(std::string_view text, int decimals, int integerDigits, char point)
{
    const char thousands = regional::thousandsSeparatorFor(point);
    text = trim(text);
    if (text.empty())
        return {0, Error::Empty};
    if (!std::all_of(text.begin(), text.end(), [&](char c) { return isDigit(c) || c == point || c == thousands; })
        || std::count(text.begin(), text.end(), point) > 1 || std::none_of(text.begin(), text.end(), isDigit))
        return {0, Error::NotANumber};
    size_t decimal = text.find(point);
    if (decimal == std::string_view::npos && std::count(text.begin(), text.end(), thousands) == 1
        && text.size() - text.find(thousands) <= 3)
        decimal = text.find(thousands);
    const std::string_view integer = text.substr(0, decimal);
    const std::string_view fraction = decimal == std::string_view::npos ? std::string_view() : text.substr(decimal + 1);
    if (fraction.find(thousands) != std::string_view::npos)
        return {0, Error::NotANumber};
    if (!groupsInThrees(integer, thousands))
        return {0, Error::Grouping};
    if (fraction.size() > size_t(decimals))
        return {0, Error::Decimals};
    std::string digits;
    for (char c : integer)
        if (isDigit(c) && (c != '0' || !digits.empty()))
            digits += c;
    if (digits.size() > size_t(integerDigits))
        return {0, Error::Digits};
    digits += fraction;
    digits.append(size_t(decimals) - fraction.size(), '0');
    long long units = 0;
    for (char c : digits)
        units = units * 10 + (c - '0');
    return {units, Error::None};
}

} // namespace amount
