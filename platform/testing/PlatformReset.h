// File: platform/testing/PlatformReset.h
//
// One call that puts every process-wide stand-in back to its initial state.
// Used by ios::testing::PlatformFixture between tests.
#pragma once

namespace ios::testing {

// Resets every process-wide stand-in to its initial state.
void resetPlatform();

}  // namespace ios::testing
