#pragma once
// Splitting paths. The directory part of a path is everything up to and
// including its last separator, the file part everything after it. On Linux
// the separator is "/"; the Windows form ("\" and ":", as settings files
// copied from an old machine hold them) stays available and testable.
#include <string>
#include <string_view>

namespace restash {

enum class PathStyle { Posix, Windows };

// The separators of a style: "/" for Posix, "\" and ":" for Windows.
bool IsSeparator(char c, PathStyle style = PathStyle::Posix);
std::string DirPart(std::string_view path, PathStyle style = PathStyle::Posix);
std::string FilePart(std::string_view path, PathStyle style = PathStyle::Posix);

// True when path names a regular file (after following links).
bool IsFile(const std::string& path);
// True when path names a folder (after following links).
bool IsDirectory(const std::string& path);

// The separator a folder path ends with on this platform.
inline constexpr char kSeparator = '/';

// A path made absolute against the current folder and without "." and ".."
// steps; the path as it is when that fails. Empty stays empty.
std::string AbsolutePath(const std::string& path);

// path itself when it exists; otherwise the one existing path that differs
// from it only in the letter case of its names (a FAT volume mounted on
// Linux shows "FAT.DB" as "fat.db"), found name by name from the first that
// is missing; otherwise path itself. Where several names match, the first in
// byte order is taken.
std::string ExistingPathIgnoringCase(const std::string& path);
// The real path of path: absolute, every symbolic link followed in the part
// that exists, no "." or ".." steps; the part that does not exist yet is
// appended as it is. No trailing "/" (except for "/" itself). Empty stays
// empty.
std::string RealPath(const std::string& path);

// True when path is folder or lies below it, comparing whole names (both
// taken as they are: pass real paths).
bool IsWithin(const std::string& path, const std::string& folder);

// path with a trailing "/" added when it is not empty and has none.
std::string WithTrailingSeparator(std::string_view path);

}  // namespace restash
