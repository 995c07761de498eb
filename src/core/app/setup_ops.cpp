#include "core/app/setup_ops.h"

#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace restash {

SetupFields ShowSetup(const Settings& settings) {
    SetupFields fields;
    fields.cacheIndex = settings.CacheIndexPath();
    fields.browserProgram = settings.NetscapeProgramPath();
    fields.historyFile = settings.HistPath;
    // The stored offlinedir value: the offline root without its own folder.
    const std::string_view root = settings.OfflineDir;
    const std::string_view folder = kOfflineFolder;
    fields.offlineFolder = std::string(root.ends_with(folder) ? root.substr(0, root.size() - folder.size()) : root);
    return fields;
}

void ApplySetup(Settings& settings, const SetupFields& fields, IniFile& file) {
    settings.CacheDir = WithTrailingSeparator(DirPart(fields.cacheIndex));
    settings.FatName = Cut(FilePart(fields.cacheIndex), kShortNameLength);
    if (IsDirectory(fields.cacheIndex)) UseCacheFolder(settings, fields.cacheIndex);

    settings.NetscapeExe = FilePart(fields.browserProgram);  // whole, as a start needs it
    settings.NetscapeDir = DirPart(fields.browserProgram);

    settings.HistPath = fields.historyFile;

    // A folder typed without its closing separator still names that folder,
    // not a prefix of the offline root's name.
    const std::string offline = WithTrailingSeparator(fields.offlineFolder);

    file.WriteString("paths", "cachedir", settings.CacheIndexPath());
    file.WriteString("paths", "histpath", settings.HistPath);
    file.WriteString("paths", "netspath", settings.NetscapeProgramPath());
    file.WriteString("paths", "offlinedir", offline);

    settings.OfflineDir = offline + kOfflineFolder;
}

PreferencesFields ShowPreferences(const Settings& settings) {
    return {ClampGmt(settings.GMT), settings.NotFoundURL, settings.EmphTag};
}

void ApplyPreferences(Settings& settings, const PreferencesFields& fields, IniFile& file) {
    // The field pulls a value into range when the user leaves it; a value
    // typed out of range and confirmed with Enter is taken as typed.
    settings.GMT = fields.gmtHours;
    settings.NotFoundURL = fields.keepAddresses;
    settings.EmphTag = fields.emphasise;
    file.WriteInteger("preferences", "GMT", settings.GMT);
    file.WriteBool("preferences", "NotFoundURL", settings.NotFoundURL);
    file.WriteBool("preferences", "EmphTag", settings.EmphTag);
}

int ParseSpinValue(std::string_view text) {
    std::int32_t value = 0;
    return ParseDecimalInteger(text, value) ? value : kMinGmt;
}

int ClampGmt(int value) { return value < kMinGmt ? kMinGmt : value > kMaxGmt ? kMaxGmt : value; }

bool SpinAcceptsKey(char key, char decimalSeparator) {
    if (key >= '0' && key <= '9') return true;
    if (key == '+' || key == '-' || key == decimalSeparator) return true;
    const auto code = static_cast<unsigned char>(key);
    return code < 32 && key != '\r';
}

}  // namespace restash
