// Replaced by the script engine.
namespace zev::script {
int EngineLibraryAnchor() { return 0; }
} // namespace zev::script
