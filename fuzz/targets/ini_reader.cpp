// The settings file reader over any file: reads of a few keys, then the edit
// a write makes, which must read back as the value written while every other
// key keeps its value.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/app/ini_file.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    fuzz::FuzzInput input(data, size);
    const std::string path = fuzz::ScratchFile("RESTASH.INI");
    fuzz::WriteScratch(path, input.Rest());

    const IniFile ini(path);
    const std::string before = ini.ReadString("Restash", "OfflineDir", "<none>");
    FUZZ_CHECK(before.size() <= IniFile::kMaxValueLength || before == "<none>");
    ini.ReadInteger("Restash", "Days", 7);
    ini.ReadBool("Preferences", "EmphTag", true);
    const std::string other = ini.ReadString("Preferences", "Tag", "<none>");

    fuzz::WriteScratch(path, WithIniValue(input.Rest(), "Restash", "CacheDir", "C:\\NETSCAPE\\CACHE\\"));
    FUZZ_CHECK(ini.ReadString("Restash", "CacheDir", "<none>") == "C:\\NETSCAPE\\CACHE\\");
    FUZZ_CHECK(ini.ReadString("Preferences", "Tag", "<none>") == other);
    return 0;
}
