#include "ui/dialogs/DPIMsgDlg.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include "toolkit/CaptionButton.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/DesktopNotice.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {

constexpr int kDefaultMaximum = 16000;
const QColor kUnitColour = QColor::fromRgba(0xFFC8C8C8);

}  // namespace

DPIMsgDlg::DPIMsgDlg(QWidget* owner)
    : SkinnedDialog(
          nullptr,
          Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint,
          "DPIMsgDlg", kDesignSize) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    // Not the owner's child: a child tool window is tied to its owner, and the owner is often hidden in
    // the tray while the game runs. It goes with the owner all the same.
    if (owner) connect(owner, &QObject::destroyed, this, [this] { delete this; });
    texts_ = new TextRegistry(this);
    const int R = kDesignSize.width(), B = kDesignSize.height();

    close_ = new CaptionButton(CaptionKind::Close, this);
    close_->setObjectName(ControlName(kClose));
    close_->setFocusPolicy(Qt::NoFocus);
    Layout().Add(close_, Ltrb(R - 38, 8, R - 8, 38));
    texts_->BindToolTip(close_, txt::kClose);

    valueText_ = new QLabel(QString::number(value_), this);
    valueText_->setObjectName(ControlName(kValue));
    Layout().Add(valueText_, Ltrb(16, 26, 188, 86));
    valueText_->setAlignment(Qt::AlignRight | Qt::AlignBaseline);
    valueText_->setFont(UiFont(44, QFont::Bold));
    QPalette accent = valueText_->palette();
    accent.setColor(QPalette::WindowText, AccentColor());
    valueText_->setPalette(accent);

    unit_ = new QLabel(this);
    unit_->setObjectName(ControlName(kUnit));
    Layout().Add(unit_, Ltrb(198, 46, R - 16, 80));
    unit_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    unit_->setFont(UiFont(22, QFont::DemiBold));
    QPalette grey = unit_->palette();
    grey.setColor(QPalette::WindowText, kUnitColour);
    unit_->setPalette(grey);
    texts_->BindText(unit_, txt::kDpi);

    profile_ = new QLabel(this);
    profile_->setObjectName(ControlName(kProfile));
    Layout().Add(profile_, Ltrb(16, 20, R - 44, B - 20));
    profile_->setAlignment(Qt::AlignCenter);
    profile_->setWordWrap(true);
    profile_->setFont(UiFont(22, QFont::Bold));
    profile_->setPalette(accent);
    profile_->hide();
    texts_->BindComposed(
        profile_, {txt::kProfileOf},
        [this] { return Text(txt::kProfileOf).replace(QStringLiteral("%s"), profileName_); },
        [this](const QString& s) { profile_->setText(s); });

    bar_ = new QProgressBar(this);
    bar_->setObjectName(ControlName(kBar));
    Layout().Add(bar_, Ltrb(24, B - 30, R - 24, B - 22));
    bar_->setTextVisible(false);
    bar_->setRange(0, kDefaultMaximum);
    bar_->setValue(value_);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("timer100"));
    timer_->setSingleShot(true);
    timer_->setInterval(kShowMs);
    connect(timer_, &QTimer::timeout, this, &QWidget::hide);
    connect(close_, &QAbstractButton::clicked, this, [this] {
        timer_->stop();
        hide();
    });
}

void DPIMsgDlg::SetMaximum(int maxDpi) {
    bar_->setMaximum(maxDpi > 0 ? maxDpi : kDefaultMaximum);
    bar_->setValue(qBound(0, value_, bar_->maximum()));
}

void DPIMsgDlg::ShowProfile(const QString& shownName) {
    profileName_ = shownName;
    profile_->setText(Text(txt::kProfileOf).replace(QStringLiteral("%s"), shownName));
    for (QWidget* w :
         {static_cast<QWidget*>(valueText_), static_cast<QWidget*>(unit_), static_cast<QWidget*>(bar_)})
        w->hide();
    profile_->show();
    PopUp();
}

QString DPIMsgDlg::ProfileText() const {
    return profile_->isHidden() ? QString() : profile_->text();
}

void DPIMsgDlg::ShowValue(int dpiValue) {
    profile_->hide();
    for (QWidget* w :
         {static_cast<QWidget*>(valueText_), static_cast<QWidget*>(unit_), static_cast<QWidget*>(bar_)})
        w->show();
    value_ = dpiValue;
    valueText_->setText(QString::number(dpiValue));
    // A value beyond the bar's range would leave the bar where it was.
    bar_->setValue(qBound(0, dpiValue, bar_->maximum()));
    PopUp();
}

QString DPIMsgDlg::NoticeText() const {
    if (!profile_->isHidden()) return profile_->text();
    return valueText_->text() + QLatin1Char(' ') + unit_->text();
}

void DPIMsgDlg::PopUp() {
    // Created at the first pop-up, so a start-up that never shows one never connects to the bus.
    if (!notice_ && DesktopNotice::PreferredFor(QGuiApplication::platformName()))
        notice_ = new DesktopNotice(this);
    if (notice_ && notice_->Available()) {
        notice_->Show(NoticeText(), QString(), kShowMs);
        return;
    }
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.right() + 1 - width() - kMargin, area.bottom() + 1 - height() - kMargin);
    }
    show();
    raise();
    timer_->start();
}

}  // namespace quorvel
