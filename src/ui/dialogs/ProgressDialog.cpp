#include "ui/dialogs/ProgressDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {}

ProgressDialog::ProgressDialog(QWidget* owner, const char* name, QSize designSize, Ids ids)
    : SkinnedDialog(
          owner, Qt::Dialog, name, designSize,
          DialogLook{QStringLiteral("img_upgrade_bkg.png"), DialogLook::Image::Framed, {}, {}, true}),
      texts_(new TextRegistry(this)) {
    setWindowModality(Qt::WindowModal);

    status_ = new QLabel(this);
    status_->setObjectName(ControlName(ids.status));

    bar_ = new QProgressBar(this);
    bar_->setObjectName(ControlName(ids.bar));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);

    cancel_ = new QPushButton(this);
    cancel_->setObjectName(ControlName(ids.cancel));
    cancel_->setFont(UiFont(14));
    cancel_->setAutoDefault(false);
    texts_->BindText(cancel_, txt::kCancel);
    connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::reject);
}

void ProgressDialog::SetPercent(int percent) {
    percent_ = qBound(0, percent, 100);
    bar_->setValue(percent_);
}

void ProgressDialog::Finish() {
    finishing_ = true;
    accept();
}

void ProgressDialog::reject() {
    if (finishing_) {
        QDialog::reject();
        return;
    }
    if (!cancel_->isEnabled()) return;  // asked already, or the transfer must not be cut off
    cancel_->setEnabled(false);         // once: the task ends as cancelled and then closes the dialog
    emit cancelRequested();
}

}  // namespace quorvel
