#include "dibujos.h"

#include "formas.h"
#include "fuentes.h"

#include <QPainter>

namespace dibujos {
namespace {

constexpr QSize kTamanoLogo(190, 30);
const QColor kMarino(0, 0, 128);
const QColor kRojo(255, 0, 0);

// A transparent pixmap of the logical size at the scale, and a painter on it
// that works in logical units.
QPixmap Lienzo(QSize tamano, qreal escala)
{
    QPixmap lienzo(tamano * escala);
    lienzo.setDevicePixelRatio(escala);
    lienzo.fill(Qt::transparent);
    return lienzo;
}

QFont Letra(int pixeles, bool negrita, bool cursiva)
{
    QFont letra = fuentes::SansSerif(8, negrita);
    letra.setPixelSize(pixeles);
    letra.setItalic(cursiva);
    return letra;
}

} // namespace

QColor Colorear(ventanas::Color color)
{
    return QColor(color.rojo, color.verde, color.azul);
}

QPixmap Logo(qreal escala)
{
    namespace formas = ventanas::formas;
    QPixmap logo = Lienzo(kTamanoLogo, escala);
    QPainter pintor(&logo);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setRenderHint(QPainter::TextAntialiasing);
    for (const auto &banda : formas::kBandasLogo) {
        pintor.fillRect(
            QRectF(banda.left, banda.top, banda.width, banda.height), Colorear(banda.color));
    }
    for (const auto &rotulo : formas::kRotulosLogo) {
        pintor.setPen(Colorear(rotulo.color));
        pintor.setFont(Letra(rotulo.pixeles, rotulo.negrita, rotulo.cursiva));
        pintor.drawText(QRectF(rotulo.left, rotulo.top, rotulo.width, rotulo.height),
            Qt::AlignLeft | Qt::AlignVCenter,
            QString::fromUtf8(rotulo.texto.data(), static_cast<qsizetype>(rotulo.texto.size())));
    }
    return logo;
}

QPixmap Carpeta(QSize tamano, qreal escala)
{
    QPixmap carpeta = Lienzo(tamano, escala);
    QPainter pintor(&carpeta);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.scale(tamano.width() / 16.0, tamano.height() / 16.0); // drawn on a 16 x 16 grid
    pintor.setPen(QPen(Colorear(ventanas::formas::kContorno), 0.6));
    for (const auto &poligono : ventanas::formas::kCarpeta) {
        QPolygonF puntos;
        for (const auto &punto : poligono.puntos) {
            puntos << QPointF(punto.x, punto.y);
        }
        pintor.setBrush(Colorear(poligono.relleno));
        pintor.drawPolygon(puntos);
    }
    return carpeta;
}

namespace {

constexpr int kTamanosIcono[] = { 16, 24, 32, 48, 64, 128, 256 };

// A square icon drawn on a 32 x 32 grid at each size.
template <typename Dibujar> QIcon Icono(Dibujar dibujar)
{
    QIcon icono;
    for (const int lado : kTamanosIcono) {
        QPixmap imagen(lado, lado);
        imagen.fill(Qt::transparent);
        QPainter pintor(&imagen);
        pintor.setRenderHint(QPainter::Antialiasing);
        pintor.scale(lado / 32.0, lado / 32.0);
        dibujar(pintor);
        pintor.end();
        icono.addPixmap(imagen);
    }
    return icono;
}

// A sheet with a folded corner and lines of text.
void Hoja(QPainter &pintor, const QColor &papel, qreal ancho)
{
    const QPolygonF hoja({ QPointF(4, 2), QPointF(4 + ancho - 6, 2), QPointF(4 + ancho, 8),
        QPointF(4 + ancho, 30), QPointF(4, 30) });
    pintor.setPen(QPen(QColor(80, 80, 80), 1));
    pintor.setBrush(papel);
    pintor.drawPolygon(hoja);
    pintor.setPen(QPen(QColor(110, 110, 110), 1.2));
    for (qreal y = 10; y < 24; y += 4) {
        pintor.drawLine(QPointF(8, y), QPointF(ancho - 2, y));
    }
}

} // namespace

QIcon IconoEntrada()
{
    return Icono([](QPainter &pintor) {
        Hoja(pintor, Qt::white, 20);
        pintor.setPen(QPen(QColor(0, 140, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        pintor.drawPolyline(QPolygonF({ QPointF(11, 22), QPointF(16, 28), QPointF(29, 14) }));
    });
}

QIcon IconoResultado()
{
    return Icono([](QPainter &pintor) {
        Hoja(pintor, QColor(255, 240, 140), 18);
        pintor.setPen(QPen(kMarino, 3, Qt::SolidLine, Qt::RoundCap));
        pintor.drawLine(QPointF(27, 27), QPointF(31, 31));
        pintor.setPen(QPen(kMarino, 2));
        pintor.setBrush(QColor(170, 220, 255));
        pintor.drawEllipse(QPointF(21, 20), 7, 7);
        pintor.setPen(QPen(kRojo, 2.2, Qt::SolidLine, Qt::RoundCap));
        pintor.drawLine(QPointF(18, 17), QPointF(24, 23));
        pintor.drawLine(QPointF(24, 17), QPointF(18, 23));
    });
}

} // namespace dibujos
