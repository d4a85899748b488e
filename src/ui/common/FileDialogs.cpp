#include "ui/common/FileDialogs.h"

#include <QFileDialog>

namespace quorvel {

QString QtFileDialogs::OpenFile(QWidget* owner, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(owner, title, QString(), filter);
}

QString QtFileDialogs::SaveFile(QWidget* owner, const QString& title, const QString& suggested,
                                const QString& filter, const QString& suffix) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace quorvel
