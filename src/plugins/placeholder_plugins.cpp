// Replaced by the plug-in host.
namespace zev {
int PluginsLibraryAnchor() { return 0; }
} // namespace zev
