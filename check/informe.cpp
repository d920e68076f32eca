#include "informe.h"

#include "disco.h"
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
    { "correcto", motor::kProcesoTerminado },
    { "errores", motor::kProcesoConErrores },
    { "sin-cuentas", "No comprobado" },
    { "no-comprobado", "No comprobado" },
};

static_assert(std::size(kDesenlaces) == static_cast<std::size_t>(Desenlace::NoComprobado) + 1);

const NombresDesenlace &Nombres(Desenlace desenlace)
{
    return kDesenlaces[static_cast<std::size_t>(desenlace)];
}

std::string_view NombreComprobacion(motor::FalloCuenta fallo)
{
    switch (fallo) {
    case motor::FalloCuenta::DigitosIban:
        return "iban";
    case motor::FalloCuenta::IbanNoValido:
        return "iban-no-valido";
    case motor::FalloCuenta::DigitosCcc:
    case motor::FalloCuenta::Ninguno:
        break;
    }
    return "dc";
}

bool EscribirFallos(std::ostream &salida, const ListaFallos &fallos)
{
    salida << '[';
    bool primero = true;
    const bool enteros = fallos.Recorrer([&](const motor::CuentaAnotada &fallo) {
        salida << (primero ? "" : ",") << "{\"linea\":" << fallo.linea << ",\"papel\":\""
               << (fallo.ordenante ? "ordenante" : "individual") << "\",\"comprobacion\":\""
               << NombreComprobacion(fallo.fallo) << "\"}";
        primero = false;
    });
    salida << ']';
    return enteros;
}

// An XML file that ended before its root is of no known kind.
std::string TipoJson(std::optional<motor::TipoArchivo> tipo)
{
    return tipo && *tipo != motor::TipoArchivo::Xml ? TextoJson(motor::NombreTipo(*tipo)) : "null";
}

std::string TextoONulo(std::string_view texto)
{
    return texto.empty() ? "null" : TextoJson(texto);
}

bool EscribirJson(std::ostream &salida, const Informe &informe)
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
    json += ",\"errores_remesa\":"
        + (contado && informe.erroresRemesa ? std::to_string(*informe.erroresRemesa)
                                            : std::string("null"));
    json += ",\"registro\":" + TextoONulo(informe.registro);
    json += ",\"mensaje\":" + TextoONulo(informe.mensaje);
    json += ",\"fallos\":";
    salida << json;
    const bool enteros = EscribirFallos(salida, informe.fallos);
    salida << "}\n";
    return enteros;
}

std::string LineaTexto(const Informe &informe)
{
    std::string linea = informe.ruta;
    linea.append("\t").append(Nombres(informe.desenlace).texto);
    linea.append("\t").append(informe.tipo ? motor::NombreTipo(*informe.tipo) : "-");
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
        const std::size_t valido = motor::TramoUtf8Valido(texto);
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

bool EscribirLinea(std::ostream &salida, const Informe &informe, Formato formato)
{
    if (formato == Formato::Json) {
        return EscribirJson(salida, informe);
    }
    salida << LineaTexto(informe);
    return true;
}

// A record of the temporary file: the line, then whose account and what failed.
struct Registro
{
    unsigned long long linea;
    unsigned char ordenante;
    unsigned char fallo;
};

void ListaFallos::Anadir(const motor::CuentaAnotada &cuenta)
{
    if (enMemoria_.size() < kEnMemoria) {
        enMemoria_.push_back(cuenta);
        return;
    }
    if (!resto_ && !fallo_) {
        resto_.reset(std::tmpfile());
        fallo_ = !resto_;
    }
    if (fallo_) {
        return;
    }
    const Registro registro { cuenta.linea, static_cast<unsigned char>(cuenta.ordenante),
        static_cast<unsigned char>(cuenta.fallo) };
    fallo_ = motor::disco::Escribir(
                 resto_.get(), reinterpret_cast<const char *>(&registro), sizeof registro)
        != sizeof registro;
    enFichero_ += fallo_ ? 0 : 1;
}

bool ListaFallos::Recorrer(const std::function<void(const motor::CuentaAnotada &)> &visitar) const
{
    for (const auto &cuenta : enMemoria_) {
        visitar(cuenta);
    }
    if (!resto_) {
        return true;
    }
    std::FILE *fichero = resto_.get();
    if (std::fflush(fichero) != 0 || std::fseek(fichero, 0, SEEK_SET) != 0) {
        return false;
    }
    std::array<Registro, 512> registros {};
    for (std::size_t quedan = enFichero_; quedan > 0;) {
        const std::size_t cuantos = std::min(quedan, registros.size());
        const std::size_t bytes = cuantos * sizeof(Registro);
        if (motor::disco::Leer(fichero, reinterpret_cast<char *>(registros.data()), bytes)
            != bytes) {
            return false;
        }
        for (std::size_t i = 0; i < cuantos; ++i) {
            visitar({ registros[i].linea, registros[i].ordenante != 0,
                static_cast<motor::FalloCuenta>(registros[i].fallo) });
        }
        quedan -= cuantos;
    }
    return std::fseek(fichero, 0, SEEK_END) == 0;
}

void ListaFallos::Vaciar()
{
    enMemoria_.clear();
    resto_.reset();
    enFichero_ = 0;
    fallo_ = false;
}

} // namespace cotarel
