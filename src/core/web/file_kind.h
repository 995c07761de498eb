#pragma once
// What kind of file an object is, decided in one place: its category for the
// selection's type boxes (from the MIME type), the offline folder its copy
// goes to (from the MIME type, by a slightly different rule), the extension
// of its copy, and whether a copied file is listed on an image index page
// (from the extension of its path).
#include <cstdint>
#include <string>
#include <string_view>

namespace restash {

enum class Category : std::uint8_t { Text = 0, Media = 1, Other = 2 };

// "text", "media" or "other".
const char* CategoryName(Category c);

// "TEXT/" gives Text; "VIDEO", "IMAGE" or "AUDIO" Media; anything else,
// including a prefix shorter than five characters, Other. Takes the first
// five characters of the upper-cased MIME type (more are ignored).
Category ClassifyMimeType(std::string_view mimeType);

// Where a copy goes: the offline root for every type that begins "TEXT" (so
// "TEXT" without a slash, of category Other, is stored there too), the media
// folder for images, sound and video, the others folder for the rest.
enum class CopyFolder { Root, Media, Others };
CopyFolder CopyFolderFor(std::string_view mimeType);

// The file extension (with its point) of a local copy of the MIME type
// (upper case, matched whole); ".!!!" when unknown.
std::string ExtensionFor(std::string_view mimeType);

// True when a copied file's path has one of the media extensions (its text
// from the last "." after its last separator, compared exactly: copies get
// upper-case extensions). Such files are listed on the image index pages;
// the rule goes by extension, so a VRML world stored with the other files
// is listed and an X pixmap stored with the media is not.
bool IsMediaPath(std::string_view path);

}  // namespace restash
