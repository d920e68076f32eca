#include "informe.h"

#include "mensajes.h"
#include "utf8.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <iterator>

namespace cotarel {

namespace {

// Each outcome's word for programs and its text for people, in the order of
// Desenlace.
struct NombresDesenlace
{
    std::string_view json;
    std::string_view texto;
};

constexpr NombresDesenlace kDesenlaces[] = {
    { "correcto", modMain::kProcesoTerminado },
    { "errores", modMain::kProcesoConErrores },
    { "sin-cuentas", "No comprobado" },
    { "no-comprobado", "No comprobado" },
};

static_assert(std::size(kDesenlaces) == static_cast<std::size_t>(Desenlace::NoComprobado) + 1);

const NombresDesenlace &Nombres(Desenlace desenlace)
{
    return kDesenlaces[static_cast<std::size_t>(desenlace)];
}

std::string_view NombreComprobacion(modMain::FalloCuenta fallo)
{
    switch (fallo) {
    case modMain::FalloCuenta::DigitosIban:
        return "iban";
    case modMain::FalloCuenta::IbanNoValido:
        return "iban-no-valido";
    case modMain::FalloCuenta::DigitosCcc:
    case modMain::FalloCuenta::Ninguno:
        break;
    }
    return "dc";
}

std::string Fallos(const std::vector<modMain::CuentaAnotada> &fallos)
{
    auto lista = nlohmann::ordered_json::array();
    for (const auto &fallo : fallos) {
        lista.push_back(
            { { "linea", fallo.linea }, { "papel", fallo.ordenante ? "ordenante" : "individual" },
                { "comprobacion", NombreComprobacion(fallo.fallo) } });
    }
    return lista.dump();
}

// An XML file that ended before its root is of no known kind.
std::string TipoJson(std::optional<modMain::TipoArchivo> tipo)
{
    return tipo && *tipo != modMain::TipoArchivo::Xml ? TextoJson(modMain::NombreTipo(*tipo))
                                                      : "null";
}

std::string TextoONulo(std::string_view texto)
{
    return texto.empty() ? "null" : TextoJson(texto);
}

std::string LineaJson(const Informe &informe)
{
    const bool contado = informe.comprobadas.has_value();
    std::string json = "{\"ruta\":" + TextoJson(informe.ruta);
    json += ",\"tipo\":" + TipoJson(informe.tipo);
    json += ",\"resultado\":" + TextoJson(Nombres(informe.desenlace).json);
    json += ",\"cuentas_comprobadas\":"
        + (contado ? std::to_string(*informe.comprobadas) : std::string("null"));
    json += ",\"cuentas_erroneas\":"
        + (contado ? std::to_string(informe.erroneas) : std::string("null"));
    json += ",\"cuentas_sin_iban\":"
        + (contado ? std::to_string(informe.sinIban) : std::string("null"));
    json += ",\"registro\":" + TextoONulo(informe.registro);
    json += ",\"mensaje\":" + TextoONulo(informe.mensaje);
    json += ",\"fallos\":" + Fallos(informe.fallos);
    return json + "}\n";
}

std::string LineaTexto(const Informe &informe)
{
    std::string linea = informe.ruta;
    linea.append("\t").append(Nombres(informe.desenlace).texto);
    linea.append("\t").append(informe.tipo ? modMain::NombreTipo(*informe.tipo) : "-");
    linea.append("\t").append(std::to_string(informe.erroneas));
    if (!informe.registro.empty()) {
        linea.append("\t").append(informe.registro);
    }
    return linea + "\n";
}

} // namespace

std::string TextoJson(std::string_view texto)
{
    std::string json = "\"";
    while (!texto.empty()) {
        const std::size_t valido = modMain::TramoUtf8Valido(texto);
        // The library escapes what JSON needs escaped in the valid part.
        const std::string parte = nlohmann::json(std::string(texto.substr(0, valido))).dump();
        json.append(parte, 1, parte.size() - 2);
        texto.remove_prefix(valido);
        if (!texto.empty()) {
            std::array<char, 8> escape {};
            std::snprintf(escape.data(), escape.size(), "\\udc%02x",
                static_cast<unsigned char>(texto.front()));
            json += escape.data();
            texto.remove_prefix(1);
        }
    }
    return json + "\"";
}

std::string Linea(const Informe &informe, Formato formato)
{
    return formato == Formato::Json ? LineaJson(informe) : LineaTexto(informe);
}

} // namespace cotarel
