// Byte-level input and output of the engine: order files are read line by line
// as raw Windows-1252 bytes, error logs are written as bytes with CR LF line ends.
#pragma once

#include "FinDeLinea.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace motor {

struct CierreFichero
{
    void operator()(std::FILE *fichero) const { std::fclose(fichero); }
};
using Fichero = std::unique_ptr<std::FILE, CierreFichero>;

struct LiberarMemoria
{
    void operator()(char *memoria) const { std::free(memoria); }
};
using BufferLectura = std::unique_ptr<char[], LiberarMemoria>;

class LecturaAdelantada;

// Reads a file one line at a time. A line ends at CR LF, CR or LF. Of each line
// only the first kMaxBytesLinea bytes are kept: no record field lies further
// right than kMaxLinea characters, a character saved as UTF-8 takes at most
// three bytes, and a line without end must not fill the memory.
class LectorLineas
{
public:
    static constexpr std::size_t kMaxLinea = 600;
    static constexpr std::size_t kMaxBytesLinea = 3 * kMaxLinea;

    // The size of a read. The blocks of a file read ahead fill one huge page
    // in four places: while one is taken apart, up to three are read or
    // waiting, so that neither side waits for the other at every block (two
    // places of twice the size measured more than 10 % slower).
    static constexpr std::size_t kTamBloque = 512 << 10;
    static constexpr std::size_t kBloquesEnMemoria = 4;

    explicit LectorLineas(const std::string &ruta);
    ~LectorLineas();
    LectorLineas(const LectorLineas &) = delete;
    LectorLineas &operator=(const LectorLineas &) = delete;

    bool Abierto() const { return fichero_ != nullptr; }
    // The bytes at the start of the file, before any line is taken: as many as
    // the first block holds (the whole file when it is smaller). Empty after a
    // read error.
    std::string_view Inicio()
    {
        if (pos_ == nullptr) {
            RellenarBuffer();
        }
        return { pos_, static_cast<std::size_t>(fin_ - pos_) };
    }
    // How many blocks have been read so far: a new block is the moment to look
    // whether the run should stop.
    unsigned long long Bloques() const { return bloques_; }
    // The next line, or nothing at the end of the file or after a read error.
    // The text stays valid until the next call.
    std::optional<std::string_view> LeerLinea()
    {
        // Most lines lie whole inside the buffer and are handed out without a copy.
        if (pos_ != fin_ && !saltarLF_) {
            const char *alto = nullptr;
            const char *finLinea = BuscarFinDeLinea(pos_, fin_, alto);
            if (finLinea != fin_) {
                const auto longitud
                    = std::min(static_cast<std::size_t>(finLinea - pos_), kMaxBytesLinea);
                const std::string_view linea(pos_, longitud);
                primerAlto_ = alto == nullptr ? std::string_view::npos
                                              : static_cast<std::size_t>(alto - pos_);
                PasarFinDeLinea(finLinea);
                return linea;
            }
        }
        return LeerLineaPartida();
    }
    // The rest of the current block, or the next block, as raw bytes; nothing
    // at the end of the file or after a read error. For readers that do not
    // go by lines; not to be mixed with LeerLinea.
    std::optional<std::string_view> LeerBloque()
    {
        if (pos_ == fin_ && !RellenarBuffer()) {
            return std::nullopt;
        }
        const std::string_view bloque(pos_, static_cast<std::size_t>(fin_ - pos_));
        pos_ = fin_;
        return bloque;
    }
    bool FalloLectura() const { return falloLectura_; }
    void Cerrar();
    // Asked at every block a line runs over (an endless line from a pipe):
    // true stops the reading there, as at the end of the file.
    void PreguntarSiParar(std::function<bool()> parar) { parar_ = std::move(parar); }
    bool Parado() const { return parado_; }
    // Where the first byte of 0x80 or above stands in the line last handed
    // out, known from the search for its end; npos or past the line's end
    // when the line is all ASCII.
    std::size_t PrimerAlto() const { return primerAlto_; }

private:
    const char *BuscarFinDeLinea(const char *desde, const char *hasta, const char *&alto) const
    {
        return buscar_(desde, hasta, alto);
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
    // kBloquesEnMemoria places of a block: the one being taken apart and
    // those read ahead or waiting. Never zeroed: only what was read is used.
    BufferLectura buffer_;
    // A regular file larger than a block is read ahead, up to three blocks,
    // on a second thread, so that the copy out of the system overlaps the
    // checking.
    std::unique_ptr<LecturaAdelantada> adelantada_;
    const char *pos_ = nullptr;
    const char *fin_ = nullptr;
    std::string linea_;
    bool lineaEmpezada_ = false;
    bool saltarLF_ = false; // the last line ended at a CR: a LF right after belongs to it
    bool falloLectura_ = false;
    bool finFichero_ = false;
    std::function<bool()> parar_;
    bool parado_ = false;
    std::size_t primerAlto_ = 0;
    fin_de_linea::Buscador buscar_;
    // Whether blocks may still be read ahead: a regular file, looked at once,
    // while no thread has been refused.
    bool adelantable_ = false;
    unsigned long long bloques_ = 0;
};

// An open file whose buffering is left to our own buffers (stdio's would only
// copy twice); nothing for nullptr.
Fichero SinBufferPropio(std::FILE *abierto);
// Opens a file for reading as raw bytes; nothing when it cannot be opened.
Fichero AbrirParaLeer(const std::string &ruta);
// Creates a new file for writing; nothing when it cannot be created or when
// anything, a link included, already stands at the path.
Fichero CrearNuevo(const std::string &ruta);

// Writes whole log lines, each followed by CR LF, through a buffer of its own.
// The first failure is remembered and nothing more is written after it.
class EscritorLog
{
public:
    explicit EscritorLog(Fichero fichero);

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

} // namespace motor
