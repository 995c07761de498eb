#pragma once
// The names of the offline tree, in one place. Every name is upper case: the
// run makes and addresses each file by exactly this name. Folder names end in
// "/"; paths below the offline root are relative to it with "/" between
// folder and file.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace restash {

// What the offline root adds to the folder the user chose (the offlinedir setting).
inline constexpr const char* kOfflineFolder = "OFFLINE/";

// The folders below the root: images, sound and video; every other non-text
// file; the unconverted pages while a run works.
inline constexpr const char* kMediaFolder = "MEDIA/";
inline constexpr const char* kOthersFolder = "OTHERS/";
inline constexpr const char* kTempFolder = "TEMP/";

// The index page (during a run also the placeholder in TEMP/), the page list
// the search reads, and the search results page.
inline constexpr const char* kIndexPage = "HTMINDEX.HTM";
inline constexpr const char* kPageList = "HTMLIST";
inline constexpr const char* kResultsPage = "RESULTS.RSH";

// The frames of the frameset index.
inline constexpr const char* kWelcomePage = "RESTASH.RSH";
inline constexpr const char* kButtonsPage = "BUTTONS.RSH";
inline constexpr const char* kDomainsPage = "DOMAINS.RSH";

// The page of chosen domain number n ("0.RSH") and its image index ("0.RSI").
std::string DomainPage(std::size_t n);
std::string ImageIndexPage(std::size_t n);

// The support images, copied into the media folder by every run.
inline constexpr const char* kNotFoundImage = "NOTFOUND.GIF";
inline constexpr const char* kDomainUpImage = "DOMAINUP.GIF";
inline constexpr const char* kDomainDownImage = "DOMAINDN.GIF";
inline constexpr const char* kIndexImage = "INDEX.GIF";
inline constexpr const char* kIndexButtonImage = "I_BUTTON.GIF";
inline constexpr const char* kRightImage = "RIGHT.GIF";
inline constexpr const char* kResultsImage = "RESULTS.GIF";
inline constexpr const char* kInfoImage = "INFO.GIF";
inline constexpr const char* kSiteLogoImage = "SITELOGO.GIF";
inline constexpr const char* kTitleImage = "RESTASH.GIF";

// All ten, in the order a run copies them.
inline constexpr std::array<const char*, 10> kSupportImages = {
    kNotFoundImage, kDomainUpImage,  kDomainDownImage, kIndexImage,    kIndexButtonImage,
    kRightImage,    kResultsImage,   kInfoImage,       kSiteLogoImage, kTitleImage};

// A support image's path below the root: "MEDIA/" + name.
std::string MediaPath(std::string_view image);

}  // namespace restash
