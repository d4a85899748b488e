#include "ui/common/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace quorvel {

QString StartFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents;
    return QDir::homePath();
}

void PrepareFileDialog(QFileDialog& dialog) {
    // Qt's own dialog, not the desktop's: it is drawn with the program's style and dark palette.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(StartFolder());
}

QString QtFileDialogs::OpenFile(QWidget* owner, const QString& title, const QString& filter) {
    QFileDialog dialog(owner, title, QString(), filter);
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogs::SaveFile(QWidget* owner, const QString& title, const QString& suggested,
                                const QString& filter, const QString& suffix) {
    QFileDialog dialog(owner, title, QString(), filter);
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace quorvel
