// The living forecourt: every pump's state machine, the deliveries on the pumps, the tank
// gauges and the simulated clock, driven by client calls, by the hardware's inputs (nozzles,
// flow, faults, drops) and by Advance. Every change is reported to the sink as it happens and
// stored through the tables.
//
// Not thread-safe: the caller holds the store's lock (Store::Mutex()) around every call,
// Advance included, as the server does for every operation; the tables use the store unlocked.
//
// Results: 0 on success; QV_UNKNOWN_ID for an unknown pump, tank or delivery;
// QV_INVALID_ARGUMENT for a bad limit, price level, hose or volume; otherwise a TResult code
// (QVCodes.h) saying why the pump or delivery refused. A refused call changes nothing.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "outside/qvserver/ForecourtClock.h"
#include "outside/qvserver/ForecourtDeliveries.h"
#include "outside/qvserver/ForecourtEvents.h"
#include "outside/qvserver/ForecourtPump.h"
#include "outside/qvserver/ForecourtSettings.h"
#include "outside/qvserver/ForecourtSite.h"
#include "outside/qvserver/ForecourtTank.h"

namespace qvserver {

class Forecourt {
  public:
    // startOle: the local date and time at which the simulated clock starts.
    Forecourt(Site site, ForecourtSink& sink, ForecourtTables& tables, double startOle,
              ForecourtSettings settings = {});
    Forecourt(const Forecourt&) = delete;
    Forecourt& operator=(const Forecourt&) = delete;

    // Takes a fresh reading of the equipment after clients changed it. New prices and modes
    // apply from the next sale; a pump with a nozzle out keeps its hoses until it is hung up;
    // new pumps and tanks start idle and report their status; a removed pump's running sale is
    // completed first. Running tank gauges keep their own volumes. Deliveries are not re-read.
    void Reload(const Site& site);

    // ---- Time ----
    // Moves the clock on by ms in steps of at most the tick: flows, drops, time-outs.
    void Advance(int64_t ms);
    int64_t NowMs() const { return m_clock.NowMs(); }
    double NowOle() const { return m_clock.NowOle(); }

    // ---- Pump control (clientID: the calling client, stored as ReservedBy) ----
    int32_t Authorise(int32_t pumpID, int32_t clientID);
    int32_t CancelAuthorise(int32_t pumpID);
    // limitType LIMIT_VALUE or LIMIT_VOLUME (limit 0: none); hoseMask bit 1 = hose 1;
    // priceLevel 1..8, or 0 for the pump's default.
    int32_t LoadPreset(int32_t pumpID, int32_t clientID, int16_t limitType, double limit,
                       int32_t hoseMask, int16_t priceLevel);
    int32_t LoadPresetWithPrice(int32_t pumpID, int32_t clientID, int16_t limitType, double limit,
                                int32_t hoseMask, int16_t priceLevel, double price);
    int32_t TagAuthorise(int32_t pumpID, int32_t clientID, int64_t tag, int16_t limitType,
                         double limit, int16_t priceLevel);
    int32_t AttendantAuthorise(int32_t pumpID, int32_t clientID, int32_t attendantID);
    int32_t PrepayReserve(int32_t pumpID, int32_t reservedBy);
    int32_t PrepayCancel(int32_t pumpID, int32_t reservedBy);
    int32_t PrepayAuthorise(int32_t pumpID, int32_t reservedBy, int16_t limitType, double limit,
                            int16_t priceLevel);
    int32_t PreauthReserve(int32_t pumpID, int32_t reservedBy);
    int32_t PreauthCancel(int32_t pumpID, int32_t reservedBy);
    int32_t PreauthAuthorise(int32_t pumpID, int32_t reservedBy, int16_t limitType, double limit,
                             int16_t priceLevel);
    int32_t PaymentReserve(int32_t pumpID, int32_t reservedBy);
    int32_t PaymentCancel(int32_t pumpID, int32_t reservedBy);
    // presetType as limitType; priceType and authType do not change how the pump delivers.
    int32_t PaymentAuthorise(int32_t pumpID, int32_t reservedBy, int16_t presetType,
                             double presetValue, int16_t priceType, int16_t authType);
    int32_t TempStop(int32_t pumpID);
    int32_t ReAuthorise(int32_t pumpID);
    int32_t TerminateDelivery(int32_t pumpID);
    int32_t StackCurrentDelivery(int32_t pumpID);
    int32_t EnablePump(int32_t pumpID);
    int32_t DisablePump(int32_t pumpID);
    // The whole forecourt; they always succeed.
    int32_t AllStop();
    int32_t AllStopIfIdle();
    int32_t AllAuthorise(int32_t clientID); // every calling pump that may start
    int32_t AllReAuthorise();               // every stopped or temporarily stopped pump

    // ---- Deliveries ----
    int32_t LockDelivery(int32_t id, int32_t clientID);
    int32_t UnlockDelivery(int32_t id, int32_t clientID);
    int32_t ClearDelivery(int32_t id, int32_t clientID, int16_t type);
    int32_t LockAndClearDelivery(int32_t id, int32_t clientID, int16_t type);
    // A delivery on a pump with its age now; false when it is not on a pump.
    bool GetDelivery(int32_t id, DeliveryRecord& out) const;
    std::vector<int32_t> PumpDeliveries(int32_t pumpID) const;

    // ---- Hardware inputs (the test and demo driver) ----
    int32_t NozzleUp(int32_t pumpID, int32_t hoseNumber);
    int32_t NozzleDown(int32_t pumpID);
    int32_t SetFlowRate(int32_t pumpID, double litresPerMinute); // 0..1000
    // errorState: PUMP_STATE_COMMS_ERROR, PUMP_STATE_ERROR, PUMP_STATE_PRICE_ERROR, 0 clears.
    int32_t PumpError(int32_t pumpID, int16_t errorState);
    int32_t SetPumpOffline(int32_t pumpID, bool offline);
    int32_t TankDrop(int32_t tankID, double litres);
    int32_t SetTankGaugeFault(int32_t tankID, bool fault);

    // Sets a hose's electronic totals, from which it counts on (a running sale too), and stores
    // them; QV_UNKNOWN_ID for a hose on no pump.
    int32_t SetHoseTotals(int32_t hoseID, double volumeETot, double valueETot);
    // A fresh reading of every tank gauge, reported whether or not it changed.
    void ReadAllTanks();

    // ---- Attendants ----
    // The attendant's sales at that pump are theirs from now on (pumpID -1: logged on at no
    // pump); a logon elsewhere moves them. The caller checks that the attendant exists.
    int32_t AttendantLogon(int32_t attendantID, int32_t pumpID);
    // 3 when the attendant is not logged on.
    int32_t AttendantLogoff(int32_t attendantID);
    // Whether the attendant is logged on, and at which pump (-1: at none).
    bool AttendantPump(int32_t attendantID, int32_t& pumpID) const;

    // ---- Other records ----
    // Stores a product sale (its ID and date are set here) and reports it.
    int32_t AddSaleItem(SaleItemRecord item, int32_t& id);

    // ---- Reading ----
    bool GetPumpStatus(int32_t pumpID, PumpStatusRecord& out) const;
    bool GetTankStatus(int32_t tankID, TankStatusRecord& out) const;
    // The hose's electronic totals; false for an unknown hose.
    bool GetHoseTotals(int32_t hoseID, double& volume, double& value) const;
    // The site as it was loaded (hose totals move on in GetHoseTotals).
    const Site& GetSite() const { return m_site; }

  private:
    ForecourtPump* Pump(int32_t id);
    const ForecourtPump* Pump(int32_t id) const;
    TankGauge* Tank(int32_t id);
    const TankGauge* Tank(int32_t id) const;
    // Runs a pump call and reports what it changed.
    template <typename F> int32_t OnPump(int32_t pumpID, F call);
    int32_t AuthoriseWith(int32_t pumpID, const Authorisation& a);
    static Authorisation Reserved(int16_t reserve, int16_t deliveryType, int32_t by,
                                  int16_t limitType, double limit);
    int32_t Reserve(int32_t pumpID, int16_t kind, int32_t client);
    int32_t CancelReserve(int32_t pumpID, int16_t kind, int32_t client);
    void Settle(size_t pump);
    // Reports amounts that the report interval held back, before a call changes the pump, so
    // that the last report of a sale carries its final amounts.
    void Flush(size_t pump);
    void RefreshStack(size_t pump);
    void CompleteSales(size_t pump);
    void Complete(size_t pump, const FinishedSale& sale);
    void ReportDelivery(const DeliveryRecord& d);
    void StoreUpdate(const DeliveryRecord& d);
    void ReportTanks();
    void Log(int16_t deviceType, int32_t deviceID, int16_t level, int16_t type,
             const std::u16string& text, double volume = 0, double value = 0);
    void Tick(int64_t dtMs);

    Site m_site;
    ForecourtSink& m_sink;
    ForecourtTables& m_tables;
    ForecourtSettings m_settings;
    SimClock m_clock;
    DeliveryBook m_book;
    std::vector<ForecourtPump> m_pumps;
    std::vector<TankGauge> m_tanks;
    std::unordered_map<int32_t, size_t> m_pumpAt; // pump ID -> index
    std::unordered_map<int32_t, size_t> m_tankAt;
    std::vector<PumpStatusRecord> m_reported; // each pump's last reported status
    std::vector<int64_t> m_reportedMs;
    int32_t m_localDeliveryID = 0;                      // IDs for deliveries the database refused
    std::unordered_map<int32_t, int32_t> m_attendantAt; // logged-on attendant -> pump (-1 none)
};

} // namespace qvserver
