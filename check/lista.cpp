#include "lista.h"

#include "rutas.h"
#include "sistema.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace cotarel {
namespace {

bool EsRegistro(const std::filesystem::path &ruta)
{
    const std::string extension = motor::TextoDeRuta(ruta.extension());
    return CoincideComodin(".log", extension) || CoincideComodin(".log1", extension);
}

// The regular files under a folder, logs left out, in the order of their
// paths. Links, to files or to folders, are not followed, as find does
// without -L. A folder that cannot be opened or listed to its end is
// reported, even one expected to be closed (lost+found).
void AnadirCarpeta(const std::filesystem::path &carpeta, std::vector<Entrada> &entradas)
{
    std::error_code error;
    std::filesystem::directory_iterator entrada(carpeta, error);
    for (; !error && entrada != std::filesystem::directory_iterator(); entrada.increment(error)) {
        if (EsEnlace(*entrada)) {
            continue;
        }
        std::error_code tipo;
        if (entrada->is_directory(tipo)) {
            AnadirCarpeta(entrada->path(), entradas);
        } else if (entrada->is_regular_file(tipo) && !EsRegistro(entrada->path())) {
            entradas.push_back({ motor::TextoDeRuta(entrada->path()), {} });
        }
    }
    if (error) {
        entradas.push_back({ motor::TextoDeRuta(carpeta), "No se puede leer la carpeta" });
    }
}

// A folder's tree, files and problems in the order of their paths.
std::vector<Entrada> Arbol(const std::string &carpeta)
{
    std::vector<Entrada> entradas;
    AnadirCarpeta(motor::RutaDeSistema(carpeta), entradas);
    std::sort(entradas.begin(), entradas.end(),
        [](const Entrada &a, const Entrada &b) { return a.ruta < b.ruta; });
    return entradas;
}

// Names one per line (or NUL-separated), from a file or standard input; a
// list that cannot be read to its end (a folder, a closed standard input, a
// read error) is reported after the names read before the failure.
void LeerNombres(const std::string &origen, bool separadorNulo, std::vector<Entrada> &entradas)
{
    std::error_code error;
    const bool carpeta
        = origen != "-" && std::filesystem::is_directory(motor::RutaDeSistema(origen), error);
    std::FILE *fichero = origen == "-" ? stdin : carpeta ? nullptr : motor::AbrirLectura(origen);
    bool fallo = fichero == nullptr;
    std::string nombre;
    const char separador = separadorNulo ? '\0' : '\n';
    const auto anadir = [&] {
        if (!separadorNulo && nombre.ends_with('\r')) {
            nombre.pop_back();
        }
        if (!nombre.empty()) {
            entradas.push_back({ std::move(nombre), {} });
        }
        nombre.clear();
    };
    std::array<char, 65536> bloque;
    while (!fallo) {
        const std::size_t leidos = std::fread(bloque.data(), 1, bloque.size(), fichero);
        for (std::size_t i = 0; i < leidos; ++i) {
            if (bloque[i] == separador) {
                anadir();
            } else {
                nombre += bloque[i];
            }
        }
        if (leidos < bloque.size()) {
            fallo = std::ferror(fichero) != 0;
            break;
        }
    }
    if (!fallo) {
        anadir();
    }
    if (fichero != nullptr && fichero != stdin) {
        std::fclose(fichero);
    }
    if (fallo) {
        entradas.push_back({ origen, "No se puede leer la lista de nombres" });
    }
}

} // namespace

std::vector<Entrada> Ficheros(const Opciones &opciones)
{
    std::vector<Entrada> nombres;
    for (const auto &fichero : opciones.ficheros) {
        nombres.push_back({ fichero, {} });
    }
    if (opciones.desde) {
        LeerNombres(*opciones.desde, opciones.separadorNulo, nombres);
    }
    std::vector<Entrada> entradas;
    for (auto &nombre : nombres) {
        std::error_code error;
        if (nombre.problema.empty() && opciones.recursivo
            && std::filesystem::is_directory(motor::RutaDeSistema(nombre.ruta), error)) {
            for (auto &entrada : Arbol(nombre.ruta)) {
                entradas.push_back(std::move(entrada));
            }
        } else {
            entradas.push_back(std::move(nombre));
        }
    }
    return entradas;
}

} // namespace cotarel
