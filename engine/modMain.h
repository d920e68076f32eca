// Cotarel's validation engine as programs that link it have always used it
// (the windows and cotarel-check call the core directly): the run state and
// the procedures that check one CSB order file and write its error log. Each procedure runs the
// core (namespace motor, proceso.h) and copies its result into the run state; nothing else writes
// the run state. Nothing in the engine includes this header: it is the layer on top.
#pragma once

#include "DerivarNombreLog.h"
#include "cuentas.h"
#include "logseguro.h"
#include "proceso.h"
#include "tipos.h"

#include <optional>
#include <string>
#include <string_view>

namespace modMain {

// Every name of the engine's core, as these programs have always written them
// (modMain::CalcularDC, modMain::Resultado...).
using namespace motor;

// Run state, alive for the whole process. The calling program sets the two
// paths before a run and reads the outcome after it.
extern std::string FicheroEntrada; // path of the order file (UTF-8)
extern std::string FicheroSalida; // path of its error log (UTF-8)
extern bool HayErrores; // outcome of the last run that opened both files
extern double NumLinea; // number of the input line last read
extern std::string DCCalculado; // check digits computed for a legacy file's last account
// Faulty accounts reported by the last run that opened both files.
extern unsigned long long NumCuentasErroneas;

// The first line of a file, read as a run reads it (empty for a file without
// lines), or nothing when the file cannot be opened or read.
std::optional<std::string> LeerPrimeraLinea(const std::string &ruta);

void ValidarAdeudos(const std::string &entrada, const std::string &salida);
void ValidarTransferencias(const std::string &entrada, const std::string &salida);

// Checks FicheroEntrada, writing its log at FicheroSalida; the outcome is HayErrores.
void ProcesarFichero();

// The whole result of the last of the three procedures above: whether it ran
// to its end, and why not.
const Resultado &UltimoProceso();

} // namespace modMain
