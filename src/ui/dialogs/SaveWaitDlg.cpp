#include "ui/dialogs/SaveWaitDlg.h"

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QTimer>

#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/LogoWidget.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {

constexpr int kStepMs = 20;
constexpr int kStep = 4;  // of 100: the bar runs through in half a second and starts again

}  // namespace

SaveWaitDlg::SaveWaitDlg(QWidget* owner)
    : SkinnedDialog(owner, Qt::Tool | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput,
                    "SaveWaitDlg", kDesignSize) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    auto* texts = new TextRegistry(this);
    const int R = kDesignSize.width();

    auto* logo = new LogoWidget(this);
    logo->setObjectName(ControlName(kLogo));
    logo->setAttribute(Qt::WA_TransparentForMouseEvents);
    Layout().Add(logo, QRect(QPoint(R / 2 - 130, 36), QSize(260, 40)));

    text_ = new QLabel(this);
    text_->setObjectName(ControlName(kText));
    Layout().Add(text_, Ltrb(20, 92, R - 20, 130));
    text_->setAlignment(Qt::AlignCenter);
    text_->setFont(UiFont(20));
    QPalette accent = text_->palette();
    accent.setColor(QPalette::WindowText, AccentColor());
    text_->setPalette(accent);
    texts->BindText(text_, txt::kSaving);

    bar_ = new QProgressBar(this);
    bar_->setObjectName(ControlName(kBar));
    Layout().Add(bar_, Ltrb(60, 150, R - 60, 158));
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);

    hideTimer_ = new QTimer(this);
    hideTimer_->setObjectName(QStringLiteral("timer200"));
    hideTimer_->setSingleShot(true);
    hideTimer_->setInterval(kShowMs);
    connect(hideTimer_, &QTimer::timeout, this, [this] {
        stepTimer_->stop();
        hide();
    });
    stepTimer_ = new QTimer(this);
    stepTimer_->setInterval(kStepMs);
    connect(stepTimer_, &QTimer::timeout, this, &SaveWaitDlg::Step);
}

void SaveWaitDlg::ShowSaving() {
    bar_->setValue(0);
    CentreOnOwner();  // again each time: the window may have moved
    show();
    raise();
    stepTimer_->start();
    hideTimer_->start();
}

void SaveWaitDlg::Step() {
    bar_->setValue((bar_->value() + kStep) % (bar_->maximum() + kStep));
}

}  // namespace quorvel
