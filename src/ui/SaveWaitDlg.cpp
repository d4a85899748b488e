#include "ui/SaveWaitDlg.h"

namespace quorvel {

SaveWaitDlg::SaveWaitDlg(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SaveWaitDlg"));
}

void SaveWaitDlg::ShowSaving() {}

}  // namespace quorvel
