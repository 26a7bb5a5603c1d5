// Checks every one of the 2^32 values against the oracle, on every core. Run by the `exhaustive` target, not
// by ctest.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "conversion_oracle.h"

int main() {
  const auto start = std::chrono::steady_clock::now();
  const unsigned threads = std::max(1U, std::thread::hardware_concurrency());
  std::atomic<std::uint64_t> failures{0};
  std::mutex output;
  // Slices of 2^24 values, taken in turn by the workers.
  std::atomic<std::uint32_t> nextSlice{0};
  constexpr std::uint32_t kSlices = 256;
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      for (std::uint32_t slice = nextSlice++; slice < kSlices; slice = nextSlice++) {
        const std::uint32_t first = slice << 24;
        for (std::uint32_t offset = 0; offset < (1U << 24); ++offset) {
          const auto value = static_cast<std::int32_t>(first + offset);
          const std::string failure = vostrel::testing::CheckConversions(value);
          if (!failure.empty() && ++failures <= 20) {
            const std::lock_guard lock(output);
            std::printf("%s\n", failure.c_str());
          }
        }
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu failures over 2^32 values in %lld s on %u threads\n",
              static_cast<unsigned long long>(failures.load()), static_cast<long long>(seconds), threads);
  return failures == 0 ? 0 : 1;
}
