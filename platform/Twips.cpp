#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace platform {

namespace {
constexpr double TwipsPerInch = 1440.0;

double Dpi(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}
} // namespace

double TwipsPerPixelX()
{
    return TwipsPerInch / Dpi(true);
}
double TwipsPerPixelY()
{
    return TwipsPerInch / Dpi(false);
}
int TwipsToPixelsX(int twips)
{
    return int(std::lround(twips / TwipsPerPixelX()));
}
int TwipsToPixelsY(int twips)
{
    return int(std::lround(twips / TwipsPerPixelY()));
}
int PixelsToTwipsX(int pixels)
{
    return int(std::lround(pixels * TwipsPerPixelX()));
}
int PixelsToTwipsY(int pixels)
{
    return int(std::lround(pixels * TwipsPerPixelY()));
}

QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                 TwipsToPixelsY(height));
}

} // namespace platform
