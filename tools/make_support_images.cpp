// Draws the support images that every run copies into the offline MEDIA
// folder: the broken-image mark, the arrows and buttons of the index pages
// and the two logos. The output is the same on every run.
//
//   make_support_images [FOLDER]     (default: assets)
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "tests/support/gif.h"
#include "tests/support/temp_dir.h"

#include "tools/tool_help.h"

namespace restash::test {
namespace {

// Palette slots of every picture.
enum Ink : std::uint8_t { kPaper = 0, kInk = 1, kAccent = 2, kShade = 3 };

class Picture {
public:
    Picture(int width, int height, std::array<std::uint32_t, 4> palette)
        : w_(width), h_(height), palette_(palette), pixels_(static_cast<std::size_t>(width * height), kPaper) {}

    void Set(int x, int y, Ink ink) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) pixels_[static_cast<std::size_t>(y * w_ + x)] = ink;
    }
    void Fill(int x0, int y0, int x1, int y1, Ink ink) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) Set(x, y, ink);
    }
    void Frame(int x0, int y0, int x1, int y1, Ink ink) {
        Fill(x0, y0, x1, y0, ink);
        Fill(x0, y1, x1, y1, ink);
        Fill(x0, y0, x0, y1, ink);
        Fill(x1, y0, x1, y1, ink);
    }
    // A raised button: light top and left edges, dark bottom and right.
    void Button(Ink face, Ink light, Ink dark) {
        Fill(0, 0, w_ - 1, h_ - 1, face);
        Fill(0, 0, w_ - 1, 1, light);
        Fill(0, 0, 1, h_ - 1, light);
        Fill(0, h_ - 2, w_ - 1, h_ - 1, dark);
        Fill(w_ - 2, 0, w_ - 1, h_ - 1, dark);
    }
    void Text(const std::string& text, int scale, Ink ink, int y = -1);
    std::string Gif() const { return MakeGif(w_, h_, pixels_, palette_); }
    int width() const { return w_; }
    int height() const { return h_; }

private:
    int w_, h_;
    std::array<std::uint32_t, 4> palette_;
    std::vector<std::uint8_t> pixels_;
};

// A 5 by 7 font of the capitals the pictures need.
const char* Glyph(char c) {
    switch (c) {
        case 'A': return " ### #   ##   #######   ##   ##   #";
        case 'D': return "#### #   ##   ##   ##   ##   ##### ";
        case 'E': return "######    #    #### #    #    #####";
        case 'F': return "######    #    #### #    #    #    ";
        case 'H': return "#   ##   ##   #######   ##   ##   #";
        case 'I': return " ###   #    #    #    #    #   ### ";
        case 'L': return "#    #    #    #    #    #    #####";
        case 'N': return "#   ###  ## # ##  ###   ##   ##   #";
        case 'O': return " ### #   ##   ##   ##   ##   # ### ";
        case 'R': return "#### #   ##   ##### # #  #  # #   #";
        case 'S': return " #####    #     ###     #    ##### ";
        case 'T': return "#####  #    #    #    #    #    #  ";
        case 'U': return "#   ##   ##   ##   ##   ##   # ### ";
        case 'X': return "#   ##   # # #   #   # # #   ##   #";
        default: return "                                   ";
    }
}

void Picture::Text(const std::string& text, int scale, Ink ink, int y) {
    const int advance = 6 * scale;
    const int textWidth = static_cast<int>(text.size()) * advance - scale;
    const int x0 = (w_ - textWidth) / 2;
    const int y0 = y >= 0 ? y : (h_ - 7 * scale) / 2;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* rows = Glyph(text[i]);
        for (int gy = 0; gy < 7; ++gy)
            for (int gx = 0; gx < 5; ++gx)
                if (rows[gy * 5 + gx] == '#')
                    Fill(x0 + static_cast<int>(i) * advance + gx * scale, y0 + gy * scale,
                         x0 + static_cast<int>(i) * advance + gx * scale + scale - 1, y0 + gy * scale + scale - 1, ink);
    }
}

// Grey face, white and dark-grey edges, black writing: the buttons of the
// button bar and the domain pages.
constexpr std::array<std::uint32_t, 4> kButtonColours{0xC0C0C0, 0x000000, 0xFFFFFF, 0x808080};

std::string TextButton(int width, int height, const std::string& text) {
    Picture p(width, height, kButtonColours);
    p.Button(kPaper, kAccent, kShade);
    p.Text(text, 1, kInk);
    return p.Gif();
}

// A solid arrow in a 24 by 24 button, pointing up, down or right.
std::string Arrow(char direction) {
    Picture p(24, 24, {0xC0C0C0, 0x000080, 0xFFFFFF, 0x808080});
    p.Button(kPaper, kAccent, kShade);
    for (int i = 0; i < 7; ++i) {
        // The head: rows (or columns) widening by one on each side.
        for (int j = -i; j <= i; ++j) {
            if (direction == 'U') p.Set(12 + j, 5 + i, kInk);
            if (direction == 'D') p.Set(12 + j, 18 - i, kInk);
            if (direction == 'R') p.Set(18 - i, 12 + j, kInk);
        }
    }
    if (direction == 'U') p.Fill(10, 12, 14, 18, kInk);
    if (direction == 'D') p.Fill(10, 5, 14, 11, kInk);
    if (direction == 'R') p.Fill(5, 10, 11, 14, kInk);
    return p.Gif();
}

// The mark shown for a picture that was not cached: a page with a torn
// corner and a red cross.
std::string BrokenImage() {
    Picture p(24, 24, {0xFFFFFF, 0x000000, 0xD00000, 0xC0C0C0});
    p.Fill(3, 2, 20, 21, kShade);
    p.Frame(3, 2, 20, 21, kInk);
    for (int i = 0; i < 6; ++i) p.Fill(15 + i, 2, 20, 2 + i - 1, kPaper);  // the torn corner
    for (int i = 0; i < 6; ++i) p.Set(15 + i, 2 + i, kInk);
    for (int i = 0; i < 10; ++i) {
        p.Fill(6 + i, 8 + i, 7 + i, 8 + i, kAccent);
        p.Fill(15 - i, 8 + i, 16 - i, 8 + i, kAccent);
    }
    return p.Gif();
}

std::string Logo(int width, int height, int scale, bool subtitle) {
    Picture p(width, height, {0xFFFFFF, 0x003366, 0xCC6600, 0xDDE6EE});
    p.Fill(0, 0, width - 1, height - 1, kShade);
    p.Frame(0, 0, width - 1, height - 1, kInk);
    p.Frame(2, 2, width - 3, height - 3, kAccent);
    p.Text("RESTASH", scale, kInk, subtitle ? 6 : -1);
    if (subtitle) p.Text("OFFLINE INDEX", 1, kAccent, height - 14);
    return p.Gif();
}

}  // namespace
}  // namespace restash::test

int main(int argc, char** argv) {
    if (restash::tools::AnswersHelp(argc, argv,
                                    "Usage: make_support_images [DIR]\n"
                                    "Draws the index pages' support images (NOTFOUND.GIF, INDEX.GIF ...) into DIR "
                                    "(default: assets).\n"))
        return 0;
    using namespace restash::test;
    const std::string folder = std::string(argc > 1 ? argv[1] : "assets") + "/";
    try {
        const std::vector<std::pair<const char*, std::string>> images{
            {"NOTFOUND.GIF", BrokenImage()},
            {"DOMAINUP.GIF", Arrow('U')},
            {"DOMAINDN.GIF", Arrow('D')},
            {"INDEX.GIF", TextButton(40, 24, "INDEX")},
            {"I_BUTTON.GIF", TextButton(80, 32, "INDEX")},
            {"RIGHT.GIF", Arrow('R')},
            {"RESULTS.GIF", TextButton(80, 32, "RESULTS")},
            {"INFO.GIF", TextButton(80, 32, "INFO")},
            {"SITELOGO.GIF", Logo(88, 31, 1, false)},
            {"RESTASH.GIF", Logo(280, 64, 4, true)},
        };
        for (const auto& [name, bytes] : images) WriteBytes(folder + name, bytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_support_images: %s\n", e.what());
        return 1;
    }
    return 0;
}
