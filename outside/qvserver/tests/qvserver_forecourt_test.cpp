// The server's forecourt through the client library: a real qvserver on a manual clock, driven
// by 'qvserver ctl' (nozzles, flow, cards, drops, the clock) and by the library's pump calls.
// Events are awaited until they are there (bounded), never by sleeping.
// Addresses 127.0.12.1 .. 127.0.12.14.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

constexpr int32_t kPump1 = 1, kPump2 = 2, kHose11 = 11, kTank1 = 1;
constexpr int32_t kMaskAll = 0;
constexpr int32_t kMaskPumpOnly = 1 << (EVENT_PUMP_STATUS - 1);

// A logon with its client ID and event mask; 0 on failure.
int32_t LogonAs(const std::string& server, int32_t clientID, int32_t mask) {
    int32_t h = 0;
    BSTR name = Bstr("forecourt tester"), key = Bstr(""), host = Bstr(server);
    const int32_t r = InternalClientLogonMT(&h, clientID, 5, name, 1, key, mask, host, 5123, 5124,
                                            3000, 0, 0, 1024);
    platform::SysFreeString(name);
    platform::SysFreeString(key);
    platform::SysFreeString(host);
    return r == 0 ? h : 0;
}

// One pump status as GetNextPumpEventEx3 gives it.
struct PumpEv {
    int32_t pumpID = 0, pumpNumber = 0, reservedBy = 0, hoseID = 0, hoseNumber = 0, hosePhys = 0,
            gradeID = 0, gradeNumber = 0, portID = 0, attendantID = 0, attendantNumber = 0,
            cardClientID = 0, cardClientNumber = 0;
    int16_t state = 0, reservedFor = 0, priceLevel = 0, stackSize = 0, physicalNumber = 0, side = 0,
            address = 0, pl1 = 0, pl2 = 0, type = 0, authMode = 0, stackMode = 0, prepay = 0,
            preauth = 0, priceFmt = 0, valueFmt = 0, volumeFmt = 0;
    double price = 0, volume = 0, value = 0, curFlow = 0, peakFlow = 0;
    int64_t tag = 0, attendantTag = 0, cardClientTag = 0;
    std::string gradeName, shortGradeName, pumpName;
};

int32_t ReadPump(int32_t h, PumpEv& e) {
    Out grade, shortGrade, pump, att, cc;
    const int32_t r = GetNextPumpEventEx3MT(
        h, &e.pumpID, &e.pumpNumber, &e.state, &e.reservedFor, &e.reservedBy, &e.hoseID,
        &e.hoseNumber, &e.hosePhys, &e.gradeID, &e.gradeNumber, &grade, &shortGrade, &e.priceLevel,
        &e.price, &e.volume, &e.value, &e.stackSize, &pump, &e.physicalNumber, &e.side, &e.address,
        &e.pl1, &e.pl2, &e.type, &e.portID, &e.authMode, &e.stackMode, &e.prepay, &e.preauth,
        &e.priceFmt, &e.valueFmt, &e.volumeFmt, &e.tag, &e.attendantID, &e.attendantNumber, &att,
        &e.attendantTag, &e.cardClientID, &e.cardClientNumber, &cc, &e.cardClientTag, &e.curFlow,
        &e.peakFlow);
    e.gradeName = grade.str();
    e.shortGradeName = shortGrade.str();
    e.pumpName = pump.str();
    return r;
}

// One delivery as GetNextDeliveryEventEx3 gives it (the fields the tests look at).
struct DeliveryEv {
    int32_t id = 0, hoseID = 0, pumpID = 0, tankID = 0, gradeID = 0, lockedBy = 0, age = 0;
    int16_t state = 0, type = 0, priceLevel = 0;
    double volume = 0, price = 0, value = 0, oldVolumeETot = 0, newVolumeETot = 0, clearedDT = 0;
    std::string pumpName, tankName, gradeName;
};

int32_t ReadDelivery(int32_t h, DeliveryEv& e) {
    int32_t hoseNumber, hosePhys, pumpNumber, tankNumber, gradeNumber, reservedBy, attendantID,
        duration, attNumber, ccID, ccNumber;
    double volume2, completed, oldV2, oldValue, newV2, newValue;
    int64_t tag, attTag, ccTag;
    Out pumpName, tankName, gradeName, shortName, code, attName, ccName;
    const int32_t r = GetNextDeliveryEventEx3MT(
        h, &e.id, &e.hoseID, &hoseNumber, &hosePhys, &e.pumpID, &pumpNumber, &pumpName, &e.tankID,
        &tankNumber, &tankName, &e.gradeID, &gradeNumber, &gradeName, &shortName, &code, &e.state,
        &e.type, &e.volume, &e.priceLevel, &e.price, &e.value, &volume2, &completed, &e.lockedBy,
        &reservedBy, &attendantID, &e.age, &e.clearedDT, &e.oldVolumeETot, &oldV2, &oldValue,
        &e.newVolumeETot, &newV2, &newValue, &tag, &duration, &attNumber, &attName, &attTag, &ccID,
        &ccNumber, &ccName, &ccTag);
    e.pumpName = pumpName.str();
    e.tankName = tankName.str();
    e.gradeName = gradeName.str();
    return r;
}

struct PumpNow {
    int16_t state = -1, reservedFor = -1, priceLevel = 0;
    int32_t reservedBy = 0, hoseID = 0, hoseNumber = 0, gradeID = 0, stackSize = 0;
    double price = 0, volume = 0, value = 0;
};

class Forecourt : public ::testing::Test {
  protected:
    void Boot(const std::string& address) {
        m_server = std::make_unique<ServerProcess>(address, m_dir.Path(),
                                                   std::vector<std::string>{"--clock", "manual"});
        ASSERT_TRUE(m_server->Start("empty"));
        m_h = LogonAs(address, 7, kMaskAll);
        ASSERT_NE(m_h, 0);
        BuildSite();
        // The forecourt reads the new equipment and reports its pumps, the last one last.
        EXPECT_EQ(State(kPump1), PUMP_STATE_IDLE);
        PumpEv e;
        while (Await(m_h, EVENT_PUMP_STATUS) && ReadPump(m_h, e) == 0 && e.pumpID != kPump2) {
        }
        Drain(m_h);
    }
    void TearDown() override {
        if (m_h) ClientLogoffMT(&m_h);
    }

    // One grade at 2.000 a litre, one tank of 20000 l holding 10000 l, pump 1 authorised by
    // clients (prepay and preauthorisation allowed), pump 2 authorising itself; one hose each.
    void BuildSite() {
        BSTR name = Bstr("Unleaded"), shortName = Bstr("ULP"), code = Bstr("U95");
        ASSERT_EQ(SetGradePropertiesExMT(m_h, 1, 1, name, shortName, code, 1), 0);
        platform::SysFreeString(name);
        platform::SysFreeString(shortName);
        platform::SysFreeString(code);
        ASSERT_EQ(SetGradePriceMT(m_h, 1, 1, 2.0), 0);
        BSTR tank = Bstr("Tank 1");
        ASSERT_EQ(SetTankPropertiesEx2MT(m_h, kTank1, 1, tank, 1, 1, 20000, 2.5, 10000, 10000,
                                         10000, 10000, 15, 1200, 0, 0, 1, 1, 0, 0, 0, 0),
                  0);
        platform::SysFreeString(tank);
        for (int32_t p : {kPump1, kPump2}) {
            BSTR pump = Bstr("Pump " + std::to_string(p));
            ASSERT_EQ(SetPumpPropertiesExMT(m_h, p, p, pump, static_cast<int16_t>(p), 1, 1, 1, 2, 2,
                                            2, 2, 1, 0, -1,
                                            p == kPump1 ? AUTH_MODE_CLIENT : AUTH_MODE_AUTO,
                                            STACK_MODE_AUTO, 1, 1, 0, 0, 0, 1),
                      0);
            platform::SysFreeString(pump);
            ASSERT_EQ(SetHosePropertiesEx3MT(m_h, p * 10 + 1, 1, p, kTank1, 100 + p, 0, 0, 0, 0, 0,
                                             0, 0, 0, 0, 1),
                      0);
        }
    }

    // Runs 'qvserver ctl' against the server; its exit status.
    int Ctl(const std::string& command) {
        return qvtesting::ServerCtl(m_server->Address(), command);
    }

    PumpNow Status(int32_t pump) {
        PumpNow s;
        Out grade, shortGrade;
        EXPECT_EQ(GetPumpStatusMT(m_h, pump, &s.state, &s.reservedFor, &s.reservedBy, &s.hoseID,
                                  &s.hoseNumber, &s.gradeID, &grade, &shortGrade, &s.priceLevel,
                                  &s.price, &s.volume, &s.value, &s.stackSize),
                  0);
        return s;
    }
    int16_t State(int32_t pump) { return Status(pump).state; }

    // Waits (bounded) until an event of `type` is the oldest queued one, dropping the others;
    // false when none came.
    static bool Await(int32_t h, int16_t type) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < until) {
            EXPECT_EQ(ProcessEventsMT(h), 0);
            int16_t next = 0;
            while (GetNextEventTypeMT(h, &next) == 0 && next != 0) {
                if (next == type) return true;
                DiscardNextEventMT(h);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    // Drops every event that has arrived.
    static void Drain(int32_t h) {
        ProcessEventsMT(h);
        int16_t next = 0;
        while (GetNextEventTypeMT(h, &next) == 0 && next != 0)
            DiscardNextEventMT(h);
    }
    // What arrives until (and with) the first status of `pump` in state `last`: the pump's
    // states in order, and the types of every event.
    struct Seen {
        std::vector<int16_t> states;
        std::set<int16_t> types;
    };
    static Seen Until(int32_t h, int32_t pump, int16_t last) {
        Seen seen;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < until) {
            EXPECT_EQ(ProcessEventsMT(h), 0);
            int16_t next = 0;
            while (GetNextEventTypeMT(h, &next) == 0 && next != 0) {
                seen.types.insert(next);
                if (next != EVENT_PUMP_STATUS) {
                    DiscardNextEventMT(h);
                    continue;
                }
                PumpEv e;
                EXPECT_EQ(ReadPump(h, e), 0);
                if (e.pumpID != pump) continue;
                if (seen.states.empty() || seen.states.back() != e.state)
                    seen.states.push_back(e.state);
                if (e.state == last) return seen;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return seen;
    }

    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
    int32_t m_h = 0;
};

// ---- The state machine through the library's calls ----

TEST_F(Forecourt, PostpaySaleFromCallingToACurrentDeliveryInTheTable) {
    Boot("127.0.12.1");
    EXPECT_EQ(State(kPump1), PUMP_STATE_IDLE);
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    PumpNow s = Status(kPump1);
    EXPECT_EQ(s.state, PUMP_STATE_CALLING);
    EXPECT_EQ(s.hoseID, kHose11);
    EXPECT_DOUBLE_EQ(s.price, 2.0);
    ASSERT_EQ(AuthoriseMT(m_h, kPump1), 0);
    EXPECT_EQ(Status(kPump1).reservedBy, 7);
    ASSERT_EQ(Ctl("advance 30000"), 0); // 40 l/min for 30 s
    s = Status(kPump1);
    EXPECT_EQ(s.state, PUMP_STATE_DELIVERING);
    EXPECT_NEAR(s.volume, 20.0, 0.5);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);
    s = Status(kPump1);
    EXPECT_EQ(s.state, PUMP_STATE_IDLE);
    EXPECT_EQ(s.stackSize, 1);

    ASSERT_TRUE(Await(m_h, EVENT_DELIVERY));
    DeliveryEv d;
    ASSERT_EQ(ReadDelivery(m_h, d), 0);
    EXPECT_EQ(d.state, DELIVERY_STATE_CURRENT);
    EXPECT_EQ(d.pumpID, kPump1);
    EXPECT_EQ(d.hoseID, kHose11);
    EXPECT_EQ(d.tankName, "Tank 1");
    EXPECT_EQ(d.gradeName, "Unleaded");
    EXPECT_NEAR(d.value, d.volume * 2.0, 0.01);
    EXPECT_DOUBLE_EQ(d.newVolumeETot - d.oldVolumeETot, d.volume);

    // The same sale in the Deliveries table, and gone from the tank.
    int32_t pump = 0, hose = 0, lockedBy = 0, reservedBy = 0, attendant = 0, duration = 0, card = 0,
            grade = 0, tank = 0, clearedBy = 0;
    int16_t state = 0, type = 0, level = 0, logged = 0;
    double volume = 0, price = 0, value = 0, volume2 = 0, completed = 0, cleared = 0;
    int64_t tag = 0;
    ASSERT_EQ(GetDeliveryPropertiesEx4MT(m_h, d.id, &pump, &hose, &state, &type, &volume, &level,
                                         &price, &value, &volume2, &completed, &lockedBy,
                                         &reservedBy, &attendant, &cleared, &duration, &card, &tag,
                                         &grade, &tank, &logged, &clearedBy),
              0);
    EXPECT_EQ(pump, kPump1);
    EXPECT_EQ(state, DELIVERY_STATE_CURRENT);
    EXPECT_DOUBLE_EQ(volume, d.volume);
    EXPECT_DOUBLE_EQ(value, d.value);
    EXPECT_EQ(tank, kTank1);

    double gv = 0, tc = 0, ullage = 0, temp = 0, lvl = 0, wv = 0, wl = 0, cap = 0, dia = 0;
    int32_t number = 0, gradeID = 0, gauge = 0, alarms = 0;
    int16_t ttype = 0, probe = 0, tstate = 0;
    Out tname, gname;
    ASSERT_EQ(GetTankSummaryEx2MT(m_h, kTank1, &gv, &tc, &ullage, &temp, &lvl, &wv, &wl, &number,
                                  &tname, &gradeID, &gname, &ttype, &cap, &dia, &gauge, &probe,
                                  &tstate, &alarms),
              0);
    EXPECT_NEAR(gv, 10000 - d.volume, 0.01);
    EXPECT_NEAR(ullage, 10000 + d.volume, 0.01);
}

TEST_F(Forecourt, PresetsStopAtTheirLimitAndTheFlowFollowsTheRate) {
    Boot("127.0.12.2");
    ASSERT_EQ(LoadPresetMT(m_h, kPump1, LIMIT_VALUE, 10.0, HOSE_ALL, 1), 0);
    EXPECT_EQ(State(kPump1), PUMP_STATE_AUTHORISED);
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(Ctl("advance 60000"), 0);
    PumpNow s = Status(kPump1);
    EXPECT_EQ(s.state, PUMP_STATE_FINISHED);
    EXPECT_DOUBLE_EQ(s.value, 10.0);
    EXPECT_DOUBLE_EQ(s.volume, 5.0);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);

    // A volume preset at a slower flow: 3 l at 6 l/min is not reached in 20 s, then is.
    ASSERT_EQ(LoadPresetWithPriceMT(m_h, kPump1, LIMIT_VOLUME, 3.0, 1, 2.0), 0);
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(Ctl("flow 1 6"), 0);
    ASSERT_EQ(Ctl("advance 20000"), 0);
    s = Status(kPump1);
    EXPECT_LT(s.volume, 3.0);
    EXPECT_GT(s.volume, 1.5);
    ASSERT_EQ(Ctl("advance 60000"), 0);
    s = Status(kPump1);
    EXPECT_EQ(s.state, PUMP_STATE_FINISHED);
    EXPECT_DOUBLE_EQ(s.volume, 3.0);
    EXPECT_EQ(LoadPresetMT(m_h, kPump1, LIMIT_VALUE, -1.0, HOSE_ALL, 1), QV_INVALID_ARGUMENT);
}

TEST_F(Forecourt, APresetKeepsToItsHosesAndPriceLevel) {
    Boot("127.0.12.10");
    EXPECT_EQ(LoadPresetMT(m_h, kPump1, LIMIT_VALUE, 5.0, 0, 1), QV_INVALID_ARGUMENT)
        << "a preset for no hose";
    // Hose 1 lifted under a preset for hose 2 only: the pump calls and nothing flows.
    ASSERT_EQ(LoadPresetMT(m_h, kPump1, LIMIT_VALUE, 5.0, HOSE_2, 1), 0);
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    EXPECT_EQ(State(kPump1), PUMP_STATE_CALLING);
    ASSERT_EQ(Ctl("advance 5000"), 0);
    EXPECT_EQ(Status(kPump1).volume, 0.0);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);
    ASSERT_EQ(CancelAuthoriseMT(m_h, kPump1), 0);

    // For hose 1 at price level 2: the sale runs at that level's price.
    ASSERT_EQ(SetGradePriceMT(m_h, 1, 2, 2.5), 0);
    ASSERT_EQ(LoadPresetMT(m_h, kPump1, LIMIT_VALUE, 5.0, HOSE_1, 2), 0);
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(Ctl("advance 60000"), 0);
    const PumpNow s = Status(kPump1);
    EXPECT_EQ(s.state, PUMP_STATE_FINISHED);
    EXPECT_EQ(s.priceLevel, 2);
    EXPECT_DOUBLE_EQ(s.price, 2.5);
    EXPECT_DOUBLE_EQ(s.value, 5.0);
    EXPECT_DOUBLE_EQ(s.volume, 2.0);
}

TEST_F(Forecourt, StopsResumesDisablesAndRefusesWhatTheStateDoesNotAllow) {
    Boot("127.0.12.3");
    EXPECT_EQ(TempStopMT(m_h, kPump1), RESULT_WRONG_PUMP_STATE); // idle: nothing to stop
    ASSERT_EQ(AuthoriseMT(m_h, kPump1), 0);
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(Ctl("advance 3000"), 0);
    ASSERT_EQ(TempStopMT(m_h, kPump1), 0);
    const double stoppedAt = Status(kPump1).volume;
    EXPECT_EQ(State(kPump1), PUMP_STATE_TEMP_STOPPED);
    ASSERT_EQ(Ctl("advance 5000"), 0);
    EXPECT_DOUBLE_EQ(Status(kPump1).volume, stoppedAt);
    ASSERT_EQ(ReAuthoriseMT(m_h, kPump1), 0);
    ASSERT_EQ(Ctl("advance 3000"), 0);
    EXPECT_GT(Status(kPump1).volume, stoppedAt);

    ASSERT_EQ(AllStopMT(m_h), 0);
    EXPECT_EQ(State(kPump1), PUMP_STATE_STOPPED);
    ASSERT_EQ(AllReAuthoriseMT(m_h), 0);
    EXPECT_EQ(State(kPump1), PUMP_STATE_DELIVERING);
    ASSERT_EQ(TerminateDeliveryMT(m_h, kPump1), 0);
    EXPECT_EQ(State(kPump1), PUMP_STATE_FINISHED);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);

    ASSERT_EQ(DisablePumpMT(m_h, kPump1), 0);
    EXPECT_EQ(State(kPump1), PUMP_STATE_DISABLED);
    EXPECT_NE(AuthoriseMT(m_h, kPump1), 0);
    ASSERT_EQ(EnablePumpMT(m_h, kPump1), 0);
    EXPECT_EQ(State(kPump1), PUMP_STATE_IDLE);

    // Faults and off line from the driver; an unknown pump everywhere.
    ASSERT_EQ(Ctl("pump-error 2 2"), 0);
    EXPECT_EQ(State(kPump2), PUMP_STATE_ERROR);
    ASSERT_EQ(Ctl("pump-error 2 0"), 0);
    ASSERT_EQ(Ctl("offline 2 1"), 0);
    EXPECT_EQ(State(kPump2), PUMP_STATE_OFFLINE);
    ASSERT_EQ(Ctl("offline 2 0"), 0);
    EXPECT_EQ(State(kPump2), PUMP_STATE_IDLE);
    EXPECT_EQ(AuthoriseMT(m_h, 99), QV_UNKNOWN_ID);
    EXPECT_NE(Ctl("nozzle-up 99 1"), 0);
    EXPECT_NE(Ctl("no-such-command"), 0);
    EXPECT_NE(Ctl("advance"), 0);

    // What the refusals and states say in words.
    BSTR text = ResultString(RESULT_WRONG_PUMP_STATE);
    EXPECT_NE(Text(text).find("state"), std::string::npos) << Text(text);
    platform::SysFreeString(text);
    for (BSTR t : {PumpStateString(PUMP_STATE_CALLING), DeliveryStateString(DELIVERY_STATE_STACKED),
                   DeliveryTypeString(DELIVERY_TYPE_REFUND), ReserveTypeString(RESERVE_PREAUTH),
                   PumpStateString(99)}) {
        EXPECT_FALSE(Text(t).empty());
        platform::SysFreeString(t);
    }
    BSTR unknown = PumpStateString(99);
    EXPECT_EQ(Text(unknown).rfind("Unknown", 0), 0u) << Text(unknown);
    platform::SysFreeString(unknown);

    BSTR states = nullptr, hoses = nullptr, counts = nullptr;
    ASSERT_EQ(GetAllPumpStatusesMT(m_h, &states, &hoses, &counts), 0);
    EXPECT_EQ(Text(states), "44");
    EXPECT_EQ(Text(hoses), "00");
    EXPECT_EQ(Text(counts), "10");
    platform::SysFreeString(states);
    platform::SysFreeString(hoses);
    platform::SysFreeString(counts);
}

TEST_F(Forecourt, DeliveriesStackLockAndClearAcrossClients) {
    Boot("127.0.12.4");
    const int32_t other = LogonAs(m_server->Address(), 8, kMaskAll);
    ASSERT_NE(other, 0);
    // Two sales on the auto-authorising pump: the first is stacked when the second completes.
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(Ctl("nozzle-up 2 1"), 0);
        ASSERT_EQ(Ctl("advance 15000"), 0);
        ASSERT_EQ(Ctl("nozzle-down 2"), 0);
    }
    EXPECT_EQ(Status(kPump2).stackSize, 2);
    std::vector<int32_t> ids;
    int32_t count = 0;
    ASSERT_EQ(GetDeliveriesCountMT(m_h, kPump2, &count), 0);
    for (int32_t k = 1; k <= count; ++k) {
        int32_t id = 0;
        ASSERT_EQ(GetDeliveryByOrdinalMT(m_h, kPump2, k, &id), 0);
        ids.push_back(id);
    }
    ASSERT_EQ(ids.size(), 2u);
    ASSERT_TRUE(Await(m_h, EVENT_DB_STACK_DELIVERY));
    int32_t stacked = 0;
    ASSERT_EQ(GetNextDBStackDeliveryEventMT(m_h, &stacked), 0);
    EXPECT_EQ(stacked, ids[0]);

    ASSERT_EQ(LockDeliveryMT(m_h, ids[0]), 0);
    EXPECT_EQ(LockDeliveryMT(other, ids[0]), RESULT_DELIVERY_LOCKED);
    EXPECT_EQ(ClearDeliveryMT(other, ids[0], DELIVERY_TYPE_POSTPAY), RESULT_DELIVERY_LOCKED);
    EXPECT_EQ(UnlockDeliveryMT(other, ids[0]), RESULT_DELIVERY_LOCKED);
    ASSERT_EQ(ClearDeliveryMT(m_h, ids[0], DELIVERY_TYPE_POSTPAY), 0);
    EXPECT_EQ(Status(kPump2).stackSize, 1);
    EXPECT_EQ(ClearDeliveryMT(m_h, ids[0], DELIVERY_TYPE_POSTPAY), RESULT_DELIVERY_CLEARED);
    ASSERT_TRUE(Await(other, EVENT_DB_CLEAR_DELIVERY));
    int32_t clearedID = 0, clearedBy = 0, attendant = 0;
    int16_t type = 0;
    double clearedDT = 0;
    ASSERT_EQ(
        GetNextDBClearDeliveryEventMT(other, &clearedID, &type, &clearedBy, &clearedDT, &attendant),
        0);
    EXPECT_EQ(clearedID, ids[0]);
    EXPECT_EQ(clearedBy, 7);
    EXPECT_GT(clearedDT, 0);
    // Another client's lock-and-clear takes the current one over.
    ASSERT_EQ(LockAndClearDeliveryMT(other, ids[1], DELIVERY_TYPE_POSTPAY), 0);
    EXPECT_EQ(Status(kPump2).stackSize, 0);
    int16_t state = 0;
    int32_t pump, hose, lockedBy, reservedBy, att, duration, card, grade, tank, by;
    int16_t t, level, logged;
    double volume, price, value, volume2, completed, cleared;
    int64_t tag;
    ASSERT_EQ(GetDeliveryPropertiesEx4MT(m_h, ids[1], &pump, &hose, &state, &t, &volume, &level,
                                         &price, &value, &volume2, &completed, &lockedBy,
                                         &reservedBy, &att, &cleared, &duration, &card, &tag,
                                         &grade, &tank, &logged, &by),
              0);
    EXPECT_EQ(state, DELIVERY_STATE_CLEARED);
    EXPECT_EQ(by, 8);
    ClientLogoffMT(const_cast<int32_t*>(&other));
}

TEST_F(Forecourt, ReservationsTimeOutAndBelongToWhoMadeThem) {
    Boot("127.0.12.5");
    ASSERT_EQ(PrepayReserveMT(m_h, kPump1, 7), 0);
    PumpNow s = Status(kPump1);
    EXPECT_EQ(s.reservedFor, RESERVE_PREPAY_LOCKED);
    EXPECT_EQ(s.reservedBy, 7);
    EXPECT_EQ(PrepayCancelMT(m_h, kPump1, 8), RESULT_PUMP_RESERVED);
    EXPECT_EQ(PreauthReserveMT(m_h, kPump1, 8), RESULT_PUMP_RESERVED);
    ASSERT_EQ(Ctl("advance 119000"), 0);
    EXPECT_EQ(Status(kPump1).reservedFor, RESERVE_PREPAY_LOCKED);
    ASSERT_EQ(Ctl("advance 2000"), 0); // the reservation was not authorised in time
    s = Status(kPump1);
    EXPECT_EQ(s.reservedFor, RESERVE_NONE);
    EXPECT_EQ(s.state, PUMP_STATE_IDLE);

    // An authorised prepay, a short sale: a refund for what was not taken.
    ASSERT_EQ(PrepayReserveMT(m_h, kPump1, 7), 0);
    ASSERT_EQ(PrepayAuthoriseMT(m_h, kPump1, 7, LIMIT_VALUE, 50.0, 1), 0);
    EXPECT_EQ(Status(kPump1).reservedFor, RESERVE_PREPAY);
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(Ctl("advance 15000"), 0);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);
    ASSERT_TRUE(Await(m_h, EVENT_DELIVERY));
    DeliveryEv d;
    ASSERT_EQ(ReadDelivery(m_h, d), 0);
    EXPECT_EQ(d.type, DELIVERY_TYPE_REFUND);

    // Payment: reserve, authorise, and a cancel that comes too late once product flows.
    ASSERT_EQ(PaymentReserveMT(m_h, kPump1, 7), 0);
    EXPECT_EQ(Status(kPump1).reservedFor, RESERVE_PAYMENT_LOCKED);
    ASSERT_EQ(PaymentCancelMT(m_h, kPump1, 7), 0);
    EXPECT_EQ(Status(kPump1).reservedFor, RESERVE_NONE);
    EXPECT_EQ(PrepayReserveMT(m_h, 99, 7), QV_UNKNOWN_ID);
}

// ---- Events ----

TEST_F(Forecourt, TwoClientsReceiveTheEventsTheirMasksAskForInOrder) {
    Boot("127.0.12.6");
    const int32_t pumpsOnly = LogonAs(m_server->Address(), 9, kMaskPumpOnly);
    ASSERT_NE(pumpsOnly, 0);
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(AuthoriseMT(m_h, kPump1), 0);
    ASSERT_EQ(Ctl("advance 5000"), 0);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);
    const std::vector<int16_t> expected{PUMP_STATE_CALLING, PUMP_STATE_DELIVERING, PUMP_STATE_IDLE};
    const Seen all = Until(m_h, kPump1, PUMP_STATE_IDLE);
    const Seen pumps = Until(pumpsOnly, kPump1, PUMP_STATE_IDLE);
    EXPECT_EQ(all.states, expected);
    EXPECT_EQ(pumps.states, expected);
    EXPECT_EQ(pumps.types, std::set<int16_t>{EVENT_PUMP_STATUS});
    // The delivery completes before the pump reports itself idle again.
    EXPECT_EQ(all.types.count(EVENT_DELIVERY), 1u);
    EXPECT_EQ(all.types.count(EVENT_DB_HOSE_ETOTALS), 1u);
    ASSERT_EQ(Ctl("tank-drop 1 100"), 0);
    ASSERT_EQ(Ctl("advance 10000"), 0);
    ASSERT_TRUE(Await(m_h, EVENT_DB_TANK_STATUS));
    ProcessEventsMT(pumpsOnly);
    int16_t next = 0;
    while (GetNextEventTypeMT(pumpsOnly, &next) == 0 && next != 0) {
        EXPECT_EQ(next, EVENT_PUMP_STATUS);
        DiscardNextEventMT(pumpsOnly);
    }
    int32_t h = pumpsOnly;
    ClientLogoffMT(&h);
}

TEST_F(Forecourt, EachEventKindIsReadByItsReaderWithItsFields) {
    Boot("127.0.12.7");
    const int32_t other = LogonAs(m_server->Address(), 8, kMaskAll);
    ASSERT_NE(other, 0);

    // Pump status with the pump's stored details and the running flow.
    ASSERT_EQ(Ctl("nozzle-up 2 1"), 0);
    ASSERT_EQ(Ctl("advance 3000"), 0);
    PumpEv p;
    for (;;) {
        ASSERT_TRUE(Await(m_h, EVENT_PUMP_STATUS));
        ASSERT_EQ(ReadPump(m_h, p), 0);
        if (p.state == PUMP_STATE_DELIVERING && p.volume > 0) break;
    }
    EXPECT_EQ(p.pumpID, kPump2);
    EXPECT_EQ(p.pumpName, "Pump 2");
    EXPECT_EQ(p.hoseID, 21);
    EXPECT_EQ(p.hosePhys, 102);
    EXPECT_EQ(p.gradeName, "Unleaded");
    EXPECT_EQ(p.shortGradeName, "ULP");
    EXPECT_EQ(p.authMode, AUTH_MODE_AUTO);
    EXPECT_EQ(p.physicalNumber, 2);
    EXPECT_DOUBLE_EQ(p.curFlow, 40.0);
    EXPECT_DOUBLE_EQ(p.price, 2.0);
    ASSERT_EQ(Ctl("nozzle-down 2"), 0);

    // The delivery stored (6) and the hose's totals (9).
    ASSERT_TRUE(Await(m_h, EVENT_DB_LOG_DELIVERY));
    int32_t id = 0, hose = 0, reservedBy = 0, attendant = 0;
    int16_t state = 0, type = 0, level = 0;
    double volume = 0, price = 0, value = 0, volume2 = 0, when = 0;
    ASSERT_EQ(GetNextDBLogDeliveryEventMT(m_h, &id, &hose, &state, &type, &volume, &level, &price,
                                          &value, &volume2, &reservedBy, &attendant, &when),
              0);
    EXPECT_EQ(hose, 21);
    EXPECT_EQ(state, DELIVERY_STATE_CURRENT);
    EXPECT_NEAR(value, volume * 2.0, 0.01);
    ASSERT_TRUE(Await(m_h, EVENT_DB_HOSE_ETOTALS));
    double v = 0, val = 0, vt = 0, valt = 0;
    int32_t hn = 0, hp = 0, pid = 0, pn = 0, tid = 0, tn = 0, gid = 0;
    Out pname, tname, gname;
    ASSERT_EQ(GetNextDBHoseETotalsEventExMT(m_h, &hose, &v, &val, &vt, &valt, &hn, &hp, &pid, &pn,
                                            &pname, &tid, &tn, &tname, &gid, &gname),
              0);
    EXPECT_DOUBLE_EQ(v, volume);
    EXPECT_DOUBLE_EQ(vt, volume);
    EXPECT_EQ(pname.str(), "Pump 2");
    EXPECT_EQ(gname.str(), "Unleaded");

    // A nozzle lifted and hung up at once: a zero delivery (17).
    ASSERT_EQ(Ctl("nozzle-up 2 1"), 0);
    ASSERT_EQ(Ctl("nozzle-down 2"), 0);
    ASSERT_TRUE(Await(m_h, EVENT_ZERO_DELIVERY));
    int32_t zp = 0, zpn = 0, zh = 0, zhn = 0;
    ASSERT_EQ(GetNextZeroDeliveryEventMT(m_h, &zp, &zpn, &zh, &zhn), 0);
    EXPECT_EQ(zp, kPump2);
    EXPECT_EQ(zh, 21);
    EXPECT_EQ(zhn, 1);

    // A card read (22).
    ASSERT_EQ(Ctl("card 1 445566 Fleet"), 0);
    ASSERT_TRUE(Await(m_h, EVENT_CARD_READ));
    int32_t readID = 0, number = 0, pump = 0, parent = 0;
    int16_t ctype = 0;
    int64_t tag = 0;
    double stamp = 0;
    Out cname;
    ASSERT_EQ(
        GetNextCardReadEventMT(m_h, &readID, &number, &cname, &pump, &ctype, &parent, &tag, &stamp),
        0);
    EXPECT_GT(readID, 0);
    EXPECT_EQ(cname.str(), "Fleet");
    EXPECT_EQ(pump, kPump1);
    EXPECT_EQ(tag, 0x445566) << "the tag as the reader shows it";

    // A tank drop raises the gauge (13).
    ASSERT_EQ(Ctl("tank-drop 1 500"), 0);
    ASSERT_EQ(Ctl("advance 60000"), 0);
    double gv = 0, tc = 0, ull = 0, temp = 0, lvl = 0, wv = 0, wl = 0, cap = 0, dia = 0;
    int32_t tnum = 0, tgrade = 0, gauge = 0, alarms = 0;
    int16_t ttype = 0, probe = 0, tstate = 0;
    for (;;) {
        ASSERT_TRUE(Await(m_h, EVENT_DB_TANK_STATUS));
        Out n, g;
        ASSERT_EQ(GetNextDBTankStatusEventEx2MT(m_h, &tid, &gv, &tc, &ull, &temp, &lvl, &wv, &wl,
                                                &tnum, &n, &tgrade, &g, &ttype, &cap, &dia, &gauge,
                                                &probe, &tstate, &alarms),
                  0);
        EXPECT_EQ(n.str(), "Tank 1");
        if (gv > 10000) break;
    }
    EXPECT_EQ(tid, kTank1);
    EXPECT_DOUBLE_EQ(cap, 20000);

    // A pump error is logged (24 and 5).
    ASSERT_EQ(Ctl("pump-error 1 2"), 0);
    ASSERT_TRUE(Await(m_h, EVENT_LOG_EVENT));
    int32_t logID = 0, device = 0, deviceNumber = 0, clearedBy = 0, ackedBy = 0;
    int16_t deviceType = 0, elevel = 0, etype = 0;
    double gen = 0, cleared = 0, lv = 0, lval = 0, pv = 0, pl = 0, wlv = 0, ltemp = 0;
    Out dname, desc;
    ASSERT_EQ(GetNextLogEventEventMT(m_h, &logID, &deviceType, &device, &deviceNumber, &dname,
                                     &elevel, &etype, &desc, &gen, &cleared, &clearedBy, &ackedBy,
                                     &lv, &lval, &pv, &pl, &wlv, &ltemp),
              0);
    EXPECT_EQ(deviceType, DEVICE_PUMP);
    EXPECT_EQ(device, kPump1);
    EXPECT_EQ(dname.str(), "Pump 1");
    ASSERT_TRUE(Await(m_h, EVENT_DB_LOG));
    int16_t dbType = 0;
    int32_t dbDevice = 0;
    double dbWhen = 0;
    Out dbText;
    ASSERT_EQ(GetNextDBLogEventMT(m_h, &dbType, &dbDevice, &dbWhen, &dbText), 0);
    EXPECT_EQ(dbType, etype);
    EXPECT_EQ(dbText.str(), desc.str());

    // A client's event reaches the others (4).
    BSTR text = Bstr("shift change");
    ASSERT_EQ(FireClientEventMT(other, 42, text), 0);
    platform::SysFreeString(text);
    ASSERT_TRUE(Await(m_h, EVENT_CLIENT));
    int32_t from = 0, eventID = 0;
    Out etext;
    ASSERT_EQ(GetNextClientEventMT(m_h, &from, &eventID, &etext), 0);
    EXPECT_EQ(from, 8);
    EXPECT_EQ(eventID, 42);
    EXPECT_EQ(etext.str(), "shift change");
    // An attendant at a pump (11), then gone (12); an unknown one is refused.
    BSTR att = Bstr("Ann"), none = Bstr("");
    ASSERT_EQ(SetAttendantPropertiesMT(m_h, 3, 3, att, none, none, none), 0);
    platform::SysFreeString(att);
    platform::SysFreeString(none);
    ASSERT_EQ(AttendantLogonMT(m_h, 3, kPump1), 0);
    ASSERT_TRUE(Await(m_h, EVENT_DB_ATTENDANT_LOGON));
    int32_t attendantID = 0, atPump = 0;
    ASSERT_EQ(GetNextDBAttendantLogonEventMT(m_h, &attendantID, &atPump), 0);
    EXPECT_EQ(attendantID, 3);
    EXPECT_EQ(atPump, kPump1);
    ASSERT_EQ(AttendantLogoffMT(m_h, 3), 0);
    ASSERT_TRUE(Await(m_h, EVENT_DB_ATTENDANT_LOGOFF));
    ASSERT_EQ(GetNextDBAttendantLogoffEventMT(m_h, &attendantID), 0);
    EXPECT_EQ(attendantID, 3);
    EXPECT_NE(AttendantLogoffMT(m_h, 3), 0);
    EXPECT_EQ(AttendantLogonMT(m_h, 99, kPump1), QV_UNKNOWN_ID);
    EXPECT_EQ(AttendantLogonMT(m_h, 3, 99), QV_UNKNOWN_ID);
    // A reader of another type leaves the event queued.
    EXPECT_EQ(GetNextZeroDeliveryEventMT(m_h, &zp, &zpn, &zh, &zhn), QV_NO_EVENT);
    int32_t h = other;
    ClientLogoffMT(&h);
}

TEST_F(Forecourt, RecordsAreFoundByNumberAndByName) {
    Boot("127.0.12.1");
    int32_t id = 0;
    BSTR name = Bstr("Pump 2");
    EXPECT_EQ(GetPumpByNameMT(m_h, name, &id), 0);
    EXPECT_EQ(id, kPump2);
    platform::SysFreeString(name);
    EXPECT_EQ(GetGradeByNumberMT(m_h, 1, &id), 0);
    EXPECT_EQ(id, 1);
    name = Bstr("Tank 1");
    EXPECT_EQ(GetTankByNameMT(m_h, name, &id), 0);
    EXPECT_EQ(id, kTank1);
    platform::SysFreeString(name);
    id = -5;
    EXPECT_EQ(GetTankByNumberMT(m_h, 9, &id), QV_UNKNOWN_ID);
    EXPECT_EQ(id, -5);
    name = Bstr("pump 2"); // names match exactly
    EXPECT_EQ(GetPumpByNameMT(m_h, name, &id), QV_UNKNOWN_ID);
    platform::SysFreeString(name);
    int32_t reads = -1;
    ASSERT_EQ(GetCardReadsCountMT(m_h, &reads), 0);
    EXPECT_EQ(reads, 0);
    ASSERT_EQ(Ctl("card 2 77"), 0);
    ASSERT_EQ(GetCardReadsCountMT(m_h, &reads), 0);
    EXPECT_EQ(reads, 1);
}

TEST_F(Forecourt, DroppedClientsSeeTheirConnectionsGoneAndLogOnAgain) {
    Boot("127.0.12.8");
    ASSERT_EQ(Ctl("drop-clients"), 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (CheckSocketClosedMT(m_h, 0) == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(CheckSocketClosedMT(m_h, 0), QV_CONNECTION_BROKEN);
    EXPECT_NE(AuthoriseMT(m_h, kPump1), 0);
    ClientLogoffMT(&m_h);
    m_h = LogonAs(m_server->Address(), 7, kMaskAll);
    ASSERT_NE(m_h, 0);
    EXPECT_EQ(AuthoriseMT(m_h, kPump1), 0);
}

} // namespace

namespace {

// Deliveries completed from `from` on and their total volume, from the Deliveries table.
std::pair<int32_t, double> Sold(int32_t h, double from) {
    std::pair<int32_t, double> sold{0, 0};
    int32_t count = 0;
    EXPECT_EQ(GetDeliveriesCountFilteredMT(h, -1, -1, -1, from, 0, &count), 0);
    for (int32_t k = 1; k <= count; ++k) {
        int32_t id = 0, p, hose, lockedBy, reservedBy, att, duration, card, grade, tank, by;
        int16_t state, type, level, logged;
        double volume = 0, price, value, volume2, completed, cleared;
        int64_t tag;
        EXPECT_EQ(GetDeliveryIDByOrdinalFilteredMT(h, -1, -1, -1, from, 0, k, &id), 0);
        EXPECT_EQ(GetDeliveryPropertiesEx4MT(h, id, &p, &hose, &state, &type, &volume, &level,
                                             &price, &value, &volume2, &completed, &lockedBy,
                                             &reservedBy, &att, &cleared, &duration, &card, &tag,
                                             &grade, &tank, &logged, &by),
                  0);
        ++sold.first;
        sold.second += volume;
    }
    return sold;
}

// The demonstration site's customers over half an hour of the manual clock.
std::pair<int32_t, double> SimulatedHalfHour(const std::string& address, const std::string& folder,
                                             const std::string& seed) {
    ServerProcess server(address, folder,
                         {"--clock", "manual", "--simulate", "--seed-random", seed});
    EXPECT_TRUE(server.Start("demo"));
    const int32_t h = LogonAs(address, 7, kMaskAll);
    EXPECT_NE(h, 0);
    double start = 0;
    EXPECT_EQ(GetDateTimeMT(h, &start), 0);
    // Half an hour, a minute per command so that no call waits long for the forecourt.
    const std::string ctl = BuildDir() + "/bin/qvserver ctl " + address + " advance 60000";
    for (int minute = 0; minute < 30; ++minute)
        EXPECT_EQ(std::system((ctl + " >/dev/null").c_str()), 0);
    const std::pair<int32_t, double> sold = Sold(h, start);
    int32_t hh = h;
    ClientLogoffMT(&hh);
    return sold;
}

TEST(Simulation, CustomersComeAndGoAndTheSameSeedSellsTheSame) {
    TempDir a, b, c;
    const auto first = SimulatedHalfHour("127.0.12.9", a.Path(), "11");
    const auto again = SimulatedHalfHour("127.0.12.9", b.Path(), "11");
    const auto other = SimulatedHalfHour("127.0.12.9", c.Path(), "12");
    EXPECT_GT(first.first, 0);
    EXPECT_EQ(first.first, again.first);
    EXPECT_DOUBLE_EQ(first.second, again.second);
    EXPECT_NE(first.second, other.second);
}

TEST(RealClock, APumpDeliversAsTimePasses) {
    TempDir dir;
    ServerProcess server("127.0.12.8", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    const int32_t h = LogonAs("127.0.12.8", 7, kMaskAll);
    ASSERT_NE(h, 0);
    // Pump 1 of the demonstration site authorises itself.
    const std::string ctl = BuildDir() + "/bin/qvserver ctl 127.0.12.8 ";
    ASSERT_EQ(std::system((ctl + "nozzle-up 1 1 >/dev/null").c_str()), 0);
    double volume = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (volume == 0 && std::chrono::steady_clock::now() < until) {
        int16_t state, reservedFor, level;
        int32_t reservedBy, hoseID, hoseNumber, gradeID, stack;
        double price, value;
        Out grade, shortGrade;
        ASSERT_EQ(GetPumpStatusMT(h, 1, &state, &reservedFor, &reservedBy, &hoseID, &hoseNumber,
                                  &gradeID, &grade, &shortGrade, &level, &price, &volume, &value,
                                  &stack),
                  0);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_GT(volume, 0);
    int32_t hh = h;
    ClientLogoffMT(&hh);
}

// ---- The forecourt as an attendant's screen sees it ----

// The pump statuses and deliveries of one pump as they arrive, until the pump reports idle.
struct SaleSeen {
    std::vector<PumpEv> statuses;
    std::vector<DeliveryEv> deliveries;
};

SaleSeen UntilIdle(int32_t h, int32_t pump) {
    SaleSeen seen;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        EXPECT_EQ(ProcessEventsMT(h), 0);
        int16_t next = 0;
        while (GetNextEventTypeMT(h, &next) == 0 && next != 0) {
            if (next == EVENT_PUMP_STATUS) {
                PumpEv e;
                EXPECT_EQ(ReadPump(h, e), 0);
                if (e.pumpID != pump) continue;
                seen.statuses.push_back(e);
                if (e.state == PUMP_STATE_IDLE) return seen;
            } else if (next == EVENT_DELIVERY) {
                DeliveryEv d;
                EXPECT_EQ(ReadDelivery(h, d), 0);
                if (d.pumpID == pump) seen.deliveries.push_back(d);
            } else {
                DiscardNextEventMT(h);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return seen;
}

TEST_F(Forecourt, TheLastReportOfASaleCarriesItsAmountsAndTheIdlePumpKeepsShowingThem) {
    Boot("127.0.12.11");
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(AuthoriseMT(m_h, kPump1), 0);
    // The last 50 ms of flow fall inside the 100 ms between two amount reports.
    ASSERT_EQ(Ctl("advance 7750"), 0);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);
    const SaleSeen sale = UntilIdle(m_h, kPump1);
    ASSERT_EQ(sale.deliveries.size(), 1u);
    ASSERT_GE(sale.statuses.size(), 2u);
    const DeliveryEv& d = sale.deliveries[0];
    EXPECT_NEAR(d.volume, 40.0 * 7.75 / 60, 0.001);
    const PumpEv& last = sale.statuses[sale.statuses.size() - 2];
    EXPECT_EQ(last.state, PUMP_STATE_DELIVERING);
    EXPECT_DOUBLE_EQ(last.volume, d.volume) << "the final amounts before the hang-up";
    EXPECT_DOUBLE_EQ(last.value, d.value);
    const PumpEv& idle = sale.statuses.back();
    EXPECT_DOUBLE_EQ(idle.volume, d.volume) << "the display keeps the sale";
    EXPECT_DOUBLE_EQ(idle.value, d.value);
    EXPECT_DOUBLE_EQ(idle.price, d.price);
    EXPECT_EQ(idle.hoseNumber, 0);
    PumpNow now = Status(kPump1);
    EXPECT_DOUBLE_EQ(now.volume, d.volume);
    EXPECT_DOUBLE_EQ(now.price, 2.0);

    // Lifted again the display still shows it; the next sale starts from zero.
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    EXPECT_DOUBLE_EQ(Status(kPump1).volume, d.volume);
    ASSERT_EQ(AuthoriseMT(m_h, kPump1), 0);
    now = Status(kPump1);
    EXPECT_EQ(now.volume, 0.0);
    EXPECT_EQ(now.value, 0.0);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);
    EXPECT_EQ(Status(kPump1).volume, 0.0) << "an empty sale leaves nothing to show";
}

// The demonstration site under --simulate on a manual clock, with or without its cashier: the
// states of each pump (repeats left out), the largest temperature swing of each tank, and the
// clients that authorised sales.
struct SimulatedDay {
    std::vector<std::vector<int16_t>> states{5};
    std::vector<double> swing = std::vector<double>(5, 0.0);
    std::set<int32_t> authorisedBy;
    int deliveries = 0;
};

SimulatedDay Simulate(const std::string& address, bool cashier) {
    TempDir dir;
    std::vector<std::string> args{"--clock", "manual", "--simulate", "--seed-random", "5"};
    if (!cashier) args.push_back("--no-cashier");
    ServerProcess server(address, dir.Path(), args);
    SimulatedDay day;
    EXPECT_TRUE(server.Start("demo"));
    const int32_t h = LogonAs(address, 7, kMaskAll);
    EXPECT_NE(h, 0);
    if (h == 0) return day;

    // The seeded tanks agree with their capacities: none full beyond its high alarm.
    std::vector<double> stored(5, 0.0);
    for (int32_t t = 1; t <= 4; ++t) {
        double v, tc, ullage, temperature, level, wv, wl, capacity, diameter;
        int32_t number, grade, gauge, alarms;
        int16_t type, probe, state;
        Out name, gradeName;
        EXPECT_EQ(GetTankSummaryEx2MT(h, t, &v, &tc, &ullage, &temperature, &level, &wv, &wl,
                                      &number, &name, &grade, &gradeName, &type, &capacity,
                                      &diameter, &gauge, &probe, &state, &alarms),
                  0);
        EXPECT_LT(v, capacity * 0.9) << "tank " << t;
        EXPECT_NEAR(v + ullage, capacity, 0.01) << "tank " << t;
        EXPECT_EQ(alarms & TANK_ALARM_HIGH, 0) << "tank " << t;
        EXPECT_NE(state, TANK_STATE_HIGH) << "tank " << t;
        stored[static_cast<size_t>(t)] = temperature;
    }

    // Six minutes in steps of half a minute, the events read after each step.
    for (int step = 0; step < 12; ++step) {
        EXPECT_EQ(qvtesting::ServerCtl(address, "advance 30000"), 0);
        EXPECT_EQ(ProcessEventsMT(h), 0);
        int16_t next = 0;
        while (GetNextEventTypeMT(h, &next) == 0 && next != 0) {
            if (next == EVENT_PUMP_STATUS) {
                PumpEv e;
                EXPECT_EQ(ReadPump(h, e), 0);
                if (e.pumpID < 1 || e.pumpID > 4) continue;
                std::vector<int16_t>& seen = day.states[static_cast<size_t>(e.pumpID)];
                if (seen.empty() || seen.back() != e.state) seen.push_back(e.state);
            } else if (next == EVENT_DELIVERY) {
                DeliveryEv d;
                EXPECT_EQ(ReadDelivery(h, d), 0);
                if (d.state == DELIVERY_STATE_CURRENT) ++day.deliveries;
            } else if (next == EVENT_DB_TANK_STATUS) {
                int32_t id, number, grade, gauge, alarms;
                double v, tc, ullage, temperature, level, wv, wl, capacity, diameter;
                int16_t type, probe, state;
                Out name, gradeName;
                EXPECT_EQ(GetNextDBTankStatusEventEx2MT(h, &id, &v, &tc, &ullage, &temperature,
                                                        &level, &wv, &wl, &number, &name, &grade,
                                                        &gradeName, &type, &capacity, &diameter,
                                                        &gauge, &probe, &state, &alarms),
                          0);
                if (id >= 1 && id <= 4) {
                    double& swing = day.swing[static_cast<size_t>(id)];
                    swing =
                        std::max(swing, std::fabs(temperature - stored[static_cast<size_t>(id)]));
                }
            } else {
                DiscardNextEventMT(h);
            }
        }
        // Who authorised the pumps that wait for a client.
        for (int32_t p : {2, 4}) {
            int16_t state, reservedFor, level;
            int32_t reservedBy, hoseID, hoseNumber, gradeID, stack;
            double price, volume, value;
            Out grade, shortGrade;
            if (GetPumpStatusMT(h, p, &state, &reservedFor, &reservedBy, &hoseID, &hoseNumber,
                                &gradeID, &grade, &shortGrade, &level, &price, &volume, &value,
                                &stack) == 0 &&
                reservedBy > 0)
                day.authorisedBy.insert(reservedBy);
        }
    }
    int32_t hh = h;
    ClientLogoffMT(&hh);
    return day;
}

// Every move into delivering comes from starting: the motor runs up before the flow.
void ExpectStartingBeforeFlow(const std::vector<int16_t>& states, int32_t pump) {
    for (size_t k = 1; k < states.size(); ++k) {
        if (states[k] == PUMP_STATE_DELIVERING) {
            EXPECT_EQ(states[k - 1], PUMP_STATE_STARTING) << "pump " << pump << " at " << k;
        }
    }
}

TEST(Simulation, PumpsStartBeforeTheyFlowAndTankTemperaturesMove) {
    const SimulatedDay day = Simulate("127.0.12.12", true);
    bool flowed = false;
    for (int32_t p = 1; p <= 4; ++p) {
        ExpectStartingBeforeFlow(day.states[static_cast<size_t>(p)], p);
        for (int16_t s : day.states[static_cast<size_t>(p)])
            flowed = flowed || s == PUMP_STATE_DELIVERING;
    }
    EXPECT_TRUE(flowed);
    EXPECT_GT(day.deliveries, 0);
    // The cashier (client 9000) served the pumps that wait for a client.
    EXPECT_EQ(day.authorisedBy.count(9000), 1u);
    for (int32_t t = 1; t <= 4; ++t) {
        EXPECT_GT(day.swing[static_cast<size_t>(t)], 0.05) << "tank " << t;
        EXPECT_LE(day.swing[static_cast<size_t>(t)], 0.61) << "tank " << t;
    }
}

TEST(Simulation, WithoutTheCashierCallingPumpsWaitForTheClients) {
    const SimulatedDay day = Simulate("127.0.12.13", false);
    // Pumps 2 and 4 wait for a client: customers lift the nozzle, nobody authorises, they leave.
    for (int32_t p : {2, 4}) {
        const std::vector<int16_t>& states = day.states[static_cast<size_t>(p)];
        EXPECT_NE(std::find(states.begin(), states.end(), PUMP_STATE_CALLING), states.end())
            << "pump " << p;
        for (int16_t s : states)
            EXPECT_NE(s, PUMP_STATE_DELIVERING) << "pump " << p;
    }
    EXPECT_TRUE(day.authorisedBy.empty());
    // Pumps 1 and 3 authorise themselves and still sell.
    EXPECT_GT(day.deliveries, 0);
}

// A tag is the text the site holds, read as the hexadecimal a screen shows: the demo site's card
// client 3 carries "77100003", and its card read at a pump is that card, tag 0x77100003.
TEST(Tags, TheSitesTagTextIsTheHexadecimalOfTheTag) {
    TempDir dir;
    ServerProcess server("127.0.12.14", dir.Path(), {"--clock", "manual"});
    ASSERT_TRUE(server.Start("demo"));
    const int32_t h = LogonAs("127.0.12.14", 7, kMaskAll);
    ASSERT_NE(h, 0);
    EXPECT_EQ(qvtesting::ServerCtl("127.0.12.14", "card 1 77100003"), 0);
    EXPECT_NE(qvtesting::ServerCtl("127.0.12.14", "card 1 not-a-tag"), 0);
    int32_t readID = 0, number = 0, pump = 0, parent = 0;
    int16_t type = 0;
    int64_t tag = 0;
    double stamp = 0;
    Out name;
    bool read = false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!read && std::chrono::steady_clock::now() < until) {
        EXPECT_EQ(ProcessEventsMT(h), 0);
        int16_t next = 0;
        while (!read && GetNextEventTypeMT(h, &next) == 0 && next != 0) {
            if (next != EVENT_CARD_READ) {
                DiscardNextEventMT(h);
                continue;
            }
            ASSERT_EQ(GetNextCardReadEventMT(h, &readID, &number, &name, &pump, &type, &parent,
                                             &tag, &stamp),
                      0);
            read = true;
        }
    }
    ASSERT_TRUE(read);
    EXPECT_EQ(tag, 0x77100003);
    EXPECT_EQ(name.str(), "Lima van 12") << "the card client with that tag text";
    EXPECT_EQ(number, 3);
    int32_t hh = h;
    ClientLogoffMT(&hh);
}

} // namespace
