#include "EspaciosXml.h"

#include <expat.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace motor {
namespace {

constexpr std::string_view kEspacioXml = "http://www.w3.org/XML/1998/namespace";
constexpr std::string_view kEspacioXmlns = "http://www.w3.org/2000/xmlns/";
constexpr std::string_view kXmlns = "xmlns";
// What a declaration in scope costs beyond its two texts: about what expat's
// own namespace processing spends on one, so the budget holds as before.
constexpr std::size_t kCosteDeclaracion = 88;

struct NombreCualificado
{
    std::string_view prefijo; // empty: none
    std::string_view local;
};

// Whether the text starts as an XML name starts. Beyond ASCII expat's own
// tables decide, the text taken as an element's name: such names are rare.
bool EmpiezaComoNombre(std::string_view texto)
{
    const auto primero = static_cast<unsigned char>(texto.front());
    if (primero < 0x80) {
        return (primero >= 'A' && primero <= 'Z') || (primero >= 'a' && primero <= 'z')
            || primero == '_';
    }
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate("UTF-8"), XML_ParserFree);
    if (!parser) {
        return true; // no memory to ask: the name as the parser took it
    }
    const std::string elemento = "<" + std::string(texto) + "/>";
    return XML_Parse(parser.get(), elemento.data(), static_cast<int>(elemento.size()), XML_TRUE)
        == XML_STATUS_OK;
}

// "prefix:local" or "local"; nothing for a name a namespace-aware parser
// refuses: more than one colon, an empty part, or a local part that does
// not start as a name starts. The whole name is known to be an XML name.
std::optional<NombreCualificado> Partir(std::string_view nombre)
{
    const std::size_t dosPuntos = nombre.find(':');
    if (dosPuntos == std::string_view::npos) {
        return NombreCualificado { {}, nombre };
    }
    const std::string_view local = nombre.substr(dosPuntos + 1);
    if (dosPuntos == 0 || local.empty() || local.find(':') != std::string_view::npos
        || !EmpiezaComoNombre(local)) {
        return std::nullopt;
    }
    return NombreCualificado { nombre.substr(0, dosPuntos), local };
}

// A namespace declaration's prefix: "" for xmlns, the part after "xmlns:",
// nothing for any other attribute; a refused one leaves `valida` false.
std::optional<std::string_view> PrefijoDeclarado(std::string_view atributo, bool &valida)
{
    if (!atributo.starts_with(kXmlns)) {
        return std::nullopt;
    }
    if (atributo.size() == kXmlns.size()) {
        return std::string_view {};
    }
    if (atributo[kXmlns.size()] != ':') {
        return std::nullopt; // an attribute that only starts with the letters
    }
    const auto partes = Partir(atributo);
    valida = partes.has_value();
    return partes ? partes->local : std::string_view {};
}

} // namespace

bool EspaciosXml::SinEspacios(const char *const *atributos)
{
    for (; *atributos != nullptr; atributos += 2) {
        const std::string_view nombre(*atributos);
        if (nombre.starts_with(kXmlns) || nombre.find(':') != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::optional<std::string_view> EspaciosXml::EmpezarConDeclaraciones(
    const Nombre &nombre, const char *const *atributos, std::size_t profundidad)
{
    // The declarations first: they hold for the element and its attributes.
    bool conPrefijos = false;
    for (const char *const *atributo = atributos; *atributo != nullptr; atributo += 2) {
        bool valida = true;
        const auto prefijo = PrefijoDeclarado(atributo[0], valida);
        if (!valida || (prefijo && !Declarar(*prefijo, atributo[1], profundidad))) {
            return std::nullopt;
        }
        conPrefijos = conPrefijos
            || (!prefijo && std::string_view(atributo[0]).find(':') != std::string_view::npos);
    }
    const auto partes = Partir(nombre.completo);
    if (!partes || partes->prefijo == kXmlns || (conPrefijos && !AtributosValidos(atributos))) {
        return std::nullopt;
    }
    const auto espacio = Resolver(partes->prefijo);
    if (!espacio && !partes->prefijo.empty()) {
        return std::nullopt; // a prefix never declared
    }
    return espacio.value_or(std::string_view {});
}

// Every prefixed attribute's prefix declared, and no two the same name in
// the same namespace once their prefixes are resolved.
bool EspaciosXml::AtributosValidos(const char *const *atributos) const
{
    std::vector<std::pair<std::string_view, std::string_view>> expandidos;
    for (const char *const *atributo = atributos; *atributo != nullptr; atributo += 2) {
        const std::string_view nombre(atributo[0]);
        if (nombre.find(':') == std::string_view::npos || nombre.starts_with("xmlns:")) {
            continue;
        }
        const auto partes = Partir(nombre);
        const auto espacio = partes ? Resolver(partes->prefijo) : std::nullopt;
        if (!espacio) {
            return false;
        }
        expandidos.emplace_back(*espacio, partes->local);
    }
    std::sort(expandidos.begin(), expandidos.end());
    return std::adjacent_find(expandidos.begin(), expandidos.end()) == expandidos.end();
}

// What a namespace-aware parser refuses: a prefix undeclared (xmlns:p=""),
// the prefix xmlns, xml bound to anything but its own namespace or its
// namespace to another prefix, and the xmlns namespace bound at all.
bool EspaciosXml::Declarar(
    std::string_view prefijo, std::string_view espacio, std::size_t profundidad)
{
    if ((espacio.empty() && !prefijo.empty()) || prefijo == kXmlns
        || (prefijo == "xml") != (espacio == kEspacioXml) || espacio == kEspacioXmlns) {
        return false;
    }
    if (prefijo == "xml") {
        return true; // bound so from the start
    }
    const auto encontrado = enAmbito_.find(prefijo);
    Anterior anterior { std::string(prefijo), std::nullopt, profundidad };
    // What a declaration hides stays in memory, and in the count, until the
    // element that declared it ends.
    if (encontrado != enAmbito_.end()) {
        anterior.espacio = std::exchange(encontrado->second, std::string(espacio));
    } else {
        enAmbito_.emplace(prefijo, espacio);
        memoria_ += prefijo.size();
    }
    memoria_ += espacio.size() + prefijo.size() + kCosteDeclaracion;
    anteriores_.push_back(std::move(anterior));
    Cambiado();
    return true;
}

void EspaciosXml::Cambiado()
{
    ++version_;
    prefijoVisto_.reset();
    const auto encontrado = enAmbito_.find(std::string_view {});
    defecto_ = encontrado == enAmbito_.end() ? std::string_view {} : encontrado->second;
}

void EspaciosXml::Deshacer(std::size_t profundidad)
{
    while (!anteriores_.empty() && anteriores_.back().profundidad == profundidad) {
        Anterior &anterior = anteriores_.back();
        const auto encontrado = enAmbito_.find(anterior.prefijo);
        memoria_ -= encontrado->second.size() + anterior.prefijo.size() + kCosteDeclaracion;
        if (anterior.espacio) {
            encontrado->second = std::move(*anterior.espacio);
        } else {
            memoria_ -= anterior.prefijo.size();
            enAmbito_.erase(encontrado);
        }
        anteriores_.pop_back();
    }
    Cambiado();
}

std::optional<std::string_view> EspaciosXml::Resolver(std::string_view prefijo) const
{
    if (prefijo == prefijoVisto_) {
        return espacioVisto_;
    }
    std::optional<std::string_view> espacio;
    if (prefijo == "xml") {
        espacio = kEspacioXml;
    } else if (const auto encontrado = enAmbito_.find(prefijo); encontrado != enAmbito_.end()) {
        espacio = encontrado->second;
    }
    prefijoVisto_.emplace(prefijo);
    espacioVisto_ = espacio;
    return espacio;
}

} // namespace motor
