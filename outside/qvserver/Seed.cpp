// Seed data. Values are chosen to survive a configuration export and re-import unchanged:
// prices with at most three decimals on consecutive levels from 1, hoses numbered from 1,
// non-zero card factors, attendant types above 0, expiration dates on whole days, and every
// grade and ZigBee slot that a tank or pump names stored first.
#include "outside/qvserver/Seed.h"

#include <cstdio>

#include "outside/qvclient/QVClient.h"
#include "outside/qvserver/FieldNames.h"

namespace qvserver {

namespace {

Value T(const char* s) {
    return Value::Text(qvwire::ToU16(s));
}
Value T(const std::string& s) {
    return Value::Text(qvwire::ToU16(s));
}
Value H(int v) {
    return Value::I16(static_cast<int16_t>(v));
}
Value N(int v) {
    return Value::I32(v);
}
Value D(double v) {
    return Value::F64(v);
}

struct Seeder {
    Store& store;
    Operations& ops;
    std::string& error;
    bool ok = true;

    void Put(const Entity& e, int id, const Names& f, const Values& v) {
        if (!ok) return;
        const int32_t r = ops.StoreRecord(e, id, f, v);
        if (r != QV_OK) {
            ok = false;
            error = std::string("cannot store ") + e.table + " " + std::to_string(id) +
                    " (result " + std::to_string(r) + ")";
        }
    }
    void Add(const Entity& e, const Row& row) {
        int32_t id = 0;
        if (ok && store.Insert(e, row, id) != 0) {
            ok = false;
            error = std::string("cannot add to ") + e.table;
        }
    }
};

// Deterministic pseudo-random numbers, so that every demo database is the same.
struct Lcg {
    uint32_t s = 12345;
    uint32_t Next(uint32_t n) {
        s = s * 1103515245u + 12345u;
        return (s >> 8) % n;
    }
};

void Equipment(Seeder& s) {
    s.store.SetSetting("SerialNo", "QVF-204711");
    const char* net[][2] = {{"IPAddress", "192.168.1.50"},
                            {"NetMask", "255.255.255.0"},
                            {"Gateway", "192.168.1.1"},
                            {"DNSServer", "192.168.1.2"},
                            {"DHCP", "0"},
                            {"NetworkName", "FORECOURT-01"}};
    for (auto& kv : net)
        s.store.SetSetting(std::string("TCPIP.") + kv[0], kv[1]);

    s.Put(kPort, 1, kPortFields, {N(1), T("Pump line"), H(4), H(1), T("PL-100231")});
    s.Put(kPort, 2, kPortFields, {N(2), T("ZigBee coordinator"), H(7), H(2), T("ZB2G-00A1F3")});
    s.Put(kPort, 3, kPortFields, {N(3), T("Tank gauge line"), H(9), H(3), T("TG-552107")});

    s.Put(kZigBee, 5, kZigBeeFields,
          {N(1), T("Island 1 node"), H(1), T("ZBN-100245"), T("PUMP-NODE-1"), N(2)});
    s.Put(kZigBee, 6, kZigBeeFields,
          {N(2), T("Tank farm node"), H(2), T("ZBN-100246"), T("TANK-NODE-1"), N(2)});
    s.Put(kZigBee, 7, kZigBeeFields,
          {N(3), T("Sump sensor node"), H(3), T("ZBN-100311"), T("SENS-NODE-1"), N(2)});

    s.Put(kGrade, 1, kGradeEx, {N(1), T("Unleaded 95"), T("ULP95"), T("95"), H(1)});
    s.Put(kGrade, 2, kGradeEx, {N(2), T("Super 98"), T("SUP98"), T("98"), H(1)});
    s.Put(kGrade, 3, kGradeEx, {N(3), T("Diesel"), T("DSL"), T("D"), H(2)});
    s.Put(kGrade, 4, kGradeEx, {N(4), T("Autogas"), T("LPG"), T("LPG"), H(3)});
    const std::vector<std::vector<double>> prices{
        {1.859, 1.839, 1.819}, {2.049, 2.029}, {1.799, 1.779, 1.759, 1.739}, {0.999}};
    for (size_t g = 0; g < prices.size(); ++g)
        for (size_t level = 0; level < prices[g].size(); ++level)
            if (s.ok)
                s.store.Set(kGrade, static_cast<int32_t>(g + 1),
                            {"Price" + std::to_string(level + 1)}, {D(prices[g][level])});

    // Readings that agree with each tank's capacity: volume and ullage make up the capacity,
    // and every tank sits between its low (15 %) and high (90 %) alarm levels.
    struct TankSeed {
        const char* name;
        int16_t type;
        double capacity, diameter, theo, volume, tcVolume, level;
    };
    const TankSeed tanks[] = {
        {"Tank 1 ULP95", 1, 30000.0, 2.54, 17250.5, 17200.25, 17010.75, 1362.3},
        {"Tank 2 SUP98", 1, 30000.0, 2.54, 16250.5, 16200.25, 16010.75, 1312.3},
        {"Tank 3 Diesel", 1, 30000.0, 2.54, 15250.5, 15200.25, 15010.75, 1262.3},
        {"Tank 4 LPG", 2, 9000.0, 1.8, 6210.5, 6200.25, 6185.75, 2436.5},
    };
    for (int t = 1; t <= 4; ++t) {
        const TankSeed& k = tanks[t - 1];
        s.Put(kTank, t, kTankEx2,
              {N(t),
               T(k.name),
               N(t),
               H(k.type),
               D(k.capacity),
               D(k.diameter),
               D(k.theo),
               D(k.volume),
               D(k.tcVolume),
               D(k.capacity - k.volume),
               D(14.5 + t),
               D(k.level),
               D(12.5 * t),
               D(8.25 * t),
               N(3),
               H(t),
               N(t == 1 ? 15 : 3),
               N(t <= 2 ? 6 : 1),
               H(2),
               N(50120 + t)});
    }

    const int hosesPerPump[] = {3, 2, 4, 1};
    int hoseID = 1;
    for (int p = 1; p <= 4; ++p) {
        s.Put(kPump, p, kPumpEx,
              {N(p),
               T("Pump " + std::to_string(p)),
               H(p + 10),
               H(p % 2 + 1),
               H(p),
               H(1),
               H(2),
               H(1),
               H(2),
               H(2),
               H(4),
               N(1),
               N(p == 2 ? 2 : -1),
               H(p % 2 + 1),
               H(1),
               H(1),
               H(p == 4 ? 0 : 1),
               N(p <= 2 ? 5 : 2),
               N(p == 3 ? 7 : -1),
               H(p == 4 ? 2 : 1),
               H(p == 4 ? 0 : 1)});
        for (int n = 1; n <= hosesPerPump[p - 1]; ++n, ++hoseID) {
            const int tank = p == 4 ? 4 : n <= 3 ? n : 1;
            const bool own = n == 1 && p != 4; // hoses with their own prices
            s.Put(kHose, hoseID, kHoseEx3,
                  {N(n), N(p), N(tank), N(10 * p + n), D(125000.5 * hoseID), D(68000.25 * hoseID),
                   D(125010.75 * hoseID), D(68005.5 * hoseID), H(n % 2), D(own ? 1.849 : 0),
                   D(own ? 1.829 : 0), D(own && p == 3 ? 1.809 : 0), D(0), H(n == 4 ? 0 : 1)});
        }
    }

    const char* sensorNames[] = {"Sump 1 leak", "Sump 2 leak", "Interstitial tank 3"};
    for (int i = 1; i <= 3; ++i)
        s.Put(kSensor, i, kSensorEx,
              {N(i), T(sensorNames[i - 1]), N(3), H(i == 3 ? 2 : 1), H(i), H(i + 10),
               N(i == 1 ? 7 : -1), N(70000 + i)});
}

void People(Seeder& s) {
    struct P {
        const char *name, *shortName, *tag, *barcode;
        int quick, group, enabled;
        double p1, p2, p3, p4;
    };
    const P products[] = {
        {"Engine oil 5W30 1L", "OIL5W30", "4001", "7891234567895", 11, 1, 1, 12.5, 12.0, 11.75,
         11.5},
        {"Screen wash 5L", "WASH5L", "4002", "7891234567901", 12, 1, 1, 6.99, 6.49, 0, 0},
        {"Car wash premium", "WASHPRM", "4003", "2000000000015", 21, 2, 1, 14.0, 12.0, 10.0, 0},
        {"AdBlue 10L", "ADBLUE", "4004", "7891234567918", 13, 3, 1, 17.25, 16.75, 16.25, 15.75},
        {"Coffee large", "COFFEEL", "4005", "2000000000022", 31, 4, 1, 2.8, 2.5, 0, 0},
        {"Gas cylinder 13kg", "GAS13", "4006", "7891234567925", 14, 3, 0, 32.0, 30.5, 0, 0},
    };
    int id = 1;
    for (const P& p : products) {
        s.Put(kProduct, id, kProductEx,
              {N(id), T(p.name), T(p.tag), H(p.enabled), T(p.shortName), T(p.barcode), N(p.quick),
               D(p.p1), D(p.p2), D(p.p3), D(p.p4), N(p.group)});
        ++id;
    }

    const char* attendants[][5] = {{"Maria Santos", "MARIA", "4821", "900101", "ID-33012"},
                                   {"Joao Pereira", "JOAO", "1379", "900102", "ID-33047"},
                                   {"Ana Costa", "ANA", "5502", "900103", "ID-33101"},
                                   {"Rui Almeida", "RUI", "7733", "900104", "ID-33158"}};
    for (int a = 1; a <= 4; ++a) {
        const bool early = a % 2 == 1;
        s.Put(kAttendant, a, kAttendantEx2,
              {N(a), T(attendants[a - 1][0]), T(attendants[a - 1][1]), T(attendants[a - 1][2]),
               T(attendants[a - 1][3]), T(attendants[a - 1][4]), H(early ? 360 : 840),
               H(early ? 840 : 1320), H(early ? 1320 : 0), H(early ? 1439 : 360),
               H(a == 1   ? 2
                 : a == 4 ? 3
                          : 1)});
    }

    // Parents first: the fleet account (1) before its cards.
    struct C {
        const char* name;
        int cardType, parent;
    };
    const C cards[] = {{"Transportes Lima fleet", 1, -1},
                       {"Lima truck 07", 4, 1},
                       {"Lima van 12", 6, 1},
                       {"Attendant card Joao", 5, 2},
                       {"Car wash voucher", 7, 3},
                       {"AdBlue account", 8, 4},
                       {"Municipal services", 2, -1},
                       {"Private customer Silva", 3, -1}};
    for (int c = 1; c <= 8; ++c) {
        const C& k = cards[c - 1];
        char plate[16], tag[16], idn[16], odo[16];
        std::snprintf(plate, sizeof plate, "%02d-AB-%02d", 10 + c, 40 + c);
        std::snprintf(tag, sizeof tag, "77100%03d", c);
        std::snprintf(idn, sizeof idn, "NIF%06d", 501200 + c);
        std::snprintf(odo, sizeof odo, "ODO-%04d", 7780 + c);
        s.Put(kCardClient, c, kCardEx4,
              {N(c), T(k.name), T(tag), H(c == 8 ? 0 : 1), H(c % 3 + 1), T(plate), T(idn),
               T("CARD" + std::to_string(c)), T(std::to_string(1000 + 37 * c)), H(c % 3 + 1),
               H(k.cardType), H(c % 2 + 1), D(250.0 * c + 0.5), H(c % 3 + 1), D(46387.0 + 31 * c),
               N(k.parent), T(odo), D(12345.6 * c), N(c % 3 + 1)});
    }
}

// About three months of deliveries, log events and sale items; the last two days not yet
// logged, a few deliveries still stacked on the pumps.
void History(Seeder& s) {
    Lcg r;
    const double now = NowOle();
    const int days = 90;
    // hosesOfPump[p] is the first hose ID of pump p (1..4), hosesOfPump[5] the end of the last.
    const int hosesOfPump[] = {0, 1, 4, 6, 10, 11};
    for (int day = days; day >= 0 && s.ok; --day) {
        for (int k = 0; k < 36; ++k) {
            const double when =
                static_cast<int>(now) - day + (6 + k * 0.45) / 24.0 + r.Next(600) / 86400.0;
            if (when > now) break;
            const int pump = 1 + static_cast<int>(r.Next(4));
            const int hose = hosesOfPump[pump] + static_cast<int>(r.Next(static_cast<uint32_t>(
                                                     hosesOfPump[pump + 1] - hosesOfPump[pump])));
            const double volume = 5 + r.Next(5500) / 100.0;
            const double price = 1.799 + r.Next(30) / 100.0;
            const bool recent = day <= 1;
            const bool stacked = day == 0 && k >= 30;
            s.Add(kDelivery,
                  {{"PumpID", N(pump)},
                   {"HoseID", N(hose)},
                   {"State", H(stacked ? 2 : 3)},
                   {"Type", H(1 + static_cast<int>(r.Next(3)))},
                   {"Volume", D(volume)},
                   {"PriceLevel", H(1)},
                   {"Price", D(price)},
                   {"Value", D(static_cast<double>(static_cast<int>(volume * price * 100)) / 100)},
                   {"CompletedDT", D(when)},
                   {"ClearedDT", D(stacked ? 0 : when + 0.002)},
                   {"AttendantID", N(1 + static_cast<int>(r.Next(4)))},
                   {"CardClientID", N(r.Next(5) == 0 ? 1 + static_cast<int>(r.Next(8)) : -1)},
                   {"Duration", N(30 + static_cast<int>(r.Next(200)))},
                   {"LoggedState", H(recent ? 3 : 0)}});
            if (k % 3 == 0)
                s.Add(kSaleItem, {{"ProductID", N(1 + static_cast<int>(r.Next(6)))},
                                  {"PumpID", N(pump)},
                                  {"AttendantID", N(1 + static_cast<int>(r.Next(4)))},
                                  {"Price", D(2.5 + r.Next(1500) / 100.0)},
                                  {"Quantity", D(1 + r.Next(3))},
                                  {"AddedDT", D(when)},
                                  {"ClearedDT", D(when + 0.001)},
                                  {"LoggedState", H(recent ? 1 : 0)},
                                  {"AuthType", H(1)}});
        }
        for (int k = 0; k < 7; ++k)
            s.Add(kLogEvent, {{"DeviceType", H(1 + static_cast<int>(r.Next(4)))},
                              {"DeviceID", N(1 + static_cast<int>(r.Next(3)))},
                              {"EventLevel", H(1 + static_cast<int>(r.Next(3)))},
                              {"EventType", H(1 + static_cast<int>(r.Next(12)))},
                              {"EventDesc", T(k % 2 ? "Nozzle left out" : "Tank level low")},
                              {"GeneratedDT", D(static_cast<int>(now) - day + k / 8.0)},
                              {"LoggedState", H(day <= 1 ? 1 : 0)},
                              {"Temperature", D(15 + r.Next(100) / 10.0)}});
    }
}

} // namespace

bool SeedDemo(Store& store, Operations& ops, std::string& error) {
    Seeder s{store, ops, error};
    store.Begin();
    Equipment(s);
    People(s);
    History(s);
    store.Commit();
    return s.ok;
}

bool SeedLarge(Store& store, Operations& ops, int cards, int products, int attendants,
               std::string& error) {
    if (cards < 1 || products < 1 || attendants < 1) {
        error = "large seed needs at least one of each";
        return false;
    }
    Seeder s{store, ops, error};
    store.Begin();
    Equipment(s);
    for (int p = 1; p <= products && s.ok; ++p)
        s.Put(kProduct, p, kProductEx,
              {N(p), T("Product " + std::to_string(p)), T(std::to_string(500000 + p)), H(1),
               T("P" + std::to_string(p)), T(std::to_string(2000000000000LL + p)), N(p % 100),
               D(1 + p % 50), D(0.9 + p % 50), D(0), D(0), N(1 + p % 9)});
    for (int a = 1; a <= attendants && s.ok; ++a)
        s.Put(kAttendant, a, kAttendantEx2,
              {N(a), T("Attendant " + std::to_string(a)), T("A" + std::to_string(a)),
               T(std::to_string(1000 + a % 9000)), T(std::to_string(900000 + a)),
               T("ID-" + std::to_string(a)), H(360), H(840), H(840), H(1320), H(1 + a % 3)});
    for (int c = 1; c <= cards && s.ok; ++c) {
        const bool onAttendant = c % 2 == 0;
        const int parent = onAttendant ? 1 + c % attendants : 1 + c % products;
        s.Put(kCardClient, c, kCardEx4,
              {N(c), T("Card client " + std::to_string(c)), T(std::to_string(7700000 + c)), H(1),
               H(1 + c % 3), T("PL-" + std::to_string(c)), T("NIF" + std::to_string(c)),
               T("C" + std::to_string(c)), T(std::to_string(1000 + c % 9000)), H(1),
               H(onAttendant ? 5 : 7), H(1), D(100.0 + c % 900), H(1), D(46387.0 + c % 365),
               N(parent), T("ODO-" + std::to_string(c)), D(1000.5 + c), N(1 + c % 3)});
    }
    store.Commit();
    return s.ok;
}

} // namespace qvserver
