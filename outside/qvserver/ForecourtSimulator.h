// Customers who come and go on their own, for demonstrations: at every pump they arrive at
// random, lift a hose, wait for the cashier (or pay before, when the pump takes prepays),
// deliver a random amount, hang up and pay; a tanker refills every tank that runs low. The same
// seed on the same site gives the same forecourt, event for event. Real clients may act on the
// same pumps; the customers cope with what they find (a pump not idle is left for later).
#pragma once
#include <cstdint>
#include <random>
#include <vector>

#include "outside/qvserver/Forecourt.h"

namespace qvserver {

struct SimulatorSettings {
    int64_t tickMs = 100;          // customers act between steps of this length
    int64_t meanArrivalMs = 90000; // mean time between two customers at one pump
    int64_t patienceMs = 60000;    // a customer not served by then hangs up and leaves
    bool cashier = true;           // the simulated cashier authorises and takes payments
    int32_t cashierID = 9000;      // the client ID the cashier acts under
    double prepayShare = 0.25;     // customers who pay first where the pump allows it
    double minLitres = 5, maxLitres = 60;
    int64_t tankerDelayMs = 600000; // from a tank's low alarm to its drop
};

class ForecourtSimulator {
  public:
    // The forecourt must outlive the simulator; both run under the caller's lock.
    ForecourtSimulator(Forecourt& forecourt, uint32_t seed, SimulatorSettings settings = {});

    // Moves the forecourt on by ms, the customers acting after each step.
    void Advance(int64_t ms);
    // Customers who drove away with fuel.
    int32_t Served() const { return m_served; }

  private:
    enum class Step { Away, Waiting, Fuelling, Paying };
    struct Lane { // one pump's customer
        int32_t pumpID = 0;
        Step step = Step::Away;
        int64_t dueMs = 0;     // when the next action is due
        int64_t arrivedMs = 0; // for the customer's patience
        double litres = 0;     // what the customer wants
        bool prepaid = false;
        int32_t deliveryID = 0; // the sale to pay for
    };
    struct Tanker {
        int32_t tankID = 0;
        int64_t dueMs = -1;    // -1: none coming
        bool refilled = false; // dropped, its low alarm not yet gone
    };

    double Uniform(); // in [0, 1)
    int64_t NextArrival();
    void Act(Lane& lane, int64_t nowMs);
    void Arrive(Lane& lane, int64_t nowMs);
    void Leave(Lane& lane, int64_t nowMs);
    void Tankers(int64_t nowMs);

    Forecourt& m_fc;
    SimulatorSettings m_settings;
    std::mt19937 m_random;
    std::vector<Lane> m_lanes;
    std::vector<Tanker> m_tankers;
    int32_t m_served = 0;
};

} // namespace qvserver
