// File: KPQuaslet/concurrency/DispatchQueue+KPExt.h
//
// Run a block once per process for a token.
//
//   kp::once("com.example.setup", [] { ... });          // runs the first time only
//   kp::once(__FILE__, "setUp()", __LINE__, [] { ... });  // token "<file>:setUp():<line>"
//
// Tokens are remembered for the life of the process. Every once-block of the process
// runs under one recursive lock: blocks of different tokens never run at the same time,
// a block may call once() with another token, and a block must not wait for a thread
// that calls once().
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kp {

// once()
//
// Runs `block` on the caller's thread unless `token` was seen before. The token is
// recorded before the block runs, so once() with the same token inside the block does
// nothing. Safe from any thread; an exception thrown by the block passes through and
// the token stays recorded.
void once(const std::string& token, const std::function<void()>& block);

// once(file, function, line, block)
//
// once() with the token file + ":" + function + ":" + line.
void once(std::string_view file, std::string_view function, std::int64_t line, const std::function<void()>& block);

}  // namespace kp
