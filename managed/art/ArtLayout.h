#pragma once
// Sizes of the display controls' pictures and where each picture, and each text the controls draw
// themselves, goes. The picture generator draws to these figures and the painting code places the
// pictures and captions by them, so the two cannot disagree.
//
// Every picture is opaque. Pictures laid over the pump or tank body (nozzle, stack, state) are
// drawn on kPanelColor, the colour of the body where they go, so they need no transparency.
// Delivery list pictures are drawn on white, the list's background.

#include <QtCore/QRect>
#include <QtCore/QSize>
#include <QtCore/QString>
#include <QtGui/QRgb>

namespace Halvora {
namespace ArtLayout {

// Resource prefix of every picture: ":/Halvora/Pump.bmp".
inline const QString kResourcePrefix = QStringLiteral(":/Halvora/");

constexpr QRgb kPanelColor = 0xFFDDE3EA;       // body areas under the overlaid pictures
constexpr QRgb kListColor = 0xFFFFFFFF;        // background of the delivery list pictures
constexpr QRgb kDisplayTextColor = 0xFF7CFC9A; // running sale digits on the dark display
constexpr QRgb kCaptionColor = 0xFF1A1A1A;     // captions on buttons and light panels
constexpr QRgb kHeaderTextColor = 0xFFFFFFFF;  // pump/tank name on the blue header band
const char* const kFontFamily = "Arial";

// The pump control: "Pump.bmp" / "PumpOffline.bmp" cover the whole control.
constexpr QSize kPumpSize{120, 160};
constexpr QRect kPumpNumberRect{8, 5, 36, 18};  // white badge; the pump number, centred, bold
constexpr QRect kPumpSaleRect{8, 28, 104, 54};  // dark display; volume, value, price lines
constexpr int kPumpSaleLineHeight = 18;         // line i at kPumpSaleRect.top() + i * 18
constexpr QRect kPumpStateRect{10, 86, 40, 40}; // state pictures (Locked, Calling, error1, ...)
constexpr int kReservationDrop = 12;            // reservation pictures: kPumpStateRect moved down
constexpr QRect kPumpReserveRect = kPumpStateRect.translated(0, kReservationDrop);
constexpr QRect kPumpStackRect{8, 140, 62, 14};     // "Stack0.bmp" .. "Stack5.bmp"
constexpr QRect kPumpNozzleRect{74, 86, 38, 68};    // "NozzleIn.bmp", "NozzleOut.bmp", ...
constexpr QSize kStateSize = kPumpStateRect.size(); // every pump and tank state picture
constexpr QSize kStackSize = kPumpStackRect.size();
constexpr QSize kNozzleSize = kPumpNozzleRect.size();

// The tank control: "Tank.bmp" covers the whole control.
constexpr QSize kTankSize{120, 160};
constexpr QRect kTankNumberRect{8, 5, 26, 18};  // white badge; the tank number
constexpr QRect kTankNameRect{38, 5, 76, 18};   // on the header band; the tank name
constexpr QRect kTankGradeRect{8, 25, 104, 14}; // under the header; the grade's name
constexpr QRect kTankLevelRect{16, 46, 46, 56}; // inside the vessel; product and water fill
constexpr QRect kTankStateRect{74, 56, 40, 40}; // "error1.bmp" .. "error4.bmp", "Falling.bmp", ...
constexpr QRect kTankReadingsRect{8, 110, 104, 46}; // light panel; three reading lines
constexpr int kTankReadingLineHeight = 15;

// Delivery list: each row shows up to two 16 x 16 pictures (state, then "DelRefund.bmp").
constexpr QSize kDelIconSize{16, 16};
constexpr int kDelRowHeight = 20;

// Dialog buttons ("Cancel*", "Auth*", "Stack*", "Stop*", "Preset*"): an icon above its caption.
constexpr QSize kDialogButtonSize{64, 52};
constexpr QRect kDialogButtonCaptionRect{2, 34, 60, 16};
constexpr int kPressedShift = 1; // pressed faces and their captions sit one pixel down-right

// The pump dialog: "Popup.bmp" is its background.
constexpr QSize kPopupSize{320, 224};
constexpr QRect kPopupListRect{10, 10, 300, 120};    // the deliveries list
constexpr QRect kPopupCaptionRect{10, 136, 300, 18}; // volume and value captions
constexpr QRect kPopupCancelRect{20, 162, 64, 52};
constexpr QRect kPopupAuthRect{92, 162, 64, 52};
constexpr QRect kPopupStackRect{164, 162, 64, 52};
constexpr QRect kPopupStopRect{236, 162, 64, 52};

// The preset dialog: "PresetPopup.bmp" is its background.
constexpr QSize kPresetPopupSize{320, 246};
constexpr QRect kPresetEntryRect{10, 10, 300, 36}; // the limit being typed, right-aligned
constexpr QSize kKeySize{48, 40};                  // "Button.bmp", "ButtonPressed.bmp"
constexpr QRect kKeypadRect{10, 54, 156, 178};     // 3 columns x 4 rows of keys
constexpr int kKeyGap = 6;                         // key (c, r) at kKeypadRect + c,r * (size+gap)
constexpr QSize kTypeButtonSize{132, 26};          // "ButtonType.bmp", "ButtonTypePressed.bmp"
constexpr QRect kTypeButtonCaptionRect{26, 0, 102, 26};
constexpr QRect kPresetValueRect{178, 54, 132, 26};
constexpr QRect kPresetVolumeRect{178, 84, 132, 26};
constexpr QSize kHoseButtonSize{62, 28}; // "ButtonHose.bmp", "ButtonHosePressed.bmp"
constexpr QRect kHoseButtonCaptionRect{24, 0, 36, 28};
constexpr QRect kPresetHoseRects[4] = {
    {178, 118, 62, 28}, {248, 118, 62, 28}, {178, 150, 62, 28}, {248, 150, 62, 28}};
constexpr QRect kPresetPresetRect{178, 184, 64, 52};
constexpr QRect kPresetAuthRect{246, 184, 64, 52};

// Top-left corner of keypad key (column, row), both counted from 0.
constexpr QPoint KeyOrigin(int column, int row) {
    return {kKeypadRect.left() + column * (kKeySize.width() + kKeyGap),
            kKeypadRect.top() + row * (kKeySize.height() + kKeyGap)};
}

} // namespace ArtLayout
} // namespace Halvora
