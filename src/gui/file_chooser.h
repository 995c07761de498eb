#pragma once
// The file-open dialog and the directory chooser of the Setup dialog, behind
// an interface so tests can answer them.
#include <optional>
#include <string>
#include <vector>

#include <QFileDialog>

#include "core/platform/messages.h"

class QWidget;

namespace restash {

// One choice of a file dialog's type list.
struct FileFilter {
    std::string description;            // "Cache File"
    std::vector<std::string> patterns;  // "FAT", "*.DB"; none: every name
    bool programsOnly = false;          // only files the user may run
};

// What a Browse button asks for.
struct FileQuestion {
    std::string title;
    std::vector<FileFilter> filters;  // the first is the one chosen at first
    std::string startFolder;          // where the dialog opens; empty: the user's home
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // A file that must exist; nothing when the user cancels.
    virtual std::optional<std::string> OpenFile(QWidget* parent, const FileQuestion& question) = 0;
    // A directory, which the user may name before it exists (it is then
    // created); nothing when the user cancels.
    virtual std::optional<std::string> ChooseDirectory(QWidget* parent, const std::string& title,
                                                       const std::string& startFolder) = 0;
};

// The filter patterns of a Browse button: "FAT;*.DB" gives FAT and *.DB.
std::vector<std::string> SplitPatterns(const std::string& patterns);
// The Qt name filter "Cache File (FAT fat *.DB *.db)": each pattern also in
// lower case, since a FAT volume mounted on Linux shows its names so. A
// filter without patterns takes every name: "All files (*)".
QString NameFilter(const std::string& description, const std::vector<std::string>& patterns);
QString NameFilter(const FileFilter& filter);

// The choices of the program's Browse dialog: the programs, every file,
// then the filter of the settings file (config/exename).
std::vector<FileFilter> ProgramFilters(const std::string& exeName);

// Where a Browse dialog opens for the value in its field: the folder of the
// file it names, or the folder itself for a folder value; empty (the user's
// home) when that folder does not exist. A program named without a folder
// is looked for on the search path.
std::string StartFolderForFile(const std::string& value);
std::string StartFolderForProgram(const std::string& value);
std::string StartFolderForFolder(const std::string& value);

inline constexpr const char* kCreateDirectoryQuestion = "The specified directory does not exist. Create it?";

// When path does not exist: asks "The specified directory does not exist.
// Create it?" and on Yes creates it with its missing parents. True when the
// directory exists afterwards; a failure to create it is shown as an error.
bool ConfirmDirectory(const std::string& path, Messages& messages);

// The file-open dialog: Qt's own, since the "Programs" choice tests each
// file for whether it may be run, which a name pattern cannot.
class FileDialog final : public QFileDialog {
    Q_OBJECT
public:
    FileDialog(QWidget* parent, const FileQuestion& question);

private:
    class ProgramsOnly;
    ProgramsOnly* programsOnly_;
};

// The directory chooser: Qt's own dialog, which lets the user type the name
// of a directory that does not exist yet and offers to create it.
class DirectoryDialog final : public QFileDialog {
    Q_OBJECT
public:
    DirectoryDialog(QWidget* parent, const QString& title, Messages& messages);
    void accept() override;

private:
    Messages& messages_;
};

class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(Messages& messages) : messages_(messages) {}
    std::optional<std::string> OpenFile(QWidget* parent, const FileQuestion& question) override;
    std::optional<std::string> ChooseDirectory(QWidget* parent, const std::string& title,
                                               const std::string& startFolder) override;

private:
    Messages& messages_;
};

}  // namespace restash
