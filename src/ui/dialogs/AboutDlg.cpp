#include "ui/dialogs/AboutDlg.h"

#include <QLabel>
#include <QPainter>

#include "toolkit/CaptionButton.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/LogoWidget.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {

// The dialog's background and outline colours.
constexpr int kBackColour = 1710618;
constexpr int kLineColour = 9868950;
const QColor kGreyText = QColor::fromRgba(0xFF969696);

QLabel* NewGreyLabel(SkinnedDialog* dialog, int id, const QRect& rect, int pixelSize) {
    auto* label = dialog->Layout().Add(new QLabel(dialog), rect, pixelSize);
    label->setObjectName(ControlName(id));
    label->setAlignment(Qt::AlignCenter);
    QPalette grey = label->palette();
    grey.setColor(QPalette::WindowText, kGreyText);
    label->setPalette(grey);
    return label;
}

}  // namespace

QString ReleaseVersionText(uint32_t release) {
    QString digits = QString::number(release, 16);
    if (digits.size() < 3) digits = digits.rightJustified(3, QLatin1Char('0'));
    return digits.left(1) + QLatin1Char('.') + digits.right(2);
}

AboutDlg::AboutDlg(QWidget* parent, uint32_t release, const QString& softwareVersion)
    : SkinnedDialog(
          parent, Qt::Dialog, "AboutDlg", kDesignSize,
          DialogLook{
              {}, DialogLook::Image::None, ColorFromRef(kBackColour), ColorFromRef(kLineColour), false}) {
    setWindowTitle(QStringLiteral("About Window"));
    const int L = 0, R = kDesignSize.width(), B = kDesignSize.height();
    const int M = (R - L) / 2;
    auto* texts = new TextRegistry(this);

    auto* close = new CaptionButton(CaptionKind::Close, this);
    close->setObjectName(ControlName(kClose));
    Layout().Add(close, Ltrb(R - 40, 15, R - 21, 34));
    texts->BindToolTip(close, txt::kClose);
    connect(close, &QAbstractButton::clicked, this, [this] { done(1); });

    auto* logo = new LogoWidget(this);
    logo->setObjectName(ControlName(kLogo));
    logo->setCursor(Qt::ArrowCursor);
    Layout().Add(logo, QRect(QPoint(M - 130, 80), QSize(260, 40)));

    QLabel* firmware = NewGreyLabel(this, kFirmwareVersion, Ltrb(M - 100, 150, M + 100, 185), 16);
    texts->BindComposed(
        firmware, {txt::kFirmware},
        [release] { return Text(txt::kFirmware) + QStringLiteral(": v") + ReleaseVersionText(release); },
        [firmware](const QString& s) { firmware->setText(s); });
    // The software version under it, as the main window's version label shows it.
    QLabel* software = NewGreyLabel(this, kSoftwareVersion, Ltrb(M - 100, 185, M + 100, 220), 16);
    texts->BindComposed(
        software, {txt::kVersion},
        [softwareVersion] { return Text(txt::kVersion) + QStringLiteral(": v") + softwareVersion; },
        [software](const QString& s) { software->setText(s); });

    QLabel* copyright = NewGreyLabel(this, kCopyright, Ltrb(10, B - 40, R - 10, B - 5), 13);
    texts->BindText(copyright, txt::kCopyright);
}

}  // namespace quorvel
