#pragma once
// Checks shared by the Mozilla-family reader tests: every sample object with
// a body is listed exactly once, with its address, MIME type, kind and bytes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/cache/stored_body.h"
#include "core/cache/stored_entry.h"
#include "tests/support/web_objects.h"

namespace restash::test {

// entries: what a reader gave. Objects whose body is missing must be listed
// with Missing() bodies when listsMissing, and not at all otherwise.
inline void ExpectSampleSite(const std::vector<const StoredEntry*>& entries, bool listsMissing = true) {
    std::map<std::string, int> seen;
    for (const StoredEntry* e : entries) ++seen[e->address];
    for (const WebObject& o : SampleSite()) {
        SCOPED_TRACE(o.address);
        if (o.bodyMissing && !listsMissing) {
            EXPECT_EQ(seen.count(o.address), 0u);
            continue;
        }
        ASSERT_EQ(seen[o.address], 1);
        const StoredEntry* e = nullptr;
        for (const StoredEntry* c : entries)
            if (c->address == o.address) e = c;
        const CacheEntry facts = ToCacheEntry(*e);
        EXPECT_EQ(facts.MimeType, o.mimeType);
        EXPECT_EQ(facts.category, ClassifyMimeType(o.mimeType));
        EXPECT_EQ(facts.Stamp, static_cast<std::int32_t>(o.lastFetched));
        EXPECT_EQ(facts.Domain, "www.example.com");
        EXPECT_EQ(e->method, o.method);
        EXPECT_EQ(e->postId.empty(), o.postId == 0);
        EXPECT_EQ(e->responseHead, o.responseHead);
        if (o.bodyMissing) {
            EXPECT_TRUE(e->body.Missing());
            continue;
        }
        EXPECT_EQ(ReadStoredBodyBytes(e->body), o.body);
        std::string decoded;
        ReadDecodedBody(e->body, CodingOf(facts.ContentEncoding), [&](std::string_view piece) {
            decoded += piece;
            return true;
        });
        EXPECT_EQ(decoded, o.decoded);
    }
}

}  // namespace restash::test
