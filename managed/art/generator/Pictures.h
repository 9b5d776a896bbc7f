#pragma once
// The catalogue of the display controls' pictures: each name, its size and the function that
// draws it. The generator walks the catalogue; the drawing functions live in PumpPictures.cpp
// (pump, tank, delivery list) and DialogPictures.cpp (dialog backgrounds and buttons).

#include <QtCore/QSize>
#include <QtGui/QPainter>

#include <vector>

namespace Halvora {
namespace Art {

struct Picture {
    const char* name;                // file and resource name, e.g. "Pump.bmp"
    QSize size;                      // from ArtLayout.h
    void (*paint)(QPainter&, QSize); // draws the whole picture, background included
};

// Pump, tank and delivery list pictures, in the order the controls list them.
std::vector<Picture> PumpPictures();

// Dialog backgrounds, dialog buttons and preset dialog keys.
std::vector<Picture> DialogPictures();

// Both lists together: every picture the package embeds, each name once.
std::vector<Picture> AllPictures();

} // namespace Art
} // namespace Halvora
