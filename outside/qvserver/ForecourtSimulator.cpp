// Random numbers come from the generator's raw output only, so that a seed gives the same
// customers with every standard library.
#include "outside/qvserver/ForecourtSimulator.h"

#include <algorithm>
#include <cmath>

#include "outside/qvclient/QVCodes.h"

namespace qvserver {

namespace {

bool Flowing(int16_t state) {
    return state == PUMP_STATE_DELIVERING || state == PUMP_STATE_SLOWING ||
           state == PUMP_STATE_STARTING;
}

} // namespace

ForecourtSimulator::ForecourtSimulator(Forecourt& forecourt, uint32_t seed,
                                       SimulatorSettings settings)
    : m_fc(forecourt), m_settings(settings), m_random(seed) {
    for (const PumpInfo& p : m_fc.GetSite().pumps) {
        Lane lane;
        lane.pumpID = p.id;
        lane.dueMs = m_fc.NowMs() + NextArrival();
        m_lanes.push_back(lane);
    }
    for (const TankInfo& t : m_fc.GetSite().tanks)
        m_tankers.push_back({t.id, -1});
}

double ForecourtSimulator::Uniform() {
    return static_cast<double>(m_random()) / 4294967296.0;
}

int64_t ForecourtSimulator::NextArrival() {
    // Exponential gaps: customers arrive independently of each other.
    return static_cast<int64_t>(-std::log(1.0 - Uniform()) *
                                static_cast<double>(m_settings.meanArrivalMs)) +
           1;
}

void ForecourtSimulator::Advance(int64_t ms) {
    while (ms > 0) {
        const int64_t step = std::min(ms, m_settings.tickMs);
        m_fc.Advance(step);
        ms -= step;
        const int64_t now = m_fc.NowMs();
        for (Lane& lane : m_lanes)
            Act(lane, now);
        Tankers(now);
    }
}

void ForecourtSimulator::Arrive(Lane& lane, int64_t nowMs) {
    PumpStatusRecord s;
    const PumpInfo* info = nullptr;
    for (const PumpInfo& p : m_fc.GetSite().pumps)
        if (p.id == lane.pumpID) info = &p;
    if (!info || info->hoses.empty() || !m_fc.GetPumpStatus(lane.pumpID, s) ||
        s.state != PUMP_STATE_IDLE) {
        lane.dueMs = nowMs + NextArrival(); // busy or out of order: come back later
        return;
    }
    const HoseInfo& hose = info->hoses[static_cast<size_t>(Uniform() * info->hoses.size())];
    lane.litres = m_settings.minLitres + Uniform() * (m_settings.maxLitres - m_settings.minLitres);
    lane.prepaid = m_settings.cashier && info->prepayAllowed && Uniform() < m_settings.prepayShare;
    lane.arrivedMs = nowMs;
    m_fc.SetFlowRate(lane.pumpID, 30 + Uniform() * 20);
    if (lane.prepaid) {
        const double price = m_fc.GetSite().PriceOf(hose, info->priceLevel1);
        const double value = std::round(lane.litres * std::max(price, 0.01));
        if (m_fc.PrepayReserve(lane.pumpID, m_settings.cashierID) != 0 ||
            m_fc.PrepayAuthorise(lane.pumpID, m_settings.cashierID, LIMIT_VALUE, value, 0) != 0)
            lane.prepaid = false;
    }
    m_fc.NozzleUp(lane.pumpID, hose.number);
    lane.step = Step::Waiting;
    lane.dueMs = nowMs + 2000 + static_cast<int64_t>(Uniform() * 4000); // the cashier looks up
}

void ForecourtSimulator::Leave(Lane& lane, int64_t nowMs) {
    m_fc.NozzleDown(lane.pumpID);
    if (lane.prepaid) m_fc.PrepayCancel(lane.pumpID, m_settings.cashierID);
    lane.step = Step::Away;
    lane.dueMs = nowMs + NextArrival();
}

void ForecourtSimulator::Act(Lane& lane, int64_t nowMs) {
    PumpStatusRecord s;
    if (lane.step != Step::Away && !m_fc.GetPumpStatus(lane.pumpID, s)) {
        lane.step = Step::Away; // the pump was removed
        return;
    }
    switch (lane.step) {
    case Step::Away:
        if (nowMs >= lane.dueMs) Arrive(lane, nowMs);
        return;
    case Step::Waiting:
        if (Flowing(s.state)) {
            lane.step = Step::Fuelling;
        } else if (nowMs - lane.arrivedMs >= m_settings.patienceMs) {
            Leave(lane, nowMs);
        } else if (s.state == PUMP_STATE_CALLING && m_settings.cashier && nowMs >= lane.dueMs) {
            m_fc.Authorise(lane.pumpID, m_settings.cashierID);
        }
        return;
    case Step::Fuelling: {
        const bool done = s.state == PUMP_STATE_FINISHED || s.state == PUMP_STATE_NOZZLE_LEFT_OUT ||
                          s.volume >= lane.litres;
        const bool broken = s.state == PUMP_STATE_OFFLINE || s.state == PUMP_STATE_ERROR ||
                            s.state == PUMP_STATE_COMMS_ERROR || s.state == PUMP_STATE_PRICE_ERROR;
        if (!done && !broken) return; // stopped pumps are waited for
        m_fc.NozzleDown(lane.pumpID);
        const std::vector<int32_t> on = m_fc.PumpDeliveries(lane.pumpID);
        lane.deliveryID = on.empty() ? 0 : on.back();
        ++m_served;
        lane.step = Step::Paying;
        lane.dueMs = nowMs + 5000 + static_cast<int64_t>(Uniform() * 15000);
        return;
    }
    case Step::Paying:
        if (nowMs < lane.dueMs) return;
        if (m_settings.cashier && lane.deliveryID != 0)
            m_fc.LockAndClearDelivery(lane.deliveryID, m_settings.cashierID, 0);
        lane.step = Step::Away;
        lane.dueMs = nowMs + NextArrival();
        return;
    }
}

void ForecourtSimulator::Tankers(int64_t nowMs) {
    for (Tanker& t : m_tankers) {
        TankStatusRecord s;
        if (!m_fc.GetTankStatus(t.tankID, s)) continue;
        const bool low = (s.alarmsMask & TANK_ALARM_LOW) != 0;
        if (!low) t.refilled = false;
        if (t.dueMs < 0) {
            if (low && !t.refilled) t.dueMs = nowMs + m_settings.tankerDelayMs;
            continue;
        }
        if (nowMs < t.dueMs) continue;
        const double fill = s.gaugeVolume + s.gaugeUllage; // the capacity
        const double litres = std::floor(fill * 0.85 - s.gaugeVolume);
        if (litres > 0) m_fc.TankDrop(t.tankID, litres);
        t.dueMs = -1;
        t.refilled = true;
    }
}

} // namespace qvserver
