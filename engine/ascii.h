// Letters of ASCII without case: file names on a case-blind system, encoding
// labels, IBANs written in lower case. Bytes beyond ASCII are left as they are.
#pragma once

#include <algorithm>
#include <string_view>

namespace motor {

constexpr char MinusculaAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool IgualesSinMayusculas(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return MinusculaAscii(x) == MinusculaAscii(y); });
}

} // namespace motor
