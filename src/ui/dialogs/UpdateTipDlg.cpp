#include "ui/dialogs/UpdateTipDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {


}  // namespace

UpdateTipDlg* UpdateTipDlg::Find(QWidget* owner) {
    if (!owner) return nullptr;
    for (UpdateTipDlg* dialog : owner->findChildren<UpdateTipDlg*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!dialog->Finishing()) return dialog;
    }
    return nullptr;
}

UpdateTipDlg* UpdateTipDlg::Open(QWidget* owner) {
    if (UpdateTipDlg* earlier = Find(owner)) earlier->Finish();
    auto* dialog = new UpdateTipDlg(owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

UpdateTipDlg::UpdateTipDlg(QWidget* owner)
    : ProgressDialog(owner, "UpdateTipDlg", kDesignSize, {kStatus, kProgress, kCancel}) {
    const int R = kDesignSize.width(), B = kDesignSize.height();

    heading_ = new QLabel(this);
    heading_->setObjectName(ControlName(kHeading));
    Layout().Add(heading_, Ltrb(24, 16, R - 24, 60));
    heading_->setWordWrap(true);
    heading_->setFont(UiFont(15));
    QPalette warn = heading_->palette();
    warn.setColor(QPalette::WindowText, palette::kWarn);
    heading_->setPalette(warn);
    Texts().BindText(heading_, txt::kUpgradingFirmware);
    heading_->lower();  // under the others, as when it was made first

    Layout().Add(status_, Ltrb(24, 64, R - 24, 86));
    status_->setFont(UiFont(14, QFont::Normal));
    QPalette white = status_->palette();
    white.setColor(QPalette::WindowText, palette::kText);
    status_->setPalette(white);
    Texts().BindComposed(
        status_, {txt::kUpgrading},
        [this] { return statusText_.isEmpty() ? Text(txt::kUpgrading) : statusText_; },
        [this](const QString& s) { status_->setText(s); });

    Layout().Add(bar_, Ltrb(24, 92, R - 24, 110));
    Layout().Add(cancel_, Ltrb(R - 24 - 110, B - 46, R - 24, B - 14));
}

void UpdateTipDlg::SetStep(int percent, const QString& text) {
    SetPercent(percent);
    statusText_ = text;
    status_->setText(text);
    if (Progress() >= kTransferStep) cancel_->setEnabled(false);
}

}  // namespace quorvel
