// Runs a loop body for every row of a picture on all cores. Each row is
// computed independently, so the result does not depend on the thread count.
#pragma once

#include <functional>

namespace assetgen {

void parallelRows(int rows, const std::function<void(int row)>& body);

}  // namespace assetgen
