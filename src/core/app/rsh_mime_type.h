#pragma once
// The index pages are named *.RSH and *.RSI (RESULTS.RSH, 0.RSH, 0.RSI);
// browsers show them as pages only when the desktop's MIME database maps
// those endings to HTML. Browsers match the database's globs by letter case,
// and update-mime-database folds a glob to lower case unless it is marked
// case-sensitive, so the upper-case endings are listed as such.
#include <string>

namespace restash {

// The shared-mime-info package that maps *.rsh, *.RSH, *.rsi and *.RSI to
// text/html (the same text as assets/restash-rsh.xml).
extern const char* const kRshMimePackage;

// Puts the package into $XDG_DATA_HOME/mime/packages/restash-rsh.xml
// (default ~/.local/share) and runs update-mime-database on that MIME folder
// when the package is new or changed. Quiet: every failure is ignored, since
// the index still opens without it.
void RegisterRshType();

}  // namespace restash
