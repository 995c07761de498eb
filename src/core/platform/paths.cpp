#include "core/platform/paths.h"

#include <filesystem>

namespace restash {

bool IsSeparator(char c, PathStyle style) {
    if (style == PathStyle::Windows) return c == '\\' || c == ':';
    return c == '/';
}

static std::size_t SplitPoint(std::string_view path, PathStyle style) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1], style)) return i;
    return 0;
}

std::string DirPart(std::string_view path, PathStyle style) {
    return std::string(path.substr(0, SplitPoint(path, style)));
}

std::string FilePart(std::string_view path, PathStyle style) {
    return std::string(path.substr(SplitPoint(path, style)));
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

std::string RealPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    std::filesystem::path real = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    if (ec) real = std::filesystem::path(AbsolutePath(path));
    std::string out = real.lexically_normal().string();
    while (out.size() > 1 && out.back() == kSeparator) out.pop_back();
    return out;
}

bool IsWithin(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() < folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
    return path.size() == folder.size() || folder.back() == kSeparator || path[folder.size()] == kSeparator;
}

std::string WithTrailingSeparator(std::string_view path) {
    std::string out(path);
    if (!out.empty() && out.back() != kSeparator) out += kSeparator;
    return out;
}

}  // namespace restash
