// The running forecourt of the server and its events. An event body is its type, then one
// section per reader variant (variant, count, values), as the library's readers expect.
#include "outside/qvserver/ForecourtService.h"

#include <chrono>
#include <cstdlib>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvserver/ForecourtSite.h"
#include "outside/qvserver/SaleItemEvents.h"
#include "outside/qvserver/TagText.h"

namespace qvserver {

namespace {

using qvwire::Value;

const Value& At(const Row& r, const char* name) {
    static const Value kNone = Value::I32(0);
    auto it = r.find(name);
    return it == r.end() ? kNone : it->second;
}
int32_t I(const Row& r, const char* name) {
    return static_cast<int32_t>(At(r, name).i);
}
int16_t H(const Row& r, const char* name) {
    return static_cast<int16_t>(At(r, name).i);
}
double D(const Row& r, const char* name) {
    return At(r, name).d;
}
std::u16string S(const Row& r, const char* name) {
    return At(r, name).s;
}

Value I16(int32_t v) {
    return Value::I16(static_cast<int16_t>(v));
}
Value I32(int32_t v) {
    return Value::I32(v);
}
Value F(double v) {
    return Value::F64(v);
}
Value Txt(const std::u16string& s) {
    return Value::Text(s);
}

void AddSection(Values& event, int16_t variant, const Values& vs) {
    event.push_back(Value::I16(variant));
    event.push_back(Value::I16(static_cast<int16_t>(vs.size())));
    event.insert(event.end(), vs.begin(), vs.end());
}

Values OneSection(int16_t type, const Values& vs, int16_t variant = 0) {
    Values event{Value::I16(type)};
    AddSection(event, variant, vs);
    return event;
}

} // namespace

ForecourtService::ForecourtService(Store& store, EventSink& events)
    : m_store(store), m_events(events), m_tables(store) {
    // Every row the forecourt writes is told to the logons that watch the tables.
    m_tables.OnRowWritten([this](int32_t table, int32_t row) {
        m_events.Broadcast(OneSection(qvwire::kEventDBTrigger, {I32(table), I32(row)}));
    });
}

ForecourtService::~ForecourtService() {
    Stop();
}

bool ForecourtService::Start(const ServiceOptions& options, std::string& error) {
    m_options = options;
    {
        std::lock_guard<std::mutex> lock(m_store.Mutex());
        Site site;
        if (!LoadSite(m_store, site, error)) return false;
        m_pumpRows.clear();
        ForecourtSettings settings;
        settings.tickMs = options.tickMs;
        if (options.simulate) {
            // A forecourt to look at: pumps start their motors, product temperatures drift.
            settings.startingMs = 1500;
            settings.temperatureSwing = 0.6;
        }
        m_fc = std::make_unique<Forecourt>(std::move(site), *this, m_tables, NowOle(), settings);
        if (options.simulate) {
            SimulatorSettings s;
            s.tickMs = options.tickMs;
            s.cashier = options.cashier;
            m_sim = std::make_unique<ForecourtSimulator>(*m_fc, options.seed, s);
        }
    }
    if (!options.manualClock) m_ticker = std::thread([this] { Ticker(); });
    return true;
}

void ForecourtService::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_tickMutex);
        m_stopping = true;
    }
    m_tickWake.notify_all();
    if (m_ticker.joinable()) m_ticker.join();
}

void ForecourtService::Ticker() {
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    std::unique_lock<std::mutex> wait(m_tickMutex);
    while (!m_stopping) {
        m_tickWake.wait_for(wait, std::chrono::milliseconds(m_options.tickMs));
        if (m_stopping) break;
        const auto now = Clock::now();
        const int64_t ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count();
        if (ms <= 0) continue;
        last = now;
        wait.unlock();
        {
            std::lock_guard<std::mutex> lock(m_store.Mutex());
            Advance(ms);
        }
        wait.lock();
    }
}

Forecourt& ForecourtService::Engine() {
    if (m_changed) Reload();
    return *m_fc;
}

void ForecourtService::Advance(int64_t ms) {
    if (m_changed) Reload();
    // One transaction for the step's rows (gauges, totals, deliveries, log events) instead of
    // one commit each; a failed write inside it is handled by the forecourt as before.
    const bool batched = m_store.Begin();
    if (m_sim)
        m_sim->Advance(ms);
    else
        m_fc->Advance(ms);
    if (batched && !m_store.Commit()) m_store.Exec("ROLLBACK", {});
}

void ForecourtService::Reload() {
    m_changed = false;
    m_people.clear();
    Site site;
    std::string error;
    if (!LoadSite(m_store, site, error)) return; // keeps running what it has
    m_pumpRows.clear();
    m_fc->Reload(site);
}

const Row& ForecourtService::PumpRow(int32_t pumpID) {
    auto it = m_pumpRows.find(pumpID);
    if (it != m_pumpRows.end()) return it->second;
    Row r;
    m_store.Fetch(kPump, pumpID, r);
    return m_pumpRows.emplace(pumpID, std::move(r)).first->second;
}

ForecourtService::Party ForecourtService::Person(const Entity& e, int32_t id) {
    if (id < 1) return {};
    auto it = m_people.find({&e, id});
    if (it != m_people.end()) return it->second;
    Party p;
    Row r;
    if (m_store.Fetch(e, id, r)) {
        p.number = I(r, "Number");
        p.name = S(r, "Name");
        p.tag = TagNumber(S(r, "Tag"));
    }
    m_people[{&e, id}] = p;
    return p;
}

Values ForecourtService::PumpStatusEvent(const PumpStatusRecord& r, int variant) {
    if (variant == 0)
        return {I32(r.pumpID),         I16(r.pumpNumber), I16(r.state),
                I16(r.reservedFor),    I32(r.reservedBy), I32(r.hoseID),
                I16(r.hoseNumber),     I32(r.gradeID),    Txt(r.gradeName),
                Txt(r.shortGradeName), I16(r.priceLevel), F(r.price),
                F(r.volume),           F(r.value),        I16(r.stackSize)};
    const Row& p = PumpRow(r.pumpID);
    const Party a = Person(kAttendant, r.attendantID);
    const Party cc = Person(kCardClient, r.cardClientID);
    Values v{I32(r.pumpID),
             I32(r.pumpNumber),
             I16(r.state),
             I16(r.reservedFor),
             I32(r.reservedBy),
             I32(r.hoseID),
             I32(r.hoseNumber),
             I32(r.hosePhysicalNumber),
             I32(r.gradeID),
             I32(r.gradeNumber),
             Txt(r.gradeName),
             Txt(r.shortGradeName),
             I16(r.priceLevel),
             F(r.price),
             F(r.volume),
             F(r.value),
             I16(r.stackSize),
             Txt(S(p, "Name")),
             I16(H(p, "PhysicalNumber")),
             I16(H(p, "Side")),
             I16(H(p, "Address")),
             I16(H(p, "PriceLevel1")),
             I16(H(p, "PriceLevel2")),
             I16(H(p, "Type")),
             I32(I(p, "PortID")),
             I16(H(p, "AuthMode")),
             I16(H(p, "StackMode")),
             I16(H(p, "PrepayAllowed")),
             I16(H(p, "PreauthAllowed")),
             I16(H(p, "PriceDspFormat")),
             I16(H(p, "ValueDspFormat")),
             I16(H(p, "VolumeDspFormat")),
             Value::I64(r.tag),
             I32(r.attendantID),
             I32(a.number),
             Txt(a.name),
             Value::I64(a.tag),
             I32(r.cardClientID),
             I32(cc.number),
             Txt(cc.name),
             Value::I64(cc.tag)};
    if (variant >= 3) v.insert(v.end(), {F(r.curFlowRate), F(r.peakFlowRate)});
    return v;
}

Values ForecourtService::PumpStatusOutputs(const PumpStatusRecord& r, int variant) {
    if (variant == 0)
        return {I16(r.state),      I16(r.reservedFor), I32(r.reservedBy), I32(r.hoseID),
                I32(r.hoseNumber), I32(r.gradeID),     Txt(r.gradeName),  Txt(r.shortGradeName),
                I16(r.priceLevel), F(r.price),         F(r.volume),       F(r.value),
                I32(r.stackSize)};
    const Row& p = PumpRow(r.pumpID);
    const Party a = Person(kAttendant, r.attendantID);
    const Party cc = Person(kCardClient, r.cardClientID);
    Values v{I32(r.pumpNumber),     Txt(S(p, "Name")),  I16(H(p, "PhysicalNumber")),
             I16(r.state),          I16(r.reservedFor), I32(r.reservedBy),
             I32(r.hoseID),         I32(r.hoseNumber),  I32(r.hosePhysicalNumber),
             I32(r.gradeID),        I32(r.gradeNumber), Txt(r.gradeName),
             Txt(r.shortGradeName), I16(r.priceLevel),  F(r.price),
             F(r.volume),           F(r.value),         I32(r.stackSize),
             Value::I64(r.tag),     I32(r.attendantID), I32(a.number),
             Txt(a.name),           Value::I64(a.tag),  I32(r.cardClientID),
             I32(cc.number),        Txt(cc.name),       Value::I64(cc.tag)};
    if (variant >= 2) v.insert(v.end(), {F(r.curFlowRate), F(r.peakFlowRate)});
    return v;
}

void ForecourtService::PumpStatus(const PumpStatusRecord& r) {
    Values event{Value::I16(qvwire::kEventPumpStatus)};
    AddSection(event, 0, PumpStatusEvent(r, 0));
    const Values ex3 = PumpStatusEvent(r, 3);
    AddSection(event, 2, Values(ex3.begin(), ex3.end() - 2));
    AddSection(event, 3, ex3);
    m_events.Broadcast(event);
}

void ForecourtService::Delivery(const DeliveryRecord& d) {
    const Row& p = PumpRow(d.pumpID);
    Row t, g;
    m_store.Fetch(kTank, d.tankID, t);
    m_store.Fetch(kGrade, d.gradeID, g);
    const Party a = Person(kAttendant, d.attendantID);
    const Party cc = Person(kCardClient, d.cardClientID);
    Values v2{I32(d.id),
              I32(d.pumpID),
              I32(d.pumpNumber),
              I32(d.hoseID),
              I32(d.hoseNumber),
              I32(d.gradeID),
              Txt(S(g, "Name")),
              Txt(S(g, "ShortName")),
              I16(d.priceLevel),
              F(d.price),
              F(d.volume),
              F(d.value),
              I16(d.state),
              I16(d.type),
              I32(d.lockedBy),
              I32(d.reservedBy),
              I32(d.age),
              F(d.completedDT),
              I32(d.attendantID),
              F(d.oldVolumeETot),
              F(0),
              F(d.oldValueETot),
              F(d.newVolumeETot),
              F(0),
              F(d.newValueETot),
              Value::I64(d.tag),
              I32(d.duration)};
    Values v3{I32(d.id),
              I32(d.hoseID),
              I32(d.hoseNumber),
              I32(d.hosePhysicalNumber),
              I32(d.pumpID),
              I32(d.pumpNumber),
              Txt(S(p, "Name")),
              I32(d.tankID),
              I32(I(t, "Number")),
              Txt(S(t, "Name")),
              I32(d.gradeID),
              I32(I(g, "Number")),
              Txt(S(g, "Name")),
              Txt(S(g, "ShortName")),
              Txt(S(g, "Code")),
              I16(d.state),
              I16(d.type),
              F(d.volume),
              I16(d.priceLevel),
              F(d.price),
              F(d.value),
              F(d.volume2),
              F(d.completedDT),
              I32(d.lockedBy),
              I32(d.reservedBy),
              I32(d.attendantID),
              I32(d.age),
              F(d.clearedDT),
              F(d.oldVolumeETot),
              F(0),
              F(d.oldValueETot),
              F(d.newVolumeETot),
              F(0),
              F(d.newValueETot),
              Value::I64(d.tag),
              I32(d.duration),
              I32(a.number),
              Txt(a.name),
              Value::I64(a.tag),
              I32(d.cardClientID),
              I32(cc.number),
              Txt(cc.name),
              Value::I64(cc.tag)};
    Values event{Value::I16(qvwire::kEventDelivery)};
    AddSection(event, 2, v2);
    AddSection(event, 3, v3);
    v3.push_back(F(d.peakFlowRate));
    AddSection(event, 4, v3);
    m_events.Broadcast(event);

    // The database's record of a completed sale, once per delivery.
    if (d.state == DELIVERY_STATE_CURRENT && m_logged.insert(d.id).second)
        m_events.Broadcast(
            OneSection(qvwire::kEventDBLogDelivery,
                       {I32(d.id), I32(d.hoseID), I16(d.state), I16(d.type), F(d.volume),
                        I16(d.priceLevel), F(d.price), F(d.value), F(d.volume2), I32(d.reservedBy),
                        I32(d.attendantID), F(d.completedDT)}));
}

void ForecourtService::DeliveryStacked(int32_t deliveryID) {
    m_events.Broadcast(OneSection(qvwire::kEventDBStackDelivery, {I32(deliveryID)}));
}

void ForecourtService::DeliveryCleared(const DeliveryRecord& d) {
    m_logged.erase(d.id);
    m_events.Broadcast(
        OneSection(qvwire::kEventDBClearDelivery,
                   {I32(d.id), I16(d.type), I32(d.clearedBy), F(d.clearedDT), I32(d.attendantID)}));
}

void ForecourtService::HoseTotals(const HoseTotalsRecord& r) {
    Row h, t, g;
    m_store.Fetch(kHose, r.hoseID, h);
    m_store.Fetch(kTank, r.tankID, t);
    m_store.Fetch(kGrade, r.gradeID, g);
    const Row& p = PumpRow(r.pumpID);
    m_events.Broadcast(OneSection(
        qvwire::kEventHoseETotals,
        {I32(r.hoseID), F(r.volume), F(r.value), F(r.volumeETot), F(r.valueETot), I32(r.hoseNumber),
         I32(I(h, "PhysicalNumber")), I32(r.pumpID), I32(I(p, "Number")), Txt(S(p, "Name")),
         I32(r.tankID), I32(I(t, "Number")), Txt(S(t, "Name")), I32(r.gradeID), Txt(S(g, "Name"))},
        1));
}

void ForecourtService::TankStatus(const TankStatusRecord& r) {
    Row t, g;
    m_store.Fetch(kTank, r.tankID, t);
    m_store.Fetch(kGrade, I(t, "GradeID"), g);
    Values v{I32(r.tankID),         F(r.gaugeVolume), F(r.gaugeTCVolume),    F(r.gaugeUllage),
             F(r.gaugeTemperature), F(r.gaugeLevel),  F(r.gaugeWaterVolume), F(r.gaugeWaterLevel)};
    Values event{Value::I16(qvwire::kEventTankStatus)};
    AddSection(event, 0, v);
    v.insert(v.end(), {I32(r.tankNumber), Txt(S(t, "Name")), I32(I(t, "GradeID")),
                       Txt(S(g, "Name")), I16(H(t, "Type")), F(D(t, "Capacity")),
                       F(D(t, "Diameter")), I32(I(t, "GaugeID")), I16(H(t, "ProbeNo"))});
    AddSection(event, 1, v);
    v.insert(v.end(), {I16(r.state), I32(r.alarmsMask)});
    AddSection(event, 2, v);
    m_events.Broadcast(event);
}

void ForecourtService::ZeroDelivery(const ZeroDeliveryRecord& r) {
    m_events.Broadcast(OneSection(qvwire::kEventZeroDelivery, {I32(r.pumpID), I32(r.pumpNumber),
                                                               I32(r.hoseID), I32(r.hoseNumber)}));
}

void ForecourtService::LogEvent(const LogEventRecord& e) {
    m_events.Broadcast(
        OneSection(qvwire::kEventLogEvent,
                   {I32(e.id), I16(e.deviceType), I32(e.deviceID), I32(e.deviceNumber),
                    Txt(e.deviceName), I16(e.eventLevel), I16(e.eventType), Txt(e.eventDesc),
                    F(e.generatedDT), F(0), I32(-1), I32(-1), F(e.volume), F(e.value),
                    F(e.productVolume), F(e.productLevel), F(e.waterLevel), F(e.temperature)}));
    m_events.Broadcast(OneSection(qvwire::kEventDBLog, {I16(e.eventType), I32(e.deviceID),
                                                        F(e.generatedDT), Txt(e.eventDesc)}));
}

void ForecourtService::SaleItem(const SaleItemRecord& r) {
    Row s;
    if (m_store.Fetch(kSaleItem, r.id, s)) m_events.Broadcast(SaleItemEvent(m_store, r.id, s));
}

void ForecourtService::AttendantLogon(const AttendantRecord& r) {
    m_events.Broadcast(
        OneSection(qvwire::kEventAttendantLogon, {I32(r.attendantID), I32(r.pumpID)}));
}

void ForecourtService::AttendantLogoff(const AttendantRecord& r) {
    m_events.Broadcast(OneSection(qvwire::kEventAttendantLogoff, {I32(r.attendantID)}));
}

int32_t ForecourtService::CardRead(int32_t pumpID, const std::u16string& name, int64_t tag,
                                   int32_t& id) {
    PumpStatusRecord s;
    if (!m_fc->GetPumpStatus(pumpID, s)) return QV_UNKNOWN_ID;
    // The card is known by its tag when a card client carries it.
    std::vector<int32_t> cards;
    m_store.Ids("SELECT ID FROM CardClients WHERE Tag = ?1 ORDER BY ID LIMIT 1",
                {Value::Text(qvwire::ToU16(TagText(tag)))}, cards);
    Row card;
    if (!cards.empty()) m_store.Fetch(kCardClient, cards[0], card);
    const double now = m_fc->NowOle();
    Row r{{"Number", I32(card.empty() ? 0 : I(card, "Number"))},
          {"Name", Txt(card.empty() ? name : S(card, "Name"))},
          {"PumpID", I32(pumpID)},
          {"Type", I16(card.empty() ? 0 : H(card, "CardType"))},
          {"ParentID", I32(card.empty() ? -1 : I(card, "ParentID"))},
          {"Tag", Value::I64(tag)},
          {"TimeStamp", F(now)}};
    if (m_store.Insert(kCardRead, r, id) != 0) return QV_DATABASE_ERROR;
    m_events.Broadcast(OneSection(qvwire::kEventCardRead,
                                  {I32(id), At(r, "Number"), At(r, "Name"), I32(pumpID),
                                   At(r, "Type"), At(r, "ParentID"), Value::I64(tag), F(now)}));
    return QV_OK;
}

void ForecourtService::ClientEvent(int32_t clientID, int32_t eventID, const std::u16string& text) {
    m_events.Broadcast(OneSection(qvwire::kEventClient, {I32(clientID), I32(eventID), Txt(text)}));
}

} // namespace qvserver
