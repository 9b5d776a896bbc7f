// One tank's gauge: the volume falls as its hoses deliver and rises during a drop; the other
// readings (compensated volume, ullage, level) and the state and alarms follow the volume. The
// product's temperature swings slowly about the stored one when the settings ask for it.
#pragma once
#include <cstdint>

#include "outside/qvserver/ForecourtEvents.h"
#include "outside/qvserver/ForecourtSettings.h"
#include "outside/qvserver/ForecourtSite.h"

namespace qvserver {

class TankGauge {
  public:
    TankGauge(const TankInfo& info, const ForecourtSettings& settings);

    const TankInfo& Info() const { return m_info; }
    // Takes new properties; the gauge keeps its own volume (within the new capacity).
    void Reconfigure(const TankInfo& info);
    TankStatusRecord Status() const;

    // Takes up to `litres`; the litres it had.
    double Draw(double litres);
    // Litres left to draw.
    double Available() const { return m_info.volume; }
    // Starts (or adds to) a drop. 2 when the volume is not above 0 or does not fit in the ullage
    // left after the drops still running.
    int32_t StartDrop(double litres);
    void SetGaugeFault(bool fault) { m_fault = fault; }
    // Moves a running drop on and settles the state for the step that ended.
    void Step(int64_t dtMs);

    // True when the state or alarms changed since the last report, or the readings moved (the
    // volume, or the temperature by a tenth of a degree) and the tank interval has passed.
    bool ReportDue(int64_t nowMs) const;
    void Reported(int64_t nowMs);
    // Alarm bits raised since the last call.
    int32_t TakeNewAlarms();

  private:
    int32_t Alarms() const;
    int16_t StateOf(int32_t alarms) const;
    double Level() const;

    TankInfo m_info;
    const ForecourtSettings& m_settings;
    double m_tcRatio = 1;  // compensated volume per litre, from the first reading
    double m_dropLeft = 0; // litres of drops still to come in
    bool m_drawn = false;  // drawn from during the running step
    bool m_fellLastStep = false;
    bool m_roseLastStep = false;
    bool m_fault = false;
    int16_t m_reportedState = -1;
    int32_t m_reportedAlarms = -1;
    double m_reportedVolume = -1;
    double m_reportedTemperature = 0;
    double m_baseTemperature = 0; // the stored temperature the swing goes about
    int64_t m_elapsedMs = 0;      // gauge time, for the swing
    int64_t m_reportedMs = 0;
    int32_t m_knownAlarms = 0;
};

} // namespace qvserver
