#pragma once
// A page's title for the archive's page list, found as the offline copy's
// page pass finds it (the first TITLE tag outside a comment, its text up to
// the next "<"), then made the text a browser shows for it: the bytes read
// in the page's character set (UTF-8 when the cache says so and the bytes
// are valid UTF-8, otherwise windows-1252, which browsers read Latin-1 pages
// as), character references decoded, white space collapsed, control
// characters dropped. The result is UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace restash {

// Fed a page in pieces, keeps the raw title text.
class TitleFinder {
public:
    void Feed(std::string_view piece);
    // The title's raw bytes; empty when the page has none (yet).
    const std::string& Raw() const { return title_; }

private:
    enum class State { Text, Tag, Comment, Title, Done };
    State state_ = State::Text;
    std::string tag_;    // the start of the tag being read
    char last_[4] = {};  // the last bytes of a comment
    std::string title_;
};

// The text a browser shows for raw title bytes of a page in charset (the
// cache's character set name; empty when it gives none).
std::string TitleText(std::string_view raw, std::string_view charset);

}  // namespace restash
