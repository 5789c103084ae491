// Layout units: twips (1/1440 inch) converted with the screen's real resolution.
#pragma once

#include <QRect>

namespace platform {

double TwipsPerPixelX();
double TwipsPerPixelY();
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);
// A rectangle given in twips as left, top, width, height.
QRect TwipsRect(int left, int top, int width, int height);

} // namespace platform
