#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tests/cli/cli_runner.h"

namespace restash::test {
namespace {

TEST(CliUsage, VersionAndHelpExitWithZero) {
    TempDir home;
    CliResult r = RunCli(home, {"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "restash-cli 0.1.0\n");
    r = RunCli(home, {"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* command :
         {"list", "domains", "uncache", "search", "delete", "settings", "--program-dir", "--now", "--quiet"})
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
}

TEST(CliUsage, BadUsageExitsWithTwo) {
    TempDir home;
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"frobnicate"},
                                                                  {"list", "--format", "xml"},
                                                                  {"domains", "--format", "xml"},
                                                                  {"list", "--no-such-option"},
                                                                  {"--now", "yesterday", "settings"}}) {
        const CliResult r = RunCli(home, args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "(none)" : args.front());
        EXPECT_NE(r.err, "");
    }
}

TEST(CliUsage, BadUsageIsNamedInTheCommandLinesWords) {
    TempDir home;
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    for (const Case& c : std::vector<Case>{
             {{"bogus"}, "restash-cli: unknown command 'bogus'; see restash-cli --help\n"},
             {{"--bogus", "list"}, "restash-cli: unknown option '--bogus'; see restash-cli help list\n"},
             {{"list", "--bogus"}, "restash-cli: unknown option '--bogus'; see restash-cli help list\n"},
             {{"help", "bogus"}, "restash-cli: unknown command 'bogus'; see restash-cli --help\n"},
             {{"list", "--format", "json", "--format", "csv"},
              "restash-cli: option --format given more than once; see restash-cli help list\n"},
             {{"list", "--newer", "1d", "--older", "2d"},
              "restash-cli: --newer and --older cannot be used together; see restash-cli help list\n"},
             {{"list", "--since", "1997-02-30"}, "invalid date '1997-02-30'"},
             {{"domains", "--newer", "5h"}, "invalid age '5h'"},
             {{"list", "--domain", "a\u20acb"},
              "restash-cli: the domain 'a\u20acb' holds '\u20ac' (U+20AC), which the cache's single-byte text (Latin-1) "
              "cannot hold\n"},
         }) {
        const CliResult r = RunCli(home, c.args, Utf8Locale());
        EXPECT_EQ(r.status, 2) << c.args[0];
        EXPECT_EQ(r.out, "");
        if (c.err.back() == '\n')
            EXPECT_EQ(r.err, c.err);
        else
            EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

TEST(CliUsage, HelpVersionAndGlobalOptionsAfterTheCommand) {
    TempDir home;
    EXPECT_EQ(RunCli(home, {"-V"}).out, "restash-cli 0.1.0\n");
    CliResult r = RunCli(home, {"help", "search"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Usage: restash-cli search [OPTIONS] TEXT"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Exit status: 0 a page was found, 1 none was, 2 error"), std::string::npos) << r.out;
    r = RunCli(home, {"help"});
    EXPECT_NE(r.out.find("Exit status: 0 done, 1 failed, 2 bad usage, 130 stopped"), std::string::npos) << r.out;
    // --quiet and --now after the command, as before it.
    WriteBytes(home / "RESTASH.INI", "[paths]\r\ncachedir=" + home / "NONE.DB" + "\r\n");
    r = RunCli(home, {"settings", "--quiet", "--now", "5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("NONE.DB"), std::string::npos);
}

// The tools and the desktop program answer --help and --version without
// taking the option for a folder and without a display.
TEST(ProgramsAnswerHelp, WithoutADisplayOrASideEffect) {
    TempDir home;
    const std::filesystem::path bin = std::filesystem::path(RESTASH_CLI_PATH).parent_path();
    std::vector<std::vector<std::string>> runs = {{"make_sample_cache", "--help"},
                                                  {"generate_cache", "--help"},
                                                  {"export_cache", "--help"},
                                                  {"make_support_images", "--help"}};
#ifdef RESTASH_GUI_PATH
    runs.push_back({"restash", "--help"});
    runs.push_back({"restash", "--version"});
#endif
    for (const auto& run : runs) {
        const std::string command = "cd " + ShellQuoted(home.path()) + " && env -u DISPLAY -u WAYLAND_DISPLAY " +
                                    "QT_QPA_PLATFORM=xcb " + ShellQuoted((bin / run[0]).string()) + " " + run[1] +
                                    " >out.txt 2>err.txt";
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << run[0] << " " << run[1];
        const std::string out = ReadBytes(home / "out.txt");
        EXPECT_TRUE(out.rfind("Usage: " + run[0], 0) == 0 || out == "restash 0.1.0\n") << run[0] << ": " << out;
        EXPECT_FALSE(std::filesystem::exists(home / "--help")) << run[0];
    }
}

// The long options a text names: "--cache", "--dry-run" ... (plain scanning:
// std::regex trips GCC 12's uninitialised-use warning under the sanitizers)
std::set<std::string> LongOptions(const std::string& text) {
    std::set<std::string> names;
    const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
        std::size_t end = at + 2;
        while (end < text.size() && (lower(text[end]) || text[end] == '-')) ++end;
        while (end > at + 2 && text[end - 1] == '-') --end;
        if (end > at + 3 && lower(text[at + 2])) names.insert(text.substr(at, end - at));
    }
    return names;
}

// text with every from replaced by to.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The man pages cannot drift from --help: the same options both ways, the
// same version on both pages.
TEST(ManPages, AgreeWithTheHelp) {
    TempDir home;
    std::string help = RunCli(home, {"--help"}).out;
    for (const char* command : {"list", "domains", "uncache", "search", "delete", "export", "settings"})
        help += RunCli(home, {"help", command}).out;
    std::string page = ReadBytes(std::string(RESTASH_SOURCE_DIR) + "/assets/man/restash-cli.1");
    page = Replaced(page, "\\-", "-");
    std::set<std::string> inHelp = LongOptions(help), inPage = LongOptions(page);
    inHelp.erase("--help");  // each command's own --help is the page's help command
    EXPECT_GT(inHelp.size(), 20u) << "the options were not found in the help";
    for (const std::string& name : inHelp) EXPECT_TRUE(inPage.count(name)) << name << " is not in the man page";
    for (const std::string& name : inPage) EXPECT_TRUE(inHelp.count(name) || name == "--help") << name << " is not in --help";
    for (const char* section : {".SH EXIT STATUS", ".SH EXAMPLES", ".SH REPORTS", "130"})
        EXPECT_NE(page.find(section), std::string::npos) << section;

    const std::string version = RunCli(home, {"--version"}).out;  // "restash-cli 0.1.0\n"
    const std::string header = "\"Restash " + version.substr(version.find(' ') + 1, version.size() - 1 -
                                                             (version.find(' ') + 1)) + "\"";
    for (const char* name : {"restash-cli.1", "restash.1"}) {
        const std::string first = ReadBytes(std::string(RESTASH_SOURCE_DIR) + "/assets/man/" + name);
        EXPECT_NE(first.substr(0, first.find('\n')).find(header), std::string::npos) << name << ": " << header;
    }
}

// The README's examples on the bundled sample, run as they stand with
// /tmp/ moved into a folder of the test's own.
TEST(Readme, ExamplesWorkOnTheBundledSample) {
    TempDir home;
    TempDir work;
    std::istringstream readme(ReadBytes(std::string(RESTASH_SOURCE_DIR) + "/README.md"));
    std::size_t run = 0;
    for (std::string line; std::getline(readme, line);) {
        const bool example = line.rfind("cp -r samples/", 0) == 0 || line.rfind("restash-cli ", 0) == 0;
        if (!example || line.find("/tmp/") == std::string::npos) continue;
        line = Replaced(line, "/tmp/", work.path() + "/");
        if (line.rfind("restash-cli ", 0) == 0)
            line.replace(0, 12, ShellQuoted(RESTASH_CLI_PATH) + " --program-dir " + ShellQuoted(home.path()) + " ");
        const std::string command = "cd " + ShellQuoted(RESTASH_SOURCE_DIR) + " && XDG_DATA_HOME=" +
                                    ShellQuoted(home / "xdg") + " " + line + " >" + ShellQuoted(home / "out.txt") +
                                    " 2>&1";
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << line << "\n" << ReadBytes(home / "out.txt");
        ++run;
    }
    EXPECT_GE(run, 8u);
    EXPECT_TRUE(FileExists(work / "rescued/OFFLINE/HTMINDEX.HTM"));
    EXPECT_TRUE(FileExists(work / "riverbend.wacz"));
    EXPECT_TRUE(FileExists(work / "uncache.json"));
}

TEST(CliUsage, SettingsShowsTheEffectiveValues) {
    TempDir home;
    WriteBytes(home / "RESTASH.INI", "[paths]\r\ncachedir=/data/cache/INDEX.DB\r\n[preferences]\r\ntag=STRONG\r\n");
    const CliResult r = RunCli(home, {"settings"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {"CacheDir     /data/cache/", "FatName      INDEX.DB", "Tag          STRONG",
                             "ProgramDir   "})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
}

TEST(SearchCommand, NeedsTwoCharactersAndAPageList) {
    TempDir home;
    CliResult r = RunCli(home, {"search", "--offline", home.path(), "x"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("at least two characters"), std::string::npos) << r.err;

    r = RunCli(home, {"search", "--offline", home.path(), "brass"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "restash-cli: no offline copy to search: " + home / "OFFLINE/HTMLIST" +
                         " is missing; 'restash-cli uncache' makes one\n");
    EXPECT_FALSE(FileExists(home / "OFFLINE/RESULTS.RSH"));
}

TEST(DomainsCommand, CountsPerDomainSortedWithoutRegardToCase) {
    TempDir home;
    TempDir cache;
    for (const char* f : {"1.HTM", "2.GIF", "3.HTM", "4.ZIP", "5.HTM"}) WriteBytes(cache / f, "x");
    WriteBytes(cache / "FAT",
               "MCOM-Cache-file-allocation-table-format-1\r\n"
               "1\t2\t10\t1.HTM\thttp://b.com/\ttext/html\t0\t1\r\n"
               "1\t2\t10\t2.GIF\thttp://a.com/x.gif\timage/gif\t0\t1\r\n"
               "1\t2\t10\t3.HTM\thttp://A.com/\ttext/html\t0\t1\r\n"
               "1\t2\t10\t4.ZIP\thttp://b.com/x.zip\tapplication/zip\t0\t1\r\n"
               "1\t2\t0\t5.HTM\thttp://old.com/\ttext/html\t0\t1\r\n");  // outside every age window
    const CliResult r = RunCli(home, {"domains", "--cache", cache / "FAT", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::parse(R"([
        {"domain": "a.com", "text": 0, "media": 1, "other": 0},
        {"domain": "A.com", "text": 1, "media": 0, "other": 0},
        {"domain": "b.com", "text": 1, "media": 0, "other": 1}])"));

    const CliResult text = RunCli(home, {"domains", "--cache", cache / "FAT"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out,
              "DOMAIN  TEXT  MEDIA  OTHER\n"
              "a.com      0      1      0\n"
              "A.com      1      0      0\n"
              "b.com      1      0      1\n");

    // A chosen domain stands for both spellings; the window's move adds the
    // chosen names last first, so equal names change places.
    const CliResult chosen = RunCli(home, {"domains", "--cache", cache / "FAT", "--domain", "A.COM"});
    ASSERT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_EQ(chosen.out,
              "DOMAIN  TEXT  MEDIA  OTHER\n"
              "A.com      1      0      0\n"
              "a.com      0      1      0\n");
}

}  // namespace
}  // namespace restash::test
