#include "KPQuaslet/values/Int+KPExt.h"

#include <cmath>
#include <new>
#include <span>
#include <string_view>

#include "platform/foundation/Random.h"

namespace kp {
namespace {

// Spans and squares are computed in 128 bits, where no Int arithmetic overflows.
__extension__ using Int128 = __int128;

// The largest r with r * r <= n, for n >= 0. The double square root is the first
// guess; it can be one off for values beyond 2^52, so it is corrected exactly.
std::int64_t integerSquareRoot(std::int64_t n) {
  auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
  while (r > 0 && static_cast<Int128>(r) * r > n) --r;
  while (static_cast<Int128>(r + 1) * (r + 1) <= n) ++r;
  return r;
}

// The magnitude of n, as unsigned so that Int.min has one.
std::uint64_t magnitude(std::int64_t n) {
  return n < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
}

}  // namespace

Range countableRange(std::int64_t n) {
  KP_PRECONDITION(n >= 0, "countableRange: the value must not be negative");
  return Range(0, n);
}

std::uint64_t uInt(std::int64_t n) {
  KP_PRECONDITION(n >= 0, "uInt: a negative value is not representable as an unsigned integer");
  return static_cast<std::uint64_t>(n);
}

bool isPrime(std::int64_t n) {
  if (n == 2) return true;
  if (n < 2 || n % 2 == 0) return false;
  const std::int64_t root = integerSquareRoot(n);
  for (std::int64_t divisor = 3; divisor <= root; divisor += 2) {
    if (n % divisor == 0) return false;
  }
  return true;
}

std::optional<std::string> romanNumeral(std::int64_t n) {
  if (n < 1) return std::nullopt;
  static constexpr std::pair<std::int64_t, std::string_view> kNumerals[] = {
      {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
      {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"},
  };
  // One "M" per thousand; the rest spells at most 12 letters ("DCCCLXXXVIII").
  const auto thousands = static_cast<std::uint64_t>(n / 1000);
  std::string out;
  if (thousands > out.max_size() - 12) return std::nullopt;
  try {
    out.reserve(static_cast<std::size_t>(thousands) + 12);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  out.append(static_cast<std::size_t>(thousands), 'M');
  std::int64_t rest = n % 1000;
  for (const auto& [value, symbol] : std::span(kNumerals).subspan(1)) {
    for (; rest >= value; rest -= value) out.append(symbol);
  }
  return out;
}

std::string kFormatted(std::int64_t n) {
  const std::uint64_t a = magnitude(n);
  if (a < 1000) return "0k";
  std::string out = n < 0 ? "-" : "";
  if (a < 1'000'000) {
    out += std::to_string(a / 1000);
    out += 'k';
  } else {
    out += std::to_string(a / 1'000'000);
    out += "kk";
  }
  return out;
}

namespace {

// r with 0 <= r < span from the platform's source; stops the process when the span
// is negative or needs more than 32 bits.
std::int64_t drawBelow(Int128 span, const char* what) {
  KP_PRECONDITION(span >= 0 && span <= 0xFFFFFFFF, what);
  return static_cast<std::int64_t>(ios::arc4random_uniform(static_cast<std::uint32_t>(span)));
}

}  // namespace

std::int64_t randomIntBetween(std::int64_t min, std::int64_t max) {
  const Int128 span = static_cast<Int128>(max) - min + 1;
  return min + drawBelow(span, "random: the span from min to max does not fit in 32 bits");
}

std::int64_t randomInt(ClosedRange range) {
  const Int128 span = static_cast<Int128>(range.upperBound) - range.lowerBound + 1;
  return range.lowerBound + drawBelow(span, "random: the range does not fit in 32 bits");
}

std::int64_t randomInt(Range range) {
  const Int128 span = static_cast<Int128>(range.upperBound) - range.lowerBound;
  return range.lowerBound + drawBelow(span, "random: the range does not fit in 32 bits");
}

std::int64_t randomBetween(std::int64_t n, std::int64_t other) {
  const std::int64_t lo = n < other ? n : other;
  const std::int64_t hi = n < other ? other : n;
  const Int128 span = static_cast<Int128>(hi) - lo + 1;
  return lo + drawBelow(span, "randomBetween: the span does not fit in 32 bits");
}

}  // namespace kp
