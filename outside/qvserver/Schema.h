// The record kinds the forecourt server keeps, with their stored fields, types and defaults.
// Each kind is one SQLite table keyed by ID; the field names are the column names.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "outside/qvclient/QVWire.h"

namespace qvserver {

// Date fields travel as automation dates and are stored as SQLite day numbers (0 as NULL).
enum class FieldType { I16, I32, I64, F64, Text, Date };

struct Field {
    const char* name;
    FieldType type;
    double defaultValue; // numbers; texts default to empty
};

struct Entity {
    const char* table;
    std::vector<Field> fields;

    const Field* Find(const std::string& name) const;
};

qvwire::Tag TagOf(FieldType t);
// The wire value of a field's default.
qvwire::Value DefaultOf(const Field& f);

extern const Entity kPort, kZigBee, kGrade, kTank, kPump, kHose, kSensor, kProduct, kAttendant,
    kCardClient, kCardRead, kDelivery, kLogEvent, kSaleItem, kPriceSignElement;
// Accounting periods; a tank's strapping table (keyed by the tank's ID) and its elements.
extern const Entity kPeriod, kStrappingTable, kStrappingElement;
// Every kind, in the order the tables are created.
const std::vector<const Entity*>& AllEntities();

} // namespace qvserver
