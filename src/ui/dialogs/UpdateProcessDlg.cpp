#include "ui/dialogs/UpdateProcessDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {}  // namespace

UpdateProcessDlg::UpdateProcessDlg(QWidget* owner)
    : ProgressDialog(owner, "UpdateProcessDlg", kDesignSize, {kStatus, kProgress, kCancel}) {
    const int R = kDesignSize.width(), B = kDesignSize.height();
    Layout().Add(status_, Ltrb(24, 24, R - 24, 50));
    status_->setFont(UiFont(15));
    QPalette white = status_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    status_->setPalette(white);
    Texts().BindComposed(
        status_, {txt::kDownloading},
        [this] { return QStringLiteral("%1: %2%").arg(Text(txt::kDownloading)).arg(Progress()); },
        [this](const QString& s) { status_->setText(s); });
    Layout().Add(bar_, Ltrb(24, 58, R - 24, 76));
    Layout().Add(cancel_, Ltrb(R - 24 - 110, B - 50, R - 24, B - 16));
}

void UpdateProcessDlg::SetDownloadProgress(int percent) {
    SetPercent(percent);
    status_->setText(QStringLiteral("%1: %2%").arg(Text(txt::kDownloading)).arg(Progress()));
}

}  // namespace quorvel
