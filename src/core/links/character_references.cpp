#include "core/links/character_references.h"

#include "core/web/latin1_entity_names.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace restash {
namespace {


// The longest reference body between "&" and ";" worth looking at: "#x000000FF".
constexpr std::size_t kLongestBody = 10;

bool IsPrintableByte(unsigned value) {
    return (value >= 32 && value <= 126) || (value >= 160 && value <= 255);
}

// What a kept address writes as a reference: what would end or break an
// attribute value, and "&" itself.
constexpr std::array<std::pair<char, std::string_view>, 6> kWrittenAsReference{
    {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&#39;"}, {' ', "&#32;"}}};

// The byte "&#N;" or "&#xH;" stands for (digits without the "#"), or -1.
int NumericByte(std::string_view digits) {
    int base = 10;
    if (!digits.empty() && (digits.front() == 'x' || digits.front() == 'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    unsigned value = 0;
    const char* end = digits.data() + digits.size();
    const auto [next, error] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || error != std::errc() || next != end || !IsPrintableByte(value)) return -1;
    return static_cast<int>(value);
}

// The byte a reference body stands for, or -1 when it is none we decode.
int ReferencedByte(std::string_view body) {
    if (body.empty()) return -1;
    if (body.size() > 1 && body.front() == '#') return NumericByte(body.substr(1));
    if (body == "amp") return '&';
    if (body == "lt") return '<';
    if (body == "gt") return '>';
    if (body == "quot") return '"';
    for (std::size_t i = 0; i < kLatin1EntityNames.size(); ++i)
        if (kLatin1EntityNames[i] == body) return static_cast<int>(160 + i);
    return -1;
}

}  // namespace

DecodedValue DecodeCharacterReferences(std::string_view value) {
    DecodedValue decoded;
    decoded.text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '&') {
            const std::size_t semicolon = value.substr(i + 1, kLongestBody + 1).find(';');
            if (semicolon != std::string_view::npos) {
                const int byte = ReferencedByte(value.substr(i + 1, semicolon));
                if (byte >= 0) {
                    decoded.text += static_cast<char>(byte);
                    decoded.hadReferences = true;
                    i += semicolon + 1;
                    continue;
                }
            }
        }
        decoded.text += value[i];
    }
    return decoded;
}

std::string WithCharacterReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto* written = std::find_if(kWrittenAsReference.begin(), kWrittenAsReference.end(),
                                           [c](const auto& pair) { return pair.first == c; });
        if (written != kWrittenAsReference.end())
            out += written->second;
        else
            out += c;
    }
    return out;
}

}  // namespace restash
