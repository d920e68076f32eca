#include "ficheros.h"

#include "disco.h"
#include "rutas.h"

#include <new>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace motor {
namespace {

constexpr std::size_t kTamBufferLectura = 1 << 20;
constexpr std::size_t kTamBufferEscritura = 1 << 16;

} // namespace

Fichero SinBufferPropio(std::FILE *abierto)
{
    Fichero fichero(abierto);
    if (fichero) {
        // Our own buffers do the buffering; stdio's would only copy twice.
        std::setvbuf(fichero.get(), nullptr, _IONBF, 0);
    }
    return fichero;
}

namespace {

// Where the system has huge pages, the read buffer lies in one: copying a
// block out of the page cache into 4 KiB pages costs several times more
// (measured: 0.17 s against 0.03 s for 256 MB).
BufferLectura ReservarBufferLectura()
{
#if defined(__linux__)
    constexpr std::size_t kPaginaGrande = 2 << 20;
    static_assert(kTamBufferLectura <= kPaginaGrande);
    void *memoria = std::aligned_alloc(kPaginaGrande, kPaginaGrande);
    if (memoria != nullptr) {
        madvise(memoria, kPaginaGrande, MADV_HUGEPAGE);
    }
#else
    void *memoria = std::malloc(kTamBufferLectura);
#endif
    if (memoria == nullptr) {
        throw std::bad_alloc();
    }
    return BufferLectura(static_cast<char *>(memoria));
}

// The last reader's buffer, kept for the next reader of the same thread: a
// batch of small files does not map and clear a fresh huge page for each.
BufferLectura &BufferGuardado()
{
    thread_local BufferLectura guardado;
    return guardado;
}

BufferLectura TomarBufferLectura()
{
    BufferLectura &guardado = BufferGuardado();
    return guardado ? std::move(guardado) : ReservarBufferLectura();
}

} // namespace

Fichero AbrirParaLeer(const std::string &ruta)
{
    return SinBufferPropio(AbrirLectura(ruta));
}

Fichero CrearNuevo(const std::string &ruta)
{
    return SinBufferPropio(CrearExclusivo(ruta));
}

LectorLineas::LectorLineas(const std::string &ruta)
    : fichero_(AbrirParaLeer(ruta))
    , conAvx2_(fin_de_linea::ConAvx2())
{
    if (fichero_) {
        buffer_ = TomarBufferLectura();
        linea_.reserve(kMaxBytesLinea);
    }
}

LectorLineas::~LectorLineas()
{
    if (buffer_) {
        BufferGuardado() = std::move(buffer_);
    }
}

bool LectorLineas::RellenarBuffer()
{
    if (finFichero_ || falloLectura_ || !fichero_) {
        return false;
    }
    const std::size_t leidos = disco::Leer(fichero_.get(), buffer_.get(), kTamBufferLectura);
    ++bloques_;
    if (leidos < kTamBufferLectura) {
        falloLectura_ = disco::HayError(fichero_.get());
        finFichero_ = true;
    }
    // After a failure nothing more is handed out, not even what the failed
    // read brought before it.
    pos_ = buffer_.get();
    fin_ = falloLectura_ ? pos_ : pos_ + leidos;
    return fin_ != pos_;
}

void LectorLineas::Guardar(const char *desde, std::size_t cuantos)
{
    lineaEmpezada_ = lineaEmpezada_ || cuantos > 0;
    const std::size_t hueco = kMaxBytesLinea - linea_.size();
    linea_.append(desde, std::min(cuantos, hueco));
}

// The slow path: a line that runs past the end of the buffer, the LF of a
// CR LF, or the end of the file. What the line holds is gathered in linea_.
std::optional<std::string_view> LectorLineas::LeerLineaPartida()
{
    linea_.clear();
    lineaEmpezada_ = false;
    altos_ = false;
    for (;;) {
        if (pos_ == fin_ && lineaEmpezada_ && parar_ && parar_()) {
            parado_ = true;
            return std::nullopt;
        }
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
        const char *finLinea = BuscarFinDeLinea(pos_, fin_, altos_);
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

EscritorLog::EscritorLog(Fichero fichero)
    : fichero_(std::move(fichero))
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
        const std::size_t escritos
            = disco::Escribir(fichero_.get(), buffer_.data(), buffer_.size());
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

} // namespace motor
