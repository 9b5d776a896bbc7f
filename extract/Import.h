// Configuration import: reads a configuration file section by section and stores every
// recognised entity in the logged-on server, storing what an entity depends on first.
#pragma once
#include "extract/ClientLibrary.h"

struct ImportOptions {
    bool noProducts = false;    // Product sections are read and counted, nothing is stored
    bool noAttendants = false;  // the same for Attendant sections
    bool noCardClients = false; // the same for Client sections (and the parents they reach)
};

// Walks every section of fileName through the logged-on library. A failing record is reported,
// not counted, and the walk goes on. Real values travel as fixed point (four decimals): one whose
// magnitude reaches 2^63 / 10000 (about 9.22e14) has no such value, so its record is refused the
// same way, with "<section> <key> out of range - <text>." on the console and in the log. Returns
// 0 when the walk reached the end of the file; -1 (reported, no "All done.") when the file cannot
// be read, or when the connection to the server broke: the walk stops at the first call that
// found it broken.
int ImportConfiguration(ClientLibrary& library, const char* fileName, const ImportOptions& options);
