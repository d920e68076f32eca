// The account checks every checker shares: the CCC's two check digits and
// the IBAN.
#pragma once

#include <string>
#include <string_view>

namespace motor {

// The two check digits of an account, or "**" when the eighteen positions are
// not all digits.
std::string CalcularDC(std::string_view entidad, std::string_view oficina, std::string_view cuenta);

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
