#include "dibujos.h"

#include "controles.h"
#include "formas.h"

#include <cmath>
#include <vector>

namespace win32 {
namespace {

namespace formas = ventanas::formas;

int Escalar(double valor, double escala)
{
    return static_cast<int>(std::lround(valor * escala));
}

} // namespace

void DibujarCarpeta(HDC dc, RECT rectangulo)
{
    const double ancho = (rectangulo.right - rectangulo.left) / 16.0;
    const double alto = (rectangulo.bottom - rectangulo.top) / 16.0;
    HPEN lapiz = CreatePen(PS_SOLID, 1, ColorDe(formas::kContorno));
    HGDIOBJ lapizAntes = SelectObject(dc, lapiz);
    for (const auto &poligono : formas::kCarpeta) {
        std::vector<POINT> puntos;
        for (const auto &punto : poligono.puntos) {
            puntos.push_back({ rectangulo.left + Escalar(punto.x, ancho),
                rectangulo.top + Escalar(punto.y, alto) });
        }
        HBRUSH relleno = CreateSolidBrush(ColorDe(poligono.relleno));
        HGDIOBJ rellenoAntes = SelectObject(dc, relleno);
        Polygon(dc, puntos.data(), static_cast<int>(puntos.size()));
        SelectObject(dc, rellenoAntes);
        DeleteObject(relleno);
    }
    SelectObject(dc, lapizAntes);
    DeleteObject(lapiz);
}

void DibujarLogo(HDC dc, RECT rectangulo, int dpi)
{
    const double escala = dpi / 96.0;
    const auto aRect = [&](double left, double top, double width, double height) {
        return RECT { rectangulo.left + Escalar(left, escala),
            rectangulo.top + Escalar(top, escala), rectangulo.left + Escalar(left + width, escala),
            rectangulo.top + Escalar(top + height, escala) };
    };
    const int guardado = SaveDC(dc);
    IntersectClipRect(dc, rectangulo.left, rectangulo.top, rectangulo.right, rectangulo.bottom);
    for (const auto &banda : formas::kBandasLogo) {
        const RECT lugar = aRect(banda.left, banda.top, banda.width, banda.height);
        HBRUSH color = CreateSolidBrush(ColorDe(banda.color));
        FillRect(dc, &lugar, color);
        DeleteObject(color);
    }
    SetBkMode(dc, TRANSPARENT);
    for (const auto &rotulo : formas::kRotulosLogo) {
        RECT lugar = aRect(rotulo.left, rotulo.top, rotulo.width, rotulo.height);
        HFONT letra = CreateFontW(-Escalar(rotulo.pixeles, escala), 0, 0, 0,
            rotulo.negrita ? FW_BOLD : FW_NORMAL, rotulo.cursiva, FALSE, FALSE, DEFAULT_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
            L"Microsoft Sans Serif");
        HGDIOBJ antes = SelectObject(dc, letra);
        SetTextColor(dc, ColorDe(rotulo.color));
        const std::wstring texto = Ancho(rotulo.texto);
        DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &lugar,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, antes);
        DeleteObject(letra);
    }
    RestoreDC(dc, guardado);
}

} // namespace win32
