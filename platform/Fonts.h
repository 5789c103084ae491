// The fonts the windows are designed in. Where Tahoma is not installed, the copy with
// Tahoma's metrics that Wine ships (Debian's fonts-wine) is loaded on first use; fontconfig
// maps Arial to Liberation Sans, which has Arial's metrics.
#pragma once

#include <QFont>

namespace platform {

// Tahoma 8.25 pt regular: buttons, lists and the hint line.
QFont TahomaFont();
// Arial at `pointSize`, for the browser cards.
QFont ArialFont(double pointSize, bool bold = false, bool italic = false);

// The width of `text` drawn in `font`, in twips (not rounded).
double TextWidthTwips(const QFont& font, const QString& text);

} // namespace platform
