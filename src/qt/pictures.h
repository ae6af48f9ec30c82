// The pictures the screens show (splash picture, maker's logo, logging indicator). A screen
// model's Image control names its picture in its caption: an image file path, or one of the
// drawn pictures below.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace sigcond::qt {

// Known names: "splash" (the instrument on its rail), "logo" (the maker's emblem),
// "logging" (a small recorder drawing). Any other name is tried as an image file; a name that
// is neither gives a null pixmap.
QPixmap pictureFor(const QString& name, QSize size);

}  // namespace sigcond::qt
