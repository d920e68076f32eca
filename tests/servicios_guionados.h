// Services for the window tests on every face: the file dialog, the message
// boxes and the editor answer from a script and record what they were asked.
#pragma once

#include "servicios.h"

#include <deque>
#include <string>
#include <vector>

class ServiciosGuionados : public ventanas::Servicios
{
public:
    std::optional<std::string> ElegirFichero(const ventanas::DialogoAbrir &dialogo) override
    {
        abiertoEn.push_back(dialogo.fichero.empty() ? dialogo.carpetaInicial : dialogo.fichero);
        tituloAbrir = dialogo.titulo;
        if (elecciones.empty()) {
            return std::nullopt;
        }
        auto eleccion = elecciones.front();
        elecciones.pop_front();
        return eleccion;
    }
    void Mensaje(std::string_view texto) override { mensajes.emplace_back(texto); }
    void Informacion(std::string_view texto) override
    {
        mensajes.push_back("[i] " + std::string(texto));
    }
    bool Preguntar(std::string_view texto) override
    {
        preguntas.emplace_back(texto);
        if (respuestas.empty()) {
            return true;
        }
        const bool respuesta = respuestas.front();
        respuestas.pop_front();
        return respuesta;
    }
    bool Ejecutar(std::string_view orden, std::function<void()> siFallaPronto) override
    {
        ordenes.emplace_back(orden);
        if (arranca && fallaPronto && siFallaPronto) {
            siFallaPronto();
        }
        return arranca;
    }
    ventanas::Carpetas CarpetasDelUsuario() override { return carpetas; }

    std::deque<std::optional<std::string>> elecciones; // nothing: the user cancels
    std::deque<bool> respuestas; // none left: "Sí"
    bool arranca = true; // whether the editor starts
    bool fallaPronto = false; // whether it then gives up at once
    ventanas::Carpetas carpetas { "/opt/cotarel", true, "/home/ana/Documentos", "/home/ana" };

    std::vector<std::string> abiertoEn;
    std::string tituloAbrir;
    std::vector<std::string> mensajes;
    std::vector<std::string> preguntas;
    std::vector<std::string> ordenes;
};
