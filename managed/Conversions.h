// Conversions between the host's values and the client library's: texts to and from BSTRs,
// date-times to and from automation dates (days since 30 December 1899, the time of day as the
// fraction).
#pragma once
#include <QDateTime>
#include <QString>

#include "platform/OleAuto.h"

namespace Halvora {

// A BSTR for the library: null for a null string, else a new BSTR with the same UTF-16 units
// (the length kept, embedded zeros included). The caller frees it with platform::SysFreeString.
BSTR ToBstr(const QString& text);
// The text of a BSTR from the library: "" (empty, not null) for a null BSTR, else a copy.
// The BSTR is not freed.
QString FromBstr(BSTR text);

// The ends of the host's date-time range: 1 January 0001 00:00:00.000 and
// 31 December 9999 23:59:59.999.
QDateTime MinDateTime();
QDateTime MaxDateTime();
// The automation date of a local date-time. -1.0 for a date-time at or beyond either end of
// the range, for an invalid one, and for one before the year 100, which has no automation date.
double ToOADate(const QDateTime& when);
// The local date-time of an automation date, by the automation rule (for a negative value the
// fraction counts forward from the day's start). An invalid QDateTime for a value outside the
// automation range (years 100 to 9999) or not a number.
QDateTime FromOADate(double date);

} // namespace Halvora
