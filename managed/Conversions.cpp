#include "managed/Conversions.h"

#include <cmath>
#include <cstdint>

namespace Halvora {

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Automation dates of 1 January 100 and of the day after 31 December 9999: valid values lie
// strictly between them.
constexpr double kFirstOADate = -657435.0;
constexpr double kEndOADate = 2958466.0;

QDate OADateOrigin() {
    return QDate(1899, 12, 30);
}

} // namespace

BSTR ToBstr(const QString& text) {
    if (text.isNull()) return nullptr;
    return platform::SysAllocStringLen(reinterpret_cast<const char16_t*>(text.utf16()),
                                       static_cast<uint32_t>(text.size()));
}

QString FromBstr(BSTR text) {
    if (text == nullptr) return QString(QLatin1String(""));
    return QString::fromUtf16(text, static_cast<qsizetype>(platform::SysStringLen(text)));
}

QDateTime MinDateTime() {
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::LocalTime);
}

QDateTime MaxDateTime() {
    return QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::LocalTime);
}

double ToOADate(const QDateTime& when) {
    // Years 1 to 99 (the minimum among them) have no automation date.
    if (!when.isValid() || when.date().year() < 100 || when >= MaxDateTime()) return -1.0;
    const QDate day = when.date();
    const QTime time = when.time();
    int64_t ms = OADateOrigin().daysTo(day) * kMsPerDay + time.msecsSinceStartOfDay();
    // Before the origin the integer part counts days back and the fraction still counts forward.
    if (ms < 0) {
        const int64_t intoDay = ms % kMsPerDay;
        if (intoDay != 0) ms -= (kMsPerDay + intoDay) * 2;
    }
    return static_cast<double>(ms) / kMsPerDay;
}

QDateTime FromOADate(double date) {
    if (!(date > kFirstOADate && date < kEndOADate)) return QDateTime();
    int64_t ms = static_cast<int64_t>(date * kMsPerDay + (date >= 0 ? 0.5 : -0.5));
    if (ms < 0) ms -= (ms % kMsPerDay) * 2;
    int64_t days = ms / kMsPerDay;
    int64_t intoDay = ms % kMsPerDay;
    if (intoDay < 0) {
        --days;
        intoDay += kMsPerDay;
    }
    return QDateTime(OADateOrigin().addDays(days),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(intoDay)), Qt::LocalTime);
}

} // namespace Halvora
