#pragma once
// The page pass: streams one staged page into its converted copy, handing
// every tag to the link converter, and finds the page's title on the way.
#include <istream>
#include <string>
#include <string_view>

#include "core/links/link_context.h"
#include "core/platform/file_system.h"

namespace restash {

// How tags with an available hyperlink are emphasised.
struct Emphasis {
    bool on = true;             // Settings.EmphTag
    std::string tag = "BLINK";  // Settings.Tag
};

// Converts the page read from in into out. baseURL is the page's directory
// (a BASE tag moves it for the rest of the page); pageURL names the page when
// it has no title. charset is the character set the cache gives for the page
// from outside it (its response head); the copy then declares it in a META
// tag at the start of its head, since a page opened from a file has no head
// to say it. Returns the page title in UTF-8. Throws FileError when reading,
// writing or a history record fails.
std::string PassPage(std::istream& in, OutputFile& out, std::string baseURL, std::string_view pageURL,
                     LinkContext& context, const Emphasis& emphasis, std::string_view charset = {});

// PassPage from page (the unconverted bytes, read once) into a new file
// outPath, closed at the end.
std::string ConvertPageFile(FileSystem& fs, std::streambuf& page, const std::string& outPath,
                            const std::string& baseURL, std::string_view pageURL, LinkContext& context,
                            const Emphasis& emphasis, std::string_view charset = {});

// A title as the index shows it, in UTF-8: its bytes read in the page's
// charset (windows-1252 when it has none), control characters and "<"
// removed, then blanks at both ends.
std::string CleanTitle(std::string_view title, std::string_view charset = {});

// The title a page is listed under: its clean title, or else its URL (read
// as Latin-1), shown as "..." and its last 28 characters when longer than 30.
std::string ListedTitle(std::string_view rawTitle, std::string_view pageURL, std::string_view charset = {});

}  // namespace restash
