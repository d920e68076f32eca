// cotarel-check's command line: its options, its help and its version.
#pragma once

#include "informe.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cotarel {

// The exit statuses, the worst file's for a batch.
constexpr int kTodoCorrecto = 0;
constexpr int kConErrores = 1;
constexpr int kNoComprobado = 2;
constexpr int kUsoIncorrecto = 64;

inline constexpr std::string_view kPrograma = "cotarel-check: ";

struct Opciones
{
    bool silencioso = false;
    bool recursivo = false;
    bool separadorNulo = false;
    Formato formato = Formato::Texto;
    std::optional<std::string> desde; // "-": standard input
    unsigned trabajos = 0; // 0: as many as the machine has processors
    std::vector<std::string> ficheros;
};

// The options and the files named, or why the command line is wrong.
std::variant<Opciones, std::string> LeerOpciones(const std::vector<std::string> &argumentos);

std::string_view TextoAyuda();
// "cotarel-check 1.00" and a line feed.
std::string_view TextoVersion();

} // namespace cotarel
