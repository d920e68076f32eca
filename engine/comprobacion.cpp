#include "comprobacion.h"

#include "campos.h"

namespace motor {

void Comprobacion::EscribirLineaDeError(
    std::string_view entrada, FalloCuenta fallo, bool ordenante, unsigned long long linea)
{
    const CuentaAnotada cuenta { linea != 0 ? linea : numLinea_, ordenante, fallo };
    linea_.assign(entrada);
    linea_ += std::to_string(cuenta.linea);
    linea_ += Cola(fallo, ordenante);
    Escribir(linea_);
    interfaz_.CuentaErronea(cuenta);
}

void Comprobacion::EscribirCampo(std::string_view etiqueta, std::string_view campo)
{
    linea_.assign(etiqueta);
    linea_ += campo;
    Escribir(linea_);
}

void Comprobacion::InformarCuenta(const Bloque &bloque)
{
    const auto campo = [&bloque](std::string_view texto) {
        return bloque.camposTalCual ? texto : Recortar(texto);
    };
    Escribir(kSeparador);
    EscribirLineaDeError(bloque.entrada, bloque.fallo, bloque.ordenante, bloque.linea);
    EscribirCampo(bloque.etiqueta1, campo(bloque.campo1));
    if (!bloque.etiqueta2.empty()) {
        EscribirCampo(bloque.etiqueta2, campo(bloque.campo2));
    }
    Escribir(kSeparador);
    hayErrores_ = true;
    ++cuentasErroneas_;
}

void Comprobacion::InformarRemesa(const BloqueRemesa &bloque)
{
    Escribir(kSeparador);
    linea_.assign(bloque.entrada);
    linea_ += std::to_string(bloque.linea != 0 ? bloque.linea : numLinea_);
    linea_ += " - ";
    linea_ += remesa::Frase(bloque.fallo);
    Escribir(linea_);
    EscribirCampo(bloque.etiqueta1, Recortar(bloque.campo1));
    EscribirCampo(bloque.etiqueta2, Recortar(bloque.campo2));
    Escribir(kSeparador);
    hayErrores_ = true;
    ++erroresRemesa_;
}

// A field that is not all digits is a fault itself; the amounts are not
// judged over an order whose amount could not be read.
void Comprobacion::CompararTotales(
    std::string_view entrada, const CamposTotales &campos, const remesa::Ambito &ambito)
{
    const auto importe = remesa::Cifras(campos.importe);
    if (!ambito.totalIlegible && importe != ambito.total) {
        InformarTotal(entrada, remesa::Fallo::TotalImportes, 0,
            importe ? remesa::Euros(*importe) : remesa::TalCual(campos.importe),
            remesa::Euros(ambito.total));
    }
    const auto comparar = [&](remesa::Fallo fallo, std::string_view campo,
                              unsigned long long contados) {
        const auto valor = remesa::Cifras(campo);
        if (valor != contados) {
            InformarTotal(entrada, fallo, 0,
                valor ? std::to_string(*valor) : remesa::TalCual(campo), std::to_string(contados));
        }
    };
    comparar(remesa::Fallo::NumeroOrdenes, campos.ordenes, ambito.ordenes);
    comparar(remesa::Fallo::NumeroRegistros, campos.registros, ambito.registros);
}

std::optional<remesa::Centimos> Comprobacion::ComprobarOrden(
    std::string_view entrada, std::string_view importe, std::string_view bic, const Bloque &orden)
{
    const auto informar = [&](remesa::Fallo fallo) {
        InformarRemesa(
            { entrada, fallo, orden.etiqueta1, orden.campo1, orden.etiqueta2, orden.campo2 });
    };
    const auto centimos = remesa::Cifras(importe);
    if (!centimos || !remesa::ImporteValido(*centimos)) [[unlikely]] {
        informar(remesa::Fallo::Importe);
    }
    if (remesa::BicMalFormado(bic)) [[unlikely]] {
        informar(remesa::Fallo::Bic);
    }
    return centimos;
}

void Comprobacion::FaltanTotales(
    std::string_view entrada, const remesa::Ambito &fichero, unsigned long long ultimoRegistro)
{
    if (ultimoRegistro != 0 && !Detenida()) {
        InformarRemesa({ entrada, remesa::Fallo::FaltaTotales,
            "Registros contados: ", std::to_string(fichero.registros),
            "\xD3rdenes contadas: ", std::to_string(fichero.ordenes), ultimoRegistro });
    }
}

// The slow path of a line with bytes beyond ASCII: the whole line looked at.
// A line cut at the reader's limit may end in the middle of a character.
std::string_view Comprobacion::ConvertidaSiEsUtf8(std::string_view linea)
{
    if (numLinea_ == 1 && linea.starts_with("\xEF\xBB\xBF")) {
        linea.remove_prefix(3);
    }
    const std::size_t primero = PrimerNoAscii(linea);
    const std::size_t valida = primero + TramoUtf8Valido(linea.substr(primero));
    const bool cortada = linea.size() == LectorLineas::kMaxBytesLinea && linea.size() - valida < 4;
    if (primero == linea.size() || (valida != linea.size() && !cortada)) {
        return linea.substr(0, LectorLineas::kMaxLinea);
    }
    convertida_.clear();
    AnadirWindows1252(linea.substr(0, valida), convertida_);
    return std::string_view(convertida_).substr(0, LectorLineas::kMaxLinea);
}

// A failure in the middle of the file keeps the old log and never looks
// clean: hayErrores is set.
void Comprobacion::Terminar(Resultado &resultado)
{
    if (tipo_) {
        resultado.tipo = *tipo_;
    }
    if (rechazada_) {
        log_.Descartar();
        resultado.tipo = TipoArchivo::NoCSB;
        resultado.fallo = Fallo::NoEsCSB;
        return;
    }
    resultado.comprobado = true;
    resultado.numLinea = numLinea_;
    resultado.cuentasComprobadas = cuentasComprobadas_;
    resultado.cuentasErroneas = cuentasErroneas_;
    resultado.cuentasSinIban = cuentasSinIban_;
    if (remesaComprobada_) {
        resultado.erroresRemesa = erroresRemesa_;
    }
    if (dcGuardado_) {
        resultado.dcCalculado.assign(dcCalculado_.begin(), dcCalculado_.end());
    }
    if (interrumpida_ || (entrada_.FalloLectura() && interfaz_.Interrumpido())) {
        resultado.fallo = Fallo::Interrumpido;
    } else if (entrada_.FalloLectura()) {
        resultado.fallo = Fallo::NoSePuedeLeerEntrada;
    } else if (sinMemoria_) {
        resultado.fallo = Fallo::SinMemoria;
    } else if (lineaXml_) {
        resultado.fallo = Fallo::XmlNoValido;
        resultado.lineaXml = *lineaXml_;
        resultado.codificacion = codificacion_;
    } else if (log_.FalloCreacion()) {
        resultado.fallo = Fallo::NoSePuedeCrearSalida;
    } else if (log_.FalloEscritura()) {
        resultado.fallo = Fallo::NoSePuedeEscribirSalida;
    } else {
        resultado.fallo = log_.Confirmar(hayErrores_);
    }
    if (resultado.fallo) {
        log_.Descartar();
    }
    resultado.hayErrores = hayErrores_ || resultado.fallo.has_value();
}

} // namespace motor
