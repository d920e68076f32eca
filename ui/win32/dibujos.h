// The pictures of the windows drawn with GDI at the window's DPI.
#pragma once

#include <windows.h>

namespace win32 {

// The open folder, filling the rectangle.
void DibujarCarpeta(HDC dc, RECT rectangulo);
// The logo at its natural size for the DPI, from the rectangle's top-left
// corner, cut off where the rectangle ends.
void DibujarLogo(HDC dc, RECT rectangulo, int dpi);

} // namespace win32
