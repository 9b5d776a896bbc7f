// What the display controls draw for a value: the decimals of a display format, the running
// sale's texts cut to their field, and the picture that goes with a pump, nozzle, stack, tank
// or delivery state. Pure functions, shared by the controls and their tests.
#pragma once
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace Halvora {

struct QVDelivery;

// Decimals of a display format (TDisplayFormat): formats 1 to 11 run in threes of four giving
// 3, 2, 1 and 0 decimals; any other value 0.
int DecimalsOfFormat(int32_t format);

// Characters of each running sale line (volume, value, price).
constexpr int kSaleFieldWidth = 10;

// `amount` with the decimals of `format` in `locale`'s number form (its currency form when
// `currency`), cut to `width` characters: blanks go first, then group separators, then the
// currency symbol; a text still too wide keeps its last `width` characters, as a counter with
// that many digits shows its lowest ones.
QString SaleText(double amount, int32_t format, const QLocale& locale, bool currency,
                 int width = kSaleFieldWidth);

// The pump body: "PumpOffline.bmp" for state 0, else "Pump.bmp".
QString PumpPicture(int16_t state);

// The nozzle: "NozzleIn.bmp" when no hose is up, "NoNozzle.bmp" in state 8,
// "NozzleLeftOut.bmp" in state 13, else "NozzleOut.bmp".
QString NozzlePicture(int16_t state, bool hoseUp);

// The stack for `stacked` sales not yet paid: "Stack0.bmp" for none, "Stack1.bmp" to
// "Stack4.bmp", "Stack5.bmp" for more. A negative count (a current sale the server does not
// count as stacked yet) shows as none.
QString StackPicture(int stacked);

// The pump's state picture and whether it is a reservation picture (drawn 12 px lower).
struct StatePictureChoice {
    QString name; // empty: no state picture
    bool reservation = false;
};
// Errors, calling (only while `blinkOn`), stopped and prepay time-out first; then the
// reservation picture of `reservedFor`; then "Locked.bmp" for state 3.
StatePictureChoice PumpStatePicture(int16_t state, int16_t reservedFor, bool blinkOn);

// The reservation picture of a TPumpReserve value: 2 "PrepayLocked.bmp", 3 "Prepay.bmp",
// 4 and 8 "PreauthLocked.bmp", 5 and 9 "Preauth.bmp", else empty.
QString ReservationPicture(int16_t reservedFor);

// The tank's state picture: 0 "error1.bmp", 1 none, 2 "Falling.bmp", 3 "Rising.bmp",
// 4 "error2.bmp", 5 "error4.bmp", any other "error3.bmp".
QString TankStatePicture(int16_t state);

// The pictures of a delivery row, in order: locked, else timed out, else current (state 1);
// then "DelRefund.bmp" for type 3.
QStringList DeliveryPictures(const QVDelivery& delivery);

} // namespace Halvora
