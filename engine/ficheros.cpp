#include "ficheros.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace modMain {
namespace {

constexpr std::size_t kTamBufferLectura = 1 << 20;
constexpr std::size_t kTamBufferEscritura = 1 << 16;

Fichero AbrirFichero(const std::string &ruta, const char *modo)
{
    Fichero fichero(std::fopen(ruta.c_str(), modo));
    if (fichero) {
        // Our own buffers do the buffering; stdio's would only copy twice.
        std::setvbuf(fichero.get(), nullptr, _IONBF, 0);
    }
    return fichero;
}

} // namespace

#if defined(__GNUC__) && defined(__x86_64__)
__attribute__((target("avx2"))) const char *LectorLineas::BuscarFinDeLineaAvx2(
    const char *desde, const char *hasta)
{
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    for (; hasta - desde >= 32; desde += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(desde));
        const auto fines = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_or_si256(_mm256_cmpeq_epi8(bytes, cr), _mm256_cmpeq_epi8(bytes, lf))));
        if (fines != 0) {
            return desde + __builtin_ctz(fines);
        }
    }
    return BuscarFinDeLinea(desde, hasta);
}

static bool ProcesadorConAvx2()
{
    return __builtin_cpu_supports("avx2");
}
#else
const char *LectorLineas::BuscarFinDeLineaAvx2(const char *desde, const char *hasta)
{
    return BuscarFinDeLinea(desde, hasta);
}

static bool ProcesadorConAvx2()
{
    return false;
}
#endif

LectorLineas::LectorLineas(const std::string &ruta)
    : fichero_(AbrirFichero(ruta, "rb"))
    , conAvx2_(ProcesadorConAvx2())
{
    if (fichero_) {
        buffer_ = std::make_unique_for_overwrite<char[]>(kTamBufferLectura);
        linea_.reserve(kMaxLinea);
    }
}

bool LectorLineas::RellenarBuffer()
{
    if (finFichero_ || falloLectura_ || !fichero_) {
        return false;
    }
    const std::size_t leidos = std::fread(buffer_.get(), 1, kTamBufferLectura, fichero_.get());
    if (leidos < kTamBufferLectura) {
        falloLectura_ = std::ferror(fichero_.get()) != 0;
        finFichero_ = true;
    }
    pos_ = buffer_.get();
    fin_ = pos_ + leidos;
    return leidos > 0 && !falloLectura_;
}

void LectorLineas::Guardar(const char *desde, std::size_t cuantos)
{
    lineaEmpezada_ = lineaEmpezada_ || cuantos > 0;
    const std::size_t hueco = kMaxLinea - linea_.size();
    linea_.append(desde, std::min(cuantos, hueco));
}

// The slow path: a line that runs past the end of the buffer, the LF of a
// CR LF, or the end of the file. What the line holds is gathered in linea_.
std::optional<std::string_view> LectorLineas::LeerLineaPartida()
{
    linea_.clear();
    lineaEmpezada_ = false;
    for (;;) {
        if (pos_ == fin_ && !RellenarBuffer()) {
            break;
        }
        if (saltarLF_) {
            saltarLF_ = false;
            if (*pos_ == '\n') {
                ++pos_;
            }
            continue;
        }
        const char *finLinea = BuscarFinDeLineaRapido(pos_, fin_);
        Guardar(pos_, static_cast<std::size_t>(finLinea - pos_));
        if (finLinea != fin_) {
            PasarFinDeLinea(finLinea);
            return std::string_view(linea_);
        }
        pos_ = fin_;
    }
    if (falloLectura_ || !lineaEmpezada_) {
        return std::nullopt;
    }
    return std::string_view(linea_); // last line, without a line end
}

EscritorLog::EscritorLog(const std::string &ruta)
    : fichero_(AbrirFichero(ruta, "wb"))
{
    buffer_.reserve(kTamBufferEscritura + 256);
}

void EscritorLog::EscribirLinea(std::string_view texto)
{
    if (falloEscritura_ || !fichero_) {
        return;
    }
    buffer_.append(texto);
    buffer_.append("\r\n");
    if (buffer_.size() >= kTamBufferEscritura) {
        Vaciar();
    }
}

void EscritorLog::Vaciar()
{
    if (!buffer_.empty() && !falloEscritura_) {
        const std::size_t escritos = std::fwrite(buffer_.data(), 1, buffer_.size(), fichero_.get());
        falloEscritura_ = escritos != buffer_.size();
    }
    buffer_.clear();
}

bool EscritorLog::Cerrar()
{
    if (!fichero_) {
        return !falloEscritura_;
    }
    Vaciar();
    const bool cerrado = std::fclose(fichero_.release()) == 0;
    falloEscritura_ = falloEscritura_ || !cerrado;
    return !falloEscritura_;
}

} // namespace modMain
