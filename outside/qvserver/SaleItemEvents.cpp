// The sale item event (type 25), built for the calls that change a sale item and for the
// items the forecourt adds.
#include "outside/qvserver/SaleItemEvents.h"

#include <cstdlib>

#include "outside/qvserver/TagText.h"

namespace qvserver {

namespace {

const Value& At(const Row& r, const std::string& name) {
    static const Value kNone = Value::I32(0);
    auto it = r.find(name);
    return it == r.end() ? kNone : it->second;
}
int32_t I(const Row& r, const std::string& name) {
    return static_cast<int32_t>(At(r, name).i);
}

} // namespace

Row Joined(Store& store, const Entity& e, int32_t id) {
    Row r;
    if (id > 0 && store.Fetch(e, id, r)) return r;
    for (const Field& f : e.fields)
        r[f.name] = DefaultOf(f);
    return r;
}

Values SaleItemEvent(Store& store, int32_t id, const Row& s) {
    const Row p = Joined(store, kProduct, I(s, "ProductID")),
              pump = Joined(store, kPump, I(s, "PumpID"));
    const Row a = Joined(store, kAttendant, I(s, "AttendantID"));
    const Row card = Joined(store, kCardClient, I(s, "CardClientID"));
    const int16_t logged = static_cast<int16_t>(I(s, "LoggedState"));
    const Value none = Value::Text({});
    Values v{Value::I32(id),
             At(s, "ProductID"),
             At(p, "Number"),
             At(p, "Name"),
             At(p, "Tag"),
             At(p, "ProductGroup"),
             none,
             At(p, "Barcode"),
             At(s, "PumpID"),
             At(pump, "Number"),
             At(pump, "Name"),
             At(s, "AttendantID"),
             At(a, "Number"),
             At(a, "Name"),
             Value::I64(TagNumber(At(a, "Tag").s)),
             At(s, "CardClientID"),
             At(card, "Number"),
             At(card, "Name"),
             Value::I64(TagNumber(At(card, "Tag").s)),
             At(s, "PriceLevel"),
             At(s, "Price"),
             At(s, "Quantity"),
             At(s, "AddedDT"),
             At(s, "ClearedDT"),
             At(s, "LockedBy"),
             At(s, "ClearedBy"),
             Value::I16(logged & 1),
             Value::I16((logged & 2) >> 1),
             At(s, "Plate"),
             none,
             none,
             none,
             At(s, "AuthType")};
    // One section, variant 0.
    Values event{Value::I16(qvwire::kEventSaleItem), Value::I16(0),
                 Value::I16(static_cast<int16_t>(v.size()))};
    event.insert(event.end(), v.begin(), v.end());
    return event;
}

} // namespace qvserver
