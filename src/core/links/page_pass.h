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
// it has no title. Returns the page title. Throws FileError when reading,
// writing or a history record fails.
std::string PassPage(std::istream& in, OutputFile& out, std::string baseURL, std::string_view pageURL,
                     LinkContext& context, const Emphasis& emphasis);

// PassPage from page (the unconverted bytes, read once) into a new file
// outPath, closed at the end.
std::string ConvertPageFile(FileSystem& fs, std::streambuf& page, const std::string& outPath,
                            const std::string& baseURL, std::string_view pageURL, LinkContext& context,
                            const Emphasis& emphasis);

// A title as the index shows it: characters below 32, "<" and above 126
// removed, then blanks at both ends.
std::string CleanTitle(std::string_view title);

// The title a page is listed under: its clean title, or else its URL, shown
// as "..." and its last 28 characters when longer than 30.
std::string ListedTitle(std::string_view rawTitle, std::string_view pageURL);

}  // namespace restash
