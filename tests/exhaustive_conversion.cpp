// Checks every one of the 2^32 values against the oracle. Run by the `exhaustive` target, not by ctest.
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "conversion_oracle.h"

int main() {
  const auto start = std::chrono::steady_clock::now();
  std::uint64_t failures = 0;
  for (std::int64_t v = INT32_MIN; v <= INT32_MAX; ++v) {
    const std::string failure = vostrel::testing::CheckConversions(static_cast<std::int32_t>(v));
    if (!failure.empty() && ++failures <= 20) std::printf("%s\n", failure.c_str());
    if ((v & 0x0FFFFFFF) == 0) std::printf("at %lld\n", static_cast<long long>(v)), std::fflush(stdout);
  }
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu failures over 2^32 values in %lld s\n", static_cast<unsigned long long>(failures),
              static_cast<long long>(seconds));
  return failures == 0 ? 0 : 1;
}
