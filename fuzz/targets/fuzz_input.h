#pragma once
// Shared by the fuzz targets: taking small choices off the front of the
// input, a scratch file for targets that must read from disk, and a check
// that aborts (so the fuzzer keeps the input) when a property fails.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

namespace restash::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // The next byte, or 0 when the input has run out.
    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // Up to n bytes.
    std::string_view Bytes(std::size_t n) {
        const std::string_view taken = rest_.substr(0, n);
        rest_.remove_prefix(taken.size());
        return taken;
    }
    // Everything not taken yet.
    std::string_view Rest() const { return rest_; }

private:
    std::string_view rest_;
};

// A file of this process's own under the temporary folder, made once.
inline std::string ScratchFile(const char* name) {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string base = tmp && *tmp ? tmp : "/tmp";
        return base + "/restash-fuzz-" + std::to_string(::getpid()) + "-";
    }();
    return folder + name;
}

inline void WriteScratch(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
    std::abort();
}

}  // namespace restash::fuzz

#define FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) ::restash::fuzz::Fail(#cond, __FILE__, __LINE__); \
    } while (0)
