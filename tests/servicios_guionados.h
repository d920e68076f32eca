// Services for the window tests: the file dialog and the message boxes answer
// from a script and record what they were asked; the editor is started for
// real, so tests put a stand-in "notepad" on PATH.
#pragma once

#include "servicios.h"

#include <QApplication>
#include <QQueue>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class ServiciosGuionados : public ServiciosReales
{
public:
    void MostrarAbrir(QWidget *, DialogoAbrir &dialogo) override
    {
        abiertoEn.append(dialogo.FileName.isEmpty() ? dialogo.InitDir : dialogo.FileName);
        tituloAbrir = dialogo.DialogTitle;
        const std::optional<QString> eleccion
            = elecciones.isEmpty() ? std::nullopt : elecciones.dequeue();
        if (eleccion) {
            dialogo.FileName = *eleccion;
        }
    }
    void Mensaje(QWidget *, const QString &texto) override { mensajes.append(texto); }
    void Informacion(QWidget *, const QString &texto) override { mensajes.append("[i] " + texto); }
    bool Preguntar(QWidget *, const QString &texto) override
    {
        preguntas.append(texto);
        return respuestas.isEmpty() ? true : respuestas.dequeue();
    }

    QQueue<std::optional<QString>> elecciones; // nothing: the user cancels
    QQueue<bool> respuestas;
    QStringList abiertoEn;
    QString tituloAbrir;
    QStringList mensajes;
    QStringList preguntas;
};

// Runs `accion` on the next modal window once it is shown, the way a user
// answers it while the code under test waits in exec(). Gives up after five
// seconds, so a dialog that never comes fails the test instead of hanging it.
inline void AlAparecerModal(std::function<void(QWidget *)> accion)
{
    auto *temporizador = new QTimer;
    auto intentos = std::make_shared<int>(0);
    QObject::connect(temporizador, &QTimer::timeout, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        const bool visible = modal != nullptr && modal->isVisible();
        if (visible || ++*intentos > 500) {
            temporizador->stop();
            temporizador->deleteLater();
            if (visible) {
                accion(modal);
            }
        }
    });
    temporizador->start(10);
}
