// One delivery as a pump control lists it: the sale's hose, grade, amounts and state, who holds
// it, its age and the hose's electronic totals after it.
#pragma once
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace Halvora {

struct QVDelivery {
    int32_t ID = -1;
    int32_t HoseID = -1;
    int32_t HoseNumber = 0;
    int32_t GradeID = -1;
    QString GradeName;
    QString ShortGradeName;
    int16_t PriceLevel = 0;
    double Price = 0;
    double Volume = 0;
    double Value = 0;
    int16_t State = 0; // TDeliveryState
    int16_t Type = 0;  // TDeliveryType
    int32_t LockedBy = -1;
    int32_t ReservedBy = -1;
    int32_t Age = 0;  // seconds since completion; negative once timed out
    QDateTime AgeSet; // when Age was read
    QDateTime CompletedDT;
    int32_t AttendantID = -1;
    double VolumeETot = 0;
    double Volume2ETot = 0;
    double ValueETot = 0;

    bool IsLocked() const { return LockedBy != -1; }
    bool IsTimedOut() const { return Age < 0; }
};

} // namespace Halvora
