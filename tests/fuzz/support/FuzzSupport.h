// Shared pieces of the libFuzzer harnesses: a pinned process setting, invariant checks
// that stop the run like a crash, and a scratch folder for harnesses that read files.
//
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
//     kp_fuzz::setUp();
//     const std::string text = kp_fuzz::text(data, size);
//     KP_FUZZ_CHECK(ios::isValidUTF8(result), "result is not UTF-8");
//     return 0;
//   }
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "platform/foundation/PropertyList.h"

namespace kp_fuzz {

// Pins the time zone ("Asia/Shanghai"), the locale ("en_US") and the home folder (a fresh
// folder under the temporary folder, removed at exit). Only the first call does anything.
void setUp();

// The process's scratch home folder (setUp() makes it).
[[nodiscard]] const std::string& homeFolder();

// Writes `bytes` to `name` inside the scratch home folder and returns its full path.
std::string writeScratchFile(std::string_view name, std::string_view bytes);

// The input as text, byte for byte (it may hold invalid UTF-8 and NUL bytes).
[[nodiscard]] inline std::string text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// Whether `text` is well-formed UTF-8.
[[nodiscard]] bool isUTF8(std::string_view text);

// A double from eight input bytes taken as its bit pattern, so that NaN, the
// infinities, subnormals and huge values all come up; 0 when the input is used up.
[[nodiscard]] double doubleFromBits(std::uint64_t bits);

// A property-list value of any kind drawn from the input: null, booleans, integers,
// doubles and dates of any bit pattern, text and bytes of any content, and arrays and
// dictionaries nested below `depth` 3.
[[nodiscard]] ios::PropertyList propertyList(FuzzedDataProvider& in, int depth = 0);

// Whether `value` holds a date (at any depth) outside the years a description spells.
[[nodiscard]] bool holdsFarDate(const ios::PropertyList& value);

// Whether inputs that reach `fault` are to be left out: true when the environment
// variable KP_FUZZ_SKIP, a comma-separated list of fault names, holds it. For discovery
// runs while a fault is open elsewhere, so that it does not hide the others; the names
// are those the harnesses pass here.
[[nodiscard]] bool skipping(std::string_view fault);

// Prints "invariant failed: <what>" with the location and aborts, so that libFuzzer keeps
// the input as a crash.
[[noreturn]] void invariantFailed(const char* what, const char* file, int line);

}  // namespace kp_fuzz

// KP_FUZZ_CHECK(cond, what): stops the run as a crash when `cond` is false.
#define KP_FUZZ_CHECK(cond, what)                                    \
  do {                                                               \
    if (!(cond)) ::kp_fuzz::invariantFailed(what, __FILE__, __LINE__); \
  } while (false)
