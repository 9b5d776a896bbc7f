// Configuration export: walks a logged-on server through the client library and writes its
// whole configuration (header, service sections, ports, ZigBee devices, grades, tanks, pumps with
// hoses, sensors, products, attendants, card clients) into a configuration file.
#pragma once
#include "extract/ClientLibrary.h"

// The switches of the command line, already resolved (ipt turns gsc on, gsc pam on, pam company
// off).
struct ExportOptions {
    bool pam = false;
    bool company = false;
    bool gsc = false;
    bool ipt = false;
    bool noProducts = false;
    bool noAttendants = false;
    bool noCardClients = false;
    // The VERSION command: only the header, ports and ZigBee devices are written; the count
    // calls of the other kinds are still made.
    bool versionOnly = false;
};

// Writes the configuration into fileName: built in a new file beside it and moved over it only
// when the walk completed and the file is committed, so on any failure or stop request the
// previous file stays as it was (a device or pipe is written as it is). 0 when the walk completes
// and the file is in place, with "All done." printed; -1 when a library call stops the walk
// (reported through ReportResult), when the file cannot be created or written (reported with
// its path and the reason on the console and in the log), or when a stop request ended the
// walk between two records.
int ExportConfiguration(ClientLibrary& library, const char* fileName, const ExportOptions& options);
