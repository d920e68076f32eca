// ISO 20022 XML orders, pain.008 debits and pain.001 transfers, read as a
// stream with expat: only the values an error block needs are kept, so memory
// stays bounded whatever the size of the file.
#include "EspaciosXml.h"
#include "ascii.h"
#include "comprobacion.h"
#include "remesa.h"
#include "utf8.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace motor {
namespace {

// The root's namespace names the message, whatever the version, the schema's
// owner (ISO, the German or the Swiss banks) and the way it is written.
constexpr std::string_view kEspacioPain008 = "pain.008.";
constexpr std::string_view kEspacioPain001 = "pain.001.";

// The limits that keep memory and time bounded whatever the file's shape. A
// real order nests about ten levels deep, declares a handful of namespaces,
// uses some hundred distinct names and puts at most a few kilobytes between
// two events (a start tag with its attributes, a comment); a file past any of
// these is not an order a bank would take, and is refused as not valid.
constexpr std::size_t kMaxProfundidad = 100;
constexpr std::size_t kMaxBytesSinEvento = 1 << 20;
constexpr std::size_t kPresupuestoMemoria = 6 << 20; // all that expat allocates
constexpr std::size_t kTrozo = 64 << 10; // fed at a time, so the limits are seen soon
constexpr std::size_t kMaxCaracteres = 140;
// The blanks of XML, dropped at both ends of a value.
bool EsBlancoXml(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

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
    Othr,
    OrgnlDbtrAcct,
    GrpHdr,
    NbOfTxs,
    CtrlSum,
    Amt,
    InstdAmt,
    FinInstnId,
    BIC,
    BICFI,
    CdtrSchmeId,
    PrvtId,
};

// By length first: most names of an order are none of these, and are told
// apart without comparing a byte. Within a length, compared as words of a
// known size, which needs no library call.
// The name's bytes against a known name of its length, as two words that
// may overlap: no library call, whatever the length.
template <typename Palabra, std::size_t N>
bool DosPalabrasIguales(const char *texto, const char (&nombre)[N])
{
    constexpr std::size_t n = N - 1;
    Palabra a1, a2, b1, b2;
    std::memcpy(&a1, texto, sizeof(Palabra));
    std::memcpy(&b1, nombre, sizeof(Palabra));
    std::memcpy(&a2, texto + n - sizeof(Palabra), sizeof(Palabra));
    std::memcpy(&b2, nombre + n - sizeof(Palabra), sizeof(Palabra));
    return ((a1 ^ b1) | (a2 ^ b2)) == 0;
}

template <std::size_t N> bool MismoNombre(const char *texto, const char (&nombre)[N])
{
    constexpr std::size_t n = N - 1;
    if constexpr (n >= 8) {
        static_assert(n <= 16);
        return DosPalabrasIguales<std::uint64_t>(texto, nombre);
    } else if constexpr (n >= 4) {
        return DosPalabrasIguales<std::uint32_t>(texto, nombre);
    } else {
        return DosPalabrasIguales<std::uint16_t>(texto, nombre);
    }
}

[[gnu::always_inline]] inline Elemento Reconocer(std::string_view local)
{
    const auto es = [local]<std::size_t N>(
                        const char(&nombre)[N]) { return MismoNombre(local.data(), nombre); };
    switch (local.size()) {
    case 2:
        return es("Nm") ? Elemento::Nm : es("Id") ? Elemento::Id : Elemento::Otro;
    case 3:
        return es("Amt") ? Elemento::Amt : es("BIC") ? Elemento::BIC : Elemento::Otro;
    case 4:
        return es("IBAN") ? Elemento::IBAN
            : es("Cdtr")  ? Elemento::Cdtr
            : es("Dbtr")  ? Elemento::Dbtr
            : es("Othr")  ? Elemento::Othr
                          : Elemento::Otro;
    case 5:
        return es("PmtId") ? Elemento::PmtId : es("BICFI") ? Elemento::BICFI : Elemento::Otro;
    case 6:
        return es("PmtInf") ? Elemento::PmtInf
            : es("GrpHdr")  ? Elemento::GrpHdr
            : es("PrvtId")  ? Elemento::PrvtId
                            : Elemento::Otro;
    case 7:
        return es("NbOfTxs") ? Elemento::NbOfTxs
            : es("CtrlSum")  ? Elemento::CtrlSum
                             : Elemento::Otro;
    case 8:
        return es("CdtrAcct") ? Elemento::CdtrAcct
            : es("DbtrAcct")  ? Elemento::DbtrAcct
            : es("PmtInfId")  ? Elemento::PmtInfId
            : es("InstdAmt")  ? Elemento::InstdAmt
                              : Elemento::Otro;
    case 10:
        return es("EndToEndId") ? Elemento::EndToEndId
            : es("FinInstnId")  ? Elemento::FinInstnId
                                : Elemento::Otro;
    case 11:
        return es("CdtTrfTxInf") ? Elemento::CdtTrfTxInf
            : es("CdtrSchmeId")  ? Elemento::CdtrSchmeId
                                 : Elemento::Otro;
    case 12:
        return es("DrctDbtTxInf") ? Elemento::DrctDbtTxInf : Elemento::Otro;
    case 13:
        return es("OrgnlDbtrAcct") ? Elemento::OrgnlDbtrAcct : Elemento::Otro;
    default:
        return Elemento::Otro;
    }
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
    bool conEnmiendas; // a mandate amendment may give the debtor's original account
    std::string_view etiquetaNombrePago, etiquetaReferencia, etiquetaNombre;
    bool conAcreedor; // creditor identifiers (pain.008)
    bool importeEnAmt; // the transaction's amount inside Amt (pain.001)
};

constexpr std::string_view kEtiquetaIdPago = "Identificador del pago: "; // in both messages

constexpr Mensaje kPain008 { TipoArchivo::XmlPain008, "Error en linea ", Elemento::DrctDbtTxInf,
    Elemento::Cdtr, Elemento::CdtrAcct, Elemento::Dbtr, Elemento::DbtrAcct, true,
    "Nombre del acreedor: ", "Referencia del adeudo: ", "Nombre del deudor: ", true, false };
constexpr Mensaje kPain001 { TipoArchivo::XmlPain001, "Error en linea: ", Elemento::CdtTrfTxInf,
    Elemento::Dbtr, Elemento::DbtrAcct, Elemento::Cdtr, Elemento::CdtrAcct, false,
    "Nombre Ordenante: ", "Referencia: ", "Nombre del beneficiario: ", false, true };

// The values a block may need. Those of a payment or a transaction are
// emptied when the next one starts.
enum Valor {
    kIdPago,
    kNombrePago,
    kReferencia,
    kNombre,
    kIban,
    kImporte,
    kBic,
    kIdAcreedor,
    kNumero, // NbOfTxs
    kSuma, // CtrlSum
    kValores
};

// A transaction's faulty account, or a fault of the order itself (its
// amount, a BIC, a creditor identifier), reported when the transaction ends,
// when its debtor's or creditor's name and its reference are known.
struct CuentaPendiente
{
    FalloCuenta fallo; // Ninguno: a fault of the order
    remesa::Fallo orden;
    unsigned long long linea;
    std::size_t transaccion; // where the transaction that holds it lies in the stack
    std::string identificador = {}; // a creditor identifier's, shown in its block
};

// More pending accounts than any real transaction holds are reported at once.
constexpr std::size_t kMaxPendientes = 64;

// The single-byte encodings Spanish office software declares that expat
// lacks, by their labels, case-blind.
struct Codificacion
{
    std::string_view etiqueta;
    char32_t (*caracter)(unsigned char);
};

constexpr Codificacion kCodificaciones[] = {
    { "windows-1252", CaracterWindows1252 },
    { "cp1252", CaracterWindows1252 },
    { "x-cp1252", CaracterWindows1252 },
    { "iso-8859-15", CaracterLatin9 },
    { "latin-9", CaracterLatin9 },
    { "latin9", CaracterLatin9 },
};

// expat's memory, counted against a budget. Its allocator functions take no
// argument of ours: the budget of the parse running on this thread is reached
// through a thread-local pointer, set for the reader's lifetime.
struct Presupuesto
{
    std::size_t usados = 0;
    bool excedido = false;
};

thread_local Presupuesto *presupuestoActual = nullptr;

struct alignas(std::max_align_t) Cabecera
{
    std::size_t tamano;
};

void *Reservar(void *anterior, std::size_t tamano)
{
    Presupuesto &presupuesto = *presupuestoActual;
    const std::size_t antes = anterior ? (static_cast<Cabecera *>(anterior) - 1)->tamano : 0;
    // While a block grows, the old one and the new may both be in memory.
    if (presupuesto.usados + tamano > kPresupuestoMemoria) {
        presupuesto.excedido = true;
        return nullptr;
    }
    void *bloque = std::realloc(
        anterior ? static_cast<Cabecera *>(anterior) - 1 : nullptr, sizeof(Cabecera) + tamano);
    if (bloque == nullptr) {
        return nullptr;
    }
    presupuesto.usados = presupuesto.usados - antes + tamano;
    static_cast<Cabecera *>(bloque)->tamano = tamano;
    return static_cast<Cabecera *>(bloque) + 1;
}

void *XMLCALL ReservarNuevo(std::size_t tamano)
{
    return Reservar(nullptr, tamano);
}

void *XMLCALL Rereservar(void *anterior, std::size_t tamano)
{
    return Reservar(anterior, tamano);
}

void XMLCALL Liberar(void *bloque)
{
    if (bloque != nullptr) {
        Cabecera *cabecera = static_cast<Cabecera *>(bloque) - 1;
        presupuestoActual->usados -= cabecera->tamano;
        std::free(cabecera);
    }
}

constexpr XML_Memory_Handling_Suite kMemoria { ReservarNuevo, Rereservar, Liberar };

XML_Parser CrearParser(Presupuesto &presupuesto)
{
    presupuestoActual = &presupuesto;
    // Without expat's namespace processing: EspaciosXml does it for less.
    return XML_ParserCreate_MM(nullptr, &kMemoria, nullptr);
}

class LectorXml
{
public:
    explicit LectorXml(Comprobacion &comprobacion);
    ~LectorXml()
    {
        XML_ParserFree(parser_);
        presupuestoActual = nullptr;
    }
    LectorXml(const LectorXml &) = delete;
    LectorXml &operator=(const LectorXml &) = delete;

    void Leer();

private:
    static void XMLCALL AlEmpezar(void *yo, const XML_Char *nombre, const XML_Char **atributos);
    static void XMLCALL AlInstruccion(void *yo, const XML_Char *destino, const XML_Char *);
    static void XMLCALL AlComentario(void *yo, const XML_Char *);
    static void XMLCALL AlTerminar(void *yo, const XML_Char *);
    static void XMLCALL AlTexto(void *yo, const XML_Char *texto, int longitud);
    static void XMLCALL AlTextoVigilado(void *yo, const XML_Char *, int);
    void ManejarTexto(XML_CharacterDataHandler manejador);
    static void XMLCALL AlDeclararTipo(
        void *yo, const XML_Char *, const XML_Char *, const XML_Char *, int);
    static int XMLCALL AlDesconocerCodificacion(
        void *yo, const XML_Char *nombre, XML_Encoding *codificacion);

    bool Raiz(std::string_view espacio);
    bool EsDeLaRaiz(std::string_view espacio)
    {
        if (espacio.data() != espacioVisto_.data() || espacio.size() != espacioVisto_.size()
            || espacios_.Version() != versionVista_) {
            espacioVisto_ = espacio;
            versionVista_ = espacios_.Version();
            vistoEsRaiz_ = espacio == espacio_;
        }
        return vistoEsRaiz_;
    }
    [[gnu::noinline]] void EmpezarDespacio(const XML_Char *nombre, const XML_Char **atributos);
    void Empezar(Elemento elemento, bool conFinal);
    [[gnu::noinline]] void EmpezarConocido(Elemento elemento);
    bool Sufijo(std::initializer_list<Elemento> ruta) const;
    int ValorDe(Elemento elemento);
    [[gnu::noinline]] void Terminar();
    void Anadir(std::string_view texto);
    [[gnu::noinline]] static void AnadirHastaElLimite(std::string &valor, std::string_view texto);
    void AnotarLinea();
    void SaberLinea();
    void ComprobarCuenta(bool dePago);
    void ValorDeRemesa(int valor);
    void FaltaDeOrden(remesa::Fallo fallo, std::string identificador = {});
    void InformarTotales(const std::vector<remesa::TotalesXml::Falta> &faltas);
    void InformarPendientes(std::size_t desde);
    std::size_t TransaccionInterior() const;
    bool EnTransaccion() const;
    void NoValido() { comprobacion_.XmlNoValido(XML_GetCurrentLineNumber(parser_)); }

    bool Alimentar(std::string_view bloque);
    void Pasado();

    Comprobacion &comprobacion_;
    Presupuesto presupuesto_;
    EspaciosXml espacios_ { presupuesto_.usados };
    XML_Parser parser_;
    std::size_t bytesSinEvento_ = 0;
    bool pasado_ = false; // a limit was passed
    const Mensaje *mensaje_ = nullptr; // known once the root element is read
    std::string espacio_; // the root's namespace
    // The last namespace compared with the root's, while no declaration has
    // changed: an order's elements share one.
    std::string_view espacioVisto_;
    unsigned long long versionVista_ = 0;
    bool vistoEsRaiz_ = false;
    // The declarations' version under which the default namespace was last
    // found to be the root's: while it holds, an element with neither a
    // prefix nor attributes is in the root's namespace with no more asking.
    unsigned long long versionDefectoRaiz_ = 0;
    // The open elements, outermost first, and whether each has work to do
    // when it ends (a value gathered, a transaction's accounts reported,
    // declarations going out of scope): most have none.
    std::array<Elemento, kMaxProfundidad> pila_ {};
    std::array<bool, kMaxProfundidad> conFinal_ {};
    std::size_t profundidad_ = 0;
    std::string valores_[kValores];
    int recogiendo_ = -1; // the Valor being gathered, or -1
    XML_CharacterDataHandler manejadorTexto_ = nullptr; // the one expat has
    std::size_t profundidadRecogida_ = 0; // where the element gathered lies in pila_
    bool ibanDePago_ = false;
    unsigned long long lineaValor_ = 0;
    // Where the IBAN being read starts, in bytes, while its line is not yet
    // known; and whether line breaks are single bytes (CR and LF), as in
    // every encoding an order comes in but UTF-16.
    unsigned long long indiceValor_ = 0;
    bool lineaPendiente_ = false;
    bool saltosDeUnByte_ = false;
    std::vector<CuentaPendiente> pendientes_;
    remesa::TotalesXml totales_;
    bool valorDeGrupo_ = false; // the count or sum gathered is the group header's
    std::size_t transaccionAbierta_ = 0; // transactions open, one inside another
    std::vector<std::pair<std::string, std::string>> exteriores_; // their reference and name
};

LectorXml::LectorXml(Comprobacion &comprobacion)
    : comprobacion_(comprobacion)
    , parser_(CrearParser(presupuesto_))
{
    if (parser_ == nullptr) {
        throw std::bad_alloc();
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, AlEmpezar, AlTerminar);
    XML_SetProcessingInstructionHandler(parser_, AlInstruccion);
    XML_SetCommentHandler(parser_, AlComentario);
    // No document type declaration is taken, so no entity is ever declared,
    // let alone expanded or fetched.
    XML_SetStartDoctypeDeclHandler(parser_, AlDeclararTipo);
    XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetUnknownEncodingHandler(parser_, AlDesconocerCodificacion, this);
}

// An encoding expat lacks is taken when it is one of ours; any other ends the
// run at line 1 with the declared name.
int XMLCALL LectorXml::AlDesconocerCodificacion(
    void *yo, const XML_Char *nombre, XML_Encoding *codificacion)
{
    const std::string_view declarada(nombre);
    for (const auto &[etiqueta, caracter] : kCodificaciones) {
        if (IgualesSinMayusculas(declarada, etiqueta)) {
            for (int byte = 0; byte < 256; ++byte) {
                codificacion->map[byte]
                    = static_cast<int>(caracter(static_cast<unsigned char>(byte)));
            }
            codificacion->data = nullptr;
            codificacion->convert = nullptr;
            codificacion->release = nullptr;
            return XML_STATUS_OK;
        }
    }
    static_cast<LectorXml *>(yo)->comprobacion_.XmlCodificacionDesconocida(declarada);
    return XML_STATUS_ERROR;
}

// Whether the file's last bytes end a line: CR or LF, in UTF-16 little
// endian followed by a zero byte.
bool TerminaEnFinDeLinea(char penultimo, char ultimo)
{
    const auto esFin = [](char c) { return c == '\n' || c == '\r'; };
    return esFin(ultimo) || (ultimo == '\0' && esFin(penultimo));
}

// By its first two bytes: a byte order mark, or "<" followed by a zero byte
// (little endian without one; a file that starts with a zero byte is not
// taken as XML at all).
bool EsUtf16(std::string_view inicio)
{
    const std::string_view dos = inicio.substr(0, 2);
    return dos == "\xFE\xFF" || dos == "\xFF\xFE" || dos == std::string_view("<\0", 2);
}

// Line breaks as expat counts them in single-byte breaks: CR, LF, or the two
// in turn as one.
unsigned long long SaltosDeLinea(std::string_view bytes)
{
    unsigned long long saltos = 0;
    char anterior = '\0';
    for (const char c : bytes) {
        saltos += c == '\r' || (c == '\n' && anterior != '\r') ? 1 : 0;
        anterior = c;
    }
    return saltos;
}

void LectorXml::Leer()
{
    char penultimo = '\0';
    char ultimo = '\n';
    bool fallo = false;
    bool primero = true;
    while (const auto bloque = comprobacion_.SiguienteBloque()) {
        if (std::exchange(primero, false)) {
            saltosDeUnByte_ = !EsUtf16(*bloque);
        }
        penultimo = bloque->size() > 1 ? (*bloque)[bloque->size() - 2] : ultimo;
        ultimo = bloque->back();
        if (!Alimentar(*bloque)) {
            fallo = true;
            break;
        }
    }
    if (comprobacion_.Detenida()) {
        return;
    }
    fallo = fallo || XML_Parse(parser_, nullptr, 0, XML_TRUE) != XML_STATUS_OK;
    if (presupuesto_.excedido) {
        Pasado();
    } else if (fallo && XML_GetErrorCode(parser_) == XML_ERROR_NO_MEMORY) {
        comprobacion_.SinMemoria(); // the system refused what the budget allowed
    } else if (fallo && XML_GetErrorCode(parser_) != XML_ERROR_ABORTED) {
        // An aborted parse has already said why: a document type declaration,
        // a root of another message or a limit passed.
        NoValido();
    }
    // Lines counted as in flat files: a last line end opens no new line.
    const unsigned long long linea = XML_GetCurrentLineNumber(parser_);
    comprobacion_.FijarNumLinea(TerminaEnFinDeLinea(penultimo, ultimo) ? linea - 1 : linea);
}

// The block in pieces, each counted as bytes with no event until a handler
// runs: an unfinished token that grows without end (a comment, an attribute)
// is refused once it passes the limit, before expat rescans it again.
// Text counts as an event, but expat is told of text only where it matters
// (reporting every run of blanks between tags would cost it more than the
// whole check): while a value is gathered, and in a piece until its first
// text, after which no text of that piece changes the count (an element's
// start or end sets it to zero as well).
bool LectorXml::Alimentar(std::string_view bloque)
{
    while (!bloque.empty()) {
        const std::string_view trozo = bloque.substr(0, kTrozo);
        bloque.remove_prefix(trozo.size());
        if (recogiendo_ < 0) {
            ManejarTexto(AlTextoVigilado);
        }
        if (XML_Parse(parser_, trozo.data(), static_cast<int>(trozo.size()), XML_FALSE)
            != XML_STATUS_OK) {
            return false;
        }
        if (lineaPendiente_) {
            SaberLinea(); // before the next piece moves its bytes out
        }
        bytesSinEvento_ += trozo.size();
        if (bytesSinEvento_ > kMaxBytesSinEvento) {
            Pasado();
            return false;
        }
    }
    return true;
}

// A limit passed, or a name refused: not valid, at the line reached.
void LectorXml::Pasado()
{
    if (!pasado_) {
        pasado_ = true;
        NoValido();
        XML_StopParser(parser_, XML_FALSE);
    }
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
    if (espacio.find(kEspacioPain008) != std::string_view::npos) {
        mensaje_ = &kPain008;
    } else if (espacio.find(kEspacioPain001) != std::string_view::npos) {
        mensaje_ = &kPain001;
    } else {
        comprobacion_.RechazarTipo();
        XML_StopParser(parser_, XML_FALSE);
        return false;
    }
    espacio_ = espacio;
    comprobacion_.FijarTipo(mensaje_->tipo);
    comprobacion_.ComprobarRemesa();
    return true;
}

// An element in the root's namespace is known by its local name; any other
// is not one of ours. Most elements of an order have neither a prefix nor
// attributes, in a default namespace already known to be the root's, and
// take the short way.
void XMLCALL LectorXml::AlEmpezar(void *yo, const XML_Char *nombre, const XML_Char **atributos)
{
    auto *lector = static_cast<LectorXml *>(yo);
    lector->bytesSinEvento_ = 0;
    const auto medido = EspaciosXml::Medir(nombre);
    if (atributos[0] == nullptr && !medido.conDosPuntos
        && lector->espacios_.Version() == lector->versionDefectoRaiz_
        && lector->profundidad_ < kMaxProfundidad) [[likely]] {
        lector->Empezar(Reconocer(medido.completo), false);
    } else {
        lector->EmpezarDespacio(nombre, atributos);
    }
}

// The element's namespace resolved in full. A name or a namespace
// declaration that a namespace-aware parser refuses makes the file not
// valid, as the memory its declarations would take past the budget, or
// nesting past the limit.
void LectorXml::EmpezarDespacio(const XML_Char *nombre, const XML_Char **atributos)
{
    const auto medido = EspaciosXml::Medir(nombre);
    if (profundidad_ == kMaxProfundidad) {
        Pasado();
        return;
    }
    const auto espacio = espacios_.Empezar(medido, atributos, profundidad_);
    if (!espacio || presupuesto_.usados > kPresupuestoMemoria) {
        Pasado();
        return;
    }
    if (mensaje_ == nullptr && !Raiz(*espacio)) {
        return;
    }
    const bool deLaRaiz = EsDeLaRaiz(*espacio);
    if (deLaRaiz && !medido.conDosPuntos) {
        versionDefectoRaiz_ = espacios_.Version();
    }
    // Its declarations, if any, go out of scope at its end.
    Empezar(deLaRaiz ? Reconocer(medido.Local()) : Elemento::Otro, true);
}

// A processing instruction or a comment is an event, as an element is: many
// small ones in a row are no token growing without end.
void XMLCALL LectorXml::AlInstruccion(void *yo, const XML_Char *destino, const XML_Char *)
{
    auto *lector = static_cast<LectorXml *>(yo);
    lector->bytesSinEvento_ = 0;
    if (!EspaciosXml::DestinoValido(destino)) {
        lector->Pasado();
    }
}

void XMLCALL LectorXml::AlComentario(void *yo, const XML_Char *)
{
    static_cast<LectorXml *>(yo)->bytesSinEvento_ = 0;
}

// After the parse is stopped at a root of another message, expat still reports
// the end of that root when it was an empty element: an end whose start was
// never taken, which is left alone.
void XMLCALL LectorXml::AlTerminar(void *yo, const XML_Char *)
{
    auto *lector = static_cast<LectorXml *>(yo);
    lector->bytesSinEvento_ = 0;
    if (lector->profundidad_ != 0 && !lector->pasado_) [[likely]] {
        --lector->profundidad_;
        if (lector->conFinal_[lector->profundidad_]) {
            lector->Terminar();
        }
    }
}

void LectorXml::ManejarTexto(XML_CharacterDataHandler manejador)
{
    if (manejador != manejadorTexto_) {
        manejadorTexto_ = manejador;
        XML_SetCharacterDataHandler(parser_, manejador);
    }
}

// The first text in a piece: the count starts again.
void XMLCALL LectorXml::AlTextoVigilado(void *yo, const XML_Char *, int)
{
    auto *lector = static_cast<LectorXml *>(yo);
    lector->bytesSinEvento_ = 0;
    lector->ManejarTexto(nullptr);
}

// Only while a value is gathered.
void XMLCALL LectorXml::AlTexto(void *yo, const XML_Char *texto, int longitud)
{
    auto *lector = static_cast<LectorXml *>(yo);
    lector->bytesSinEvento_ = 0;
    if (lector->recogiendo_ >= 0) {
        lector->Anadir({ texto, static_cast<std::size_t>(longitud) });
    }
}

// Whether the innermost elements are these, outermost first.
// Compared element by element, from the outermost: the library's equal
// would call memcmp for these few bytes, several times a transaction.
bool LectorXml::Sufijo(std::initializer_list<Elemento> ruta) const
{
    if (profundidad_ < ruta.size()) {
        return false;
    }
    const Elemento *abierto = pila_.data() + (profundidad_ - ruta.size());
    for (const Elemento elemento : ruta) {
        if (*abierto++ != elemento) {
            return false;
        }
    }
    return true;
}

// Which value an element starts, by the innermost element first: most
// elements of an order are none of these and cost one comparison.
int LectorXml::ValorDe(Elemento elemento)
{
    const Mensaje &m = *mensaje_;
    const Elemento padre = profundidad_ >= 2 ? pila_[profundidad_ - 2] : Elemento::Otro;
    switch (elemento) {
    case Elemento::PmtInfId:
        return Sufijo({ Elemento::PmtInf, Elemento::PmtInfId }) ? kIdPago : -1;
    case Elemento::Nm:
        return Sufijo({ Elemento::PmtInf, m.partePago, Elemento::Nm })    ? kNombrePago
            : Sufijo({ m.transaccion, m.parteTransaccion, Elemento::Nm }) ? kNombre
                                                                          : -1;
    case Elemento::EndToEndId:
        return Sufijo({ m.transaccion, Elemento::PmtId, Elemento::EndToEndId }) ? kReferencia : -1;
    case Elemento::IBAN:
        if (Sufijo({ Elemento::PmtInf, m.cuentaPago, Elemento::Id, Elemento::IBAN })
            || Sufijo({ m.transaccion, m.cuentaTransaccion, Elemento::Id, Elemento::IBAN })) {
            ibanDePago_ = pila_[profundidad_ - 4] == Elemento::PmtInf;
        } else if (m.conEnmiendas
            && Sufijo({ Elemento::OrgnlDbtrAcct, Elemento::Id, Elemento::IBAN })
            && EnTransaccion()) {
            ibanDePago_ = false; // checked as the transaction's account
        } else {
            return -1;
        }
        AnotarLinea();
        return kIban;
    case Elemento::Othr:
        if (Sufijo({ Elemento::PmtInf, m.cuentaPago, Elemento::Id, Elemento::Othr })
            || Sufijo({ m.transaccion, m.cuentaTransaccion, Elemento::Id, Elemento::Othr })) {
            comprobacion_.CuentaSinIban(); // legitimate outside SEPA, and not checkable
        }
        return -1;
    case Elemento::InstdAmt:
        if (!(m.importeEnAmt ? Sufijo({ m.transaccion, Elemento::Amt, Elemento::InstdAmt })
                             : Sufijo({ m.transaccion, Elemento::InstdAmt }))) {
            return -1;
        }
        AnotarLinea();
        return kImporte;
    case Elemento::BIC:
    case Elemento::BICFI:
        if (padre != Elemento::FinInstnId) {
            return -1;
        }
        AnotarLinea();
        return kBic;
    case Elemento::Id:
        // Not an amendment's original creditor's (OrgnlCdtrSchmeId): another name.
        if (!m.conAcreedor || padre != Elemento::Othr
            || !Sufijo({ Elemento::CdtrSchmeId, Elemento::Id, Elemento::PrvtId, Elemento::Othr,
                Elemento::Id })) {
            return -1;
        }
        AnotarLinea();
        return kIdAcreedor;
    case Elemento::NbOfTxs:
    case Elemento::CtrlSum:
        if (padre != Elemento::GrpHdr && padre != Elemento::PmtInf) {
            return -1;
        }
        valorDeGrupo_ = padre == Elemento::GrpHdr;
        AnotarLinea();
        return elemento == Elemento::NbOfTxs ? kNumero : kSuma;
    default:
        return -1;
    }
}

void LectorXml::Empezar(Elemento elemento, bool conFinal)
{
    pila_[profundidad_] = elemento;
    conFinal_[profundidad_] = conFinal;
    ++profundidad_;
    if (elemento != Elemento::Otro) {
        EmpezarConocido(elemento);
    }
}

// One of ours: it may start a payment, a transaction or a value.
void LectorXml::EmpezarConocido(Elemento elemento)
{
    if (elemento == Elemento::PmtInf) {
        valores_[kIdPago].clear();
        valores_[kNombrePago].clear();
        totales_.Pago();
        conFinal_[profundidad_ - 1] = true;
        return;
    }
    if (elemento == mensaje_->transaccion) {
        // A transaction inside another (not valid by the schema, yet
        // well-formed) keeps the outer one's values and faulty accounts for
        // when the outer one ends.
        if (transaccionAbierta_ > 0) {
            exteriores_.push_back(
                { std::move(valores_[kReferencia]), std::move(valores_[kNombre]) });
        }
        ++transaccionAbierta_;
        totales_.Transaccion();
        valores_[kReferencia].clear();
        valores_[kNombre].clear();
        conFinal_[profundidad_ - 1] = true;
        return;
    }
    const int valor = ValorDe(elemento);
    if (valor >= 0) {
        recogiendo_ = valor;
        profundidadRecogida_ = profundidad_ - 1;
        conFinal_[profundidadRecogida_] = true;
        valores_[valor].clear();
        ManejarTexto(AlTexto);
    }
}

// Blanks at the start are dropped as they come; at most kMaxCaracteres
// characters are kept. While the value has no more bytes than that, it has
// no more characters either, and a piece is appended whole without counting.
void LectorXml::Anadir(std::string_view texto)
{
    std::string &valor = valores_[recogiendo_];
    if (valor.empty()) {
        while (!texto.empty() && EsBlancoXml(texto.front())) {
            texto.remove_prefix(1);
        }
    }
    if (valor.size() + texto.size() <= kMaxCaracteres) [[likely]] {
        valor += texto;
        return;
    }
    AnadirHastaElLimite(valor, texto);
}

// A long value, character by character up to the limit.
void LectorXml::AnadirHastaElLimite(std::string &valor, std::string_view texto)
{
    const auto inicioCaracter
        = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    auto caracteres
        = static_cast<std::size_t>(std::count_if(valor.begin(), valor.end(), inicioCaracter));
    for (const char c : texto) {
        if (inicioCaracter(c) && caracteres == kMaxCaracteres) {
            return;
        }
        caracteres += inicioCaracter(c) ? 1 : 0;
        valor += c;
    }
}

// The element at profundidad_, just closed, had work to do at its end.
void LectorXml::Terminar()
{
    if (recogiendo_ >= 0 && profundidad_ == profundidadRecogida_) {
        std::string &valor = valores_[recogiendo_];
        while (!valor.empty() && EsBlancoXml(valor.back())) {
            valor.pop_back();
        }
        if (recogiendo_ == kIban) {
            ComprobarCuenta(ibanDePago_);
        } else if (recogiendo_ >= kImporte) {
            ValorDeRemesa(recogiendo_);
        }
        recogiendo_ = -1;
        ManejarTexto(nullptr);
    }
    if (pila_[profundidad_] == Elemento::PmtInf) {
        InformarTotales(totales_.FinPago());
    } else if (profundidad_ == 0) {
        InformarTotales(totales_.FinDocumento());
    }
    if (pila_[profundidad_] == mensaje_->transaccion) {
        InformarPendientes(profundidad_);
        totales_.FinTransaccion();
        --transaccionAbierta_;
        if (transaccionAbierta_ > 0 && !exteriores_.empty()) {
            valores_[kReferencia] = std::move(exteriores_.back().first);
            valores_[kNombre] = std::move(exteriores_.back().second);
            exteriores_.pop_back();
        }
    }
    espacios_.Terminar(profundidad_);
}

bool LectorXml::EnTransaccion() const
{
    const auto abiertos = pila_.begin() + static_cast<long>(profundidad_);
    return std::find(pila_.begin(), abiertos, mensaje_->transaccion) != abiertos;
}

// An IBAN's line is only needed when its account is faulty, and asking
// expat for it at every IBAN would cost more than the whole check (expat
// counts lines from where it was last asked). Where breaks are single
// bytes, the IBAN's start is noted, and its line is counted back from a
// later place, while expat still holds the bytes between: where the account
// proves faulty, or at the end of the piece it started in. Elsewhere, or
// with an expat that keeps no bytes, the line is asked for at once.
void LectorXml::AnotarLinea()
{
    if (saltosDeUnByte_ && XML_GetInputContext(parser_, nullptr, nullptr) != nullptr) {
        indiceValor_ = static_cast<unsigned long long>(XML_GetCurrentByteIndex(parser_));
        lineaPendiente_ = true;
    } else {
        lineaValor_ = XML_GetCurrentLineNumber(parser_);
    }
}

// The current place's line, less the breaks from the IBAN's start to here;
// in a handler, the place of its event, and between pieces, where the parse
// stopped: expat gives the line, the byte and the buffer of the same place.
void LectorXml::SaberLinea()
{
    int desplazamiento = 0;
    const char *contexto = XML_GetInputContext(parser_, &desplazamiento, nullptr);
    const auto indice = static_cast<unsigned long long>(XML_GetCurrentByteIndex(parser_));
    const unsigned long long recorrido = indice - indiceValor_;
    lineaValor_ = XML_GetCurrentLineNumber(parser_);
    // Known before each new piece, the IBAN's bytes are always held; were
    // they not, none is read outside the buffer.
    if (contexto != nullptr && recorrido <= static_cast<unsigned long long>(desplazamiento)) {
        lineaValor_ -= SaltosDeLinea({ contexto + desplazamiento - recorrido, recorrido });
    }
    lineaPendiente_ = false;
}

// The payment's account is reported at once; a transaction's when the
// transaction ends.
void LectorXml::ComprobarCuenta(bool dePago)
{
    const FalloCuenta fallo = comprobacion_.IbanErroneo(valores_[kIban]);
    if (fallo == FalloCuenta::Ninguno) {
        lineaPendiente_ = false;
        return;
    }
    if (lineaPendiente_) {
        SaberLinea();
    }
    const Mensaje &m = *mensaje_;
    if (!dePago) {
        pendientes_.push_back(
            { fallo, remesa::Fallo::Importe, lineaValor_, TransaccionInterior() });
        if (pendientes_.size() == kMaxPendientes) {
            InformarPendientes(0);
        }
        return;
    }
    const std::string campo1 = Windows1252(valores_[kIdPago]);
    const std::string campo2 = Windows1252(valores_[kNombrePago]);
    comprobacion_.InformarCuenta({ m.entrada, fallo, true, kEtiquetaIdPago, campo1,
        m.etiquetaNombrePago, campo2, lineaValor_ });
}

// A value of the order's totals, amounts, BICs and identifiers, just read.
// A count or a sum waits for its scope's end; a fault of a transaction's
// value waits for the transaction's, as its accounts do.
void LectorXml::ValorDeRemesa(int valor)
{
    const std::string &texto = valores_[valor];
    switch (valor) {
    case kImporte:
        if (!totales_.Importe(texto)) {
            FaltaDeOrden(remesa::Fallo::Importe);
        }
        break;
    case kBic:
        if (remesa::BicMalFormado(texto)) {
            FaltaDeOrden(remesa::Fallo::Bic);
        }
        break;
    case kIdAcreedor:
        if (remesa::IdentificadorAcreedor(texto) == remesa::Juicio::Erroneo) {
            FaltaDeOrden(remesa::Fallo::IdentificadorAcreedor, texto);
        }
        break;
    default: // a count or a sum, whose line is needed later
        if (lineaPendiente_) {
            SaberLinea();
        }
        totales_.Declarado(valorDeGrupo_,
            valor == kNumero ? remesa::TotalesXml::Dato::Numero : remesa::TotalesXml::Dato::Suma,
            texto, lineaValor_);
        break;
    }
    lineaPendiente_ = false;
}

// Inside a transaction, kept for its end; elsewhere (a payment's or the
// group header's BIC, a payment's creditor identifier) reported at once with
// the payment's values.
void LectorXml::FaltaDeOrden(remesa::Fallo fallo, std::string identificador)
{
    if (lineaPendiente_) {
        SaberLinea();
    }
    if (transaccionAbierta_ > 0) {
        pendientes_.push_back({ FalloCuenta::Ninguno, fallo, lineaValor_, TransaccionInterior(),
            std::move(identificador) });
        if (pendientes_.size() == kMaxPendientes) {
            InformarPendientes(0);
        }
        return;
    }
    const Mensaje &m = *mensaje_;
    const std::string nombre = Windows1252(valores_[kNombrePago]);
    if (fallo == remesa::Fallo::IdentificadorAcreedor) {
        comprobacion_.InformarRemesa({ m.entrada, fallo, "Identificador del acreedor: ",
            Windows1252(identificador), m.etiquetaNombrePago, nombre, lineaValor_ });
        return;
    }
    comprobacion_.InformarRemesa({ m.entrada, fallo, kEtiquetaIdPago,
        Windows1252(valores_[kIdPago]), m.etiquetaNombrePago, nombre, lineaValor_ });
}

void LectorXml::InformarTotales(const std::vector<remesa::TotalesXml::Falta> &faltas)
{
    for (const auto &falta : faltas) {
        comprobacion_.InformarTotal(mensaje_->entrada, falta.fallo, falta.linea,
            Windows1252(falta.enFichero), Windows1252(falta.calculado));
    }
}

// The pending accounts of the transaction at `desde` in the stack and of
// those inside it: the last ones of the list.
void LectorXml::InformarPendientes(std::size_t desde)
{
    const auto primera = std::find_if(pendientes_.begin(), pendientes_.end(),
        [desde](const CuentaPendiente &cuenta) { return cuenta.transaccion >= desde; });
    if (primera == pendientes_.end()) {
        return;
    }
    const Mensaje &m = *mensaje_;
    const std::string campo1 = Windows1252(valores_[kReferencia]);
    const std::string campo2 = Windows1252(valores_[kNombre]);
    for (auto cuenta = primera; cuenta != pendientes_.end(); ++cuenta) {
        if (cuenta->fallo != FalloCuenta::Ninguno) {
            comprobacion_.InformarCuenta({ m.entrada, cuenta->fallo, false, m.etiquetaReferencia,
                campo1, m.etiquetaNombre, campo2, cuenta->linea });
        } else if (cuenta->orden == remesa::Fallo::IdentificadorAcreedor) {
            comprobacion_.InformarRemesa({ m.entrada, cuenta->orden,
                "Identificador del acreedor: ", Windows1252(cuenta->identificador),
                m.etiquetaNombrePago, Windows1252(valores_[kNombrePago]), cuenta->linea });
        } else {
            comprobacion_.InformarRemesa({ m.entrada, cuenta->orden, m.etiquetaReferencia, campo1,
                m.etiquetaNombre, campo2, cuenta->linea });
        }
    }
    pendientes_.erase(primera, pendientes_.end());
}

// Where the innermost open transaction lies in the stack.
std::size_t LectorXml::TransaccionInterior() const
{
    for (std::size_t i = profundidad_; i-- > 0;) {
        if (pila_[i] == mensaje_->transaccion) {
            return i;
        }
    }
    return 0;
}

} // namespace

void ComprobarXml(Comprobacion &comprobacion)
{
    LectorXml(comprobacion).Leer();
}

} // namespace motor
