#pragma once
// The exit status of restash-cli.

namespace restash::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitStopped = 130;  // Ctrl-C, as shells report an interrupt

}  // namespace restash::cli
