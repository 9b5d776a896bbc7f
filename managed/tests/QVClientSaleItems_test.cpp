// QVClient's sale item forwarders against a real server (127.0.78.1): values both ways through
// the library, and the SaleItemEvent signal with its fields.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "managed/QVClient.h"
#include "managed/tests/QtApp.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;

namespace {

const QString kServer = QStringLiteral("127.0.78.1");

TEST(SaleItemForwarders, ValuesTravelBothWaysAndEveryChangeRaisesTheSignal) {
    qvtest::TempDir dir;
    qvtest::ServerProcess server(kServer.toStdString(), dir.Path(), {"--clock", "manual"});
    ASSERT_TRUE(server.Start("empty"));
    // The library's message alone drives the event pump.
    QVClient::SetTimeouts(600000, 600000);
    QVClient client;
    ASSERT_EQ(client.InternalClientLogon(31, 5, QStringLiteral("halvora"), 1, QString(), 0, kServer,
                                         5123, 5124, 3000),
              0);
    int32_t product = 0, card = 0, n = 0;
    ASSERT_EQ(client.AddProduct(product, n, QStringLiteral("Öl 1L"), QStringLiteral("OIL"), 1,
                                QStringLiteral("Öl"), QStringLiteral("500123"), 0, 9.5, 9, 0, 0, 4),
              0);
    ASSERT_EQ(client.AddCardClient(card, n, QStringLiteral("Fleet"), QStringLiteral("9001"), 1, 1,
                                   QString(), QString(), QString(), QString(), 0, 0, 0, 0, 0,
                                   QDateTime(), -1, QString(), 0, 0),
              0);
    QSignalSpy events(&client, &QVClient::SaleItemEvent);

    int32_t id = 0;
    ASSERT_EQ(client.AddSaleItem(id, product, -1, -1, card, 2, 9.0, 1.5, QStringLiteral("ÄB-1"), 1),
              0);
    EXPECT_EQ(id, 1);
    ASSERT_TRUE(events.wait(3000));
    const QList<QVariant> e = events.takeFirst();
    ASSERT_EQ(e.size(), 33);
    EXPECT_EQ(e[0].toInt(), id);
    EXPECT_EQ(e[1].toInt(), product);
    EXPECT_EQ(e[2].toInt(), 1);
    EXPECT_EQ(e[3].toString(), QStringLiteral("Öl 1L"));
    EXPECT_EQ(e[4].toString(), QStringLiteral("OIL"));
    EXPECT_EQ(e[5].toInt(), 4);
    EXPECT_EQ(e[7].toString(), QStringLiteral("500123"));
    EXPECT_EQ(e[8].toInt(), -1);
    EXPECT_EQ(e[11].toInt(), -1);
    EXPECT_EQ(e[15].toInt(), card);
    EXPECT_EQ(e[17].toString(), QStringLiteral("Fleet"));
    EXPECT_EQ(e[18].toLongLong(), 0x9001); // the tag text "9001", hexadecimal
    EXPECT_EQ(e[19].toInt(), 2);
    EXPECT_DOUBLE_EQ(e[20].toDouble(), 9.0);
    EXPECT_DOUBLE_EQ(e[21].toDouble(), 1.5);
    EXPECT_TRUE(e[22].toDateTime().isValid());
    EXPECT_EQ(e[24].toInt(), -1);
    EXPECT_EQ(e[26].toInt(), 1);
    EXPECT_EQ(e[27].toInt(), 1);
    EXPECT_EQ(e[28].toString(), QStringLiteral("ÄB-1"));
    EXPECT_EQ(e[32].toInt(), 1);

    // The stored fields back, dates as QDateTime; a changed set goes in and comes back.
    int32_t p = 0, pump = 0, att = 0, cc = 0, locked = 0, cleared = 0;
    int16_t level = 0, logged = 0, auth = 0;
    double price = 0, qty = 0;
    QDateTime added, clearedDT;
    QString plate;
    ASSERT_EQ(client.GetSaleItemProperties(id, p, pump, att, cc, level, price, qty, added,
                                           clearedDT, locked, cleared, logged, plate, auth),
              0);
    EXPECT_EQ(added, e[22].toDateTime());
    EXPECT_EQ(plate, QStringLiteral("ÄB-1"));
    const QDateTime when(QDate(2026, 3, 1), QTime(10, 15, 0));
    ASSERT_EQ(client.SetSaleItemProperties(id, product, -1, -1, -1, 1, 8.0, 4, when, QDateTime(),
                                           -1, -1, 0, QStringLiteral("NEW"), 2),
              0);
    ASSERT_EQ(client.GetSaleItemProperties(id, p, pump, att, cc, level, price, qty, added,
                                           clearedDT, locked, cleared, logged, plate, auth),
              0);
    EXPECT_EQ(added, when);
    EXPECT_EQ(cc, -1);
    EXPECT_DOUBLE_EQ(qty, 4);
    EXPECT_EQ(plate, QStringLiteral("NEW"));

    // The filter's null dates leave the range open; a range around the set date finds it.
    int32_t count = -1, found = 0;
    ASSERT_EQ(client.GetSaleItemsCountEx(product, -1, -1, -1, 1, QDateTime(), QDateTime(), count),
              0);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(client.GetSaleItemsCountEx(-1, -1, -1, -1, 0, when.addDays(1), QDateTime(), count),
              0);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(
        client.GetSaleItemsCountEx(-1, -1, -1, -1, 0, when.addDays(-1), when.addDays(1), count), 0);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(client.GetSaleItemByOrdinalEx(-1, -1, -1, -1, 0, when.addDays(-1), when.addDays(1), 1,
                                            found),
              0);
    EXPECT_EQ(found, id);

    ASSERT_EQ(client.SaleItemLock(id, 31), 0);
    EXPECT_EQ(client.SaleItemLock(id, 32), 7);
    ASSERT_EQ(client.SaleItemUnlock(id, 31), 0);
    ASSERT_EQ(client.DeleteSaleItem(id), 0);
    // set, lock, unlock, delete: four more signals, the last with the deleted item's state.
    while (events.size() < 4 && events.wait(3000)) {
    }
    ASSERT_EQ(events.size(), 4);
    EXPECT_EQ(events.at(0)[28].toString(), QStringLiteral("NEW"));
    EXPECT_EQ(events.at(1)[24].toInt(), 31);
    EXPECT_EQ(events.at(2)[24].toInt(), -1);
    EXPECT_EQ(events.at(3)[0].toInt(), id);
    EXPECT_EQ(client.GetSaleItemProperties(id, p, pump, att, cc, level, price, qty, added,
                                           clearedDT, locked, cleared, logged, plate, auth),
              3);
    client.ClientLogoff();
    QVClient::SetTimeouts(10000, 5000);
}

} // namespace
