#include "core/app/program_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/app/user_dirs.h"
#include "core/platform/file_system.h"
#include "core/platform/paths.h"

#ifndef RESTASH_DATA_DIR
#define RESTASH_DATA_DIR ""
#endif

namespace restash {
namespace {

std::string AbsoluteFolder(const std::string& dir) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(dir, ec);
    return WithTrailingSeparator(ec ? dir : absolute.string());
}

// The folder of the running executable, ending in "/"; empty when unknown.
std::string ExecutableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "";
    return DirPart(exe.string());
}

}  // namespace

std::string FindProgramDir(const std::optional<std::string>& explicitDir) {
    return ResolveProgramDir(explicitDir, ExecutableFolder());
}

std::string ResolveProgramDir(const std::optional<std::string>& explicitDir, const std::string& exeFolder) {
    if (explicitDir && !explicitDir->empty()) return AbsoluteFolder(*explicitDir);
    if (const char* home = std::getenv("RESTASH_HOME"); home != nullptr && home[0] != '\0')
        return AbsoluteFolder(home);
    // A portable copy (or the build tree) keeps its settings beside the program.
    if (!exeFolder.empty() && ::access(exeFolder.c_str(), W_OK) == 0) return WithTrailingSeparator(exeFolder);
    return ConfigHome() + "/restash/";
}

void EnsureProgramDir(const std::string& programDir, FileSystem& fs) { fs.CreateDirectories(programDir); }

std::string FindSupportFile(const std::string& programDir, const std::string& name) {
    const std::string folders[] = {WithTrailingSeparator(programDir), ExecutableFolder(),
                                   WithTrailingSeparator(RESTASH_DATA_DIR)};
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        if (IsFile(folder + name)) return folder + name;
    }
    return "";
}

}  // namespace restash
