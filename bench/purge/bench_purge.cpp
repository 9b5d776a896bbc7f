// Times a Tarnwell purge of 100,000 old deliveries (-fast: batches of 1000, no pauses) beside
// the sqlite3 shell running the very same batch statements on a copy of the same file, and one
// plain DELETE of the same rows for scale. Then purges while another process keeps inserting,
// and checks that only the purge set went and that the file is sound.
//   bench_purge [repeats]
#include <dlfcn.h>
#include <signal.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kOldRows = 100000;      // the purge set: IDs 1..kOldRows
constexpr int kYoungRows = 10000;     // kept: too young
constexpr int kBatch = 1000;          // 250 x 4 with -fast
constexpr int kInsertPauseUs = 10000; // the other writer\'s pause between its inserts
constexpr const char* kDeleteByAge =
    "DELETE FROM Deliveries  WHERE ID in (    SELECT ID FROM Deliveries       WHERE LoggedState "
    "= 0 AND date( CompletedDT + ?1 ) <= date('now')       ORDER BY ID ASC       LIMIT ?2   ) ";
// The count statements of the tool's run, in its order.
const std::vector<std::pair<const char*, const char*>> kCounts = {
    {"SELECT COUNT(*) FROM Deliveries WHERE LoggedState = 0 AND date( CompletedDT + ?1 ) <= "
     "date('now');",
     "30"},
    {"SELECT COUNT(*) FROM Deliveries ;", nullptr},
    {"SELECT COUNT(*) FROM LogEvents WHERE LoggedState = 0 AND date( GeneratedDT + ?1 ) <= "
     "date('now'); ",
     "0"},
    {"SELECT COUNT(*)  FROM LogEvents; ", nullptr},
    {"SELECT COUNT(*) FROM SaleItems WHERE LoggedState = 0 AND date( AddedDT + ?1 ) <= "
     "date('now');",
     "0"},
    {"SELECT COUNT(*)  FROM SaleItems ;", nullptr},
};

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void Exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.c_str(), error ? error : "?");
        std::exit(2);
    }
}

long long Int(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    long long value = -1;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

std::string Text(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
        value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// The controller's three tables; Deliveries with the purge set first (oldest IDs), then rows
// too young to go. Rows carry some payload so that pages fill as on a real site.
void MakeMaster(const fs::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    Exec(db, "CREATE TABLE Deliveries(ID INTEGER PRIMARY KEY, LoggedState INTEGER, CompletedDT "
             "REAL, Pump INTEGER, Hose INTEGER, Volume INTEGER, Amount INTEGER, Note TEXT);"
             "CREATE TABLE LogEvents(ID INTEGER PRIMARY KEY, LoggedState INTEGER, GeneratedDT "
             "REAL, Text TEXT);"
             "CREATE TABLE SaleItems(ID INTEGER PRIMARY KEY, LoggedState INTEGER, AddedDT REAL, "
             "Price INTEGER);");
    const std::string rows = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                             "WHERE i < %d) INSERT INTO Deliveries(LoggedState, CompletedDT, "
                             "Pump, Hose, Volume, Amount, Note) SELECT 0, julianday('now') - %d, "
                             "i %% 12, i %% 4, i * 7, i * 13, 'delivery ' || i FROM n;";
    char sql[512];
    Exec(db, "BEGIN");
    std::snprintf(sql, sizeof(sql), rows.c_str(), kOldRows, 40);
    Exec(db, sql);
    std::snprintf(sql, sizeof(sql), rows.c_str(), kYoungRows, 2);
    Exec(db, sql);
    Exec(db, "INSERT INTO LogEvents(LoggedState, GeneratedDT, Text) VALUES(0, julianday('now'), "
             "'start');"
             "INSERT INTO SaleItems(LoggedState, AddedDT, Price) VALUES(0, julianday('now'), 1);");
    Exec(db, "COMMIT");
    sqlite3_close(db);
}

std::string SystemSqlitePath() {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&sqlite3_libversion), &info);
    return info.dli_fname ? info.dli_fname : "";
}

// User plus system time of the finished child processes, in seconds.
double ChildrenCpu() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double wall = 0; // seconds
    double cpu = 0;  // seconds of user + system time
};

Timing RunTimed(const std::string& command) {
    const double cpu = ChildrenCpu();
    const double start = Now();
    const int status = std::system(command.c_str());
    Timing t{Now() - start, ChildrenCpu() - cpu};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "command failed (%d): %s\n", status, command.c_str());
    return t;
}

// The shell script: the tool's counts and its batches, the same texts with the same bound
// parameters, each statement on its own (autocommit) as the tool sends them.
std::string ShellScript() {
    std::ostringstream s;
    auto count = [&](const std::pair<const char*, const char*>& c) {
        s << ".parameter clear\n";
        if (c.second != nullptr) s << ".parameter set ?1 " << c.second << "\n";
        s << c.first << "\n";
    };
    count(kCounts[0]);
    s << ".parameter clear\n.parameter set ?1 30\n.parameter set ?2 " << kBatch << "\n";
    for (int n = kOldRows; n > 0; n -= kBatch)
        s << kDeleteByAge << ";\n";
    for (size_t i = 1; i < kCounts.size(); ++i)
        count(kCounts[i]);
    return s.str();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Inserts young deliveries, each in its own transaction, until told to stop; reports the
// number of rows committed through `out`.
[[noreturn]] void Inserter(const fs::path& file, int out) {
    static volatile sig_atomic_t stop = 0;
    signal(SIGTERM, [](int) { stop = 1; });
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_busy_timeout(db, 10000);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Deliveries(LoggedState, CompletedDT, Pump, Hose, Volume, "
                       "Amount, Note) VALUES(0, julianday('now'), 1, 1, -7, -7, 'live')",
                       -1, &stmt, nullptr);
    long committed = 0;
    long failed = 0;
    while (!stop) {
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc == SQLITE_DONE)
            ++committed;
        else
            ++failed;
        usleep(kInsertPauseUs);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    const long counts[2] = {committed, failed};
    if (write(out, counts, sizeof(counts)) != static_cast<ssize_t>(sizeof(counts))) _exit(3);
    _exit(0);
}

// One purge with -fast while a child process inserts young rows; true when nothing outside the
// purge set went and the file is sound.
bool ConcurrentRound(const fs::path& root, const fs::path& master, const fs::path& toolDb,
                     int round) {
    fs::copy_file(master, toolDb, fs::copy_options::overwrite_existing);
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        Inserter(toolDb, pipeFds[1]);
    }
    close(pipeFds[1]);
    usleep(100000);
    fs::remove(root / "Tarnwell.L00");
    const double took = RunTimed(std::string(TARNWELL_PATH) + " -deliveries -fast > '" +
                                 (root / "concurrent.txt").string() + "'")
                            .wall;
    usleep(100000);
    kill(child, SIGTERM);
    long counts[2] = {0, 0};
    if (read(pipeFds[0], counts, sizeof(counts)) != static_cast<ssize_t>(sizeof(counts)))
        std::printf("inserter reported nothing\n");
    waitpid(child, nullptr, 0);
    std::ifstream log(root / "Tarnwell.L00");
    int failedBatches = 0, busyLines = 0, errorLines = 0, batches = 0;
    for (std::string line; std::getline(log, line);) {
        failedBatches += line.find("FAILED!!") != std::string::npos ? 1 : 0;
        busyLines += line.find("busy/locked repeating") != std::string::npos ? 1 : 0;
        errorLines += line.find("DB: ERROR") != std::string::npos ? 1 : 0;
        batches += line.find("table purged") != std::string::npos ? 1 : 0;
    }
    const long long purgeLeft =
        Int(toolDb, "SELECT COUNT(*) FROM Deliveries WHERE ID <= " + std::to_string(kOldRows));
    const long long youngLeft =
        Int(toolDb, "SELECT COUNT(*) FROM Deliveries WHERE ID > " + std::to_string(kOldRows) +
                        " AND ID <= " + std::to_string(kOldRows + kYoungRows));
    const long long liveLeft = Int(toolDb, "SELECT COUNT(*) FROM Deliveries WHERE Volume = -7");
    const std::string integrity = Text(toolDb, "PRAGMA integrity_check");
    std::printf(
        "concurrent round %d: purge %.3f s; inserter committed %ld rows (%ld failed); batches "
        "done %d, busy lines %d, failed batches %d, error lines %d\n",
        round, took, counts[0], counts[1], batches, busyLines, failedBatches, errorLines);
    std::printf("  purge set left %lld of %d; young rows kept %lld of %d; inserted rows kept "
                "%lld of %ld; integrity_check %s\n",
                purgeLeft, kOldRows, youngLeft, kYoungRows, liveLeft, counts[0], integrity.c_str());
    const bool sound = youngLeft == kYoungRows && liveLeft == counts[0] && integrity == "ok";
    std::printf("  nothing outside the purge set deleted: %s\n", sound ? "yes" : "NO");

    return sound;
}

} // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::string pattern = (fs::temp_directory_path() / "bench_purge.XXXXXX").string();
    const fs::path root = mkdtemp(pattern.data());
    fs::create_directories(root / "DAVozuz" / "QVForecourt");
    fs::create_directories(root / "DAVozuz" / "SQLite");
    fs::create_symlink(SystemSqlitePath(), root / "DAVozuz" / "QVForecourt" / "SQLite.DLL");
    setenv("QV_ROOT", root.c_str(), 1);
    std::ofstream(root / "DAVozuz" / "SQLite" / "QVSQLite.ini", std::ios::binary)
        << "[Parameters]\r\nDBName=\\DAVozuz\\SQLite\\QV.db\r\nDeliveryKeepDays=30\r\n";
    const fs::path master = root / "master.db";
    const fs::path toolDb = root / "DAVozuz" / "SQLite" / "QV.db";
    const fs::path shellDb = root / "shell.db";
    const fs::path plainDb = root / "plain.db";
    const fs::path script = root / "batches.sql";
    MakeMaster(master);
    std::ofstream(script) << ShellScript();
    const std::string tool = std::string(TARNWELL_PATH) + " -deliveries -fast > /dev/null";

    std::printf("purge of %d old rows (of %d), batches of %d, SQLite %s\n", kOldRows,
                kOldRows + kYoungRows, kBatch, sqlite3_libversion());
    std::vector<double> wall[3], cpu[3]; // tool, shell batches, plain DELETE
    const char* names[3] = {"tool", "shell batches", "plain DELETE"};
    const std::string commands[3] = {
        tool, "sqlite3 '" + shellDb.string() + "' < '" + script.string() + "' > /dev/null",
        "sqlite3 '" + plainDb.string() +
            "' \"DELETE FROM Deliveries WHERE LoggedState = 0 AND date( CompletedDT + 30 ) <= "
            "date('now');\""};
    for (int i = 0; i < repeats; ++i) {
        for (const fs::path& copy : {toolDb, shellDb, plainDb})
            fs::copy_file(master, copy, fs::copy_options::overwrite_existing);
        sync();
        // Alternate who goes first, so that neither always meets a warm or a cold cache.
        const int order[2][3] = {{0, 1, 2}, {1, 0, 2}};
        for (int k : order[i % 2]) {
            const Timing t = RunTimed(commands[k]);
            wall[k].push_back(t.wall);
            cpu[k].push_back(t.cpu);
        }
        const long long left[3] = {Int(toolDb, "SELECT COUNT(*) FROM Deliveries"),
                                   Int(shellDb, "SELECT COUNT(*) FROM Deliveries"),
                                   Int(plainDb, "SELECT COUNT(*) FROM Deliveries")};
        if (left[0] != kYoungRows || left[1] != kYoungRows || left[2] != kYoungRows)
            std::printf("  rows left differ: tool %lld, shell %lld, plain %lld\n", left[0], left[1],
                        left[2]);
        std::printf("  run %d: tool %.3f s, shell batches %.3f s, plain DELETE %.3f s (wall)\n",
                    i + 1, wall[0].back(), wall[1].back(), wall[2].back());
    }
    for (int k = 0; k < 3; ++k)
        std::printf("median %-13s wall %.3f s, cpu %.3f s\n", names[k], Median(wall[k]),
                    Median(cpu[k]));
    std::printf("ratio tool / shell batches: wall %.2fx, cpu %.2fx (aim <= 1.20x)\n",
                Median(wall[0]) / Median(wall[1]), Median(cpu[0]) / Median(cpu[1]));
    std::printf("ratio tool / plain DELETE:  wall %.2fx, cpu %.2fx\n",
                Median(wall[0]) / Median(wall[2]), Median(cpu[0]) / Median(cpu[2]));

    // Purges while another process keeps inserting young rows, a few rounds: whether the
    // tool's first statements meet the other writer's commit is a matter of timing.
    bool sound = true;
    for (int round = 1; round <= 3; ++round)
        sound = ConcurrentRound(root, master, toolDb, round) && sound;

    std::error_code ec;
    if (std::getenv("BENCH_KEEP") == nullptr)
        fs::remove_all(root, ec);
    else
        std::printf("kept %s\n", root.c_str());
    return sound ? 0 : 1;
}
