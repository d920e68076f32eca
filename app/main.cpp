// Cotarel starts with its main window; there is nothing else to set up.
#include "frmEntrada.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication aplicacion(argc, argv);
    ServiciosReales servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    return QApplication::exec();
}
