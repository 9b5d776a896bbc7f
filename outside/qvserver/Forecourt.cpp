// Order of the events of one completed sale: the pump's previous current delivery as stacked
// (Delivery, then DeliveryStacked), the new current delivery, the hose's totals, then the
// pump's status with its new stack size and state.
#include "outside/qvserver/Forecourt.h"

#include <algorithm>
#include <cmath>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"

namespace qvserver {

namespace {

bool SameExceptAmounts(const PumpStatusRecord& a, const PumpStatusRecord& b) {
    return a.state == b.state && a.reservedFor == b.reservedFor && a.reservedBy == b.reservedBy &&
           a.hoseID == b.hoseID && a.priceLevel == b.priceLevel && a.price == b.price &&
           a.stackSize == b.stackSize && a.tag == b.tag && a.attendantID == b.attendantID &&
           a.cardClientID == b.cardClientID;
}

bool SameAmounts(const PumpStatusRecord& a, const PumpStatusRecord& b) {
    return a.volume == b.volume && a.value == b.value && a.curFlowRate == b.curFlowRate &&
           a.peakFlowRate == b.peakFlowRate;
}

// A prepay that delivered less than was paid for owes the customer a refund.
int16_t TypeOfSale(const FinishedSale& s) {
    const Authorisation& a = s.auth;
    if (a.deliveryType != DELIVERY_TYPE_PREPAY || a.limit <= 0) return a.deliveryType;
    const bool short_ =
        a.limitType == LIMIT_VALUE ? s.value + 0.005 < a.limit : s.volume + 0.0005 < a.limit;
    return short_ ? DELIVERY_TYPE_REFUND : DELIVERY_TYPE_PREPAY;
}

const std::u16string kNozzleLeftOut = u"Nozzle left out";

} // namespace

Forecourt::Forecourt(Site site, ForecourtSink& sink, ForecourtTables& tables, double startOle,
                     ForecourtSettings settings)
    : m_site(std::move(site)), m_sink(sink), m_tables(tables), m_settings(settings),
      m_clock(startOle), m_book(m_settings) {
    // Stored deliveries carry IDs only; their events also name the pump and hose numbers.
    for (DeliveryRecord& d : m_site.onPumps)
        for (const PumpInfo& p : m_site.pumps)
            for (const HoseInfo& h : p.hoses)
                if (h.id == d.hoseID && p.id == d.pumpID) {
                    d.pumpNumber = p.number;
                    d.hoseNumber = h.number;
                    d.hosePhysicalNumber = h.physicalNumber;
                }
    m_book.Load(m_site.onPumps);
    m_book.NewlyTimedOut(startOle); // deliveries timed out before the start are known as such
    for (const DeliveryRecord& d : m_site.onPumps)
        m_localDeliveryID = std::max(m_localDeliveryID, d.id);
    m_pumps.reserve(m_site.pumps.size());
    for (const PumpInfo& p : m_site.pumps) {
        m_pumpAt[p.id] = m_pumps.size();
        m_pumps.emplace_back(p, m_site, m_settings);
    }
    m_tanks.reserve(m_site.tanks.size());
    for (const TankInfo& t : m_site.tanks) {
        m_tankAt[t.id] = m_tanks.size();
        m_tanks.emplace_back(t, m_settings);
    }
    for (size_t p = 0; p < m_pumps.size(); ++p) {
        RefreshStack(p);
        m_reported.push_back(m_pumps[p].Status());
        m_reportedMs.push_back(0);
    }
}

void Forecourt::Reload(const Site& fresh) {
    // Removed pumps end their running sales while they still can.
    for (size_t p = 0; p < m_pumps.size(); ++p) {
        const int32_t id = m_pumps[p].Info().id;
        bool kept = false;
        for (const PumpInfo& info : fresh.pumps)
            kept |= info.id == id;
        if (!kept && m_pumps[p].Delivering()) {
            m_pumps[p].Terminate(NowMs());
            CompleteSales(p);
        }
    }
    m_site.grades = fresh.grades;
    m_site.tanks = fresh.tanks;
    m_site.pumps = fresh.pumps;

    std::vector<TankGauge> tanks;
    std::unordered_map<int32_t, size_t> tankAt;
    tanks.reserve(fresh.tanks.size());
    for (const TankInfo& t : fresh.tanks) {
        tankAt[t.id] = tanks.size();
        if (const TankGauge* old = Tank(t.id)) {
            tanks.push_back(*old);
            tanks.back().Reconfigure(t);
        } else {
            tanks.emplace_back(t, m_settings);
        }
    }
    m_tanks.swap(tanks);
    m_tankAt.swap(tankAt);

    std::vector<ForecourtPump> pumps;
    std::vector<PumpStatusRecord> reported;
    std::vector<int64_t> reportedMs;
    std::unordered_map<int32_t, size_t> pumpAt;
    pumps.reserve(fresh.pumps.size());
    for (const PumpInfo& info : fresh.pumps) {
        pumpAt[info.id] = pumps.size();
        auto it = m_pumpAt.find(info.id);
        if (it != m_pumpAt.end()) {
            pumps.push_back(m_pumps[it->second]);
            pumps.back().Reconfigure(info);
            reported.push_back(m_reported[it->second]);
            reportedMs.push_back(m_reportedMs[it->second]);
        } else {
            pumps.emplace_back(info, m_site, m_settings);
            reported.emplace_back(); // nothing told yet: its first status goes out
            reportedMs.push_back(NowMs());
        }
    }
    m_pumps.swap(pumps);
    m_reported.swap(reported);
    m_reportedMs.swap(reportedMs);
    m_pumpAt.swap(pumpAt);
    for (const auto& kv : m_attendantAt)
        if (ForecourtPump* p = Pump(kv.second)) p->SetAttendant(kv.first);
    for (size_t p = 0; p < m_pumps.size(); ++p) {
        RefreshStack(p);
        Settle(p);
    }
}

// ---- Lookups ----

ForecourtPump* Forecourt::Pump(int32_t id) {
    auto it = m_pumpAt.find(id);
    return it == m_pumpAt.end() ? nullptr : &m_pumps[it->second];
}
const ForecourtPump* Forecourt::Pump(int32_t id) const {
    auto it = m_pumpAt.find(id);
    return it == m_pumpAt.end() ? nullptr : &m_pumps[it->second];
}
TankGauge* Forecourt::Tank(int32_t id) {
    auto it = m_tankAt.find(id);
    return it == m_tankAt.end() ? nullptr : &m_tanks[it->second];
}
const TankGauge* Forecourt::Tank(int32_t id) const {
    auto it = m_tankAt.find(id);
    return it == m_tankAt.end() ? nullptr : &m_tanks[it->second];
}

template <typename F> int32_t Forecourt::OnPump(int32_t pumpID, F call) {
    auto it = m_pumpAt.find(pumpID);
    if (it == m_pumpAt.end()) return QV_UNKNOWN_ID;
    const size_t p = it->second;
    Flush(p);
    const int32_t r = call(m_pumps[p]);
    CompleteSales(p);
    Settle(p);
    return r;
}

// ---- Reporting ----

void Forecourt::Settle(size_t p) {
    const PumpStatusRecord now = m_pumps[p].Status();
    PumpStatusRecord& last = m_reported[p];
    const bool structural = !SameExceptAmounts(now, last);
    if (!structural) {
        if (SameAmounts(now, last)) return;
        if (NowMs() - m_reportedMs[p] < m_settings.amountIntervalMs) return;
    }
    last = now;
    m_reportedMs[p] = NowMs();
    m_sink.PumpStatus(now);
}

void Forecourt::Flush(size_t p) {
    const PumpStatusRecord now = m_pumps[p].Status();
    PumpStatusRecord& last = m_reported[p];
    if (!SameExceptAmounts(now, last) || SameAmounts(now, last)) return;
    last = now;
    m_reportedMs[p] = NowMs();
    m_sink.PumpStatus(now);
}

void Forecourt::RefreshStack(size_t p) {
    ForecourtPump& pump = m_pumps[p];
    const int32_t id = pump.Info().id;
    const int32_t n = m_book.StackSize(id);
    pump.SetStackSize(n);
    int32_t block = 0;
    if (n >= m_settings.maxStack)
        block = RESULT_STACK_FULL;
    else if (pump.Info().stackMode == STACK_MODE_MANUAL && m_book.HasCurrent(id))
        block = RESULT_CURRENT_NOT_STACKED;
    pump.SetStackBlock(block);
}

void Forecourt::ReportDelivery(const DeliveryRecord& d) {
    DeliveryRecord r = d;
    r.age = d.state == DELIVERY_STATE_CLEARED ? d.age : m_book.AgeOf(d, NowOle());
    m_sink.Delivery(r);
}

void Forecourt::StoreUpdate(const DeliveryRecord& d) {
    if (!m_tables.UpdateDelivery(d))
        Log(DEVICE_PUMP, d.pumpID, kLevelAlarm, kLogNotStored,
            u"Delivery " + qvwire::ToU16(std::to_string(d.id)) + u" not updated in the database");
}

void Forecourt::Log(int16_t deviceType, int32_t deviceID, int16_t level, int16_t type,
                    const std::u16string& text, double volume, double value) {
    LogEventRecord e;
    e.deviceType = deviceType;
    e.deviceID = deviceID;
    e.eventLevel = level;
    e.eventType = type;
    e.eventDesc = text;
    e.generatedDT = NowOle();
    e.volume = volume;
    e.value = value;
    if (deviceType == DEVICE_PUMP) {
        if (const ForecourtPump* p = Pump(deviceID)) {
            e.deviceNumber = p->Info().number;
            e.deviceName = p->Info().name;
        }
    } else if (deviceType == DEVICE_TANK) {
        if (const TankGauge* t = Tank(deviceID)) {
            const TankStatusRecord s = t->Status();
            e.deviceNumber = t->Info().number;
            e.deviceName = t->Info().name;
            e.productVolume = s.gaugeVolume;
            e.productLevel = s.gaugeLevel;
            e.waterLevel = s.gaugeWaterLevel;
            e.temperature = s.gaugeTemperature;
        }
    }
    e.id = m_tables.AddLogEvent(e);
    m_sink.LogEvent(e);
}

// ---- Completed sales ----

void Forecourt::CompleteSales(size_t p) {
    FinishedSale sale;
    while (m_pumps[p].TakeFinished(sale))
        Complete(p, sale);
}

void Forecourt::Complete(size_t p, const FinishedSale& sale) {
    PumpInfo& info = m_pumps[p].MutableInfo();
    HoseInfo& hose = info.hoses[sale.hose];
    if (sale.ranDry)
        Log(DEVICE_TANK, hose.tankID, kLevelAlarm, kLogTankEmpty, u"Tank empty", sale.volume,
            sale.value);
    if (sale.Zero()) {
        m_sink.ZeroDelivery({info.id, info.number, hose.id, hose.number});
        return;
    }
    DeliveryRecord d;
    d.pumpID = info.id;
    d.pumpNumber = info.number;
    d.hoseID = hose.id;
    d.hoseNumber = hose.number;
    d.hosePhysicalNumber = hose.physicalNumber;
    d.tankID = hose.tankID;
    const GradeInfo* g = m_site.GradeOfHose(hose);
    d.gradeID = g ? g->id : -1;
    d.state = DELIVERY_STATE_CURRENT;
    d.type = TypeOfSale(sale);
    d.priceLevel = sale.priceLevel;
    d.price = sale.price;
    d.volume = sale.volume;
    d.value = sale.value;
    d.completedDT = NowOle();
    d.reservedBy = sale.auth.reserve == RESERVE_NONE ? -1 : sale.auth.by;
    d.attendantID = sale.auth.attendantID;
    d.cardClientID = sale.auth.cardClientID;
    d.tag = sale.auth.tag;
    d.oldVolumeETot = hose.elecVolume;
    d.oldValueETot = hose.elecValue;
    hose.elecVolume += sale.volume;
    hose.elecValue += sale.value;
    d.newVolumeETot = hose.elecVolume;
    d.newValueETot = hose.elecValue;
    d.duration = static_cast<int32_t>(std::lround((sale.endMs - sale.startMs) / 1000.0));
    d.peakFlowRate = sale.peakFlowRate;
    d.limit = sale.auth.limit;
    d.limitType = sale.auth.limitType;

    d.id = m_tables.AddDelivery(d);
    if (d.id == 0) {
        d.id = m_localDeliveryID + 1;
        Log(DEVICE_PUMP, info.id, kLevelAlarm, kLogNotStored,
            u"Delivery " + qvwire::ToU16(std::to_string(d.id)) + u" not stored in the database",
            d.volume, d.value);
    }
    m_localDeliveryID = std::max(m_localDeliveryID, d.id);
    if (!m_tables.SaveHoseTotals(hose.id, hose.elecVolume, hose.elecValue))
        Log(DEVICE_PUMP, info.id, kLevelAlarm, kLogNotStored,
            u"Hose totals not stored in the database");

    const int32_t stacked = m_book.AddCurrent(d);
    if (stacked != 0) {
        const DeliveryRecord& s = *m_book.Find(stacked);
        StoreUpdate(s);
        ReportDelivery(s);
        m_sink.DeliveryStacked(stacked);
    }
    ReportDelivery(*m_book.Find(d.id));
    m_sink.HoseTotals({hose.id, hose.number, info.id, hose.tankID, d.gradeID, d.volume, d.value,
                       hose.elecVolume, hose.elecValue});
    RefreshStack(p);
}

// ---- Time ----

void Forecourt::Advance(int64_t ms) {
    while (ms > 0) {
        const int64_t step = std::min(ms, m_settings.tickMs);
        Tick(step);
        ms -= step;
    }
}

void Forecourt::Tick(int64_t dtMs) {
    m_clock.Advance(dtMs);
    const int64_t now = NowMs();
    for (size_t p = 0; p < m_pumps.size(); ++p) {
        ForecourtPump& pump = m_pumps[p];
        if (pump.Delivering()) {
            TankGauge* tank = Tank(pump.CurrentHose()->tankID);
            const double drawn = pump.Step(dtMs, now, tank ? tank->Available() : -1);
            if (tank) tank->Draw(drawn);
        }
        const int32_t id = pump.Info().id;
        switch (pump.CheckTimeouts(now)) {
        case PumpTimeout::None:
            break;
        case PumpTimeout::Reserve:
            Log(DEVICE_PUMP, id, kLevelWarning, kLogReserveTimeout, u"Reservation timed out");
            break;
        case PumpTimeout::Authorise:
            Log(DEVICE_PUMP, id, kLevelWarning, kLogAuthoriseTimeout, u"Authorisation timed out");
            break;
        case PumpTimeout::Prepay:
            Log(DEVICE_PUMP, id, kLevelWarning, kLogPrepayTimeout, u"Prepay timed out");
            break;
        case PumpTimeout::NozzleLeftOut:
            Log(DEVICE_PUMP, id, kLevelWarning, kLogNozzleLeftOut, kNozzleLeftOut);
            break;
        }
        CompleteSales(p);
        Settle(p);
    }
    for (TankGauge& t : m_tanks)
        t.Step(dtMs);
    ReportTanks();
    for (int32_t id : m_book.NewlyTimedOut(NowOle())) {
        const DeliveryRecord& d = *m_book.Find(id);
        ReportDelivery(d);
        Log(DEVICE_PUMP, d.pumpID, kLevelWarning, kLogDeliveryTimeout,
            u"Delivery " + qvwire::ToU16(std::to_string(id)) + u" not cleared in time", d.volume,
            d.value);
    }
}

void Forecourt::ReportTanks() {
    for (TankGauge& t : m_tanks) {
        if (!t.ReportDue(NowMs())) continue;
        const TankStatusRecord s = t.Status();
        t.Reported(NowMs());
        m_tables.SaveTankGauge(s);
        m_sink.TankStatus(s);
        const int32_t raised = t.TakeNewAlarms();
        if (raised & TANK_ALARM_CRITICAL_LOW)
            Log(DEVICE_TANK, s.tankID, kLevelAlarm, kLogTankAlarm, u"Tank level critical");
        else if (raised & TANK_ALARM_LOW)
            Log(DEVICE_TANK, s.tankID, kLevelWarning, kLogTankAlarm, u"Tank level low");
        if (raised & TANK_ALARM_HIGH)
            Log(DEVICE_TANK, s.tankID, kLevelWarning, kLogTankAlarm, u"Tank level high");
        if (raised & TANK_ALARM_HIGH_WATER)
            Log(DEVICE_TANK, s.tankID, kLevelAlarm, kLogTankAlarm, u"Tank water high");
    }
}

// ---- Pump control ----

int32_t Forecourt::AuthoriseWith(int32_t pumpID, const Authorisation& a) {
    return OnPump(pumpID, [&](ForecourtPump& p) { return p.Authorise(a, NowMs()); });
}

int32_t Forecourt::Authorise(int32_t pumpID, int32_t clientID) {
    Authorisation a;
    a.by = clientID;
    return AuthoriseWith(pumpID, a);
}

int32_t Forecourt::CancelAuthorise(int32_t pumpID) {
    return OnPump(pumpID, [](ForecourtPump& p) { return p.CancelAuthorise(); });
}

int32_t Forecourt::LoadPreset(int32_t pumpID, int32_t clientID, int16_t limitType, double limit,
                              int32_t hoseMask, int16_t priceLevel) {
    return LoadPresetWithPrice(pumpID, clientID, limitType, limit, hoseMask, priceLevel, 0);
}

int32_t Forecourt::LoadPresetWithPrice(int32_t pumpID, int32_t clientID, int16_t limitType,
                                       double limit, int32_t hoseMask, int16_t priceLevel,
                                       double price) {
    if (hoseMask <= 0) return QV_INVALID_ARGUMENT;
    Authorisation a;
    a.by = clientID;
    a.limitType = limitType;
    a.limit = limit;
    a.hoseMask = hoseMask;
    a.priceLevel = priceLevel;
    a.price = price;
    return AuthoriseWith(pumpID, a);
}

int32_t Forecourt::TagAuthorise(int32_t pumpID, int32_t clientID, int64_t tag, int16_t limitType,
                                double limit, int16_t priceLevel) {
    Authorisation a;
    a.by = clientID;
    a.tag = tag;
    a.limitType = limitType;
    a.limit = limit;
    a.priceLevel = priceLevel;
    return AuthoriseWith(pumpID, a);
}

int32_t Forecourt::AttendantAuthorise(int32_t pumpID, int32_t clientID, int32_t attendantID) {
    Authorisation a;
    a.by = clientID;
    a.attendantID = attendantID;
    a.deliveryType = DELIVERY_TYPE_ATTENDANT;
    return AuthoriseWith(pumpID, a);
}

int32_t Forecourt::Reserve(int32_t pumpID, int16_t kind, int32_t client) {
    return OnPump(pumpID, [&](ForecourtPump& p) { return p.Reserve(kind, client, NowMs()); });
}

int32_t Forecourt::CancelReserve(int32_t pumpID, int16_t kind, int32_t client) {
    return OnPump(pumpID, [&](ForecourtPump& p) { return p.CancelReserve(kind, client); });
}

int32_t Forecourt::PrepayReserve(int32_t pumpID, int32_t reservedBy) {
    return Reserve(pumpID, RESERVE_PREPAY_LOCKED, reservedBy);
}
int32_t Forecourt::PrepayCancel(int32_t pumpID, int32_t reservedBy) {
    return CancelReserve(pumpID, RESERVE_PREPAY_LOCKED, reservedBy);
}
int32_t Forecourt::PreauthReserve(int32_t pumpID, int32_t reservedBy) {
    return Reserve(pumpID, RESERVE_PREAUTH_LOCKED, reservedBy);
}
int32_t Forecourt::PreauthCancel(int32_t pumpID, int32_t reservedBy) {
    return CancelReserve(pumpID, RESERVE_PREAUTH_LOCKED, reservedBy);
}
int32_t Forecourt::PaymentReserve(int32_t pumpID, int32_t reservedBy) {
    return Reserve(pumpID, RESERVE_PAYMENT_LOCKED, reservedBy);
}
int32_t Forecourt::PaymentCancel(int32_t pumpID, int32_t reservedBy) {
    return CancelReserve(pumpID, RESERVE_PAYMENT_LOCKED, reservedBy);
}

// The authorisation that takes up a reservation of the given kind; the price level stays the
// default unless the caller sets it.
Authorisation Forecourt::Reserved(int16_t reserve, int16_t deliveryType, int32_t by,
                                  int16_t limitType, double limit) {
    Authorisation a;
    a.reserve = reserve;
    a.deliveryType = deliveryType;
    a.by = by;
    a.limitType = limitType;
    a.limit = limit;
    return a;
}

int32_t Forecourt::PrepayAuthorise(int32_t pumpID, int32_t reservedBy, int16_t limitType,
                                   double limit, int16_t priceLevel) {
    Authorisation a = Reserved(RESERVE_PREPAY, DELIVERY_TYPE_PREPAY, reservedBy, limitType, limit);
    a.priceLevel = priceLevel;
    return AuthoriseWith(pumpID, a);
}

int32_t Forecourt::PreauthAuthorise(int32_t pumpID, int32_t reservedBy, int16_t limitType,
                                    double limit, int16_t priceLevel) {
    Authorisation a =
        Reserved(RESERVE_PREAUTH, DELIVERY_TYPE_PREAUTH, reservedBy, limitType, limit);
    a.priceLevel = priceLevel;
    return AuthoriseWith(pumpID, a);
}

int32_t Forecourt::PaymentAuthorise(int32_t pumpID, int32_t reservedBy, int16_t presetType,
                                    double presetValue, int16_t, int16_t) {
    return AuthoriseWith(pumpID, Reserved(RESERVE_PAYMENT, DELIVERY_TYPE_PAYMENT, reservedBy,
                                          presetType, presetValue));
}

int32_t Forecourt::TempStop(int32_t pumpID) {
    return OnPump(pumpID, [](ForecourtPump& p) { return p.TempStop(); });
}

int32_t Forecourt::ReAuthorise(int32_t pumpID) {
    return OnPump(pumpID, [](ForecourtPump& p) { return p.ReAuthorise(); });
}

int32_t Forecourt::TerminateDelivery(int32_t pumpID) {
    return OnPump(pumpID, [&](ForecourtPump& p) { return p.Terminate(NowMs()); });
}

int32_t Forecourt::StackCurrentDelivery(int32_t pumpID) {
    auto it = m_pumpAt.find(pumpID);
    if (it == m_pumpAt.end()) return QV_UNKNOWN_ID;
    int32_t stacked = 0;
    const int32_t r = m_book.Stack(pumpID, stacked);
    if (r != QV_OK) return r;
    const DeliveryRecord& d = *m_book.Find(stacked);
    StoreUpdate(d);
    ReportDelivery(d);
    m_sink.DeliveryStacked(stacked);
    RefreshStack(it->second);
    Settle(it->second);
    return QV_OK;
}

int32_t Forecourt::EnablePump(int32_t pumpID) {
    return OnPump(pumpID, [](ForecourtPump& p) { return p.Enable(); });
}

int32_t Forecourt::DisablePump(int32_t pumpID) {
    return OnPump(pumpID, [](ForecourtPump& p) { return p.Disable(); });
}

int32_t Forecourt::AllStop() {
    for (size_t p = 0; p < m_pumps.size(); ++p) {
        m_pumps[p].Stop();
        Settle(p);
    }
    Log(DEVICE_CONTROLLER, -1, kLevelWarning, kLogAllStop, u"All pumps stopped");
    return QV_OK;
}

int32_t Forecourt::AllStopIfIdle() {
    for (size_t p = 0; p < m_pumps.size(); ++p) {
        m_pumps[p].StopIfIdle();
        Settle(p);
    }
    return QV_OK;
}

int32_t Forecourt::AllAuthorise(int32_t clientID) {
    for (const ForecourtPump& p : m_pumps)
        if (p.State() == PUMP_STATE_CALLING) Authorise(p.Info().id, clientID);
    return QV_OK;
}

int32_t Forecourt::AllReAuthorise() {
    for (const ForecourtPump& p : m_pumps) {
        // A temporarily stopped sale under an AllStop needs two steps: the stop, then the sale.
        for (int k = 0; k < 2; ++k) {
            const int16_t s = p.State();
            if (s != PUMP_STATE_STOPPED && s != PUMP_STATE_TEMP_STOPPED) break;
            ReAuthorise(p.Info().id);
        }
    }
    return QV_OK;
}

// ---- Deliveries ----

int32_t Forecourt::LockDelivery(int32_t id, int32_t clientID) {
    const int32_t r = m_book.Lock(id, clientID);
    if (r != QV_OK) return r;
    const DeliveryRecord& d = *m_book.Find(id);
    StoreUpdate(d);
    ReportDelivery(d);
    return QV_OK;
}

int32_t Forecourt::UnlockDelivery(int32_t id, int32_t clientID) {
    const int32_t r = m_book.Unlock(id, clientID);
    if (r != QV_OK) return r;
    const DeliveryRecord& d = *m_book.Find(id);
    StoreUpdate(d);
    ReportDelivery(d);
    return QV_OK;
}

int32_t Forecourt::ClearDelivery(int32_t id, int32_t clientID, int16_t type) {
    DeliveryRecord cleared;
    const int32_t r = m_book.Clear(id, clientID, type, NowOle(), cleared);
    if (r != QV_OK) return r;
    StoreUpdate(cleared);
    ReportDelivery(cleared);
    m_sink.DeliveryCleared(cleared);
    auto it = m_pumpAt.find(cleared.pumpID);
    if (it != m_pumpAt.end()) {
        RefreshStack(it->second);
        Settle(it->second);
    }
    return QV_OK;
}

int32_t Forecourt::LockAndClearDelivery(int32_t id, int32_t clientID, int16_t type) {
    // Lock and clear fail for the same reasons, so a refused clear leaves no lock behind.
    const int32_t r = m_book.Lock(id, clientID);
    if (r != QV_OK) return r;
    return ClearDelivery(id, clientID, type);
}

bool Forecourt::GetDelivery(int32_t id, DeliveryRecord& out) const {
    const DeliveryRecord* d = m_book.Find(id);
    if (!d) return false;
    out = *d;
    out.age = m_book.AgeOf(*d, NowOle());
    return true;
}

std::vector<int32_t> Forecourt::PumpDeliveries(int32_t pumpID) const {
    return m_book.OnPump(pumpID);
}

// ---- Hardware inputs ----

int32_t Forecourt::NozzleUp(int32_t pumpID, int32_t hoseNumber) {
    return OnPump(pumpID, [&](ForecourtPump& p) { return p.NozzleUp(hoseNumber, NowMs()); });
}

int32_t Forecourt::NozzleDown(int32_t pumpID) {
    return OnPump(pumpID, [&](ForecourtPump& p) { return p.NozzleDown(NowMs()); });
}

int32_t Forecourt::SetFlowRate(int32_t pumpID, double litresPerMinute) {
    return OnPump(pumpID, [&](ForecourtPump& p) { return p.SetFlowRate(litresPerMinute); });
}

int32_t Forecourt::PumpError(int32_t pumpID, int16_t errorState) {
    const int32_t r =
        OnPump(pumpID, [&](ForecourtPump& p) { return p.SetError(errorState, NowMs()); });
    if (r == QV_OK && errorState != 0)
        Log(DEVICE_PUMP, pumpID, kLevelAlarm, kLogPumpError, u"Pump error");
    return r;
}

int32_t Forecourt::SetPumpOffline(int32_t pumpID, bool offline) {
    const int32_t r = OnPump(pumpID, [&](ForecourtPump& p) {
        p.SetOffline(offline, NowMs());
        return QV_OK;
    });
    if (r == QV_OK && offline)
        Log(DEVICE_PUMP, pumpID, kLevelAlarm, kLogPumpOffline, u"Pump off line");
    return r;
}

int32_t Forecourt::TankDrop(int32_t tankID, double litres) {
    TankGauge* t = Tank(tankID);
    if (!t) return QV_UNKNOWN_ID;
    const int32_t r = t->StartDrop(litres);
    if (r == QV_OK) Log(DEVICE_TANK, tankID, kLevelInfo, kLogTankDrop, u"Tank drop", litres);
    return r;
}

int32_t Forecourt::SetTankGaugeFault(int32_t tankID, bool fault) {
    TankGauge* t = Tank(tankID);
    if (!t) return QV_UNKNOWN_ID;
    t->SetGaugeFault(fault);
    ReportTanks();
    return QV_OK;
}

int32_t Forecourt::SetHoseTotals(int32_t hoseID, double volumeETot, double valueETot) {
    for (ForecourtPump& p : m_pumps)
        for (HoseInfo& h : p.MutableInfo().hoses)
            if (h.id == hoseID) {
                h.elecVolume = volumeETot;
                h.elecValue = valueETot;
                return m_tables.SaveHoseTotals(hoseID, volumeETot, valueETot) ? QV_OK
                                                                              : QV_DATABASE_ERROR;
            }
    return QV_UNKNOWN_ID;
}

void Forecourt::ReadAllTanks() {
    for (TankGauge& t : m_tanks) {
        const TankStatusRecord s = t.Status();
        t.Reported(NowMs());
        m_tables.SaveTankGauge(s);
        m_sink.TankStatus(s);
    }
}

// ---- Attendants ----

int32_t Forecourt::AttendantLogon(int32_t attendantID, int32_t pumpID) {
    if (attendantID < 1) return QV_INVALID_ARGUMENT;
    if (pumpID != -1 && !Pump(pumpID)) return QV_UNKNOWN_ID;
    auto was = m_attendantAt.find(attendantID);
    if (was != m_attendantAt.end())
        if (ForecourtPump* old = Pump(was->second))
            if (old->Attendant() == attendantID) old->SetAttendant(-1);
    m_attendantAt[attendantID] = pumpID;
    if (ForecourtPump* p = Pump(pumpID)) p->SetAttendant(attendantID);
    m_sink.AttendantLogon({attendantID, pumpID});
    return QV_OK;
}

bool Forecourt::AttendantPump(int32_t attendantID, int32_t& pumpID) const {
    auto it = m_attendantAt.find(attendantID);
    if (it == m_attendantAt.end()) return false;
    pumpID = it->second;
    return true;
}

int32_t Forecourt::AttendantLogoff(int32_t attendantID) {
    auto it = m_attendantAt.find(attendantID);
    if (it == m_attendantAt.end()) return QV_UNKNOWN_ID;
    const int32_t pumpID = it->second;
    if (ForecourtPump* p = Pump(pumpID))
        if (p->Attendant() == attendantID) p->SetAttendant(-1);
    m_attendantAt.erase(it);
    m_sink.AttendantLogoff({attendantID, pumpID});
    return QV_OK;
}

// ---- Other records ----

int32_t Forecourt::AddSaleItem(SaleItemRecord item, int32_t& id) {
    if (!(item.quantity > 0) || item.price < 0) return QV_INVALID_ARGUMENT;
    if (item.pumpID != -1 && !Pump(item.pumpID)) return QV_UNKNOWN_ID;
    item.addedDT = NowOle();
    item.id = m_tables.AddSaleItem(item);
    if (item.id == 0) return QV_DATABASE_ERROR;
    id = item.id;
    m_sink.SaleItem(item);
    return QV_OK;
}

// ---- Reading ----

bool Forecourt::GetPumpStatus(int32_t pumpID, PumpStatusRecord& out) const {
    const ForecourtPump* p = Pump(pumpID);
    if (!p) return false;
    out = p->Status();
    return true;
}

bool Forecourt::GetTankStatus(int32_t tankID, TankStatusRecord& out) const {
    const TankGauge* t = Tank(tankID);
    if (!t) return false;
    out = t->Status();
    return true;
}

bool Forecourt::GetHoseTotals(int32_t hoseID, double& volume, double& value) const {
    for (const ForecourtPump& p : m_pumps)
        for (const HoseInfo& h : p.Info().hoses)
            if (h.id == hoseID) {
                volume = h.elecVolume;
                value = h.elecValue;
                return true;
            }
    return false;
}

} // namespace qvserver
