#include "core/offline/offline_tree.h"

#include <filesystem>

#include "core/platform/text.h"

namespace restash {

namespace fs = std::filesystem;

void DeleteFiles(FileSystem& files, const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError)) continue;
        try {
            files.Remove(it->path().string());
        } catch (...) {
            // A file that cannot be deleted stays; the run goes on.
        }
    }
}

void CreateAndEmpty(FileSystem& files, const std::string& folder) {
    files.CreateDirectories(folder);
    DeleteFiles(files, folder);
}

std::unordered_set<std::string> TakenNames(const std::string& folder) {
    std::unordered_set<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.insert(ToUpperAscii(it->path().filename().string()));
    return names;
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace restash
