// Configuration import: reads a configuration file section by section and stores every
// recognised entity in the logged-on server, storing what an entity depends on first.
#pragma once
#include <cstdint>

// Walks every section of fileName; never stops early (failures are reported and the section is
// not counted). Always 0.
int ImportConfiguration(const char* fileName, bool noProducts, bool noAttendants,
                        bool noCardClients);

// One import per kind, on the configuration file opened by ImportConfiguration; N is the number
// taken from the section name. True when the entity counts as imported; false when its section
// is missing, its Number is below 1, a dependency cannot be stored or a library call fails.
// With skip, attendants, products and card clients are read but not stored (and count).
bool ImportPort(int32_t n);
bool ImportGrade(int32_t n);
bool ImportZigBee(int32_t n);
bool ImportTank(int32_t n);
bool ImportPump(int32_t n);
bool ImportSensor(int32_t n);
bool ImportAttendant(int32_t n, bool skip);
bool ImportProduct(int32_t n, bool skip);
bool ImportCardClient(int32_t n, bool skip);
