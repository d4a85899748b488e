#pragma once
// Choosing a file to open or save: Qt's file dialogs in the program, a scripted answer in tests. Filters
// are Qt filter strings ("Profile (*.xml)"); an empty result means the user cancelled.

#include <QString>

class QFileDialog;
class QWidget;

namespace quorvel {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // An existing file to read.
    virtual QString OpenFile(QWidget* owner, const QString& title, const QString& filter) = 0;
    // A file to write: `suggested` is the proposed name, `suffix` is added when the user typed none (without
    // its dot). Asks before an existing file is replaced.
    virtual QString SaveFile(QWidget* owner, const QString& title, const QString& suggested, const QString& filter,
                             const QString& suffix) = 0;
};

// Where the program's dialogs open: the user's documents folder, or the home folder when there is none.
QString StartFolder();
// The program's dialogs in its own look (Qt's dialog in the program's style), opening in StartFolder().
void PrepareFileDialog(QFileDialog& dialog);

// The program's: QFileDialog.
class QtFileDialogs : public FileDialogs {
public:
    QString OpenFile(QWidget* owner, const QString& title, const QString& filter) override;
    QString SaveFile(QWidget* owner, const QString& title, const QString& suggested, const QString& filter,
                     const QString& suffix) override;
};

}  // namespace quorvel
