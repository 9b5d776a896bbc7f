// Configuration export: walks a logged-on server through the client library and writes its
// whole configuration (header, service sections, ports, ZigBee devices, grades, tanks, pumps with
// hoses, sensors, products, attendants, card clients) into a configuration file.
#pragma once

// Set by the VERSION command: the export writes only the header, ports and ZigBee devices.
extern unsigned char versionOnly;

// Deletes fileName and writes the configuration into it. 0 when the walk completes; -1 when a
// library call stops it (reported through ReportResult; the lines already written stay).
int ExportConfiguration(const char* fileName, bool pam, bool company, bool gsc, bool ipt,
                        bool noProducts, bool noAttendants, bool noCardClients);
