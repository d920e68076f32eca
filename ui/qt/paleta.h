// The windows' own light colours: the fixed colours of their texts (black
// paths, the blue or red outcome) were chosen for a light background, so the
// windows keep one whatever the desktop's theme.
#pragma once

#include <QPalette>

class QWidget;

namespace paleta {

QPalette Clara();

// The light palette on the window and on every control it holds.
void AplicarClara(QWidget *ventana);

} // namespace paleta
