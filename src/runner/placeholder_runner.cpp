// Replaced by the test runner.
namespace zev {
int RunnerLibraryAnchor() { return 0; }
} // namespace zev
