// The pictures inside the windows, drawn at the screen's scale rather than
// stretched from small bitmaps, so they stay sharp at 150 %, 200 % or 300 %.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace dibujos {

// The logo under the buttons: 190 x 30 at 1x.
QPixmap Logo(qreal escala);
// The open folder of the file picker, filling the given size.
QPixmap Carpeta(QSize tamano, qreal escala);
// The windows' icons, at every size a desktop asks for: a checked document
// for the main window, a note under a magnifying glass for the result.
QIcon IconoEntrada();
QIcon IconoResultado();

} // namespace dibujos
