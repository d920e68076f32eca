#include "fuentes.h"

namespace fuentes {
namespace {

const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QString kComic = QStringLiteral("Comic Sans MS");

QFont Fuente(const QString &cara, qreal puntos, bool negrita)
{
    static const bool sustitutos = [] {
        QFont::insertSubstitution(kSansSerif, QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(kComic, QStringLiteral("Comic Neue"));
        return true;
    }();
    Q_UNUSED(sustitutos);
    QFont fuente(cara);
    fuente.setPointSizeF(puntos);
    fuente.setBold(negrita);
    return fuente;
}

} // namespace

QFont SansSerif(qreal puntos, bool negrita)
{
    return Fuente(kSansSerif, puntos, negrita);
}

QFont Comic(qreal puntos, bool negrita)
{
    return Fuente(kComic, puntos, negrita);
}

} // namespace fuentes
