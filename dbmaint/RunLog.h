// The two lines every phase of a maintenance run may write: the memory line before a phase and
// the error line for a failure a step caught.
#pragma once

class CLog;
class CSQLiteDB;

// Logs "%MEMORY total ..Kb - free ..Kb = in use ..Kb, ..% free  division .. - ..".
void MemoryReport(CLog& log);
// Logs the error line for a thrown code caught at source position file:line of the entry,
// with SQLite's text for the code and the connection's last message.
void LogDbError(CLog& log, const CSQLiteDB& db, int code, const char* file, int line);
