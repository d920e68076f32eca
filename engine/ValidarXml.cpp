// ISO 20022 XML orders, pain.008 debits and pain.001 transfers, read as a
// stream with expat: only the values an error block needs are kept, so memory
// stays bounded whatever the size of the file.
#include "comprobacion.h"

#include <expat.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace modMain {
namespace {

constexpr std::string_view kEspacioPain008 = "urn:iso:std:iso:20022:tech:xsd:pain.008.001.";
constexpr std::string_view kEspacioPain001 = "urn:iso:std:iso:20022:tech:xsd:pain.001.001.";
constexpr char kSeparadorEspacio = '|'; // expat gives "namespace|local name"
constexpr std::size_t kMaxCaracteres = 140;
constexpr std::string_view kBlancosXml = " \t\r\n";

// The elements whose place matters; every other one is Otro.
enum class Elemento : unsigned char {
    Otro,
    PmtInf,
    PmtInfId,
    DrctDbtTxInf,
    CdtTrfTxInf,
    PmtId,
    EndToEndId,
    Cdtr,
    Dbtr,
    Nm,
    CdtrAcct,
    DbtrAcct,
    Id,
    IBAN,
};

Elemento Reconocer(std::string_view local)
{
    static constexpr std::pair<std::string_view, Elemento> kNombres[] = {
        { "PmtInf", Elemento::PmtInf },
        { "PmtInfId", Elemento::PmtInfId },
        { "DrctDbtTxInf", Elemento::DrctDbtTxInf },
        { "CdtTrfTxInf", Elemento::CdtTrfTxInf },
        { "PmtId", Elemento::PmtId },
        { "EndToEndId", Elemento::EndToEndId },
        { "Cdtr", Elemento::Cdtr },
        { "Dbtr", Elemento::Dbtr },
        { "Nm", Elemento::Nm },
        { "CdtrAcct", Elemento::CdtrAcct },
        { "DbtrAcct", Elemento::DbtrAcct },
        { "Id", Elemento::Id },
        { "IBAN", Elemento::IBAN },
    };
    for (const auto &[nombre, elemento] : kNombres) {
        if (nombre == local) {
            return elemento;
        }
    }
    return Elemento::Otro;
}

// Where each message keeps the accounts and the values of their blocks.
struct Mensaje
{
    TipoArchivo tipo;
    std::string_view entrada; // lead-in of the error lines
    Elemento transaccion; // DrctDbtTxInf or CdtTrfTxInf
    Elemento partePago; // the payment's party: Cdtr (pain.008) or Dbtr (pain.001)
    Elemento cuentaPago; // CdtrAcct or DbtrAcct
    Elemento parteTransaccion;
    Elemento cuentaTransaccion;
    std::string_view etiquetaNombrePago, etiquetaReferencia, etiquetaNombre;
};

constexpr std::string_view kEtiquetaIdPago = "Identificador del pago: "; // in both messages

constexpr Mensaje kPain008 { TipoArchivo::XmlPain008, "Error en linea ", Elemento::DrctDbtTxInf,
    Elemento::Cdtr, Elemento::CdtrAcct, Elemento::Dbtr, Elemento::DbtrAcct,
    "Nombre del acreedor: ", "Referencia del adeudo: ", "Nombre del deudor: " };
constexpr Mensaje kPain001 { TipoArchivo::XmlPain001, "Error en linea: ", Elemento::CdtTrfTxInf,
    Elemento::Dbtr, Elemento::DbtrAcct, Elemento::Cdtr, Elemento::CdtrAcct,
    "Nombre Ordenante: ", "Referencia: ", "Nombre del beneficiario: " };

// The values a block may need. Those of a payment or a transaction are
// emptied when the next one starts.
enum Valor { kIdPago, kNombrePago, kReferencia, kNombre, kIban, kValores };

// UTF-8 text as Windows-1252 bytes; a character that Windows-1252 lacks, or a
// malformed sequence, becomes "?".
std::string Windows1252(std::string_view utf8);

class LectorXml
{
public:
    explicit LectorXml(Comprobacion &comprobacion);
    ~LectorXml() { XML_ParserFree(parser_); }
    LectorXml(const LectorXml &) = delete;
    LectorXml &operator=(const LectorXml &) = delete;

    void Leer();

private:
    static void XMLCALL AlEmpezar(void *yo, const XML_Char *nombre, const XML_Char **);
    static void XMLCALL AlTerminar(void *yo, const XML_Char *);
    static void XMLCALL AlTexto(void *yo, const XML_Char *texto, int longitud);
    static void XMLCALL AlDeclararTipo(
        void *yo, const XML_Char *, const XML_Char *, const XML_Char *, int);

    bool Raiz(std::string_view espacio);
    Elemento Clasificar(std::string_view nombre) const;
    bool Sufijo(std::initializer_list<Elemento> ruta) const;
    void Empezar(Elemento elemento);
    void Terminar();
    void Anadir(std::string_view texto);
    void ComprobarCuenta(bool dePago);
    void NoValido() { comprobacion_.XmlNoValido(XML_GetCurrentLineNumber(parser_)); }

    Comprobacion &comprobacion_;
    XML_Parser parser_;
    const Mensaje *mensaje_ = nullptr; // known once the root element is read
    std::string espacio_; // the root's namespace
    std::vector<Elemento> pila_;
    std::string valores_[kValores];
    std::size_t caracteres_ = 0; // of the value being gathered
    int recogiendo_ = -1; // the Valor being gathered, or -1
    std::size_t profundidadRecogida_ = 0;
    bool ibanDePago_ = false;
    unsigned long long lineaIban_ = 0;
};

LectorXml::LectorXml(Comprobacion &comprobacion)
    : comprobacion_(comprobacion)
    , parser_(XML_ParserCreateNS(nullptr, kSeparadorEspacio))
{
    if (parser_ == nullptr) {
        throw std::bad_alloc();
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, AlEmpezar, AlTerminar);
    XML_SetCharacterDataHandler(parser_, AlTexto);
    // No document type declaration is taken, so no entity is ever declared,
    // let alone expanded or fetched.
    XML_SetStartDoctypeDeclHandler(parser_, AlDeclararTipo);
    XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

void LectorXml::Leer()
{
    char ultimo = '\n';
    bool fallo = false;
    while (const auto bloque = comprobacion_.SiguienteBloque()) {
        ultimo = bloque->back();
        const auto longitud = static_cast<int>(bloque->size());
        if (XML_Parse(parser_, bloque->data(), longitud, XML_FALSE) != XML_STATUS_OK) {
            fallo = true;
            break;
        }
    }
    if (comprobacion_.Detenida()) {
        return;
    }
    fallo = fallo || XML_Parse(parser_, nullptr, 0, XML_TRUE) != XML_STATUS_OK;
    // An aborted parse has already said why: a document type declaration or
    // a root of another message.
    if (fallo && XML_GetErrorCode(parser_) != XML_ERROR_ABORTED) {
        NoValido();
    }
    // Lines counted as in flat files: a last line end opens no new line.
    const unsigned long long linea = XML_GetCurrentLineNumber(parser_);
    comprobacion_.FijarNumLinea(ultimo == '\n' || ultimo == '\r' ? linea - 1 : linea);
}

void XMLCALL LectorXml::AlDeclararTipo(
    void *yo, const XML_Char *, const XML_Char *, const XML_Char *, int)
{
    auto *lector = static_cast<LectorXml *>(yo);
    lector->NoValido();
    XML_StopParser(lector->parser_, XML_FALSE);
}

// The root decides the message; another root is not an order file.
bool LectorXml::Raiz(std::string_view espacio)
{
    if (espacio.starts_with(kEspacioPain008)) {
        mensaje_ = &kPain008;
    } else if (espacio.starts_with(kEspacioPain001)) {
        mensaje_ = &kPain001;
    } else {
        comprobacion_.RechazarTipo();
        XML_StopParser(parser_, XML_FALSE);
        return false;
    }
    espacio_ = espacio;
    comprobacion_.FijarTipo(mensaje_->tipo);
    return true;
}

Elemento LectorXml::Clasificar(std::string_view nombre) const
{
    const std::size_t separador = nombre.find(kSeparadorEspacio);
    if (separador == std::string_view::npos || nombre.substr(0, separador) != espacio_) {
        return Elemento::Otro;
    }
    return Reconocer(nombre.substr(separador + 1));
}

void XMLCALL LectorXml::AlEmpezar(void *yo, const XML_Char *nombre, const XML_Char **)
{
    auto *lector = static_cast<LectorXml *>(yo);
    const std::string_view completo(nombre);
    if (lector->mensaje_ == nullptr
        && !lector->Raiz(completo.substr(0, completo.find(kSeparadorEspacio)))) {
        return;
    }
    lector->Empezar(lector->Clasificar(completo));
}

// After the parse is stopped at a root of another message, expat still reports
// the end of that root when it was an empty element: an end whose start was
// never taken, which is left alone.
void XMLCALL LectorXml::AlTerminar(void *yo, const XML_Char *)
{
    auto *lector = static_cast<LectorXml *>(yo);
    if (!lector->pila_.empty()) {
        lector->Terminar();
    }
}

void XMLCALL LectorXml::AlTexto(void *yo, const XML_Char *texto, int longitud)
{
    auto *lector = static_cast<LectorXml *>(yo);
    if (lector->recogiendo_ >= 0) {
        lector->Anadir({ texto, static_cast<std::size_t>(longitud) });
    }
}

// Whether the innermost elements are these, outermost first.
bool LectorXml::Sufijo(std::initializer_list<Elemento> ruta) const
{
    if (pila_.size() < ruta.size()) {
        return false;
    }
    return std::equal(ruta.begin(), ruta.end(), pila_.end() - static_cast<long>(ruta.size()));
}

void LectorXml::Empezar(Elemento elemento)
{
    pila_.push_back(elemento);
    const Mensaje &m = *mensaje_;
    int valor = -1;
    if (elemento == Elemento::PmtInf) {
        valores_[kIdPago].clear();
        valores_[kNombrePago].clear();
    } else if (elemento == m.transaccion) {
        valores_[kReferencia].clear();
        valores_[kNombre].clear();
    } else if (Sufijo({ Elemento::PmtInf, Elemento::PmtInfId })) {
        valor = kIdPago;
    } else if (Sufijo({ Elemento::PmtInf, m.partePago, Elemento::Nm })) {
        valor = kNombrePago;
    } else if (Sufijo({ m.transaccion, Elemento::PmtId, Elemento::EndToEndId })) {
        valor = kReferencia;
    } else if (Sufijo({ m.transaccion, m.parteTransaccion, Elemento::Nm })) {
        valor = kNombre;
    } else if (Sufijo({ Elemento::PmtInf, m.cuentaPago, Elemento::Id, Elemento::IBAN })
        || Sufijo({ m.transaccion, m.cuentaTransaccion, Elemento::Id, Elemento::IBAN })) {
        valor = kIban;
        ibanDePago_ = pila_[pila_.size() - 4] == Elemento::PmtInf;
        lineaIban_ = XML_GetCurrentLineNumber(parser_);
    }
    if (valor >= 0) {
        recogiendo_ = valor;
        profundidadRecogida_ = pila_.size();
        caracteres_ = 0;
        valores_[valor].clear();
    }
}

// Blanks at the start are dropped as they come; at most kMaxCaracteres
// characters are kept.
void LectorXml::Anadir(std::string_view texto)
{
    std::string &valor = valores_[recogiendo_];
    if (valor.empty()) {
        const std::size_t primero = texto.find_first_not_of(kBlancosXml);
        texto.remove_prefix(primero == std::string_view::npos ? texto.size() : primero);
    }
    for (const char c : texto) {
        const bool inicioCaracter = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (inicioCaracter && caracteres_ == kMaxCaracteres) {
            return;
        }
        caracteres_ += inicioCaracter ? 1 : 0;
        valor += c;
    }
}

void LectorXml::Terminar()
{
    if (recogiendo_ >= 0 && pila_.size() == profundidadRecogida_) {
        std::string &valor = valores_[recogiendo_];
        valor.erase(valor.find_last_not_of(kBlancosXml) + 1);
        if (recogiendo_ == kIban) {
            ComprobarCuenta(ibanDePago_);
        }
        recogiendo_ = -1;
    }
    pila_.pop_back();
}

void LectorXml::ComprobarCuenta(bool dePago)
{
    const FalloCuenta fallo = comprobacion_.IbanErroneo(valores_[kIban]);
    if (fallo == FalloCuenta::Ninguno) {
        return;
    }
    const Mensaje &m = *mensaje_;
    const std::string campo1 = Windows1252(valores_[dePago ? kIdPago : kReferencia]);
    const std::string campo2 = Windows1252(valores_[dePago ? kNombrePago : kNombre]);
    comprobacion_.InformarCuenta(
        { m.entrada, fallo, dePago, dePago ? kEtiquetaIdPago : m.etiquetaReferencia, campo1,
            dePago ? m.etiquetaNombrePago : m.etiquetaNombre, campo2, lineaIban_ });
}

// The characters of Windows-1252's 0x80-0x9F, from U+20AC to U+0178; zero
// where the code page has none.
constexpr char16_t kAltos1252[32] = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

char ByteWindows1252(char32_t caracter)
{
    if (caracter < 0x80 || (caracter >= 0xA0 && caracter <= 0xFF)) {
        return static_cast<char>(caracter);
    }
    for (std::size_t i = 0; i < std::size(kAltos1252); ++i) {
        if (kAltos1252[i] != 0 && kAltos1252[i] == caracter) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

std::string Windows1252(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto primero = static_cast<unsigned char>(utf8[i]);
        const std::size_t longitud = primero < 0x80 ? 1
            : primero >= 0xF0                       ? 4
            : primero >= 0xE0                       ? 3
                                                    : 2;
        char32_t caracter = longitud == 1 ? primero : primero & (0x3F >> (longitud - 1));
        for (std::size_t j = 1; j < longitud && i + j < utf8.size(); ++j) {
            caracter = (caracter << 6) | (static_cast<unsigned char>(utf8[i + j]) & 0x3F);
        }
        bytes += ByteWindows1252(caracter);
        i += longitud;
    }
    return bytes;
}

} // namespace

void ComprobarXml(Comprobacion &comprobacion)
{
    LectorXml(comprobacion).Leer();
}

} // namespace modMain
