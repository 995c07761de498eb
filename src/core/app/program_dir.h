#pragma once
// ProgramDir: the program's home folder, where RESTASH.INI, TEMP.FAT and
// TEMP.HST live.
#include <optional>
#include <string>

#include "core/platform/file_system.h"

namespace restash {

// In this order: explicit (the CLI's --program-dir) when given; the
// environment variable RESTASH_HOME; the folder of the running executable
// when it is writable; otherwise $XDG_CONFIG_HOME/restash/ (default
// ~/.config/restash/). The result ends in "/". The folder is not created.
std::string FindProgramDir(const std::optional<std::string>& explicitDir = std::nullopt);

// The same choice with the executable's folder given (tests name one that
// is or is not writable).
std::string ResolveProgramDir(const std::optional<std::string>& explicitDir, const std::string& exeFolder);

// Creates ProgramDir when it does not exist yet (before the first write).
void EnsureProgramDir(const std::string& programDir, FileSystem& fs = RealFileSystem());

// Where a support file (an image, the help page) is: ProgramDir first, then
// the folder of the executable, then the installed data folder. Empty when
// it is nowhere.
std::string FindSupportFile(const std::string& programDir, const std::string& name);

}  // namespace restash
