#include "gui/file_chooser.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "core/platform/paths.h"
#include "gui/qt_text.h"

namespace restash {

std::vector<std::string> SplitPatterns(const std::string& patterns) {
    std::vector<std::string> out;
    std::string current;
    for (char c : patterns) {
        if (c == ';') {
            if (!current.empty()) out.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) out.push_back(current);
    return out;
}

QString NameFilter(const std::string& description, const std::vector<std::string>& patterns) {
    QStringList globs;
    for (const std::string& p : patterns) {
        const QString pattern = PathText(p);
        if (!globs.contains(pattern)) globs << pattern;
        if (!globs.contains(pattern.toLower())) globs << pattern.toLower();
    }
    if (globs.isEmpty()) globs << QStringLiteral("*");
    return QStringLiteral("%1 (%2)").arg(PathText(description), globs.join(QLatin1Char(' ')));
}

QString NameFilter(const FileFilter& filter) { return NameFilter(filter.description, filter.patterns); }

std::vector<FileFilter> ProgramFilters(const std::string& exeName) {
    return {{"Programs", {}, true}, {"All files", {}, false}, {"Netscape EXE", SplitPatterns(exeName), false}};
}

namespace {

std::string ExistingFolder(const std::string& folder) {
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return {};
    return AbsolutePath(folder);
}

}  // namespace

std::string StartFolderForFile(const std::string& value) { return ExistingFolder(DirPart(value)); }

std::string StartFolderForProgram(const std::string& value) {
    if (value.find('/') != std::string::npos) return StartFolderForFile(value);
    const QString found = value.empty() ? QString() : QStandardPaths::findExecutable(PathText(value));
    return found.isEmpty() ? std::string() : StartFolderForFile(PathBytes(found));
}

std::string StartFolderForFolder(const std::string& value) { return ExistingFolder(value); }

bool ConfirmDirectory(const std::string& path, Messages& messages) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return true;
    if (messages.Show(MessageKind::Confirmation, kCreateDirectoryQuestion, Buttons::YesNo) != Answer::Yes)
        return false;
    std::filesystem::create_directories(path, ec);
    if (ec || !std::filesystem::is_directory(path)) {
        messages.ShowError("Cannot create " + path + ": " + (ec ? ec.message() : std::string("not a directory")));
        return false;
    }
    return true;
}

namespace {

QString StartDirectory(const std::string& folder) {
    return folder.empty() ? QDir::homePath() : PathText(folder);
}

}  // namespace

// Hides the files that may not be run while a programs-only choice is on;
// folders always show, so the user can walk to the program.
class FileDialog::ProgramsOnly final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetOn(bool on) {
        if (on == on_) return;
        on_ = on;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (!on_) return true;
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files) return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }

private:
    bool on_ = false;
};

FileDialog::FileDialog(QWidget* parent, const FileQuestion& question)
    : QFileDialog(parent, PathText(question.title)), programsOnly_(new ProgramsOnly(this)) {
    setObjectName(QStringLiteral("BrowseDialog"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setProxyModel(programsOnly_);
    QStringList names;
    QStringList programNames;
    for (const FileFilter& filter : question.filters) {
        names << NameFilter(filter);
        if (filter.programsOnly) programNames << names.back();
    }
    setNameFilters(names);
    if (!names.isEmpty()) selectNameFilter(names.first());
    programsOnly_->SetOn(!names.isEmpty() && programNames.contains(names.first()));
    connect(this, &QFileDialog::filterSelected, this,
            [this, programNames](const QString& chosen) { programsOnly_->SetOn(programNames.contains(chosen)); });
    setDirectory(StartDirectory(question.startFolder));
}

DirectoryDialog::DirectoryDialog(QWidget* parent, const QString& title, Messages& messages)
    : QFileDialog(parent, title), messages_(messages) {
    setObjectName(QStringLiteral("DirectoryDialog"));
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, true);
    // Qt's own dialog: it lets accept() see a name typed for a new directory.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(QFileDialog::AcceptOpen);
}

void DirectoryDialog::accept() {
    QString chosen;
    if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); edit && !edit->text().isEmpty()) {
        chosen = QDir(directory()).absoluteFilePath(edit->text());
    } else if (!selectedFiles().isEmpty()) {
        chosen = selectedFiles().first();
    }
    if (chosen.isEmpty()) return;
    // No leaves the chooser open for another choice.
    if (!ConfirmDirectory(PathBytes(QDir::cleanPath(chosen)), messages_)) return;
    selectFile(chosen);
    setDirectory(chosen);
    QDialog::accept();
}

std::optional<std::string> QtFileChooser::OpenFile(QWidget* parent, const FileQuestion& question) {
    FileDialog dialog(parent, question);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return PathBytes(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath());
}

std::optional<std::string> QtFileChooser::ChooseDirectory(QWidget* parent, const std::string& title,
                                                          const std::string& startFolder) {
    DirectoryDialog dialog(parent, PathText(title), messages_);
    dialog.setDirectory(StartDirectory(startFolder));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return PathBytes(QDir::cleanPath(dialog.directory().absolutePath()));
}

}  // namespace restash
