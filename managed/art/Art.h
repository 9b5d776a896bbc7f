#pragma once
// The display controls' pictures, embedded in the package under their names (ArtLayout.h gives
// their sizes and places). Use from the UI thread.

#include <QtCore/QString>
#include <QtGui/QImage>

namespace Halvora {

// The picture embedded as `name` (e.g. "Pump.bmp"); a null image for a name the package does not
// embed. Pictures are decoded once and kept.
QImage ArtImage(const QString& name);

} // namespace Halvora
