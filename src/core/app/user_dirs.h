#pragma once
// The user's folders as a freedesktop system names them.
#include <string>

namespace restash {

// $HOME, else the home folder of the user's account; no trailing "/".
std::string HomeDir();

// $XDG_CONFIG_HOME when set to an absolute path, else ~/.config; no trailing "/".
std::string ConfigHome();

// $XDG_DATA_HOME when set to an absolute path, else ~/.local/share; no trailing "/".
std::string DataHome();

}  // namespace restash
