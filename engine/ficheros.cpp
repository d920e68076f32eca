#include "ficheros.h"

#include <algorithm>
#include <cstring>

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

const char *BuscarByte(const char *desde, const char *hasta, char byte)
{
    const void *encontrado = std::memchr(desde, byte, static_cast<std::size_t>(hasta - desde));
    return encontrado ? static_cast<const char *>(encontrado) : hasta;
}

} // namespace

LectorLineas::LectorLineas(const std::string &ruta)
    : fichero_(AbrirFichero(ruta, "rb"))
{
    if (fichero_) {
        buffer_.resize(kTamBufferLectura);
        linea_.reserve(kMaxLinea);
    }
}

bool LectorLineas::RellenarBuffer()
{
    if (finFichero_ || falloLectura_ || !fichero_) {
        return false;
    }
    const std::size_t leidos = std::fread(buffer_.data(), 1, buffer_.size(), fichero_.get());
    if (leidos < buffer_.size()) {
        falloLectura_ = std::ferror(fichero_.get()) != 0;
        finFichero_ = true;
    }
    pos_ = buffer_.data();
    fin_ = pos_ + leidos;
    siguienteCR_ = siguienteLF_ = nullptr; // the old results belong to the old data
    return leidos > 0 && !falloLectura_;
}

void LectorLineas::Guardar(const char *desde, std::size_t cuantos)
{
    lineaEmpezada_ = lineaEmpezada_ || cuantos > 0;
    const std::size_t hueco = kMaxLinea - linea_.size();
    linea_.append(desde, std::min(cuantos, hueco));
}

// Two memchr searches whose results are kept until the scan passes them, so
// each byte of the buffer is looked at about twice in all, whatever the mix
// of line ends.
const char *LectorLineas::BuscarFinDeLinea()
{
    if (siguienteCR_ == nullptr || siguienteCR_ < pos_) {
        siguienteCR_ = BuscarByte(pos_, fin_, '\r');
    }
    if (siguienteLF_ == nullptr || siguienteLF_ < pos_) {
        siguienteLF_ = BuscarByte(pos_, fin_, '\n');
    }
    return std::min(siguienteCR_, siguienteLF_);
}

std::optional<std::string_view> LectorLineas::LeerLinea()
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
                continue;
            }
        }
        const char *finLinea = BuscarFinDeLinea();
        Guardar(pos_, static_cast<std::size_t>(finLinea - pos_));
        pos_ = finLinea;
        if (finLinea != fin_) {
            saltarLF_ = *finLinea == '\r';
            ++pos_;
            return std::string_view(linea_);
        }
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
