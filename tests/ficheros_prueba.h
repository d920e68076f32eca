// What the tests and the fuzz target ask of the system about files: a file's
// bytes, and how many files this process holds open. Standard C++ and the
// system only, so that the fuzz target links it too.
#pragma once

#include <filesystem>
#include <string>

namespace prueba {

// The whole file; empty when it cannot be read.
std::string LeerBytes(const std::filesystem::path &ruta);

// Number of file descriptors (on Windows, handles) this process holds open.
int DescriptoresAbiertos();

} // namespace prueba
