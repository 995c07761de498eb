#include "tests/support/gif.h"

#include <algorithm>
#include <stdexcept>

namespace restash::test {
namespace {

void Put16(std::string& out, int value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>((value >> 8) & 0xff));
}

// Packs codes least significant bit first, as GIF wants them.
class BitWriter {
public:
    void Put(unsigned code, int width) {
        acc_ |= code << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.push_back(static_cast<char>(acc_ & 0xff));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    std::string Finish() {
        if (bits_ > 0) bytes_.push_back(static_cast<char>(acc_ & 0xff));
        return bytes_;
    }

private:
    std::string bytes_;
    unsigned acc_ = 0;
    int bits_ = 0;
};

}  // namespace

std::string MakeGif(int width, int height, const std::vector<std::uint8_t>& pixels,
                    const std::array<std::uint32_t, 4>& palette) {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("MakeGif: pixels do not match the size");
    std::string gif = "GIF89a";
    Put16(gif, width);
    Put16(gif, height);
    gif.push_back(static_cast<char>(0x81));  // global colour table of 4 entries
    gif.push_back(0);                        // background colour
    gif.push_back(0);                        // aspect ratio
    for (std::uint32_t rgb : palette) {
        gif.push_back(static_cast<char>((rgb >> 16) & 0xff));
        gif.push_back(static_cast<char>((rgb >> 8) & 0xff));
        gif.push_back(static_cast<char>(rgb & 0xff));
    }
    gif.push_back(',');  // image descriptor
    Put16(gif, 0);
    Put16(gif, 0);
    Put16(gif, width);
    Put16(gif, height);
    gif.push_back(0);

    // Minimum code size 2: codes 0-3 are colours, 4 clears, 5 ends. A clear
    // code before every second pixel keeps the table so small that every
    // code stays 3 bits wide: plain literal codes, valid for any decoder.
    const unsigned kClear = 4, kEnd = 5;
    BitWriter bits;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % 2 == 0) bits.Put(kClear, 3);
        bits.Put(pixels[i] & 3u, 3);
    }
    bits.Put(kEnd, 3);
    const std::string data = bits.Finish();
    gif.push_back(2);
    for (std::size_t off = 0; off < data.size(); off += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - off);
        gif.push_back(static_cast<char>(n));
        gif.append(data, off, n);
    }
    gif.push_back(0);    // end of the image data
    gif.push_back(';');  // trailer
    return gif;
}

std::string StripedGif(int width, int height, std::uint32_t ink, std::uint32_t paper) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                ((x + y) / 4) % 2 ? 1 : 0;
    return MakeGif(width, height, pixels, {paper, ink, 0xffffff, 0x000000});
}

}  // namespace restash::test
