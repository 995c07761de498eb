// The kind of an object, decided by its MIME type (category and folder) and by
// the extension of its copy (image index pages).
#include "core/web/file_kind.h"

#include <gtest/gtest.h>

namespace restash {
namespace {

TEST(FileKind, CategoryAndFolderFollowTheirOwnRulesForEachType) {
    struct Case {
        const char* mime;
        Category category;
        CopyFolder folder;
    };
    // The folder goes by four characters, the category by five: "TEXT"
    // without a slash is an other file stored with the pages.
    const Case cases[] = {
        {"TEXT/HTML", Category::Text, CopyFolder::Root},        {"TEXT/PLAIN", Category::Text, CopyFolder::Root},
        {"TEXT", Category::Other, CopyFolder::Root},            {"TEXTX/Y", Category::Other, CopyFolder::Root},
        {"IMAGE/GIF", Category::Media, CopyFolder::Media},      {"VIDEO", Category::Media, CopyFolder::Media},
        {"AUDIOX", Category::Media, CopyFolder::Media},         {"AUDI", Category::Other, CopyFolder::Others},
        {"X-WORLD/X-VRML", Category::Other, CopyFolder::Others}, {"text/html", Category::Other, CopyFolder::Others},
        {"", Category::Other, CopyFolder::Others},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyMimeType(c.mime), c.category) << c.mime;
        EXPECT_EQ(CopyFolderFor(c.mime), c.folder) << c.mime;
    }
    EXPECT_STREQ(CategoryName(Category::Media), "media");
}

TEST(FileKind, ImageIndexPagesListTheMediaExtensionsOnly) {
    for (const char* path : {"MEDIA/A.GIF", "MEDIA/A.JPG", "MEDIA/A.AVI", "MEDIA/A.MPG", "MEDIA/A.MOV", "MEDIA/A.WAV",
                             "MEDIA/A.AIF", "MEDIA/A.AU", "MEDIA/A.BMP", "MEDIA/A.TIF", "OTHERS/A.WRL", "MEDIA/A.XBM"})
        EXPECT_TRUE(IsMediaPath(path)) << path;
    for (const char* path : {"MEDIA/A.PNG", "MEDIA/A.GIF.TXT", "MEDIA/GIF", "A.HTM", "MEDIA/A.AUX", "X.GIF/NAME",
                             "MEDIA/A.XPM", "MEDIA/a.gif"})
        EXPECT_FALSE(IsMediaPath(path)) << path;
}

TEST(ExtensionFor, MatchesTheWholeTypeExactly) {
    EXPECT_EQ(ExtensionFor("TEXT/HTML"), ".HTM");
    EXPECT_EQ(ExtensionFor("IMAGE/X-BITMAP"), ".XBM");
    EXPECT_EQ(ExtensionFor("IMAGE/X-XBITMAP"), ".XBM");
    EXPECT_EQ(ExtensionFor("AUDIO/BASIC"), ".AU");
    EXPECT_EQ(ExtensionFor("APPLICATION/X-COMPRESS"), ".Z");
    EXPECT_EQ(ExtensionFor("X-WORLD/X-VRML"), ".WRL");
    EXPECT_EQ(ExtensionFor("text/html"), ".!!!");
    EXPECT_EQ(ExtensionFor("TEXT/HTML; CHARSET=ISO-8859-1"), ".!!!");
    EXPECT_EQ(ExtensionFor("TEXT/HTM"), ".!!!");
    EXPECT_EQ(ExtensionFor(""), ".!!!");
}

}  // namespace
}  // namespace restash
