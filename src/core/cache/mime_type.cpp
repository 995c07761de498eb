#include "core/cache/mime_type.h"

#include <array>
#include <utility>

#include "core/platform/text.h"

namespace restash {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 38> kByExtension{{
    {"HTM", "TEXT/HTML"},
    {"HTML", "TEXT/HTML"},
    {"SHTML", "TEXT/HTML"},
    {"XHTML", "APPLICATION/XHTML+XML"},
    {"TXT", "TEXT/PLAIN"},
    {"CSS", "TEXT/CSS"},
    {"JS", "APPLICATION/X-JAVASCRIPT"},
    {"XML", "TEXT/XML"},
    {"JSON", "APPLICATION/JSON"},
    {"GIF", "IMAGE/GIF"},
    {"JPG", "IMAGE/JPEG"},
    {"JPEG", "IMAGE/JPEG"},
    {"JPE", "IMAGE/JPEG"},
    {"PNG", "IMAGE/PNG"},
    {"BMP", "IMAGE/BMP"},
    {"ICO", "IMAGE/X-ICON"},
    {"SVG", "IMAGE/SVG+XML"},
    {"WEBP", "IMAGE/WEBP"},
    {"XBM", "IMAGE/X-XBITMAP"},
    {"TIF", "IMAGE/TIFF"},
    {"TIFF", "IMAGE/TIFF"},
    {"MP3", "AUDIO/MPEG"},
    {"WAV", "AUDIO/X-WAV"},
    {"MID", "AUDIO/MIDI"},
    {"AU", "AUDIO/BASIC"},
    {"MPG", "VIDEO/MPEG"},
    {"MPEG", "VIDEO/MPEG"},
    {"MOV", "VIDEO/QUICKTIME"},
    {"AVI", "VIDEO/X-MSVIDEO"},
    {"MP4", "VIDEO/MP4"},
    {"WEBM", "VIDEO/WEBM"},
    {"PDF", "APPLICATION/PDF"},
    {"SWF", "APPLICATION/X-SHOCKWAVE-FLASH"},
    {"ZIP", "APPLICATION/ZIP"},
    {"GZ", "APPLICATION/X-GZIP"},
    {"CLASS", "APPLICATION/JAVA-VM"},
    {"JAR", "APPLICATION/JAVA-ARCHIVE"},
    {"XUL", "APPLICATION/VND.MOZILLA.XUL+XML"},
}};

}  // namespace

std::string MimeTypeFromAddress(std::string_view address) {
    const std::size_t scheme = address.find("://");
    std::string_view path = address.substr(scheme == std::string_view::npos ? 0 : scheme + 3);
    path = path.substr(0, path.find_first_of("?#"));
    const std::size_t slash = path.find('/');
    if (slash == std::string_view::npos) return {};  // a host alone has no extension
    path = path.substr(path.rfind('/') + 1);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return {};
    const std::string extension = ToUpperAscii(path.substr(dot + 1));
    for (const auto& [ext, type] : kByExtension)
        if (ext == extension) return std::string(type);
    return {};
}

std::string EntryMimeType(std::string_view headMimeType, std::string_view address) {
    if (!headMimeType.empty()) return Cut(ToUpperAscii(headMimeType), kMimeTypeCapacity);
    return Cut(MimeTypeFromAddress(address), kMimeTypeCapacity);
}

}  // namespace restash
