#include "core/links/page_pass.h"

#include "core/links/convert_tag.h"
#include "core/platform/text.h"

namespace restash {
namespace {

// The raw title is held with the capacity the page list gives it.
constexpr std::size_t kTitleCapacity = 255;
// Tags of this length or shorter cannot hold a link and are not converted.
constexpr std::size_t kShortTag = 8;

using Traits = std::char_traits<char>;

// Collects output bytes and hands them to the file in blocks, so a page is
// written without a call per character.
class PageWriter {
public:
    explicit PageWriter(OutputFile& out) : out_(out) { pending_.reserve(kBlock); }
    void Put(char c) {
        pending_ += c;
        if (pending_.size() >= kBlock) Drain();
    }
    void Put(std::string_view s) {
        if (pending_.size() + s.size() >= kBlock) {
            Drain();
            if (s.size() >= kBlock) {
                out_.Write(s);
                return;
            }
        }
        pending_ += s;
    }
    void Drain() {
        if (pending_.empty()) return;
        out_.Write(pending_);
        pending_.clear();
    }

private:
    static constexpr std::size_t kBlock = 4096;
    OutputFile& out_;
    std::string pending_;
};

// A comment is copied until the last characters written are "-->" or "-- >"
// (the "<!--" already written counts), or the page ends.
void CopyComment(std::streambuf& in, PageWriter& writer) {
    char last[4] = {'<', '!', '-', '-'};
    for (int c = in.sbumpc(); c != Traits::eof(); c = in.sbumpc()) {
        const char ch = Traits::to_char_type(c);
        writer.Put(ch);
        last[0] = last[1];
        last[1] = last[2];
        last[2] = last[3];
        last[3] = ch;
        if ((last[1] == '-' && last[2] == '-' && last[3] == '>') ||
            (last[0] == '-' && last[1] == '-' && last[2] == ' ' && last[3] == '>'))
            return;
    }
}

}  // namespace

std::string PassPage(std::istream& page, OutputFile& out, std::string baseURL, std::string_view pageURL,
                     LinkContext& context, const Emphasis& emphasis) {
    std::streambuf& in = *page.rdbuf();
    PageWriter writer(out);
    std::string title;
    std::string tag;

    for (int c = in.sbumpc(); c != Traits::eof(); c = in.sbumpc()) {
        if (c != '<') {
            writer.Put(Traits::to_char_type(c));
            continue;
        }
        // The tag text: up to and including the next ">", or to the end.
        tag.clear();
        bool comment = false;
        for (int t = in.sbumpc(); t != Traits::eof(); t = in.sbumpc()) {
            tag += Traits::to_char_type(t);
            if (tag == "!--") {
                comment = true;
                break;
            }
            if (t == '>') break;
        }
        if (comment) {
            writer.Put("<!--");
            CopyComment(in, writer);
            // Every comment is followed by an empty one.
            writer.Put("<!-- -->");
            continue;
        }

        if (title.empty() && StartsWithNoCase(tag, "TITLE")) {
            // The title runs up to and including the next "<"; the rest of
            // the closing tag then follows as ordinary text.
            writer.Put('<');
            writer.Put(tag);
            for (int t = in.sbumpc(); t != Traits::eof(); t = in.sbumpc()) {
                const char ch = Traits::to_char_type(t);
                writer.Put(ch);
                if (title.size() < kTitleCapacity) title += ch;
                if (ch == '<') break;
            }
            continue;
        }

        TagFlags flags;
        if (tag.size() > kShortTag) tag = ConvertTag(tag, baseURL, context, flags);
        const bool emphasise = emphasis.on && flags.linkAvailable && !flags.appletTag;
        if (emphasise) {
            writer.Put('<');
            writer.Put(emphasis.tag);
            writer.Put('>');
        }
        writer.Put('<');
        writer.Put(tag);
        if (emphasise) {
            writer.Put("</");
            writer.Put(emphasis.tag);
            writer.Put('>');
        }
    }
    writer.Drain();
    return ListedTitle(title, pageURL);
}

std::string ConvertPageFile(FileSystem& fs, std::streambuf& page, const std::string& outPath,
                            const std::string& baseURL, std::string_view pageURL, LinkContext& context,
                            const Emphasis& emphasis) {
    std::istream in(&page);
    auto out = fs.Create(outPath);
    std::string title = PassPage(in, *out, baseURL, pageURL, context, emphasis);
    out->Close();
    return title;
}

std::string CleanTitle(std::string_view title) {
    std::string clean;
    clean.reserve(title.size());
    for (const char c : title) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u != '<' && u <= 126) clean += c;
    }
    const std::size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

std::string ListedTitle(std::string_view rawTitle, std::string_view pageURL) {
    std::string title = CleanTitle(rawTitle);
    if (!title.empty()) return title;
    if (pageURL.size() > 30) return "..." + std::string(pageURL.substr(pageURL.size() - 28));
    return std::string(pageURL);
}

}  // namespace restash
