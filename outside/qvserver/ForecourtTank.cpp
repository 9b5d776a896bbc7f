// Gauge readings from the volume. The level of a lying cylinder comes from the area of the
// circle's segment below it; a standing cylinder fills evenly.
#include "outside/qvserver/ForecourtTank.h"

#include <algorithm>
#include <cmath>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"

namespace qvserver {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Share of a circle's area below a chord at height x (0..1) of its diameter.
double SegmentShare(double x) {
    const double c = 1 - 2 * x;
    return (std::acos(c) - c * std::sqrt(std::max(0.0, 1 - c * c))) / kPi;
}

// The height share whose segment holds `share` of the circle (bisection: the share grows
// with the height).
double HeightOfShare(double share) {
    double lo = 0, hi = 1;
    for (int k = 0; k < 40; ++k) {
        const double mid = (lo + hi) / 2;
        (SegmentShare(mid) < share ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

} // namespace

TankGauge::TankGauge(const TankInfo& info, const ForecourtSettings& settings)
    : m_info(info), m_settings(settings) {
    if (m_info.volume > 0 && m_info.tcVolume > 0) m_tcRatio = m_info.tcVolume / m_info.volume;
    m_baseTemperature = m_info.temperature;
    m_knownAlarms = Alarms();
    Reported(0); // the stored readings are what the clients already know
}

void TankGauge::Reconfigure(const TankInfo& info) {
    const double volume = m_info.volume;
    const double temperature = m_info.temperature;
    m_info = info;
    m_info.volume = info.capacity > 0 ? std::min(volume, info.capacity) : volume;
    m_info.temperature = temperature; // the gauge's own reading, like the volume
}

double TankGauge::Level() const {
    if (m_info.capacity <= 0 || m_info.diameter <= 0) return 0;
    const double share = std::clamp(m_info.volume / m_info.capacity, 0.0, 1.0);
    if (m_info.type == TANK_TYPE_VERTICAL) {
        const double area = kPi * m_info.diameter * m_info.diameter / 4; // square metres
        return share * (m_info.capacity / 1000 / area) * 1000;
    }
    return HeightOfShare(share) * m_info.diameter * 1000;
}

int32_t TankGauge::Alarms() const {
    int32_t a = 0;
    if (m_info.capacity > 0) {
        const double share = m_info.volume / m_info.capacity;
        if (share < m_settings.lowLevel) a |= TANK_ALARM_LOW;
        if (share < m_settings.criticalLevel) a |= TANK_ALARM_CRITICAL_LOW;
        if (share > m_settings.highLevel) a |= TANK_ALARM_HIGH;
    }
    if (m_info.waterLevel > m_settings.highWater) a |= TANK_ALARM_HIGH_WATER;
    return a;
}

int16_t TankGauge::StateOf(int32_t alarms) const {
    if (m_fault) return TANK_STATE_GAUGE_ERROR;
    if (alarms & TANK_ALARM_HIGH_WATER) return TANK_STATE_HIGH_WATER;
    if (alarms & (TANK_ALARM_LOW | TANK_ALARM_CRITICAL_LOW)) return TANK_STATE_LOW;
    if (alarms & TANK_ALARM_HIGH) return TANK_STATE_HIGH;
    if (m_roseLastStep) return TANK_STATE_RISING;
    if (m_fellLastStep) return TANK_STATE_FALLING;
    return TANK_STATE_NORMAL;
}

TankStatusRecord TankGauge::Status() const {
    TankStatusRecord r;
    r.tankID = m_info.id;
    r.tankNumber = m_info.number;
    r.gaugeVolume = m_info.volume;
    r.gaugeTCVolume = m_info.volume * m_tcRatio;
    r.gaugeUllage = std::max(0.0, m_info.capacity - m_info.volume);
    r.gaugeTemperature = m_info.temperature;
    r.gaugeLevel = Level();
    r.gaugeWaterVolume = m_info.waterVolume;
    r.gaugeWaterLevel = m_info.waterLevel;
    r.alarmsMask = Alarms();
    r.state = StateOf(r.alarmsMask);
    return r;
}

double TankGauge::Draw(double litres) {
    const double taken = std::clamp(litres, 0.0, m_info.volume);
    m_info.volume -= taken;
    if (taken > 0) m_drawn = true;
    return taken;
}

int32_t TankGauge::StartDrop(double litres) {
    if (!(litres > 0)) return QV_INVALID_ARGUMENT;
    if (m_info.capacity > 0 && m_info.volume + m_dropLeft + litres > m_info.capacity)
        return QV_INVALID_ARGUMENT;
    m_dropLeft += litres;
    return QV_OK;
}

void TankGauge::Step(int64_t dtMs) {
    m_roseLastStep = false;
    if (m_dropLeft > 0) {
        const double in =
            std::min(m_dropLeft, m_settings.dropRate * static_cast<double>(dtMs) / 60000.0);
        m_info.volume += in;
        m_dropLeft -= in;
        if (m_dropLeft < 1e-9) m_dropLeft = 0;
        m_roseLastStep = in > 0;
    }
    m_fellLastStep = m_drawn && !m_roseLastStep;
    m_drawn = false;
    m_elapsedMs += dtMs;
    if (m_settings.temperatureSwing > 0 && m_settings.temperatureCycleMs > 0) {
        // Each tank on its own phase, so that they do not all move together.
        const double turn = static_cast<double>(m_elapsedMs % m_settings.temperatureCycleMs) /
                            static_cast<double>(m_settings.temperatureCycleMs);
        m_info.temperature =
            m_baseTemperature + m_settings.temperatureSwing * std::sin(2 * kPi * turn + m_info.id);
    }
}

bool TankGauge::ReportDue(int64_t nowMs) const {
    const TankStatusRecord s = Status();
    if (s.state != m_reportedState || s.alarmsMask != m_reportedAlarms) return true;
    const bool moved = s.gaugeVolume != m_reportedVolume ||
                       std::fabs(s.gaugeTemperature - m_reportedTemperature) >= 0.1;
    return moved && nowMs - m_reportedMs >= m_settings.tankIntervalMs;
}

void TankGauge::Reported(int64_t nowMs) {
    const TankStatusRecord s = Status();
    m_reportedState = s.state;
    m_reportedAlarms = s.alarmsMask;
    m_reportedVolume = s.gaugeVolume;
    m_reportedTemperature = s.gaugeTemperature;
    m_reportedMs = nowMs;
}

int32_t TankGauge::TakeNewAlarms() {
    const int32_t now = Alarms();
    const int32_t raised = now & ~m_knownAlarms;
    m_knownAlarms = now;
    return raised;
}

} // namespace qvserver
