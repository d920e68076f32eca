// What the windows ask of the desktop: the open-file dialog, message boxes and
// starting the text editor. The real implementation uses Qt's dialogs and
// QProcess; tests hand the windows a scripted one.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// The open-file dialog's settings and its file name, which persists from one
// use to the next.
struct DialogoAbrir
{
    QString DialogTitle;
    QString InitDir;
    QString FileName; // full path of the last chosen file; empty until the first choice
};

class Servicios
{
public:
    virtual ~Servicios() = default;

    // Shows the open-file dialog for existing files only. On a choice the path
    // goes into dialogo.FileName; a cancel leaves it as it was.
    virtual void MostrarAbrir(QWidget *padre, DialogoAbrir &dialogo) = 0;
    // "OK" only, no icon, titled "Cotarel".
    virtual void Mensaje(QWidget *padre, const QString &texto) = 0;
    // "OK" only, with the information icon, titled "Cotarel".
    virtual void Informacion(QWidget *padre, const QString &texto) = 0;
    // "Sí" and "No", "Sí" the default; true for "Sí".
    virtual bool Preguntar(QWidget *padre, const QString &texto) = 0;
    // Starts the program named in a command text, detached; false when nothing
    // could be started. siFallaPronto runs later, on this thread, when the
    // program ends with a failure status within two seconds (an opener that
    // found nothing to open the file with).
    virtual bool Ejecutar(const QString &orden, std::function<void()> siFallaPronto = {}) = 0;
};

class ServiciosReales : public Servicios
{
public:
    // Loads Qt's own Spanish texts, so the file dialog speaks the program's language.
    ServiciosReales();

    void MostrarAbrir(QWidget *padre, DialogoAbrir &dialogo) override;
    void Mensaje(QWidget *padre, const QString &texto) override;
    void Informacion(QWidget *padre, const QString &texto) override;
    bool Preguntar(QWidget *padre, const QString &texto) override;
    bool Ejecutar(const QString &orden, std::function<void()> siFallaPronto = {}) override;
};
