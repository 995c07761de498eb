#include "core/selection/url_pattern.h"

#include <optional>

namespace restash {
namespace {

// Matches c against the set that starts at pattern[at] (just after "["):
// whether it is in it, and the position after the closing "]"; nothing when
// the set is not closed (the "[" then stands for itself).
std::optional<std::pair<bool, std::size_t>> MatchSet(std::string_view pattern, std::size_t at, unsigned char c) {
    bool negate = false;
    if (at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^')) {
        negate = true;
        ++at;
    }
    bool found = false;
    bool first = true;
    while (at < pattern.size() && (first || pattern[at] != ']')) {
        first = false;
        unsigned char low = static_cast<unsigned char>(pattern[at]);
        if (low == '\\' && at + 1 < pattern.size()) low = static_cast<unsigned char>(pattern[++at]);
        unsigned char high = low;
        if (at + 2 < pattern.size() && pattern[at + 1] == '-' && pattern[at + 2] != ']') {
            high = static_cast<unsigned char>(pattern[at + 2]);
            at += 2;
        }
        if (low <= c && c <= high) found = true;
        ++at;
    }
    if (at >= pattern.size()) return std::nullopt;
    return std::make_pair(found != negate, at + 1);
}

}  // namespace

bool GlobMatch(std::string_view pattern, std::string_view text) {
    std::size_t p = 0, t = 0;
    // Where to go on after the last "*" when a later part fails to match.
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        const auto c = static_cast<unsigned char>(text[t]);
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            if (pattern[p] == '?') {
                ++p, ++t;
                continue;
            }
            if (pattern[p] == '[') {
                if (const auto set = MatchSet(pattern, p + 1, c)) {
                    if (set->first) {
                        p = set->second, ++t;
                        continue;
                    }
                } else if (c == '[') {
                    ++p, ++t;
                    continue;
                }
            } else {
                const bool escaped = pattern[p] == '\\' && p + 1 < pattern.size();
                if (static_cast<unsigned char>(pattern[p + (escaped ? 1 : 0)]) == c) {
                    p += escaped ? 2 : 1, ++t;
                    continue;
                }
            }
        }
        if (starP == std::string_view::npos) return false;
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool MatchesAnyPattern(std::string_view url, const std::vector<std::string>& patterns) {
    if (patterns.empty()) return true;
    for (const std::string& pattern : patterns)
        if (GlobMatch(pattern, url)) return true;
    return false;
}

}  // namespace restash
