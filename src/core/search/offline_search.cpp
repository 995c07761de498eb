#include "core/search/offline_search.h"

#include <cerrno>
#include <fstream>
#include <sys/stat.h>

#include "core/index/index_text.h"
#include "core/index/title_charset.h"
#include "core/offline/offline_names.h"
#include "core/offline/page_list.h"
#include "core/platform/error.h"
#include "core/platform/text.h"
#include "core/search/page_scan.h"
#include "core/web/charset.h"

namespace restash {
namespace {

// A name from the page list is used only when it stays inside the offline
// root: relative, without a ".." component.
bool StaysInside(std::string_view name) {
    if (name.empty() || name.front() == '/') return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = name.find('/', start);
        const std::string_view part = name.substr(start, end == std::string_view::npos ? name.npos : end - start);
        if (part == "..") return false;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return true;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The charset of the results page: it may list any page, so every listed
// title counts, and the search word it shows.
TitleCharset ResultsCharset(const std::string& offlineDir, const std::string& word) {
    PageListReader list(offlineDir + kPageList);
    std::vector<std::string> titles{word};
    CopiedFile record;
    while (list.Next(record)) titles.push_back(std::move(record.title));
    return TitleCharset(std::vector<std::string_view>(titles.begin(), titles.end()));
}

}  // namespace

SearchResult SearchOfflinePages(const std::string& offlineDir, std::string_view text, SearchServices services) {
    SearchResult result;
    result.searchText = ToUpperAscii(text);
    if (result.searchText.size() < 2) return result;
    // Typed text is UTF-8; text that is not is taken as Latin-1.
    SearchWord word(IsValidUtf8(text) ? std::string(text) : Latin1ToUtf8(text));

    const TitleCharset shown = ResultsCharset(offlineDir, word.Utf8());
    PageListReader list(offlineDir + kPageList);
    bool cancelled = false;
    ReplaceFile(services.fs, offlineDir + kResultsPage, [&](OutputFile& out) {
        if (shown.Declared()) Line(out, TitleCharset::kDeclaration);
        Line(out, "<HTML><TITLE>Restash - Search Results</TITLE>");
        Line(out, "<BASE TARGET=_top><BODY BGCOLOR=#C0C0C0>");
        Line(out, "<CENTER><TABLE BORDER=1 CELLPADDING=2>");
        // The search words are the user's text, not markup.
        Line(out, "<TR><TH><FONT SIZE=4>Search Results for <I>'" + HtmlText(shown.Text(word.Utf8())) +
                      "'</I></FONT></TH></TR>");
        CopiedFile record;
        while (!cancelled && list.Next(record)) {
            ++result.pagesRead;
            const std::string page = offlineDir + record.path;
            if (!StaysInside(record.path) || !IsRegularFile(page)) continue;
            // The user's answer is heard once per page; the page at hand is
            // still searched and listed.
            if (!services.progress.ProcessMessages()) cancelled = true;
            if (PageContains(page, word)) {
                ++result.pagesFound;
                Line(out, "<TR><TD><A HREF=" + record.path + "><FONT SIZE=4>" + shown.Shown(record.title, 50, 47) +
                              "</FONT></A>");
                const std::string url = shown.Address(record.url);
                Line(out, "<BR><A HREF=" + url + "><FONT SIZE=0>" + url + "</FONT></TD></TR>");
                result.hits.push_back(record);
            }
            if (services.counts) services.counts(result.pagesRead, result.pagesFound);
        }
        if (result.pagesFound == 0) Line(out, "<TR><TD>Not Found</TD><TR>");
        if (cancelled) Line(out, "<TR><TD>Search Aborted</TD><TR>");
        Line(out, "</TABLE></CENTER></BODY></HTML>");
    });

    result.searched = true;
    if (cancelled) {
        result.ending = Ending::Stopped;
        return result;
    }
    if (result.pagesFound > 0)
        services.messages.Information(
            "Use the 'View Offline Index' button\rto display the Restash index, and\r'Search Page' to view the results.");
    else
        services.messages.Information(result.searchText + " was not found.");
    return result;
}

std::uint64_t CountListedPages(const std::string& offlineDir) {
    const std::string path = offlineDir + kPageList;
    std::ifstream in(path, std::ios::binary);
    if (!in) ThrowErrno(path, errno ? errno : ENOENT);
    std::uint64_t lines = 0;
    std::string line;
    while (std::getline(in, line)) ++lines;
    if (in.bad()) ThrowErrno(path, EIO);
    return lines / 3;
}

}  // namespace restash
