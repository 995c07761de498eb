#include "core/index/page_index.h"

#include "core/index/created_on.h"
#include "core/index/index_text.h"
#include "core/index/domain_pages.h"
#include "core/offline/offline_names.h"
#include "core/platform/paths.h"

namespace restash {
namespace {

void WriteIndexPage(OutputFile& out, const IndexInputs& in) {
    Line(out, "<TITLE>Restash - Offline Index</TITLE>");
    Line(out, "<BODY BGCOLOR=#C0C0C0>");
    Line(out, "<CENTER><A HREF=" + in.homePages.product + ">");
    Line(out, "<IMG BORDER=0 SRC=" + MediaPath(kTitleImage) + "></A>");
    Line(out, "<BR><H1>Offline Index");
    Line(out, "</H1>");
    Line(out, "<H3>" + CreatedOnText(in.clock.Now(), in.timeLocale));
    Line(out, "</H3>");
    Line(out, "While viewing the <STRONG>Restashed</STRONG> pages, available links are ");
    Line(out, std::string("<A HREF=") + kIndexPage + ">emphasised</A>.<P>");
    Line(out, "Add this <STRONG>Restash</STRONG> index to the top of your bookmark ");
    Line(out, "for easy reference.<P>");
    Line(out, std::string("<A HREF=") + kResultsPage + "><IMG SRC=" + MediaPath(kResultsImage) + " BORDER=0></A>");
    Line(out, "<A HREF=" + in.homePages.product + "><IMG SRC=" + MediaPath(kInfoImage) + " BORDER=0></A>");
    Line(out, "<BR><A HREF=" + in.homePages.site + ">");
    Line(out, "<IMG SRC=" + MediaPath(kSiteLogoImage) + "></A>");
    Line(out, "<HR><TABLE BORDER=1 CELLPADDING=3>");
    Line(out, "<TR><TH COLSPAN=2><FONT SIZE=+2>Cached Domains</FONT></TH></TR>");
    in.progress.ProcessMessages();
    for (std::size_t n = 0; n < in.domains.size(); ++n) {
        const std::string shown = std::to_string(n + 1);
        Line(out, "<TR><TD><A NAME=" + shown + ">" + shown + "<TD><A HREF=" + DomainPage(n) + ">" + in.domains[n] +
                      "</A></TD></TR>");
    }
    Line(out, "</TABLE></CENTER></BODY>");
}

void WriteResultsPlaceholder(OutputFile& out) {
    Line(out, "<HTML><TITLE>Restash - Search Page</TITLE>");
    Line(out, "<BODY BGCOLOR=#C0C0C0><CENTER><BR><BR><HR>");
    Line(out, "<H2>Use the 'Search' button on the<BR>");
    Line(out, "Restash main screen to<BR>");
    Line(out, "generate a results page.</H2><HR></BODY></HTML>");
}

void WriteDomainPage(OutputFile& out, const IndexInputs& in, std::size_t n,
                     const std::vector<const CopiedFile*>& pages, const std::vector<std::string>& media) {
    const std::size_t d = in.domains.size();
    const std::string& domain = in.domains[n];
    const TitleCharset titles = TitlesOf(pages);
    if (titles.Declared()) Line(out, TitleCharset::kDeclaration);
    Line(out, "<TITLE>Restash - Index for " + domain + "</TITLE>");
    Line(out, "<BODY BGCOLOR=#C0C0C0>");
    Line(out, "<CENTER><H2>Restash - Offline Index</H2></CENTER>");
    Line(out, "<TABLE BORDER=1 CELLPADDING=3>");
    Line(out, std::string("<TR><TH><A HREF=") + kIndexPage + "#" + std::to_string(n + 1) + "><IMG BORDER=0 SRC=" +
                  MediaPath(kIndexImage) + "></A></TH><TH COLSPAN=2><FONT SIZE=+2>" + domain + "</A></FONT></TH></TR>");
    Line(out, "<TR><TH><A HREF=" + DomainPage(PreviousDomain(n, d)) + "><IMG BORDER=0 SRC=" +
                  MediaPath(kDomainUpImage) + "></A></TH><TH>Restashed Links</TH><TH>Original URL</TH></TR>");
    in.progress.Gauge(static_cast<int>((n + 1) * 100 / d));
    std::uint64_t k = 0;
    for (const CopiedFile* page : pages) {
        Line(out, "<TR><TD>" + std::to_string(++k) + "</TD><TD><A HREF=" + page->path + ">" +
                      titles.Shown(page->title, 40, 37) + "</A></TD><TD><A HREF=" + titles.Address(page->url) +
                      ">" + titles.Address(ShownAddress(page->url)) + "</A></TD></TR>");
        in.progress.ProcessMessages();
    }
    const std::uint64_t images = WriteImageIndex(in, n, domain, media);
    const std::string down = "<TR><TH><A HREF=" + DomainPage(NextDomain(n, d)) + "><IMG BORDER=0 SRC=" +
                             MediaPath(kDomainDownImage) + "></A></TH>";
    if (images > 0)
        Line(out, down + "<TH COLSPAN=2><A HREF=" + ImageIndexPage(n) + ">Image Index - " +
                      std::to_string(images) + " image(s) uncached.</A></TH></TR>");
    else
        Line(out, down + "<TH COLSPAN=2>No Images.</TH></TR>");
    Line(out, "</TABLE></BODY>");
}

}  // namespace

std::uint64_t WriteImageIndex(const IndexInputs& in, std::size_t number, const std::string& domain,
                              const std::vector<std::string>& mediaPaths) {
    if (mediaPaths.empty()) return 0;
    ReplaceFile(in.fs, in.offlineDir + ImageIndexPage(number), [&](OutputFile& out) {
        Line(out, "<TITLE>Image Index for " + domain + "</TITLE>");
        Line(out, "<BODY BGCOLOR=#C0C0C0>");
        Line(out, "<CENTER><H2>Image Index for " + domain + "</H2></CENTER>");
        Line(out, "<TABLE BORDER=1 CELLPADDING=3>");
        // The heading row has no line end: the first media row continues it.
        out.Write("<TR><TH><A HREF=" + DomainPage(number) + "><IMG BORDER=0 SRC=" + MediaPath(kIndexImage) +
                  "></A></TH><TH>Image File</TH></TR>");
        std::uint64_t j = 0;
        for (const std::string& path : mediaPaths)
            Line(out, "<TR><TD>" + std::to_string(++j) + "</TD><Td><A HREF=" + path + ">" + FilePart(path) +
                          "</A></TD></TR>");
        Line(out, "</TABLE></BODY>");
    });
    return mediaPaths.size();
}

void WritePageIndex(const IndexInputs& in) {
    const IndexSources sources = GroupIndexSources(in);

    ReplaceFile(in.fs, in.offlineDir + kIndexPage, [&](OutputFile& out) { WriteIndexPage(out, in); });
    ReplaceFile(in.fs, in.offlineDir + kResultsPage, [](OutputFile& out) { WriteResultsPlaceholder(out); });

    WriteDomainPages(in, sources, [&](OutputFile& out, std::size_t n, const std::vector<const CopiedFile*>& pages,
                                      const std::vector<std::string>& media) {
        WriteDomainPage(out, in, n, pages, media);
    });
}

}  // namespace restash
