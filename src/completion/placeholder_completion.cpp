// Replaced by the code preset and definition file readers.
namespace zev {
int CompletionLibraryAnchor() { return 0; }
} // namespace zev
