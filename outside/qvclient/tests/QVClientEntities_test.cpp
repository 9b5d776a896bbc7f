// Adding and deleting records, the older property variants, hose totals, accounting periods,
// tank strapping tables and densities, through the library against a real server on a manual
// clock (addresses 127.0.72.1 .. 127.0.72.4).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

// A BSTR input that frees itself.
struct In {
    BSTR b;
    explicit In(const std::string& s) : b(Bstr(s)) {}
    ~In() { platform::SysFreeString(b); }
    operator BSTR() const { return b; }
};

class Entities : public ::testing::Test {
  protected:
    void Boot(const std::string& address) {
        m_server = std::make_unique<ServerProcess>(address, m_dir.Path(),
                                                   std::vector<std::string>{"--clock", "manual"});
        ASSERT_TRUE(m_server->Start("empty"));
        m_h = Logon(address);
        ASSERT_NE(m_h, 0);
    }
    void TearDown() override {
        if (m_h) ClientLogoffMT(&m_h);
    }
    int Ctl(const std::string& command) {
        const std::string line = BuildDir() + "/bin/qvserver ctl " + m_server->Address() + " " +
                                 command + " >/dev/null 2>&1";
        const int raw = std::system(line.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    int32_t AddGrade(const std::string& name, int32_t* number = nullptr) {
        int32_t id = 0, n = 0;
        EXPECT_EQ(AddGradeMT(m_h, &id, &n, In(name), In("S" + name), In("C" + name), 1), 0);
        if (number) *number = n;
        return id;
    }
    int32_t AddTank(int32_t grade, const std::string& name, int32_t* number = nullptr) {
        int32_t id = 0, n = 0;
        EXPECT_EQ(AddTankMT(m_h, &id, &n, In(name), grade, TANK_TYPE_HORIZONTAL, 20000, 2.5, 10000,
                            10000, 10000, 10000, 15, 1200, 0, 0, 3, 1, 6, -1, 2, 77),
                  0);
        if (number) *number = n;
        return id;
    }
    int32_t AddPump(const std::string& name, int32_t* number = nullptr) {
        int32_t id = 0, n = 0;
        EXPECT_EQ(AddPumpMT(m_h, &id, &n, In(name), 4, 1, 2, 1, 2, 2, 2, 2, 1, 0, -1,
                            AUTH_MODE_CLIENT, STACK_MODE_AUTO, 1, 0, 1, -1, 1, 1),
                  0);
        if (number) *number = n;
        return id;
    }
    int32_t AddHose(int32_t pump, int32_t tank, int32_t* number = nullptr) {
        int32_t id = 0, n = 0;
        EXPECT_EQ(AddHoseMT(m_h, &id, &n, pump, tank, 7, 1.5, 2.5, 3.5, 4.5, 0, 0, 0, 0, 0, 1), 0);
        if (number) *number = n;
        return id;
    }
    // One grade at 2.000, one tank, one client-authorised pump with one hose.
    void BuildSite() {
        m_grade = AddGrade("Unleaded");
        ASSERT_EQ(SetGradePriceMT(m_h, m_grade, 1, 2.0), 0);
        m_tank = AddTank(m_grade, "Tank 1");
        m_pump = AddPump("Pump 1");
        m_hose = AddHose(m_pump, m_tank);
        ASSERT_GT(m_hose, 0);
    }
    // A postpay sale of `seconds` at 40 l/min on the site's pump; its delivery ID.
    int32_t Sell(int seconds) {
        EXPECT_EQ(Ctl("nozzle-up " + std::to_string(m_pump) + " 1"), 0);
        EXPECT_EQ(AuthoriseMT(m_h, m_pump), 0);
        EXPECT_EQ(Ctl("advance " + std::to_string(seconds * 1000)), 0);
        EXPECT_EQ(Ctl("nozzle-down " + std::to_string(m_pump)), 0);
        int32_t count = 0, id = 0;
        EXPECT_EQ(GetAllDeliveriesCountMT(m_h, &count), 0);
        EXPECT_EQ(GetAllDeliveryByOrdinalMT(m_h, count, &id), 0);
        return id;
    }

    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
    int32_t m_h = 0;
    int32_t m_grade = 0, m_tank = 0, m_pump = 0, m_hose = 0;
};

TEST_F(Entities, AddGivesFreeIDsAndNumbersAndStoresEveryField) {
    Boot("127.0.72.1");
    int32_t n1 = 0, n2 = 0;
    const int32_t g1 = AddGrade("Unleaded", &n1), g2 = AddGrade("Diesel", &n2);
    EXPECT_EQ(g1, 1);
    EXPECT_EQ(g2, 2);
    EXPECT_EQ(n2, n1 + 1);
    // A grade stored with a high number: the next one added goes above it.
    ASSERT_EQ(SetGradePropertiesExMT(m_h, 10, 40, In("Super"), In("SUP"), In("S98"), 2), 0);
    int32_t g3 = 0, n3 = 0;
    ASSERT_EQ(AddGradeMT(m_h, &g3, &n3, In("LPG"), In("LPG"), In("L"), 3), 0);
    EXPECT_EQ(g3, 11);
    EXPECT_EQ(n3, 41);
    int32_t number = 0;
    int16_t type = 0;
    Out name, shortName, code;
    ASSERT_EQ(GetGradePropertiesExMT(m_h, g3, &number, &name, &shortName, &code, &type), 0);
    EXPECT_EQ(name.str(), "LPG");
    EXPECT_EQ(type, 3);

    // Tanks: the grade must exist.
    int32_t id = 0, tn = 0;
    EXPECT_EQ(AddTankMT(m_h, &id, &tn, In("Orphan"), 99, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        -1, -1, 1),
              QV_UNKNOWN_REFERENCE);
    const int32_t tank = AddTank(g1, "Tank 1", &tn);
    EXPECT_EQ(tn, 1);
    int32_t grade = 0, gaugeID = 0, alarms = 0, slot = 0, serial = 0;
    int16_t tankType = 0, probeNo = 0, probeType = 0;
    double capacity, diameter, theo, gv, gtc, gu, gt, gl, gwv, gwl;
    Out tankName;
    ASSERT_EQ(GetTankPropertiesEx2MT(m_h, tank, &number, &tankName, &grade, &tankType, &capacity,
                                     &diameter, &theo, &gv, &gtc, &gu, &gt, &gl, &gwv, &gwl,
                                     &gaugeID, &probeNo, &alarms, &slot, &probeType, &serial),
              0);
    EXPECT_EQ(tankName.str(), "Tank 1");
    EXPECT_EQ(grade, g1);
    EXPECT_DOUBLE_EQ(capacity, 20000);
    EXPECT_EQ(alarms, 6);
    EXPECT_EQ(probeType, 2);
    EXPECT_EQ(serial, 77);

    // Pumps, and hoses numbered on their own pump.
    int32_t pn1 = 0, pn2 = 0;
    const int32_t p1 = AddPump("Pump A", &pn1), p2 = AddPump("Pump B", &pn2);
    EXPECT_EQ(pn2, pn1 + 1);
    int32_t portID = 0, attendant = 0, zb = 0, mux = 0;
    int16_t phys, side, addr, pl1, pl2, pf, vf, valf, ptype, auth, stack, prepay, preauth, pc, hp;
    Out pumpName;
    ASSERT_EQ(GetPumpPropertiesExMT(m_h, p2, &number, &pumpName, &phys, &side, &addr, &pl1, &pl2,
                                    &pf, &vf, &valf, &ptype, &portID, &attendant, &auth, &stack,
                                    &prepay, &preauth, &zb, &mux, &pc, &hp),
              0);
    EXPECT_EQ(number, pn2);
    EXPECT_EQ(pumpName.str(), "Pump B");
    EXPECT_EQ(phys, 4);
    EXPECT_EQ(auth, AUTH_MODE_CLIENT);
    EXPECT_EQ(hp, 1);
    int32_t hn1 = 0, hn2 = 0, hn3 = 0;
    const int32_t h1 = AddHose(p1, tank, &hn1);
    AddHose(p1, tank, &hn2);
    AddHose(p2, tank, &hn3);
    EXPECT_EQ(hn1, 1);
    EXPECT_EQ(hn2, 2);
    EXPECT_EQ(hn3, 1);
    int32_t hoseID = 0, hn = 0;
    EXPECT_EQ(AddHoseMT(m_h, &hoseID, &hn, 77, tank, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1),
              QV_UNKNOWN_REFERENCE);
    int32_t count = 0;
    ASSERT_EQ(GetPumpHosesCountMT(m_h, p1, &count), 0);
    EXPECT_EQ(count, 2);

    // The oldest hose variants read and write a prefix; the rest of the record stays.
    int32_t pump = 0, htank = 0, hphys = 0;
    double theoValue, theoVolume, elecValue, elecVolume;
    ASSERT_EQ(GetHosePropertiesMT(m_h, h1, &number, &pump, &htank, &hphys, &theoValue, &theoVolume,
                                  &elecValue, &elecVolume),
              0);
    EXPECT_EQ(pump, p1);
    EXPECT_EQ(hphys, 7);
    EXPECT_DOUBLE_EQ(elecVolume, 4.5);
    ASSERT_EQ(SetHosePricesExMT(m_h, h1, 0, 0, 1.1, 1.2, 1.3, 1.4), 0);
    ASSERT_EQ(SetHosePropertiesMT(m_h, h1, 1, p1, tank, 9, 10, 20, 30, 40), 0);
    int16_t uve = -1, enabled = -1;
    double pr1, pr2, pr3, pr4;
    ASSERT_EQ(GetHosePropertiesEx3MT(m_h, h1, &number, &pump, &htank, &hphys, &theoValue,
                                     &theoVolume, &elecValue, &elecVolume, &uve, &pr1, &pr2, &pr3,
                                     &pr4, &enabled),
              0);
    EXPECT_EQ(hphys, 9);
    EXPECT_DOUBLE_EQ(elecVolume, 40);
    EXPECT_DOUBLE_EQ(pr3, 1.3);
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(SetHosePropertiesMT(m_h, h1, 1, 55, tank, 9, 10, 20, 30, 40), QV_UNKNOWN_REFERENCE);
    EXPECT_EQ(GetHosePropertiesMT(m_h, 999, &number, &pump, &htank, &hphys, &theoValue, &theoVolume,
                                  &elecValue, &elecVolume),
              QV_UNKNOWN_ID);

    // The oldest tank setter keeps the fields it does not carry.
    ASSERT_EQ(SetTankPropertiesMT(m_h, tank, 5, In("Renamed"), g2, 2, 30000, 3, 0, 9000, 9000,
                                  21000, 14, 900, 0, 0, 4, 2),
              0);
    ASSERT_EQ(GetTankPropertiesEx2MT(m_h, tank, &number, &tankName, &grade, &tankType, &capacity,
                                     &diameter, &theo, &gv, &gtc, &gu, &gt, &gl, &gwv, &gwl,
                                     &gaugeID, &probeNo, &alarms, &slot, &probeType, &serial),
              0);
    EXPECT_EQ(number, 5);
    EXPECT_EQ(grade, g2);
    EXPECT_DOUBLE_EQ(capacity, 30000);
    EXPECT_EQ(probeNo, 2);
    EXPECT_EQ(alarms, 6);
    EXPECT_EQ(serial, 77);
    EXPECT_EQ(
        SetTankPropertiesMT(m_h, tank, 5, In("X"), 404, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
        QV_UNKNOWN_REFERENCE);
}

TEST_F(Entities, StrappingTablesAndDeletingTanks) {
    Boot("127.0.72.2");
    const int32_t grade = AddGrade("Diesel");
    const int32_t tank = AddTank(grade, "Tank D"), spare = AddTank(grade, "Spare");

    // A table never set reads the tank's own diameter and capacity.
    double step = -1, diameter = 0, offset = -1, capacity = 0;
    int32_t alarms = -1;
    Out desc;
    ASSERT_EQ(
        GetStrappingTableDataMT(m_h, tank, &step, &diameter, &offset, &capacity, &alarms, &desc),
        0);
    EXPECT_DOUBLE_EQ(step, 0);
    EXPECT_DOUBLE_EQ(diameter, 2.5);
    EXPECT_DOUBLE_EQ(capacity, 20000);
    EXPECT_EQ(alarms, 0);
    ASSERT_EQ(SetStrappingTableDataMT(m_h, tank, 10, 2.4, 35, 19500, 5, In("Calibrated 2026")), 0);
    ASSERT_EQ(
        GetStrappingTableDataMT(m_h, tank, &step, &diameter, &offset, &capacity, &alarms, &desc),
        0);
    EXPECT_DOUBLE_EQ(step, 10);
    EXPECT_DOUBLE_EQ(diameter, 2.4);
    EXPECT_DOUBLE_EQ(offset, 35);
    EXPECT_DOUBLE_EQ(capacity, 19500);
    EXPECT_EQ(alarms, 5);
    EXPECT_EQ(desc.str(), "Calibrated 2026");
    EXPECT_EQ(SetStrappingTableDataMT(m_h, tank, -1, 2.4, 35, 19500, 5, In("")),
              QV_INVALID_ARGUMENT);
    EXPECT_EQ(SetStrappingTableDataMT(m_h, 404, 10, 2.4, 35, 19500, 5, In("")), QV_UNKNOWN_ID);
    EXPECT_EQ(
        GetStrappingTableDataMT(m_h, 404, &step, &diameter, &offset, &capacity, &alarms, &desc),
        QV_UNKNOWN_ID);

    // Elements are addressed by tank and index; each tank has its own.
    ASSERT_EQ(SetStrappingTableElementMT(m_h, tank, 1, 3, 100, 0.5, 0.25, 410, 412), 0);
    ASSERT_EQ(SetStrappingTableElementMT(m_h, tank, 2, 2, 200, 0.7, 0.35, 1150, 1151), 0);
    ASSERT_EQ(SetStrappingTableElementMT(m_h, spare, 1, 9, 999, 9, 9, 9, 9), 0);
    ASSERT_EQ(SetStrappingTableElementMT(m_h, tank, 1, 4, 100, 0.5, 0.2, 410, 411.5), 0);
    int32_t passes = 0;
    double height, startDelta, curDelta, startVolume, curVolume;
    ASSERT_EQ(GetStrappingTableElementMT(m_h, tank, 1, &passes, &height, &startDelta, &curDelta,
                                         &startVolume, &curVolume),
              0);
    EXPECT_EQ(passes, 4); // replaced, not added
    EXPECT_DOUBLE_EQ(curDelta, 0.2);
    EXPECT_DOUBLE_EQ(curVolume, 411.5);
    ASSERT_EQ(GetStrappingTableElementMT(m_h, tank, 2, &passes, &height, &startDelta, &curDelta,
                                         &startVolume, &curVolume),
              0);
    EXPECT_EQ(passes, 2);
    EXPECT_DOUBLE_EQ(height, 200);
    EXPECT_DOUBLE_EQ(startVolume, 1150);
    EXPECT_EQ(GetStrappingTableElementMT(m_h, tank, 3, &passes, &height, &startDelta, &curDelta,
                                         &startVolume, &curVolume),
              QV_UNKNOWN_ID);
    EXPECT_EQ(GetStrappingTableElementMT(m_h, tank, 0, &passes, &height, &startDelta, &curDelta,
                                         &startVolume, &curVolume),
              QV_INVALID_ARGUMENT);
    EXPECT_EQ(SetStrappingTableElementMT(m_h, tank, 1001, 1, 1, 1, 1, 1, 1), QV_INVALID_ARGUMENT);
    EXPECT_EQ(SetStrappingTableElementMT(m_h, 404, 1, 1, 1, 1, 1, 1, 1), QV_UNKNOWN_ID);

    // A tank that a hose draws from stays; once free it goes with its strapping table.
    int32_t pn = 0;
    const int32_t pump = AddPump("Pump", &pn);
    const int32_t hose = AddHose(pump, tank);
    EXPECT_EQ(DeleteTankMT(m_h, tank), QV_FAILED);
    int32_t count = 0;
    ASSERT_EQ(GetTanksCountMT(m_h, &count), 0);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(DeleteHoseMT(m_h, hose), 0);
    ASSERT_EQ(DeleteTankMT(m_h, tank), 0);
    EXPECT_EQ(DeleteTankMT(m_h, tank), QV_UNKNOWN_ID);
    ASSERT_EQ(GetTanksCountMT(m_h, &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(GetStrappingTableElementMT(m_h, tank, 2, &passes, &height, &startDelta, &curDelta,
                                         &startVolume, &curVolume),
              QV_UNKNOWN_ID);
    // A new tank under the freed ID starts without the old table.
    ASSERT_EQ(SetTankPropertiesMT(m_h, tank, 9, In("Again"), grade, 1, 5000, 1.5, 0, 0, 0, 0, 0, 0,
                                  0, 0, 0, 0),
              0);
    EXPECT_EQ(GetStrappingTableElementMT(m_h, tank, 1, &passes, &height, &startDelta, &curDelta,
                                         &startVolume, &curVolume),
              QV_UNKNOWN_ID);
    ASSERT_EQ(
        GetStrappingTableDataMT(m_h, tank, &step, &diameter, &offset, &capacity, &alarms, &desc),
        0);
    EXPECT_DOUBLE_EQ(diameter, 1.5);
    ASSERT_EQ(GetStrappingTableElementMT(m_h, spare, 1, &passes, &height, &startDelta, &curDelta,
                                         &startVolume, &curVolume),
              0);
    EXPECT_EQ(passes, 9);
}

// The delivery outputs of a pump delivery or summary call, as plain numbers for comparing.
struct Summary {
    int32_t pumpID = 0, pumpNumber = 0, hoseID = 0, hoseNumber = 0, gradeID = 0, lockedBy = 0,
            reservedBy = 0, age = 0, attendantID = 0;
    int16_t priceLevel = 0, state = 0, type = 0;
    double price = 0, volume = 0, value = 0, completed = 0;
    std::string gradeName;
};

TEST_F(Entities, SalesOnALiveForecourt) {
    Boot("127.0.72.3");
    BuildSite();
    ASSERT_EQ(SetIniValueMT(m_h, In("Density"), In(std::to_string(m_tank)), In("835.5")), 0);

    // Hose totals set by a client are where the next sale counts on from.
    EXPECT_EQ(SetHoseETotalsMT(m_h, m_hose, -1, 0), QV_INVALID_ARGUMENT);
    EXPECT_EQ(SetHoseETotalsMT(m_h, 999, 1, 1), QV_UNKNOWN_ID);
    ASSERT_EQ(SetHoseETotalsMT(m_h, m_hose, 1000, 2000), 0);

    // The density of the hose's tank, by hose or by the lifted nozzle.
    double density = 0;
    ASSERT_EQ(GetDensityMT(m_h, m_pump, m_hose, &density), 0);
    EXPECT_DOUBLE_EQ(density, 835.5);
    EXPECT_EQ(GetDensityMT(m_h, m_pump, -1, &density), RESULT_WRONG_PUMP_STATE);
    EXPECT_EQ(GetDensityMT(m_h, m_pump + 1, m_hose, &density), QV_UNKNOWN_ID);
    ASSERT_EQ(Ctl("nozzle-up " + std::to_string(m_pump) + " 1"), 0);
    density = 0;
    ASSERT_EQ(GetDensityMT(m_h, m_pump, -1, &density), 0);
    EXPECT_DOUBLE_EQ(density, 835.5);
    ASSERT_EQ(Ctl("nozzle-down " + std::to_string(m_pump)), 0);

    const int32_t first = Sell(30); // 20 l at 40 l/min
    int32_t duration = 0;
    ASSERT_EQ(GetDurationMT(m_h, first, &duration), 0);
    EXPECT_NEAR(duration, 30, 1);
    EXPECT_EQ(GetDurationMT(m_h, 999, &duration), QV_UNKNOWN_ID);
    int32_t number, pump, tank, phys;
    double theoValue, theoVolume, elecValue, elecVolume;
    ASSERT_EQ(GetHosePropertiesMT(m_h, m_hose, &number, &pump, &tank, &phys, &theoValue,
                                  &theoVolume, &elecValue, &elecVolume),
              0);
    EXPECT_NEAR(elecVolume, 1020, 0.5);
    EXPECT_NEAR(elecValue, 2040, 1);

    // The oldest summary is the first part of Ex2's.
    Summary s, x;
    Out g1, sg1, g2, sg2;
    ASSERT_EQ(GetDeliverySummaryMT(m_h, first, &s.pumpID, &s.pumpNumber, &s.hoseID, &s.hoseNumber,
                                   &s.gradeID, &g1, &sg1, &s.priceLevel, &s.price, &s.volume,
                                   &s.value, &s.state, &s.type, &s.lockedBy, &s.reservedBy, &s.age,
                                   &s.completed, &s.attendantID),
              0);
    double ov, ov2, oval, nv, nv2, nval;
    int64_t tag;
    ASSERT_EQ(GetDeliverySummaryEx2MT(m_h, first, &x.pumpID, &x.pumpNumber, &x.hoseID,
                                      &x.hoseNumber, &x.gradeID, &g2, &sg2, &x.priceLevel, &x.price,
                                      &x.volume, &x.value, &x.state, &x.type, &x.lockedBy,
                                      &x.reservedBy, &x.age, &x.completed, &x.attendantID, &ov,
                                      &ov2, &oval, &nv, &nv2, &nval, &tag, &duration),
              0);
    EXPECT_EQ(s.pumpID, m_pump);
    EXPECT_EQ(s.hoseID, m_hose);
    EXPECT_EQ(g1.str(), "Unleaded");
    EXPECT_EQ(g1.str(), g2.str());
    EXPECT_NEAR(s.volume, 20, 0.5);
    EXPECT_DOUBLE_EQ(s.volume, x.volume);
    EXPECT_DOUBLE_EQ(s.value, x.value);
    EXPECT_EQ(s.state, x.state);
    EXPECT_EQ(s.reservedBy, x.reservedBy);
    EXPECT_DOUBLE_EQ(s.completed, x.completed);
    EXPECT_NEAR(ov, 1000, 0.001);

    // The pump's deliveries through the three older variants.
    int32_t did = 0, hose = 0, locked, reserved, att, dur = -1, cc = 0, grade = 0, dtank = 0;
    int16_t state, type, level;
    double volume = 0, price, value, volume2, completed, cleared;
    ASSERT_EQ(GetPumpDeliveryPropertiesMT(m_h, m_pump, 1, &did, &hose, &state, &type, &volume,
                                          &level, &price, &value, &volume2, &completed, &locked,
                                          &reserved, &att),
              0);
    EXPECT_EQ(did, first);
    EXPECT_EQ(hose, m_hose);
    EXPECT_DOUBLE_EQ(volume, s.volume);
    ASSERT_EQ(GetPumpDeliveryPropertiesExMT(m_h, m_pump, 1, &did, &hose, &state, &type, &volume,
                                            &level, &price, &value, &volume2, &completed, &locked,
                                            &reserved, &att, &cleared, &dur),
              0);
    EXPECT_NEAR(dur, 30, 1);
    ASSERT_EQ(GetPumpDeliveryPropertiesEx3MT(m_h, m_pump, 1, &did, &hose, &state, &type, &volume,
                                             &level, &price, &value, &volume2, &completed, &locked,
                                             &reserved, &att, &cleared, &dur, &cc, &tag, &grade,
                                             &dtank),
              0);
    EXPECT_EQ(grade, m_grade);
    EXPECT_EQ(dtank, m_tank);
    EXPECT_EQ(GetPumpDeliveryPropertiesMT(m_h, m_pump, 2, &did, &hose, &state, &type, &volume,
                                          &level, &price, &value, &volume2, &completed, &locked,
                                          &reserved, &att),
              QV_INVALID_ORDINAL);
    EXPECT_EQ(GetPumpDeliveryPropertiesMT(m_h, 404, 1, &did, &hose, &state, &type, &volume, &level,
                                          &price, &value, &volume2, &completed, &locked, &reserved,
                                          &att),
              QV_UNKNOWN_ID);

    // Periods: the open day holds the sale; closing it freezes it and opens the next.
    int32_t pid = 0, dels = 0;
    double start = -1, end = -1, pvol = 0, pval = 0;
    ASSERT_EQ(GetPeriodMT(m_h, PERIOD_DAY, 0, &pid, &start, &end, &pvol, &pval, &dels), 0);
    EXPECT_DOUBLE_EQ(start, 0);
    EXPECT_DOUBLE_EQ(end, 0);
    EXPECT_EQ(dels, 1);
    EXPECT_DOUBLE_EQ(pvol, s.volume);
    int32_t closed = 0;
    ASSERT_EQ(ClosePeriodMT(m_h, PERIOD_DAY, &closed), 0);
    EXPECT_EQ(closed, pid);

    // A cleared delivery stays among all deliveries; the next sale goes to the new period.
    ASSERT_EQ(ClearDeliveryMT(m_h, first, 0), 0);
    int32_t onPump = -1, all = 0;
    ASSERT_EQ(GetDeliveriesCountMT(m_h, m_pump, &onPump), 0);
    EXPECT_EQ(onPump, 0);
    ASSERT_EQ(Ctl("advance 1000"), 0);
    const int32_t second = Sell(15); // 10 l
    EXPECT_NE(second, first);
    ASSERT_EQ(GetAllDeliveriesCountMT(m_h, &all), 0);
    EXPECT_EQ(all, 2);
    std::set<int32_t> ids;
    for (int32_t o = 1; o <= all; ++o) {
        int32_t id = 0;
        ASSERT_EQ(GetAllDeliveryByOrdinalMT(m_h, o, &id), 0);
        ids.insert(id);
    }
    EXPECT_EQ(ids, (std::set<int32_t>{first, second}));
    int32_t id = 0;
    EXPECT_EQ(GetAllDeliveryByOrdinalMT(m_h, all + 1, &id), QV_INVALID_ORDINAL);

    ASSERT_EQ(GetPeriodMT(m_h, PERIOD_DAY, 1, &pid, &start, &end, &pvol, &pval, &dels), 0);
    EXPECT_EQ(pid, closed);
    EXPECT_GT(end, 0);
    EXPECT_EQ(dels, 1);
    EXPECT_DOUBLE_EQ(pvol, s.volume);
    const double closedAt = end;
    ASSERT_EQ(GetPeriodMT(m_h, PERIOD_DAY, 0, &pid, &start, &end, &pvol, &pval, &dels), 0);
    EXPECT_GT(pid, closed);
    EXPECT_DOUBLE_EQ(start, closedAt);
    EXPECT_EQ(dels, 1);
    EXPECT_NEAR(pvol, 10, 0.5);
    // Shifts were never closed: their open period holds both sales.
    ASSERT_EQ(GetPeriodMT(m_h, PERIOD_SHIFT, 0, &pid, &start, &end, &pvol, &pval, &dels), 0);
    EXPECT_EQ(dels, 2);
    EXPECT_EQ(GetPeriodMT(m_h, PERIOD_DAY, 2, &pid, &start, &end, &pvol, &pval, &dels),
              QV_INVALID_ORDINAL);
    EXPECT_EQ(GetPeriodMT(m_h, 9, 0, &pid, &start, &end, &pvol, &pval, &dels), QV_INVALID_ARGUMENT);
    EXPECT_EQ(ClosePeriodMT(m_h, 0, &closed), QV_INVALID_ARGUMENT);
}

TEST_F(Entities, ReadAllTanksReportsEveryTankAndOldDeliverySetterStores) {
    Boot("127.0.72.4");
    BuildSite();
    const int32_t second = AddTank(m_grade, "Tank 2");
    ASSERT_EQ(ReadAllTanksMT(m_h), 0); // the forecourt takes up the new tank and reports it
    // A logon from now on sees only what the next reading sends: nothing else moves.
    int32_t h2 = Logon(m_server->Address());
    ASSERT_NE(h2, 0);
    ASSERT_EQ(ReadAllTanksMT(h2), 0);
    int16_t next = 0;
    std::set<int32_t> reported;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (reported.size() < 2 && std::chrono::steady_clock::now() < until) {
        ASSERT_EQ(ProcessEventsMT(h2), 0);
        while (GetNextEventTypeMT(h2, &next) == 0 && next != 0) {
            if (next != EVENT_DB_TANK_STATUS) {
                DiscardNextEventMT(h2);
                continue;
            }
            int32_t tank = 0;
            double v, tc, u, t, l, wv, wl;
            ASSERT_EQ(GetNextDBTankStatusEventMT(h2, &tank, &v, &tc, &u, &t, &l, &wv, &wl), 0);
            reported.insert(tank);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(reported, (std::set<int32_t>{m_tank, second}));
    ClientLogoffMT(&h2);

    // The oldest delivery setter: its fields, the newer ones at their defaults.
    ASSERT_EQ(SetDeliveryPropertiesMT(m_h, 500, m_pump, m_hose, DELIVERY_STATE_STACKED,
                                      DELIVERY_TYPE_PREPAY, 12.5, 1, 2, 25, 0, 46000.5, -1, 7, -1),
              0);
    int32_t pump, hose, locked, reserved, att, dur = -1, cc = 0, grade, tank, clearedBy;
    int16_t state, type, level, logged;
    double volume, price, value, volume2, completed, cleared;
    int64_t tag = 0;
    ASSERT_EQ(GetDeliveryPropertiesEx4MT(m_h, 500, &pump, &hose, &state, &type, &volume, &level,
                                         &price, &value, &volume2, &completed, &locked, &reserved,
                                         &att, &cleared, &dur, &cc, &tag, &grade, &tank, &logged,
                                         &clearedBy),
              0);
    EXPECT_EQ(pump, m_pump);
    EXPECT_EQ(type, DELIVERY_TYPE_PREPAY);
    EXPECT_DOUBLE_EQ(value, 25);
    EXPECT_NEAR(completed, 46000.5, 1e-6);
    EXPECT_EQ(reserved, 7);
    EXPECT_EQ(dur, 0);
    EXPECT_EQ(cc, -1);
    int32_t all = 0;
    ASSERT_EQ(GetAllDeliveriesCountMT(m_h, &all), 0);
    EXPECT_EQ(all, 1);
}

} // namespace
