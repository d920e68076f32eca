#include "utf8.h"

#include <iterator>

namespace motor {
namespace {

char32_t Decodificar(std::string_view caracter)
{
    const auto primero = static_cast<unsigned char>(caracter[0]);
    if (caracter.size() == 1) {
        return primero;
    }
    char32_t codigo = primero & (0x3F >> (caracter.size() - 1));
    for (std::size_t i = 1; i < caracter.size(); ++i) {
        codigo = (codigo << 6) | (static_cast<unsigned char>(caracter[i]) & 0x3F);
    }
    return codigo;
}

// The characters of Windows-1252's 0x80-0x9F.
constexpr char16_t kAltos1252[32]
    = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

// Where ISO-8859-15 differs from ISO-8859-1.
constexpr std::pair<unsigned char, char16_t> kLatin9[]
    = { { 0xA4, 0x20AC }, { 0xA6, 0x0160 }, { 0xA8, 0x0161 }, { 0xB4, 0x017D }, { 0xB8, 0x017E },
          { 0xBC, 0x0152 }, { 0xBD, 0x0153 }, { 0xBE, 0x0178 } };

char ByteWindows1252(char32_t caracter)
{
    if (caracter < 0x80 || (caracter >= 0xA0 && caracter <= 0xFF)) {
        return static_cast<char>(caracter);
    }
    for (std::size_t i = 0; i < std::size(kAltos1252); ++i) {
        if (kAltos1252[i] == caracter) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

} // namespace

void AnadirWindows1252(std::string_view utf8, std::string &bytes)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t largo = LargoCaracterUtf8(utf8.substr(i));
        if (largo == 0) {
            bytes += '?';
            ++i;
            continue;
        }
        bytes += ByteWindows1252(Decodificar(utf8.substr(i, largo)));
        i += largo;
    }
}

std::string Windows1252(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    AnadirWindows1252(utf8, bytes);
    return bytes;
}

char32_t CaracterWindows1252(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kAltos1252[byte - 0x80] : byte;
}

char32_t CaracterLatin9(unsigned char byte)
{
    for (const auto &[propio, caracter] : kLatin9) {
        if (propio == byte) {
            return caracter;
        }
    }
    return byte;
}

} // namespace motor
