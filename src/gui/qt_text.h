#pragma once
// Where core text (bytes) meets Qt text. Paths are the file system's bytes
// (UTF-8 on Linux); data taken from a cache index (domain names) is
// single-byte text read as Latin-1, so it goes back to the core unchanged.
#include <QString>
#include <string>
#include <string_view>

namespace restash {

// A path as the file system names it, for an edit field.
QString PathText(std::string_view path);
// An edit field's path as the file system's bytes.
std::string PathBytes(const QString& path);

// Bytes read as Latin-1, and back: every byte survives the round trip.
QString DataText(std::string_view bytes);
std::string DataBytes(const QString& text);

// A message text: UTF-8 when the bytes are valid UTF-8 (paths, typed text),
// Latin-1 otherwise (text from old pages).
QString MessageText(std::string_view bytes);

}  // namespace restash
