#include "ui/dialogs/UpdateTipDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "toolkit/Theme.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/UpdateProcessDlg.h"

namespace quorvel {

namespace {

constexpr int kHeadingText = 596;
constexpr int kUpgradingText = 871;
constexpr int kCancelText = 25;

}  // namespace

UpdateTipDlg* UpdateTipDlg::Find(QWidget* owner) {
    if (!owner) return nullptr;
    for (UpdateTipDlg* dialog : owner->findChildren<UpdateTipDlg*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!dialog->finishing_) return dialog;
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

UpdateTipDlg::UpdateTipDlg(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("UpdateTipDlg"));
    setWindowTitle(QStringLiteral("UpdateTipDlg"));
    setWindowModality(Qt::WindowModal);
    setFixedSize(kDesignSize);
    const int R = width(), B = height();
    auto* texts = new TextRegistry(this);

    heading_ = new QLabel(this);
    heading_->setObjectName(ControlName(kHeading));
    heading_->setGeometry(Ltrb(24, 16, R - 24, 60));
    heading_->setWordWrap(true);
    heading_->setFont(UiFont(15));
    QPalette warn = heading_->palette();
    warn.setColor(QPalette::WindowText, palette::kWarn);
    heading_->setPalette(warn);
    texts->BindText(heading_, kHeadingText);

    status_ = new QLabel(this);
    status_->setObjectName(ControlName(kStatus));
    status_->setGeometry(Ltrb(24, 64, R - 24, 86));
    status_->setFont(UiFont(14, QFont::Normal));
    QPalette white = status_->palette();
    white.setColor(QPalette::WindowText, palette::kText);
    status_->setPalette(white);
    texts->BindComposed(
        status_, {kUpgradingText},
        [this] { return statusText_.isEmpty() ? Text(kUpgradingText) : statusText_; },
        [this](const QString& s) { status_->setText(s); });

    bar_ = new QProgressBar(this);
    bar_->setObjectName(ControlName(kProgress));
    bar_->setGeometry(Ltrb(24, 92, R - 24, 110));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);

    cancel_ = new QPushButton(this);
    cancel_->setObjectName(ControlName(kCancel));
    cancel_->setGeometry(Ltrb(R - 24 - 110, B - 46, R - 24, B - 14));
    cancel_->setFont(UiFont(14));
    cancel_->setAutoDefault(false);
    texts->BindText(cancel_, kCancelText);
    connect(cancel_, &QPushButton::clicked, this, &UpdateTipDlg::reject);
}

void UpdateTipDlg::SetStep(int percent, const QString& text) {
    percent_ = qBound(0, percent, 100);
    statusText_ = text;
    status_->setText(text);
    bar_->setValue(percent_);
    if (percent_ >= kTransferStep) cancel_->setEnabled(false);
}

void UpdateTipDlg::Finish() {
    finishing_ = true;
    accept();
}

void UpdateTipDlg::reject() {
    if (finishing_) {
        QDialog::reject();
        return;
    }
    if (!cancel_->isEnabled()) return;  // the image is on its way: it must not be cut off
    cancel_->setEnabled(false);
    emit cancelRequested();
}

void UpdateTipDlg::paintEvent(QPaintEvent*) {
    PaintDialogBackground(this, QStringLiteral("img_upgrade_bkg.png"));
}

}  // namespace quorvel
