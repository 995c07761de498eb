#include "core/app/user_dirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace restash {
namespace {

std::string StripTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The freedesktop rules ignore a relative value of an XDG variable.
std::string XdgDir(const char* variable, const char* fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return StripTrailingSlashes(value);
    return HomeDir() + fallbackUnderHome;
}

}  // namespace

std::string HomeDir() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return StripTrailingSlashes(home);
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return StripTrailingSlashes(found->pw_dir);
    return "";
}

std::string ConfigHome() { return XdgDir("XDG_CONFIG_HOME", "/.config"); }

std::string DataHome() { return XdgDir("XDG_DATA_HOME", "/.local/share"); }

}  // namespace restash
