// Placeholder so the core library has a source until its first area lands.
namespace zems {
int CoreBuildMarker() { return 1; }
}  // namespace zems
