// The pump's state is derived from a few facts (out of order, stopped, nozzle, reservation,
// authorisation, sale) rather than stored, so that no transition can leave them disagreeing.
#include "outside/qvserver/ForecourtPump.h"

#include <algorithm>
#include <cmath>

#include "outside/qvclient/QVClient.h"

namespace qvserver {

namespace {

double Round(double v, double unit) {
    return std::round(v / unit) * unit;
}

// The kind of sale a reservation makes once authorised.
int16_t TypeOfReserve(int16_t reserve) {
    switch (reserve) {
    case RESERVE_PREPAY:
        return DELIVERY_TYPE_PREPAY;
    case RESERVE_PREAUTH:
    case RESERVE_TAG:
        return DELIVERY_TYPE_PREAUTH;
    case RESERVE_PAYMENT:
        return DELIVERY_TYPE_PAYMENT;
    default:
        return DELIVERY_TYPE_POSTPAY;
    }
}

bool IsLockedKind(int16_t kind) {
    return kind == RESERVE_PREPAY_LOCKED || kind == RESERVE_PREAUTH_LOCKED ||
           kind == RESERVE_PAYMENT_LOCKED || kind == RESERVE_TAG_LOCKED;
}

} // namespace

ForecourtPump::ForecourtPump(const PumpInfo& info, const Site& site,
                             const ForecourtSettings& settings)
    : m_info(info), m_site(site), m_settings(settings), m_flowRate(settings.defaultFlowRate) {}

int16_t ForecourtPump::State() const {
    if (m_offline) return PUMP_STATE_OFFLINE;
    if (m_error != 0) return m_error;
    if (m_disabled) return PUMP_STATE_DISABLED;
    if (m_allStopped && m_sale != Sale::Finished && m_sale != Sale::LeftOut)
        return PUMP_STATE_STOPPED;
    switch (m_sale) {
    case Sale::Flowing:
        if (m_curFlow <= 0) return PUMP_STATE_STARTING;
        return m_slowing ? PUMP_STATE_SLOWING : PUMP_STATE_DELIVERING;
    case Sale::TempStopped:
        return PUMP_STATE_TEMP_STOPPED;
    case Sale::Finished:
        return PUMP_STATE_FINISHED;
    case Sale::LeftOut:
        return PUMP_STATE_NOZZLE_LEFT_OUT;
    case Sale::None:
        break;
    }
    if (m_prepayTimedOut) return PUMP_STATE_PREPAY_TIMEOUT;
    if (m_authorised) return m_nozzle >= 0 ? PUMP_STATE_CALLING : PUMP_STATE_AUTHORISED;
    if (IsLockedKind(m_reservedFor)) return PUMP_STATE_LOCKED;
    return m_nozzle >= 0 ? PUMP_STATE_CALLING : PUMP_STATE_IDLE;
}

const HoseInfo* ForecourtPump::CurrentHose() const {
    if (m_sale != Sale::None) return &m_info.hoses[m_saleHose];
    if (m_nozzle >= 0) return &m_info.hoses[static_cast<size_t>(m_nozzle)];
    return nullptr;
}

PumpStatusRecord ForecourtPump::Status() const {
    PumpStatusRecord r;
    r.pumpID = m_info.id;
    r.pumpNumber = m_info.number;
    r.state = State();
    r.reservedFor = m_reservedFor;
    r.reservedBy = m_reservedBy;
    r.stackSize = m_stackSize;
    if (const HoseInfo* h = CurrentHose()) {
        r.hoseID = h->id;
        r.hoseNumber = h->number;
        r.hosePhysicalNumber = h->physicalNumber;
        if (const GradeInfo* g = m_site.GradeOfHose(*h)) {
            r.gradeID = g->id;
            r.gradeNumber = g->number;
            r.gradeName = g->name;
            r.shortGradeName = g->shortName;
        }
        if (m_sale != Sale::None) {
            r.priceLevel = m_salePriceLevel;
            r.price = m_salePrice;
        } else {
            r.priceLevel = m_authorised ? PriceLevelOf(m_auth) : PriceLevelOf(Authorisation{});
            r.price =
                m_authorised && m_auth.price > 0 ? m_auth.price : m_site.PriceOf(*h, r.priceLevel);
        }
    }
    if (m_sale != Sale::None) {
        r.volume = Round(m_volume, 0.001);
        r.value = Round(m_value, 0.01);
        r.curFlowRate = m_curFlow;
        r.peakFlowRate = m_peakFlow;
    } else if (m_lastShown) {
        // The display keeps the last sale until the next one starts.
        r.volume = Round(m_volume, 0.001);
        r.value = Round(m_value, 0.01);
        if (!CurrentHose()) r.price = m_salePrice;
    }
    if (m_authorised || m_sale != Sale::None) {
        r.tag = m_auth.tag;
        r.attendantID = m_auth.attendantID;
        r.cardClientID = m_auth.cardClientID;
    }
    return r;
}

bool ForecourtPump::HoseAllowed(size_t hose) const {
    const HoseInfo& h = m_info.hoses[hose];
    if (!h.enabled) return false;
    const int bit = h.number >= 1 && h.number <= 8 ? 1 << (h.number - 1) : 0;
    return (m_auth.hoseMask & bit) != 0;
}

int16_t ForecourtPump::PriceLevelOf(const Authorisation& a) const {
    if (a.priceLevel >= 1) return a.priceLevel;
    return m_info.priceLevel1 >= 1 && m_info.priceLevel1 <= 8 ? m_info.priceLevel1 : 1;
}

int32_t ForecourtPump::AttendantOf(const Authorisation& a) const {
    if (a.attendantID != -1) return a.attendantID;
    return m_attendant != -1 ? m_attendant : m_info.attendantID;
}

int32_t ForecourtPump::Reserve(int16_t lockedKind, int32_t client, int64_t nowMs) {
    if (Out() || m_allStopped) return RESULT_WRONG_PUMP_STATE;
    if (m_disabled) return RESULT_PUMP_DISABLED;
    if (lockedKind == RESERVE_PREPAY_LOCKED && !m_info.prepayAllowed) return RESULT_NOT_ALLOWED;
    if (lockedKind == RESERVE_PREAUTH_LOCKED && !m_info.preauthAllowed) return RESULT_NOT_ALLOWED;
    if (m_reservedFor != RESERVE_NONE || m_prepayTimedOut) return RESULT_PUMP_RESERVED;
    if (m_authorised || m_sale != Sale::None) return RESULT_WRONG_PUMP_STATE;
    m_reservedFor = lockedKind;
    m_reservedBy = client;
    m_deadlineMs = nowMs + m_settings.reserveTimeoutMs;
    return QV_OK;
}

int32_t ForecourtPump::CancelReserve(int16_t lockedKind, int32_t client) {
    if (m_reservedFor != lockedKind && m_reservedFor != lockedKind + 1)
        return RESULT_WRONG_PUMP_STATE;
    if (m_reservedBy != client) return RESULT_PUMP_RESERVED;
    if (Delivering()) return RESULT_DELIVERY_STARTED;
    m_authorised = false;
    m_prepayTimedOut = false;
    m_auth = Authorisation{};
    m_reservedFor = RESERVE_NONE;
    m_reservedBy = -1;
    return QV_OK;
}

int32_t ForecourtPump::Authorise(Authorisation a, int64_t nowMs) {
    if (a.limit < 0 || a.price < 0 || a.priceLevel < 0 || a.priceLevel > 8)
        return QV_INVALID_ARGUMENT;
    if (a.limit > 0 && a.limitType != LIMIT_VALUE && a.limitType != LIMIT_VOLUME)
        return QV_INVALID_ARGUMENT;
    if (Out() || m_allStopped) return RESULT_WRONG_PUMP_STATE;
    if (m_disabled) return RESULT_PUMP_DISABLED;
    if (m_authorised || m_sale != Sale::None || m_prepayTimedOut) return RESULT_WRONG_PUMP_STATE;
    if (a.reserve == RESERVE_AUTHORISED && IsLockedKind(m_reservedFor)) {
        // The reserving client's plain authorise takes up its reservation.
        if (m_reservedBy != a.by) return RESULT_PUMP_RESERVED;
        a.reserve = static_cast<int16_t>(m_reservedFor + 1);
        a.deliveryType = TypeOfReserve(a.reserve);
    } else if (a.reserve != RESERVE_AUTHORISED && a.reserve != RESERVE_NONE) {
        if (m_reservedFor != a.reserve - 1) return RESULT_WRONG_PUMP_STATE;
        if (m_reservedBy != a.by) return RESULT_PUMP_RESERVED;
    } else if (m_reservedFor != RESERVE_NONE) {
        return RESULT_PUMP_RESERVED;
    }
    if (m_stackBlock != 0) return m_stackBlock;
    a.attendantID = AttendantOf(a);
    m_auth = a;
    m_authorised = true;
    m_reservedFor = a.reserve;
    m_reservedBy = a.reserve == RESERVE_NONE ? -1 : a.by;
    m_deadlineMs = nowMs + m_settings.authoriseTimeoutMs;
    if (m_nozzle >= 0 && HoseAllowed(static_cast<size_t>(m_nozzle))) StartSale(nowMs);
    return QV_OK;
}

int32_t ForecourtPump::CancelAuthorise() {
    if (Delivering()) return RESULT_DELIVERY_STARTED;
    if (!m_authorised) return RESULT_WRONG_PUMP_STATE;
    DropAuthorisation();
    return QV_OK;
}

void ForecourtPump::DropAuthorisation() {
    m_authorised = false;
    m_auth = Authorisation{};
    m_reservedFor = RESERVE_NONE;
    m_reservedBy = -1;
}

int32_t ForecourtPump::TempStop() {
    if (Out() || m_sale != Sale::Flowing) return RESULT_WRONG_PUMP_STATE;
    m_sale = Sale::TempStopped;
    m_curFlow = 0;
    return QV_OK;
}

int32_t ForecourtPump::ReAuthorise() {
    if (Out()) return RESULT_WRONG_PUMP_STATE;
    if (m_allStopped) {
        m_allStopped = false;
        if (m_sale == Sale::Flowing) ResumeFlow();
        return QV_OK;
    }
    if (m_sale != Sale::TempStopped) return RESULT_WRONG_PUMP_STATE;
    m_sale = Sale::Flowing;
    ResumeFlow();
    return QV_OK;
}

int32_t ForecourtPump::Terminate(int64_t nowMs) {
    if (Out()) return RESULT_WRONG_PUMP_STATE;
    if (Delivering()) {
        FinishSale(nowMs, false);
        return QV_OK;
    }
    if (m_authorised) {
        DropAuthorisation();
        return QV_OK;
    }
    return RESULT_WRONG_PUMP_STATE;
}

void ForecourtPump::Stop() {
    m_allStopped = true;
    m_curFlow = 0;
}

void ForecourtPump::StopIfIdle() {
    if (!Delivering()) m_allStopped = true;
}

int32_t ForecourtPump::Enable() {
    m_disabled = false;
    return QV_OK;
}

int32_t ForecourtPump::Disable() {
    if (Delivering()) return RESULT_DELIVERY_STARTED;
    // A reservation is its client's to cancel; a plain authorisation is dropped.
    if (m_prepayTimedOut || m_reservedFor >= RESERVE_PREPAY_LOCKED) return RESULT_PUMP_RESERVED;
    if (m_authorised) DropAuthorisation();
    m_disabled = true;
    return QV_OK;
}

int32_t ForecourtPump::NozzleUp(int32_t hoseNumber, int64_t nowMs) {
    if (m_offline) return RESULT_WRONG_PUMP_STATE;
    if (m_nozzle >= 0) return RESULT_WRONG_PUMP_STATE; // one nozzle at a time
    for (size_t k = 0; k < m_info.hoses.size(); ++k) {
        if (m_info.hoses[k].number != hoseNumber) continue;
        m_nozzle = static_cast<int>(k);
        if (m_error != 0 || m_disabled || m_allStopped || m_prepayTimedOut) return QV_OK;
        if (m_authorised) {
            if (HoseAllowed(k)) StartSale(nowMs);
        } else {
            SelfAuthorise(nowMs);
        }
        return QV_OK;
    }
    return QV_INVALID_ARGUMENT;
}

void ForecourtPump::SelfAuthorise(int64_t nowMs) {
    const bool monitor = m_info.authMode == AUTH_MODE_MONITOR;
    if ((!monitor && m_info.authMode != AUTH_MODE_AUTO) || m_reservedFor != RESERVE_NONE) return;
    if (!monitor && m_stackBlock != 0) return;
    if (!m_info.hoses[static_cast<size_t>(m_nozzle)].enabled) return;
    Authorisation a;
    a.reserve = RESERVE_NONE;
    a.deliveryType = monitor ? DELIVERY_TYPE_MONITOR : DELIVERY_TYPE_POSTPAY;
    a.attendantID = AttendantOf(a);
    m_auth = a;
    m_authorised = true;
    StartSale(nowMs);
}

int32_t ForecourtPump::NozzleDown(int64_t nowMs) {
    if (m_nozzle < 0) return RESULT_WRONG_PUMP_STATE;
    if (Delivering()) FinishSale(nowMs, false);
    m_lastShown = m_sale != Sale::None && m_volume > 0;
    m_sale = Sale::None;
    m_nozzle = -1;
    m_curFlow = m_peakFlow = 0;
    m_starting = false;
    if (m_pendingInfo) {
        PumpInfo info = std::move(*m_pendingInfo);
        m_pendingInfo.reset();
        for (HoseInfo& h : info.hoses)
            for (const HoseInfo& counted : m_info.hoses)
                if (counted.id == h.id) {
                    h.elecVolume = counted.elecVolume;
                    h.elecValue = counted.elecValue;
                }
        m_info = std::move(info);
    }
    return QV_OK;
}

void ForecourtPump::Reconfigure(const PumpInfo& info) {
    if (m_nozzle < 0 && m_sale == Sale::None) {
        m_info = info;
        m_pendingInfo.reset();
    } else {
        m_pendingInfo = info;
    }
}

int32_t ForecourtPump::SetFlowRate(double litresPerMinute) {
    if (!(litresPerMinute >= 0) || litresPerMinute > 1000) return QV_INVALID_ARGUMENT;
    m_flowRate = litresPerMinute;
    if (m_sale == Sale::Flowing && !m_allStopped) ResumeFlow();
    return QV_OK;
}

int32_t ForecourtPump::SetError(int16_t errorState, int64_t nowMs) {
    if (errorState != 0 && errorState != PUMP_STATE_COMMS_ERROR && errorState != PUMP_STATE_ERROR &&
        errorState != PUMP_STATE_PRICE_ERROR)
        return QV_INVALID_ARGUMENT;
    // A fault ends the running sale where it stands: what flowed was sold.
    if (errorState != 0 && Delivering()) FinishSale(nowMs, false);
    if (errorState != 0 && m_authorised && m_sale == Sale::None) DropAuthorisation();
    m_error = errorState;
    return QV_OK;
}

void ForecourtPump::SetOffline(bool offline, int64_t nowMs) {
    if (offline && Delivering()) FinishSale(nowMs, false);
    if (offline && m_authorised && m_sale == Sale::None) DropAuthorisation();
    m_offline = offline;
}

void ForecourtPump::StartSale(int64_t nowMs) {
    m_sale = Sale::Flowing;
    m_saleHose = static_cast<size_t>(m_nozzle);
    m_salePriceLevel = PriceLevelOf(m_auth);
    m_salePrice = m_auth.price > 0 ? m_auth.price
                                   : m_site.PriceOf(m_info.hoses[m_saleHose], m_salePriceLevel);
    m_volume = m_value = m_curFlow = m_peakFlow = 0;
    m_lastShown = false;
    m_slowing = false;
    m_saleStartMs = nowMs;
    // The pump reports starting until its motor is up.
    m_starting = m_settings.startingMs > 0;
    m_flowFromMs = nowMs + m_settings.startingMs;
    ResumeFlow();
}

void ForecourtPump::ResumeFlow() {
    if (m_starting) return;
    m_curFlow = m_slowing ? m_flowRate * m_settings.slowFactor : m_flowRate;
    m_peakFlow = std::max(m_peakFlow, m_curFlow);
}

double ForecourtPump::RemainingToLimit() const {
    if (m_auth.limit <= 0) return -1;
    if (m_auth.limitType == LIMIT_VOLUME) return std::max(0.0, m_auth.limit - m_volume);
    if (m_auth.limitType == LIMIT_VALUE && m_salePrice > 0)
        return std::max(0.0, (m_auth.limit - m_value) / m_salePrice);
    return -1;
}

double ForecourtPump::Step(int64_t dtMs, int64_t nowMs, double available) {
    if (m_sale != Sale::Flowing || m_allStopped || Out()) {
        m_curFlow = 0;
        return 0;
    }
    if (m_starting) {
        if (nowMs < m_flowFromMs) return 0;
        // Up: the part of this step after the motor came up delivers.
        m_starting = false;
        dtMs = std::min(dtMs, nowMs - m_flowFromMs);
    }
    const double remaining = RemainingToLimit();
    m_slowing = remaining >= 0 && remaining <= m_settings.slowZone;
    const double rate = m_slowing ? m_flowRate * m_settings.slowFactor : m_flowRate;
    m_curFlow = rate;
    m_peakFlow = std::max(m_peakFlow, rate);
    double litres = rate * static_cast<double>(dtMs) / 60000.0;
    bool reached = remaining >= 0 && litres >= remaining;
    if (reached) litres = remaining;
    bool dry = false;
    if (available >= 0 && litres > available) {
        litres = available;
        dry = true;
        reached = false;
    }
    m_volume += litres;
    m_value = m_volume * m_salePrice;
    if (reached && !dry) {
        // Land exactly on the limit the customer asked for.
        if (m_auth.limitType == LIMIT_VALUE) {
            m_value = m_auth.limit;
            m_volume = m_auth.limit / m_salePrice;
        } else {
            m_volume = m_auth.limit;
            m_value = m_volume * m_salePrice;
        }
    }
    if (reached || dry) FinishSale(nowMs, dry);
    return litres;
}

void ForecourtPump::FinishSale(int64_t nowMs, bool ranDry) {
    m_starting = false;
    FinishedSale f;
    f.hose = m_saleHose;
    f.priceLevel = m_salePriceLevel;
    f.price = m_salePrice;
    f.volume = Round(m_volume, 0.001);
    f.value = Round(m_value, 0.01);
    f.startMs = m_saleStartMs;
    f.endMs = nowMs;
    f.peakFlowRate = m_peakFlow;
    f.auth = m_auth;
    f.ranDry = ranDry;
    m_finished.push_back(f);
    m_sale = Sale::Finished;
    m_curFlow = 0;
    m_slowing = false;
    m_finishedMs = nowMs;
    m_authorised = false;
    m_reservedFor = RESERVE_NONE;
    m_reservedBy = -1;
}

PumpTimeout ForecourtPump::CheckTimeouts(int64_t nowMs) {
    if (m_sale == Sale::Finished && nowMs - m_finishedMs >= m_settings.nozzleLeftOutMs) {
        m_sale = Sale::LeftOut;
        return PumpTimeout::NozzleLeftOut;
    }
    if (m_sale != Sale::None || nowMs < m_deadlineMs) return PumpTimeout::None;
    if (m_authorised) {
        if (m_auth.reserve == RESERVE_PREPAY) {
            // The prepay stays the client's until it cancels (and refunds) it.
            m_authorised = false;
            m_prepayTimedOut = true;
            return PumpTimeout::Prepay;
        }
        DropAuthorisation();
        return PumpTimeout::Authorise;
    }
    if (IsLockedKind(m_reservedFor)) {
        m_reservedFor = RESERVE_NONE;
        m_reservedBy = -1;
        return PumpTimeout::Reserve;
    }
    return PumpTimeout::None;
}

bool ForecourtPump::TakeFinished(FinishedSale& out) {
    if (m_finished.empty()) return false;
    out = m_finished.front();
    m_finished.pop_front();
    return true;
}

} // namespace qvserver
