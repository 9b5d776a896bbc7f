// QVClient's event pump: the reader of each event kind, the routing of pump and tank status and
// deliveries to registered controls, and the event poll tick with the connection test.
#include <QDateTime>
#include <QString>
#include <array>

#include "managed/Conversions.h"
#include "managed/QVClient.h"
#include "managed/QVPump.h"
#include "managed/QVTank.h"
#include "outside/qvclient/QVClientPlain.h"

namespace Halvora {

namespace {

// A text output of a reader: starts null, freed when the event has been raised.
struct Text {
    BSTR b = nullptr;
    Text() = default;
    Text(const Text&) = delete;
    ~Text() { platform::SysFreeString(b); }
    BSTR* out() { return &b; }
    QString str() const { return FromBstr(b); }
};

// The result CheckSocketClosed gives when the library's socket has closed.
constexpr int32_t kSocketClosed = -14;
// What a reader gives when the oldest event is not of its kind, and what CheckEvents records for
// a kind without a reader: the event is still queued.
constexpr int32_t kNoEvent = 11;

} // namespace

// ---- The reader table ----

void QVClient::CheckEvents() {
    // One entry per event kind with a reader; every other kind is dropped unread.
    struct EventReader {
        int16_t type;
        int32_t (QVClient::*read)();
    };
    static constexpr std::array<EventReader, 21> kReaders{{
        {1, &QVClient::ReadPumpStatus},      {2, &QVClient::ReadDelivery},
        {3, &QVClient::ReadServerEvent},     {4, &QVClient::ReadClientEvent},
        {5, &QVClient::ReadDBLogEvent},      {6, &QVClient::ReadDBLogDelivery},
        {7, &QVClient::ReadDBClearDelivery}, {8, &QVClient::ReadDBStackDelivery},
        {9, &QVClient::ReadHoseETotals},     {10, &QVClient::ReadDBTrigger},
        {11, &QVClient::ReadAttendantLogon}, {12, &QVClient::ReadAttendantLogoff},
        {13, &QVClient::ReadTankStatus},     {17, &QVClient::ReadZeroDelivery},
        {19, &QVClient::ReadZBPanID},        {22, &QVClient::ReadCardRead},
        {23, &QVClient::ReadZB2GStatus},     {24, &QVClient::ReadLogEvent},
        {26, &QVClient::ReadQVOdo},          {27, &QVClient::ReadQVTermPrompt},
        {25, &QVClient::ReadSaleItem},
    }};
    // An entry left out of a longer table would be an empty one (type 0): none may be.
    static_assert(
        [] {
            for (const EventReader& r : kReaders)
                if (r.type == 0) return false;
            return true;
        }(),
        "every reader table entry is filled");
    if (CheckResult(::ProcessEvents()) != 0) return;
    for (;;) {
        int16_t type = 0;
        if (::GetNextEventType(&type) != 0 || type == 0) return;
        int32_t res = kNoEvent;
        for (const EventReader& r : kReaders)
            if (r.type == type) res = (this->*r.read)();
        // A reader that fails on a malformed event has taken it off the queue; a kind without a
        // reader would stay at the head for ever, so it is dropped.
        if (res == kNoEvent && ::DiscardNextEvent() != 0) return;
    }
}

void QVClient::PollEvents() {
    CheckEvents();
    if (_loggedOn) CheckResult(::TestConnection());
    int16_t reconnected = 0;
    if (_loggedOn && ::WasReconnected(&reconnected) == 0 && reconnected != 0)
        emit ServerReconnected();
}

void QVClient::OnLibraryMessage(int32_t Param) {
    // A post that was under way when the host logged off finds no logon to read.
    if (!_loggedOn) return;
    if (::CheckSocketClosed(Param) == kSocketClosed)
        CheckResult(kSocketClosed);
    else
        CheckEvents();
}

// ---- Readers ----

int32_t QVClient::ReadPumpStatus() {
    int32_t PumpID = -1, PumpNumber = 0, ReservedBy = -1, HoseID = -1, HoseNumber = 0,
            HosePhysicalNumber = 0, GradeID = -1, GradeNumber = 0, PortID = -1, AttendantID = -1,
            AttendantNumber = 0, CardClientID = -1, CardClientNumber = 0;
    int16_t State = 0, ReservedFor = 0, PriceLevel = 0, StackSize = 0, PhysicalNumber = 0, Side = 0,
            Address = 0, PriceLevel1 = 0, PriceLevel2 = 0, Type = 0, AuthMode = 0, StackMode = 0,
            PrepayAllowed = 0, PreauthAllowed = 0, PriceFormat = 0, ValueFormat = 0,
            VolumeFormat = 0;
    double Price = 0, Volume = 0, Value = 0, CurFlowRate = 0, PeakFlowRate = 0;
    int64_t Tag = 0, AttendantTag = 0, CardClientTag = 0;
    Text gradeName, shortGradeName, pumpName, attendantName, cardClientName;
    const int32_t res = ::GetNextPumpEventEx3(
        &PumpID, &PumpNumber, &State, &ReservedFor, &ReservedBy, &HoseID, &HoseNumber,
        &HosePhysicalNumber, &GradeID, &GradeNumber, gradeName.out(), shortGradeName.out(),
        &PriceLevel, &Price, &Volume, &Value, &StackSize, pumpName.out(), &PhysicalNumber, &Side,
        &Address, &PriceLevel1, &PriceLevel2, &Type, &PortID, &AuthMode, &StackMode, &PrepayAllowed,
        &PreauthAllowed, &PriceFormat, &ValueFormat, &VolumeFormat, &Tag, &AttendantID,
        &AttendantNumber, attendantName.out(), &AttendantTag, &CardClientID, &CardClientNumber,
        cardClientName.out(), &CardClientTag, &CurFlowRate, &PeakFlowRate);
    if (res != 0) return res;
    const QString GradeName = gradeName.str(), ShortGradeName = shortGradeName.str(),
                  PumpName = pumpName.str(), AttendantName = attendantName.str(),
                  CardClientName = cardClientName.str();
    if (QVPump* pump = RegisteredPump(PumpID)) {
        pump->StatusEventSink(State, ReservedFor, ReservedBy, HoseID, HoseNumber,
                              HosePhysicalNumber, GradeID, GradeNumber, GradeName, ShortGradeName,
                              PriceLevel, Price, Volume, Value, StackSize, PumpName, PhysicalNumber,
                              Side, Address, PriceLevel1, PriceLevel2, Type, PortID, AuthMode,
                              StackMode, PrepayAllowed, PreauthAllowed, PriceFormat, ValueFormat,
                              VolumeFormat, Tag, AttendantID, AttendantNumber, AttendantName,
                              AttendantTag, CardClientID, CardClientNumber, CardClientName,
                              CardClientTag, CurFlowRate, PeakFlowRate);
        return 0;
    }
    if (CurFlowRate >= 0)
        emit PumpStatusEventEx3(
            PumpID, PumpNumber, State, ReservedFor, ReservedBy, HoseID, HoseNumber,
            HosePhysicalNumber, GradeID, GradeNumber, GradeName, ShortGradeName, PriceLevel, Price,
            Volume, Value, StackSize, PumpName, PhysicalNumber, Side, Address, PriceLevel1,
            PriceLevel2, Type, PortID, AuthMode, StackMode, PrepayAllowed, PreauthAllowed,
            PriceFormat, ValueFormat, VolumeFormat, Tag, AttendantID, AttendantNumber,
            AttendantName, AttendantTag, CardClientID, CardClientNumber, CardClientName,
            CardClientTag, CurFlowRate, PeakFlowRate);
    if (HosePhysicalNumber >= 0)
        emit PumpStatusEventEx2(PumpID, PumpNumber, State, ReservedFor, ReservedBy, HoseID,
                                HoseNumber, HosePhysicalNumber, GradeID, GradeNumber, GradeName,
                                ShortGradeName, PriceLevel, Price, Volume, Value, StackSize,
                                PumpName, PhysicalNumber, Side, Address, PriceLevel1, PriceLevel2,
                                Type, PortID, AuthMode, StackMode, PrepayAllowed, PreauthAllowed,
                                PriceFormat, ValueFormat, VolumeFormat, Tag, AttendantID,
                                AttendantNumber, AttendantName, AttendantTag, CardClientID,
                                CardClientNumber, CardClientName, CardClientTag);
    // The oldest two events carry the pump and hose numbers as 16-bit values.
    const auto pumpNumber16 = static_cast<int16_t>(PumpNumber);
    const auto hoseNumber16 = static_cast<int16_t>(HoseNumber);
    if (PriceFormat >= 1)
        emit PumpStatusEventEx(
            PumpID, pumpNumber16, State, ReservedFor, ReservedBy, HoseID, hoseNumber16, GradeID,
            GradeName, ShortGradeName, PriceLevel, Price, Volume, Value, StackSize, PumpName,
            PhysicalNumber, Side, Address, PriceLevel1, PriceLevel2, Type, PortID, AuthMode,
            StackMode, PrepayAllowed, PreauthAllowed, PriceFormat, ValueFormat, VolumeFormat);
    emit PumpStatusEvent(PumpID, pumpNumber16, State, ReservedFor, ReservedBy, HoseID, hoseNumber16,
                         GradeID, GradeName, ShortGradeName, PriceLevel, Price, Volume, Value,
                         StackSize);
    return 0;
}

int32_t QVClient::ReadDelivery() {
    int32_t DeliveryID = -1, HoseID = -1, HoseNumber = 0, HosePhysicalNumber = 0, PumpID = -1,
            PumpNumber = 0, TankID = -1, TankNumber = 0, GradeID = -1, GradeNumber = 0,
            LockedBy = -1, ReservedBy = -1, AttendantID = -1, Age = 0, Duration = 0,
            AttendantNumber = 0, CardClientID = -1, CardClientNumber = 0;
    int16_t DeliveryState = 0, DeliveryType = 0, PriceLevel = 0;
    double Volume = 0, Price = 0, Value = 0, Volume2 = 0, CompletedDT = 0, ClearedDT = 0,
           OldVolumeETot = 0, OldVolume2ETot = 0, OldValueETot = 0, NewVolumeETot = 0,
           NewVolume2ETot = 0, NewValueETot = 0;
    int64_t Tag = 0, AttendantTag = 0, CardClientTag = 0;
    Text pumpName, tankName, gradeName, gradeShortName, gradeCode, attendantName, cardClientName;
    const int32_t res = ::GetNextDeliveryEventEx3(
        &DeliveryID, &HoseID, &HoseNumber, &HosePhysicalNumber, &PumpID, &PumpNumber,
        pumpName.out(), &TankID, &TankNumber, tankName.out(), &GradeID, &GradeNumber,
        gradeName.out(), gradeShortName.out(), gradeCode.out(), &DeliveryState, &DeliveryType,
        &Volume, &PriceLevel, &Price, &Value, &Volume2, &CompletedDT, &LockedBy, &ReservedBy,
        &AttendantID, &Age, &ClearedDT, &OldVolumeETot, &OldVolume2ETot, &OldValueETot,
        &NewVolumeETot, &NewVolume2ETot, &NewValueETot, &Tag, &Duration, &AttendantNumber,
        attendantName.out(), &AttendantTag, &CardClientID, &CardClientNumber, cardClientName.out(),
        &CardClientTag);
    if (res != 0) return res;
    const QString PumpName = pumpName.str(), TankName = tankName.str(), GradeName = gradeName.str(),
                  GradeShortName = gradeShortName.str(), GradeCode = gradeCode.str(),
                  AttendantName = attendantName.str(), CardClientName = cardClientName.str();
    const QDateTime completed = FromOADate(CompletedDT), cleared = FromOADate(ClearedDT);
    if (FireDeliveryEvent(DeliveryID, HoseID, HoseNumber, HosePhysicalNumber, PumpID, PumpNumber,
                          PumpName, TankID, TankNumber, TankName, GradeID, GradeNumber, GradeName,
                          GradeShortName, GradeCode, DeliveryState, DeliveryType, Volume,
                          PriceLevel, Price, Value, Volume2, completed, LockedBy, ReservedBy,
                          AttendantID, Age, cleared, OldVolumeETot, OldVolume2ETot, OldValueETot,
                          NewVolumeETot, NewVolume2ETot, NewValueETot, Tag, Duration,
                          AttendantNumber, AttendantName, AttendantTag, CardClientID,
                          CardClientNumber, CardClientName, CardClientTag) == 0)
        return 0;
    emit DeliveryEventEx3(
        DeliveryID, HoseID, HoseNumber, HosePhysicalNumber, PumpID, PumpNumber, PumpName, TankID,
        TankNumber, TankName, GradeID, GradeNumber, GradeName, GradeShortName, GradeCode,
        DeliveryState, DeliveryType, Volume, PriceLevel, Price, Value, Volume2, completed, LockedBy,
        ReservedBy, AttendantID, Age, cleared, OldVolumeETot, OldVolume2ETot, OldValueETot,
        NewVolumeETot, NewVolume2ETot, NewValueETot, Tag, Duration, AttendantNumber, AttendantName,
        AttendantTag, CardClientID, CardClientNumber, CardClientName, CardClientTag);
    // The older events carry one tag: the delivery's, else the attendant's, else the card's.
    const int64_t tag = Tag >= 0 ? Tag : AttendantTag >= 0 ? AttendantTag : CardClientTag;
    const auto pumpNumber16 = static_cast<int16_t>(PumpNumber);
    const auto hoseNumber16 = static_cast<int16_t>(HoseNumber);
    if (OldVolumeETot >= 0)
        emit DeliveryEventEx2(DeliveryID, PumpID, pumpNumber16, HoseID, hoseNumber16, GradeID,
                              GradeName, GradeShortName, PriceLevel, Price, Volume, Value,
                              DeliveryState, DeliveryType, LockedBy, ReservedBy, Age, completed,
                              AttendantID, OldVolumeETot, OldVolume2ETot, OldValueETot,
                              NewVolumeETot, NewVolume2ETot, NewValueETot, tag, Duration);
    if (NewVolumeETot >= 0)
        emit DeliveryEventEx(DeliveryID, PumpID, pumpNumber16, HoseID, hoseNumber16, GradeID,
                             GradeName, GradeShortName, PriceLevel, Price, Volume, Value,
                             DeliveryState, DeliveryType, LockedBy, ReservedBy, Age, completed,
                             AttendantID, NewVolumeETot, NewVolume2ETot, NewValueETot, tag);
    emit DeliveryEvent(DeliveryID, PumpID, pumpNumber16, HoseID, hoseNumber16, GradeID, GradeName,
                       GradeShortName, PriceLevel, Price, Volume, Value, DeliveryState,
                       DeliveryType, LockedBy, ReservedBy, Age, completed, AttendantID);
    return 0;
}

int32_t QVClient::FireDeliveryEvent(
    int32_t DeliveryID, int32_t HoseID, int32_t HoseNumber, int32_t HosePhysicalNumber,
    int32_t PumpID, int32_t PumpNumber, const QString& PumpName, int32_t TankID, int32_t TankNumber,
    const QString& TankName, int32_t GradeID, int32_t GradeNumber, const QString& GradeName,
    const QString& GradeShortName, const QString& GradeCode, int16_t DeliveryState,
    int16_t DeliveryType, double Volume, int16_t PriceLevel, double Price, double Value,
    double Volume2, const QDateTime& CompletedDT, int32_t LockedBy, int32_t ReservedBy,
    int32_t AttendantID, int32_t Age, const QDateTime& ClearedDT, double OldVolumeETot,
    double OldVolume2ETot, double OldValueETot, double NewVolumeETot, double NewVolume2ETot,
    double NewValueETot, int64_t Tag, int32_t Duration, int32_t AttendantNumber,
    const QString& AttendantName, int64_t AttendantTag, int32_t CardClientID,
    int32_t CardClientNumber, const QString& CardClientName, int64_t CardClientTag) {
    QVPump* pump = RegisteredPump(PumpID);
    if (pump == nullptr) return 2;
    pump->DeliveryEventSink(
        DeliveryID, HoseID, HoseNumber, HosePhysicalNumber, PumpID, PumpNumber, PumpName, TankID,
        TankNumber, TankName, GradeID, GradeNumber, GradeName, GradeShortName, GradeCode,
        DeliveryState, DeliveryType, Volume, PriceLevel, Price, Value, Volume2, CompletedDT,
        LockedBy, ReservedBy, AttendantID, Age, ClearedDT, OldVolumeETot, OldVolume2ETot,
        OldValueETot, NewVolumeETot, NewVolume2ETot, NewValueETot, Tag, Duration, AttendantNumber,
        AttendantName, AttendantTag, CardClientID, CardClientNumber, CardClientName, CardClientTag);
    return 0;
}

int32_t QVClient::ReadHoseETotals() {
    int32_t HoseID = -1, HoseNumber = 0, HosePhysicalNumber = 0, PumpID = -1, PumpNumber = 0,
            TankID = -1, TankNumber = 0, GradeID = -1;
    double Volume = 0, Value = 0, VolumeETot = 0, ValueETot = 0;
    Text pumpName, tankName, gradeName;
    const int32_t res = ::GetNextDBHoseETotalsEventEx(
        &HoseID, &Volume, &Value, &VolumeETot, &ValueETot, &HoseNumber, &HosePhysicalNumber,
        &PumpID, &PumpNumber, pumpName.out(), &TankID, &TankNumber, tankName.out(), &GradeID,
        gradeName.out());
    if (res != 0) return res;
    if (HoseNumber >= 1)
        emit DBLogETotalsEventEx(HoseID, Volume, Value, VolumeETot, ValueETot, HoseNumber,
                                 HosePhysicalNumber, PumpID, PumpNumber, pumpName.str(), TankID,
                                 TankNumber, tankName.str(), GradeID, gradeName.str());
    emit DBLogETotalsEvent(HoseID, Volume, Value, VolumeETot, ValueETot);
    return 0;
}

int32_t QVClient::ReadTankStatus() {
    int32_t TankID = -1, TankNumber = 0, GradeID = -1, GaugeID = -1, AlarmsMask = 0;
    double GaugeVolume = 0, GaugeTCVolume = 0, GaugeUllage = 0, GaugeTemperature = 0,
           GaugeLevel = 0, GaugeWaterVolume = 0, GaugeWaterLevel = 0, Capacity = 0, Diameter = 0;
    int16_t Type = 0, ProbeNo = 0, State = 0;
    Text tankName, gradeName;
    const int32_t res = ::GetNextDBTankStatusEventEx2(
        &TankID, &GaugeVolume, &GaugeTCVolume, &GaugeUllage, &GaugeTemperature, &GaugeLevel,
        &GaugeWaterVolume, &GaugeWaterLevel, &TankNumber, tankName.out(), &GradeID, gradeName.out(),
        &Type, &Capacity, &Diameter, &GaugeID, &ProbeNo, &State, &AlarmsMask);
    if (res != 0) return res;
    const QString TankName = tankName.str(), GradeName = gradeName.str();
    if (QVTank* tank = RegisteredTank(TankID)) {
        tank->StatusEventSink(GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature, GaugeLevel,
                              GaugeWaterVolume, GaugeWaterLevel, TankNumber, TankName, GradeID,
                              GradeName, Type, Capacity, Diameter, GaugeID, ProbeNo, State,
                              AlarmsMask);
        return 0;
    }
    if (State >= 0)
        emit DBTankStatusEventEx2(TankID, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                                  GaugeLevel, GaugeWaterVolume, GaugeWaterLevel, TankNumber,
                                  TankName, GradeID, GradeName, Type, Capacity, Diameter, GaugeID,
                                  ProbeNo, State, AlarmsMask);
    if (TankNumber >= 0)
        emit DBTankStatusEventEx(TankID, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                                 GaugeLevel, GaugeWaterVolume, GaugeWaterLevel, TankNumber,
                                 TankName, GradeID, GradeName, Type, Capacity, Diameter, GaugeID,
                                 ProbeNo);
    emit DBTankStatusEvent(TankID, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                           GaugeLevel, GaugeWaterVolume, GaugeWaterLevel);
    return 0;
}

int32_t QVClient::ReadClientEvent() {
    int32_t ClientID = -1, EventID = 0;
    Text text;
    const int32_t res = ::GetNextClientEvent(&ClientID, &EventID, text.out());
    if (res != 0) return res;
    emit ClientEvent(ClientID, EventID, text.str());
    return 0;
}

int32_t QVClient::ReadDBLogEvent() {
    int16_t EventType = 0;
    int32_t DeviceID = -1;
    double EventDT = 0;
    Text text;
    const int32_t res = ::GetNextDBLogEvent(&EventType, &DeviceID, &EventDT, text.out());
    if (res != 0) return res;
    emit DBLogEvent(EventType, DeviceID, FromOADate(EventDT), text.str());
    return 0;
}

int32_t QVClient::ReadDBLogDelivery() {
    int32_t DeliveryID = -1, HoseID = -1, ReservedBy = -1, AttendantID = -1;
    int16_t DeliveryState = 0, DeliveryType = 0, PriceLevel = 0;
    double Volume = 0, Price = 0, Value = 0, Volume2 = 0, DeliveryDT = 0;
    const int32_t res = ::GetNextDBLogDeliveryEvent(
        &DeliveryID, &HoseID, &DeliveryState, &DeliveryType, &Volume, &PriceLevel, &Price, &Value,
        &Volume2, &ReservedBy, &AttendantID, &DeliveryDT);
    if (res != 0) return res;
    emit DBLogDeliveryEvent(DeliveryID, HoseID, DeliveryState, DeliveryType, Volume, PriceLevel,
                            Price, Value, Volume2, ReservedBy, AttendantID, FromOADate(DeliveryDT));
    return 0;
}

int32_t QVClient::ReadDBClearDelivery() {
    int32_t DeliveryID = -1, ClearedBy = -1, AttendantID = -1;
    int16_t DeliveryType = 0;
    double ClearedDT = 0;
    const int32_t res = ::GetNextDBClearDeliveryEvent(&DeliveryID, &DeliveryType, &ClearedBy,
                                                      &ClearedDT, &AttendantID);
    if (res != 0) return res;
    emit DBClearDeliveryEvent(DeliveryID, DeliveryType, ClearedBy, FromOADate(ClearedDT),
                              AttendantID);
    return 0;
}

int32_t QVClient::ReadDBStackDelivery() {
    int32_t DeliveryID = -1;
    const int32_t res = ::GetNextDBStackDeliveryEvent(&DeliveryID);
    if (res != 0) return res;
    emit DBStackDeliveryEvent(DeliveryID);
    return 0;
}

int32_t QVClient::ReadAttendantLogon() {
    int32_t AttendantID = -1, PumpID = -1;
    const int32_t res = ::GetNextDBAttendantLogonEvent(&AttendantID, &PumpID);
    if (res != 0) return res;
    emit DBAttendantLogonEvent(AttendantID, PumpID);
    return 0;
}

int32_t QVClient::ReadAttendantLogoff() {
    int32_t AttendantID = -1;
    const int32_t res = ::GetNextDBAttendantLogoffEvent(&AttendantID);
    if (res != 0) return res;
    emit DBAttendantLogoffEvent(AttendantID);
    return 0;
}

int32_t QVClient::ReadZeroDelivery() {
    int32_t PumpID = -1, PumpNumber = 0, HoseID = -1, HoseNumber = 0;
    const int32_t res = ::GetNextZeroDeliveryEvent(&PumpID, &PumpNumber, &HoseID, &HoseNumber);
    if (res != 0) return res;
    emit ZeroDeliveryEvent(PumpID, PumpNumber, HoseID, HoseNumber);
    return 0;
}

int32_t QVClient::ReadCardRead() {
    int32_t CardReadID = -1, Number = 0, PumpID = -1, ParentID = -1;
    int16_t Type = 0;
    int64_t Tag = 0;
    double TimeStamp = 0;
    Text name;
    const int32_t res = ::GetNextCardReadEvent(&CardReadID, &Number, name.out(), &PumpID, &Type,
                                               &ParentID, &Tag, &TimeStamp);
    if (res != 0) return res;
    emit CardReadEvent(CardReadID, Number, name.str(), PumpID, Type, ParentID, Tag,
                       FromOADate(TimeStamp));
    return 0;
}

int32_t QVClient::ReadLogEvent() {
    int32_t LogEventID = -1, DeviceID = -1, DeviceNumber = 0, ClearedBy = -1, AckedBy = -1;
    int16_t DeviceType = 0, EventLevel = 0, EventType = 0;
    double GeneratedDT = 0, ClearedDT = 0, Volume = 0, Value = 0, ProductVolume = 0,
           ProductLevel = 0, WaterLevel = 0, Temperature = 0;
    Text deviceName, eventDesc;
    const int32_t res = ::GetNextLogEventEvent(
        &LogEventID, &DeviceType, &DeviceID, &DeviceNumber, deviceName.out(), &EventLevel,
        &EventType, eventDesc.out(), &GeneratedDT, &ClearedDT, &ClearedBy, &AckedBy, &Volume,
        &Value, &ProductVolume, &ProductLevel, &WaterLevel, &Temperature);
    if (res != 0) return res;
    emit LogEventEvent(LogEventID, DeviceType, DeviceID, DeviceNumber, deviceName.str(), EventLevel,
                       EventType, eventDesc.str(), FromOADate(GeneratedDT), FromOADate(ClearedDT),
                       ClearedBy, AckedBy, Volume, Value, ProductVolume, ProductLevel, WaterLevel,
                       Temperature);
    return 0;
}

int32_t QVClient::ReadServerEvent() {
    int32_t EventID = 0;
    Text text;
    const int32_t res = ::GetNextServerEvent(&EventID, text.out());
    if (res != 0) return res;
    emit ServerEvent(EventID, text.str());
    return 0;
}

int32_t QVClient::ReadDBTrigger() {
    int32_t TableID = 0, RowID = -1;
    const int32_t res = ::GetNextDBTriggerEvent(&TableID, &RowID);
    if (res != 0) return res;
    emit DBTriggerEvent(TableID, RowID);
    return 0;
}

int32_t QVClient::ReadZBPanID() {
    int32_t PortID = -1, PanID = 0;
    const int32_t res = ::GetNextZBPanIDEvent(&PortID, &PanID);
    if (res != 0) return res;
    emit PanIDEvent(PortID, PanID);
    return 0;
}

int32_t QVClient::ReadZB2GStatus() {
    int32_t PortID = -1, MemBlocks = 0, MemFree = 0;
    int64_t ZBAddress = 0, ParZBAddress = 0;
    int16_t LQI = 0, RSSI = 0, ZBChannel = 0, DeviceType = 0;
    const int32_t res = ::GetNextZB2GStatusEvent(&PortID, &ZBAddress, &LQI, &RSSI, &ParZBAddress,
                                                 &ZBChannel, &MemBlocks, &MemFree, &DeviceType);
    if (res != 0) return res;
    emit ZB2GStatusEvent(PortID, ZBAddress, LQI, RSSI, ParZBAddress, ZBChannel, MemBlocks, MemFree,
                         DeviceType);
    return 0;
}

int32_t QVClient::ReadQVOdo() {
    int32_t PortID = -1, MemBlocks = 0, MemFree = 0, ClientID = -1, Factor1 = 0, Factor2 = 0,
            FuelTypes = 0;
    int64_t ZBAddress = 0, ParZBAddress = 0, ClientTag = 0, Tag1 = 0, Tag2 = 0, Tag3 = 0, Tag4 = 0;
    int16_t LQI = 0, RSSI = 0, ZBChannel = 0, DeviceType = 0, Level1 = 0, Level2 = 0;
    double Odo1 = 0, Odo2 = 0;
    Text clientName, plate;
    const int32_t res = ::GetNextQVOdoEvent(
        &PortID, &ZBAddress, &LQI, &RSSI, &ParZBAddress, &ZBChannel, &MemBlocks, &MemFree,
        &DeviceType, &ClientID, clientName.out(), &ClientTag, &Odo1, &Factor1, &Level1, &Odo2,
        &Factor2, &Level2, &Tag1, &Tag2, &Tag3, &Tag4, &FuelTypes, plate.out());
    if (res != 0) return res;
    emit QVOdoEvent(PortID, ZBAddress, LQI, RSSI, ParZBAddress, ZBChannel, MemBlocks, MemFree,
                    DeviceType, ClientID, clientName.str(), ClientTag, Odo1, Factor1, Level1, Odo2,
                    Factor2, Level2, Tag1, Tag2, Tag3, Tag4, FuelTypes, plate.str());
    return 0;
}

int32_t QVClient::ReadQVTermPrompt() {
    int32_t PumpID = -1, PromptID = -1;
    int16_t PromptResult = 0;
    Text input;
    const int32_t res = ::GetNextQVTermPromptEvent(&PumpID, &PromptID, &PromptResult, input.out());
    if (res != 0) return res;
    emit QVTermPromptEvent(PumpID, PromptID, PromptResult, input.str());
    return 0;
}

} // namespace Halvora
