// Screen models give positions and sizes in twips: 1440 twips per logical inch.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace sigcond::qt {

inline double logicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

inline int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips * logicalDpi() / 1440.0));
}

inline int pixelsToTwips(int pixels) {
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi()));
}

}  // namespace sigcond::qt
