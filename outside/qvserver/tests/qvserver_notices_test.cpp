// The server's notices, table triggers, ZigBee reports and terminal prompts, read with every
// field through the client library from a manually clocked demo server (addresses
// 127.0.73.1 .. 127.0.73.7); the terminal's beeps and lights as the control channel shows them.
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

class Notices : public ::testing::Test {
  protected:
    void Boot(const std::string& address) {
        m_server = std::make_unique<ServerProcess>(address, m_dir.Path(),
                                                   std::vector<std::string>{"--clock", "manual"});
        ASSERT_TRUE(m_server->Start("demo"));
        m_h = LogonAs(7);
        ASSERT_NE(m_h, 0);
    }
    void TearDown() override {
        if (m_h) ClientLogoffMT(&m_h);
    }
    int32_t LogonAs(int32_t clientID) {
        int32_t h = 0;
        BSTR name = Bstr("notices"), key = Bstr(""), host = Bstr(m_server->Address());
        const int32_t r = InternalClientLogonMT(&h, clientID, 5, name, 1, key, 0, host, 5123, 5124,
                                                3000, 0, 0, 1024);
        platform::SysFreeString(name);
        platform::SysFreeString(key);
        platform::SysFreeString(host);
        return r == 0 ? h : 0;
    }
    // 'qvserver ctl' with its printed answer; the exit status.
    int Ctl(const std::string& command, std::string* answer = nullptr) {
        const std::string line =
            BuildDir() + "/bin/qvserver ctl " + m_server->Address() + " " + command + " 2>&1";
        FILE* p = popen(line.c_str(), "r");
        if (!p) return -1;
        std::string out;
        char buf[256];
        while (fgets(buf, sizeof buf, p))
            out += buf;
        const int raw = pclose(p);
        while (!out.empty() && out.back() == '\n')
            out.pop_back();
        if (answer) *answer = out;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    // Waits (bounded) until an event of `type` is the oldest queued one, dropping the others.
    bool Await(int16_t type) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < until) {
            EXPECT_EQ(ProcessEventsMT(m_h), 0);
            int16_t next = 0;
            while (GetNextEventTypeMT(m_h, &next) == 0 && next != 0) {
                if (next == type) return true;
                DiscardNextEventMT(m_h);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    // The next server event: its ID and text.
    std::pair<int32_t, std::string> NextServerEvent() {
        int32_t id = -1;
        Out text;
        if (!Await(3) || GetNextServerEventMT(m_h, &id, &text) != 0) return {-1, ""};
        return {id, text.str()};
    }

    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
    int32_t m_h = 0;
};

} // namespace

TEST_F(Notices, ServerEventsTellLogonsLogoffsAndPumpsGoingOffAndOnLine) {
    Boot("127.0.73.1");
    int32_t other = LogonAs(8);
    ASSERT_NE(other, 0);
    EXPECT_EQ(NextServerEvent(), std::make_pair(1, std::string("Client 8")));
    ClientLogoffMT(&other);
    EXPECT_EQ(NextServerEvent(), std::make_pair(2, std::string("Client 8")));
    ASSERT_EQ(Ctl("offline 1 1"), 0);
    EXPECT_EQ(NextServerEvent(), std::make_pair(3, std::string("Pump 1")));
    ASSERT_EQ(Ctl("offline 1 0"), 0);
    EXPECT_EQ(NextServerEvent(), std::make_pair(4, std::string("Pump 1")));
    // With nothing of its kind at the head, the reader leaves its outputs as they were.
    while (DiscardNextEventMT(m_h) == 0) {
    }
    int32_t id = -5;
    Out text;
    EXPECT_EQ(GetNextServerEventMT(m_h, &id, &text), QV_NO_EVENT);
    EXPECT_EQ(id, -5);
}

TEST_F(Notices, TableTriggersNameTheDeliveryAndTheLogEventRowsWritten) {
    Boot("127.0.73.2");
    // Pump 1 of the demonstration site authorises itself.
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(Ctl("advance 30000"), 0);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);
    ASSERT_TRUE(Await(10));
    int32_t table = 0, row = 0;
    ASSERT_EQ(GetNextDBTriggerEventMT(m_h, &table, &row), 0);
    EXPECT_EQ(table, 1);
    int32_t count = 0, newest = 0;
    ASSERT_EQ(GetDeliveriesCountMT(m_h, 1, &count), 0);
    ASSERT_GE(count, 1);
    ASSERT_EQ(GetDeliveryByOrdinalMT(m_h, 1, count, &newest), 0);
    EXPECT_EQ(row, newest);

    ASSERT_EQ(Ctl("pump-error 2 2"), 0); // logged as an alarm
    bool logRow = false;
    while (!logRow && Await(10)) {
        ASSERT_EQ(GetNextDBTriggerEventMT(m_h, &table, &row), 0);
        logRow = table == 2 && row > 0;
    }
    EXPECT_TRUE(logRow);
}

TEST_F(Notices, APanIDIsStoredOnThePortAndTold) {
    Boot("127.0.73.3");
    ASSERT_EQ(SetZBCoordPanMT(m_h, 2, 0x1A2B), 0);
    ASSERT_TRUE(Await(19));
    int32_t port = 0, pan = 0;
    ASSERT_EQ(GetNextZBPanIDEventMT(m_h, &port, &pan), 0);
    EXPECT_EQ(port, 2);
    EXPECT_EQ(pan, 0x1A2B);
    int32_t stored = 0, channels = 0;
    int64_t keyA = 0, keyB = 0;
    ASSERT_EQ(GetZB2GConfigMT(m_h, 2, &stored, &channels, &keyA, &keyB), 0);
    EXPECT_EQ(stored, 0x1A2B);
    EXPECT_EQ(SetZBCoordPanMT(m_h, 99, 1), QV_UNKNOWN_ID);
    EXPECT_EQ(SetZBCoordPanMT(m_h, 2, 0xFFFF), QV_INVALID_ARGUMENT);
    EXPECT_EQ(SetZBCoordPanMT(m_h, 2, -1), QV_INVALID_ARGUMENT);
    ASSERT_EQ(GetZB2GConfigMT(m_h, 2, &stored, &channels, &keyA, &keyB), 0);
    EXPECT_EQ(stored, 0x1A2B);
}

TEST_F(Notices, APortsLineModeIsStoredBesideIt) {
    Boot("127.0.73.7");
    std::string mode;
    ASSERT_EQ(Ctl("line-mode 1", &mode), 0);
    EXPECT_EQ(mode, "0");
    ASSERT_EQ(SetLineModeMT(m_h, 1, 2), 0);
    EXPECT_EQ(SetLineModeMT(m_h, 1, 4), QV_INVALID_ARGUMENT);
    EXPECT_EQ(SetLineModeMT(m_h, 99, 1), QV_UNKNOWN_ID);
    ASSERT_EQ(Ctl("line-mode 1", &mode), 0);
    EXPECT_EQ(mode, "2");
    EXPECT_NE(Ctl("line-mode 99"), 0);
}

TEST_F(Notices, ACoordinatorsDeviceStatusArrivesWithEveryField) {
    Boot("127.0.73.4");
    ASSERT_EQ(Ctl("zb-status 2 0x0013A20040B1C2D3 200 -45 0x0013A20040000001 15 12 3400 2"), 0);
    ASSERT_TRUE(Await(23));
    int32_t port = 0, blocks = 0, memFree = 0;
    int64_t address = 0, parent = 0;
    int16_t lqi = 0, rssi = 0, channel = 0, deviceType = 0;
    ASSERT_EQ(GetNextZB2GStatusEventMT(m_h, &port, &address, &lqi, &rssi, &parent, &channel,
                                       &blocks, &memFree, &deviceType),
              0);
    EXPECT_EQ(port, 2);
    EXPECT_EQ(address, 0x0013A20040B1C2D3LL);
    EXPECT_EQ(lqi, 200);
    EXPECT_EQ(rssi, -45);
    EXPECT_EQ(parent, 0x0013A20040000001LL);
    EXPECT_EQ(channel, 15);
    EXPECT_EQ(blocks, 12);
    EXPECT_EQ(memFree, 3400);
    EXPECT_EQ(deviceType, 2);
    EXPECT_NE(Ctl("zb-status 99 1 1 1 1 1 1 1 1"), 0); // no such port
    EXPECT_NE(Ctl("zb-status 2 1 1"), 0);              // fields missing
}

TEST_F(Notices, ATerminalPromptIsAnsweredOnceAndBeepsAndLightsAreRecorded) {
    Boot("127.0.73.5");
    BSTR text = Bstr("Odometer?");
    ASSERT_EQ(QVTermPromptMT(m_h, 1, 77, text, 1, 6, 30), 0);
    EXPECT_EQ(QVTermPromptMT(m_h, 99, 1, text, 1, 6, 30), QV_UNKNOWN_ID);
    EXPECT_EQ(QVTermPromptMT(m_h, 1, 1, text, 3, 6, 30), QV_INVALID_ARGUMENT);
    EXPECT_EQ(QVTermPromptMT(m_h, 1, 1, text, 1, 33, 30), QV_INVALID_ARGUMENT);
    std::string answer;
    ASSERT_EQ(Ctl("terminal 1", &answer), 0);
    EXPECT_EQ(answer, "beep 0 0 leds 0 0 prompt 77");
    // Input that does not fit the prompt is refused and the prompt still waits.
    EXPECT_NE(Ctl("prompt-answer 1 0 12ab"), 0);
    EXPECT_NE(Ctl("prompt-answer 1 0 1234567"), 0);
    ASSERT_EQ(Ctl("prompt-answer 1 0 123456"), 0);
    EXPECT_NE(Ctl("prompt-answer 1 0 123456"), 0); // answered already
    ASSERT_TRUE(Await(27));
    int32_t pump = 0, prompt = 0;
    int16_t result = -1;
    Out input;
    ASSERT_EQ(GetNextQVTermPromptEventMT(m_h, &pump, &prompt, &result, &input), 0);
    EXPECT_EQ(pump, 1);
    EXPECT_EQ(prompt, 77);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(input.str(), "123456");
    // A cancelled prompt carries no input.
    ASSERT_EQ(QVTermPromptMT(m_h, 1, 78, text, 2, 10, 0), 0);
    platform::SysFreeString(text);
    ASSERT_EQ(Ctl("prompt-answer 1 1"), 0);
    ASSERT_TRUE(Await(27));
    Out none;
    ASSERT_EQ(GetNextQVTermPromptEventMT(m_h, &pump, &prompt, &result, &none), 0);
    EXPECT_EQ(prompt, 78);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(none.str(), "");

    ASSERT_EQ(ScheduleBeepMT(m_h, 1, 2, 3), 0);
    ASSERT_EQ(FlashLEDSMT(m_h, 1, 0x05, 1500), 0);
    EXPECT_EQ(ScheduleBeepMT(m_h, 1, 4, 1), QV_INVALID_ARGUMENT);
    EXPECT_EQ(ScheduleBeepMT(m_h, 1, 1, 21), QV_INVALID_ARGUMENT);
    EXPECT_EQ(FlashLEDSMT(m_h, 1, 256, 0), QV_INVALID_ARGUMENT);
    EXPECT_EQ(FlashLEDSMT(m_h, 99, 1, 0), QV_UNKNOWN_ID);
    ASSERT_EQ(Ctl("terminal 1", &answer), 0);
    EXPECT_EQ(answer, "beep 2 3 leds 5 1500 prompt none");
    ASSERT_EQ(ScheduleBeepMT(m_h, 1, 0, 9), 0); // silenced
    ASSERT_EQ(Ctl("terminal 1", &answer), 0);
    EXPECT_EQ(answer, "beep 0 0 leds 5 1500 prompt none");
}

TEST_F(Notices, AnOdometerReportArrivesWithEveryFieldAndIsStoredOnItsCard) {
    Boot("127.0.73.6");
    // Card client 3 of the demonstration site: tag 77100003, plate 13-AB-43.
    ASSERT_EQ(Ctl("odo 2 0x0013A20040B1C2D3 190 -50 0x0013A20040000001 11 6 2048 3 3 "
                  "123456.5 10 2 98765.25 100 1 0x0102030405060708 2 3 4 7"),
              0);
    ASSERT_TRUE(Await(26));
    int32_t port = 0, blocks = 0, memFree = 0, client = 0, factor1 = 0, factor2 = 0, fuels = 0;
    int64_t address = 0, parent = 0, clientTag = 0, tag1 = 0, tag2 = 0, tag3 = 0, tag4 = 0;
    int16_t lqi = 0, rssi = 0, channel = 0, deviceType = 0, level1 = 0, level2 = 0;
    double odo1 = 0, odo2 = 0;
    Out name, plate;
    ASSERT_EQ(GetNextQVOdoEventMT(m_h, &port, &address, &lqi, &rssi, &parent, &channel, &blocks,
                                  &memFree, &deviceType, &client, &name, &clientTag, &odo1,
                                  &factor1, &level1, &odo2, &factor2, &level2, &tag1, &tag2, &tag3,
                                  &tag4, &fuels, &plate),
              0);
    EXPECT_EQ(port, 2);
    EXPECT_EQ(address, 0x0013A20040B1C2D3LL);
    EXPECT_EQ(lqi, 190);
    EXPECT_EQ(rssi, -50);
    EXPECT_EQ(parent, 0x0013A20040000001LL);
    EXPECT_EQ(channel, 11);
    EXPECT_EQ(blocks, 6);
    EXPECT_EQ(memFree, 2048);
    EXPECT_EQ(deviceType, 3);
    EXPECT_EQ(client, 3);
    Out cardName, cardTag, cardPlate;
    int32_t number = 0;
    int16_t enabled = 0, level = 0;
    ASSERT_EQ(GetCardClientPropertiesExMT(m_h, 3, &number, &cardName, &cardTag, &enabled, &level,
                                          &cardPlate),
              0);
    EXPECT_EQ(name.str(), cardName.str());
    EXPECT_EQ(clientTag, 0x77100003) << "the tag text read as the hexadecimal a screen shows";
    EXPECT_EQ(plate.str(), "13-AB-43");
    EXPECT_DOUBLE_EQ(odo1, 123456.5);
    EXPECT_EQ(factor1, 10);
    EXPECT_EQ(level1, 2);
    EXPECT_DOUBLE_EQ(odo2, 98765.25);
    EXPECT_EQ(factor2, 100);
    EXPECT_EQ(level2, 1);
    EXPECT_EQ(tag1, 0x0102030405060708LL);
    EXPECT_EQ(tag2, 2);
    EXPECT_EQ(tag3, 3);
    EXPECT_EQ(tag4, 4);
    EXPECT_EQ(fuels, 7);
    EXPECT_EQ(cardPlate.str(), "13-AB-43");
    // The card's odometer is the reading now.
    Out n4, t4, p4, id4, s4, pw4, serial;
    int16_t e4, pl4, gt, ct, lt, et;
    double limit = 0, expires = 0, odometer = 0;
    int32_t parentID = 0, factor = 0;
    ASSERT_EQ(GetCardClientPropertiesEx4MT(m_h, 3, &number, &n4, &t4, &e4, &pl4, &p4, &id4, &s4,
                                           &pw4, &gt, &ct, &lt, &limit, &et, &expires, &parentID,
                                           &serial, &odometer, &factor),
              0);
    EXPECT_DOUBLE_EQ(odometer, 123456.5);
    EXPECT_EQ(factor, 10);
    EXPECT_NE(Ctl("odo 2 1 1 1 1 1 1 1 1 999 1 1 1 1 1 1 1 1 1 1 1"), 0); // no such client
    EXPECT_NE(Ctl("odo 2 1 1"), 0);
}
