// The windows' font faces (MS Sans Serif, Comic Sans MS), with the closest faces
// Debian ships standing in where the system lacks them.
#pragma once

#include <QFont>

namespace fuentes {

// MS Sans Serif, or Liberation Sans.
QFont SansSerif(qreal puntos, bool negrita = false);
// Comic Sans MS, or Comic Neue.
QFont Comic(qreal puntos, bool negrita = false);

} // namespace fuentes
