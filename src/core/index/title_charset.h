#pragma once
// How a generated page writes the titles it lists (UTF-8 texts): in
// windows-1252, which browsers read a page that declares nothing in, when
// every one of them fits it, so those pages stay as they always were;
// otherwise in UTF-8, which the page then declares in a META tag before its
// first line.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace restash {

class TitleCharset {
public:
    // texts: every UTF-8 text the page will show (its titles).
    explicit TitleCharset(const std::vector<std::string_view>& texts);

    // Whether the page is written in UTF-8, declared by kDeclaration.
    bool Declared() const { return utf8_; }
    static constexpr const char* kDeclaration =
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">";

    // A UTF-8 text in the page's charset.
    std::string Text(std::string_view utf8) const;
    // The same when it has at most limit characters, else its first keep
    // characters followed by "...".
    std::string Shown(std::string_view utf8, std::size_t limit, std::size_t keep) const;
    // An address as the cache holds it (single bytes, read as Latin-1).
    std::string Address(std::string_view latin1) const;

private:
    bool utf8_ = false;
};

}  // namespace restash
