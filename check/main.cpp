// cotarel-check: checks order files from the command line, exactly as a run of
// the desktop program does, for batches and scripts.
#include "DerivarNombreLog.h"
#include "informe.h"
#include "interfaz.h"
#include "proceso.h"
#include "rutas.h"
#include "sistema.h"
#include "tipos.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <variant>
#include <vector>

namespace {

constexpr int kTodoCorrecto = 0;
constexpr int kConErrores = 1;
constexpr int kNoComprobado = 2;
constexpr int kUsoIncorrecto = 64;

constexpr std::string_view kAyuda = R"(Uso: cotarel-check [OPCIONES] FICHERO...

Comprueba los dígitos de control de todas las cuentas de uno o varios
ficheros de órdenes bancarias, igual que el botón Procesar de Cotarel:

  adeudos-sepa         SEPA, Norma 19.14, 19.15 y 19.44 (registros de 600
                       caracteres): el IBAN del acreedor y el de cada deudor
                       (o su CCC, si el registro lo marca con "B")
  transferencias-sepa  SEPA, Norma 34.14 (600 caracteres): el IBAN del
                       ordenante y el de cada beneficiario
  xml-pain008          adeudos ISO 20022 en XML (toda versión pain.008,
                       también las alemanas y suizas): el IBAN del acreedor
                       de cada pago, el de cada deudor y el original de una
                       modificación del mandato
  xml-pain001          transferencias ISO 20022 en XML (toda versión
                       pain.001): el IBAN del ordenante y el de cada
                       beneficiario
  adeudos              CSB 19 antiguo (primera línea "01" o "51"): el DC de
                       cada cuenta de 20 dígitos (CCC)
  transferencias       CSB 34 antiguo (primera línea "03"): el DC de cada CCC

Un IBAN se comprueba entero: país y longitud, sus dígitos de control
(MOD 97) y, si es español, el DC de la cuenta que lleva dentro. Una cuenta
dada sin IBAN (Othr en XML) no se puede comprobar. El XML puede estar en
UTF-8, UTF-16, ISO-8859-1, ISO-8859-15 o windows-1252; un fichero plano
guardado en UTF-8 se lee como si estuviera en Windows-1252.

Cada error se anota en un fichero .log junto al fichero comprobado (mayo.txt
da mayo.log); un log anterior se sustituye sin preguntar. Si un fichero no
tiene errores, no queda ningún log. Si la comprobación no llega al final (no
se puede leer o escribir, o se interrumpe con Ctrl+C), el log anterior se
conserva tal como estaba. Dos ficheros que darían el mismo log (mayo.txt y
mayo.q19) no se comprueban en la misma orden: el segundo queda sin comprobar.

Por cada fichero se escribe una línea en la salida estándar, separada por
tabuladores: el fichero, el resultado ("Proceso terminado", "Proceso
terminado con errores" o "No comprobado"), el tipo de fichero (una de las
palabras de arriba, "no-csb", "xml" si el XML terminó antes de su elemento
raíz, o "-" si no se pudo leer), el número de cuentas
erróneas y el log cuando lo hay. Los avisos van a la salida de errores.
Un fichero en el que no hay ni una cuenta que comprobar queda "No comprobado",
con el aviso "No se ha comprobado ninguna cuenta".

Con --formato=json, cada fichero da un objeto JSON en una línea, con las
claves "ruta", "tipo" (las palabras de arriba; null si no se pudo leer),
"resultado" ("correcto", "errores", "sin-cuentas" o "no-comprobado"),
"cuentas_comprobadas", "cuentas_erroneas" y "cuentas_sin_iban" (las que
no se pudieron comprobar por no llevar IBAN; null si no se comprobó),
"registro" (el log, o null), "mensaje" (el aviso, o null) y "fallos": una
lista, en el orden del log, de objetos con "linea", "papel" ("ordenante" o
"individual") y "comprobacion" ("dc", "iban" o "iban-no-valido"). Los bytes
de una ruta que no son UTF-8 válido se escriben como \udc80-\udcff.

Estado de salida:
  0   todos los ficheros comprobados y sin errores
  1   todos comprobados, alguno con cuentas erróneas
  2   algún fichero no se pudo comprobar (no es CSB, no se puede abrir,
      XML no válido, no se puede escribir su log, su log es el de otro
      fichero, no tiene ninguna cuenta); los demás se comprueban igualmente
  64  uso incorrecto

Ejemplos:
  cotarel-check remesa-mayo.txt
  cotarel-check /remesas/*.q19 || echo "Revise los logs"

Opciones:
  -q, --silencioso      no escribe nada en la salida estándar; solo el
                        estado de salida dice el resultado
  -r, --recursivo       comprueba los ficheros de las carpetas nombradas y
                        de sus subcarpetas, por orden de ruta (no los .log
                        ni los enlaces); una carpeta que no se puede leer
                        queda "No comprobado"
  --desde=FICHERO       lee además los nombres de FICHERO, uno por línea
                        ("-": de la entrada estándar); si no se puede leer
                        entero, queda "No comprobado"
  -0                    con --desde, los nombres van separados por NUL
  -j N, --trabajos=N    comprueba N ficheros a la vez (por omisión, tantos
                        como procesadores); la salida sigue el orden dado
  --formato=json        una línea JSON por fichero, para programas (véase
                        abajo); --formato=texto es la salida de siempre
  --help                muestra esta ayuda
  --version             muestra la versión
)";

constexpr std::string_view kPrograma = "cotarel-check: ";

using cotarel::Desenlace;
using cotarel::Formato;
using cotarel::Informe;

// Messages of the run are kept for the file's report, prefixed with the
// program's name and the file's path; faulty accounts are kept when asked for.
class InterfazConsola final : public motor::Interfaz
{
public:
    InterfazConsola(Informe &informe, bool anotarFallos)
        : informe_(informe)
        , anotarFallos_(anotarFallos)
    {
    }

    void MostrarMensaje(std::string_view texto) override
    {
        if (informe_.mensaje.empty()) {
            informe_.mensaje = texto;
        }
        informe_.errores.append(kPrograma).append(informe_.ruta).append(": ").append(texto);
        informe_.errores += '\n';
    }
    bool Interrumpido() override { return cotarel::SenalRecibida(); }
    void CuentaErronea(const motor::CuentaAnotada &cuenta) override
    {
        if (anotarFallos_) {
            informe_.fallos.Anadir(cuenta);
        }
    }

private:
    Informe &informe_;
    bool anotarFallos_;
};

// The report of a file whose run did not reach its end, or found no account.
void NoComprobado(Informe &informe, const motor::Resultado &resultado)
{
    informe.estado = kNoComprobado;
    informe.fallos.Vaciar();
    if (resultado.SinCuentas()) {
        informe.desenlace = Desenlace::SinCuentas;
        informe.comprobadas = 0;
        informe.sinIban = resultado.cuentasSinIban;
    } else {
        informe.desenlace = Desenlace::NoComprobado;
        informe.erroneas = resultado.cuentasErroneas;
    }
}

Informe ComprobarFichero(const std::string &ruta, const std::string &log, Formato formato)
{
    Informe informe;
    informe.ruta = ruta;
    InterfazConsola consola(informe, formato == Formato::Json);
    const motor::Resultado resultado = motor::Procesar(ruta, log, consola);
    // A stop request while opening a silent pipe fails the open: the run was
    // interrupted, not refused.
    informe.interrumpido = resultado.fallo == motor::Fallo::Interrumpido
        || (resultado.fallo == motor::Fallo::NoSePuedeAbrirEntrada && cotarel::SenalRecibida());
    if (resultado.fallo != motor::Fallo::NoSePuedeAbrirEntrada) {
        informe.tipo = resultado.tipo;
    }
    if (!resultado.Terminado() || resultado.SinCuentas()) {
        if (resultado.SinCuentas()) {
            consola.MostrarMensaje(motor::kSinCuentas);
        }
        NoComprobado(informe, resultado);
        return informe;
    }
    if (informe.fallos.Fallo()) { // its report could not be kept whole
        consola.MostrarMensaje("No se puede escribir el fichero temporal de la salida JSON");
        NoComprobado(informe, resultado);
        return informe;
    }
    informe.comprobadas = resultado.cuentasComprobadas;
    informe.erroneas = resultado.cuentasErroneas;
    informe.sinIban = resultado.cuentasSinIban;
    if (resultado.hayErrores) {
        informe.desenlace = Desenlace::Errores;
        informe.registro = log;
        informe.estado = kConErrores;
    } else {
        informe.desenlace = Desenlace::Correcto;
    }
    return informe;
}

// Where a log really goes: its folder resolved, its own name kept as it is
// (a link there is replaced, never followed), in the form the system compares
// names in (without case on Windows). Folders are resolved once.
std::filesystem::path DondeVaElLog(
    const std::string &log, std::map<std::filesystem::path, std::filesystem::path> &carpetas)
{
    const std::filesystem::path ruta = motor::RutaDeSistema(log);
    const auto carpeta = ruta.has_parent_path() ? ruta.parent_path() : ".";
    auto [resuelta, nueva] = carpetas.try_emplace(carpeta);
    if (nueva) {
        std::error_code ignorado;
        resuelta->second = std::filesystem::weakly_canonical(carpeta, ignorado);
    }
    return cotarel::FormaDeComparar(resuelta->second / ruta.filename());
}

// What the batch takes in turn: a file to check, or a list or folder that
// could not be read, reported in its place as a file not checked.
struct Entrada
{
    std::string ruta;
    std::string problema; // empty: a file to check
};

// Each file's log, and a report for each file that is not to be checked.
struct Plan
{
    std::vector<std::string> logs;
    std::vector<std::optional<Informe>> informes;
};

// A file whose log is already an earlier file's is not checked, so that no
// run replaces or removes the log of another: its report is ready at once.
Informe SinComprobar(const std::string &ruta, std::string mensaje)
{
    Informe informe;
    informe.ruta = ruta;
    informe.mensaje = std::move(mensaje);
    informe.errores = std::string(kPrograma) + ruta + ": " + informe.mensaje + "\n";
    informe.estado = kNoComprobado;
    return informe;
}

Plan Planificar(const std::vector<Entrada> &entradas)
{
    std::map<std::filesystem::path, std::string> duenos; // log -> the file it belongs to
    std::map<std::filesystem::path, std::filesystem::path> carpetas;
    Plan plan { {}, std::vector<std::optional<Informe>>(entradas.size()) };
    for (std::size_t i = 0; i < entradas.size(); ++i) {
        const std::string &ruta = entradas[i].ruta;
        if (!entradas[i].problema.empty()) {
            plan.logs.emplace_back();
            plan.informes[i] = SinComprobar(ruta, entradas[i].problema);
            continue;
        }
        const std::string &log = plan.logs.emplace_back(motor::DerivarNombreLog(ruta));
        const auto [dueno, nuevo] = duenos.emplace(DondeVaElLog(log, carpetas), ruta);
        if (!nuevo) {
            plan.informes[i]
                = SinComprobar(ruta, "El registro " + log + " ya es el de " + dueno->second);
        }
    }
    return plan;
}

struct Opciones
{
    bool silencioso = false;
    bool recursivo = false;
    bool separadorNulo = false;
    Formato formato = Formato::Texto;
    std::optional<std::string> desde; // "-": standard input
    unsigned trabajos = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::string> ficheros;
};

void Publicar(const Informe &informe, const Opciones &opciones)
{
    std::cerr << informe.errores;
    if (!opciones.silencioso) {
        cotarel::EscribirLinea(std::cout, informe, opciones.formato);
        std::cout << std::flush;
    }
}

// One file after another on this thread, which also takes the signals.
int ComprobarEnOrden(const std::vector<Entrada> &ficheros, const Opciones &opciones)
{
    Plan plan = Planificar(ficheros);
    const std::vector<std::string> &logs = plan.logs;
    std::vector<std::optional<Informe>> &informes = plan.informes;
    int estado = kTodoCorrecto;
    for (std::size_t i = 0; i < ficheros.size(); ++i) {
        if (cotarel::SenalRecibida()) {
            cotarel::MorirPorLaSenal();
        }
        if (!informes[i]) {
            informes[i] = ComprobarFichero(ficheros[i].ruta, logs[i], opciones.formato);
        }
        if (informes[i]->interrumpido) {
            cotarel::MorirPorLaSenal();
        }
        Publicar(*informes[i], opciones);
        estado = std::max(estado, informes[i]->estado);
    }
    return estado;
}

// Several files at once; the reports come out in the order of the files, each
// as soon as it and all before it are done. The signals go to the workers,
// whose runs see them; this thread only reports.
int ComprobarEnParalelo(
    const std::vector<Entrada> &ficheros, const Opciones &opciones, std::size_t cuantos)
{
    Plan plan = Planificar(ficheros);
    const std::vector<std::string> &logs = plan.logs;
    std::vector<std::optional<Informe>> &informes = plan.informes;
    std::mutex cerrojo;
    std::condition_variable listo;
    std::condition_variable hueco; // a report went out
    std::size_t siguiente = 0;
    std::size_t publicados = 0;
    const std::size_t adelanto = 2 * cuantos;
    std::atomic<std::size_t> activos = 0;
    const auto trabajar = [&] {
        const struct Salida
        {
            std::atomic<std::size_t> &activos;
            ~Salida() { --activos; }
        } salida { activos };
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock guarda(cerrojo);
                for (;;) {
                    while (siguiente < ficheros.size() && informes[siguiente]) {
                        ++siguiente;
                    }
                    if (siguiente == ficheros.size() || cotarel::SenalRecibida()) {
                        return;
                    }
                    // A few files ahead of the output at most, so that
                    // finished reports do not pile up behind a slow one.
                    if (siguiente < publicados + adelanto) {
                        break;
                    }
                    hueco.wait_for(guarda, std::chrono::milliseconds(100));
                }
                i = siguiente++;
            }
            Informe informe = ComprobarFichero(ficheros[i].ruta, logs[i], opciones.formato);
            std::lock_guard guarda(cerrojo);
            informes[i] = std::move(informe);
            listo.notify_all();
        }
    };
    // Where the system refuses more threads (a container's process limit),
    // the files run on those it gave, or on this thread alone.
    std::vector<std::jthread> trabajadores;
    for (std::size_t t = 0; t < cuantos; ++t) {
        ++activos;
        try {
            trabajadores.emplace_back(trabajar);
        } catch (const std::system_error &) {
            --activos;
            break;
        }
    }
    if (trabajadores.empty()) {
        return ComprobarEnOrden(ficheros, opciones);
    }
    cotarel::DesviarSenalesDeEsteHilo();
    int estado = kTodoCorrecto;
    for (std::size_t i = 0; i < ficheros.size(); ++i) {
        std::unique_lock espera(cerrojo);
        while (!listo.wait_for(espera, std::chrono::milliseconds(100),
            [&] { return informes[i].has_value() || cotarel::SenalRecibida(); })) { }
        if (!informes[i] || informes[i]->interrumpido) {
            espera.unlock();
            // Each ends its run at its next block; one that waits on a pipe
            // is woken until it has seen the stop.
            while (activos > 0) {
                for (auto &trabajador : trabajadores) {
                    cotarel::Despertar(trabajador);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            trabajadores.clear();
            cotarel::MorirPorLaSenal();
        }
        const Informe informe = std::move(*informes[i]);
        informes[i].reset();
        publicados = i + 1;
        espera.unlock();
        hueco.notify_all();
        Publicar(informe, opciones);
        estado = std::max(estado, informe.estado);
    }
    return estado;
}

int ComprobarTodos(const std::vector<Entrada> &ficheros, const Opciones &opciones)
{
    const std::size_t cuantos = std::min<std::size_t>(opciones.trabajos, ficheros.size());
    const int estado = cuantos <= 1 ? ComprobarEnOrden(ficheros, opciones)
                                    : ComprobarEnParalelo(ficheros, opciones, cuantos);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << kPrograma << "no se puede escribir la salida est\u00E1ndar\n";
        return std::max(estado, kNoComprobado);
    }
    return estado;
}

int Uso(std::string_view motivo = {})
{
    if (!motivo.empty()) {
        std::cerr << kPrograma << motivo << '\n';
    }
    std::cerr << kPrograma
              << "uso: cotarel-check [OPCIONES] FICHERO...  (cotarel-check --help para m\u00E1s "
                 "informaci\u00F3n)\n";
    return kUsoIncorrecto;
}

// The value of "--nombre=valor" or of "-x valor"; nothing when it is missing.
std::optional<std::string> Valor(const std::vector<std::string> &argumentos, std::size_t &i,
    std::string_view largo, std::string_view corto)
{
    const std::string &argumento = argumentos[i];
    if (argumento.starts_with(largo) && argumento.size() > largo.size()
        && argumento[largo.size()] == '=') {
        return argumento.substr(largo.size() + 1);
    }
    if ((argumento == largo || argumento == corto) && i + 1 < argumentos.size()) {
        return argumentos[++i];
    }
    if (!corto.empty() && argumento.starts_with(corto) && argumento.size() > corto.size()) {
        return argumento.substr(corto.size());
    }
    return std::nullopt;
}

bool EsOpcion(const std::string &argumento, std::string_view largo, std::string_view corto)
{
    return argumento == largo || argumento.starts_with(std::string(largo) + "=")
        || (!corto.empty() && argumento.starts_with(corto));
}

// The options and the files named, or why the command line is wrong.
std::variant<Opciones, std::string> LeerOpciones(const std::vector<std::string> &argumentos)
{
    Opciones opciones;
    bool soloFicheros = false;
    for (std::size_t i = 0; i < argumentos.size(); ++i) {
        const std::string &argumento = argumentos[i];
        if (soloFicheros || argumento == "-" || argumento.empty() || argumento[0] != '-') {
            opciones.ficheros.push_back(argumento);
        } else if (argumento == "--") {
            soloFicheros = true;
        } else if (argumento == "-q" || argumento == "--silencioso") {
            opciones.silencioso = true;
        } else if (argumento == "-r" || argumento == "--recursivo") {
            opciones.recursivo = true;
        } else if (argumento == "-0") {
            opciones.separadorNulo = true;
        } else if (EsOpcion(argumento, "--formato", "")) {
            const auto formato = Valor(argumentos, i, "--formato", "");
            if (formato != "json" && formato != "texto") {
                return "formato desconocido: " + formato.value_or("") + " (json o texto)";
            }
            opciones.formato = formato == "json" ? Formato::Json : Formato::Texto;
        } else if (EsOpcion(argumento, "--desde", "")) {
            opciones.desde = Valor(argumentos, i, "--desde", "");
            if (!opciones.desde) {
                return std::string("falta el fichero de --desde");
            }
        } else if (EsOpcion(argumento, "--trabajos", "-j")) {
            const auto valor = Valor(argumentos, i, "--trabajos", "-j");
            unsigned trabajos = 0;
            if (!valor
                || std::from_chars(valor->data(), valor->data() + valor->size(), trabajos).ptr
                    != valor->data() + valor->size()
                || trabajos == 0) {
                return "el n\u00FAmero de trabajos no es v\u00E1lido: " + valor.value_or("");
            }
            opciones.trabajos = trabajos;
        } else {
            return "opci\u00F3n desconocida: " + argumento;
        }
    }
    return opciones;
}

bool EsRegistro(const std::filesystem::path &ruta)
{
    const std::string extension = motor::TextoDeRuta(ruta.extension());
    return cotarel::CoincideComodin(".log", extension)
        || cotarel::CoincideComodin(".log1", extension);
}

// The regular files under a folder, logs left out, in the order of their
// paths. Links, to files or to folders, are not followed, as find does
// without -L. A folder that cannot be opened or listed to its end is
// reported, even one expected to be closed (lost+found).
void AnadirCarpeta(const std::filesystem::path &carpeta, std::vector<Entrada> &entradas)
{
    std::error_code error;
    std::filesystem::directory_iterator entrada(carpeta, error);
    for (; !error && entrada != std::filesystem::directory_iterator(); entrada.increment(error)) {
        if (cotarel::EsEnlace(*entrada)) {
            continue;
        }
        std::error_code tipo;
        if (entrada->is_directory(tipo)) {
            AnadirCarpeta(entrada->path(), entradas);
        } else if (entrada->is_regular_file(tipo) && !EsRegistro(entrada->path())) {
            entradas.push_back({ motor::TextoDeRuta(entrada->path()), {} });
        }
    }
    if (error) {
        entradas.push_back({ motor::TextoDeRuta(carpeta), "No se puede leer la carpeta" });
    }
}

// A folder's tree, files and problems in the order of their paths.
std::vector<Entrada> Arbol(const std::string &carpeta)
{
    std::vector<Entrada> entradas;
    AnadirCarpeta(motor::RutaDeSistema(carpeta), entradas);
    std::sort(entradas.begin(), entradas.end(),
        [](const Entrada &a, const Entrada &b) { return a.ruta < b.ruta; });
    return entradas;
}

// Names one per line (or NUL-separated), from a file or standard input; a
// list that cannot be read to its end (a folder, a closed standard input, a
// read error) is reported after the names read before the failure.
void LeerNombres(const std::string &origen, bool separadorNulo, std::vector<Entrada> &entradas)
{
    std::error_code error;
    const bool carpeta
        = origen != "-" && std::filesystem::is_directory(motor::RutaDeSistema(origen), error);
    std::FILE *fichero = origen == "-" ? stdin : carpeta ? nullptr : motor::AbrirLectura(origen);
    bool fallo = fichero == nullptr;
    std::string nombre;
    const char separador = separadorNulo ? '\0' : '\n';
    const auto anadir = [&] {
        if (!separadorNulo && nombre.ends_with('\r')) {
            nombre.pop_back();
        }
        if (!nombre.empty()) {
            entradas.push_back({ std::move(nombre), {} });
        }
        nombre.clear();
    };
    std::array<char, 65536> bloque;
    while (!fallo) {
        const std::size_t leidos = std::fread(bloque.data(), 1, bloque.size(), fichero);
        for (std::size_t i = 0; i < leidos; ++i) {
            if (bloque[i] == separador) {
                anadir();
            } else {
                nombre += bloque[i];
            }
        }
        if (leidos < bloque.size()) {
            fallo = std::ferror(fichero) != 0;
            break;
        }
    }
    if (!fallo) {
        anadir();
    }
    if (fichero != nullptr && fichero != stdin) {
        std::fclose(fichero);
    }
    if (fallo) {
        entradas.push_back({ origen, "No se puede leer la lista de nombres" });
    }
}

// The files to check: those named, those listed by --desde, and with -r the
// files inside the folders among them, each problem in its place.
std::vector<Entrada> Ficheros(const Opciones &opciones)
{
    std::vector<Entrada> nombres;
    for (const auto &fichero : opciones.ficheros) {
        nombres.push_back({ fichero, {} });
    }
    if (opciones.desde) {
        LeerNombres(*opciones.desde, opciones.separadorNulo, nombres);
    }
    std::vector<Entrada> entradas;
    for (auto &nombre : nombres) {
        std::error_code error;
        if (nombre.problema.empty() && opciones.recursivo
            && std::filesystem::is_directory(motor::RutaDeSistema(nombre.ruta), error)) {
            for (auto &entrada : Arbol(nombre.ruta)) {
                entradas.push_back(std::move(entrada));
            }
        } else {
            entradas.push_back(std::move(nombre));
        }
    }
    return entradas;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t *argv[])
#else
int main(int argc, char *argv[])
#endif
{
    cotarel::PrepararConsola();
    const auto [argumentos, sinCoincidencias] = cotarel::LeerArgumentos(argc, argv);
    if (argumentos.size() == 1 && argumentos[0] == "--help") {
        std::cout << kAyuda;
        return kTodoCorrecto;
    }
    if (argumentos.size() == 1 && argumentos[0] == "--version") {
        std::cout << "cotarel-check 1.00\n";
        return kTodoCorrecto;
    }
    const auto leidas = LeerOpciones(argumentos);
    if (const auto *motivo = std::get_if<std::string>(&leidas)) {
        return Uso(*motivo);
    }
    const Opciones &opciones = std::get<Opciones>(leidas);
    // A pattern that matches nothing is a file not checked.
    for (const auto &patron : sinCoincidencias) {
        std::cerr << kPrograma << "ning\u00FAn fichero coincide con " << patron << '\n';
    }
    const int sinFichero = sinCoincidencias.empty() ? kTodoCorrecto : kNoComprobado;
    if (opciones.ficheros.empty() && !opciones.desde) {
        return sinCoincidencias.empty() ? Uso() : kNoComprobado;
    }
    cotarel::InstalarSenales();
    return std::max(ComprobarTodos(Ficheros(opciones), opciones), sinFichero);
}
