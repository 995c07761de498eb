// The fixture GIFs must decode in an independent decoder (ImageMagick) to
// exactly the pixels they were made from.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/gif.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

std::string Output(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    pclose(pipe);
    return out;
}

TEST(FixtureGifTest, DecodesToTheSamePixelsInImageMagick) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const int w = 7, h = 5;  // an odd pixel count ends between two clear codes
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < w * h; ++i) pixels.push_back(std::uint8_t(i * 7 % 4));
    WriteBytes(dir / "t.gif", MakeGif(w, h, pixels, {0xff0000, 0x00ff00, 0x0000ff, 0xffffff}));
    // One "x,y: ... #RRGGBB ..." line per pixel.
    std::string text = Output("convert '" + dir / "t.gif" + "' txt:- 2>&1");
    const char* colours[] = {"#FF0000", "#00FF00", "#0000FF", "#FFFFFF"};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::string at = "\n" + std::to_string(x) + "," + std::to_string(y) + ":";
            std::size_t line = text.find(at);
            ASSERT_NE(line, std::string::npos) << text;
            std::string rest = text.substr(line + 1, text.find('\n', line + 1) - line - 1);
            EXPECT_NE(rest.find(colours[pixels[std::size_t(y * w + x)]]), std::string::npos) << rest;
        }

    WriteBytes(dir / "s.gif", StripedGif(300, 200, 0x336699, 0xffffcc));
    EXPECT_EQ(Output("identify -format '%m %w %h' '" + dir / "s.gif" + "' 2>&1"), "GIF 300 200");
}

}  // namespace
}  // namespace restash::test
