// Cotarel starts with its main window; a file given on the command line
// ("Abrir con", a drop on the program's icon) is taken once the window shows.
// The program's own options are read before Qt starts, which gets its own.
#include "arranque.h"
#include "frmEntrada.h"
#include "serviciosqt.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    const ventanas::Arranque arranque
        = ventanas::LeerArgumentos(std::vector<std::string>(argv + 1, argv + argc));
    switch (arranque.accion) {
    case ventanas::Arranque::Accion::Ayuda:
        std::cout << ventanas::TextoAyuda() << std::flush;
        return std::cout ? 0 : 2;
    case ventanas::Arranque::Accion::Version:
        std::cout << ventanas::TextoVersion() << std::flush;
        return std::cout ? 0 : 2;
    case ventanas::Arranque::Accion::Error:
        std::cerr << arranque.mensaje;
        return 2;
    case ventanas::Arranque::Accion::Ventana:
        break;
    }
    // A log written past the file-size limit fails as a write, with its message.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> paraQt(arranque.paraElToolkit);
    std::vector<char *> argumentos { argv[0] };
    for (auto &argumento : paraQt) {
        argumentos.push_back(argumento.data());
    }
    argumentos.push_back(nullptr);
    int cuantos = static_cast<int>(argumentos.size()) - 1;
    QApplication aplicacion(cuantos, argumentos.data());
    ventanas::ServiciosQt servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    if (arranque.fichero) {
        QTimer::singleShot(
            0, &ventana, [&ventana, fichero = QString::fromStdString(*arranque.fichero)] {
                ventana.Abrir(fichero);
            });
    }
    return QApplication::exec();
}
