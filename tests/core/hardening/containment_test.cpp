// What a hostile or damaged cache cannot make Restash do: read, copy or
// delete a file outside the cache folder (absolute names, ".." components,
// symbolic links that lead out), or write outside the offline root; and a
// cache on a read-only disk uncaches normally while a deletion there fails
// with a clear error and changes nothing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "core/cache/cache_folder.h"
#include "core/cache/netscape_source.h"
#include "core/platform/error.h"
#include "core/platform/text.h"
#include "core/selection/domain_tally.h"
#include "core/web/url.h"
#include "tests/core/jobs/delete_fixture.h"
#include "tests/core/hardening/hardening_fixture.h"
#include "tests/support/faulty_file_system.h"

namespace fs = std::filesystem;

namespace restash::test {
namespace {

constexpr const char* kSecret = "SECRET BYTES FROM OUTSIDE THE CACHE";

// A folder beside the cache with files a hostile index aims at.
struct Outside {
    std::string dir;
    explicit Outside(const TempDir& root) : dir(root / "outside/") {
        RealFileSystem().CreateDirectories(dir + "sub");
        for (const char* name : {"S1.HTM", "S2.GIF", "S3.GIF", "S4.GIF", "S5.GIF", "sub/S6.GIF", "S7.HTM"})
            WriteBytes(dir + name, std::string(kSecret) + " " + name);
    }
};

NsObject Named(std::string url, std::string file, std::string mime) {
    NsObject o = Obj(std::move(url), std::move(file), std::move(mime));
    o.writeFile = false;  // the name leads out of the cache; nothing is written there
    return o;
}

// Names that lead out of the cache folder, as a hash index can hold them.
std::vector<NsObject> HostileObjects(const std::string& outside) {
    return {Named("http://evil.example/1.html", outside + "S1.HTM", "text/html"),
            Named("http://evil.example/2.gif", "../outside/S2.GIF", "image/gif"),
            Named("http://evil.example/3.gif", "00/../../outside/S3.GIF", "image/gif"),
            Named("http://evil.example/4.gif", "..\\outside\\S4.GIF", "image/gif"),
            Named("http://evil.example/5.gif", "LINK.GIF", "image/gif"),
            Named("http://evil.example/6.gif", "LINKDIR/S6.GIF", "image/gif"),
            Named("http://evil.example/7.html", "C:\\outside\\S7.HTM", "text/html")};
}

// Symbolic links inside the cache folder that lead out of it.
void PlantLinks(const std::string& cache, const std::string& outside) {
    fs::create_symlink(outside + "S5.GIF", cache + "LINK.GIF");
    fs::create_directory_symlink(outside + "sub", cache + "LINKDIR");
}

bool HoldsSecret(const Tree& tree) {
    for (const auto& [name, bytes] : tree)
        if (bytes.find(kSecret) != std::string::npos) return true;
    return false;
}

// --- Reading ---------------------------------------------------------------

TEST(HostileIndex, TheReaderTreatsNamesThatLeaveTheCacheAsMissing) {
    DeleteFixture f;
    Outside outside(f.dir);
    std::vector<NsObject> objects = HostileObjects(outside.dir);
    objects.push_back(Obj("http://good.example/", "M0001.HTM", "text/html"));
    WriteHashCache(f.cache, objects);
    PlantLinks(f.cache, outside.dir);

    CacheEntryList entries;
    NullProgress quiet;
    NetscapeHashSource(f.cache + "FAT.DB").Read(entries, quiet);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Body.Name, "M0001.HTM");
}

TEST(HostileIndex, ALinkThatStaysInsideTheCacheIsFollowed) {
    TempDir dir;
    const std::string cache = dir / "cache/";
    RealFileSystem().CreateDirectories(cache + "00");
    WriteBytes(cache + "00/REAL.GIF", "GIF89a");
    fs::create_symlink(cache + "00/REAL.GIF", cache + "ALIAS.GIF");
    const CacheFolder folder(cache);
    EXPECT_TRUE(folder.Exists("alias.gif"));
    EXPECT_TRUE(folder.Exists("00\\real.gif"));
}

// --- Copying and writing ---------------------------------------------------

// Entries made straight from the hostile names, past the reader: the run
// must refuse them on its own.
TEST(HostileIndex, ARunCopiesNothingFromOutsideAndWritesOnlyBelowTheOfflineRoot) {
    RunFixture f;
    Outside outside(f.dir);
    PlantLinks(f.settings.CacheDir, outside.dir);
    f.ReadIndex();
    for (const NsObject& o : HostileObjects(outside.dir)) {
        CacheEntry e;
        e.Stamp = 899000000;
        e.Body.Name = o.fileName;
        e.Url = o.url;
        e.MimeType = ToUpperAscii(o.mimeType);
        e.Domain = "evil.example";
        e.category = ClassifyMimeType(e.MimeType);
        f.entries.push_back(e);
    }
    // Addresses that try to steer where a copy goes.
    for (const char* url : {"http://evil.example/../../../../outside/X.GIF", "http://evil.example/..%2F..%2Fx.gif",
                            "http://evil.example/a/..\\..\\..\\y.gif", "../../../../z.gif"}) {
        CacheEntry e;
        e.Stamp = 899000000;
        e.Body.Name = "M0000003.GIF";  // a real cache file
        e.Url = url;
        e.MimeType = "IMAGE/GIF";
        e.Domain = DomainOf(url);
        e.category = Category::Media;
        f.entries.push_back(e);
        f.selection.Domains.Add(e.Domain);
    }
    f.selection.Domains.Add("evil.example");

    const Tree before = Snapshot(f.dir.path());
    const RunOutcome outcome = f.Run(RealFileSystem());
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_TRUE(outcome.copyFailures.empty());

    const std::string offlineRel = "out/OFFLINE/";
    const std::string historyRel = "netscape/NETSCAPE.HST";
    const Tree after = Snapshot(f.dir.path());
    for (const auto& [name, bytes] : after) {
        if (name.starts_with(offlineRel) || name == historyRel) continue;
        ASSERT_TRUE(before.count(name)) << "written outside the offline root: " << name;
        EXPECT_EQ(bytes, before.at(name)) << name;
    }
    for (const auto& [name, bytes] : before) EXPECT_TRUE(after.count(name)) << "removed: " << name;
    EXPECT_FALSE(HoldsSecret(Snapshot(f.settings.OfflineDir)));
    // The four steered copies landed in MEDIA under 8.3 names.
    std::size_t media = 0;
    for (const auto& [name, bytes] : Snapshot(f.settings.OfflineDir + "MEDIA/")) media += bytes == f.objects[2].body;
    EXPECT_EQ(media, 5u);  // the picture itself and the four
}

// --- Deleting ----------------------------------------------------------------

// Deletes everything chosen: only the one real cache file goes.
void ExpectDeletionStaysInside(DeleteFixture& f, const Outside& outside) {
    const Tree outsideBefore = Snapshot(outside.dir);
    f.messages.Answer(Answer::Yes);
    const Deleted s = f.Delete();
    EXPECT_TRUE(s.deleted);
    EXPECT_EQ(s.filesDeleted, 1u);
    EXPECT_EQ(Snapshot(outside.dir), outsideBefore);
    // The links themselves stay: they are not cache files.
    EXPECT_TRUE(fs::is_symlink(f.cache + "LINK.GIF"));
}

TEST(HostileIndex, ADeletionRemovesNothingOutsideTheCacheFolder) {
    DeleteFixture f;
    Outside outside(f.dir);
    f.fatName = "FAT.DB";
    WriteHashCache(f.cache, {Obj("http://evil.example/", "M0001.HTM", "text/html")});
    PlantLinks(f.cache, outside.dir);
    f.Open(IndexFormat::HashIndex);
    // Hostile entries put in the list past the reader.
    for (const NsObject& o : HostileObjects(outside.dir)) {
        CacheEntry e = f.model.Entries().front();
        e.Body.Name = o.fileName;
        f.model.MutableEntries().push_back(e);
    }
    f.model.RebuildLists();
    ExpectDeletionStaysInside(f, outside);
}

TEST(HostileIndex, ATextIndexDeletionKeepsFilesOutsideAndLinksThatLeadOut) {
    DeleteFixture f;
    Outside outside(f.dir);
    WriteTextCache(f.cache, {Obj("http://evil.example/", "M0001.HTM", "text/html")});
    PlantLinks(f.cache, outside.dir);
    // Lines whose path fields lead elsewhere: only the file part counts.
    NsObject up = Named("http://evil.example/up", "S1.HTM", "text/html");
    NsObject link = Named("http://evil.example/link", "LINK.GIF", "image/gif");
    NsObject dots = Named("http://evil.example/dots", "..", "text/html");
    WriteBytes(f.IndexPath(), ReadBytes(f.IndexPath()) + TextIndexLine(up, "..\\..\\outside\\") + "\r\n" +
                                  TextIndexLine(link) + "\r\n" + TextIndexLine(dots, "C:\\CACHE\\") + "\r\n");
    f.Open(IndexFormat::TextIndex);
    ExpectDeletionStaysInside(f, outside);
}

// --- A cache on a read-only disk -----------------------------------------

// Both checks run on any cache whose folder refuses every change; fs is what
// the core writes through.
void ExpectReadOnlyCacheUncaches(RunFixture& f, FileSystem& fs) {
    const Tree cacheBefore = Snapshot(f.settings.CacheDir);
    const RunOutcome outcome = f.Run(fs);
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_TRUE(outcome.copyFailures.empty());
    EXPECT_EQ(outcome.filesCopied, f.objects.size());
    EXPECT_EQ(Snapshot(f.settings.CacheDir), cacheBefore);
}

void ExpectReadOnlyDeletionFails(DeleteFixture& f, FileSystem& fs) {
    const Tree before = Snapshot(f.cache);
    f.messages.Answer(Answer::Yes);
    const Deleted d = f.Delete(fs);
    EXPECT_EQ(d.status, JobStatus::Failed) << "the deletion reported success";
    EXPECT_NE(d.failure.text.find("read-only"), std::string::npos) << d.failure.text;
    EXPECT_EQ(d.failure.path.rfind(f.cache, 0), 0u) << d.failure.text;  // names a file of the cache
    EXPECT_EQ(Snapshot(f.cache), before);
    EXPECT_FALSE(FileExists(f.TempFat()));
}

std::vector<NsObject> TwoDomains() {
    return {Obj("http://a.com/", "A1.HTM", "text/html"), Obj("http://a.com/x.gif", "A2.GIF", "image/gif"),
            Obj("http://b.com/", "B1.HTM", "text/html")};
}

TEST(ReadOnlyCache, EmulatedUncachesNormally) {
    RunFixture f;
    FaultyFileSystem fs;
    fs.readOnlyUnder = f.settings.CacheDir;
    ExpectReadOnlyCacheUncaches(f, fs);
}

TEST(ReadOnlyCache, EmulatedDeletionFailsAndChangesNothing) {
    DeleteFixture f;
    WriteTextCache(f.cache, TwoDomains());
    f.Open(IndexFormat::TextIndex);
    f.Unchoose("b.com");
    FaultyFileSystem fs;
    fs.readOnlyUnder = f.cache;
    ExpectReadOnlyDeletionFails(f, fs);
}

// Runs check in a child process in which folder is a read-only bind mount
// (a mount namespace of its own, inside a user namespace when not root).
// Returns false when this machine allows neither.
bool InReadOnlyMount(const std::string& folder, const std::function<void()>& check) {
    int pipefd[2];
    if (::pipe(pipefd) != 0) return false;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipefd[0]);
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWNS) != 0) {
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) ::_exit(77);
            WriteBytes("/proc/self/setgroups", "deny");
            WriteBytes("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
            WriteBytes("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            ::_exit(77);
        // The child's failures travel to the parent as text.
        class Forward : public ::testing::EmptyTestEventListener {
        public:
            explicit Forward(int fd) : fd_(fd) {}
            void OnTestPartResult(const ::testing::TestPartResult& r) override {
                if (!r.failed()) return;
                const std::string line = std::string(r.file_name() ? r.file_name() : "?") + ":" +
                                         std::to_string(r.line_number()) + ": " + r.summary() + "\n";
                [[maybe_unused]] auto n = ::write(fd_, line.data(), line.size());
            }

        private:
            int fd_;
        };
        auto& listeners = ::testing::UnitTest::GetInstance()->listeners();
        delete listeners.Release(listeners.default_result_printer());
        listeners.Append(new Forward(pipefd[1]));
        check();
        ::_exit(0);
    }
    ::close(pipefd[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipefd[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
    ::close(pipefd[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return false;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child ended with " << status;
    EXPECT_EQ(report, "");
    return true;
}

TEST(ReadOnlyCache, OnAReadOnlyMountUncachesNormally) {
    RunFixture f;
    f.ReadIndex();
    if (!InReadOnlyMount(f.settings.CacheDir, [&] {
            // The mount really refuses writes.
            EXPECT_THROW(RealFileSystem().Create(f.settings.CacheDir + "PROBE"), FileError);
            ExpectReadOnlyCacheUncaches(f, RealFileSystem());
        }))
        GTEST_SKIP() << "no read-only bind mount on this machine";
}

TEST(ReadOnlyCache, OnAReadOnlyMountADeletionFailsAndChangesNothing) {
    for (IndexFormat format : {IndexFormat::TextIndex, IndexFormat::HashIndex}) {
        DeleteFixture f;
        if (format == IndexFormat::HashIndex) {
            f.fatName = "FAT.DB";
            WriteHashCache(f.cache, TwoDomains());
        } else {
            WriteTextCache(f.cache, TwoDomains());
        }
        f.Open(format);
        f.Unchoose("b.com");
        if (!InReadOnlyMount(f.cache, [&] {
                if (format == IndexFormat::TextIndex) {
                    ExpectReadOnlyDeletionFails(f, RealFileSystem());
                    return;
                }
                // A hash index is never rewritten: each cache file that
                // cannot go is reported by name, and the list keeps it.
                const Tree before = Snapshot(f.cache);
                f.messages.Answer(Answer::Yes);
                const Deleted s = f.Delete();
                EXPECT_EQ(s.filesDeleted, 0u);
                EXPECT_EQ(s.failures.size(), 2u);
                ASSERT_FALSE(f.messages.shown.empty());
                const std::string& shown = f.messages.shown.back().text;
                EXPECT_NE(shown.find("Could not delete 2 cache file(s)"), std::string::npos) << shown;
                EXPECT_NE(shown.find("read-only"), std::string::npos) << shown;
                EXPECT_NE(shown.find(f.cache + "A1.HTM"), std::string::npos) << shown;
                EXPECT_EQ(Snapshot(f.cache), before);
                EXPECT_EQ(f.model.Entries().size(), 3u);
            }))
            GTEST_SKIP() << "no read-only bind mount on this machine";
    }
}

}  // namespace
}  // namespace restash::test
