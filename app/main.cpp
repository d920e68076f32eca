// Cotarel starts with its main window; a file given on the command line
// ("Abrir con", a drop on the program's icon) is taken once the window shows.
#include "frmEntrada.h"
#include "serviciosqt.h"

#include <QApplication>
#include <QTimer>

#include <csignal>

int main(int argc, char *argv[])
{
    // A log written past the file-size limit fails as a write, with its message.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication aplicacion(argc, argv);
    ventanas::ServiciosQt servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    const QStringList argumentos = QCoreApplication::arguments();
    if (argumentos.size() > 1) {
        QTimer::singleShot(
            0, &ventana, [&ventana, fichero = argumentos.at(1)] { ventana.Abrir(fichero); });
    }
    return QApplication::exec();
}
