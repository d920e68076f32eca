#include "remesa.h"

#include "campos.h"

#include <algorithm>
#include <cstdint>

namespace motor::remesa {
namespace {

bool EsDigito(char c)
{
    return c >= '0' && c <= '9';
}

bool EsMayuscula(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool EsLetra(char c)
{
    return EsMayuscula(c) || (c >= 'a' && c <= 'z');
}

// A digit or a letter as a number of the IBAN's rule: 0 to 9, A (or a) = 10
// ... Z = 35.
unsigned Valor(char c)
{
    if (EsDigito(c)) {
        return static_cast<unsigned>(c - '0');
    }
    return static_cast<unsigned>((c >= 'a' ? c - 'a' : c - 'A') + 10);
}

// 18 digits in cents: up to 9999999999999999.99, far beyond any total.
constexpr std::size_t kMaxCifrasEnteras = 16;

} // namespace

std::string_view Frase(Fallo fallo)
{
    switch (fallo) {
    case Fallo::TotalImportes:
        return "Total de importes erroneo";
    case Fallo::NumeroOrdenes:
        return "N\xFAmero de \xF3rdenes erroneo"; // "ú", "ó"
    case Fallo::NumeroRegistros:
        return "N\xFAmero de registros erroneo";
    case Fallo::IdentificadorAcreedor:
        return "Identificador del acreedor erroneo";
    case Fallo::Importe:
        return "Importe de la orden erroneo";
    case Fallo::Bic:
        return "BIC erroneo";
    case Fallo::FaltaTotales:
        return "Falta el registro de totales";
    }
    return {};
}

// One pass over the characters: every transaction's amount comes here.
std::optional<Centimos> DecimalXml(std::string_view valor)
{
    Centimos centimos = 0;
    std::size_t enteras = 0;
    std::size_t i = 0;
    for (; i < valor.size() && EsDigito(valor[i]); ++i, ++enteras) {
        centimos = centimos * 10 + static_cast<unsigned>(valor[i] - '0');
    }
    if (enteras == 0 || enteras > kMaxCifrasEnteras) {
        return std::nullopt;
    }
    std::size_t decimales = 0;
    if (i < valor.size()) {
        if (valor[i] != '.' || valor.size() - i - 1 < 1 || valor.size() - i - 1 > 2) {
            return std::nullopt;
        }
        for (++i; i < valor.size(); ++i, ++decimales) {
            if (!EsDigito(valor[i])) {
                return std::nullopt;
            }
            centimos = centimos * 10 + static_cast<unsigned>(valor[i] - '0');
        }
    }
    for (; decimales < 2; ++decimales) {
        centimos *= 10;
    }
    return centimos;
}

std::optional<unsigned long long> Cifras(std::string_view campo)
{
    if (campo.empty() || campo.size() > 19) {
        return std::nullopt;
    }
    unsigned long long valor = 0;
    for (const char c : campo) {
        if (!EsDigito(c)) {
            return std::nullopt;
        }
        valor = valor * 10 + static_cast<unsigned>(c - '0');
    }
    return valor;
}

Juicio IdentificadorAcreedor(std::string_view valor)
{
    if (valor.size() < 8 || !EsLetra(valor[0]) || !EsLetra(valor[1]) || !EsDigito(valor[2])
        || !EsDigito(valor[3])) {
        return Juicio::NoJuzgado;
    }
    // The national identifier (from the eighth character), the country and
    // the check digits, modulo 97 as they come: a remainder below 97 times
    // 100 plus a value below 100 stays small.
    std::uint64_t resto = 0;
    const auto sumar = [&resto](char c) {
        const unsigned v = Valor(c);
        resto = (resto * (v >= 10 ? 100 : 10) + v) % 97;
    };
    for (const char c : valor.substr(7)) {
        if (!EsDigito(c) && !EsLetra(c)) {
            return Juicio::Erroneo;
        }
        sumar(c);
    }
    for (const char c : valor.substr(0, 4)) {
        sumar(c);
    }
    return resto == 1 ? Juicio::Correcto : Juicio::Erroneo;
}

bool BicMalFormado(std::string_view valor)
{
    valor = Recortar(valor);
    if (valor.empty()) {
        return false;
    }
    if (valor.size() != 8 && valor.size() != 11) {
        return true;
    }
    for (std::size_t i = 0; i < valor.size(); ++i) {
        const char c = valor[i];
        const bool bien = i < 6 ? EsMayuscula(c) : EsMayuscula(c) || EsDigito(c);
        if (!bien) {
            return true;
        }
    }
    return false;
}

std::string Euros(Centimos centimos)
{
    const std::string enteros = std::to_string(centimos / 100);
    std::string texto;
    for (std::size_t i = 0; i < enteros.size(); ++i) {
        if (i != 0 && (enteros.size() - i) % 3 == 0) {
            texto += '.';
        }
        texto += enteros[i];
    }
    const auto decimos = static_cast<char>('0' + centimos % 100 / 10);
    const auto cents = static_cast<char>('0' + centimos % 10);
    return texto + ',' + decimos + cents;
}

std::string TalCual(std::string_view valor)
{
    valor = Recortar(valor);
    if (valor.empty()) {
        return "(en blanco)";
    }
    return std::string(valor);
}

void TotalesXml::Transaccion()
{
    FinTransaccion(); // one inside another (not valid by the schema): each counted once
    enTransaccion_ = true;
    importe_.reset();
}

bool TotalesXml::Importe(std::string_view valor)
{
    importe_ = DecimalXml(valor);
    return importe_ && ImporteValido(*importe_);
}

// A transaction with no amount that can be read (none, a comma, too many
// decimals, an equivalent amount instead) leaves its scopes' sums unjudged.
void TotalesXml::FinTransaccion()
{
    if (enTransaccion_) {
        grupo_.sumas.Orden(importe_);
        pago_.sumas.Orden(importe_);
        enTransaccion_ = false;
        importe_.reset();
    }
}

void TotalesXml::Declarado(
    bool deGrupo, Dato dato, std::string_view valor, unsigned long long linea)
{
    Alcance &alcance = deGrupo ? grupo_ : pago_;
    Declaracion &declaracion = dato == Dato::Numero ? alcance.numero : alcance.suma;
    declaracion.valor.emplace(valor);
    declaracion.linea = linea;
}

// Compared exactly as decimals; a control sum that is not a decimal of at
// most two places is a fault itself.
std::vector<TotalesXml::Falta> TotalesXml::Juzgar(const Alcance &alcance)
{
    std::vector<Falta> faltas;
    if (const auto &numero = alcance.numero.valor) {
        const auto valor = Cifras(*numero);
        if (valor != alcance.sumas.ordenes) {
            faltas.push_back({ Fallo::NumeroOrdenes, alcance.numero.linea,
                valor ? std::to_string(*valor) : TalCual(*numero),
                std::to_string(alcance.sumas.ordenes) });
        }
    }
    if (const auto &suma = alcance.suma.valor) {
        const auto valor = DecimalXml(*suma);
        if (!valor || (!alcance.sumas.totalIlegible && *valor != alcance.sumas.total)) {
            faltas.push_back(
                { Fallo::TotalImportes, alcance.suma.linea, valor ? Euros(*valor) : TalCual(*suma),
                    alcance.sumas.totalIlegible ? std::string("(no se puede sumar)")
                                                : Euros(alcance.sumas.total) });
        }
    }
    std::sort(faltas.begin(), faltas.end(),
        [](const Falta &a, const Falta &b) { return a.linea < b.linea; });
    return faltas;
}

} // namespace motor::remesa
