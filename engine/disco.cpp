#include "disco.h"

namespace motor::disco {

std::size_t Leer(std::FILE *fichero, char *destino, std::size_t cuantos)
{
    return std::fread(destino, 1, cuantos, fichero);
}

bool HayError(std::FILE *fichero)
{
    return std::ferror(fichero) != 0;
}

std::size_t Escribir(std::FILE *fichero, const char *origen, std::size_t cuantos)
{
    return std::fwrite(origen, 1, cuantos, fichero);
}

} // namespace motor::disco
