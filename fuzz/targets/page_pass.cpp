// The page pass over any page: every tag goes through ConvertTag with a run
// that has copied a few files, so links can resolve, be emphasised and be
// written to a history file. The first byte picks the run's options.
// Then the page's first bytes go through the character-reference writer
// and decoder, which must give them back.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/links/page_pass.h"
#include "core/links/character_references.h"
#include "core/offline/copied_files.h"
#include "core/offline/history.h"
#include "core/web/charset.h"
#include "fuzz/targets/fuzz_input.h"

namespace {

class MemoryFile final : public restash::OutputFile {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    void Flush() override {}
    void Close() override {}
    const std::string& Path() const override { return path_; }
    std::string text;

private:
    std::string path_ = "PAGE.HTM";
};

const restash::CopiedFiles& KnownFiles() {
    static const restash::CopiedFiles files = [] {
        restash::CopiedFiles f;
        f.Add("HTTP://www.example.com/", "INDEX.HTM");
        f.Add("HTTP://www.example.com/a/page.html", "PAGE.HTM");
        f.Add("HTTP://www.example.com/a/logo.gif", "MEDIA/LOGO.GIF");
        f.Add("HTTP://other.org/Applet.class", "APPLET.CLA");
        // Addresses a page writes with a Latin-1 letter or "&amp;".
        f.Add("HTTP://www.example.com/a/about.html", "ABOUT.HTM");
        f.Add("HTTP://www.example.com/a/caf\xe9.html", "CAF.HTM");
        f.Add("HTTP://www.example.com/a/search.cgi?q=a&page=2", "SEARCH.HTM");
        return f;
    }();
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    fuzz::FuzzInput input(data, size);
    const std::uint8_t options = input.Byte();

    static HistoryFile history(RealFileSystem(), "/dev/null");
    HistoryPaths historyPaths;
    const bool historyValid = (options & 1) != 0;
    LinkContext context{KnownFiles(),         historyPaths, historyValid,
                        historyValid ? &history : nullptr, "file:///offline/OFFLINE/", "900000000",
                        (options & 2) != 0};
    Emphasis emphasis;
    emphasis.on = (options & 4) != 0;

    std::istringstream page{std::string(input.Rest())};
    MemoryFile out;
    const std::string title =
        PassPage(page, out, "www.example.com/a/", "http://www.example.com/a/page.html", context, emphasis);
    const std::string listed = ListedTitle(title, "http://www.example.com/a/page.html");
    FUZZ_CHECK(!listed.empty());
    // The title is UTF-8 without control characters or "<".
    FUZZ_CHECK(IsValidUtf8(title));
    for (const char32_t c : Utf8Characters(title)) FUZZ_CHECK(c >= 32 && c != '<' && (c < 0x7F || c >= 0xA0));

    // A kept address written with references reads back as it was.
    const std::string_view rest = input.Rest().substr(0, 256);
    FUZZ_CHECK(DecodeCharacterReferences(WithCharacterReferences(rest)).text == rest);
    return 0;
}
