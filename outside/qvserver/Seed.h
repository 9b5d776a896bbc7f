// Initial contents for an empty database: a realistic demo site with some months of
// controller history, or a large site for benchmarks.
#pragma once
#include <string>

#include "outside/qvserver/Operations.h"
#include "outside/qvserver/Store.h"

namespace qvserver {

// False when a record could not be stored (the reason in error).
bool SeedDemo(Store& store, Operations& ops, std::string& error);
// The demo's equipment with `cards` card clients whose parents are among `products` products
// and `attendants` attendants (each at least 1).
bool SeedLarge(Store& store, Operations& ops, int cards, int products, int attendants,
               std::string& error);

} // namespace qvserver
