#include "opciones.h"

#include "version.h"

#include <charconv>

namespace cotarel {
namespace {

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

En los ficheros SEPA y XML se comprueba además lo que hace que el banco
devuelva la remesa: los totales de importes, el número de órdenes y de
registros de cada bloque, acreedor, pago y del fichero (registros 04, 05 y
99 o 04SCT, 04OTR y 99ORD; NbOfTxs y CtrlSum en XML), los identificadores
de acreedor (AT-02), el importe de cada orden (mayor que 0, como mucho
999.999.999,99, con dos decimales a lo sumo) y los BIC que se den. Cada
fallo es un bloque más del log. Los ficheros CSB antiguos solo llevan la
comprobación de las cuentas, como siempre.

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
mayo.q19) no se comprueban en la misma orden: el segundo queda sin comprobar;
tampoco un fichero cuyo log sería otro de los ficheros de la orden.

Por cada fichero se escribe una línea en la salida estándar, separada por
tabuladores: el fichero, el resultado ("Proceso terminado", "Proceso
terminado con errores" o "No comprobado"), el tipo de fichero (una de las
palabras de arriba, "no-csb", "xml" si el XML terminó antes de su elemento
raíz, o "-" si no se pudo leer), el número de cuentas
erróneas y el log cuando lo hay. Los avisos van a la salida de errores.
Un fichero en el que no hay ni una cuenta que comprobar queda "No comprobado",
con el aviso "No se ha comprobado ninguna cuenta".

Con --formato=json, cada fichero da un objeto JSON en una línea, con las
claves "ruta", "tipo" (las palabras de arriba; null si no se pudo leer o
si el XML terminó antes de su elemento raíz),
"resultado" ("correcto", "errores", "sin-cuentas" o "no-comprobado"),
"cuentas_comprobadas", "cuentas_erroneas", "cuentas_sin_iban" (las que
no se pudieron comprobar por no llevar IBAN; null si no se comprobó),
"errores_remesa" (los bloques de totales, importes, identificadores y BIC;
null en los ficheros CSB antiguos y si no se comprobó),
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

} // namespace

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

std::string_view TextoAyuda()
{
    return kAyuda;
}

std::string_view TextoVersion()
{
    return "cotarel-check " COTAREL_VERSION "\n";
}

} // namespace cotarel
