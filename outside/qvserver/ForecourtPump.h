// One pump's state machine: reservations, authorisations, the running sale at its flow rate,
// the stops and the time-outs. Each call returns 0 or a result code (QVClient.h, QVCodes.h)
// and changes nothing when it fails. A sale that ends is handed out by TakeFinished; the
// forecourt turns it into a delivery and reports the pump's status.
#pragma once
#include <cstdint>
#include <deque>
#include <optional>

#include "outside/qvclient/QVCodes.h"
#include "outside/qvserver/ForecourtEvents.h"
#include "outside/qvserver/ForecourtSettings.h"
#include "outside/qvserver/ForecourtSite.h"

namespace qvserver {

// What a delivery may be: who allowed it, for what, up to which limit and on which hoses.
struct Authorisation {
    int16_t reserve = RESERVE_AUTHORISED; // ReservedFor while authorised
    int16_t deliveryType = DELIVERY_TYPE_POSTPAY;
    int32_t by = -1;                // the client that authorised (ReservedBy)
    int16_t limitType = LIMIT_NONE; // LIMIT_VALUE or LIMIT_VOLUME bound the sale
    double limit = 0;               // 0: no limit
    int32_t hoseMask = HOSE_ALL;    // bit 1 for hose 1, 2 for hose 2, 4 for hose 3, ...
    int16_t priceLevel = 0;         // 0: the pump's default level
    double price = 0;               // 0: the hose's price at that level
    int64_t tag = -1;
    int32_t attendantID = -1;
    int32_t cardClientID = -1;
};

// A sale that ended: what the forecourt needs to make a delivery of it.
struct FinishedSale {
    size_t hose = 0; // index into the pump's hoses
    int16_t priceLevel = 1;
    double price = 0;
    double volume = 0; // rounded to 3 decimals
    double value = 0;  // rounded to 2 decimals
    int64_t startMs = 0;
    int64_t endMs = 0;
    double peakFlowRate = 0;
    Authorisation auth;
    bool ranDry = false; // ended because its tank ran empty

    bool Zero() const { return volume <= 0; }
};

// What a time-out did to the pump (for the log).
enum class PumpTimeout { None, Reserve, Authorise, Prepay, NozzleLeftOut };

class ForecourtPump {
  public:
    ForecourtPump(const PumpInfo& info, const Site& site, const ForecourtSettings& settings);

    const PumpInfo& Info() const { return m_info; }
    PumpInfo& MutableInfo() { return m_info; } // hose totals move with each delivery
    // Takes new properties and hoses: at once when no nozzle is out, else when it is hung up
    // (the hose totals the pump counted meanwhile are kept).
    void Reconfigure(const PumpInfo& info);
    int16_t State() const;
    PumpStatusRecord Status() const;
    bool Delivering() const { return m_sale == Sale::Flowing || m_sale == Sale::TempStopped; }
    // The hose of the running sale (or the lifted nozzle), null when none.
    const HoseInfo* CurrentHose() const;

    // Why the pump may not start a new sale (RESULT_STACK_FULL, RESULT_CURRENT_NOT_STACKED), 0
    // when it may; kept up to date by the forecourt from the pump's deliveries.
    void SetStackBlock(int32_t result) { m_stackBlock = result; }
    void SetStackSize(int32_t n) { m_stackSize = n; }
    // The attendant logged on at the pump (-1: none); sales that name no attendant are theirs,
    // else the pump's configured attendant's.
    void SetAttendant(int32_t attendantID) { m_attendant = attendantID; }
    int32_t Attendant() const { return m_attendant; }

    // Client calls. lockedKind is RESERVE_PREPAY_LOCKED, RESERVE_PREAUTH_LOCKED,
    // RESERVE_PAYMENT_LOCKED or RESERVE_TAG_LOCKED.
    int32_t Reserve(int16_t lockedKind, int32_t client, int64_t nowMs);
    // Ends a reservation of that kind (locked, authorised, or a timed-out prepay).
    int32_t CancelReserve(int16_t lockedKind, int32_t client);
    // Every authorise flavour. a.reserve one above a locked kind authorises that reservation
    // (the same client only); RESERVE_AUTHORISED on a pump the same client reserved does too.
    int32_t Authorise(Authorisation a, int64_t nowMs);
    int32_t CancelAuthorise();
    int32_t TempStop();
    // Resumes a temporarily stopped sale, or a pump stopped by AllStop.
    int32_t ReAuthorise();
    // Ends the running sale where it is, or drops an authorisation whose sale has not started.
    int32_t Terminate(int64_t nowMs);
    void Stop();       // AllStop
    void StopIfIdle(); // AllStopIfIdle: pumps without a running sale
    int32_t Enable();
    int32_t Disable();

    // Driver inputs: the forecourt's hardware.
    int32_t NozzleUp(int32_t hoseNumber, int64_t nowMs);
    int32_t NozzleDown(int64_t nowMs);
    int32_t SetFlowRate(double litresPerMinute);
    // errorState: PUMP_STATE_COMMS_ERROR, PUMP_STATE_ERROR or PUMP_STATE_PRICE_ERROR; 0 clears.
    int32_t SetError(int16_t errorState, int64_t nowMs);
    void SetOffline(bool offline, int64_t nowMs);

    // Delivers for dtMs; available: litres left in the hose's tank (negative: no limit). The
    // litres drawn.
    double Step(int64_t dtMs, int64_t nowMs, double available);
    PumpTimeout CheckTimeouts(int64_t nowMs);
    bool TakeFinished(FinishedSale& out);

  private:
    enum class Sale { None, Flowing, TempStopped, Finished, LeftOut };

    bool Out() const { return m_offline || m_error != 0; }
    bool HoseAllowed(size_t hose) const;
    int16_t PriceLevelOf(const Authorisation& a) const;
    int32_t AttendantOf(const Authorisation& a) const;
    void StartSale(int64_t nowMs);
    // The flow of a running sale as the trigger is held (slowed near its limit).
    void ResumeFlow();
    void FinishSale(int64_t nowMs, bool ranDry);
    void DropAuthorisation();
    // Authorises itself on a lifted nozzle in auto and monitor modes.
    void SelfAuthorise(int64_t nowMs);
    double RemainingToLimit() const;

    PumpInfo m_info;
    const Site& m_site;
    const ForecourtSettings& m_settings;

    bool m_offline = false;
    int16_t m_error = 0; // error state, 0 when none
    bool m_disabled = false;
    bool m_allStopped = false;
    bool m_prepayTimedOut = false;

    int m_nozzle = -1; // index of the lifted hose, -1 when all are in
    int16_t m_reservedFor = RESERVE_NONE;
    int32_t m_reservedBy = -1;
    bool m_authorised = false;
    Authorisation m_auth;
    int64_t m_deadlineMs = 0; // of the reservation or authorisation waiting

    Sale m_sale = Sale::None;
    size_t m_saleHose = 0;
    int16_t m_salePriceLevel = 1;
    double m_salePrice = 0;
    double m_volume = 0;
    double m_value = 0;
    double m_flowRate; // litres per minute while the trigger is held
    double m_curFlow = 0;
    double m_peakFlow = 0;
    bool m_slowing = false;
    int64_t m_flowFromMs = 0; // a starting pump (motor not yet up) flows from then on
    bool m_starting = false;  // the sale waits for m_flowFromMs
    bool m_lastShown = false; // an idle pump shows the amounts of its last sale, as a display does
    int64_t m_saleStartMs = 0;
    int64_t m_finishedMs = 0;

    int32_t m_attendant = -1; // logged on at the pump
    int32_t m_stackBlock = 0;
    int32_t m_stackSize = 0;
    std::deque<FinishedSale> m_finished;
    std::optional<PumpInfo> m_pendingInfo; // properties waiting for the nozzle to go back
};

} // namespace qvserver
