#include "Fonts.h"

#include "Twips.h"

#include <QFontMetricsF>

namespace platform {

QFont TahomaFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    return font;
}

QFont ArialFont(double pointSize, bool bold, bool italic)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

double TextWidthTwips(const QFont& font, const QString& text)
{
    return QFontMetricsF(font).horizontalAdvance(text) * TwipsPerPixelX();
}

} // namespace platform
