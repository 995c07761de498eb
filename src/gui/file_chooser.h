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

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // A file that must exist; nothing when the user cancels. patterns are
    // the filter's patterns ("FAT", "*.DB").
    virtual std::optional<std::string> OpenFile(QWidget* parent, const std::string& title,
                                                const std::string& description,
                                                const std::vector<std::string>& patterns) = 0;
    // A directory, which the user may name before it exists (it is then
    // created); nothing when the user cancels.
    virtual std::optional<std::string> ChooseDirectory(QWidget* parent, const std::string& title) = 0;
};

// The filter patterns of a Browse button: "FAT;*.DB" gives FAT and *.DB.
std::vector<std::string> SplitPatterns(const std::string& patterns);
// The Qt name filter "Cache File (FAT fat *.DB *.db)": each pattern also in
// lower case, since a FAT volume mounted on Linux shows its names so.
QString NameFilter(const std::string& description, const std::vector<std::string>& patterns);

// When path does not exist: asks "The specified directory does not exist.
// Create it?" and on Yes creates it with its missing parents. True when the
// directory exists afterwards; a failure to create it is shown as an error.
bool ConfirmDirectory(const std::string& path, Messages& messages);

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
    std::optional<std::string> OpenFile(QWidget* parent, const std::string& title, const std::string& description,
                                        const std::vector<std::string>& patterns) override;
    std::optional<std::string> ChooseDirectory(QWidget* parent, const std::string& title) override;

private:
    Messages& messages_;
};

}  // namespace restash
