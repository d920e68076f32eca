// Writes a realistic order file of a chosen size for benchmarks: legacy CSB
// files of 162-character records, SEPA files of 600-character records (both
// with CR LF), or ISO 20022 XML, a chosen share of their accounts faulty.
//
//   generar-remesa adeudos|transferencias|adeudos-sepa|transferencias-sepa|
//                  xml-pain008|xml-pain001 MEGABYTES PORCENTAJE_ERRONEAS FICHERO
#include "cuentas.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

namespace {

constexpr std::size_t kLongitudRegistro = 162;
constexpr std::size_t kLongitudSepa = 600;

// The IBAN's two check digits for a Spanish account (ISO 7064 MOD 97-10).
std::string DigitosIban(const std::string &ccc)
{
    unsigned resto = 0;
    for (const char c : ccc + "142800") { // "ES00" with E = 14, S = 28
        resto = (resto * 10 + static_cast<unsigned>(c - '0')) % 97;
    }
    const unsigned digitos = 98 - resto;
    return { static_cast<char>('0' + digitos / 10), static_cast<char>('0' + digitos % 10) };
}

class Generador
{
public:
    Generador(double porcentajeErroneas, unsigned semilla)
        : probabilidadErronea_(porcentajeErroneas / 100.0)
        , azar_(semilla)
    {
    }

    // Entity, office, DC and account number; the DC is wrong at the chosen rate.
    std::string Cuenta()
    {
        const std::string entidad = Digitos(4);
        const std::string oficina = Digitos(4);
        const std::string numero = Digitos(10);
        std::string dc = motor::CalcularDC(entidad, oficina, numero);
        if (uniforme_(azar_) < probabilidadErronea_) {
            dc[1] = static_cast<char>('0' + (dc[1] - '0' + 1) % 10);
        }
        return entidad + oficina + dc + numero;
    }

    // A Spanish IBAN; a faulty one has a wrong CCC inside a right MOD 97, or
    // wrong IBAN check digits, in turns.
    std::string Iban()
    {
        std::string ccc = Cuenta();
        if (motor::CalcularDC(ccc.substr(0, 4), ccc.substr(4, 4), ccc.substr(10))
            == ccc.substr(8, 2)) {
            return "ES" + DigitosIban(ccc) + ccc;
        }
        if (++ibanesErroneos_ % 2 == 0) {
            std::string digitos = DigitosIban(ccc);
            digitos[1] = static_cast<char>('0' + (digitos[1] - '0' + 1) % 10);
            ccc = ccc.substr(0, 8)
                + motor::CalcularDC(ccc.substr(0, 4), ccc.substr(4, 4), ccc.substr(10))
                + ccc.substr(10);
            return "ES" + digitos + ccc;
        }
        return "ES" + DigitosIban(ccc) + ccc;
    }

    std::string Digitos(std::size_t cuantos)
    {
        std::string texto(cuantos, '0');
        for (auto &c : texto) {
            c = static_cast<char>('0' + azar_() % 10);
        }
        return texto;
    }

    std::string Nombre()
    {
        static const char *const kNombres[] = { "GARC\xCD"
                                                "A L\xD3PEZ, MAR\xCD"
                                                "A",
            "MU\xD1OZ RUIZ, JOS\xC9", "SUMINISTROS DEL NORTE SL",
            "PE\xD1"
            "A IB\xC1\xD1"
            "EZ, ANA",
            "TALLERES ALFA SA" };
        return kNombres[azar_() % std::size(kNombres)];
    }

private:
    double probabilidadErronea_;
    unsigned long long ibanesErroneos_ = 0;
    std::mt19937 azar_;
    std::uniform_real_distribution<double> uniforme_ { 0.0, 1.0 };
};

std::string Registro(std::initializer_list<std::pair<std::size_t, std::string>> campos,
    std::size_t longitud = kLongitudRegistro)
{
    std::string linea(longitud, ' ');
    for (const auto &[posicion, texto] : campos) {
        linea.replace(posicion - 1, texto.size(), texto);
    }
    linea.resize(longitud);
    return linea + "\r\n";
}

// SEPA debits (Norma 19.14): a creditor header every thousand records.
std::string BloqueAdeudosSepa(Generador &g, std::size_t n)
{
    if (n % 1000 == 1) {
        return Registro({ { 1, "0219143002" }, { 11, "ES97000B12345678" }, { 46, "20261215" },
                            { 54, g.Nombre() }, { 266, g.Iban() } },
            kLongitudSepa);
    }
    return Registro(
        { { 1, "0319143003" }, { 11, "FRA-" + g.Digitos(10) }, { 46, "MANDATO-" + g.Digitos(8) },
            { 81, "RCUR" }, { 89, "0000" + g.Digitos(7) }, { 119, g.Nombre() }, { 403, "A" },
            { 404, g.Iban() } },
        kLongitudSepa);
}

// SEPA transfers (Norma 34.14): every record a transfer to an account.
std::string BloqueTransferenciasSepa(Generador &g, std::size_t)
{
    return Registro({ { 1, "03SCT34145002" }, { 14, "FACTURA " + g.Digitos(8) }, { 49, "A" },
                        { 50, g.Iban() }, { 84, "0000000" + g.Digitos(7) }, { 107, g.Nombre() } },
        kLongitudSepa);
}

// The names hold Latin-1 letters only, so each byte from 0x80 is one character.
std::string Utf8(const std::string &latin1)
{
    std::string texto;
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            texto += c;
        } else {
            texto += static_cast<char>(0xC0 | (byte >> 6));
            texto += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return texto;
}

// ISO 20022 XML: a payment of a thousand transactions at a time.
std::string PagoXml(Generador &g, const char *parte, const char *cuenta)
{
    return std::string("    <PmtInf>\n      <PmtInfId>PAGO-") + g.Digitos(8)
        + "</PmtInfId>\n      <" + parte + "><Nm>" + Utf8(g.Nombre()) + "</Nm></" + parte
        + ">\n      <" + cuenta + "><Id><IBAN>" + g.Iban() + "</IBAN></Id></" + cuenta + ">\n";
}

std::string BloquePain008(Generador &g, std::size_t n)
{
    const std::string pago = n % 1000 == 1
        ? (n > 1 ? "    </PmtInf>\n" : "") + PagoXml(g, "Cdtr", "CdtrAcct")
        : std::string();
    return pago + "      <DrctDbtTxInf>\n        <PmtId><EndToEndId>FRA-" + g.Digitos(10)
        + "</EndToEndId></PmtId>\n        <InstdAmt Ccy=\"EUR\">" + g.Digitos(3)
        + ".50</InstdAmt>\n        <DrctDbtTx><MndtRltdInf><MndtId>MANDATO-" + g.Digitos(8)
        + "</MndtId><DtOfSgntr>2024-01-15</DtOfSgntr></MndtRltdInf></DrctDbtTx>\n        "
          "<Dbtr><Nm>"
        + Utf8(g.Nombre()) + "</Nm></Dbtr>\n        <DbtrAcct><Id><IBAN>" + g.Iban()
        + "</IBAN></Id></DbtrAcct>\n      </DrctDbtTxInf>\n";
}

std::string BloquePain001(Generador &g, std::size_t n)
{
    const std::string pago = n % 1000 == 1
        ? (n > 1 ? "    </PmtInf>\n" : "") + PagoXml(g, "Dbtr", "DbtrAcct")
        : std::string();
    return pago + "      <CdtTrfTxInf>\n        <PmtId><EndToEndId>FACTURA-" + g.Digitos(8)
        + "</EndToEndId></PmtId>\n        <Amt><InstdAmt Ccy=\"EUR\">" + g.Digitos(4)
        + ".00</InstdAmt></Amt>\n        <Cdtr><Nm>" + Utf8(g.Nombre())
        + "</Nm></Cdtr>\n        <CdtrAcct><Id><IBAN>" + g.Iban()
        + "</IBAN></Id></CdtrAcct>\n      </CdtTrfTxInf>\n";
}

std::string CabeceraXml(const char *mensaje, const char *raiz)
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Document "
                       "xmlns=\"urn:iso:std:iso:20022:tech:xsd:")
        + mensaje + "\">\n  <" + raiz
        + ">\n    <GrpHdr><MsgId>REMESA-2026</MsgId><InitgPty><Nm>PRESENTADOR "
          "SA</Nm></InitgPty></GrpHdr>\n";
}

using Bloque = std::string (*)(Generador &, std::size_t);

// Debit orders: one ordering party every thousand records.
std::string BloqueAdeudos(Generador &g, std::size_t n)
{
    if (n % 1000 == 1) {
        return Registro(
            { { 1, "5380" }, { 5, "B12345678000" }, { 29, g.Nombre() }, { 69, g.Cuenta() } });
    }
    return Registro({ { 1, "5680" }, { 5, "B12345678000" }, { 17, g.Digitos(12) },
        { 29, g.Nombre() }, { 69, g.Cuenta() }, { 89, g.Digitos(10) } });
}

// Transfer orders: each transfer is an account record followed by the name record.
std::string BloqueTransferencias(Generador &g, std::size_t n)
{
    if (n % 1000 == 1) {
        const std::string cuenta = g.Cuenta();
        return Registro({ { 1, "0356" }, { 5, "B12345678 " }, { 27, "001" },
            { 42, cuenta.substr(0, 8) + cuenta.substr(10) }, { 64, cuenta.substr(8, 2) } });
    }
    std::string nif = g.Digitos(10);
    nif.front() = 'A';
    nif.back() = 'Z';
    const std::string cuenta = g.Cuenta();
    return Registro({ { 1, "0656" }, { 5, "B12345678 " }, { 15, nif }, { 27, "010" },
               { 30, g.Digitos(12) }, { 42, cuenta.substr(0, 8) + cuenta.substr(10) },
               { 64, cuenta.substr(8, 2) } })
        + Registro(
            { { 1, "0656" }, { 5, "B12345678 " }, { 15, nif }, { 27, "011" }, { 30, g.Nombre() } });
}

} // namespace

int main(int argc, char *argv[])
{
    const std::string tipo = argc == 5 ? argv[1] : "";
    Generador generador(argc == 5 ? std::stod(argv[3]) : 0, 20261208);
    std::string lote;
    std::string pie;
    Bloque bloque = nullptr;
    if (tipo == "xml-pain008") {
        lote = CabeceraXml("pain.008.001.02", "CstmrDrctDbtInitn");
        pie = "    </PmtInf>\n  </CstmrDrctDbtInitn>\n</Document>\n";
        bloque = BloquePain008;
    } else if (tipo == "xml-pain001") {
        lote = CabeceraXml("pain.001.001.03", "CstmrCdtTrfInitn");
        pie = "    </PmtInf>\n  </CstmrCdtTrfInitn>\n</Document>\n";
        bloque = BloquePain001;
    } else if (tipo == "adeudos") {
        lote = Registro({ { 1, "5180" }, { 5, "B12345678000" }, { 29, "PRESENTADOR SA" } });
        bloque = BloqueAdeudos;
    } else if (tipo == "transferencias") {
        lote = Registro({ { 1, "0356" }, { 5, "B12345678 " }, { 27, "000" } });
        bloque = BloqueTransferencias;
    } else if (tipo == "adeudos-sepa") {
        lote = Registro(
            { { 1, "0119143001" }, { 11, "ES97000B12345678" }, { 46, "PRESENTADOR SA" } },
            kLongitudSepa);
        bloque = BloqueAdeudosSepa;
    } else if (tipo == "transferencias-sepa") {
        lote = Registro({ { 1, "01ORD34145001" }, { 14, "B12345678000" }, { 43, generador.Iban() },
                            { 78, "ORDENANTE SA" } },
            kLongitudSepa);
        bloque = BloqueTransferenciasSepa;
    } else {
        std::cerr << "Uso: generar-remesa adeudos|transferencias|adeudos-sepa|transferencias-sepa"
                     "|xml-pain008|xml-pain001 MEGABYTES PORCENTAJE_ERRONEAS FICHERO\n";
        return 64;
    }
    const double bytes = std::stod(argv[2]) * 1024 * 1024;
    std::ofstream salida(argv[4], std::ios::binary);
    double escritos = 0;
    for (std::size_t n = 1; escritos + static_cast<double>(lote.size()) < bytes; ++n) {
        lote += bloque(generador, n);
        if (lote.size() > (1 << 20)) {
            salida << lote;
            escritos += static_cast<double>(lote.size());
            lote.clear();
        }
    }
    salida << lote << pie;
    return salida ? 0 : 1;
}
