// Paths travel through the engine as text: UTF-8 on Windows, and on other
// systems the bytes the system gave. These turn that text into the system's
// own path, for every file operation, and a system path back into text.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace motor {

// On Windows the UTF-8 text becomes UTF-16; text that is not UTF-8 is taken
// in the system's code page, as Windows itself would take it.
std::filesystem::path RutaDeSistema(std::string_view ruta);
std::string TextoDeRuta(const std::filesystem::path &ruta);

#ifdef _WIN32
// Text between the program's UTF-8 and the wide (UTF-16) text of the
// Windows API, converted as paths are.
std::wstring TextoAncho(std::string_view texto);
std::string TextoUtf8(std::wstring_view texto);
#endif

// Opens a file for reading as raw bytes; nullptr when it cannot be opened.
std::FILE *AbrirLectura(const std::string &ruta);
// Creates a new file for writing as raw bytes; nullptr when anything, a link
// included, already stands at the path, or when it cannot be created.
std::FILE *CrearExclusivo(const std::string &ruta);

} // namespace motor
