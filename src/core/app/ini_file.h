#pragma once
// The settings file: INI text with [section] lines and key=value lines.
// Sections and keys are found without regard to ASCII letter case. Nothing is
// cached: every read opens the file afresh and every write rewrites it, so an
// edit made by hand is seen by the next read.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/platform/file_system.h"

namespace restash {

class IniFile {
public:
    explicit IniFile(std::string path, FileSystem& fs = RealFileSystem());

    const std::string& Path() const { return path_; }

    // A value is read as at most this many characters.
    static constexpr std::size_t kMaxValueLength = 1023;

    // The value of key in section; defaultValue only when the key is absent
    // (a key present with an empty value reads as empty). A missing or
    // unreadable file reads as empty.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // "0x"/"0X" followed by hexadecimal digits (when longer than two
    // characters), else a decimal number with an optional sign; defaultValue
    // when missing or not a 32-bit number.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    // An integer whose default is 1 for true and 0 for false; non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Replaces the key's value where it stands, or adds the key (and its
    // section) when absent; every other line stays byte for byte. The folder
    // is created when missing. The new file replaces the old one only when it
    // has been written completely. Throws Error "Unable to write to <path>".
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    std::string path_;
    FileSystem* fs_;
};

// A decimal whole number with an optional sign that fits 32 bits; false
// for anything else (blanks, fractions, an empty text).
bool ParseDecimalInteger(std::string_view text, std::int32_t& value);

// The integer rules of the settings file on one text; false when it does not parse.
bool ParseIniInteger(std::string_view text, std::int32_t& value);

// The text of the file with key in section set to value (the edit WriteString makes).
std::string WithIniValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace restash
