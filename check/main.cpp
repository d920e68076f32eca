// cotarel-check: checks order files from the command line, exactly as a run of
// the desktop program does, for batches and scripts.
#include "lista.h"
#include "lote.h"
#include "opciones.h"
#include "sistema.h"

#include <algorithm>
#include <iostream>
#include <string_view>

namespace {

int Uso(std::string_view motivo = {})
{
    if (!motivo.empty()) {
        std::cerr << cotarel::kPrograma << motivo << '\n';
    }
    std::cerr << cotarel::kPrograma
              << "uso: cotarel-check [OPCIONES] FICHERO...  (cotarel-check --help para m\u00E1s "
                 "informaci\u00F3n)\n";
    return cotarel::kUsoIncorrecto;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t *argv[])
#else
int main(int argc, char *argv[])
#endif
{
    cotarel::PrepararConsola();
    cotarel::MarcarEnUso();
    const auto [argumentos, sinCoincidencias] = cotarel::LeerArgumentos(argc, argv);
    if (argumentos.size() == 1 && (argumentos[0] == "--help" || argumentos[0] == "--version")) {
        std::cout << (argumentos[0] == "--help" ? cotarel::TextoAyuda() : cotarel::TextoVersion());
        return cotarel::kTodoCorrecto;
    }
    const auto leidas = cotarel::LeerOpciones(argumentos);
    if (const auto *motivo = std::get_if<std::string>(&leidas)) {
        return Uso(*motivo);
    }
    const cotarel::Opciones &opciones = std::get<cotarel::Opciones>(leidas);
    // A pattern that matches nothing is a file not checked.
    for (const auto &patron : sinCoincidencias) {
        std::cerr << cotarel::kPrograma << "ning\u00FAn fichero coincide con " << patron << '\n';
    }
    const int sinFichero
        = sinCoincidencias.empty() ? cotarel::kTodoCorrecto : cotarel::kNoComprobado;
    if (opciones.ficheros.empty() && !opciones.desde) {
        return sinCoincidencias.empty() ? Uso() : cotarel::kNoComprobado;
    }
    cotarel::InstalarSenales();
    const int estado
        = cotarel::ComprobarTodos(cotarel::Ficheros(opciones), opciones, std::cout, std::cerr);
    return std::max(estado, sinFichero);
}
