#include "core/links/convert_tag.h"

#include <algorithm>
#include <array>

#include "core/links/character_references.h"
#include "core/links/resolve_link.h"
#include "core/links/rewrite_link.h"
#include "core/links/tag_scanner.h"

namespace restash {
namespace {

template <std::size_t N>
bool OneOf(const std::string& word, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), word) != names.end();
}

constexpr std::array<std::string_view, 8> kLinkTags{"A",    "IMG",   "BODY",  "INPUT",
                                                    "BASE", "FRAME", "AREA", "APPLET"};
constexpr std::array<std::string_view, 5> kLinkAttributes{"HREF", "SRC", "LOWSRC", "BACKGROUND", "CODE"};

}  // namespace

std::string ConvertTag(std::string_view tag, std::string& baseURL, LinkContext& context, TagFlags& flags) {
    std::size_t position = 0;
    const std::string name = NextWord(tag, position);
    std::string text(tag);
    if (!OneOf(name, kLinkTags)) return text;
    if (name == "APPLET") flags.appletTag = true;

    while (position < text.size()) {
        const std::string word = NextWord(text, position);
        if (!OneOf(word, kLinkAttributes)) continue;
        const std::string written = NextValue(text, position);
        const std::size_t start = position - written.size();  // 1-based index of the value
        // Addresses are resolved and looked up as the browser asked for them.
        const DecodedValue value = DecodeCharacterReferences(written);

        if (name == "BASE" && word == "HREF") {
            BaseFromHref(value.text, baseURL);
            return "!>";
        }
        std::string newValue;
        if (word == "HREF" || word == "CODE")
            newValue = RewriteHyperlink(value.text, baseURL, context, flags);
        else if (word == "SRC" || word == "LOWSRC")
            newValue = RewriteSource(value.text, baseURL, context);
        else
            newValue = RewriteBackground(value.text, baseURL, context);
        if (newValue.empty())
            newValue = written;
        else if (value.hadReferences)
            newValue = WithCharacterReferences(newValue);  // a kept address written as the page wrote its own

        // Quotes around the value stay where they were.
        text = text.substr(0, start - 1) + newValue + text.substr(std::min(position - 1, text.size()));
        position = start + newValue.size();
    }
    return text;
}

}  // namespace restash
