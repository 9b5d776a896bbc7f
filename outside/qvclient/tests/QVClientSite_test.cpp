// The library's client, added-record, attendant-state, card look-up, price-sign, all-statuses
// and last-result functions against a real server on a manual clock (addresses 127.0.80.1 ..
// 127.0.80.9).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

// Owns one BSTR input.
struct In {
    BSTR b;
    explicit In(const std::string& s) : b(Bstr(s)) {}
    ~In() { platform::SysFreeString(b); }
    operator BSTR() const { return b; }
};

int32_t LogonAs(const std::string& server, int32_t clientID) {
    int32_t h = 0;
    In name("site tester"), key(""), host(server);
    return InternalClientLogonMT(&h, clientID, 5, name, 1, key, 0, host, 5123, 5124, 3000, 0, 0,
                                 1024) == 0
               ? h
               : 0;
}

class Site : public ::testing::Test {
  protected:
    // An empty site on a manual clock; the test logs on as client 7.
    void Boot(const std::string& address) {
        m_server = std::make_unique<ServerProcess>(address, m_dir.Path(),
                                                   std::vector<std::string>{"--clock", "manual"});
        ASSERT_TRUE(m_server->Start("empty"));
        m_h = LogonAs(address, 7);
        ASSERT_NE(m_h, 0);
    }
    void TearDown() override {
        if (m_h) ClientLogoffMT(&m_h);
    }
    // One grade, one tank, pump 1 authorised by clients and pump 2 by itself, a hose on each.
    void BuildPumps() {
        In grade("Unleaded"), shortName("ULP"), code("U95"), tank("Tank 1");
        ASSERT_EQ(SetGradePropertiesExMT(m_h, 1, 1, grade, shortName, code, 1), 0);
        ASSERT_EQ(SetGradePriceMT(m_h, 1, 1, 2.0), 0);
        ASSERT_EQ(SetTankPropertiesEx2MT(m_h, 1, 1, tank, 1, 1, 20000, 2.5, 10000, 10000, 10000,
                                         10000, 15, 1200, 0, 0, 1, 1, 0, 0, 0, 0),
                  0);
        for (int32_t p : {1, 2}) {
            In pump("Pump " + std::to_string(p));
            ASSERT_EQ(SetPumpPropertiesExMT(m_h, p, p, pump, static_cast<int16_t>(p), 1, 1, 1, 2, 2,
                                            2, 2, 1, 0, -1,
                                            p == 1 ? AUTH_MODE_CLIENT : AUTH_MODE_AUTO,
                                            STACK_MODE_AUTO, 1, 1, 0, 0, 0, 1),
                      0);
            ASSERT_EQ(SetHosePropertiesEx3MT(m_h, p * 10 + 1, 1, p, 1, 100 + p, 0, 0, 0, 0, 0, 0, 0,
                                             0, 0, 1),
                      0);
        }
        int16_t state = 0, reservedFor = 0, level = 0;
        int32_t by = 0, hose = 0, hoseNumber = 0, gradeID = 0, stack = 0;
        double price = 0, volume = 0, value = 0;
        Out gn, sgn;
        ASSERT_EQ(GetPumpStatusMT(m_h, 2, &state, &reservedFor, &by, &hose, &hoseNumber, &gradeID,
                                  &gn, &sgn, &level, &price, &volume, &value, &stack),
                  0);
    }
    int Ctl(const std::string& command) {
        const std::string line = BuildDir() + "/bin/qvserver ctl " + m_server->Address() + " " +
                                 command + " >/dev/null 2>&1";
        const int raw = std::system(line.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    int32_t LastResult(int32_t h) {
        int32_t r = -999;
        EXPECT_EQ(GetLastAPIResultMT(h, &r), 0);
        return r;
    }

    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
    int32_t m_h = 0;
};

TEST_F(Site, AddedPortsZigBeesAndSensorsGetFreshIDsAndNumbersAndReadBack) {
    Boot("127.0.80.1");
    In port("COM1"), serial("P-100"), port2("COM2"), empty("");
    int32_t id = 0, number = 0, id2 = 0, number2 = 0;
    ASSERT_EQ(AddPortMT(m_h, &id, &number, port, 3, 2, serial), 0);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(number, 1);
    // A record stored by number 7 moves the next free Number and ID past it.
    ASSERT_EQ(SetPortPropertiesMT(m_h, 5, 7, port, 1, 1, empty), 0);
    ASSERT_EQ(AddPortMT(m_h, &id2, &number2, port2, 4, 1, empty), 0);
    EXPECT_EQ(id2, 6);
    EXPECT_EQ(number2, 8);

    int32_t n = 0;
    int16_t protocol = 0, device = 0;
    Out name, serialOut;
    ASSERT_EQ(GetPortPropertiesMT(m_h, id, &n, &name, &protocol, &device, &serialOut), 0);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(name.str(), "COM1");
    EXPECT_EQ(protocol, 3);
    EXPECT_EQ(device, 2);
    EXPECT_EQ(serialOut.str(), "P-100");
    // The added radio port reports the versions its serial number gives, as a stored one does.
    Out devSerial, boot, firmware;
    EXPECT_EQ(GetDeviceDetailsMT(m_h, id, -1, &devSerial, &boot, &firmware), 0);
    EXPECT_EQ(devSerial.str(), "P-100");
    EXPECT_FALSE(boot.str().empty());

    In zb("Dispenser radio"), zbSerial("Z-1"), node("N1");
    int32_t zbID = 0, zbNumber = 0;
    ASSERT_EQ(AddZigBeeMT(m_h, &zbID, &zbNumber, zb, 5, zbSerial, node, id), 0);
    Out zbName, zbSerialOut, nodeOut;
    int16_t zbType = 0;
    int32_t zbPort = 0;
    ASSERT_EQ(
        GetZigBeePropertiesMT(m_h, zbID, &n, &zbName, &zbType, &zbSerialOut, &nodeOut, &zbPort), 0);
    EXPECT_EQ(n, zbNumber);
    EXPECT_EQ(zbName.str(), "Dispenser radio");
    EXPECT_EQ(zbType, 5);
    EXPECT_EQ(nodeOut.str(), "N1");
    EXPECT_EQ(zbPort, id);

    In sensor("Sump");
    int32_t sID = 0, sNumber = 0;
    ASSERT_EQ(AddSensorMT(m_h, &sID, &sNumber, sensor, id, 2, 9, 3, zbID, 4242), 0);
    Out sName;
    int32_t sPort = 0, slot = 0, sSerial = 0;
    int16_t sType = 0, address = 0, sensorNo = 0;
    ASSERT_EQ(GetSensorPropertiesExMT(m_h, sID, &n, &sName, &sPort, &sType, &address, &sensorNo,
                                      &slot, &sSerial),
              0);
    EXPECT_EQ(n, sNumber);
    EXPECT_EQ(sName.str(), "Sump");
    EXPECT_EQ(sPort, id);
    EXPECT_EQ(sType, 2);
    EXPECT_EQ(address, 9);
    EXPECT_EQ(sensorNo, 3);
    EXPECT_EQ(slot, zbID);
    EXPECT_EQ(sSerial, 4242);

    // Deleting removes the record; a second delete and any read of it give the not-found result.
    EXPECT_EQ(DeleteSensorMT(m_h, sID), 0);
    EXPECT_EQ(DeleteSensorMT(m_h, sID), QV_UNKNOWN_ID);
    EXPECT_EQ(GetSensorStatusMT(m_h, sID, &sType), QV_UNKNOWN_ID);
    EXPECT_EQ(DeleteZigBeeMT(m_h, zbID), 0);
    EXPECT_EQ(DeleteZigBeeMT(m_h, zbID), QV_UNKNOWN_ID);
    // A device a pump sits on is kept until the pump moves off it.
    In slotted("Slot radio"), pumpName("Pump 9");
    ASSERT_EQ(SetZigBeePropertiesMT(m_h, 9, 9, slotted, 5, zbSerial, node, id), 0);
    ASSERT_EQ(SetPumpPropertiesExMT(m_h, 3, 3, pumpName, 3, 1, 1, 1, 2, 2, 2, 2, 1, id, -1, 1, 1, 1,
                                    1, 9, 0, 0, 1),
              0);
    EXPECT_EQ(DeleteZigBeeMT(m_h, 9), QV_FAILED);
    ASSERT_EQ(SetPumpPropertiesExMT(m_h, 3, 3, pumpName, 3, 1, 1, 1, 2, 2, 2, 2, 1, id, -1, 1, 1, 1,
                                    1, 0, 0, 0, 1),
              0);
    EXPECT_EQ(DeleteZigBeeMT(m_h, 9), 0);
    EXPECT_EQ(RemovePortMT(m_h, id2), 0);
    EXPECT_EQ(RemovePortMT(m_h, id2), QV_UNKNOWN_ID);
    int32_t count = 0;
    ASSERT_EQ(GetPortsCountMT(m_h, &count), 0);
    EXPECT_EQ(count, 2);
}

TEST_F(Site, AddedProductsAttendantsAndCardClientsReadBackWithEveryField) {
    Boot("127.0.80.2");
    In name("Oil 1L"), tag("9001"), shortName("OIL"), barcode("4006381333931");
    int32_t pID = 0, pNumber = 0;
    ASSERT_EQ(AddProductMT(m_h, &pID, &pNumber, name, tag, 1, shortName, barcode, 77, 9.5, 9.0, 8.5,
                           8.0, 3),
              0);
    int32_t n = 0, quick = 0, group = 0;
    int16_t enabled = 0;
    double p1 = 0, p2 = 0, p3 = 0, p4 = 0, added = 0, updated = 0;
    Out pn, pt, ps, pb;
    ASSERT_EQ(GetProductPropertiesEx2MT(m_h, pID, &n, &pn, &pt, &enabled, &ps, &pb, &quick, &p1,
                                        &p2, &p3, &p4, &group, &added, &updated),
              0);
    EXPECT_EQ(n, pNumber);
    EXPECT_EQ(pn.str(), "Oil 1L");
    EXPECT_EQ(pb.str(), "4006381333931");
    EXPECT_EQ(quick, 77);
    EXPECT_DOUBLE_EQ(p4, 8.0);
    EXPECT_EQ(group, 3);
    EXPECT_GT(added, 0); // dated as a stored product is

    In att("Ann"), attShort("A"), pass("1234"), attTag("555"), idNumber("ID-9");
    int32_t aID = 0, aNumber = 0, aID2 = 0, aNumber2 = 0;
    ASSERT_EQ(AddAttendantMT(m_h, &aID, &aNumber, att, attShort, pass, attTag, idNumber, 360, 840,
                             840, 1320, 2),
              0);
    ASSERT_EQ(
        AddAttendantMT(m_h, &aID2, &aNumber2, att, attShort, pass, attTag, idNumber, 0, 0, 0, 0, 1),
        0);
    EXPECT_EQ(aID2, aID + 1);
    EXPECT_EQ(aNumber2, aNumber + 1);
    Out an, as, ap, at, ai;
    int16_t sa = 0, ea = 0, sb = 0, eb = 0, type = 0;
    ASSERT_EQ(GetAttendantPropertiesEx2MT(m_h, aID, &n, &an, &as, &ap, &at, &ai, &sa, &ea, &sb, &eb,
                                          &type),
              0);
    EXPECT_EQ(an.str(), "Ann");
    EXPECT_EQ(ai.str(), "ID-9");
    EXPECT_EQ(sa, 360);
    EXPECT_EQ(eb, 1320);
    EXPECT_EQ(type, 2);

    // A card client whose parent is that attendant (CardType 5), with every Ex4 field.
    In cc("Fleet card"), ccTag("CARD-1"), plate("AB-12-CD"), ccId("X"), ccShort("FLT"),
        ccPass("0000"), odo("ODO-7");
    int32_t cID = 0, cNumber = 0;
    ASSERT_EQ(AddCardClientMT(m_h, &cID, &cNumber, cc, ccTag, 1, 2, plate, ccId, ccShort, ccPass, 1,
                              5, 2, 150.0, 3, 46000.5, aID, odo, 12345.6, 10),
              0);
    Out cn, ct, cp, ci, cs, cw, co;
    int16_t ce = 0, level = 0, gradeType = 0, cardType = 0, limitType = 0, entry = 0;
    double limit = 0, expires = 0, odometer = 0;
    int32_t parent = 0, factor = 0;
    ASSERT_EQ(GetCardClientPropertiesEx4MT(m_h, cID, &n, &cn, &ct, &ce, &level, &cp, &ci, &cs, &cw,
                                           &gradeType, &cardType, &limitType, &limit, &entry,
                                           &expires, &parent, &co, &odometer, &factor),
              0);
    EXPECT_EQ(n, cNumber);
    EXPECT_EQ(cn.str(), "Fleet card");
    EXPECT_EQ(cp.str(), "AB-12-CD");
    EXPECT_EQ(cardType, 5);
    EXPECT_DOUBLE_EQ(limit, 150.0);
    EXPECT_NEAR(expires, 46000.5, 1e-6);
    EXPECT_EQ(parent, aID);
    EXPECT_EQ(co.str(), "ODO-7");
    EXPECT_EQ(factor, 10);

    // An unknown parent is refused and nothing is stored.
    int32_t count = 0, before = 0;
    ASSERT_EQ(GetCardClientsCountMT(m_h, &before), 0);
    EXPECT_EQ(AddCardClientMT(m_h, &cID, &cNumber, cc, ccTag, 1, 2, plate, ccId, ccShort, ccPass, 1,
                              5, 2, 150.0, 3, 0, 999, odo, 0, 1),
              QV_UNKNOWN_REFERENCE);
    ASSERT_EQ(GetCardClientsCountMT(m_h, &count), 0);
    EXPECT_EQ(count, before);
}

TEST_F(Site, OlderAndOtherSettersStoreTheirFieldsAndKeepTheRest) {
    Boot("127.0.80.3");
    In name("Card A"), tag("T-1"), plate("P"), blank(""), renamed("Card B");
    ASSERT_EQ(SetCardClientPropertiesExMT(m_h, 4, 10, name, tag, 1, 3, plate), 0);
    ASSERT_EQ(SetCardClientPropertiesMT(m_h, 4, 11, renamed, tag, 0), 0);
    int32_t n = 0;
    int16_t enabled = 0, level = 0;
    Out cn, ct, cp;
    ASSERT_EQ(GetCardClientPropertiesExMT(m_h, 4, &n, &cn, &ct, &enabled, &level, &cp), 0);
    EXPECT_EQ(n, 11);
    EXPECT_EQ(cn.str(), "Card B");
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(level, 3); // not carried by the plain setter: kept
    EXPECT_EQ(cp.str(), "P");
    EXPECT_EQ(SetCardClientPropertiesMT(m_h, 0, 1, name, tag, 1), QV_INVALID_ARGUMENT);

    In reader("Reader 1");
    ASSERT_EQ(SetCardReadPropertiesMT(m_h, 3, 21, reader, 2, 4, 4, 123456789012LL, 45000.25), 0);
    Out rn;
    int32_t pump = 0, parent = 0;
    int16_t type = 0;
    int64_t cardTag = 0;
    double stamp = 0;
    ASSERT_EQ(GetCardReadPropertiesMT(m_h, 3, &n, &rn, &pump, &type, &parent, &cardTag, &stamp), 0);
    EXPECT_EQ(n, 21);
    EXPECT_EQ(rn.str(), "Reader 1");
    EXPECT_EQ(pump, 2);
    EXPECT_EQ(type, 4);
    EXPECT_EQ(cardTag, 123456789012LL);
    EXPECT_NEAR(stamp, 45000.25, 1e-6);

    In desc("Water high");
    ASSERT_EQ(SetLogEventPropertiesMT(m_h, 8, 2, 1, 3, 17, desc, 45001.5, 45002.0, 7, 8, 1.5, 2.5,
                                      1000, 55.5, 3.25, 18.0),
              0);
    int16_t deviceType = 0, eventLevel = 0, eventType = 0;
    int32_t device = 0, clearedBy = 0, ackedBy = 0;
    double generated = 0, cleared = 0, volume = 0, value = 0, productVolume = 0, productLevel = 0,
           water = 0, temperature = 0;
    Out ld;
    ASSERT_EQ(GetLogEventPropertiesMT(m_h, 8, &deviceType, &device, &eventLevel, &eventType, &ld,
                                      &generated, &cleared, &clearedBy, &ackedBy, &volume, &value,
                                      &productVolume, &productLevel, &water, &temperature),
              0);
    EXPECT_EQ(deviceType, 2);
    EXPECT_EQ(eventType, 17);
    EXPECT_EQ(ld.str(), "Water high");
    EXPECT_NEAR(cleared, 45002.0, 1e-6);
    EXPECT_EQ(ackedBy, 8);
    EXPECT_DOUBLE_EQ(water, 3.25);
    EXPECT_DOUBLE_EQ(temperature, 18.0);
}

TEST_F(Site, FindCardFindsTheCardClientByItsTagOrSaysThereIsNone) {
    Boot("127.0.80.4");
    In a("Alpha"), b("Beta"), tagA("04A1B2"), tagB("99"), plate("");
    ASSERT_EQ(SetCardClientPropertiesExMT(m_h, 2, 20, a, tagA, 1, 1, plate), 0);
    ASSERT_EQ(
        SetCardClientPropertiesEx2MT(m_h, 3, 30, b, tagB, 0, 2, plate, 1, 2, 3, 75.0, 1, 0, -1), 0);
    int32_t id = 0, number = 0;
    int16_t cardType = 0, enabled = 0, limitType = 0;
    double limit = 0;
    Out name;
    ASSERT_EQ(FindCardMT(m_h, tagB, &id, &number, &name, &cardType, &enabled, &limitType, &limit),
              0);
    EXPECT_EQ(id, 3);
    EXPECT_EQ(number, 30);
    EXPECT_EQ(name.str(), "Beta");
    EXPECT_EQ(cardType, 2);
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(limitType, 3);
    EXPECT_DOUBLE_EQ(limit, 75.0);

    In unknown("04A1B"), empty("");
    id = -5;
    EXPECT_EQ(
        FindCardMT(m_h, unknown, &id, &number, &name, &cardType, &enabled, &limitType, &limit),
        QV_UNKNOWN_ID);
    EXPECT_EQ(id, -5); // outputs untouched on failure
    EXPECT_EQ(FindCardMT(m_h, empty, &id, &number, &name, &cardType, &enabled, &limitType, &limit),
              QV_INVALID_ARGUMENT);
}

TEST_F(Site, PriceSignElementsAreStoredPerSignAndElement) {
    Boot("127.0.80.5");
    In grade("Diesel"), shortName("DSL"), code("D");
    ASSERT_EQ(SetGradePropertiesExMT(m_h, 4, 4, grade, shortName, code, 2), 0);
    int16_t type = 0, level = 0, format = 0, lit = 0;
    int32_t gradeID = 0;
    EXPECT_EQ(GetPriceSignElementMT(m_h, 1, 1, &type, &gradeID, &level, &format, &lit),
              QV_UNKNOWN_ID);
    ASSERT_EQ(SetPriceSignElementMT(m_h, 1, 1, 2, 4, 3, 6, 1), 0);
    ASSERT_EQ(SetPriceSignElementMT(m_h, 1, 2, 1, -1, 1, 5, 0), 0);
    ASSERT_EQ(SetPriceSignElementMT(m_h, 2, 1, 3, 4, 1, 5, 1), 0);
    ASSERT_EQ(SetPriceSignElementMT(m_h, 1, 1, 2, 4, 4, 7, 1), 0); // replaces, adds no element
    ASSERT_EQ(GetPriceSignElementMT(m_h, 1, 1, &type, &gradeID, &level, &format, &lit), 0);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(gradeID, 4);
    EXPECT_EQ(level, 4);
    EXPECT_EQ(format, 7);
    EXPECT_EQ(lit, 1);
    ASSERT_EQ(GetPriceSignElementMT(m_h, 1, 2, &type, &gradeID, &level, &format, &lit), 0);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(gradeID, -1);
    EXPECT_EQ(lit, 0);
    ASSERT_EQ(GetPriceSignElementMT(m_h, 2, 1, &type, &gradeID, &level, &format, &lit), 0);
    EXPECT_EQ(type, 3);

    EXPECT_EQ(SetPriceSignElementMT(m_h, 1, 3, 2, 99, 1, 5, 1), QV_UNKNOWN_REFERENCE);
    EXPECT_EQ(SetPriceSignElementMT(m_h, 1, 3, 2, 4, 9, 5, 1), QV_INVALID_ARGUMENT);
    EXPECT_EQ(SetPriceSignElementMT(m_h, 0, 1, 2, 4, 1, 5, 1), QV_INVALID_ARGUMENT);
    EXPECT_EQ(GetPriceSignElementMT(m_h, 1, 3, &type, &gradeID, &level, &format, &lit),
              QV_UNKNOWN_ID);
}

TEST_F(Site, LastResultAndClientCountFollowEachLogon) {
    Boot("127.0.80.6");
    EXPECT_EQ(LastResult(m_h), 0);
    int32_t n = 0;
    int16_t protocol = 0, device = 0;
    Out name, serial;
    EXPECT_EQ(GetPortPropertiesMT(m_h, 42, &n, &name, &protocol, &device, &serial), QV_UNKNOWN_ID);
    EXPECT_EQ(LastResult(m_h), QV_UNKNOWN_ID);
    EXPECT_EQ(LastResult(m_h), QV_UNKNOWN_ID); // reading it does not replace it

    int32_t other = LogonAs(m_server->Address(), 8);
    ASSERT_NE(other, 0);
    EXPECT_EQ(LastResult(other), 0); // its own calls only
    EXPECT_EQ(SetPriceSignElementMT(other, 1, 1, 1, -1, 0, 0, 0), QV_INVALID_ARGUMENT);
    EXPECT_EQ(LastResult(other), QV_INVALID_ARGUMENT);
    EXPECT_EQ(LastResult(m_h), QV_UNKNOWN_ID);

    int32_t count = 0;
    ASSERT_EQ(GetClientsCountMT(m_h, &count), 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(LastResult(m_h), 0);
    ASSERT_EQ(ClientLogoffMT(&other), 0);
    ASSERT_EQ(GetClientsCountMT(m_h, &count), 0);
    EXPECT_EQ(count, 1);
}

TEST_F(Site, ClientStatusCountsOnlyThisClientsReservationsAndLocks) {
    Boot("127.0.80.7");
    BuildPumps();
    int32_t other = LogonAs(m_server->Address(), 8);
    ASSERT_NE(other, 0);
    // A sale on the self-authorising pump 2, locked by client 7; pump 1 reserved by client 7.
    ASSERT_EQ(Ctl("nozzle-up 2 1"), 0);
    ASSERT_EQ(Ctl("advance 15000"), 0);
    ASSERT_EQ(Ctl("nozzle-down 2"), 0);
    int32_t delivery = 0, count = 0;
    ASSERT_EQ(GetDeliveriesCountMT(m_h, 2, &count), 0);
    ASSERT_EQ(count, 1);
    ASSERT_EQ(GetDeliveryByOrdinalMT(m_h, 2, 1, &delivery), 0);

    int32_t pumps = -1, locked = -1;
    ASSERT_EQ(ClientStatusMT(m_h, &pumps, &locked), 0);
    EXPECT_EQ(pumps, 0);
    EXPECT_EQ(locked, 0);
    ASSERT_EQ(PrepayReserveMT(m_h, 1, 7), 0);
    ASSERT_EQ(LockDeliveryMT(m_h, delivery), 0);
    ASSERT_EQ(ClientStatusMT(m_h, &pumps, &locked), 0);
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ(locked, 1);
    ASSERT_EQ(ClientStatusMT(other, &pumps, &locked), 0);
    EXPECT_EQ(pumps, 0);
    EXPECT_EQ(locked, 0);

    ASSERT_EQ(UnlockDeliveryMT(m_h, delivery), 0);
    ASSERT_EQ(PrepayCancelMT(m_h, 1, 7), 0);
    ASSERT_EQ(ClientStatusMT(m_h, &pumps, &locked), 0);
    EXPECT_EQ(pumps, 0);
    EXPECT_EQ(locked, 0);
    ClientLogoffMT(&other);
}

TEST_F(Site, AttendantStateFollowsLogonAndLogoff) {
    Boot("127.0.80.8");
    BuildPumps();
    In name("Bob"), blank("");
    int32_t id = 0, number = 0;
    ASSERT_EQ(AddAttendantMT(m_h, &id, &number, name, blank, blank, blank, blank, 0, 0, 0, 0, 1),
              0);
    int16_t on = -1;
    int32_t pump = 0;
    ASSERT_EQ(GetAttendantStateMT(m_h, id, &on, &pump), 0);
    EXPECT_EQ(on, 0);
    EXPECT_EQ(pump, -1);
    ASSERT_EQ(AttendantLogonMT(m_h, id, 2), 0);
    ASSERT_EQ(GetAttendantStateMT(m_h, id, &on, &pump), 0);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(pump, 2);
    ASSERT_EQ(AttendantLogonMT(m_h, id, -1), 0); // at no pump in particular
    ASSERT_EQ(GetAttendantStateMT(m_h, id, &on, &pump), 0);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(pump, -1);
    ASSERT_EQ(AttendantLogoffMT(m_h, id), 0);
    ASSERT_EQ(GetAttendantStateMT(m_h, id, &on, &pump), 0);
    EXPECT_EQ(on, 0);
    EXPECT_EQ(GetAttendantStateMT(m_h, id + 5, &on, &pump), QV_UNKNOWN_ID);
}

TEST_F(Site, AllStatusesGivesPumpsTanksAndSensorsInOneCall) {
    Boot("127.0.80.9");
    BuildPumps();
    In sensor("Leak"), port("COM1"), blank("");
    int32_t portID = 0, portNumber = 0, s1 = 0, s2 = 0, number = 0;
    ASSERT_EQ(AddPortMT(m_h, &portID, &portNumber, port, 1, 1, blank), 0);
    ASSERT_EQ(AddSensorMT(m_h, &s1, &number, sensor, portID, 1, 1, 1, 0, 0), 0);
    ASSERT_EQ(AddSensorMT(m_h, &s2, &number, sensor, portID, 1, 2, 2, 0, 0), 0);
    ASSERT_EQ(Ctl("nozzle-up 2 1"), 0);

    Out states, hoses, counts, pumpStates, pumpHoses, pumpCounts, tanks, sensors;
    ASSERT_EQ(GetAllPumpStatusesMT(m_h, &states, &hoses, &counts), 0);
    ASSERT_EQ(GetAllStatusesMT(m_h, &pumpStates, &pumpHoses, &pumpCounts, &tanks, &sensors), 0);
    EXPECT_EQ(pumpStates.str(), states.str());
    EXPECT_EQ(pumpHoses.str(), hoses.str());
    EXPECT_EQ(pumpCounts.str(), counts.str());
    EXPECT_EQ(pumpStates.str().size(), 2u);
    EXPECT_EQ(pumpHoses.str(), "01"); // pump 2's nozzle is up
    EXPECT_EQ(tanks.str(), "1");      // one tank, normal
    EXPECT_EQ(sensors.str(), "00");
}

} // namespace
