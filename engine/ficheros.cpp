#include "ficheros.h"

#include "disco.h"
#include "rutas.h"

#include <condition_variable>
#include <mutex>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace motor {
namespace {

constexpr std::size_t kHuecos = LectorLineas::kBloquesEnMemoria;
constexpr std::size_t kTamBufferLectura = kHuecos * LectorLineas::kTamBloque;
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

// A regular file: a read never waits for a writer, and ends.
bool EsFicheroNormal(std::FILE *fichero)
{
    struct stat estado
    {
    };
    return fstat(fileno(fichero), &estado) == 0 && S_ISREG(estado.st_mode);
}

} // namespace

// Blocks read ahead: while the reader takes one block of the buffer apart,
// this thread reads the next ones into the other places of the buffer. The
// reader hands each block back when it asks for the next.
class LecturaAdelantada
{
public:
    struct Bloque
    {
        char *datos;
        std::size_t leidos;
        bool error;
    };

    // The reader is taking the first place apart; the thread starts on the
    // next. Throws std::system_error where no thread can be started.
    LecturaAdelantada(std::FILE *fichero, char *buffer)
        : fichero_(fichero)
        , buffer_(buffer)
        , hilo_([this] { Leer(); })
    {
    }
    ~LecturaAdelantada()
    {
        {
            std::lock_guard guarda(cerrojo_);
            parar_ = true;
        }
        cambio_.notify_all();
        hilo_.join();
    }
    LecturaAdelantada(const LecturaAdelantada &) = delete;
    LecturaAdelantada &operator=(const LecturaAdelantada &) = delete;

    // The next block, once read; the one handed out before goes back to the thread.
    Bloque Siguiente()
    {
        std::unique_lock guarda(cerrojo_);
        ++tomados_;
        cambio_.notify_all();
        cambio_.wait(guarda, [this] { return leidos_ >= tomados_; });
        return bloques_[(tomados_ - 1) % kHuecos];
    }

private:
    // The thread's j-th block goes to place (j + 1) % kHuecos, once the
    // reader has handed back the block that was there.
    void Leer()
    {
        for (unsigned long long j = 0;; ++j) {
            std::unique_lock guarda(cerrojo_);
            cambio_.wait(guarda, [this, j] { return tomados_ + kHuecos >= j + 2 || parar_; });
            if (parar_) {
                return;
            }
            guarda.unlock();
            char *destino = buffer_ + (j + 1) % kHuecos * LectorLineas::kTamBloque;
            const std::size_t leidos = disco::Leer(fichero_, destino, LectorLineas::kTamBloque);
            const bool fin = leidos < LectorLineas::kTamBloque;
            const bool error = fin && disco::HayError(fichero_);
            guarda.lock();
            bloques_[j % kHuecos] = Bloque { destino, leidos, error };
            leidos_ = j + 1;
            guarda.unlock();
            cambio_.notify_all();
            if (fin) {
                return;
            }
        }
    }

    std::FILE *fichero_;
    char *buffer_;
    std::mutex cerrojo_;
    std::condition_variable cambio_;
    Bloque bloques_[kHuecos] {}; // the thread's j-th block at j % kHuecos
    unsigned long long leidos_ = 0; // blocks the thread has read
    unsigned long long tomados_ = 0; // blocks the reader has asked for
    bool parar_ = false;
    std::thread hilo_; // last: started once the rest is set
};

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
    , buscar_(fin_de_linea::MejorBuscador())
{
    if (fichero_) {
        buffer_ = TomarBufferLectura();
        linea_.reserve(kMaxBytesLinea);
        adelantable_ = EsFicheroNormal(fichero_.get());
    }
}

LectorLineas::~LectorLineas()
{
    adelantada_.reset(); // its thread may still be reading into the buffer
    if (buffer_) {
        BufferGuardado() = std::move(buffer_);
    }
}

void LectorLineas::Cerrar()
{
    adelantada_.reset();
    fichero_.reset();
}

bool LectorLineas::RellenarBuffer()
{
    if (finFichero_ || falloLectura_ || !fichero_) {
        return false;
    }
    LecturaAdelantada::Bloque bloque {};
    if (adelantada_) {
        bloque = adelantada_->Siguiente();
    } else {
        bloque.datos = buffer_.get();
        bloque.leidos = disco::Leer(fichero_.get(), bloque.datos, kTamBloque);
        bloque.error = bloque.leidos < kTamBloque && disco::HayError(fichero_.get());
    }
    ++bloques_;
    finFichero_ = bloque.leidos < kTamBloque;
    falloLectura_ = bloque.error;
    // After a failure nothing more is handed out, not even what the failed
    // read brought before it.
    pos_ = bloque.datos;
    fin_ = falloLectura_ ? pos_ : pos_ + bloque.leidos;
    if (adelantable_ && !adelantada_ && !finFichero_) {
        try {
            adelantada_ = std::make_unique<LecturaAdelantada>(fichero_.get(), buffer_.get());
        } catch (const std::system_error &) {
            adelantable_ = false; // no second thread (a process limit): every block read here
        }
    }
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
    primerAlto_ = std::string_view::npos;
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
        const char *alto = nullptr;
        const char *finLinea = BuscarFinDeLinea(pos_, fin_, alto);
        if (alto != nullptr && primerAlto_ == std::string_view::npos) {
            primerAlto_ = linea_.size() + static_cast<std::size_t>(alto - pos_);
        }
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
