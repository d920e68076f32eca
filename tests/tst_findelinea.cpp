// Every way of finding a line end gives the same answer, wherever the CR or
// LF stands relative to the 16-, 32- and 64-byte steps and whatever the start, and
// points at a byte beyond ASCII exactly when one stands before the line end.
#include "FinDeLinea.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using Buscador = const char *(*)(const char *, const char *, const char *&);

struct CasoBuscador
{
    const char *nombre;
    Buscador buscar;
    bool disponible;
};

void PrintTo(const CasoBuscador &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class FinDeLineaTest : public testing::TestWithParam<CasoBuscador>
{
};

TEST_P(FinDeLineaTest, EncuentraElPrimerCRoLF)
{
    if (!GetParam().disponible) {
        GTEST_SKIP() << "this processor lacks " << GetParam().nombre;
    }
    constexpr int kLongitud = 100;
    for (const char fin : { '\r', '\n' }) {
        const char otro = fin == '\r' ? '\n' : '\r';
        for (int inicio = 0; inicio < 40; ++inicio) {
            // donde == kLongitud: no line end in the range.
            for (int donde = inicio; donde <= kLongitud; ++donde) {
                // A high byte nowhere, first in the line, last before its end,
                // or just after it.
                for (const int alto : { -1, inicio, donde - 1, donde + 1 }) {
                    std::string bytes(kLongitud + 64, '\x0b'); // VT lies between LF and CR
                    // Past the range, bytes that change either answer if read:
                    // a high byte, then line ends.
                    bytes[kLongitud] = '\xC3';
                    bytes.replace(kLongitud + 1, 63, 63, '\r');
                    if (alto >= inicio && alto < kLongitud) {
                        bytes[alto] = '\xC3';
                    }
                    if (donde < kLongitud) {
                        bytes[donde] = fin;
                        if (donde + 1 < kLongitud && alto != donde + 1) {
                            bytes[donde + 1] = otro;
                        }
                    }
                    const char *base = bytes.data();
                    const char *visto = nullptr;
                    ASSERT_EQ(
                        GetParam().buscar(base + inicio, base + kLongitud, visto), base + donde)
                        << "start " << inicio << ", line end at " << donde;
                    ASSERT_EQ(visto, alto >= inicio && alto < donde ? base + alto : nullptr)
                        << "start " << inicio << ", line end at " << donde << ", high byte at "
                        << alto;
                }
            }
        }
    }
}

// Random bytes, rich in line ends and high bytes, at random starts and
// lengths: the same answers as byte by byte.
TEST_P(FinDeLineaTest, ComoByteAByteSobreBytesAlAzar)
{
    if (!GetParam().disponible) {
        GTEST_SKIP() << "this processor lacks " << GetParam().nombre;
    }
    std::mt19937 azar(7);
    std::string bytes(1024, '\0');
    for (int vuelta = 0; vuelta < 3000; ++vuelta) {
        const unsigned densidad = 1 + azar() % 200; // one line end in so many bytes
        for (char &byte : bytes) {
            const unsigned tirada = azar() % densidad;
            byte = tirada == 0 ? (azar() % 2 ? '\r' : '\n') : static_cast<char>(azar() % 256);
            if (byte == '\r' || byte == '\n') {
                byte = tirada == 0 ? byte : 'a';
            }
        }
        const std::size_t inicio = azar() % 256;
        const std::size_t fin = inicio + azar() % (bytes.size() - inicio - 64);
        const char *base = bytes.data();
        const char *esperadoAlto = nullptr;
        const char *esperado
            = motor::fin_de_linea::ByteAByte(base + inicio, base + fin, esperadoAlto);
        const char *alto = nullptr;
        ASSERT_EQ(GetParam().buscar(base + inicio, base + fin, alto), esperado)
            << "round " << vuelta;
        ASSERT_EQ(alto, esperadoAlto) << "round " << vuelta;
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, FinDeLineaTest,
    testing::Values(CasoBuscador { "byte_by_byte", motor::fin_de_linea::ByteAByte, true },
        CasoBuscador { "sse2", motor::fin_de_linea::Sse2, true },
        CasoBuscador { "avx2", motor::fin_de_linea::Avx2, motor::fin_de_linea::ConAvx2() },
        CasoBuscador { "avx512", motor::fin_de_linea::Avx512, motor::fin_de_linea::ConAvx512() }),
    [](const auto &info) { return std::string(info.param.nombre); });

} // namespace
