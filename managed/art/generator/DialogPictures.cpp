// Pictures of the pump dialog and the preset dialog: backgrounds, buttons, keys, check boxes.

#include "managed/art/ArtLayout.h"
#include "managed/art/generator/Pictures.h"
#include "managed/art/generator/Symbols.h"

#include <QtGui/QLinearGradient>

namespace Halvora {
namespace Art {

using namespace ArtLayout;

namespace {

const QColor kPanel = QColor::fromRgb(kPanelColor);
const QColor kBand(0xCF, 0xD7, 0xE0); // strips behind groups of buttons
const QColor kInsetBorder(0x8A, 0x90, 0x99);

enum class Face { Enabled, Pressed, Disabled };

// A button face filling the whole picture: raised when enabled, sunk when pressed, flat and
// faded when disabled. The background outside its rounded corners is the dialog's panel.
void ButtonFace(QPainter& p, QSize size, Face face) {
    Begin(p, size, kPanel);
    const QRectF r(1, 1, size.width() - 2, size.height() - 2);
    QLinearGradient g(0, 0, 0, size.height());
    QPen border;
    switch (face) {
    case Face::Enabled:
        g.setColorAt(0, QColor(0xFD, 0xFE, 0xFF));
        g.setColorAt(1, QColor(0xD2, 0xDB, 0xE5));
        border = QPen(QColor(0x5A, 0x6B, 0x7D), 1.2);
        break;
    case Face::Pressed:
        g.setColorAt(0, QColor(0xB9, 0xC6, 0xD4));
        g.setColorAt(1, QColor(0xE2, 0xE8, 0xEF));
        border = QPen(Palette::kFrame, 2);
        break;
    case Face::Disabled:
        g.setColorAt(0, QColor(0xEA, 0xEC, 0xEE));
        g.setColorAt(1, QColor(0xEA, 0xEC, 0xEE));
        border = QPen(QColor(0xB7, 0xBC, 0xC2), 1.2);
        break;
    }
    p.setPen(border);
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    if (face == Face::Enabled) {
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.drawLine(QPointF(7, 2.5), QPointF(size.width() - 7, 2.5));
    }
}

// Where a dialog button's icon goes: above the caption, one pixel lower when pressed.
QRectF IconBox(Face face) {
    const qreal shift = face == Face::Pressed ? kPressedShift : 0;
    return QRectF(18 + shift, 4 + shift, 28, 28);
}

QColor Tint(Face face, const QColor& c) {
    return face == Face::Disabled ? Palette::kDisabled : c;
}

void Cancel(QPainter& p, QSize size, Face face) {
    ButtonFace(p, size, face);
    CrossMark(p, IconBox(face).adjusted(6, 6, -6, -6), Tint(face, Palette::kRed), 4.5);
}

void Auth(QPainter& p, QSize size, Face face) {
    ButtonFace(p, size, face);
    const QRectF box = IconBox(face);
    p.setPen(QPen(Palette::kOutline, 1.2));
    p.setBrush(Tint(face, Palette::kGreen));
    if (face == Face::Disabled) p.setPen(QPen(Palette::kDisabled.darker(120), 1.2));
    p.drawEllipse(box.adjusted(1, 1, -1, -1));
    CheckMark(p, box.adjusted(7, 8, -7, -8), Qt::white, 3.5);
}

void StackButton(QPainter& p, QSize size, Face face) {
    ButtonFace(p, size, face);
    Layers(p, IconBox(face).adjusted(1, 0, -1, 0), Tint(face, Palette::kBlue));
}

void Stop(QPainter& p, QSize size, Face face) {
    ButtonFace(p, size, face);
    OctagonPause(p, IconBox(face), Tint(face, Palette::kRed));
}

void PresetButton(QPainter& p, QSize size, Face face) {
    ButtonFace(p, size, face);
    KeypadGrid(p, IconBox(face).adjusted(2, 2, -2, -2), Tint(face, Palette::kAmber));
}

template <void (*F)(QPainter&, QSize, Face), Face face> void As(QPainter& p, QSize size) {
    F(p, size, face);
}

void Key(QPainter& p, QSize size, Face face) {
    ButtonFace(p, size, face);
}

// A toggle's indicator at the left of its face: a round one for the value/volume choice, a square
// one for the hose boxes; filled and marked when pressed.
void Indicator(QPainter& p, const QRectF& box, bool round, bool on) {
    p.setPen(QPen(on ? Palette::kFrame : QColor(0x5A, 0x6B, 0x7D), 1.2));
    p.setBrush(on ? Palette::kFrame : QColor(Qt::white));
    if (round)
        p.drawEllipse(box);
    else
        p.drawRoundedRect(box, 2.5, 2.5);
    if (!on) return;
    if (round) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(box.center(), box.width() * 0.22, box.width() * 0.22);
    } else {
        CheckMark(p, box.adjusted(3, 3, -3, -3), Qt::white, 2.2);
    }
}

void TypeButton(QPainter& p, QSize size, bool on) {
    ButtonFace(p, size, on ? Face::Pressed : Face::Enabled);
    Indicator(p, QRectF(7, (size.height() - 14) / 2.0, 14, 14), true, on);
}

void HoseButton(QPainter& p, QSize size, bool on) {
    ButtonFace(p, size, on ? Face::Pressed : Face::Enabled);
    Indicator(p, QRectF(6, (size.height() - 14) / 2.0, 14, 14), false, on);
}

// Dialog background: panel, frame, and insets where the dialog's widgets go.
void DialogFrame(QPainter& p, QSize size) {
    Begin(p, size, kPanel);
    p.setPen(QPen(Palette::kFrame, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, size.width() - 2, size.height() - 2));
}

void Inset(QPainter& p, const QRect& r, const QColor& fill) {
    p.setPen(QPen(kInsetBorder, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(r).adjusted(-0.5, -0.5, 0.5, 0.5), 3, 3);
}

void Band(QPainter& p, const QRect& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(kBand);
    p.drawRoundedRect(QRectF(r), 5, 5);
}

void Popup(QPainter& p, QSize size) {
    DialogFrame(p, size);
    Inset(p, kPopupListRect, Qt::white);
    Band(p, kPopupCaptionRect);
    Band(p, kPopupCancelRect.united(kPopupStopRect).adjusted(-8, -4, 8, 4));
}

void PresetPopup(QPainter& p, QSize size) {
    DialogFrame(p, size);
    Inset(p, kPresetEntryRect, Palette::kDisplay);
    Band(p, kKeypadRect.adjusted(-4, -4, 4, 4));
    Band(p, kPresetValueRect.united(kPresetVolumeRect).adjusted(-4, -4, 4, 4));
    Band(p, kPresetHoseRects[0].united(kPresetHoseRects[3]).adjusted(-4, -4, 4, 4));
}

} // namespace

std::vector<Picture> DialogPictures() {
    return {
        {"Popup.bmp", kPopupSize, Popup},
        {"CancelEnabled.bmp", kDialogButtonSize, As<Cancel, Face::Enabled>},
        {"CancelPressed.bmp", kDialogButtonSize, As<Cancel, Face::Pressed>},
        {"AuthEnabled.bmp", kDialogButtonSize, As<Auth, Face::Enabled>},
        {"AuthPressed.bmp", kDialogButtonSize, As<Auth, Face::Pressed>},
        {"AuthDisabled.bmp", kDialogButtonSize, As<Auth, Face::Disabled>},
        {"StackEnabled.bmp", kDialogButtonSize, As<StackButton, Face::Enabled>},
        {"StackPressed.bmp", kDialogButtonSize, As<StackButton, Face::Pressed>},
        {"StackDisabled.bmp", kDialogButtonSize, As<StackButton, Face::Disabled>},
        {"StopEnabled.bmp", kDialogButtonSize, As<Stop, Face::Enabled>},
        {"StopPressed.bmp", kDialogButtonSize, As<Stop, Face::Pressed>},
        {"StopDisabled.bmp", kDialogButtonSize, As<Stop, Face::Disabled>},
        {"PresetPopup.bmp", kPresetPopupSize, PresetPopup},
        {"PresetEnabled.bmp", kDialogButtonSize, As<PresetButton, Face::Enabled>},
        {"PresetPressed.bmp", kDialogButtonSize, As<PresetButton, Face::Pressed>},
        {"PresetDisabled.bmp", kDialogButtonSize, As<PresetButton, Face::Disabled>},
        {"Button.bmp", kKeySize, As<Key, Face::Enabled>},
        {"ButtonPressed.bmp", kKeySize, As<Key, Face::Pressed>},
        {"ButtonType.bmp", kTypeButtonSize, [](QPainter& p, QSize s) { TypeButton(p, s, false); }},
        {"ButtonTypePressed.bmp", kTypeButtonSize,
         [](QPainter& p, QSize s) { TypeButton(p, s, true); }},
        {"ButtonHose.bmp", kHoseButtonSize, [](QPainter& p, QSize s) { HoseButton(p, s, false); }},
        {"ButtonHosePressed.bmp", kHoseButtonSize,
         [](QPainter& p, QSize s) { HoseButton(p, s, true); }},
    };
}

std::vector<Picture> AllPictures() {
    std::vector<Picture> all = PumpPictures();
    for (const Picture& d : DialogPictures())
        all.push_back(d);
    return all;
}

} // namespace Art
} // namespace Halvora
