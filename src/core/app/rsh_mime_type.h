#pragma once
// The search results page is named RESULTS.RSH; browsers show it as a page
// only when the desktop's MIME database maps the .RSH ending to HTML.
#include <string>

namespace restash {

// The shared-mime-info package that maps *.rsh and *.RSH to text/html (the
// same text as assets/restash-rsh.xml).
extern const char* const kRshMimePackage;

// Puts the package into $XDG_DATA_HOME/mime/packages/restash-rsh.xml
// (default ~/.local/share) and runs update-mime-database on that MIME folder
// when the package is new or changed. Quiet: every failure is ignored, since
// the index still opens without it.
void RegisterRshType();

}  // namespace restash
