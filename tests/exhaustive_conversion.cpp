// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Checks every one of the 2^32 values against the oracle, on every core. Each thread takes blocks of
// consecutive magnitudes of one sign and goes through them a hundred values at a time, in three passes: the
// oracle writes the hundred values' texts, the conversions run on them, then everything is compared. Each of
// the hundred keeps its own decimal odometer, which moves on by a hundred, and a text is read only after a
// whole pass of other work, never straight after its last write.
#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "conversion_oracle.h"

namespace {

using vostrel::testing::Conversions;
using vostrel::testing::DecimalOdometer;
using vostrel::testing::PatternTexts;

constexpr std::uint64_t kBlock = 1U << 20;
constexpr std::uint64_t kBlocks = (std::uint64_t{1} << 32) / kBlock;
constexpr std::size_t kBatch = 100;
constexpr std::size_t kHundredsPlace = 2;

// One value of a batch: what the oracle says of it and what the conversions gave.
struct Slot {
  std::int32_t value = 0;
  std::optional<DecimalOdometer> decimal;
  std::optional<PatternTexts> expected;
  Conversions converted;
};

class BlockChecker {
 public:
  BlockChecker(std::mutex& output, std::atomic<std::uint64_t>& reported)
      : output_(output), reported_(reported) {}

  // Checks block `block` of the 32-bit patterns.
  void Check(std::uint64_t block) {
    const std::uint64_t firstPattern = block * kBlock;
    const bool negative = firstPattern >= (std::uint64_t{1} << 31);
    // A negative block's magnitudes run from 2^32 minus its last pattern up to 2^32 minus its first.
    const std::uint64_t first =
        negative ? (std::uint64_t{1} << 32) - (firstPattern + kBlock - 1) : firstPattern;
    for (std::size_t i = 0; i < kBatch; ++i)
      slots_[i].decimal.emplace(static_cast<std::uint32_t>(first + i), negative);

    for (std::uint64_t batch = first; batch < first + kBlock; batch += kBatch) {
      const std::size_t count =
          static_cast<std::size_t>(std::min<std::uint64_t>(kBatch, first + kBlock - batch));
      for (std::size_t i = 0; i < count; ++i) {
        const auto magnitude = static_cast<std::int64_t>(batch + i);
        slots_[i].value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
        patternSum_ += std::bit_cast<std::uint32_t>(slots_[i].value);
        slots_[i].expected.emplace(slots_[i].value);
      }
      for (std::size_t i = 0; i < count; ++i) {
        Slot& slot = slots_[i];
        slot.converted.Run(slot.value, slot.decimal->Text(), *slot.expected);
      }
      for (std::size_t i = 0; i < count; ++i) {
        Slot& slot = slots_[i];
        if (const unsigned failed = slot.converted.Failed(slot.value, slot.decimal->Text(), *slot.expected)) {
          ++failures_;
          Report(slot.value, failed);
        }
        slot.decimal->Advance(kHundredsPlace);
      }
      checked_ += count;
    }
  }

  [[nodiscard]] std::uint64_t Checked() const { return checked_; }
  [[nodiscard]] std::uint64_t PatternSum() const { return patternSum_; }
  [[nodiscard]] std::uint64_t Failures() const { return failures_; }

 private:
  void Report(std::int32_t value, unsigned failed) {
    if (reported_++ >= 20) return;
    const std::lock_guard lock(output_);
    std::printf("%s\n", vostrel::testing::DescribeFailures(value, failed).c_str());
  }

  std::array<Slot, kBatch> slots_;
  std::uint64_t checked_ = 0;
  std::uint64_t patternSum_ = 0;
  std::uint64_t failures_ = 0;
  std::mutex& output_;
  std::atomic<std::uint64_t>& reported_;
};

}  // namespace

int main() {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t startCpu = std::clock();
  const unsigned threads = std::max(1U, std::thread::hardware_concurrency());
  std::atomic<std::uint64_t> checked{0};
  std::atomic<std::uint64_t> patternSum{0};
  std::atomic<std::uint64_t> failures{0};
  std::atomic<std::uint64_t> reported{0};
  std::atomic<std::uint64_t> nextBlock{0};
  std::mutex output;
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      BlockChecker checker(output, reported);
      for (std::uint64_t block = nextBlock++; block < kBlocks; block = nextBlock++) checker.Check(block);
      checked += checker.Checked();
      patternSum += checker.PatternSum();
      failures += checker.Failures();
    });
  }
  for (std::thread& worker : workers) worker.join();
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // The processor time tells the check's cost also when it shares the machine with other work.
  const double cpuSeconds = static_cast<double>(std::clock() - startCpu) / CLOCKS_PER_SEC;
  // As many values as there are, and their patterns add up to 0 + 1 + ... + (2^32 - 1): none twice, none
  // left out.
  const bool everyValue =
      checked == std::uint64_t{1} << 32 && patternSum == (std::uint64_t{1} << 63) - (std::uint64_t{1} << 31);
  std::printf(
      "exhaustive: %llu failures over %s2^32 values in %.1f s (%.1f s of processor time) on %u threads\n",
      static_cast<unsigned long long>(failures.load()), everyValue ? "all " : "NOT all ", seconds, cpuSeconds,
      threads);
  return failures == 0 && everyValue ? 0 : 1;
}
