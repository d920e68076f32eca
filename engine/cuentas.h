// The account checks every checker shares: the CCC's two check digits and
// the IBAN.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace motor {

// The two check digits of an account, or "**" when the eighteen positions are
// not all digits (or a part is too short).
std::string CalcularDC(std::string_view entidad, std::string_view oficina, std::string_view cuenta);

namespace ccc {

// Eight ASCII characters as one little-endian word: the first in the low byte.
inline std::uint64_t Ocho(const char *texto)
{
    std::uint64_t palabra = 0;
    std::memcpy(&palabra, texto, 8);
    return palabra;
}

inline bool OchoDigitos(std::uint64_t palabra)
{
    constexpr std::uint64_t kAltos = 0xF0F0F0F0F0F0F0F0;
    return ((palabra & kAltos) | (((palabra + 0x0606060606060606) & kAltos) >> 4))
        == 0x3333333333333333;
}

// The eight digits' values times their weights, added: the four even bytes
// and the four odd ones each spread into 16-bit lanes and multiplied by the
// weights in the opposite order, which gathers their sum in the top lane.
inline unsigned SumaPonderada(
    std::uint64_t digitos, std::uint64_t pesosPares, std::uint64_t pesosImpares)
{
    constexpr std::uint64_t kBytesPares = 0x00FF00FF00FF00FF;
    const std::uint64_t pares = digitos & kBytesPares;
    const std::uint64_t impares = (digitos >> 8) & kBytesPares;
    return static_cast<unsigned>(((pares * pesosPares) >> 48) + ((impares * pesosImpares) >> 48));
}

// Weights w0..w7 of eight digits as the two multipliers: (w6, w4, w2, w0)
// and (w7, w5, w3, w1), the last named in the lowest lane.
constexpr std::uint64_t Multiplicador(unsigned a, unsigned b, unsigned c, unsigned d)
{
    return std::uint64_t { a } | std::uint64_t { b } << 16 | std::uint64_t { c } << 32
        | std::uint64_t { d } << 48;
}

// 11 - suma % 11, with 11 as 0 and 10 as 1: looked up, since a branch on the
// remainder would be mispredicted once in every few accounts.
inline char Digito(unsigned suma)
{
    static constexpr char kPorResto[] = "01987654321";
    return kPorResto[suma % 11];
}

// The two check digits from the account's parts as words: entity and office
// as one, the number's first eight digits as another, its last two apart.
inline std::array<char, 2> DeLasPartes(
    std::uint64_t banco, std::uint64_t numero, unsigned noveno, unsigned decimo)
{
    if (!OchoDigitos(banco) || !OchoDigitos(numero) || noveno > 9 || decimo > 9) [[unlikely]] {
        return { '*', '*' };
    }
    // The CCC weights are 1, 2, 4, 8, 5, 10, 9, 7, 3, 6. Entity and office take
    // the last eight, as if their eight digits were preceded by two zeros.
    constexpr std::uint64_t kCeros = 0x3030303030303030;
    const unsigned primera
        = SumaPonderada(banco - kCeros, Multiplicador(3, 9, 5, 4), Multiplicador(6, 7, 10, 8));
    const unsigned segunda
        = SumaPonderada(numero - kCeros, Multiplicador(9, 5, 4, 1), Multiplicador(7, 10, 8, 2))
        + 3 * noveno + 6 * decimo;
    return { Digito(primera), Digito(segunda) };
}

inline unsigned Cifra(char c)
{
    return static_cast<unsigned char>(c) - unsigned { '0' };
}

} // namespace ccc

// The same as two characters, for the checkers: inline, eight digits at a
// time, since every account of a file passes here.
inline std::array<char, 2> DigitosDeControl(
    std::string_view entidad, std::string_view oficina, std::string_view cuenta)
{
    if (entidad.size() < 4 || oficina.size() < 4 || cuenta.size() < 10) [[unlikely]] {
        return { '*', '*' };
    }
    static_assert(std::endian::native == std::endian::little, "the words are read little-endian");
    std::uint32_t partes[2];
    std::memcpy(&partes[0], entidad.data(), 4);
    std::memcpy(&partes[1], oficina.data(), 4);
    const std::uint64_t banco = partes[0] | std::uint64_t { partes[1] } << 32;
    return ccc::DeLasPartes(
        banco, ccc::Ocho(cuenta.data()), ccc::Cifra(cuenta[8]), ccc::Cifra(cuenta[9]));
}

// The same for a CCC written in one piece, as most records hold it: entity,
// office, check digits and number, the twenty characters from `ccc`.
inline std::array<char, 2> DigitosDeControlSeguidos(const char *ccc)
{
    return ccc::DeLasPartes(
        ccc::Ocho(ccc), ccc::Ocho(ccc + 10), ccc::Cifra(ccc[18]), ccc::Cifra(ccc[19]));
}

enum class FalloCuenta {
    Ninguno,
    IbanNoValido, // empty, unknown country, wrong length or a character out of place
    DigitosIban, // the IBAN's own check digits (ISO 7064 MOD 97-10)
    DigitosCcc, // the check digits of the Spanish account inside it, or of a CCC
};

// Checks an IBAN field as it stands in a record: blanks at both ends dropped,
// letters taken in either case. Most IBANs of a Spanish order ("ES" and
// twenty-two digits) take a quick way that gives the general rule's verdict.
FalloCuenta ComprobarIBAN(std::string_view campo);
// The general rule alone, for every IBAN: the quick way's plain twin.
FalloCuenta ComprobarIBANGeneral(std::string_view campo);

} // namespace motor
