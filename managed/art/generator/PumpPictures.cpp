// Pictures of the pump and tank controls and of the delivery list.

#include "managed/art/ArtLayout.h"
#include "managed/art/generator/Pictures.h"
#include "managed/art/generator/Symbols.h"

#include <QtGui/QLinearGradient>
#include <QtGui/QPainterPath>

namespace Halvora {
namespace Art {

using namespace ArtLayout;

namespace {

const QColor kPanel = QColor::fromRgb(kPanelColor);

struct BodyColours {
    QColor frame;
    QColor header;
    QColor badge;
    QColor display;
};

const BodyColours kOnline{Palette::kFrame, Palette::kHeader, Qt::white, Palette::kDisplay};
const BodyColours kOffline{QColor(0x7D, 0x84, 0x8C), QColor(0x9A, 0xA1, 0xA9),
                           QColor(0xE6, 0xE8, 0xEA), QColor(0x3A, 0x3F, 0x44)};

// The frame, the header band and the number badge shared by the pump and the tank.
void Body(QPainter& p, QSize size, const BodyColours& c, const QRect& badge) {
    Begin(p, size, kPanel);
    const QRectF outer(1.5, 1.5, size.width() - 3, size.height() - 3);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(outer, 6, 6);
    p.setClipPath(clip);
    QLinearGradient band(0, 0, 0, 25);
    band.setColorAt(0, c.header.lighter(115));
    band.setColorAt(1, c.header);
    p.fillRect(QRectF(0, 0, size.width(), 25), band);
    p.fillRect(QRectF(0, 25, size.width(), 1), c.frame);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.frame, 3));
    p.drawRoundedRect(outer, 6, 6);
    p.setPen(QPen(c.frame, 1));
    p.setBrush(c.badge);
    p.drawRoundedRect(QRectF(badge).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

// A dark display window with faint separators between its lines.
void Display(QPainter& p, const QRect& r, const QColor& fill, int lineHeight) {
    p.setPen(QPen(fill.darker(160), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setPen(QPen(fill.lighter(150), 1));
    for (int y = r.top() + lineHeight; y < r.bottom() - 2; y += lineHeight)
        p.drawLine(QPointF(r.left() + 4, y + 0.5), QPointF(r.right() - 4, y + 0.5));
}

void PumpBody(QPainter& p, QSize size, const BodyColours& c) {
    Body(p, size, c, kPumpNumberRect);
    // A fuel drop beside the number: the control's kind at a glance.
    Droplet(p, QRectF(96, 6, 14, 16), c.badge);
    Display(p, kPumpSaleRect, c.display, kPumpSaleLineHeight);
}

void Pump(QPainter& p, QSize size) {
    PumpBody(p, size, kOnline);
}

void PumpOffline(QPainter& p, QSize size) {
    PumpBody(p, size, kOffline);
    Plug(p, QRectF(kPumpStateRect).adjusted(4, 4, -4, -4), QColor(0x9A, 0xA1, 0xA9));
}

// Five slots for the stacked sales; `count` of them filled.
void Stack(QPainter& p, QSize size, int count) {
    Begin(p, size, kPanel);
    for (int i = 0; i < 5; ++i) {
        const QRectF slot(2.5 + i * 12, 2.5, 9, 9);
        if (i < count) {
            p.setPen(QPen(Palette::kOutline, 1));
            p.setBrush(Palette::kAmber);
            p.drawRoundedRect(slot, 1.5, 1.5);
            p.setPen(QPen(QColor(0xFF, 0xE6, 0xB0), 1));
            p.drawLine(QPointF(slot.left() + 2, slot.top() + 3),
                       QPointF(slot.right() - 2, slot.top() + 3));
            p.drawLine(QPointF(slot.left() + 2, slot.top() + 6),
                       QPointF(slot.right() - 3, slot.top() + 6));
        } else {
            p.setPen(QPen(QColor(0xA9, 0xB3, 0xBE), 1));
            p.setBrush(QColor(0xEC, 0xF0, 0xF4));
            p.drawRoundedRect(slot, 1.5, 1.5);
        }
    }
}

template <int N> void StackN(QPainter& p, QSize size) {
    Stack(p, size, N);
}

QRectF StateBox(QSize size) {
    return QRectF(QPointF(0, 0), QSizeF(size)).adjusted(3, 3, -3, -3);
}

void Locked(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    Padlock(p, StateBox(size), QColor(0xD9, 0xA2, 0x1B));
}

void Calling(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    Bell(p, StateBox(size));
}

void Stopped(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    OctagonPause(p, StateBox(size), Palette::kRed);
}

void Error1(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    WarningTriangle(p, StateBox(size), Palette::kRed, Qt::white);
}

void Error2(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    CircleCross(p, StateBox(size), Palette::kRed);
}

void Error3(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    CircleQuestion(p, StateBox(size), Palette::kSlate);
}

void Error4(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    DiamondBolt(p, StateBox(size), Palette::kOrange);
}

// The small sign in the lower right corner of a reservation picture.
QRectF CornerBox(QSize size) {
    return QRectF(size.width() - 19, size.height() - 20, 17, 18);
}

void Prepay(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    Banknote(p, StateBox(size).translated(-2, -4));
}

void PrepayLocked(QPainter& p, QSize size) {
    Prepay(p, size);
    Padlock(p, CornerBox(size), QColor(0xD9, 0xA2, 0x1B));
}

void PrepayTimeout(QPainter& p, QSize size) {
    Prepay(p, size);
    ClockBadge(p, CornerBox(size).adjusted(0, 1, 0, 0), Palette::kAmber);
}

void Preauth(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    Card(p, StateBox(size).translated(-2, -4));
}

void PreauthLocked(QPainter& p, QSize size) {
    Preauth(p, size);
    Padlock(p, CornerBox(size), QColor(0xD9, 0xA2, 0x1B));
}

// The nozzle holder at the top of the nozzle area, with its lamp.
void Holster(QPainter& p, const QColor& lamp) {
    p.setPen(QPen(Palette::kOutline, 1));
    p.setBrush(QColor(0x4A, 0x50, 0x58));
    p.drawRoundedRect(QRectF(6.5, 3.5, 20, 18), 3, 3);
    p.setBrush(QColor(0x22, 0x25, 0x2A));
    p.drawRoundedRect(QRectF(11.5, 15.5, 10, 6), 1.5, 1.5); // the opening
    p.setBrush(lamp);
    p.drawEllipse(QPointF(32, 8), 3.2, 3.2);
}

const QColor kLampOff(0xA9, 0xB3, 0xBE);
const QColor kNozzleHandle(0x2E, 0x9E, 0x4F);

void NozzleIn(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    Nozzle(p, QPointF(16.5, 10), 0, QPointF(10, size.height() + 4), kNozzleHandle);
    Holster(p, kLampOff);
}

void NozzleOut(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    Holster(p, Palette::kGreen);
    Nozzle(p, QPointF(12, 28), -28, QPointF(8, size.height() + 4), kNozzleHandle);
}

void NozzleLeftOut(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    // An amber rim: the nozzle was left out of its holder.
    p.setPen(QPen(Palette::kAmber, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 4, 4);
    Holster(p, Palette::kAmber);
    Nozzle(p, QPointF(35, 36), 60, QPointF(24, size.height() + 4), kNozzleHandle);
}

void NoNozzle(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    Holster(p, Palette::kRed);
    // Where the nozzle should hang: a dashed outline, struck through.
    p.setPen(QPen(QColor(0x8A, 0x90, 0x99), 1.2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(10.5, 24.5, 12, 24), 2, 2);
    p.setPen(QPen(Palette::kRed, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 54), QPointF(30, 22));
}

void Tank(QPainter& p, QSize size) {
    Body(p, size, kOnline, kTankNumberRect);
    // The vessel: the level area inside it, tick marks at quarters beside it.
    const QRectF vessel = QRectF(kTankLevelRect).adjusted(-6, -6, 6, 6);
    p.setPen(QPen(Palette::kFrame, 2));
    p.setBrush(Palette::kLight);
    p.drawRoundedRect(vessel, 6, 6);
    p.setPen(QPen(Palette::kFrame, 1));
    for (int q = 1; q < 4; ++q) {
        const qreal y = kTankLevelRect.bottom() + 1 - q * kTankLevelRect.height() / 4.0 + 0.5;
        p.drawLine(QPointF(kTankLevelRect.right() + 1, y), QPointF(vessel.right() - 1, y));
    }
    p.setPen(QPen(QColor(0xA9, 0xB3, 0xBE), 1));
    p.setBrush(Palette::kLight);
    p.drawRoundedRect(QRectF(kTankReadingsRect).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

// Delivery list pictures, on the list's white.
QRectF IconBox(QSize size) {
    return QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
}

void DelWarning(QPainter& p, QSize size) {
    Begin(p, size, QColor::fromRgb(kListColor));
    WarningTriangle(p, IconBox(size), Palette::kAmber, Palette::kOutline);
}

void DelCurrent(QPainter& p, QSize size) {
    Begin(p, size, QColor::fromRgb(kListColor));
    Droplet(p, IconBox(size), Palette::kGreen);
}

void DelLocked(QPainter& p, QSize size) {
    Begin(p, size, QColor::fromRgb(kListColor));
    Padlock(p, IconBox(size), QColor(0xD9, 0xA2, 0x1B));
}

void DelRefund(QPainter& p, QSize size) {
    Begin(p, size, QColor::fromRgb(kListColor));
    RefundArrow(p, IconBox(size), Palette::kPurple);
}

} // namespace

std::vector<Picture> PumpPictures() {
    return {
        {"Pump.bmp", kPumpSize, Pump},
        {"PumpOffline.bmp", kPumpSize, PumpOffline},
        {"Stack0.bmp", kStackSize, StackN<0>},
        {"Stack1.bmp", kStackSize, StackN<1>},
        {"Stack2.bmp", kStackSize, StackN<2>},
        {"Stack3.bmp", kStackSize, StackN<3>},
        {"Stack4.bmp", kStackSize, StackN<4>},
        {"Stack5.bmp", kStackSize, StackN<5>},
        {"Locked.bmp", kStateSize, Locked},
        {"Calling.bmp", kStateSize, Calling},
        {"Stopped.bmp", kStateSize, Stopped},
        {"error1.bmp", kStateSize, Error1},
        {"error2.bmp", kStateSize, Error2},
        {"Prepay.bmp", kStateSize, Prepay},
        {"PrepayLocked.bmp", kStateSize, PrepayLocked},
        {"PrepayTimeout.bmp", kStateSize, PrepayTimeout},
        {"Preauth.bmp", kStateSize, Preauth},
        {"PreauthLocked.bmp", kStateSize, PreauthLocked},
        {"NozzleIn.bmp", kNozzleSize, NozzleIn},
        {"NozzleOut.bmp", kNozzleSize, NozzleOut},
        {"NozzleLeftOut.bmp", kNozzleSize, NozzleLeftOut},
        {"NoNozzle.bmp", kNozzleSize, NoNozzle},
        {"Tank.bmp", kTankSize, Tank},
        {"error3.bmp", kStateSize, Error3},
        {"error4.bmp", kStateSize, Error4},
        {"Falling.bmp", kStateSize,
         [](QPainter& p, QSize size) {
             Begin(p, size, kPanel);
             LevelArrow(p, StateBox(size), false, Palette::kOrange);
         }},
        {"Rising.bmp", kStateSize,
         [](QPainter& p, QSize size) {
             Begin(p, size, kPanel);
             LevelArrow(p, StateBox(size), true, Palette::kGreen);
         }},
        {"DelWarning.bmp", kDelIconSize, DelWarning},
        {"DelCurrent.bmp", kDelIconSize, DelCurrent},
        {"DelLocked.bmp", kDelIconSize, DelLocked},
        {"DelRefund.bmp", kDelIconSize, DelRefund},
    };
}

} // namespace Art
} // namespace Halvora
