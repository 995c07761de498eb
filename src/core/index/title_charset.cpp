#include "core/index/title_charset.h"

#include "core/web/charset.h"

namespace restash {

TitleCharset::TitleCharset(const std::vector<std::string_view>& texts) {
    for (const std::string_view text : texts)
        if (!Utf8ToWindows1252(text)) utf8_ = true;
}

std::string TitleCharset::Text(std::string_view utf8) const {
    if (utf8_) return std::string(utf8);
    return Utf8ToWindows1252(utf8).value_or(std::string(utf8));
}

std::string TitleCharset::Shown(std::string_view utf8, std::size_t limit, std::size_t keep) const {
    const std::u32string characters = Utf8Characters(utf8);
    if (characters.size() <= limit) return Text(utf8);
    std::string kept;
    for (std::size_t i = 0; i < keep; ++i) AppendUtf8(kept, characters[i]);
    return Text(kept) + "...";
}

std::string TitleCharset::Address(std::string_view latin1) const {
    return utf8_ ? Latin1ToUtf8(latin1) : std::string(latin1);
}

}  // namespace restash
