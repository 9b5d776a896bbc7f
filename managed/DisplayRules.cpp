#include "managed/DisplayRules.h"

#include "managed/QVDelivery.h"

namespace Halvora {

int DecimalsOfFormat(int32_t format) {
    if (format < 1 || format > 11) return 0;
    return 3 - (format - 1) % 4;
}

namespace {

bool Fits(const QString& text, int width) {
    return text.size() <= width;
}

QString Without(QString text, const QString& what) {
    if (!what.isEmpty()) text.remove(what);
    return text;
}

} // namespace

QString SaleText(double amount, int32_t format, const QLocale& locale, bool currency, int width) {
    const int decimals = DecimalsOfFormat(format);
    QString text = currency ? locale.toCurrencyString(amount, locale.currencySymbol(), decimals)
                            : locale.toString(amount, 'f', decimals);
    if (Fits(text, width)) return text;
    // Blanks of every kind the locales put between symbol, groups and digits.
    for (QChar blank : {QChar(u' '), QChar(0x00A0), QChar(0x202F)})
        text.remove(blank);
    if (Fits(text, width)) return text;
    text = Without(text, locale.groupSeparator());
    if (Fits(text, width)) return text;
    if (currency) text = Without(text, locale.currencySymbol());
    if (Fits(text, width) || width <= 0) return text.left(qMax(width, 0));
    return text.right(width);
}

QString PumpPicture(int16_t state) {
    return state == 0 ? QStringLiteral("PumpOffline.bmp") : QStringLiteral("Pump.bmp");
}

QString NozzlePicture(int16_t state, bool hoseUp) {
    if (!hoseUp) return QStringLiteral("NozzleIn.bmp");
    if (state == 8) return QStringLiteral("NoNozzle.bmp");
    if (state == 13) return QStringLiteral("NozzleLeftOut.bmp");
    return QStringLiteral("NozzleOut.bmp");
}

QString StackPicture(int stacked) {
    if (stacked < 0) stacked = 0;
    if (stacked > 5) stacked = 5;
    return QStringLiteral("Stack%1.bmp").arg(stacked);
}

QString ReservationPicture(int16_t reservedFor) {
    switch (reservedFor) {
    case 2:
        return QStringLiteral("PrepayLocked.bmp");
    case 3:
        return QStringLiteral("Prepay.bmp");
    case 4:
    case 8:
        return QStringLiteral("PreauthLocked.bmp");
    case 5:
    case 9:
        return QStringLiteral("Preauth.bmp");
    default:
        return QString();
    }
}

StatePictureChoice PumpStatePicture(int16_t state, int16_t reservedFor, bool blinkOn) {
    switch (state) {
    case 0:
        return {};
    case 1:
    case 2:
    case 16:
        return {QStringLiteral("error1.bmp"), false};
    case 17:
        return {QStringLiteral("error2.bmp"), false};
    case 6:
        return {blinkOn ? QStringLiteral("Calling.bmp") : QString(), false};
    case 9:
    case 15:
        return {QStringLiteral("Stopped.bmp"), false};
    case 14:
        return {QStringLiteral("PrepayTimeout.bmp"), false};
    default:
        break;
    }
    const QString reservation = ReservationPicture(reservedFor);
    if (!reservation.isEmpty()) return {reservation, true};
    if (state == 3) return {QStringLiteral("Locked.bmp"), false};
    return {};
}

QString TankStatePicture(int16_t state) {
    switch (state) {
    case 0:
        return QStringLiteral("error1.bmp");
    case 1:
        return QString();
    case 2:
        return QStringLiteral("Falling.bmp");
    case 3:
        return QStringLiteral("Rising.bmp");
    case 4:
        return QStringLiteral("error2.bmp");
    case 5:
        return QStringLiteral("error4.bmp");
    default:
        return QStringLiteral("error3.bmp");
    }
}

QStringList DeliveryPictures(const QVDelivery& delivery) {
    QStringList names;
    if (delivery.IsLocked())
        names << QStringLiteral("DelLocked.bmp");
    else if (delivery.IsTimedOut())
        names << QStringLiteral("DelWarning.bmp");
    else if (delivery.State == 1)
        names << QStringLiteral("DelCurrent.bmp");
    if (delivery.Type == 3) names << QStringLiteral("DelRefund.bmp");
    return names;
}

} // namespace Halvora
