#include "core/web/file_kind.h"

#include <algorithm>
#include <array>
#include <utility>

namespace restash {

const char* CategoryName(Category c) {
    switch (c) {
        case Category::Text: return "text";
        case Category::Media: return "media";
        case Category::Other: return "other";
    }
    return "other";
}

namespace {

bool IsMediaHead(std::string_view head) { return head == "VIDEO" || head == "IMAGE" || head == "AUDIO"; }

}  // namespace

Category ClassifyMimeType(std::string_view mimeType) {
    const std::string_view head = mimeType.substr(0, 5);
    if (head == "TEXT/") return Category::Text;
    if (IsMediaHead(head)) return Category::Media;
    return Category::Other;
}

CopyFolder CopyFolderFor(std::string_view mimeType) {
    if (mimeType.substr(0, 4) == "TEXT") return CopyFolder::Root;
    if (IsMediaHead(mimeType.substr(0, 5))) return CopyFolder::Media;
    return CopyFolder::Others;
}

std::string ExtensionFor(std::string_view mimeType) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 40> kTable{{
        {"TEXT/HTML", ".HTM"},
        {"TEXT/PLAIN", ".TXT"},
        {"TEXT/RICHTEXT", ".RTX"},
        {"IMAGE/GIF", ".GIF"},
        {"IMAGE/X-BITMAP", ".XBM"},
        {"IMAGE/X-XBITMAP", ".XBM"},
        {"IMAGE/JPEG", ".JPG"},
        {"IMAGE/TIFF", ".TIF"},
        {"IMAGE/X-MS-BMP", ".BMP"},
        {"VIDEO/QUICKTIME", ".MOV"},
        {"VIDEO/MPEG", ".MPG"},
        {"VIDEO/X-MSVIDEO", ".AVI"},
        {"AUDIO/X-WAV", ".WAV"},
        {"AUDIO/X-AIFF", ".AIF"},
        {"AUDIO/BASIC", ".AU"},
        {"VIDEO/X-SGI-MOVIE", ".SGI"},
        {"IMAGE/X-PIXMAP", ".XPM"},
        {"IMAGE/X-RGB", ".RGB"},
        {"IMAGE/X-PORTABLE-PIXMAP", ".PPM"},
        {"IMAGE/X-PORTABLE-GRAYMAP", ".PGM"},
        {"IMAGE/X-PORTABLE-BITMAP", ".PBM"},
        {"IMAGE/X-PORTABLE-ANYMAP", ".PNM"},
        {"IMAGE/X-CMU-RASTER", ".RAS"},
        {"APPLICATION/X-TAR", ".TAR"},
        {"APPLICATION/X-TROFF-MAN", ".MAN"},
        {"APPLICATION/X-SH", ".SH"},
        {"APPLICATION/X-LATEX", ".LTX"},
        {"APPLICATION/X-LIVESCRIPT", ".LS"},
        {"APPLICATION/X-JAVASCRIPT", ".JS"},
        {"APPLICATION/X-CSH", ".CSH"},
        {"APPLICATION/RTF", ".RTF"},
        {"APPLICATION/POSTSCRIPT", ".PS"},
        {"APPLICATION/OCTET-STREAM", ".BIN"},
        {"APPLICATION/X-STUFFIT", ".SIT"},
        {"APPLICATION/MAC-BINHEX40", ".HQX"},
        {"APPLICATION/FRACTALS", ".FIF"},
        {"APPLICATION/X-ZIP-COMPRESSED", ".ZIP"},
        {"APPLICATION/X-GZIP", ".GZ"},
        {"APPLICATION/X-COMPRESS", ".Z"},
        {"X-WORLD/X-VRML", ".WRL"},
    }};
    for (const auto& [type, extension] : kTable)
        if (type == mimeType) return std::string(extension);
    return ".!!!";
}

bool IsMediaPath(std::string_view path) {
    static constexpr std::array<std::string_view, 12> kMedia = {".GIF", ".JPG", ".AVI", ".MPG", ".MOV", ".WAV",
                                                                ".AIF", ".AU",  ".BMP", ".TIF", ".WRL", ".XBM"};
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    const auto sep = path.find_last_of("/\\:");
    if (sep != std::string_view::npos && sep > dot) return false;
    const std::string_view ext = path.substr(dot);
    return std::find(kMedia.begin(), kMedia.end(), ext) != kMedia.end();
}

}  // namespace restash
