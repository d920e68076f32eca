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
