#include "gui/file_chooser.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <filesystem>
#include <system_error>

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
    return QStringLiteral("%1 (%2)").arg(PathText(description), globs.join(QLatin1Char(' ')));
}

bool ConfirmDirectory(const std::string& path, Messages& messages) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return true;
    if (messages.Show(MessageKind::Confirmation, "The specified directory does not exist. Create it?",
                      Buttons::YesNo) != Answer::Yes)
        return false;
    std::filesystem::create_directories(path, ec);
    if (ec || !std::filesystem::is_directory(path)) {
        messages.ShowError("Cannot create " + path + ": " + (ec ? ec.message() : std::string("not a directory")));
        return false;
    }
    return true;
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

std::optional<std::string> QtFileChooser::OpenFile(QWidget* parent, const std::string& title,
                                                   const std::string& description,
                                                   const std::vector<std::string>& patterns) {
    QFileDialog dialog(parent, PathText(title));
    dialog.setObjectName(QStringLiteral("BrowseDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(NameFilter(description, patterns));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return PathBytes(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath());
}

std::optional<std::string> QtFileChooser::ChooseDirectory(QWidget* parent, const std::string& title) {
    DirectoryDialog dialog(parent, PathText(title), messages_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return PathBytes(QDir::cleanPath(dialog.directory().absolutePath()));
}

}  // namespace restash
