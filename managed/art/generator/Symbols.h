#pragma once
// Drawing primitives shared by the pictures: one palette and the symbols (padlock, bell, warning
// signs, banknote, card, arrows, ...) each drawn to fit a given box, so that the same symbol looks
// the same wherever it appears.

#include <QtCore/QRectF>
#include <QtGui/QColor>
#include <QtGui/QPainter>

namespace Halvora {
namespace Art {

// The palette every picture draws from.
namespace Palette {
inline const QColor kFrame{0x2F, 0x5F, 0x8F};   // control frames
inline const QColor kHeader{0x3C, 0x78, 0xB4};  // header bands
inline const QColor kDisplay{0x0F, 0x24, 0x18}; // dark sale display
inline const QColor kOutline{0x26, 0x2B, 0x31}; // symbol outlines
inline const QColor kGreen{0x2E, 0x9E, 0x4F};
inline const QColor kAmber{0xF0, 0xA0, 0x20};
inline const QColor kOrange{0xE8, 0x71, 0x1A};
inline const QColor kRed{0xD9, 0x30, 0x25};
inline const QColor kBlue{0x2F, 0x6F, 0xB0};
inline const QColor kPurple{0x7A, 0x4E, 0xB8};
inline const QColor kSlate{0x6B, 0x76, 0x82};
inline const QColor kSteel{0xB8, 0xBE, 0xC6};
inline const QColor kLight{0xF4, 0xF7, 0xFA};    // light insets (tank vessel, readings)
inline const QColor kDisabled{0xA0, 0xA6, 0xAD}; // every symbol colour of a disabled button
} // namespace Palette

// A painter set up for a picture: antialiased, and the whole picture filled with `background`.
void Begin(QPainter& p, QSize size, const QColor& background);

// Signs drawn within `box` (square boxes read best).
void Padlock(QPainter& p, const QRectF& box, const QColor& body);
void Bell(QPainter& p, const QRectF& box);
void WarningTriangle(QPainter& p, const QRectF& box, const QColor& fill, const QColor& mark);
void CircleCross(QPainter& p, const QRectF& box, const QColor& fill);
void CircleQuestion(QPainter& p, const QRectF& box, const QColor& fill);
void DiamondBolt(QPainter& p, const QRectF& box, const QColor& fill);
void OctagonPause(QPainter& p, const QRectF& box, const QColor& fill);
void Banknote(QPainter& p, const QRectF& box);
void Card(QPainter& p, const QRectF& box);
void ClockBadge(QPainter& p, const QRectF& box, const QColor& fill);
void LevelArrow(QPainter& p, const QRectF& box, bool up, const QColor& fill);
void Droplet(QPainter& p, const QRectF& box, const QColor& fill);
void RefundArrow(QPainter& p, const QRectF& box, const QColor& fill);
void CheckMark(QPainter& p, const QRectF& box, const QColor& color, qreal width);
void CrossMark(QPainter& p, const QRectF& box, const QColor& color, qreal width);
void Layers(QPainter& p, const QRectF& box, const QColor& fill);
void KeypadGrid(QPainter& p, const QRectF& box, const QColor& fill);
void Plug(QPainter& p, const QRectF& box, const QColor& color);

// A pump nozzle whose spout tip is at `tip`, rotated by `degrees` from hanging straight down
// (spout up, handle below), with its hose running to `hoseEnd`.
void Nozzle(QPainter& p, QPointF tip, qreal degrees, QPointF hoseEnd, const QColor& handle);

} // namespace Art
} // namespace Halvora
