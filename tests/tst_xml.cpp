// ISO 20022 XML orders: each fixture with the log or the message it must give.
#include "EspaciosXml.h"
#include "ayuda.h"

#include <gtest/gtest.h>

#include <cstring>
#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

using motor::TipoArchivo;

struct CasoXml
{
    const char *nombre;
    const char *fichero; // under tests/data/xml
    const char *log; // the expected log beside it; "": no log is kept
    const char *mensaje; // "": none
    TipoArchivo tipo;
    unsigned long long cuentas; // checked
    unsigned long long lineas; // the file's last line after a run to the end, as NumLinea gives it
    unsigned long long sinIban = 0; // accounts given without an IBAN
};

void PrintTo(const CasoXml &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class XmlTest : public testing::TestWithParam<CasoXml>
{
};

TEST_P(XmlTest, LogOMensaje)
{
    const CasoXml &caso = GetParam();
    const prueba::RutaPrueba datos = prueba::RutaPrueba(COTAREL_DATOS_PRUEBA) / "xml";
    prueba::CarpetaTemporal carpeta;
    prueba::InterfazGrabadora interfaz;
    prueba::EscribirBytes(carpeta / "remesa.log", "earlier log");

    const motor::Resultado resultado
        = motor::Procesar(datos / caso.fichero, carpeta / "remesa.log", interfaz);

    const std::string log = caso.log;
    const std::string mensaje = caso.mensaje;
    EXPECT_EQ(interfaz.mensajes,
        mensaje.empty() ? std::vector<std::string> {} : std::vector<std::string> { mensaje });
    EXPECT_EQ(resultado.tipo, caso.tipo);
    EXPECT_EQ(resultado.cuentasComprobadas, caso.cuentas);
    EXPECT_EQ(resultado.cuentasSinIban, caso.sinIban);
    if (resultado.Terminado()) {
        EXPECT_EQ(resultado.numLinea, caso.lineas);
    }
    if (!log.empty()) {
        EXPECT_EQ(prueba::LeerBytes(carpeta / "remesa.log"), prueba::LeerBytes(datos / log));
    } else if (resultado.Terminado()) {
        EXPECT_FALSE(std::filesystem::exists(carpeta / "remesa.log"));
    } else {
        EXPECT_EQ(prueba::LeerBytes(carpeta / "remesa.log"), "earlier log");
    }
    EXPECT_EQ(carpeta.Nombres().size(), log.empty() && resultado.Terminado() ? 0U : 1U);
}

const CasoXml kCasos[] = {
    { "pain008_v02_crlf_names_cdata_references_long_values", "pain008-v02-crlf.xml",
        "pain008-v02-crlf.log", "", TipoArchivo::XmlPain008, 8, 120, 1 },
    { "pain008_v08_prefix_one_line", "pain008-v08-una-linea.xml", "pain008-v08-una-linea.log", "",
        TipoArchivo::XmlPain008, 3, 1 },
    { "pain001_v03_euro_sign", "pain001-v03.xml", "pain001-v03.log", "", TipoArchivo::XmlPain001, 3,
        29 },
    { "pain001_v09_prefix_byte_order_mark_foreign_elements_iban_tag_across_lines",
        "pain001-v09-prefijo.xml", "pain001-v09-prefijo.log", "", TipoArchivo::XmlPain001, 2, 18 },
    { "document_type_declaration_refused", "doctype.xml", "",
        "El fichero XML no es v\u00E1lido (linea 2)", TipoArchivo::Xml, 0, 0 },
    { "cut_off_in_the_middle", "cortado.xml", "", "El fichero XML no es v\u00E1lido (linea 42)",
        TipoArchivo::XmlPain008, 2, 0 },
    { "root_of_another_message", "otra-raiz.xml", "", "El fichero no es CSB", TipoArchivo::NoCSB, 0,
        0 },
    { "empty_root_of_another_message", "otra-raiz-vacia.xml", "", "El fichero no es CSB",
        TipoArchivo::NoCSB, 0, 0 },
    { "only_other_accounts", "sin-cuentas.xml", "", "", TipoArchivo::XmlPain008, 0, 19, 1 },
    // One faulty order with an amendment, saved in every encoding offices use.
    { "amendment_and_othr_utf8", "pain008-utf8.xml", "pain008-codificaciones.log", "",
        TipoArchivo::XmlPain008, 4, 34, 1 },
    { "windows_1252", "pain008-windows1252.xml", "pain008-codificaciones.log", "",
        TipoArchivo::XmlPain008, 4, 34, 1 },
    { "iso_8859_15_as_latin_9", "pain008-latin9.xml", "pain008-codificaciones.log", "",
        TipoArchivo::XmlPain008, 4, 34, 1 },
    { "utf16_little_endian", "pain008-utf16le.xml", "pain008-codificaciones.log", "",
        TipoArchivo::XmlPain008, 4, 34, 1 },
    { "utf16_big_endian", "pain008-utf16be.xml", "pain008-codificaciones.log", "",
        TipoArchivo::XmlPain008, 4, 34, 1 },
    { "unknown_encoding", "codificacion-desconocida.xml", "",
        "El fichero XML no es v\u00E1lido (linea 1): codificaci\u00F3n EBCDIC-ES desconocida",
        TipoArchivo::Xml, 0, 0 },
    // Every version and national variant: the namespace names the message.
    { "german_pain008_003", "pain008-aleman.xml", "pain008-aleman.log", "", TipoArchivo::XmlPain008,
        2, 13 },
    { "swiss_pain001_ch", "pain001-suizo.xml", "pain001-suizo.log", "", TipoArchivo::XmlPain001, 2,
        13 },
    { "pain001_001_02_other_namespace", "pain001-v02.xml", "pain001-v02.log", "",
        TipoArchivo::XmlPain001, 2, 13 },
    // Not valid by the schema, yet well-formed: each faulty account is
    // reported when its own transaction ends, the outer one's included.
    { "transaction_inside_another_keeps_both", "pain008-anidada.xml", "pain008-anidada.log", "",
        TipoArchivo::XmlPain008, 3, 20 },
    // What a bank checks beyond the accounts: counts and control sums when
    // their scope ends, amounts, BICs and creditor identifiers in line order.
    { "pain008_totals_amounts_bics_creditor_identifiers", "pain008-remesa.xml",
        "pain008-remesa.log", "", TipoArchivo::XmlPain008, 6, 54 },
    { "pain001_totals_and_bic_transaction_of_another_namespace_not_counted", "pain001-remesa.xml",
        "pain001-remesa.log", "", TipoArchivo::XmlPain001, 3, 35 },
    { "pain008_consistent", "pain008-correcto.xml", "", "", TipoArchivo::XmlPain008, 4, 23 },
    { "pain001_consistent", "pain001-correcto.xml", "", "", TipoArchivo::XmlPain001, 4, 23 },
};

INSTANTIATE_TEST_SUITE_P(Casos, XmlTest, testing::ValuesIn(kCasos),
    [](const auto &info) { return std::string(info.param.nombre); });

// Shapes that would take memory or time without end, made here: each limit
// refuses the file at the line where it is passed; a real order's shape stays
// far inside them.
struct CasoLimite
{
    const char *nombre;
    std::string cuerpo; // inside the root, from line 3
    std::string mensaje; // "": the file is read to its end
    bool lineaExacta = true; // else where the memory budget runs out, about there
};

void PrintTo(const CasoLimite &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class LimiteTest : public testing::TestWithParam<CasoLimite>
{
};

TEST_P(LimiteTest, RechazaEnLaLinea)
{
    prueba::CarpetaTemporal carpeta;
    prueba::InterfazGrabadora interfaz;
    prueba::EscribirBytes(carpeta / "remesa.xml",
        "<?xml version=\"1.0\"?>\n<Document "
        "xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.008.001.02\">\n"
            + GetParam().cuerpo + "</Document>\n");
    const motor::Resultado resultado
        = motor::Procesar(carpeta / "remesa.xml", carpeta / "remesa.log", interfaz);
    const std::string mensaje = GetParam().mensaje;
    if (mensaje.empty()) {
        EXPECT_TRUE(resultado.Terminado());
        EXPECT_TRUE(interfaz.mensajes.empty());
        return;
    }
    ASSERT_EQ(interfaz.mensajes.size(), 1u);
    const std::string &visto = interfaz.mensajes.front();
    EXPECT_EQ(GetParam().lineaExacta ? visto : visto.substr(0, mensaje.size()), mensaje);
}

std::string Repetir(std::string_view texto, std::size_t veces)
{
    std::string repetido;
    for (std::size_t i = 0; i < veces; ++i) {
        repetido += texto;
    }
    return repetido;
}

std::string NombresDistintos(std::size_t cuantos)
{
    std::string cuerpo;
    for (std::size_t i = 0; i < cuantos; ++i) {
        cuerpo += "<n" + std::to_string(i) + "/>\n";
    }
    return cuerpo;
}

const CasoLimite kLimites[] = {
    { "nesting_of_100_levels_taken", Repetir("<a>", 99) + Repetir("</a>", 99), "" },
    { "nesting_of_101_levels_refused", Repetir("<a>", 100) + Repetir("</a>", 100),
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "comment_of_two_megabytes_refused", "\n<!--" + std::string(2 << 20, 'x') + "-->",
        "El fichero XML no es v\u00E1lido (linea 4)" },
    { "attribute_of_two_megabytes_refused", "<a b=\"" + std::string(2 << 20, 'x') + "\"/>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "a_million_distinct_names_refused", NombresDistintos(1000000),
        "El fichero XML no es v\u00E1lido (linea ", false },
    // Namespaces as a namespace-aware parser takes them.
    { "xml_prefix_rebinding_and_names_beyond_ascii_taken",
        "<a xml:lang=\"es\" xmlns:p=\"u\"><p:b/><p:\u00F1/><c xmlns=\"\"/></a>", "" },
    { "unbound_element_prefix_refused", "\n<q:a/>", "El fichero XML no es v\u00E1lido (linea 4)" },
    { "unbound_attribute_prefix_refused", "<a\n q:b=\"1\"/>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "undeclared_prefix_refused", "<a xmlns:p=\"\"/>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "xmlns_namespace_bound_refused", "<a xmlns:p=\"http://www.w3.org/2000/xmlns/\"/>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "xml_prefix_rebound_refused", "<a xmlns:xml=\"urn:x\"/>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "two_colons_refused", "<a:b:c xmlns:a=\"u\"/>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "local_name_not_a_name_start_refused", "<a:\u00B7b xmlns:a=\"u\"/>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "one_attribute_through_two_prefixes_refused",
        "<a xmlns:p=\"u\" xmlns:q=\"u\" p:x=\"1\" q:x=\"2\"/>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    { "processing_instruction_with_a_colon_refused", "<?a:b?>",
        "El fichero XML no es v\u00E1lido (linea 3)" },
    // Many small events in a row are no token growing without end.
    { "two_megabytes_of_small_comments_taken", Repetir("<!--x-->\n", 250000), "" },
    { "two_megabytes_of_processing_instructions_taken", Repetir("<?p x?>\n", 250000), "" },
    // A namespace hidden by a redeclaration is still in memory until its
    // element ends, and counts against the budget until then.
    { "redeclared_namespaces_counted_while_hidden",
        [] {
            std::string cuerpo;
            for (char letra = 'a'; letra < 'm'; ++letra) {
                cuerpo += "<a xmlns:p=\"" + std::string(1000000, letra) + "\">\n";
            }
            return cuerpo + Repetir("</a>", 12);
        }(),
        "El fichero XML no es v\u00E1lido (linea ", false },
};

INSTANTIATE_TEST_SUITE_P(Casos, LimiteTest, testing::ValuesIn(kLimites),
    [](const auto &info) { return std::string(info.param.nombre); });

// A value is kept to its first 140 characters, counted as characters (a
// two-byte letter is one) across the pieces expat reports it in.
TEST(ValorXml, SeCortaEnCientoCuarentaCaracteres)
{
    prueba::CarpetaTemporal carpeta;
    prueba::InterfazGrabadora interfaz;
    const std::string nombre = "  " + Repetir("\u00D1", 100) + "&amp;" + Repetir("a", 99);
    // The reference comes in one piece, of 150 bytes.
    prueba::EscribirBytes(carpeta / "remesa.xml",
        "<?xml version=\"1.0\"?>\n<Document "
        "xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.008.001.02\"><CstmrDrctDbtInitn><PmtInf>"
        "<DrctDbtTxInf><PmtId><EndToEndId>"
            + std::string(150, 'r') + "</EndToEndId></PmtId><Dbtr><Nm>" + nombre
            + "</Nm></Dbtr><DbtrAcct><Id><IBAN>GB28NWBK60161331926819</IBAN></Id></DbtrAcct>"
              "</DrctDbtTxInf></PmtInf></CstmrDrctDbtInitn></Document>\n");
    motor::Procesar(carpeta / "remesa.xml", carpeta / "remesa.log", interfaz);
    const std::string log = prueba::LeerBytes(carpeta / "remesa.log");
    const std::string referencia = "Referencia del adeudo: " + std::string(140, 'r') + "\r\n";
    const std::string nombre1252
        = "Nombre del deudor: " + std::string(100, '\xD1') + "&" + std::string(39, 'a') + "\r\n";
    EXPECT_NE(log.find(referencia + nombre1252), std::string::npos) << log;
}

// Only the elements in the root's namespace are ours, as the default
// namespace changes and comes back: a transaction inside an element that
// declares another is not one, and the next one in the root's again is.
TEST(EspacioPorDefecto, SoloLosElementosDelEspacioDeLaRaiz)
{
    prueba::CarpetaTemporal carpeta;
    prueba::InterfazGrabadora interfaz;
    const auto transaccion = [](std::string_view referencia) {
        return "<DrctDbtTxInf><PmtId><EndToEndId>" + std::string(referencia)
            + "</EndToEndId></PmtId><InstdAmt Ccy=\"EUR\">1.00</InstdAmt><Dbtr><Nm>N</Nm></Dbtr>"
              "<DbtrAcct><Id><IBAN>ES0000000000000000000000</IBAN></Id></DbtrAcct>"
              "</DrctDbtTxInf>";
    };
    prueba::EscribirBytes(carpeta / "remesa.xml",
        "<?xml version=\"1.0\"?>\n<Document "
        "xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.008.001.02\"><CstmrDrctDbtInitn><PmtInf>"
            + transaccion("PRIMERA") + "<Ajeno xmlns=\"urn:otra\">" + transaccion("AJENA")
            + "</Ajeno>" + transaccion("TERCERA") + "</PmtInf></CstmrDrctDbtInitn></Document>\n");
    const motor::Resultado resultado
        = motor::Procesar(carpeta / "remesa.xml", carpeta / "remesa.log", interfaz);
    EXPECT_EQ(resultado.cuentasComprobadas, 2u);
    const std::string log = prueba::LeerBytes(carpeta / "remesa.log");
    EXPECT_NE(log.find("PRIMERA"), std::string::npos) << log;
    EXPECT_EQ(log.find("AJENA"), std::string::npos) << log;
    EXPECT_NE(log.find("TERCERA"), std::string::npos) << log;
}

// A faulty IBAN is reported at the line of its start tag however far its
// end lies: across the pieces the file is fed to the parser in (of 64 KiB),
// past a long comment, with any line end.
struct CasoLineaIban
{
    const char *nombre;
    std::string salto;
    std::size_t relleno; // bytes of comment before the transaction
    std::string dentro; // inside the IBAN element, before the account
};

void PrintTo(const CasoLineaIban &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class LineaIbanTest : public testing::TestWithParam<CasoLineaIban>
{
};

TEST_P(LineaIbanTest, LaDeSuEtiqueta)
{
    const CasoLineaIban &caso = GetParam();
    const std::string &n = caso.salto;
    const std::string antes = "<?xml version=\"1.0\"?>" + n
        + "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.008.001.02\">" + n
        + "<CstmrDrctDbtInitn><PmtInf><!--" + std::string(caso.relleno, 'x') + n + "-->" + n
        + "<DrctDbtTxInf><PmtId><EndToEndId>R</EndToEndId></PmtId><DbtrAcct><Id>" + n;
    prueba::CarpetaTemporal carpeta;
    prueba::InterfazGrabadora interfaz;
    prueba::EscribirBytes(carpeta / "remesa.xml",
        antes + "<IBAN" + n + ">" + caso.dentro + "ES0000000000000000000000</IBAN></Id>" + n
            + "</DbtrAcct></DrctDbtTxInf></PmtInf></CstmrDrctDbtInitn></Document>" + n);
    motor::Procesar(carpeta / "remesa.xml", carpeta / "remesa.log", interfaz);
    std::size_t linea = 1;
    for (auto desde = antes.find(n); desde != std::string::npos; desde = antes.find(n, desde + 1)) {
        ++linea;
    }
    const std::string log = prueba::LeerBytes(carpeta / "remesa.log");
    EXPECT_NE(log.find("Error en linea " + std::to_string(linea) + " - "), std::string::npos)
        << log;
}

const CasoLineaIban kLineasIban[] = {
    { "in_one_piece", "\n", 10, "" },
    { "start_and_end_in_two_pieces", "\r\n", 65237, "<!--" + std::string(3000, 'c') + "-->" },
    { "blanks_inside_longer_than_a_piece", "\r", 100,
        std::string(3000, '\r') + std::string(140000, ' ') },
    { "cr_lf_inside_split_by_the_pieces", "\r\n", 65328, "\r\n\r\n  \r\n" },
};

INSTANTIATE_TEST_SUITE_P(Casos, LineaIbanTest, testing::ValuesIn(kLineasIban),
    [](const auto &info) { return std::string(info.param.nombre); });

// A name whose NUL is the last byte of a page, with nothing readable after
// it: no word past that page is read.
TEST(MedirNombre, NoLeeMasAllaDeLaPagina)
{
#if defined(__unix__)
    const auto pagina = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void *memoria
        = mmap(nullptr, 2 * pagina, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(memoria, MAP_FAILED);
    char *fin = static_cast<char *>(memoria) + pagina;
    ASSERT_EQ(mprotect(fin, pagina, PROT_NONE), 0);
    for (std::size_t longitud = 0; longitud <= 20; ++longitud) {
        const std::string nombre = std::string(longitud / 2, 'p') + (longitud > 0 ? ":" : "")
            + std::string(longitud > 0 ? longitud - longitud / 2 - 1 : 0, 'l');
        std::memcpy(fin - nombre.size() - 1, nombre.c_str(), nombre.size() + 1);
        const auto medido = motor::EspaciosXml::Medir(fin - nombre.size() - 1);
        EXPECT_EQ(medido.completo, nombre);
        EXPECT_EQ(medido.conDosPuntos, nombre.find(':') != std::string::npos);
    }
    munmap(memoria, 2 * pagina);
#else
    GTEST_SKIP() << "pages are protected here with the system's own calls";
#endif
}

// Element names are measured in aligned blocks: every length up to past two
// blocks, at every alignment, with a colon anywhere or none, between bytes
// that are colons but not the name's.
TEST(MedirNombre, LongitudYDosPuntosEnTodaAlineacion)
{
    alignas(16) char memoria[64];
    for (std::size_t alineacion = 0; alineacion < 16; ++alineacion) {
        for (std::size_t longitud = 0; longitud <= 40; ++longitud) {
            for (std::size_t dosPuntos = 0; dosPuntos <= longitud; ++dosPuntos) {
                std::string nombre(longitud, 'n');
                if (dosPuntos < longitud) {
                    nombre[dosPuntos] = ':';
                    nombre.back() = ':';
                }
                std::memset(memoria, ':', sizeof memoria);
                std::memcpy(memoria + alineacion, nombre.c_str(), longitud + 1);
                const auto medido = motor::EspaciosXml::Medir(memoria + alineacion);
                EXPECT_EQ(medido.completo, nombre) << alineacion;
                EXPECT_EQ(medido.conDosPuntos, nombre.find(':') != std::string::npos)
                    << nombre << " at " << alineacion;
            }
        }
    }
}

} // namespace
