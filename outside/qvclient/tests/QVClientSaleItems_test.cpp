// Sale items through the library against a real server: properties, adding and deleting, locks
// between clients, the filtered lists and the sale item event (addresses 127.0.77.1 .. .4).
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

struct In {
    BSTR b;
    explicit In(const std::string& s) : b(Bstr(s)) {}
    ~In() { platform::SysFreeString(b); }
    operator BSTR() const { return b; }
};

// The stored fields as GetSaleItemProperties gives them.
struct Item {
    int32_t product = 0, pump = 0, attendant = 0, card = 0, lockedBy = 0, clearedBy = 0;
    int16_t level = 0, logged = 0, authType = 0;
    double price = 0, quantity = 0, added = 0, cleared = 0;
    std::string plate;
};

class SaleItems : public ::testing::Test {
  protected:
    void Boot(const std::string& address) {
        m_server = std::make_unique<ServerProcess>(address, m_dir.Path(),
                                                   std::vector<std::string>{"--clock", "manual"});
        ASSERT_TRUE(m_server->Start("empty"));
        m_h = Logon(address);
        ASSERT_NE(m_h, 0);
        int32_t n = 0;
        ASSERT_EQ(AddProductMT(m_h, &m_product, &n, In("Oil 1L"), In("OIL"), 1, In("Oil"),
                               In("500123"), 0, 9.5, 9.0, 0, 0, 4),
                  0);
        ASSERT_EQ(AddProductMT(m_h, &m_product2, &n, In("Wash"), In(""), 1, In("W"), In(""), 0, 5,
                               5, 0, 0, 0),
                  0);
        ASSERT_EQ(AddPumpMT(m_h, &m_pump, &m_pumpNumber, In("Pump A"), 4, 1, 2, 1, 2, 2, 2, 2, 1, 0,
                            -1, AUTH_MODE_CLIENT, STACK_MODE_AUTO, 1, 0, 1, -1, 1, 1),
                  0);
        ASSERT_EQ(AddAttendantMT(m_h, &m_attendant, &n, In("Ann"), In("A"), In("pw"), In("4711"),
                                 In("ID1"), 0, 0, 0, 0, 0),
                  0);
        ASSERT_EQ(AddCardClientMT(m_h, &m_card, &n, In("Fleet"), In("9001"), 1, 1, In("AB-12"),
                                  In(""), In("F"), In(""), 0, 0, 0, 0, 0, 0, -1, In(""), 0, 0),
                  0);
    }
    void TearDown() override {
        if (m_h) ClientLogoffMT(&m_h);
    }
    int32_t Add(int32_t product, int32_t pump, int32_t attendant, int32_t card, double quantity) {
        int32_t id = 0;
        EXPECT_EQ(AddSaleItemMT(m_h, &id, product, pump, attendant, card, 2, 9.0, quantity,
                                In("XY-99"), 1),
                  0);
        return id;
    }
    Item Read(int32_t id, int32_t expect = 0) {
        Item i;
        Out plate;
        EXPECT_EQ(GetSaleItemPropertiesMT(m_h, id, &i.product, &i.pump, &i.attendant, &i.card,
                                          &i.level, &i.price, &i.quantity, &i.added, &i.cleared,
                                          &i.lockedBy, &i.clearedBy, &i.logged, &plate,
                                          &i.authType),
                  expect);
        i.plate = plate.str();
        return i;
    }
    int32_t Count(int32_t product, int32_t pump, int32_t attendant, int32_t card, int16_t state,
                  double from = -1, double to = -1) {
        int32_t n = -1;
        EXPECT_EQ(GetSaleItemsCountExMT(m_h, product, pump, attendant, card, state, from, to, &n),
                  0);
        return n;
    }
    // The IDs the ordinal walk gives for the filter, after a count with the same filter.
    std::vector<int32_t> Walk(int32_t product, int32_t pump, int32_t attendant, int32_t card,
                              int16_t state, double from = -1, double to = -1) {
        std::vector<int32_t> ids;
        const int32_t n = Count(product, pump, attendant, card, state, from, to);
        for (int32_t k = 1; k <= n; ++k) {
            int32_t id = 0;
            EXPECT_EQ(GetSaleItemByOrdinalExMT(m_h, product, pump, attendant, card, state, from, to,
                                               k, &id),
                      0);
            ids.push_back(id);
        }
        return ids;
    }

    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
    int32_t m_h = 0;
    int32_t m_product = 0, m_product2 = 0, m_pump = 0, m_pumpNumber = 0, m_attendant = 0,
            m_card = 0;
};

TEST_F(SaleItems, AddedItemReadsBackAndSetChangesIt) {
    Boot("127.0.77.1");
    const int32_t id = Add(m_product, m_pump, m_attendant, m_card, 2);
    ASSERT_GT(id, 0);
    Item i = Read(id);
    EXPECT_EQ(i.product, m_product);
    EXPECT_EQ(i.pump, m_pump);
    EXPECT_EQ(i.attendant, m_attendant);
    EXPECT_EQ(i.card, m_card);
    EXPECT_EQ(i.level, 2);
    EXPECT_DOUBLE_EQ(i.price, 9.0);
    EXPECT_DOUBLE_EQ(i.quantity, 2);
    EXPECT_GT(i.added, 40000);
    EXPECT_EQ(i.cleared, 0);
    EXPECT_EQ(i.lockedBy, -1);
    EXPECT_EQ(i.clearedBy, -1);
    EXPECT_EQ(i.logged, 3);
    EXPECT_EQ(i.plate, "XY-99");
    EXPECT_EQ(i.authType, 1);
    EXPECT_EQ(Add(m_product, -1, -1, -1, 1), id + 1); // the next free ID

    ASSERT_EQ(SetSaleItemPropertiesMT(m_h, id, m_product2, -1, -1, -1, 1, 5.0, 3, i.added, 0, -1,
                                      -1, 1, In("NEW"), 2),
              0);
    i = Read(id);
    EXPECT_EQ(i.product, m_product2);
    EXPECT_EQ(i.pump, -1);
    EXPECT_EQ(i.card, -1);
    EXPECT_DOUBLE_EQ(i.quantity, 3);
    EXPECT_EQ(i.logged, 1);
    EXPECT_EQ(i.plate, "NEW");
    EXPECT_EQ(i.authType, 2);
    // A date below 0 (a null date on the managed side) is no date: the item is not cleared.
    ASSERT_EQ(SetSaleItemPropertiesMT(m_h, id, m_product2, -1, -1, -1, 1, 5.0, 3, i.added, -1, -1,
                                      -1, 1, In("NEW"), 2),
              0);
    EXPECT_EQ(Read(id).cleared, 0);
    EXPECT_EQ(Count(-1, -1, -1, -1, 1), 2);

    // Unknown records and references are refused and nothing is stored.
    int32_t none = 0;
    EXPECT_EQ(AddSaleItemMT(m_h, &none, 999, -1, -1, -1, 1, 1, 1, In(""), 0), QV_UNKNOWN_REFERENCE);
    EXPECT_EQ(AddSaleItemMT(m_h, &none, m_product, 999, -1, -1, 1, 1, 1, In(""), 0),
              QV_UNKNOWN_REFERENCE);
    EXPECT_EQ(AddSaleItemMT(m_h, &none, m_product, -1, -1, -1, 9, 1, 1, In(""), 0),
              QV_INVALID_ARGUMENT);
    EXPECT_EQ(AddSaleItemMT(m_h, &none, m_product, -1, -1, -1, 1, 1, 0, In(""), 0),
              QV_INVALID_ARGUMENT);
    EXPECT_EQ(SetSaleItemPropertiesMT(m_h, id, m_product, -1, 999, -1, 1, 5.0, 3, 0, 0, -1, -1, 1,
                                      In(""), 2),
              QV_UNKNOWN_REFERENCE);
    EXPECT_EQ(Read(id).product, m_product2);
    EXPECT_EQ(SetSaleItemPropertiesMT(m_h, 999, m_product, -1, -1, -1, 1, 5.0, 3, 0, 0, -1, -1, 1,
                                      In(""), 2),
              QV_UNKNOWN_ID);
    int32_t count = 0;
    ASSERT_EQ(GetSaleItemsCountMT(m_h, &count), 0);
    EXPECT_EQ(count, 2);

    ASSERT_EQ(DeleteSaleItemMT(m_h, id), 0);
    Read(id, QV_UNKNOWN_ID);
    EXPECT_EQ(DeleteSaleItemMT(m_h, id), QV_UNKNOWN_ID);
    ASSERT_EQ(GetSaleItemsCountMT(m_h, &count), 0);
    EXPECT_EQ(count, 1);
}

TEST_F(SaleItems, LockIsHeldByOneClientUntilItUnlocks) {
    Boot("127.0.77.2");
    const int32_t id = Add(m_product, m_pump, -1, -1, 1);
    ASSERT_EQ(SaleItemLockMT(m_h, id, 7), 0);
    EXPECT_EQ(Read(id).lockedBy, 7);
    EXPECT_EQ(SaleItemLockMT(m_h, id, 7), 0); // again by the holder
    EXPECT_EQ(SaleItemLockMT(m_h, id, 8), QV_ACCESS_DENIED);
    EXPECT_EQ(SaleItemUnlockMT(m_h, id, 8), QV_ACCESS_DENIED);
    EXPECT_EQ(SaleItemClearMT(m_h, id, 8), QV_ACCESS_DENIED);
    EXPECT_EQ(Read(id).lockedBy, 7);
    ASSERT_EQ(SaleItemUnlockMT(m_h, id, 7), 0);
    EXPECT_EQ(Read(id).lockedBy, -1);
    ASSERT_EQ(SaleItemLockMT(m_h, id, 8), 0);
    EXPECT_EQ(Read(id).lockedBy, 8);

    // A cleared item changes hands no more.
    ASSERT_EQ(SaleItemClearMT(m_h, id, 8), 0);
    EXPECT_EQ(SaleItemLockMT(m_h, id, 8), QV_ACCESS_DENIED);
    EXPECT_EQ(SaleItemUnlockMT(m_h, id, 8), QV_ACCESS_DENIED);
    EXPECT_EQ(SaleItemLockMT(m_h, 999, 8), QV_UNKNOWN_ID);
    EXPECT_EQ(SaleItemLockMT(m_h, id, -1), QV_INVALID_ARGUMENT);
}

TEST_F(SaleItems, FiltersSelectByReferencesStateAndDate) {
    Boot("127.0.77.3");
    const double jan1 = 46023, feb1 = 46054; // 2026-01-01, 2026-02-01
    ASSERT_EQ(SetDateTimeMT(m_h, jan1), 0);
    const int32_t a = Add(m_product, m_pump, m_attendant, -1, 1);
    const int32_t b = Add(m_product2, m_pump, -1, m_card, 1);
    ASSERT_EQ(SetDateTimeMT(m_h, feb1), 0);
    const int32_t c = Add(m_product, -1, m_attendant, m_card, 1);
    ASSERT_EQ(SaleItemClearMT(m_h, b, 7), 0);

    using Ids = std::vector<int32_t>;
    EXPECT_EQ(Walk(-1, -1, -1, -1, 0), (Ids{a, b, c}));
    EXPECT_EQ(Walk(m_product, -1, -1, -1, 0), (Ids{a, c}));
    EXPECT_EQ(Walk(-1, m_pump, -1, -1, 0), (Ids{a, b}));
    EXPECT_EQ(Walk(-1, -1, m_attendant, -1, 0), (Ids{a, c}));
    EXPECT_EQ(Walk(-1, -1, -1, m_card, 0), (Ids{b, c}));
    EXPECT_EQ(Walk(-1, -1, -1, -1, 1), (Ids{a, c}));
    EXPECT_EQ(Walk(-1, -1, -1, -1, 2), (Ids{b}));
    EXPECT_EQ(Walk(-1, -1, -1, -1, 0, jan1 + 15), (Ids{c}));
    EXPECT_EQ(Walk(-1, -1, -1, -1, 0, -1, jan1 + 15), (Ids{a, b}));
    EXPECT_EQ(Walk(m_product, -1, -1, m_card, 1, jan1 + 15, feb1 + 1), (Ids{c}));
    EXPECT_EQ(Walk(-1, -1, m_attendant, m_card, 2), Ids{});

    int32_t id = 0, n = 0;
    EXPECT_EQ(GetSaleItemByOrdinalExMT(m_h, -1, -1, -1, -1, 0, -1, -1, 4, &id), QV_INVALID_ORDINAL);
    EXPECT_EQ(GetSaleItemsCountExMT(m_h, -1, -1, -1, -1, 3, -1, -1, &n), QV_INVALID_ARGUMENT);
}

struct Event {
    int32_t id = 0, product = 0, productNumber = 0, group = 0, pump = 0, pumpNumber = 0,
            attendant = 0, attendantNumber = 0, card = 0, cardNumber = 0, lockedBy = 0,
            clearedBy = 0;
    int64_t attendantTag = 0, cardTag = 0;
    int16_t level = 0, loggedDB = 0, loggedVol = 0, authType = 0;
    double price = 0, quantity = 0, added = 0, cleared = 0;
    Out productName, productTag, groupName, barcode, pumpName, attendantName, cardName, plate,
        driver, ext, auth;
};

// The next sale item event on h, waited for; false when none came.
bool NextEvent(int32_t h, Event& e) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int16_t type = 0;
    while (std::chrono::steady_clock::now() < until) {
        if (ProcessEventsMT(h) != 0) return false;
        while (GetNextEventTypeMT(h, &type) == 0 && type != 0) {
            if (type != EVENT_SALE_ITEM) {
                DiscardNextEventMT(h);
                continue;
            }
            return GetNextSaleItemEventMT(
                       h, &e.id, &e.product, &e.productNumber, &e.productName, &e.productTag,
                       &e.group, &e.groupName, &e.barcode, &e.pump, &e.pumpNumber, &e.pumpName,
                       &e.attendant, &e.attendantNumber, &e.attendantName, &e.attendantTag, &e.card,
                       &e.cardNumber, &e.cardName, &e.cardTag, &e.level, &e.price, &e.quantity,
                       &e.added, &e.cleared, &e.lockedBy, &e.clearedBy, &e.loggedDB, &e.loggedVol,
                       &e.plate, &e.driver, &e.ext, &e.auth, &e.authType) == 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

TEST_F(SaleItems, EveryChangeIsReportedWithTheJoinedNames) {
    Boot("127.0.77.4");
    int32_t reader = Logon(m_server->Address());
    ASSERT_NE(reader, 0);
    const int32_t id = Add(m_product, m_pump, m_attendant, m_card, 2);
    {
        Event e;
        ASSERT_TRUE(NextEvent(reader, e));
        EXPECT_EQ(e.id, id);
        EXPECT_EQ(e.product, m_product);
        EXPECT_EQ(e.productNumber, 1);
        EXPECT_EQ(e.productName.str(), "Oil 1L");
        EXPECT_EQ(e.productTag.str(), "OIL");
        EXPECT_EQ(e.group, 4);
        EXPECT_EQ(e.groupName.str(), "");
        EXPECT_EQ(e.barcode.str(), "500123");
        EXPECT_EQ(e.pump, m_pump);
        EXPECT_EQ(e.pumpNumber, m_pumpNumber);
        EXPECT_EQ(e.pumpName.str(), "Pump A");
        EXPECT_EQ(e.attendant, m_attendant);
        EXPECT_EQ(e.attendantNumber, 1);
        EXPECT_EQ(e.attendantName.str(), "Ann");
        EXPECT_EQ(e.attendantTag, 0x4711); // tag texts are hexadecimal
        EXPECT_EQ(e.card, m_card);
        EXPECT_EQ(e.cardNumber, 1);
        EXPECT_EQ(e.cardName.str(), "Fleet");
        EXPECT_EQ(e.cardTag, 0x9001);
        EXPECT_EQ(e.level, 2);
        EXPECT_DOUBLE_EQ(e.price, 9.0);
        EXPECT_DOUBLE_EQ(e.quantity, 2);
        EXPECT_DOUBLE_EQ(e.added, Read(id).added);
        EXPECT_EQ(e.cleared, 0);
        EXPECT_EQ(e.lockedBy, -1);
        EXPECT_EQ(e.clearedBy, -1);
        EXPECT_EQ(e.loggedDB, 1);
        EXPECT_EQ(e.loggedVol, 1);
        EXPECT_EQ(e.plate.str(), "XY-99");
        EXPECT_EQ(e.driver.str(), "");
        EXPECT_EQ(e.ext.str(), "");
        EXPECT_EQ(e.auth.str(), "");
        EXPECT_EQ(e.authType, 1);
    }
    // Each change in turn, in order, with the state after it.
    ASSERT_EQ(SaleItemLockMT(m_h, id, 7), 0);
    ASSERT_EQ(SaleItemUnlockMT(m_h, id, 7), 0);
    ASSERT_EQ(SaleItemAckDBLogMT(m_h, id), 0);
    ASSERT_EQ(SetSaleItemPropertiesMT(m_h, id, m_product, -1, -1, -1, 1, 9.0, 5, 0, 0, -1, -1, 1,
                                      In("XY-99"), 1),
              0);
    ASSERT_EQ(SaleItemLockAndClearMT(m_h, id, 9), 0);
    ASSERT_EQ(DeleteSaleItemMT(m_h, id), 0);
    Event lock, unlock, ack, set, clear, gone;
    ASSERT_TRUE(NextEvent(reader, lock));
    EXPECT_EQ(lock.lockedBy, 7);
    ASSERT_TRUE(NextEvent(reader, unlock));
    EXPECT_EQ(unlock.lockedBy, -1);
    ASSERT_TRUE(NextEvent(reader, ack));
    EXPECT_EQ(ack.loggedDB, 0);
    EXPECT_EQ(ack.loggedVol, 1);
    ASSERT_TRUE(NextEvent(reader, set));
    EXPECT_DOUBLE_EQ(set.quantity, 5);
    EXPECT_EQ(set.pump, -1);
    EXPECT_EQ(set.pumpName.str(), "");
    EXPECT_EQ(set.attendantTag, -1);
    EXPECT_EQ(set.loggedDB, 1);
    EXPECT_EQ(set.loggedVol, 0);
    ASSERT_TRUE(NextEvent(reader, clear));
    EXPECT_EQ(clear.clearedBy, 9);
    EXPECT_EQ(clear.lockedBy, 9);
    EXPECT_GT(clear.cleared, 0);
    ASSERT_TRUE(NextEvent(reader, gone));
    EXPECT_EQ(gone.id, id);
    EXPECT_EQ(gone.clearedBy, 9);
    EXPECT_EQ(SaleItemLockMT(m_h, id, 7), QV_UNKNOWN_ID);
    EXPECT_FALSE(NextEvent(reader, gone)); // a refused call sends nothing
    ClientLogoffMT(&reader);
}

} // namespace
