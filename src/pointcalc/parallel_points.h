// Work on the points of a calculation shared among threads. Each point is computed whole by
// one thread, so a result never depends on how many threads there were.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

// Runs work(i) for every i < n, handing out blocks of `block` points to `threads` threads (the
// calling thread among them). `progress`, called on the calling thread only, gets the number of
// points finished since its last call.
inline void ForEachPoint(std::size_t n, int threads, const std::function<void(std::size_t)>& work,
                         const std::function<void(long long)>& progress = {},
                         std::size_t block = 64) {
  if (n == 0) return;
  const std::size_t blocks = (n + block - 1) / block;
  std::atomic<std::size_t> next{0};
  std::atomic<long long> done{0};
  auto run_block = [&]() -> bool {
    const std::size_t b = next.fetch_add(1);
    if (b >= blocks) return false;
    const std::size_t begin = b * block, end = std::min(n, begin + block);
    for (std::size_t i = begin; i < end; ++i) work(i);
    done.fetch_add(static_cast<long long>(end - begin));
    return true;
  };
  threads = std::clamp(threads, 1, static_cast<int>(std::min<std::size_t>(blocks, 64)));
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t)
    pool.emplace_back([&] {
      while (run_block()) {
      }
    });
  long long reported = 0;
  auto report = [&] {
    const long long now = done.load();
    if (progress && now > reported) {
      progress(now - reported);
      reported = now;
    }
  };
  while (run_block()) report();
  for (auto& t : pool) t.join();
  report();
}
