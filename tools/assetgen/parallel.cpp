#include "tools/assetgen/parallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace assetgen {

void parallelRows(int rows, const std::function<void(int row)>& body) {
    const int threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    std::atomic<int> next(0);
    auto worker = [&] {
        for (int row = next++; row < rows; row = next++) body(row);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& thread : pool) thread.join();
}

}  // namespace assetgen
