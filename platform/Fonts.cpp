#include "Fonts.h"

#include "Twips.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace platform {

namespace {
// Where Debian's fonts-wine installs its Tahoma, outside fontconfig's folders.
const char* const WineFontFolder = "/usr/share/wine/fonts/";

void LoadTahomaOnce()
{
    static const bool loaded = [] {
        if (QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive))
            return true;
        bool any = false;
        for (const char* file : {"tahoma.ttf", "tahomabd.ttf"})
            any |= QFontDatabase::addApplicationFont(QLatin1String(WineFontFolder) +
                                                     QLatin1String(file)) >= 0;
        return any;
    }();
    Q_UNUSED(loaded);
}
} // namespace

QFont TahomaFont()
{
    LoadTahomaOnce();
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
