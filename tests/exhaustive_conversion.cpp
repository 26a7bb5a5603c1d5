// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Checks every one of the 2^32 values against the oracle, on every core. The sweep goes in blocks of
// consecutive magnitudes of one sign, so that the oracle's decimal text moves on by one step of an odometer.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "conversion_oracle.h"

namespace {

constexpr std::uint64_t kBlock = 1U << 20;
constexpr std::uint64_t kBlocks = (std::uint64_t{1} << 32) / kBlock;

// The values of block `block` of the 32-bit patterns, in the order of their magnitudes.
std::uint64_t CheckBlock(std::uint64_t block, std::mutex& output, std::atomic<std::uint64_t>& reported) {
  const std::uint64_t firstPattern = block * kBlock;
  const bool negative = firstPattern >= (std::uint64_t{1} << 31);
  // A negative block's magnitudes run from 2^32 minus its last pattern up to 2^32 minus its first.
  const std::uint64_t firstMagnitude =
      negative ? (std::uint64_t{1} << 32) - (firstPattern + kBlock - 1) : firstPattern;
  vostrel::testing::DecimalOdometer decimal(static_cast<std::uint32_t>(firstMagnitude), negative);
  std::uint64_t failures = 0;
  for (std::uint64_t magnitude = firstMagnitude; magnitude < firstMagnitude + kBlock; ++magnitude) {
    const auto value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                                          : static_cast<std::int64_t>(magnitude));
    if (const unsigned failed = vostrel::testing::FailedConversions(value, decimal.Text())) {
      ++failures;
      if (reported++ < 20) {
        const std::lock_guard lock(output);
        std::printf("%s\n", vostrel::testing::DescribeFailures(value, failed).c_str());
      }
    }
    decimal.Advance();
  }
  return failures;
}

}  // namespace

int main() {
  const auto start = std::chrono::steady_clock::now();
  const unsigned threads = std::max(1U, std::thread::hardware_concurrency());
  std::atomic<std::uint64_t> failures{0};
  std::atomic<std::uint64_t> reported{0};
  std::atomic<std::uint64_t> nextBlock{0};
  std::mutex output;
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      for (std::uint64_t block = nextBlock++; block < kBlocks; block = nextBlock++) {
        failures += CheckBlock(block, output, reported);
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("exhaustive: %llu failures over all 2^32 values in %.1f s on %u threads\n",
              static_cast<unsigned long long>(failures.load()), seconds, threads);
  return failures == 0 ? 0 : 1;
}
