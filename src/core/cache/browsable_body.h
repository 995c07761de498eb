#pragma once
// An entry's body as a browser shows it: the stored bytes decoded from the
// content coding the response head names. The offline copy, its search and
// the link converter work on this; the web-archive export keeps the stored
// bytes.
#include <memory>
#include <streambuf>
#include <string>

#include "core/cache/cache_source.h"
#include "core/cache/stored_body.h"
#include "core/platform/file_system.h"

namespace restash {

// Feeds the decoded body to sink, with the statuses of ReadDecodedBody: a
// body stored without a coding is Decoded as it is. Throws FileError naming
// the body when it cannot be read.
DecodeStatus ReadBrowsableBody(const EntryBody& body, const BodySink& sink, std::string* problem = nullptr);

// The decoded body as a stream that ends where decoding ends (a body cut
// short gives what it held). Throws FileError as EntryBody::Open does.
std::unique_ptr<std::streambuf> OpenBrowsable(const EntryBody& body);

// Copies the decoded body into to; a body that is not of its coding is
// copied as stored instead (Failed), a body cut short as far as it decodes
// (Truncated). Throws FileError naming the body or to.
DecodeStatus CopyBrowsableBody(const EntryBody& body, FileSystem& fs, const std::string& to,
                               std::string* problem = nullptr);

}  // namespace restash
