// Answering a modal window in a Qt test while the code under test waits in exec().
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

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
