// What the windows decide, whatever draws them: choosing a file and its log
// path, the overwrite question, the pre-check, the run through the engine and
// what its result means for the result dialog, and "&Detalles".
#pragma once

#include "diseno.h"
#include "interfaz.h"
#include "proceso.h"
#include "servicios.h"

#include <optional>
#include <string>
#include <string_view>

namespace ventanas {

inline constexpr std::string_view kTituloAbrir = "Abrir fichero a filtrar";
inline constexpr std::string_view kPreguntaSobreescribir
    = "El fichero de salida ya existe \u00BFDesea sobreescribirlo?";
inline constexpr std::string_view kSinEditor
    = "No se puede mostrar el fichero log, visualicelo con un programa editor de textos";

// What the result dialog shows after a run that reached its end.
struct Desenlace
{
    std::string_view texto;
    Color color;
    bool detalles = false; // "&Detalles" enabled
    friend bool operator==(const Desenlace &, const Desenlace &) = default;
};

// Nothing for a run that stopped with a message of its own: it has no outcome.
std::optional<Desenlace> DesenlaceDe(const motor::Resultado &resultado);

// The main window's face: what it shows and its one modal dialog.
class Vista
{
public:
    virtual ~Vista() = default;
    virtual void MostrarEntrada(std::string_view ruta) = 0;
    virtual void MostrarSalida(std::string_view ruta) = 0;
    virtual void HabilitarProcesar(bool habilitado) = 0;
    virtual void PunteroOcupado(bool ocupado) = 0;
    virtual void Repintar() = 0;
    // Shows the result dialog modally; returns when it has closed.
    virtual void MostrarResultado(const Desenlace &desenlace, std::string_view log) = 0;
};

// Where a dialog of the given outer size stands, centred over the main
// window's outer rectangle (in pixels at dpi). The arithmetic is in twips and
// single precision; the result is applied as it comes, even off the screen.
struct Punto
{
    int x = 0;
    int y = 0;
    friend bool operator==(Punto, Punto) = default;
};
Punto CentrarSobre(Rectangulo principal, int ancho, int alto, int dpi);

// The first folder of the file dialog: a program unpacked in a folder of the
// user's starts there; an installed one (in /usr/bin, or Program Files) in
// the user's documents, else in the personal folder.
std::string CarpetaInicial(const Carpetas &carpetas);

// The editor's command: the program's name, one blank and the log's path,
// unquoted.
std::string OrdenEditor(std::string_view log);

// "&Detalles": starts the editor on the log. When nothing starts, or the
// editor gives up at once, the message gives the log's path so that the user
// can open it by hand.
void AbrirDetalles(Servicios &servicios, std::string_view log);

// frmEntrada's rules. The two paths live here; the face shows them.
class LogicaEntrada : private motor::Interfaz
{
public:
    // Neither is owned; both must outlive this.
    LogicaEntrada(Servicios &servicios, Vista &vista);

    // A click on the folder picture, or Ctrl+O.
    void Elegir();
    // A file given on the command line or dropped on the window, taken as if
    // chosen in the dialog; a relative path is taken against the current folder.
    void Abrir(std::string_view ruta);
    // "&Procesar": the run, then the result dialog.
    void Procesar();

    const std::string &Entrada() const { return entrada_; }
    const std::string &Salida() const { return salida_; }

private:
    void Tomar(std::string ruta);
    void ConfirmarNombreLog();
    void ComprobarPrimeraLinea();

    void MostrarMensaje(std::string_view texto) override;
    void PunteroOcupado() override;
    void PunteroNormal() override;
    void RepintarVentana() override;

    Servicios &servicios_;
    Vista &vista_;
    DialogoAbrir dialogo_ { std::string(kTituloAbrir), {}, {} };
    std::string entrada_;
    std::string salida_;
    bool ocupado_ = false;
};

} // namespace ventanas
