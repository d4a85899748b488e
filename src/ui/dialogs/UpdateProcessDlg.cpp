#include "ui/dialogs/UpdateProcessDlg.h"

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {

constexpr int kDownloadingText = 870;
constexpr int kCancelText = 25;

}  // namespace

void PaintDialogBackground(QWidget* dialog, const QString& image) {
    QPainter p(dialog);
    p.fillRect(dialog->rect(), palette::kWindow);
    if (Skin::Instance().PaintFrame(p, dialog->rect(), image, QMargins(16, 16, 16, 16))) return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(palette::kBorder);
    p.setBrush(palette::kSurface);
    p.drawRoundedRect(QRectF(dialog->rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(AccentColor());
    p.drawRoundedRect(QRectF(24, 0, dialog->width() - 48, 3), 1.5, 1.5);
}

UpdateProcessDlg::UpdateProcessDlg(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("UpdateProcessDlg"));
    setWindowTitle(QStringLiteral("UpdateProcessDlg"));
    setWindowModality(Qt::WindowModal);
    setFixedSize(kDesignSize);
    const int R = width(), B = height();
    auto* texts = new TextRegistry(this);

    status_ = new QLabel(this);
    status_->setObjectName(ControlName(kStatus));
    status_->setGeometry(Ltrb(24, 24, R - 24, 50));
    status_->setFont(UiFont(15));
    QPalette white = status_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    status_->setPalette(white);
    texts->BindComposed(
        status_, {kDownloadingText},
        [this] { return QStringLiteral("%1: %2%").arg(Text(kDownloadingText)).arg(percent_); },
        [this](const QString& s) { status_->setText(s); });

    bar_ = new QProgressBar(this);
    bar_->setObjectName(ControlName(kProgress));
    bar_->setGeometry(Ltrb(24, 58, R - 24, 76));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);

    cancel_ = new QPushButton(this);
    cancel_->setObjectName(ControlName(kCancel));
    cancel_->setGeometry(Ltrb(R - 24 - 110, B - 50, R - 24, B - 16));
    cancel_->setFont(UiFont(14));
    cancel_->setAutoDefault(false);
    texts->BindText(cancel_, kCancelText);
    connect(cancel_, &QPushButton::clicked, this, &UpdateProcessDlg::reject);
}

void UpdateProcessDlg::SetDownloadProgress(int percent) {
    percent_ = qBound(0, percent, 100);
    bar_->setValue(percent_);
    status_->setText(QStringLiteral("%1: %2%").arg(Text(kDownloadingText)).arg(percent_));
}

int UpdateProcessDlg::Progress() const {
    return percent_;
}

void UpdateProcessDlg::Finish() {
    finishing_ = true;
    accept();
}

void UpdateProcessDlg::reject() {
    if (finishing_) {
        QDialog::reject();
        return;
    }
    if (!cancel_->isEnabled()) return;
    cancel_->setEnabled(false);  // once: the task ends as cancelled and then closes the dialog
    emit cancelRequested();
}

void UpdateProcessDlg::paintEvent(QPaintEvent*) {
    PaintDialogBackground(this, QStringLiteral("img_upgrade_bkg.png"));
}

}  // namespace quorvel
