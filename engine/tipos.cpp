#include "tipos.h"

#include "campos.h"

namespace motor {
namespace {

// The presenter's header of a SEPA debit file: "01", the norm's version, "001".
constexpr Campo kVersionSepa { 3, 5 };
constexpr Campo kDatoSepa { 8, 3 };

bool EsCabeceraSepa(std::string_view primeraLinea)
{
    return EmpiezaPor(primeraLinea, "01") && CampoIgual(primeraLinea, kDatoSepa, "001")
        && (CampoIgual(primeraLinea, kVersionSepa, "19143")
            || CampoIgual(primeraLinea, kVersionSepa, "19154")
            || CampoIgual(primeraLinea, kVersionSepa, "19445"));
}

} // namespace

// XML after blanks or after a UTF-16 byte-order mark; a UTF-8 one (Notepad's
// "UTF-8 with BOM") is dropped first. The SEPA files are told apart before
// the legacy ones, their first line starts "01" too.
TipoArchivo TipoFichero(std::string_view primeraLinea)
{
    if (primeraLinea.starts_with("\xFF\xFE") || primeraLinea.starts_with("\xFE\xFF")) {
        return TipoArchivo::Xml;
    }
    if (primeraLinea.starts_with("\xEF\xBB\xBF")) {
        primeraLinea.remove_prefix(3);
    }
    const std::size_t primero = primeraLinea.find_first_not_of(" \t");
    if (primero != std::string_view::npos && primeraLinea[primero] == '<') {
        return TipoArchivo::Xml;
    }
    if (EsCabeceraSepa(primeraLinea)) {
        return TipoArchivo::AdeudosSepa;
    }
    if (primeraLinea.starts_with("01ORD34145001")) {
        return TipoArchivo::TransferenciasSepa;
    }
    const std::string_view codigo = primeraLinea.substr(0, 2);
    if (codigo == "01" || codigo == "51") {
        return TipoArchivo::Adeudos;
    }
    if (codigo == "03") {
        return TipoArchivo::Transferencias;
    }
    return TipoArchivo::NoCSB;
}

TipoArchivo TipoDelInicio(std::string_view inicio)
{
    return TipoFichero(inicio.substr(0, inicio.find_first_of("\r\n")));
}

} // namespace motor
