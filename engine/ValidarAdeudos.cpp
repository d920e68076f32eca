#include "campos.h"
#include "comprobacion.h"

namespace motor {
namespace {

// Both records carry the account in one piece at 69 to 88:
// entity, office, DC, account number.
constexpr std::size_t kCcc = 69;
constexpr Campo kNombre { 29, 40 }; // party's name or company name

// Ordering-party header, "03" or "53".
constexpr Campo kNifOrdenante { 5, 12 };
// Individual debit order, "5670" or "5680".
constexpr Campo kReferencia { 17, 12 };

constexpr std::string_view kEntrada = "Error en linea ";

bool EsCabecera(std::string_view linea)
{
    return EmpiezaPor(linea, "03") || EmpiezaPor(linea, "53");
}

bool EsIndividual(std::string_view linea)
{
    return EmpiezaPor(linea, "5670") || EmpiezaPor(linea, "5680");
}

bool CuentaErronea(std::string_view linea, Comprobacion &comprobacion)
{
    return comprobacion.CccErroneo<Comprobacion::Dc::Guardar>(linea, kCcc);
}

// The error blocks, out of the way of the walk: few lines need them.
[[gnu::cold]] [[gnu::noinline]] void InformarCabecera(
    std::string_view linea, Comprobacion &comprobacion)
{
    comprobacion.InformarCuenta({ .entrada = kEntrada,
        .fallo = FalloCuenta::DigitosCcc,
        .ordenante = true,
        .etiqueta1 = "NIF Ordenante: ",
        .campo1 = Extraer(linea, kNifOrdenante),
        .etiqueta2 = "Nombre Ordenante: ",
        .campo2 = Recortar(Extraer(linea, kNombre)),
        .camposTalCual = true });
}

[[gnu::cold]] [[gnu::noinline]] void InformarIndividual(
    std::string_view linea, Comprobacion &comprobacion)
{
    comprobacion.InformarCuenta({ .entrada = kEntrada,
        .fallo = FalloCuenta::DigitosCcc,
        .ordenante = false,
        .etiqueta1 = "C\xF3"
                     "digo de referencia: ",
        .campo1 = Extraer(linea, kReferencia),
        .etiqueta2 = "Nombre o raz\xF3n social: ",
        .campo2 = Recortar(Extraer(linea, kNombre)),
        .camposTalCual = true });
}

// Most lines of a file are individual orders: they are asked for first.
void ComprobarLinea(std::string_view linea, Comprobacion &comprobacion)
{
    if (EsIndividual(linea)) {
        if (CuentaErronea(linea, comprobacion)) [[unlikely]] {
            InformarIndividual(linea, comprobacion);
        }
    } else if (EsCabecera(linea) && CuentaErronea(linea, comprobacion)) {
        InformarCabecera(linea, comprobacion);
    }
}

} // namespace

void ComprobarAdeudos(Comprobacion &comprobacion)
{
    RecorrerFichero<ComprobarLinea>(comprobacion);
}

} // namespace motor
