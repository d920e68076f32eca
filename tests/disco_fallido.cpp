#include "disco_fallido.h"

#include "disco.h"

#include <cerrno>

namespace {

struct Fallo
{
    int hasta = -1; // operations left before the one that fails
    std::FILE *fichero = nullptr; // the stream of the failed one

    bool Toca(std::FILE *ahora)
    {
        if (hasta > 0 && --hasta == 0) {
            fichero = ahora;
            errno = EIO;
            return true;
        }
        return false;
    }
};

Fallo lectura;
Fallo escritura;

} // namespace

namespace motor::disco {

std::size_t Leer(std::FILE *fichero, char *destino, std::size_t cuantos)
{
    return lectura.Toca(fichero) ? 0 : std::fread(destino, 1, cuantos, fichero);
}

bool HayError(std::FILE *fichero)
{
    return fichero == lectura.fichero || fichero == escritura.fichero || std::ferror(fichero) != 0;
}

std::size_t Escribir(std::FILE *fichero, const char *origen, std::size_t cuantos)
{
    return escritura.Toca(fichero) ? 0 : std::fwrite(origen, 1, cuantos, fichero);
}

} // namespace motor::disco

namespace prueba {

void FallarLecturaNumero(int numero)
{
    lectura = { numero, nullptr };
}

void FallarEscrituraNumero(int numero)
{
    escritura = { numero, nullptr };
}

} // namespace prueba
