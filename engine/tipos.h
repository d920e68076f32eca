// The kinds of order file, and how a first line tells them apart.
#pragma once

#include <string_view>

namespace motor {

// Kind of an order file, known by the start of its first line.
enum class TipoArchivo {
    Adeudos, // legacy debit orders: "01" or "51"
    Transferencias, // legacy transfer orders: "03"
    NoCSB, // anything else
    AdeudosSepa, // SEPA debits, 600-character records: "01" + "19143", "19154" or "19445" + "001"
    TransferenciasSepa, // SEPA transfers, 600-character records: "01ORD34145001"
    Xml, // an XML file, "<" first: its root element tells which message it holds
    XmlPain008, // ISO 20022 debits, pain.008.001.*
    XmlPain001, // ISO 20022 transfers, pain.001.001.*
};

TipoArchivo TipoFichero(std::string_view primeraLinea);

// The kind as one fixed ASCII word, for programs that read cotarel-check's output.
constexpr std::string_view NombreTipo(TipoArchivo tipo)
{
    switch (tipo) {
    case TipoArchivo::Adeudos:
        return "adeudos";
    case TipoArchivo::Transferencias:
        return "transferencias";
    case TipoArchivo::AdeudosSepa:
        return "adeudos-sepa";
    case TipoArchivo::TransferenciasSepa:
        return "transferencias-sepa";
    case TipoArchivo::Xml:
        return "xml";
    case TipoArchivo::XmlPain008:
        return "xml-pain008";
    case TipoArchivo::XmlPain001:
        return "xml-pain001";
    case TipoArchivo::NoCSB:
        break;
    }
    return "no-csb";
}

// The kind from the first bytes of a file, which may end anywhere in its first
// line or go on past it: only the start of the first line decides.
TipoArchivo TipoDelInicio(std::string_view inicio);

} // namespace motor
