#include "core/links/page_pass.h"

#include "core/links/convert_tag.h"
#include "core/platform/text.h"
#include "core/web/charset.h"

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

// Whether a tag's text (after "<") is the start tag of that name.
bool IsStartTag(std::string_view tag, std::string_view name) {
    if (!StartsWithNoCase(tag, name)) return false;
    if (tag.size() == name.size()) return true;
    const char next = tag[name.size()];
    return next == '>' || next == '/' || next == ' ' || next == '\t' || next == '\r' || next == '\n';
}

// The META tag that declares a page's charset in its copy, when the cache
// gives one from outside the page. It goes right after the HEAD start tag,
// or before the first tag that is not one of those a head may follow (a
// document type, an XML declaration, HTML), so no browser takes the page for
// an older kind of HTML than it is.
class CharsetDeclaration {
public:
    explicit CharsetDeclaration(std::string_view charset) {
        const bool sane = !charset.empty() && charset.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                                                         "0123456789._:+-") == std::string_view::npos;
        if (sane && IsAsciiCompatibleCharset(charset))
            meta_ = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=" + std::string(charset) + "\">";
    }
    // Before the tag (its text after "<") is written.
    void Before(std::string_view tag, PageWriter& writer) {
        if (meta_.empty() || StartsWithNoCase(tag, "!DOCTYPE") || StartsWithNoCase(tag, "?xml") ||
            IsStartTag(tag, "HTML") || IsStartTag(tag, "HEAD"))
            return;
        Write(writer);
    }
    // After it is written.
    void After(std::string_view tag, PageWriter& writer) {
        if (!meta_.empty() && IsStartTag(tag, "HEAD")) Write(writer);
    }

private:
    void Write(PageWriter& writer) {
        writer.Put(meta_);
        meta_.clear();
    }
    std::string meta_;  // empty once written, or when none is due
};

// Copies a TITLE tag (its text after "<") and the title after it: the
// title runs up to and including the next "<"; the rest of the closing tag
// then follows as ordinary text.
void CopyTitle(std::streambuf& in, const std::string& tag, PageWriter& writer, std::string& title) {
    writer.Put('<');
    writer.Put(tag);
    for (int t = in.sbumpc(); t != Traits::eof(); t = in.sbumpc()) {
        const char ch = Traits::to_char_type(t);
        writer.Put(ch);
        if (title.size() < kTitleCapacity) title += ch;
        if (ch == '<') break;
    }
}

// Writes a tag (its text after "<"), inside an emphasis tag when one is given.
void WriteTag(PageWriter& writer, const std::string& tag, const Emphasis* emphasis) {
    if (emphasis) {
        writer.Put('<');
        writer.Put(emphasis->tag);
        writer.Put('>');
    }
    writer.Put('<');
    writer.Put(tag);
    if (emphasis) {
        writer.Put("</");
        writer.Put(emphasis->tag);
        writer.Put('>');
    }
}

}  // namespace

std::string PassPage(std::istream& page, OutputFile& out, std::string baseURL, std::string_view pageURL,
                     LinkContext& context, const Emphasis& emphasis, std::string_view charset) {
    std::streambuf& in = *page.rdbuf();
    PageWriter writer(out);
    CharsetDeclaration declaration(charset);
    std::string title;
    std::string metaCharset;  // the first one the page declares itself
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

        declaration.Before(tag, writer);
        if (title.empty() && StartsWithNoCase(tag, "TITLE")) {
            CopyTitle(in, tag, writer, title);
            continue;
        }

        if (metaCharset.empty()) metaCharset = CharsetOfMetaTag(tag);
        TagFlags flags;
        if (tag.size() > kShortTag) tag = ConvertTag(tag, baseURL, context, flags);
        WriteTag(writer, tag, emphasis.on && flags.linkAvailable && !flags.appletTag ? &emphasis : nullptr);
        declaration.After(tag, writer);
    }
    writer.Drain();
    return ListedTitle(title, pageURL, charset.empty() ? std::string_view(metaCharset) : charset);
}

std::string ConvertPageFile(FileSystem& fs, std::streambuf& page, const std::string& outPath,
                            const std::string& baseURL, std::string_view pageURL, LinkContext& context,
                            const Emphasis& emphasis, std::string_view charset) {
    std::istream in(&page);
    auto out = fs.Create(outPath);
    std::string title = PassPage(in, *out, baseURL, pageURL, context, emphasis, charset);
    out->Close();
    return title;
}

std::string CleanTitle(std::string_view title, std::string_view charset) {
    std::string clean;
    for (const char32_t c : Utf8Characters(ToUtf8(title, charset)))
        if (c >= 32 && c != '<' && (c < 0x7F || c >= 0xA0)) AppendUtf8(clean, c);
    const std::size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

std::string ListedTitle(std::string_view rawTitle, std::string_view pageURL, std::string_view charset) {
    std::string title = CleanTitle(rawTitle, charset);
    if (!title.empty()) return title;
    if (pageURL.size() > 30) return Latin1ToUtf8("..." + std::string(pageURL.substr(pageURL.size() - 28)));
    return Latin1ToUtf8(pageURL);
}

}  // namespace restash
