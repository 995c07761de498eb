#include "core/index/frameset_index.h"

#include "core/index/created_on.h"
#include "core/index/index_text.h"
#include "core/index/domain_pages.h"
#include "core/offline/offline_names.h"
#include "core/platform/paths.h"

namespace restash {
namespace {

void WriteFrameset(OutputFile& out) {
    Line(out, "<HTML>");
    Line(out, "<TITLE>Restash - Offline Index</TITLE>");
    Line(out, "<FRAMESET ROWS=46,*>");
    Line(out, std::string("<FRAME SRC=") + kButtonsPage + " NAME=BUTTONS MARGINWIDTH=0 MARGINHEIGHT=2 SCROLLING=NO>");
    Line(out, "<FRAMESET COLS=200,*>");
    Line(out, std::string("<FRAME SRC=") + kDomainsPage + " NAME=DOMAINS MARGINWIDTH=0>");
    Line(out, std::string("<FRAME SRC=") + kWelcomePage + " NAME=PAGES MARGINWIDTH=0>");
    Line(out, "</FRAMESET></FRAMESET><NOFRAME>");
    Line(out, "This index requires Netscape 2");
    Line(out, "</NOFRAME></HTML>");
}

void WriteWelcome(OutputFile& out, const IndexInputs& in) {
    Line(out, "<HTML><BODY BGCOLOR=#FFFFFF><BR><CENTER>");
    Line(out, "<A HREF=" + in.homePages.product + " TARGET=_top>");
    Line(out, "<IMG BORDER=0 SRC=" + MediaPath(kTitleImage) + "></A>");
    Line(out, "<H1>Offline Index</H1>");
    Line(out, "<H3><CENTER>" + CreatedOnText(in.clock.Now(), in.timeLocale));
    Line(out, "</CENTER></H3>");
    Line(out, "Add this <STRONG>Restash</STRONG> index to the top of your bookmark ");
    Line(out, "for easy reference.<P>");
    Line(out, "<CENTER><A HREF=" + in.homePages.site + " TARGET=_top>");
    Line(out, "<IMG BORDER=0 SRC=" + MediaPath(kSiteLogoImage) + "></A>");
    Line(out, "</CENTER></BODY></HTML>");
}

void WriteButtons(OutputFile& out, const IndexInputs& in) {
    Line(out, "<HTML><BASE TARGET=_top><BODY BGCOLOR=#C0C0C0><CENTER>");
    Line(out, std::string("<A HREF=") + kIndexPage + "><IMG SRC=" + MediaPath(kIndexButtonImage) + " BORDER=0></A>");
    Line(out, std::string("<A HREF=") + kResultsPage + " TARGET=PAGES><IMG SRC=" + MediaPath(kResultsImage) +
                  " BORDER=0></A>");
    Line(out, "<A HREF=" + in.homePages.product + "><IMG SRC=" + MediaPath(kInfoImage) + " BORDER=0></A>");
    Line(out, "</CENTER></BODY></HTML>");
}

void WriteResultsPlaceholder(OutputFile& out) {
    Line(out, "<HTML><BODY BGCOLOR=#C0C0C0><CENTER><BR><BR><HR>");
    Line(out, "<H2>Use the 'Search' button on the<BR>");
    Line(out, "Restash main screen to<BR>");
    Line(out, "generate a results page.</H2><HR></BODY></HTML>");
}

void WriteDomainList(OutputFile& out, const IndexInputs& in) {
    Line(out, "<HTML><BASE TARGET=PAGES><BODY BGCOLOR=#C0C0C0><CENTER>");
    Line(out, "<TABLE BORDER=0 CELLPADDING=0>");
    // The heading row has no line end: the first domain row continues it.
    out.Write("<TR><TH><FONT SIZE=+3>Domains</FONT></TH></TR>");
    in.progress.ProcessMessages();
    for (std::size_t n = 0; n < in.domains.size(); ++n)
        Line(out, "<TR><TD><A HREF=" + DomainPage(n) + ">" + in.domains[n] + "</A></TD></TR>");
    Line(out, "</TABLE></CENTER></BODY></HTML>");
}

void WriteDomainPage(OutputFile& out, const IndexInputs& in, std::size_t n,
                     const std::vector<const CopiedFile*>& pages, const std::vector<std::string>& media) {
    const std::size_t d = in.domains.size();
    const std::string& domain = in.domains[n];
    const TitleCharset titles = TitlesOf(pages);
    if (titles.Declared()) Line(out, TitleCharset::kDeclaration);
    Line(out, "<HTML><BASE TARGET=_top><BODY BGCOLOR=#C0C0C0>");
    Line(out, "<TABLE BORDER=0 CELLSPACING=0 WIDTH=100%>");
    Line(out, "<TR><TH WIDTH=1%><A HREF=" + DomainPage(PreviousDomain(n, d)) + " TARGET=_self>" +
                  "<IMG BORDER=0 SRC=" + MediaPath(kIndexImage) + "></A></TH><TH><FONT SIZE=5>" + domain +
                  "</A></FONT></TH>");
    Line(out, "<TH WIDTH=1%><A HREF=" + DomainPage(NextDomain(n, d)) + " TARGET=_self>" + "<IMG BORDER=0 SRC=" +
                  MediaPath(kRightImage) + "></A></TH></TR>");
    Line(out, "</TABLE><TABLE BORDER=1 CELLPADDING=2 WIDTH=100%>");
    in.progress.Gauge(static_cast<int>((n + 1) * 100 / d));
    std::uint64_t k = 0;
    for (const CopiedFile* page : pages) {
        // Titles of up to 254 characters are shown whole; one that filled
        // the run's 255 bytes may have been cut, so it ends in "...".
        const std::string url = titles.Address(page->url);
        Line(out, "<TR><TD WIDTH=1%>" + std::to_string(++k) + "</TD><TD><A HREF=" + page->path +
                      "><FONT SIZE=4>" + titles.Shown(page->title, 254, 251) + "</FONT></A><BR><A HREF=" + url +
                      "><FONT SIZE=0>" + url + "</FONT></A></TD></TR>");
        in.progress.ProcessMessages();
    }
    const std::uint64_t images = WriteFrameImageIndex(in, n, media);
    if (images > 0)
        Line(out, "<TH COLSPAN=2><A HREF=" + ImageIndexPage(n) + " TARGET=DOMAINS>Image Index - " +
                      std::to_string(images) + " image(s) uncached.</A></TH></TR>");
    else
        Line(out, "<TR><TH COLSPAN=2>No Images.</TH></TR>");
    Line(out, "</TABLE></BODY></HTML>");
}

}  // namespace

std::uint64_t WriteFrameImageIndex(const IndexInputs& in, std::size_t number,
                                   const std::vector<std::string>& mediaPaths) {
    if (mediaPaths.empty()) return 0;
    ReplaceFile(in.fs, in.offlineDir + ImageIndexPage(number), [&](OutputFile& out) {
        Line(out, "<HTML><BASE TARGET=PAGES><BODY BGCOLOR=#C0C0C0>");
        Line(out, "<CENTER><H2>");
        Line(out, "<TABLE BORDER=0 CELLPADDING=1>");
        Line(out, "<TR><TH><FONT SIZE=+3>Images</FONT></TH></TR>");
        for (const std::string& path : mediaPaths)
            Line(out, "<TR><TD><A HREF=" + path + ">" + FilePart(path) + "</A></TD></TR>");
        Line(out, "</TABLE>");
        out.Write("<A HREF=" + DomainPage(number) + " TARGET=PAGES><IMG BORDER=0 SRC=" + MediaPath(kRightImage) +
                  "></A><BR><FONT SIZE=0>Page Index</FONT></CENTER></BODY></HTML>");
    });
    return mediaPaths.size();
}

void WriteFramesetIndex(const IndexInputs& in) {
    const IndexSources sources = GroupIndexSources(in);
    auto file = [&](const char* name, auto&& write) { ReplaceFile(in.fs, in.offlineDir + name, write); };

    file(kIndexPage, [](OutputFile& out) { WriteFrameset(out); });
    file(kWelcomePage, [&](OutputFile& out) { WriteWelcome(out, in); });
    file(kButtonsPage, [&](OutputFile& out) { WriteButtons(out, in); });
    file(kResultsPage, [](OutputFile& out) { WriteResultsPlaceholder(out); });
    file(kDomainsPage, [&](OutputFile& out) { WriteDomainList(out, in); });

    WriteDomainPages(in, sources, [&](OutputFile& out, std::size_t n, const std::vector<const CopiedFile*>& pages,
                                      const std::vector<std::string>& media) {
        WriteDomainPage(out, in, n, pages, media);
    });
}

}  // namespace restash
