// What a user sees of a window's layout in a Qt test: the window keeps its
// size, and each named control lies whole inside its parent (a picture may be
// cut at the foot) without covering a sibling.
#pragma once

#include <algorithm>

#include <QLabel>
#include <QTest>
#include <QWidget>

inline void ComprobarDisposicion(QWidget &ventana)
{
    QCOMPARE(ventana.minimumSize(), ventana.maximumSize());
    for (QWidget *control : ventana.findChildren<QWidget *>()) {
        if (control->objectName().isEmpty() || control->objectName().startsWith("qt_")) {
            continue;
        }
        const QWidget *padre = control->parentWidget();
        const auto *etiqueta = qobject_cast<const QLabel *>(control);
        const bool dibujo = etiqueta != nullptr && !etiqueta->pixmap().isNull();
        QRect lugar = control->geometry();
        if (dibujo) { // a picture may run off the foot, as the logo does
            lugar.setBottom(std::min(lugar.bottom(), padre->rect().bottom()));
        }
        QVERIFY2(padre->rect().contains(lugar), qPrintable(control->objectName()));
        for (QWidget *otro : padre->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (otro != control && !otro->objectName().isEmpty()
                && !otro->objectName().startsWith("qt_")) {
                QVERIFY2(!otro->geometry().intersects(control->geometry()),
                    qPrintable(control->objectName() + " covers " + otro->objectName()));
            }
        }
    }
}
