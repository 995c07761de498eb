#include "core/app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/error.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(IniRead, FindsSectionsAndKeysWithoutRegardToCase) {
    TempDir dir;
    WriteBytes(dir / "a.ini", "[PATHS]\r\nNETSPATH = /opt/ns/netscape \r\n[Config]\r\nfatname=INDEX.DB\r\n");
    IniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("paths", "netspath", "x"), "/opt/ns/netscape");
    EXPECT_EQ(ini.ReadString("config", "FATNAME", "x"), "INDEX.DB");
    // A key of another section is not found.
    EXPECT_EQ(ini.ReadString("paths", "fatname", "dflt"), "dflt");
}

TEST(IniRead, DefaultOnlyForAnAbsentKey) {
    TempDir dir;
    WriteBytes(dir / "a.ini", "stray=1\n[paths]\noffd=\n; cachedir=/commented\nodd line\n");
    IniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("paths", "offd", "dflt"), "");
    EXPECT_EQ(ini.ReadString("paths", "cachedir", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("paths", "odd line", "dflt"), "dflt");
    // Keys before the first section belong to none.
    EXPECT_EQ(ini.ReadString("", "stray", "dflt"), "dflt");
    EXPECT_EQ(IniFile(dir / "missing.ini").ReadString("paths", "offd", "dflt"), "dflt");
}

TEST(IniRead, ValueIsCutAt1023Characters) {
    TempDir dir;
    const std::string longValue(1500, 'v');
    WriteBytes(dir / "a.ini", "[s]\nk=" + longValue + "\n");
    EXPECT_EQ(IniFile(dir / "a.ini").ReadString("s", "k", ""), std::string(1023, 'v'));
}

TEST(IniRead, IntegersAndBooleans) {
    TempDir dir;
    WriteBytes(dir / "a.ini",
               "[p]\nhex=0x10\nHEX2=0XfF\nneg=-5\nplus=+7\nword=true\ntwo=2\nzero=0\n"
               "short=0x\nfrac=1.5\nbig=99999999999\nfull=0xFFFFFFFF\nspace=1 2\n");
    IniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("p", "hex", 0), 16);
    EXPECT_EQ(ini.ReadInteger("p", "hex2", 0), 255);
    EXPECT_EQ(ini.ReadInteger("p", "neg", 0), -5);
    EXPECT_EQ(ini.ReadInteger("p", "plus", 0), 7);
    EXPECT_EQ(ini.ReadInteger("p", "word", 3), 3);
    EXPECT_EQ(ini.ReadInteger("p", "short", 3), 3);  // "0x" alone is no number
    EXPECT_EQ(ini.ReadInteger("p", "frac", 3), 3);
    EXPECT_EQ(ini.ReadInteger("p", "big", 3), 3);
    EXPECT_EQ(ini.ReadInteger("p", "full", 3), -1);
    EXPECT_EQ(ini.ReadInteger("p", "space", 3), 3);
    EXPECT_EQ(ini.ReadInteger("p", "absent", 3), 3);
    EXPECT_FALSE(ini.ReadBool("p", "word", false));
    EXPECT_TRUE(ini.ReadBool("p", "word", true));
    EXPECT_TRUE(ini.ReadBool("p", "two", false));
    EXPECT_FALSE(ini.ReadBool("p", "zero", true));
    EXPECT_TRUE(ini.ReadBool("p", "absent", true));
}

TEST(IniWrite, ReplacesTheValueWhereItStandsAndKeepsEveryOtherLine) {
    TempDir dir;
    const std::string before =
        "; my settings\r\n[Paths]\r\n  NetsPath = /old/netscape\r\nweird line\r\n\r\n[config]\r\nfatname=FAT\r\n";
    WriteBytes(dir / "a.ini", before);
    IniFile ini(dir / "a.ini");
    ini.WriteString("paths", "netspath", "/new/netscape");
    EXPECT_EQ(ReadBytes(dir / "a.ini"),
              "; my settings\r\n[Paths]\r\n  NetsPath =/new/netscape\r\nweird line\r\n\r\n[config]\r\nfatname=FAT\r\n");
    EXPECT_EQ(ini.ReadString("PATHS", "NETSPATH", ""), "/new/netscape");
}

TEST(IniWrite, AddsKeysAndSectionsInTheFilesLineBreaks) {
    TempDir dir;
    WriteBytes(dir / "crlf.ini", "[paths]\r\nnetspath=/a\r\n\r\n[config]\r\nfatname=FAT");
    IniFile crlf(dir / "crlf.ini");
    crlf.WriteString("PATHS", "histpath", "/h");
    crlf.WriteString("config", "exename", "ns");
    crlf.WriteInteger("preferences", "GMT", -3);
    crlf.WriteBool("preferences", "EmphTag", false);
    EXPECT_EQ(ReadBytes(dir / "crlf.ini"),
              "[paths]\r\nnetspath=/a\r\nhistpath=/h\r\n\r\n[config]\r\nfatname=FAT\r\nexename=ns\r\n"
              "\r\n[preferences]\r\nGMT=-3\r\nEmphTag=0\r\n");

    WriteBytes(dir / "lf.ini", "[paths]\nnetspath=/a\n");
    IniFile lf(dir / "lf.ini");
    lf.WriteBool("preferences", "NotFoundURL", true);
    EXPECT_EQ(ReadBytes(dir / "lf.ini"), "[paths]\nnetspath=/a\n\n[preferences]\nNotFoundURL=1\n");
}

TEST(IniWrite, CreatesTheFileAndItsFolder) {
    TempDir dir;
    IniFile ini(dir / "home/restash/RESTASH.INI");
    ini.WriteString("paths", "offlinedir", "/off/");
    EXPECT_EQ(ReadBytes(dir / "home/restash/RESTASH.INI"), "[paths]\nofflinedir=/off/\n");
}

TEST(IniWrite, AFailedWriteLeavesTheOldFileAndNamesIt) {
    TempDir dir;
    WriteBytes(dir / "RESTASH.INI", "[paths]\nnetspath=/a\n");
    test::FaultyFileSystem fs;
    fs.renamesBeforeFailure = 0;
    IniFile ini(dir / "RESTASH.INI", fs);
    try {
        ini.WriteString("paths", "netspath", "/b");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), ("Unable to write to " + dir / "RESTASH.INI").c_str());
    }
    EXPECT_EQ(ReadBytes(dir / "RESTASH.INI"), "[paths]\nnetspath=/a\n");
    EXPECT_FALSE(test::FileExists(TemporaryNameFor(dir / "RESTASH.INI")));
}

TEST(IniWrite, RefusesAValueThatWouldBecomeSeveralLines) {
    TempDir dir;
    WriteBytes(dir / "a.ini", "[paths]\nnetspath=/a\n");
    IniFile ini(dir / "a.ini");
    EXPECT_THROW(ini.WriteString("paths", "netspath", "/x\n[paths]\nnetspath=/evil"), Error);
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "[paths]\nnetspath=/a\n");
}

TEST(IniWrite, KeepsALinkedSettingsFileALink) {
    TempDir dir;
    WriteBytes(dir / "real.ini", "[paths]\nnetspath=/a\n");
    std::filesystem::create_symlink(dir / "real.ini", dir / "link.ini");
    IniFile(dir / "link.ini").WriteString("paths", "netspath", "/b");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadBytes(dir / "real.ini"), "[paths]\nnetspath=/b\n");
}

}  // namespace
}  // namespace restash
