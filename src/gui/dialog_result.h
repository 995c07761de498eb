#pragma once
// The results the selection window and the progress window close with. The
// selection window passes ViewIndex and DoNotView on from the progress
// window; the main window opens the index page after ViewIndex.
namespace restash {

enum class DialogResult { ViewIndex = 1, Cancelled = 2, Stopped = 3, DoNotView = 4 };

// The int QDialog::done() and exec() carry.
constexpr int Code(DialogResult result) { return static_cast<int>(result); }

}  // namespace restash
