// The sale item event (type 25), shared by the operations and the forecourt service.
#pragma once

#include <cstdint>

#include "outside/qvserver/Store.h"

namespace qvserver {

// The record with that ID, or the defaults of its kind when there is none (an ID of -1).
Row Joined(Store& store, const Entity& e, int32_t id);

// The event of sale item `id` stored as `s`, with the names of its product, pump, attendant and
// card client. Attendant and card tags as numbers, as in delivery events. Driver, external
// transaction and authorisation IDs are not kept with a sale item: empty.
Values SaleItemEvent(Store& store, int32_t id, const Row& s);

} // namespace qvserver
