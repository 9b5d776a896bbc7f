#include "managed/QVPump.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

#include "managed/DisplayRules.h"
#include "managed/QVButton.h"
#include "managed/QVClient.h"
#include "managed/QVPopup.h"
#include "managed/QVPresetPopup.h"
#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"
#include "managed/art/StringTable.h"

namespace Halvora {

using namespace ArtLayout;

int QVPump::s_callingInterval = 1000;

namespace {

constexpr int16_t kCalling = 6;
// The result of CancelAuthorise on a pump that is already delivering: stop it instead.
constexpr int32_t kCancelNeedsStop = 25;

QString Hex(int64_t tag) {
    return QString::number(static_cast<qulonglong>(tag), 16).toUpper();
}

// "<number> <name>  [<tag>]": how the tooltip names an attendant or card client.
QString Holder(int32_t number, const QString& name, int64_t tag) {
    return QStringLiteral("%1 %2  [%3]").arg(number).arg(name, Hex(tag));
}

QRect StateArea() {
    return kPumpStateRect.united(kPumpReserveRect);
}

} // namespace

QVPump::QVPump(QWidget* parent) : QWidget(parent) {
    setFixedSize(kPumpSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_callingTimer, &QTimer::timeout, this, &QVPump::OnCallingTick);
    RebuildTooltip();
}

QVPump::~QVPump() {
    if (m_client) m_client->RemoveQVPump(this);
}

Halvora::QVClient* QVPump::Client() const {
    return m_client;
}

void QVPump::SetQVClient(Halvora::QVClient* client) {
    if (m_client && m_client != client) m_client->RemoveQVPump(this);
    m_client = client;
    Load();
}

void QVPump::SetID(int32_t id) {
    if (id == m_id) return;
    if (id == -1 && m_client) m_client->RemoveQVPump(this);
    m_id = id;
    Load();
}

void QVPump::SetIsCurrentPump(bool current) {
    if (current == m_isCurrent) return;
    m_isCurrent = current;
    update(ArtLayout::kPumpNumberRect); // the number badge marks the current pump
}

void QVPump::ForgetClient(Halvora::QVClient* client) {
    if (m_client == client) m_client = nullptr;
}

void QVPump::ResetCopy() {
    m_loaded = false;
    m_number = 0;
    m_name.clear();
    m_physicalNumber = m_side = m_address = 0;
    m_priceLevel1 = m_priceLevel2 = m_type = 0;
    m_portID = -1;
    m_authMode = m_stackMode = m_prepayAllowed = m_preauthAllowed = 0;
    m_priceFormat = m_volumeFormat = m_valueFormat = 0;
    m_deliveries.clear();
    // An unbound or rebinding control is blank without telling anyone: no status was received.
    const QSignalBlocker quiet(this);
    ShowConnectionLost();
}

void QVPump::ShowConnectionLost() {
    ApplyStatus(0, 0, -1, -1, 0, 0, -1, 0, QString(), QString(), 0, 0, 0, 0, 0, m_name,
                m_physicalNumber, m_side, m_address, m_priceLevel1, m_priceLevel2, m_type, m_portID,
                m_authMode, m_stackMode, m_prepayAllowed, m_preauthAllowed, m_priceFormat,
                m_valueFormat, m_volumeFormat, -1, -1, 0, QString(), -1, -1, 0, QString(), -1, 0,
                0);
}

void QVPump::Reload() {
    if (!m_client || m_id == -1) return;
    m_deliveries.clear();
    LoadProperties();
}

void QVPump::Load() {
    ResetCopy();
    if (!m_client || m_id == -1) return;
    m_client->AddQVPump(this);
    LoadProperties();
}

void QVPump::LoadProperties() {
    int32_t attendant = 0;
    const int32_t res = m_client->GetPumpProperties(
        m_id, m_number, m_name, m_physicalNumber, m_side, m_address, m_priceLevel1, m_priceLevel2,
        m_priceFormat, m_volumeFormat, m_valueFormat, m_type, m_portID, attendant, m_authMode,
        m_stackMode, m_prepayAllowed, m_preauthAllowed);
    m_loaded = res == 0;
    if (m_loaded) LoadStatus();
    RebuildTooltip();
    update();
}

void QVPump::LoadStatus() {
    int32_t number = 0, hoseID = -1, hoseNumber = 0, hosePhysical = 0, gradeID = -1;
    int32_t gradeNumber = 0, stackSize = 0, attendantID = -1, attendantNumber = 0;
    int32_t cardClientID = -1, cardClientNumber = 0, reservedBy = -1;
    int16_t physical = 0, state = 0, reservedFor = 0, priceLevel = 0;
    int64_t tag = -1, attendantTag = -1, cardClientTag = -1;
    double price = 0, volume = 0, value = 0, curFlow = 0, peakFlow = 0;
    QString name, gradeName, shortGradeName, attendantName, cardClientName;
    if (m_client->GetPumpStatusEx2(m_id, number, name, physical, state, reservedFor, reservedBy,
                                   hoseID, hoseNumber, hosePhysical, gradeID, gradeNumber,
                                   gradeName, shortGradeName, priceLevel, price, volume, value,
                                   stackSize, tag, attendantID, attendantNumber, attendantName,
                                   attendantTag, cardClientID, cardClientNumber, cardClientName,
                                   cardClientTag, curFlow, peakFlow) != 0)
        return;
    StatusEventSink(state, reservedFor, reservedBy, hoseID, hoseNumber, hosePhysical, gradeID,
                    gradeNumber, gradeName, shortGradeName, priceLevel, price, volume, value,
                    static_cast<int16_t>(stackSize), m_name, m_physicalNumber, m_side, m_address,
                    m_priceLevel1, m_priceLevel2, m_type, m_portID, m_authMode, m_stackMode,
                    m_prepayAllowed, m_preauthAllowed, m_priceFormat, m_valueFormat, m_volumeFormat,
                    tag, attendantID, attendantNumber, attendantName, attendantTag, cardClientID,
                    cardClientNumber, cardClientName, cardClientTag, curFlow, peakFlow);
}

// ---- Status ----

void QVPump::StatusEventSink(
    int16_t State, int16_t ReservedFor, int32_t ReservedBy, int32_t HoseID, int32_t HoseNumber,
    int32_t HosePhysicalNumber, int32_t GradeID, int32_t GradeNumber, const QString& GradeName,
    const QString& ShortGradeName, int16_t PriceLevel, double Price, double Volume, double Value,
    int16_t StackSize, const QString& PumpName, int16_t PhysicalNumber, int16_t Side,
    int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2, int16_t Type, int32_t PortID,
    int16_t AuthMode, int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
    int16_t PriceFormat, int16_t ValueFormat, int16_t VolumeFormat, int64_t Tag,
    int32_t AttendantID, int32_t AttendantNumber, const QString& AttendantName,
    int64_t AttendantTag, int32_t CardClientID, int32_t CardClientNumber,
    const QString& CardClientName, int64_t CardClientTag, double CurFlowRate, double PeakFlowRate) {
    if (!m_loaded && m_client && m_id != -1) LoadProperties();
    ApplyStatus(State, ReservedFor, ReservedBy, HoseID, HoseNumber, HosePhysicalNumber, GradeID,
                GradeNumber, GradeName, ShortGradeName, PriceLevel, Price, Volume, Value, StackSize,
                PumpName, PhysicalNumber, Side, Address, PriceLevel1, PriceLevel2, Type, PortID,
                AuthMode, StackMode, PrepayAllowed, PreauthAllowed, PriceFormat, ValueFormat,
                VolumeFormat, Tag, AttendantID, AttendantNumber, AttendantName, AttendantTag,
                CardClientID, CardClientNumber, CardClientName, CardClientTag, CurFlowRate,
                PeakFlowRate);
}

void QVPump::ApplyStatus(int16_t State, int16_t ReservedFor, int32_t ReservedBy, int32_t HoseID,
                         int32_t HoseNumber, int32_t HosePhysicalNumber, int32_t GradeID,
                         int32_t GradeNumber, const QString& GradeName,
                         const QString& ShortGradeName, int16_t PriceLevel, double Price,
                         double Volume, double Value, int16_t StackSize, const QString& PumpName,
                         int16_t PhysicalNumber, int16_t Side, int16_t Address, int16_t PriceLevel1,
                         int16_t PriceLevel2, int16_t Type, int32_t PortID, int16_t AuthMode,
                         int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
                         int16_t PriceFormat, int16_t ValueFormat, int16_t VolumeFormat,
                         int64_t Tag, int32_t AttendantID, int32_t AttendantNumber,
                         const QString& AttendantName, int64_t AttendantTag, int32_t CardClientID,
                         int32_t CardClientNumber, const QString& CardClientName,
                         int64_t CardClientTag, double CurFlowRate, double PeakFlowRate) {
    // Only the parts whose values change are drawn again.
    const bool hoseUp = HoseNumber > 0;
    if ((State == 0) != (m_state == 0)) {
        update();
    } else {
        if (Volume != m_volume || Value != m_value || Price != m_price ||
            PriceFormat != m_priceFormat || ValueFormat != m_valueFormat ||
            VolumeFormat != m_volumeFormat)
            update(kPumpSaleRect);
        if (hoseUp != HoseUp() || State != m_state) update(kPumpNozzleRect);
        if (StackSize != m_stackSize) update(kPumpStackRect);
        if (State != m_state || ReservedFor != m_reservedFor) update(StateArea());
    }

    CallingCheck(State);

    m_state = State;
    m_reservedFor = ReservedFor;
    m_reservedBy = ReservedBy;
    m_hoseID = HoseID;
    m_hoseNumber = HoseNumber;
    m_hosePhysicalNumber = HosePhysicalNumber;
    m_gradeID = GradeID;
    m_gradeNumber = GradeNumber;
    m_gradeName = GradeName;
    m_shortGradeName = ShortGradeName;
    m_priceLevel = PriceLevel;
    m_price = Price;
    m_volume = Volume;
    m_value = Value;
    m_stackSize = StackSize;
    m_name = PumpName;
    m_physicalNumber = PhysicalNumber;
    m_side = Side;
    m_address = Address;
    m_priceLevel1 = PriceLevel1;
    m_priceLevel2 = PriceLevel2;
    m_type = Type;
    m_portID = PortID;
    m_authMode = AuthMode;
    m_stackMode = StackMode;
    m_prepayAllowed = PrepayAllowed;
    m_preauthAllowed = PreauthAllowed;
    m_priceFormat = PriceFormat;
    m_valueFormat = ValueFormat;
    m_volumeFormat = VolumeFormat;
    m_tag = Tag;
    m_attendantID = AttendantID;
    m_attendantNumber = AttendantNumber;
    m_attendantName = AttendantName;
    m_attendantTag = AttendantTag;
    m_cardClientID = CardClientID;
    m_cardClientNumber = CardClientNumber;
    m_cardClientName = CardClientName;
    m_cardClientTag = CardClientTag;
    m_curFlowRate = CurFlowRate;
    m_peakFlowRate = PeakFlowRate;
    RebuildTooltip();

    // The newer lists only when the library filled their fields, as the client does.
    const auto number16 = static_cast<int16_t>(m_number);
    if (HosePhysicalNumber >= 0)
        emit StatusEventEx2(this, m_id, m_number, State, ReservedFor, ReservedBy, HoseID,
                            HoseNumber, HosePhysicalNumber, GradeID, GradeNumber, GradeName,
                            ShortGradeName, PriceLevel, Price, Volume, Value, StackSize, PumpName,
                            PhysicalNumber, Side, Address, PriceLevel1, PriceLevel2, Type, PortID,
                            AuthMode, StackMode, PrepayAllowed, PreauthAllowed, PriceFormat,
                            ValueFormat, VolumeFormat, Tag, AttendantID, AttendantNumber,
                            AttendantName, AttendantTag, CardClientID, CardClientNumber,
                            CardClientName, CardClientTag);
    if (PriceFormat >= 1)
        emit StatusEventEx(this, m_id, number16, State, ReservedFor, ReservedBy, HoseID,
                           static_cast<int16_t>(HoseNumber), GradeID, GradeName, ShortGradeName,
                           PriceLevel, Price, Volume, Value, StackSize, PumpName, PhysicalNumber,
                           Side, Address, PriceLevel1, PriceLevel2, Type, PortID, AuthMode,
                           StackMode, PrepayAllowed, PreauthAllowed, PriceFormat, ValueFormat,
                           VolumeFormat);
    emit StatusEvent(this, m_id, number16, State, ReservedFor, ReservedBy, HoseID,
                     static_cast<int16_t>(HoseNumber), GradeID, GradeName, ShortGradeName,
                     PriceLevel, Price, Volume, Value, StackSize);
}

void QVPump::CallingCheck(int16_t newState) {
    if (newState == kCalling && m_state != kCalling) {
        if (m_beepEnabled) Beep();
        m_blink = true;
        m_callingTimer.start(s_callingInterval);
    } else if (newState != kCalling && m_callingTimer.isActive()) {
        m_callingTimer.stop();
        m_blink = false;
    }
}

void QVPump::OnCallingTick() {
    if (m_state != kCalling) {
        m_callingTimer.stop();
        m_blink = false;
        update(StateArea());
        return;
    }
    if (m_beepEnabled) Beep();
    m_blink = !m_blink;
    update(StateArea());
}

void QVPump::Beep() {
    QApplication::beep();
}

void QVPump::RebuildTooltip() {
    const QLocale ui = locale();
    const auto line = [&](int id, const QString& value) {
        return QStringLiteral("\n") + LoadString(id, ui) + QStringLiteral("\t ") + value;
    };
    QString text = m_name.isEmpty() ? QString::number(m_number) : m_name;
    if (!m_gradeName.isEmpty()) text += line(8, m_gradeName);
    if (HoseUp()) text += line(11, QString::number(m_hoseNumber));
    if (m_attendantID != -1)
        text += line(9, Holder(m_attendantNumber, m_attendantName, m_attendantTag));
    if (m_cardClientID != -1)
        text += line(10, Holder(m_cardClientNumber, m_cardClientName, m_cardClientTag));
    if (m_tag != -1)
        text += QStringLiteral("\n") + LoadString(12, ui) + QStringLiteral("\t[") + Hex(m_tag) +
                QStringLiteral("]");
    if (m_curFlowRate > 0) text += line(13, ui.toString(m_curFlowRate, 'f', 2));
    m_tooltip = text;
    setToolTip(text);
}

// ---- Deliveries ----

void QVPump::DeliveryEventSink(
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
    const bool kept = DeliveryState == 1 || DeliveryState == 2;
    if (DeliveryID == -1) {
        m_deliveries.clear();
    } else {
        auto listed = std::find_if(m_deliveries.begin(), m_deliveries.end(),
                                   [&](const QVDelivery& d) { return d.ID == DeliveryID; });
        if (listed != m_deliveries.end()) {
            if (kept) {
                listed->State = DeliveryState;
                listed->Type = DeliveryType;
                listed->LockedBy = LockedBy;
                listed->ReservedBy = ReservedBy;
                listed->Age = Age;
                listed->AgeSet = QDateTime::currentDateTime();
            } else {
                m_deliveries.erase(listed);
            }
        } else if (kept) {
            QVDelivery d;
            d.ID = DeliveryID;
            d.HoseID = HoseID;
            d.HoseNumber = HoseNumber;
            d.GradeID = GradeID;
            d.GradeName = GradeName;
            d.ShortGradeName = GradeShortName;
            d.PriceLevel = PriceLevel;
            d.Price = Price;
            d.Volume = Volume;
            d.Value = Value;
            d.State = DeliveryState;
            d.Type = DeliveryType;
            d.LockedBy = LockedBy;
            d.ReservedBy = ReservedBy;
            d.Age = Age;
            d.AgeSet = QDateTime::currentDateTime();
            d.CompletedDT = CompletedDT;
            d.AttendantID = AttendantID;
            d.VolumeETot = NewVolumeETot;
            d.Volume2ETot = NewVolume2ETot;
            d.ValueETot = NewValueETot;
            m_deliveries.append(d);
            if (DeliveryState == 1 && m_beepEnabled) Beep();
        }
    }
    if (DeliveryState == 2)
        update(kPumpStackRect);
    else
        update();

    // The delivery's tag, else the attendant's, else the card client's.
    const int64_t tag = Tag >= 0 ? Tag : AttendantTag >= 0 ? AttendantTag : CardClientTag;
    const auto pumpNumber = static_cast<int16_t>(PumpNumber);
    const auto hoseNumber = static_cast<int16_t>(HoseNumber);
    if (OldVolumeETot >= 0)
        emit DeliveryEventEx3(
            this, DeliveryID, HoseID, HoseNumber, HosePhysicalNumber, PumpID, PumpNumber, PumpName,
            TankID, TankNumber, TankName, GradeID, GradeNumber, GradeName, GradeShortName,
            GradeCode, DeliveryState, DeliveryType, Volume, PriceLevel, Price, Value, Volume2,
            CompletedDT, LockedBy, ReservedBy, AttendantID, Age, ClearedDT, OldVolumeETot,
            OldVolume2ETot, OldValueETot, NewVolumeETot, NewVolume2ETot, NewValueETot, Tag,
            Duration, AttendantNumber, AttendantName, AttendantTag, CardClientID, CardClientNumber,
            CardClientName, CardClientTag);
    if (NewVolumeETot >= 0)
        emit DeliveryEventEx(this, DeliveryID, PumpID, pumpNumber, HoseID, hoseNumber, GradeID,
                             GradeName, GradeShortName, PriceLevel, Price, Volume, Value,
                             DeliveryState, DeliveryType, LockedBy, ReservedBy, Age, CompletedDT,
                             AttendantID, NewVolumeETot, NewVolume2ETot, NewValueETot, tag);
    emit DeliveryEvent(this, DeliveryID, PumpID, pumpNumber, HoseID, hoseNumber, GradeID, GradeName,
                       GradeShortName, PriceLevel, Price, Volume, Value, DeliveryState,
                       DeliveryType, LockedBy, ReservedBy, Age, CompletedDT, AttendantID);
}

int QVPump::StackedCount() const {
    int current = 0;
    for (const QVDelivery& d : m_deliveries)
        if (d.State == 1) ++current;
    return m_stackSize - current;
}

void QVPump::RaiseDeliverySelected(const QVDelivery& d) {
    emit DeliverySelectedEvent(this, d.ID, m_id, static_cast<int16_t>(m_number), d.HoseID,
                               static_cast<int16_t>(d.HoseNumber), d.GradeID, d.GradeName,
                               d.ShortGradeName, d.PriceLevel, d.Price, d.Volume, d.Value, d.State,
                               d.Type, d.LockedBy, d.ReservedBy, d.Age, d.CompletedDT,
                               d.AttendantID);
}

// ---- Painting ----

void QVPump::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, ArtImage(PumpPicture(m_state)));

    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(m_isCurrent ? QColor(Qt::red) : QColor(kCaptionColor));
    p.drawText(kPumpNumberRect, Qt::AlignCenter, QString::number(m_number));

    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(QColor(kDisplayTextColor));
    const QLocale loc = locale();
    const QString lines[3] = {SaleText(m_volume, m_volumeFormat, loc, false),
                              SaleText(m_value, m_valueFormat, loc, true),
                              SaleText(m_price, m_priceFormat, loc, false)};
    for (int i = 0; i < 3; ++i) {
        const QRect line(kPumpSaleRect.left() + 4, kPumpSaleRect.top() + i * kPumpSaleLineHeight,
                         kPumpSaleRect.width() - 8, kPumpSaleLineHeight);
        p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, lines[i]);
    }

    p.drawImage(kPumpNozzleRect.topLeft(), ArtImage(NozzlePicture(m_state, HoseUp())));
    p.drawImage(kPumpStackRect.topLeft(), ArtImage(StackPicture(StackedCount())));
    const StatePictureChoice state = PumpStatePicture(m_state, m_reservedFor, m_blink);
    if (!state.name.isEmpty())
        p.drawImage((state.reservation ? kPumpReserveRect : kPumpStateRect).topLeft(),
                    ArtImage(state.name));
}

// ---- Operations ----

int32_t QVPump::PreauthReserve(int32_t ReservedBy) {
    return m_client ? m_client->PreauthReserve(m_id, ReservedBy) : kNoClient;
}
int32_t QVPump::PreauthCancel(int32_t ReservedBy) {
    return m_client ? m_client->PreauthCancel(m_id, ReservedBy) : kNoClient;
}
int32_t QVPump::PreauthAuthorise(int32_t ReservedBy, int16_t LimitType, double Limit,
                                 int16_t PriceLevel) {
    return m_client ? m_client->PreauthAuthorise(m_id, ReservedBy, LimitType, Limit, PriceLevel)
                    : kNoClient;
}
int32_t QVPump::LoadPreset(int16_t PresetType, double PresetValue, int16_t Hoses,
                           int16_t PriceLevel) {
    if (!m_client) return kNoClient;
    return m_client->LoadPreset(m_id, PresetType, PresetValue, Hoses, PriceLevel);
}
int32_t QVPump::PaymentReserve(int32_t ReservedBy) {
    return m_client ? m_client->PaymentReserve(m_id, ReservedBy) : kNoClient;
}
int32_t QVPump::PaymentCancel(int32_t ReservedBy) {
    return m_client ? m_client->PaymentCancel(m_id, ReservedBy) : kNoClient;
}
int32_t QVPump::PaymentAuthorise(int32_t ReservedBy, int16_t PresetType, double PresetValue,
                                 int16_t PriceType, int16_t AuthType) {
    return m_client ? m_client->PaymentAuthorise(m_id, ReservedBy, PresetType, PresetValue,
                                                 PriceType, AuthType)
                    : kNoClient;
}
int32_t QVPump::Authorise() {
    return m_client ? m_client->Authorise(m_id) : kNoClient;
}
int32_t QVPump::CancelAuthorise() {
    return m_client ? m_client->CancelAuthorise(m_id) : kNoClient;
}
int32_t QVPump::TempStop() {
    return m_client ? m_client->TempStop(m_id) : kNoClient;
}
int32_t QVPump::ReAuthorise() {
    return m_client ? m_client->ReAuthorise(m_id) : kNoClient;
}
int32_t QVPump::TerminateDelivery() {
    return m_client ? m_client->TerminateDelivery(m_id) : kNoClient;
}
int32_t QVPump::StackCurrentDelivery() {
    return m_client ? m_client->StackCurrentDelivery(m_id) : kNoClient;
}
int32_t QVPump::PrepayReserve(int32_t ReservedBy) {
    return m_client ? m_client->PrepayReserve(m_id, ReservedBy) : kNoClient;
}
int32_t QVPump::PrepayCancel(int32_t ReservedBy) {
    return m_client ? m_client->PrepayCancel(m_id, ReservedBy) : kNoClient;
}
int32_t QVPump::PrepayAuthorise(int32_t ReservedBy, int16_t LimitType, double Limit,
                                int16_t PriceLevel) {
    return m_client ? m_client->PrepayAuthorise(m_id, ReservedBy, LimitType, Limit, PriceLevel)
                    : kNoClient;
}
int32_t QVPump::AttendantAuthorise(int32_t AttendantID) {
    return m_client ? m_client->AttendantAuthorise(m_id, AttendantID) : kNoClient;
}
int32_t QVPump::EnablePump() {
    return m_client ? m_client->EnablePump(m_id) : kNoClient;
}
int32_t QVPump::DisablePump() {
    return m_client ? m_client->DisablePump(m_id) : kNoClient;
}
int32_t QVPump::AttendantLogon(int32_t AttendantID) {
    return m_client ? m_client->AttendantLogon(AttendantID, m_id) : kNoClient;
}
int32_t QVPump::GetHosesCount(int32_t& pCount) {
    return m_client ? m_client->GetPumpHosesCount(m_id, pCount) : kNoClient;
}
int32_t QVPump::GetHoseByNumber(int32_t HoseNumber, int32_t& pHoseID) {
    return m_client ? m_client->GetPumpHoseByNumber(m_id, HoseNumber, pHoseID) : kNoClient;
}
int32_t QVPump::GetDensity(int32_t HoseID, double& pDensity) {
    return m_client ? m_client->GetDensity(m_id, HoseID, pDensity) : kNoClient;
}
int32_t QVPump::GetHoseGrade(int32_t HoseNumber, int32_t& pGradeID, QString& pGradeName) {
    pGradeID = -1;
    pGradeName = QString(QLatin1String(""));
    if (!m_client) return kNoClient;
    int32_t hoseID = -1;
    if (const int32_t res = m_client->GetPumpHoseByNumber(m_id, HoseNumber, hoseID); res != 0)
        return res;
    int32_t number = 0, physical = 0, pumpID = 0, pumpNumber = 0, tankID = 0, tankNumber = 0;
    int32_t gradeID = -1;
    QString gradeName;
    const int32_t res = m_client->GetHoseSummary(hoseID, number, physical, pumpID, pumpNumber,
                                                 tankID, tankNumber, gradeID, gradeName);
    if (res == 0) {
        pGradeID = gradeID;
        pGradeName = gradeName;
    }
    return res;
}
int32_t QVPump::GetDeliveryProperties(int32_t Index, int32_t& pDeliveryID, int32_t& pHoseID,
                                      int16_t& pState, int16_t& pType, double& pVolume,
                                      int16_t& pPriceLevel, double& pPrice, double& pValue,
                                      double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy,
                                      int32_t& pReservedBy, int32_t& pAttendantID) {
    return m_client ? m_client->GetPumpDeliveryProperties(m_id, Index, pDeliveryID, pHoseID, pState,
                                                          pType, pVolume, pPriceLevel, pPrice,
                                                          pValue, pVolume2, pCompletedDT, pLockedBy,
                                                          pReservedBy, pAttendantID)
                    : kNoClient;
}
int32_t QVPump::GetDeliveryPropertiesEx(int32_t Index, int32_t& pDeliveryID, int32_t& pHoseID,
                                        int16_t& pState, int16_t& pType, double& pVolume,
                                        int16_t& pPriceLevel, double& pPrice, double& pValue,
                                        double& pVolume2, QDateTime& pCompletedDT,
                                        int32_t& pLockedBy, int32_t& pReservedBy,
                                        int32_t& pAttendantID, QDateTime& pClearedDT,
                                        int32_t& pDuration) {
    return m_client ? m_client->GetPumpDeliveryPropertiesEx(
                          m_id, Index, pDeliveryID, pHoseID, pState, pType, pVolume, pPriceLevel,
                          pPrice, pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy,
                          pAttendantID, pClearedDT, pDuration)
                    : kNoClient;
}

// ---- Clicks ----

void QVPump::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

void QVPump::Done(const QString& operation, int32_t result) {
    emit OperationDone(operation, result);
}

int32_t QVPump::StopOrCancel() {
    const int32_t res = CancelAuthorise();
    Done(QStringLiteral("CancelAuthorise"), res);
    if (res != kCancelNeedsStop) return res;
    const int32_t stop = TempStop();
    Done(QStringLiteral("TempStop"), stop);
    return stop;
}

void QVPump::Click() {
    if (m_popupMode == POPUP_NEVER) return;
    if (m_client && m_client->CurrentPump() != m_id) m_client->SetCurrentPump(m_id);
    if (m_popupMode != POPUP_SOMETIMES) {
        OpenPopup();
        return;
    }
    if (m_deliveries.isEmpty()) {
        switch (m_state) {
        case 6:
        case 3:
            Done(QStringLiteral("Authorise"), Authorise());
            return;
        case 9:
            Done(QStringLiteral("ReAuthorise"), ReAuthorise());
            return;
        case 7:
        case 8:
        case 10:
        case 12:
            Done(QStringLiteral("TempStop"), TempStop());
            return;
        case 5:
            StopOrCancel();
            return;
        default:
            OpenPopup();
            return;
        }
    }
    const bool oneListed = m_deliveries.size() == 1;
    const bool settled =
        m_state == 2 || m_state == 3 || m_state == 5 || m_state == 15 || m_state == 17;
    if (oneListed && settled) {
        const QVDelivery current = m_deliveries.front();
        if (current.State == 1) {
            RaiseDeliverySelected(current);
            return;
        }
    }
    OpenPopup();
}

QVPopup* QVPump::Popup() const {
    return m_popup;
}

QVPresetPopup* QVPump::PresetPopup() const {
    return m_presetPopup;
}

void QVPump::OpenPopup() {
    if (!m_popup) {
        m_popup = new QVPopup(this);
        connect(m_popup, &QDialog::finished, this, [this](int result) {
            const QVDelivery chosen = m_popup->ChosenDelivery();
            ActOnPopupResult(result, chosen.ID == -1 ? nullptr : &chosen);
        });
    }
    m_popup->Refresh();
    m_popup->open();
}

void QVPump::OpenPresetPopup() {
    if (!m_presetPopup) {
        m_presetPopup = new QVPresetPopup(this);
        connect(m_presetPopup, &QDialog::finished, this, &QVPump::ActOnPresetResult);
    }
    m_presetPopup->Refresh();
    m_presetPopup->open();
}

void QVPump::ActOnPopupResult(int result, const QVDelivery* chosen) {
    switch (result) {
    case DialogResult::OK:
        if (!chosen) return;
        for (const QVDelivery& d : m_deliveries)
            if (d.ID == chosen->ID) {
                RaiseDeliverySelected(d);
                return;
            }
        return;
    case DialogResult::Retry:
        Done(QStringLiteral("StackCurrentDelivery"), StackCurrentDelivery());
        return;
    case DialogResult::Yes:
        if (m_state == 6 || m_state == 3 || m_state == 5) {
            if (m_popupMode == POPUP_PRESET)
                OpenPresetPopup();
            else if (m_state != 5)
                Done(QStringLiteral("Authorise"), Authorise());
        } else if (m_state == 9) {
            Done(QStringLiteral("ReAuthorise"), ReAuthorise());
        }
        return;
    case DialogResult::No:
        if (m_state == 9)
            Done(QStringLiteral("TerminateDelivery"), TerminateDelivery());
        else
            StopOrCancel();
        return;
    default:
        return;
    }
}

void QVPump::ActOnPresetResult(int result) {
    if (result == DialogResult::Yes) {
        Done(QStringLiteral("Authorise"), Authorise());
        return;
    }
    if (result != DialogResult::No || !m_presetPopup) return;
    const QVPresetPopup::Preset preset = m_presetPopup->ChosenPreset();
    Done(QStringLiteral("LoadPreset"),
         LoadPreset(preset.type, preset.limit, preset.hoses, preset.priceLevel));
}

} // namespace Halvora
