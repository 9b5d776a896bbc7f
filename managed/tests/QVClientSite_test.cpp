// QVClient's client-status, added-record, card look-up, price-sign, all-statuses and
// last-result forwarders against a real server on 127.0.76.1: values go to the library and
// come back converted, and a failed call still writes its outputs.
#include "managed/QVClient.h"

#include <gtest/gtest.h>

#include "managed/tests/QtApp.h"
#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;
using qvtest::ServerProcess;
using qvtest::TempDir;

namespace {

const QString kServer = QStringLiteral("127.0.76.1");

TEST(SiteForwarders, ValuesTravelBothWaysThroughTheLibrary) {
    TempDir dir;
    ServerProcess server(kServer.toStdString(), dir.Path(), {"--clock", "manual"});
    ASSERT_TRUE(server.Start("empty"));
    QVClient client;
    ASSERT_EQ(client.InternalClientLogon(31, 5, QStringLiteral("halvora"), 1, QString(), 0, kServer,
                                         5123, 5124, 3000),
              0);

    // A card client with a text, a date and numbers goes in; the server's ID and Number come out.
    int32_t id = 0, number = 0;
    const QDateTime expiry(QDate(2030, 6, 1), QTime(8, 30, 0));
    ASSERT_EQ(client.AddCardClient(id, number, QStringLiteral("Fleet Ünit"), QStringLiteral("T-77"),
                                   1, 2, QStringLiteral("AB-12"), QString(), QString(), QString(),
                                   0, 1, 2, 90.5, 0, expiry, -1, QString(), 0, 1),
              0);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(number, 1);
    int32_t n = 0, parent = 0, factor = 0;
    QString name, tag, plate, idNumber, shortName, password, odo;
    int16_t enabled = 0, level = 0, gradeType = 0, cardType = 0, limitType = 0, entry = 0;
    double limit = 0, odometer = 0;
    QDateTime expiryBack;
    ASSERT_EQ(client.GetCardClientPropertiesEx4(
                  id, n, name, tag, enabled, level, plate, idNumber, shortName, password, gradeType,
                  cardType, limitType, limit, entry, expiryBack, parent, odo, odometer, factor),
              0);
    EXPECT_EQ(name, QStringLiteral("Fleet Ünit"));
    EXPECT_EQ(expiryBack, expiry);

    // FindCard's outputs on a hit; on a miss the outputs are written with the defaults passed.
    int32_t foundID = 0, foundNumber = 0;
    QString foundName;
    int16_t foundType = 0, foundEnabled = 0, foundLimitType = 0;
    double foundLimit = 0;
    ASSERT_EQ(client.FindCard(QStringLiteral("T-77"), foundID, foundNumber, foundName, foundType,
                              foundEnabled, foundLimitType, foundLimit),
              0);
    EXPECT_EQ(foundID, id);
    EXPECT_EQ(foundName, QStringLiteral("Fleet Ünit"));
    EXPECT_EQ(foundLimitType, 2);
    EXPECT_DOUBLE_EQ(foundLimit, 90.5);
    EXPECT_EQ(client.FindCard(QStringLiteral("nope"), foundID, foundNumber, foundName, foundType,
                              foundEnabled, foundLimitType, foundLimit),
              QV_UNKNOWN_ID);
    EXPECT_EQ(foundID, 0);
    EXPECT_TRUE(foundName.isEmpty());
    int32_t last = -1;
    ASSERT_EQ(client.GetLastAPIResult(last), 0);
    EXPECT_EQ(last, QV_UNKNOWN_ID);

    // A log event's dates go in as automation dates and come back as the same date-times.
    const QDateTime generated(QDate(2026, 3, 4), QTime(5, 6, 7));
    ASSERT_EQ(client.SetLogEventProperties(5, 2, 1, 1, 9, QStringLiteral("Probe"), generated,
                                           QDateTime(), -1, -1, 0, 0, 0, 0, 0, 0),
              0);
    int16_t deviceType = 0, eventLevel = 0, eventType = 0;
    int32_t device = 0, clearedBy = 0, ackedBy = 0;
    QString desc;
    QDateTime generatedBack, clearedBack;
    double v[6] = {};
    ASSERT_EQ(client.GetLogEventProperties(5, deviceType, device, eventLevel, eventType, desc,
                                           generatedBack, clearedBack, clearedBy, ackedBy, v[0],
                                           v[1], v[2], v[3], v[4], v[5]),
              0);
    EXPECT_EQ(desc, QStringLiteral("Probe"));
    EXPECT_EQ(generatedBack, generated);

    // Price signs, the client's own status, the logons and every status at once.
    ASSERT_EQ(client.SetPriceSignElement(1, 2, 3, -1, 2, 6, 1), 0);
    int16_t type = 0, priceLevel = 0, format = 0, lit = 0;
    int32_t grade = 0;
    ASSERT_EQ(client.GetPriceSignElement(1, 2, type, grade, priceLevel, format, lit), 0);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(grade, -1);
    EXPECT_EQ(priceLevel, 2);
    int32_t reserved = -1, locked = -1, clients = 0;
    ASSERT_EQ(client.ClientStatus(reserved, locked), 0);
    EXPECT_EQ(reserved, 0);
    EXPECT_EQ(locked, 0);
    ASSERT_EQ(client.GetClientsCount(clients), 0);
    EXPECT_EQ(clients, 1);
    int32_t sensor = 0, sensorNumber = 0;
    ASSERT_EQ(client.AddSensor(sensor, sensorNumber, QStringLiteral("Sump"), 0, 1, 1, 1, 0, 0), 0);
    QString pumps, hoses, counts, tanks, sensors;
    ASSERT_EQ(client.GetAllStatuses(pumps, hoses, counts, tanks, sensors), 0);
    EXPECT_TRUE(pumps.isEmpty());
    EXPECT_TRUE(tanks.isEmpty());
    EXPECT_EQ(sensors, QStringLiteral("0"));
    client.ClientLogoff();
}

} // namespace
