#pragma once
// The TSP engine that ships with Tamvel (tamvel-tsp, in the running program's own folder)
// and its place in a prefix: a link at the path where start-up looks for TSP, put there once
// per prefix and never over a file that is already there, so a student's own TSP stays.

#include <filesystem>
#include <string_view>

namespace tamvel {

class DriveMap;

/// The path where start-up looks for TSP, which receives the engine's link.
inline constexpr std::string_view kBundledEnginePlace = "C:\\Program Files (x86)\\TSP 5.1\\tsp.exe";
/// The file in a prefix's folder that records that the engine has been offered there.
inline constexpr std::string_view kBundledEngineMarker = ".tsp-engine-offered";

/// tamvel-tsp in the running program's folder (the build folder, or bin/ after
/// cmake --install), found from /proc/self/exe; empty when it is not there.
std::filesystem::path BundledEngine();

/// Once per prefix (until its marker is removed): links BundledEngine() at
/// kBundledEnginePlace unless any entry is there already (in any case of its names, as
/// lookups find it) or there is no engine, then writes the marker. Nothing is recorded when
/// drive C cannot be resolved or the link cannot be made, so the next start tries again.
/// With the marker there, it costs one look at the prefix's folder.
void OfferBundledEngine(const DriveMap& drives);

}  // namespace tamvel
