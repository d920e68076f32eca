// The engine's only reads and writes of file contents. They live in a source
// file of their own, so that a test program can link versions of its own in
// their place (reads or writes that fail as a failing disk's would) on any
// system and with any linker.
#pragma once

#include <cstddef>
#include <cstdio>

namespace motor::disco {

// As std::fread of bytes.
std::size_t Leer(std::FILE *fichero, char *destino, std::size_t cuantos);
// Whether the stream has met a read or write error.
bool HayError(std::FILE *fichero);
// As std::fwrite of bytes.
std::size_t Escribir(std::FILE *fichero, const char *origen, std::size_t cuantos);

} // namespace motor::disco
