// Writes a realistic CSB order file of a chosen size for benchmarks: 162-character
// records with CR LF, a chosen share of them with a wrong check digit.
//
//   generar-remesa adeudos|transferencias MEGABYTES PORCENTAJE_ERRONEAS FICHERO
#include "modMain.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

namespace {

constexpr std::size_t kLongitudRegistro = 162;

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
        std::string dc = modMain::CalcularDC(entidad, oficina, numero);
        if (uniforme_(azar_) < probabilidadErronea_) {
            dc[1] = static_cast<char>('0' + (dc[1] - '0' + 1) % 10);
        }
        return entidad + oficina + dc + numero;
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
    std::mt19937 azar_;
    std::uniform_real_distribution<double> uniforme_ { 0.0, 1.0 };
};

std::string Registro(std::initializer_list<std::pair<std::size_t, std::string>> campos)
{
    std::string linea(kLongitudRegistro, ' ');
    for (const auto &[posicion, texto] : campos) {
        linea.replace(posicion - 1, texto.size(), texto);
    }
    linea.resize(kLongitudRegistro);
    return linea + "\r\n";
}

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
    if (argc != 5) {
        std::cerr
            << "Uso: generar-remesa adeudos|transferencias MEGABYTES PORCENTAJE_ERRONEAS FICHERO\n";
        return 64;
    }
    const std::string tipo = argv[1];
    const double bytes = std::stod(argv[2]) * 1024 * 1024;
    Generador generador(std::stod(argv[3]), 20261208);
    std::ofstream salida(argv[4], std::ios::binary);
    const bool adeudos = tipo == "adeudos";
    std::string lote = adeudos
        ? Registro({ { 1, "5180" }, { 5, "B12345678000" }, { 29, "PRESENTADOR SA" } })
        : Registro({ { 1, "0356" }, { 5, "B12345678 " }, { 27, "000" } });
    double escritos = 0;
    for (std::size_t n = 1; escritos + static_cast<double>(lote.size()) < bytes; ++n) {
        lote += adeudos ? BloqueAdeudos(generador, n) : BloqueTransferencias(generador, n);
        if (lote.size() > (1 << 20)) {
            salida << lote;
            escritos += static_cast<double>(lote.size());
            lote.clear();
        }
    }
    salida << lote;
    return salida ? 0 : 1;
}
