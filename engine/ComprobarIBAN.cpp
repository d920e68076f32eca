#include "cuentas.h"

#include "ascii.h"
#include "campos.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace motor {
namespace {

struct Pais
{
    char codigo[3];
    unsigned char longitud;
};

// IBAN lengths by country (ISO 13616 registry), sorted by code for the search.
constexpr Pais kPaises[] = { { "AD", 24 }, { "AE", 23 }, { "AL", 28 }, { "AT", 20 }, { "AZ", 28 },
    { "BA", 20 }, { "BE", 16 }, { "BG", 22 }, { "BH", 22 }, { "BI", 27 }, { "BR", 29 },
    { "BY", 28 }, { "CH", 21 }, { "CR", 22 }, { "CY", 28 }, { "CZ", 24 }, { "DE", 22 },
    { "DJ", 27 }, { "DK", 18 }, { "DO", 28 }, { "EE", 20 }, { "EG", 29 }, { "ES", 24 },
    { "FI", 18 }, { "FK", 18 }, { "FO", 18 }, { "FR", 27 }, { "GB", 22 }, { "GE", 22 },
    { "GI", 23 }, { "GL", 18 }, { "GR", 27 }, { "GT", 28 }, { "HN", 28 }, { "HR", 21 },
    { "HU", 28 }, { "IE", 22 }, { "IL", 23 }, { "IQ", 23 }, { "IS", 26 }, { "IT", 27 },
    { "JO", 30 }, { "KW", 30 }, { "KZ", 20 }, { "LB", 28 }, { "LC", 32 }, { "LI", 21 },
    { "LT", 20 }, { "LU", 20 }, { "LV", 21 }, { "LY", 25 }, { "MC", 27 }, { "MD", 24 },
    { "ME", 22 }, { "MK", 19 }, { "MN", 20 }, { "MR", 27 }, { "MT", 31 }, { "MU", 30 },
    { "NI", 28 }, { "NL", 18 }, { "NO", 15 }, { "OM", 23 }, { "PK", 24 }, { "PL", 28 },
    { "PS", 29 }, { "PT", 25 }, { "QA", 29 }, { "RO", 24 }, { "RS", 22 }, { "RU", 33 },
    { "SA", 24 }, { "SC", 31 }, { "SD", 18 }, { "SE", 24 }, { "SI", 19 }, { "SK", 24 },
    { "SM", 27 }, { "SO", 23 }, { "ST", 25 }, { "SV", 28 }, { "TL", 23 }, { "TN", 24 },
    { "TR", 26 }, { "UA", 29 }, { "VA", 22 }, { "VG", 24 }, { "XK", 20 }, { "YE", 30 } };

constexpr std::size_t kMaxIban = 34;

bool EsDigito(char c)
{
    return c >= '0' && c <= '9';
}

// Letters are taken in lower case: the field is folded first.
bool EsLetra(char c)
{
    return c >= 'a' && c <= 'z';
}

// The registry as a table indexed by the two letters, 0 for a code not in it:
// one look-up for every IBAN of a file.
constexpr std::array<unsigned char, 26 * 26> kLongitudes = [] {
    std::array<unsigned char, 26 * 26> longitudes {};
    for (const Pais &pais : kPaises) {
        longitudes[static_cast<std::size_t>((pais.codigo[0] - 'A') * 26 + (pais.codigo[1] - 'A'))]
            = pais.longitud;
    }
    return longitudes;
}();

std::size_t LongitudDelPais(char primera, char segunda)
{
    if (!EsLetra(primera) || !EsLetra(segunda)) {
        return 0;
    }
    return kLongitudes[static_cast<std::size_t>((primera - 'a') * 26 + (segunda - 'a'))];
}

// Letters in lower case, the blanks at both ends already dropped; nothing
// longer than any IBAN can be is kept (it is not valid anyway).
std::string_view Normalizar(std::string_view campo, std::array<char, kMaxIban + 1> &buffer)
{
    const std::size_t longitud = std::min(campo.size(), buffer.size());
    std::transform(campo.begin(), campo.begin() + static_cast<std::ptrdiff_t>(longitud),
        buffer.begin(), MinusculaAscii);
    return { buffer.data(), longitud };
}

bool BienFormado(std::string_view iban)
{
    if (iban.size() < 4 || !EsDigito(iban[2]) || !EsDigito(iban[3])) {
        return false;
    }
    if (!std::all_of(iban.begin(), iban.end(), [](char c) { return EsDigito(c) || EsLetra(c); })) {
        return false;
    }
    return iban.size() == LongitudDelPais(iban[0], iban[1]);
}

// ISO 7064 MOD 97-10: the first four characters moved to the end, letters as
// 10 to 35, the whole number modulo 97 must be 1. Digits are gathered sixteen
// at a time before each division: a remainder below 97 followed by sixteen
// digits still fits in 64 bits.
bool Mod97Correcto(std::string_view iban)
{
    std::uint64_t numero = 0;
    int cifras = 0;
    const auto sumar = [&](char c) {
        if (cifras + 2 > 16) {
            numero %= 97;
            cifras = 0;
        }
        if (EsDigito(c)) {
            numero = numero * 10 + static_cast<unsigned>(c - '0');
            cifras += 1;
        } else {
            numero = numero * 100 + static_cast<unsigned>(c - 'a' + 10);
            cifras += 2;
        }
    };
    std::for_each(iban.begin() + 4, iban.end(), sumar);
    std::for_each(iban.begin(), iban.begin() + 4, sumar);
    return numero % 97 == 1;
}

// A Spanish IBAN, of its 24 characters, holds a CCC in one piece at 5 to 24:
// entity, office, DC, number.
bool CccCorrecto(std::string_view iban)
{
    const auto dc = DigitosDeControlSeguidos(iban.data() + 4);
    return dc[0] == iban[12] && dc[1] == iban[13];
}

// Eight ASCII digits, read as a little-endian word, as their number: pairs,
// then fours, then the eight, each step one multiplication.
std::uint64_t Numero(std::uint64_t palabra)
{
    std::uint64_t v = palabra - 0x3030303030303030;
    v = v * 10 + (v >> 8);
    return ((v & 0x000000FF000000FF) * (100 + (1000000ULL << 32))
               + ((v >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))
        >> 32;
}

// Most IBANs of a Spanish order as they stand: "ES" and twenty-two digits,
// nothing around them. Their number is taken eight digits at a time, with
// no copy; any other field goes the general way.
std::optional<FalloCuenta> EspanolDeCifras(std::string_view campo)
{
    if (campo.size() != 24 || campo[0] != 'E' || campo[1] != 'S') {
        return std::nullopt;
    }
    const char *iban = campo.data();
    const std::uint64_t cifras[]
        = { ccc::Ocho(iban + 4), ccc::Ocho(iban + 12), ccc::Ocho(iban + 16) };
    // Every one of the twenty-two places after "ES" is a digit, or the
    // general way decides (and names the fault as it does).
    if (!ccc::OchoDigitos(ccc::Ocho(iban + 2)) || !ccc::OchoDigitos(cifras[0])
        || !ccc::OchoDigitos(cifras[1]) || !ccc::OchoDigitos(cifras[2])) {
        return std::nullopt;
    }
    // The account's twenty digits, then "ES" as 14 28, then the check digits.
    std::uint64_t resto = Numero(cifras[0]) % 97;
    resto = (resto * 100000000 + Numero(cifras[1])) % 97;
    resto = (resto * 10000 + Numero(cifras[2]) % 10000) % 97;
    const unsigned control = ccc::Cifra(iban[2]) * 10 + ccc::Cifra(iban[3]);
    if ((resto * 1000000 + 142800 + control) % 97 != 1) {
        return FalloCuenta::DigitosIban;
    }
    return CccCorrecto(campo) ? FalloCuenta::Ninguno : FalloCuenta::DigitosCcc;
}

} // namespace

FalloCuenta ComprobarIBAN(std::string_view campo)
{
    if (const auto fallo = EspanolDeCifras(Recortar(campo))) [[likely]] {
        return *fallo;
    }
    return ComprobarIBANGeneral(campo);
}

FalloCuenta ComprobarIBANGeneral(std::string_view campo)
{
    campo = Recortar(campo);
    std::array<char, kMaxIban + 1> buffer {};
    const std::string_view iban = Normalizar(campo, buffer);
    if (!BienFormado(iban)) {
        return FalloCuenta::IbanNoValido;
    }
    if (!Mod97Correcto(iban)) {
        return FalloCuenta::DigitosIban;
    }
    if (iban[0] == 'e' && iban[1] == 's' && !CccCorrecto(iban)) {
        return FalloCuenta::DigitosCcc;
    }
    return FalloCuenta::Ninguno;
}

} // namespace motor
