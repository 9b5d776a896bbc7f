// QVClient's forwarders of adding records, the older variants, periods and strapping tables
// against a real server on 127.0.71.9: texts and dates travel both ways, outputs come back
// through references, and results pass through unchanged.
#include "managed/QVClient.h"

#include <gtest/gtest.h>

#include "managed/tests/QtApp.h"
#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;
using qvtest::ServerProcess;
using qvtest::TempDir;

namespace {

const QString kServer = QStringLiteral("127.0.71.9");

class Entities : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.Start("demo"));
        ASSERT_EQ(m_client.InternalClientLogon(41, 5, QStringLiteral("halvora"), 1,
                                               QStringLiteral(""), 0, kServer, 5123, 5124, 3000),
                  0);
    }
    void TearDown() override { m_client.ClientLogoff(); }

    TempDir m_dir;
    ServerProcess m_server{kServer.toStdString(), m_dir.Path()};
    QVClient m_client;
};

TEST_F(Entities, AddedRecordsAndStrappingTablesCarryTextsBothWays) {
    const QString name = QString::fromUtf8("Gasóleo Ñ");
    int32_t grade = 0, number = 0;
    ASSERT_EQ(m_client.AddGrade(grade, number, name, QStringLiteral("GO"), QStringLiteral("D1"), 2),
              0);
    EXPECT_GT(grade, 0);
    EXPECT_GT(number, 0);
    int32_t readNumber = 0;
    QString readName, shortName, code;
    int16_t type = 0;
    ASSERT_EQ(m_client.GetGradePropertiesEx(grade, readNumber, readName, shortName, code, type), 0);
    EXPECT_EQ(readNumber, number);
    EXPECT_EQ(readName, name);
    EXPECT_EQ(code, QStringLiteral("D1"));

    int32_t tank = 0, tankNumber = 0;
    ASSERT_EQ(m_client.AddTank(tank, tankNumber, QStringLiteral("Tank Ñ"), grade, 1, 15000, 2.2, 0,
                               7000, 7000, 8000, 15, 900, 0, 0, 0, 1, 0, -1, -1, 1),
              0);
    ASSERT_EQ(m_client.SetStrappingTableData(tank, 5, 2.2, 30, 14900, 3, name), 0);
    double step = 0, diameter = 0, offset = 0, capacity = 0;
    int32_t alarms = 0;
    QString desc;
    ASSERT_EQ(m_client.GetStrappingTableData(tank, step, diameter, offset, capacity, alarms, desc),
              0);
    EXPECT_EQ(desc, name);
    EXPECT_DOUBLE_EQ(offset, 30);
    EXPECT_EQ(alarms, 3);
    ASSERT_EQ(m_client.SetStrappingTableElement(tank, 4, 2, 50, 0.1, 0.2, 120, 121), 0);
    int32_t passes = 0;
    double height = 0, startDelta = 0, curDelta = 0, startVolume = 0, curVolume = 0;
    ASSERT_EQ(m_client.GetStrappingTableElement(tank, 4, passes, height, startDelta, curDelta,
                                                startVolume, curVolume),
              0);
    EXPECT_EQ(passes, 2);
    EXPECT_DOUBLE_EQ(curVolume, 121);

    // A failed call still writes its outputs, and its result is the library's.
    passes = 9;
    EXPECT_EQ(m_client.GetStrappingTableElement(tank, 5, passes, height, startDelta, curDelta,
                                                startVolume, curVolume),
              QV_UNKNOWN_ID);
    EXPECT_EQ(passes, 0);
    int32_t hoseTank = 0, hose = 0, count = 0;
    ASSERT_EQ(m_client.GetHosesCount(count), 0);
    ASSERT_GT(count, 0);
    ASSERT_EQ(m_client.GetHoseByOrdinal(1, hose), 0);
    int32_t pump = 0, phys = 0;
    double tv, tvol, ev, evol;
    ASSERT_EQ(m_client.GetHoseProperties(hose, number, pump, hoseTank, phys, tv, tvol, ev, evol),
              0);
    EXPECT_EQ(m_client.DeleteTank(hoseTank), QV_FAILED);
    EXPECT_EQ(m_client.DeleteTank(tank), 0);
}

TEST_F(Entities, DeliveriesAndPeriodsCarryDatesBothWays) {
    const QDateTime completed(QDate(2026, 3, 14), QTime(9, 26, 53));
    int32_t pump = 0, hose = 0;
    ASSERT_EQ(m_client.GetPumpByOrdinal(1, pump), 0);
    ASSERT_EQ(m_client.GetPumpHoseByNumber(pump, 1, hose), 0);
    ASSERT_EQ(m_client.SetDeliveryProperties(9001, pump, hose, 2, 1, 12.5, 1, 1.8, 22.5, 0,
                                             completed, -1, 41, -1),
              0);
    int32_t pumpID, hoseID, locked, reserved, attendant, duration, cc, grade, tank, clearedBy;
    int16_t state, type, level, logged;
    double volume, price, value, volume2;
    int64_t tag;
    QDateTime readCompleted, cleared;
    ASSERT_EQ(m_client.GetDeliveryPropertiesEx4(9001, pumpID, hoseID, state, type, volume, level,
                                                price, value, volume2, readCompleted, locked,
                                                reserved, attendant, cleared, duration, cc, tag,
                                                grade, tank, logged, clearedBy),
              0);
    EXPECT_EQ(readCompleted, completed);
    EXPECT_EQ(reserved, 41);

    int32_t pumpNumber, hoseNumber, age;
    QString gradeName, shortName;
    QDateTime summaryCompleted;
    ASSERT_EQ(m_client.GetDeliverySummary(9001, pumpID, pumpNumber, hoseID, hoseNumber, grade,
                                          gradeName, shortName, level, price, volume, value, state,
                                          type, locked, reserved, age, summaryCompleted, attendant),
              0);
    EXPECT_EQ(summaryCompleted, completed);
    EXPECT_EQ(pumpID, pump);
    EXPECT_DOUBLE_EQ(value, 22.5);
    ASSERT_EQ(m_client.GetDuration(9001, duration), 0);
    EXPECT_EQ(duration, 0);

    // Closing a shift: the closed one ends at the server's time, the open one starts there.
    QDateTime serverNow;
    ASSERT_EQ(m_client.GetDateTime(serverNow), 0);
    int32_t closed = 0, id = 0, deliveries = 0;
    ASSERT_EQ(m_client.ClosePeriod(1, closed), 0);
    QDateTime start, end;
    double periodVolume = 0, periodValue = 0;
    ASSERT_EQ(m_client.GetPeriod(1, 1, id, start, end, periodVolume, periodValue, deliveries), 0);
    EXPECT_EQ(id, closed);
    EXPECT_LE(std::abs(end.secsTo(serverNow)), 5);
    EXPECT_GT(deliveries, 0); // the demo's deliveries and the one set here
    QDateTime openStart, openEnd;
    ASSERT_EQ(
        m_client.GetPeriod(1, 0, id, openStart, openEnd, periodVolume, periodValue, deliveries), 0);
    EXPECT_EQ(openStart, end);
    EXPECT_EQ(deliveries, 0);
    EXPECT_EQ(m_client.GetPeriod(7, 0, id, start, end, periodVolume, periodValue, deliveries),
              QV_INVALID_ARGUMENT);
}

} // namespace
