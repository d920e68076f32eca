#include "lectura_fallida.h"

#include <cerrno>
#include <cstdio>

extern "C" std::size_t __real_fread(void *, std::size_t, std::size_t, std::FILE *);
extern "C" int __real_ferror(std::FILE *);

namespace {

int lecturasHastaElFallo = -1;
std::FILE *fallido = nullptr;

} // namespace

extern "C" std::size_t __wrap_fread(
    void *destino, std::size_t tamano, std::size_t cuantos, std::FILE *fichero)
{
    if (lecturasHastaElFallo > 0 && --lecturasHastaElFallo == 0) {
        fallido = fichero;
        errno = EIO;
        return 0;
    }
    return __real_fread(destino, tamano, cuantos, fichero);
}

extern "C" int __wrap_ferror(std::FILE *fichero)
{
    return fichero == fallido || __real_ferror(fichero);
}

namespace prueba {

void FallarLecturaNumero(int numero)
{
    lecturasHastaElFallo = numero;
    fallido = nullptr;
}

} // namespace prueba
