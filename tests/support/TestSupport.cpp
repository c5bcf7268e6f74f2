// Anchors the test-support library, so that it exists even when no other helper has a
// source file of its own.
namespace kp_test {
void testSupportAnchor() {}
}  // namespace kp_test
