// Cotarel's validation engine: the run state shared with the windows and the
// procedures that check one CSB order file and write its error log.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace modMain {

// Kind of an order file, known by the first two characters of its first line.
enum class TipoArchivo {
    Adeudos, // debit orders: "01" or "51"
    Transferencias, // transfer orders: "03"
    NoCSB, // anything else
};

// Run state, alive for the whole process; the windows read and write it directly.
extern std::string FicheroEntrada; // path of the order file (UTF-8)
extern std::string FicheroSalida; // path of its error log (UTF-8)
extern bool HayErrores; // outcome of the last run that opened both files
extern double NumLinea; // number of the input line last read
extern std::string DCCalculado; // check digits computed for the last account
// Faulty accounts reported by the last run that opened both files.
extern unsigned long long NumCuentasErroneas;

// The two check digits of an account, or "**" when the eighteen positions are
// not all digits.
std::string CalcularDC(std::string_view entidad, std::string_view oficina, std::string_view cuenta);

// The error log's path for an input path: same folder and name, extension ".log".
std::string DerivarNombreLog(std::string_view entrada);

TipoArchivo TipoFichero(std::string_view primeraLinea);

// The first line of a file, read as a run reads it (empty for a file without
// lines), or nothing when the file cannot be opened or read.
std::optional<std::string> LeerPrimeraLinea(const std::string &ruta);

void ValidarAdeudos(const std::string &entrada, const std::string &salida);
void ValidarTransferencias(const std::string &entrada, const std::string &salida);

// Checks FicheroEntrada, writing its log at FicheroSalida; the outcome is HayErrores.
void ProcesarFichero();

} // namespace modMain
