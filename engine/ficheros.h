// Byte-level input and output of the engine: order files are read line by line
// as raw Windows-1252 bytes, error logs are written as bytes with CR LF line ends.
#pragma once

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace modMain {

struct CierreFichero
{
    void operator()(std::FILE *fichero) const { std::fclose(fichero); }
};
using Fichero = std::unique_ptr<std::FILE, CierreFichero>;

// Reads a file one line at a time. A line ends at CR LF, CR or LF. Of each line
// only the first kMaxLinea bytes are kept: no record field lies further right,
// and a line without end must not fill the memory.
class LectorLineas
{
public:
    static constexpr std::size_t kMaxLinea = 88;

    explicit LectorLineas(const std::string &ruta);

    bool Abierto() const { return fichero_ != nullptr; }
    // The next line, or nothing at the end of the file or after a read error.
    // The text stays valid until the next call.
    std::optional<std::string_view> LeerLinea()
    {
        // Most lines lie whole inside the buffer and are handed out without a copy.
        if (pos_ != fin_ && !saltarLF_) {
            const char *finLinea = BuscarFinDeLineaRapido(pos_, fin_);
            if (finLinea != fin_) {
                const auto longitud
                    = std::min(static_cast<std::size_t>(finLinea - pos_), kMaxLinea);
                const std::string_view linea(pos_, longitud);
                PasarFinDeLinea(finLinea);
                return linea;
            }
        }
        return LeerLineaPartida();
    }
    bool FalloLectura() const { return falloLectura_; }
    void Cerrar() { fichero_.reset(); }

private:
    static const char *BuscarFinDeLinea(const char *desde, const char *hasta);
    // The same, thirty-two bytes at a time on processors that have AVX2.
    static const char *BuscarFinDeLineaAvx2(const char *desde, const char *hasta);
    const char *BuscarFinDeLineaRapido(const char *desde, const char *hasta) const
    {
        return conAvx2_ ? BuscarFinDeLineaAvx2(desde, hasta) : BuscarFinDeLinea(desde, hasta);
    }
    std::optional<std::string_view> LeerLineaPartida();
    // Moves past the CR, LF or CR LF at finLinea; a CR at the end of the buffer
    // leaves its LF, if any, for the next block.
    void PasarFinDeLinea(const char *finLinea)
    {
        pos_ = finLinea + 1;
        if (*finLinea == '\r') {
            if (pos_ == fin_) {
                saltarLF_ = true;
            } else if (*pos_ == '\n') {
                ++pos_;
            }
        }
    }
    bool RellenarBuffer();
    void Guardar(const char *desde, std::size_t cuantos);

    Fichero fichero_;
    std::unique_ptr<char[]> buffer_; // never zeroed: only what was read is used
    const char *pos_ = nullptr;
    const char *fin_ = nullptr;
    std::string linea_;
    bool lineaEmpezada_ = false;
    bool saltarLF_ = false; // the last line ended at a CR: a LF right after belongs to it
    bool falloLectura_ = false;
    bool finFichero_ = false;
    bool conAvx2_ = false;
};

// The first CR or LF in [desde, hasta), or hasta. Sixteen bytes at a time
// where the processor allows it: this scan is most of the cost of a line.
inline const char *LectorLineas::BuscarFinDeLinea(const char *desde, const char *hasta)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; hasta - desde >= 16; desde += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(desde));
        const int fines
            = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (fines != 0) {
            return desde + __builtin_ctz(static_cast<unsigned>(fines));
        }
    }
#endif
    while (desde != hasta && *desde != '\r' && *desde != '\n') {
        ++desde;
    }
    return desde;
}

// Writes whole log lines, each followed by CR LF, through a buffer of its own.
// The first failure is remembered and nothing more is written after it.
class EscritorLog
{
public:
    explicit EscritorLog(const std::string &ruta);

    bool Abierto() const { return fichero_ != nullptr; }
    void EscribirLinea(std::string_view texto);
    // Flushes and closes; false when any write or the close failed.
    bool Cerrar();
    bool FalloEscritura() const { return falloEscritura_; }

private:
    void Vaciar();

    Fichero fichero_;
    std::string buffer_;
    bool falloEscritura_ = false;
};

} // namespace modMain
