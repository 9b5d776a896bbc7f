// Status and deliveries for a pump or tank control as its client's event pump would hand them
// over, with the values a test does not care about filled in.
#pragma once
#include <QDateTime>
#include <QString>
#include <cstdint>

#include "managed/QVPump.h"
#include "managed/QVTank.h"

namespace halvoratest {

struct Status {
    int16_t state = 4;
    int16_t reservedFor = 0;
    int32_t hoseNumber = 0; // 0: no hose up
    double price = 0, volume = 0, value = 0;
    int16_t stackSize = 0;
    int16_t priceFormat = 0, valueFormat = 0, volumeFormat = 0;
    QString pumpName = QStringLiteral("Pump 7");
    QString gradeName;
    int64_t tag = -1;
    int32_t attendantID = -1;
    double flowRate = 0;
};

inline void Feed(Halvora::QVPump& pump, const Status& s) {
    const bool up = s.hoseNumber > 0;
    pump.StatusEventSink(
        s.state, s.reservedFor, -1, up ? 100 + s.hoseNumber : -1, s.hoseNumber, s.hoseNumber,
        up ? 3 : -1, up ? 3 : 0, s.gradeName, s.gradeName, 1, s.price, s.volume, s.value,
        s.stackSize, s.pumpName, 7, 1, 1, 1, 2, 1, 1, 0, 0, 1, 1, s.priceFormat, s.valueFormat,
        s.volumeFormat, s.tag, s.attendantID, s.attendantID == -1 ? 0 : 12,
        s.attendantID == -1 ? QString() : QStringLiteral("Ana"), s.attendantID == -1 ? -1 : 0xAB12,
        -1, 0, QString(), -1, s.flowRate, s.flowRate);
}

struct Delivery {
    int32_t id = 1;
    int16_t state = 2; // 1 current, 2 stacked
    int16_t type = 1;
    int32_t lockedBy = -1;
    int32_t age = 10;
    int32_t hoseNumber = 1;
    double volume = 10.5, value = 21.0;
    double oldVolumeETot = -1, newVolumeETot = -1; // >= 0: the newer lists were filled
};

inline void Deliver(Halvora::QVPump& pump, const Delivery& d) {
    const QDateTime done(QDate(2026, 3, 1), QTime(10, 0));
    pump.DeliveryEventSink(d.id, 100 + d.hoseNumber, d.hoseNumber, d.hoseNumber, pump.ID(), 7,
                           QStringLiteral("Pump 7"), 1, 1, QStringLiteral("Tank 1"), 3, 3,
                           QStringLiteral("Diesel"), QStringLiteral("DSL"), QStringLiteral("D"),
                           d.state, d.type, d.volume, 1, 2.0, d.value, 0, done, d.lockedBy, -1, -1,
                           d.age, QDateTime(), d.oldVolumeETot, 0, 0, d.newVolumeETot, 0, 0, -1, 60,
                           0, QString(), -1, -1, 0, QString(), -1);
}

inline void FeedTank(Halvora::QVTank& tank, int16_t state, double volume = 6000,
                     double water = 400) {
    tank.StatusEventSink(volume, volume, 10000 - volume, 18.5, 1250.0, water, 60.0, 3,
                         QStringLiteral("Diesel A"), 3, QStringLiteral("Diesel"), 1, 10000, 2500, 1,
                         1, state, 0);
}

} // namespace halvoratest
