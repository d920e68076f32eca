// The account checks every checker shares: the CCC's two check digits and
// the IBAN.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace motor {

// The two check digits of an account, or "**" when the eighteen positions are
// not all digits (or a part is too short).
std::string CalcularDC(std::string_view entidad, std::string_view oficina, std::string_view cuenta);

// The same as two characters, for the checkers: inline and without a branch
// a digit, since every account of a file passes here.
inline std::array<char, 2> DigitosDeControl(
    std::string_view entidad, std::string_view oficina, std::string_view cuenta)
{
    if (entidad.size() < 4 || oficina.size() < 4 || cuenta.size() < 10) [[unlikely]] {
        return { '*', '*' };
    }
    // The CCC weights. Entity and office take the last eight, as if their
    // eight digits were preceded by two zeros.
    constexpr unsigned kPesos[10] = { 1, 2, 4, 8, 5, 10, 9, 7, 3, 6 };
    unsigned primera = 0;
    unsigned segunda = 0;
    unsigned noDigitos = 0; // any value past 9 marks a character that is not a digit
    const auto sumar = [&noDigitos](char c, unsigned peso, unsigned &suma) {
        const unsigned digito = static_cast<unsigned char>(c) - unsigned { '0' };
        noDigitos |= digito > 9 ? 1U : 0U;
        suma += digito * peso;
    };
    for (std::size_t i = 0; i < 4; ++i) {
        sumar(entidad[i], kPesos[2 + i], primera);
        sumar(oficina[i], kPesos[6 + i], primera);
    }
    for (std::size_t i = 0; i < 10; ++i) {
        sumar(cuenta[i], kPesos[i], segunda);
    }
    if (noDigitos != 0) [[unlikely]] {
        return { '*', '*' };
    }
    // 11 - suma % 11, with 11 as 0 and 10 as 1.
    const auto digito = [](unsigned suma) {
        const unsigned resto = suma % 11;
        return static_cast<char>(resto == 0 ? '0' : resto == 1 ? '1' : '0' + 11 - resto);
    };
    return { digito(primera), digito(segunda) };
}

enum class FalloCuenta {
    Ninguno,
    IbanNoValido, // empty, unknown country, wrong length or a character out of place
    DigitosIban, // the IBAN's own check digits (ISO 7064 MOD 97-10)
    DigitosCcc, // the check digits of the Spanish account inside it, or of a CCC
};

// Checks an IBAN field as it stands in a record: blanks at both ends dropped,
// letters taken in either case.
FalloCuenta ComprobarIBAN(std::string_view campo);

} // namespace motor
