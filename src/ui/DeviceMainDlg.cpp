#include "ui/DeviceMainDlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include "shell/Preferences.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/AboutDlg.h"
#include "ui/Logo.h"
#include "ui/UiFonts.h"
#include "ui/UiRect.h"
#include "ui/UiText.h"

namespace quorvel {

namespace {

constexpr char kBackground[] = "main_bkg.png";
constexpr char kCaptionArea[] = "img_area_caption.png";
// A window never gets smaller than this part of the design when the screen is small.
constexpr qreal kSmallestScale = 0.6;

QLabel* NewLabel(QWidget* parent, int id, const QFont& font, QColor colour, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(ControlName(id));
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);  // the caption under it stays draggable
    return label;
}

CaptionButton* NewCaptionButton(QWidget* parent, int id, CaptionKind kind) {
    auto* button = new CaptionButton(kind, parent);
    button->setObjectName(ControlName(id));
    return button;
}

void PaintBar(QPainter& p, const QRect& rect, bool top) {
    if (Skin::Instance().Paint(p, rect, QString::fromLatin1(kCaptionArea))) return;
    p.fillRect(rect, palette::kSurface);
    p.setPen(palette::kBorder);
    const int y = top ? rect.bottom() : rect.top();
    p.drawLine(rect.left(), y, rect.right(), y);
}

}  // namespace

DeviceMainDlg::DeviceMainDlg(const QString& title, const QString& softwareVersion)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), softwareVersion_(softwareVersion) {
    setObjectName(QStringLiteral("DeviceMainDlg"));
    setWindowTitle(title);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kDesignSize);
    texts_ = new TextRegistry(this);
    BuildFrame(title);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &DeviceMainDlg::ShowAbout);
}

DeviceMainDlg::~DeviceMainDlg() = default;

void DeviceMainDlg::BuildFrame(const QString& title) {
    logo_ = new LogoWidget(this);
    logo_->setObjectName(ControlName(kLogo));
    connect(logo_, &LogoWidget::clicked, this, &DeviceMainDlg::ShowAbout);

    // The title is the device name: no language text. Bold and a little larger than the controls.
    title_ = NewLabel(this, kTitle, UiFont(18, QFont::Bold), palette::kText, Qt::AlignCenter);
    title_->setText(title);

    QLabel* version =
        NewLabel(this, kVersion, UiFont(13), palette::kTextDim, Qt::AlignLeft | Qt::AlignVCenter);
    version_ = version;
    texts_->BindComposed(
        version, {17}, [this] { return Text(17) + QStringLiteral(": v") + softwareVersion_; },
        [version](const QString& s) { version->setText(s); });
    bottomText_ = NewLabel(this, kBottomText, UiFont(13), palette::kTextDim, Qt::AlignCenter);

    close_ = NewCaptionButton(this, kClose, CaptionKind::Close);
    minimise_ = NewCaptionButton(this, kMinimise, CaptionKind::Minimise);
    maximise_ = NewCaptionButton(this, kMaximise, CaptionKind::Maximise);
    settings_ = NewCaptionButton(this, kSettings, CaptionKind::Settings);
    texts_->BindToolTip(close_, 5);
    texts_->BindToolTip(settings_, 11);
    connect(close_, &QAbstractButton::clicked, this, &DeviceMainDlg::OnCloseButton);
    connect(minimise_, &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(maximise_, &QAbstractButton::clicked, this, &DeviceMainDlg::ToggleMaximised);
    // Until the settings page exists, the settings button opens About.
    connect(settings_, &QAbstractButton::clicked, this, &DeviceMainDlg::ShowAbout);
}

void DeviceMainDlg::UISize() {
    const int right = width(), bottom = height();
    maximise_->SetKind(isMaximized() ? CaptionKind::Restore : CaptionKind::Maximise);
    scale_ = bottom / qreal(kDesignSize.height());

    close_->setGeometry(Ltrb(right - 50, 10, right - 20, 40));
    minimise_->setGeometry(Ltrb(right - 82, 10, right - 52, 40));
    maximise_->setGeometry(Ltrb(right - 114, 10, right - 84, 40));
    settings_->setGeometry(Ltrb(right - 146, 10, right - 116, 40));
    title_->setGeometry(Ltrb((right - 260) / 2, 10, (right + 260) / 2, 40));
    version_->setGeometry(Ltrb(25, bottom - 38, 225, bottom - 12));
    bottomText_->setGeometry(Ltrb((right - 800) / 2, bottom - 38, (right + 800) / 2, bottom - 12));
    const QSize logo = logo_->sizeHint();
    logo_->setGeometry(QRect(QPoint(10, 60), logo.boundedTo(QSize(180, logo.height()))));
}

void DeviceMainDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The icon (rendered at several sizes for the window system) waits until the window is on the screen:
    // the first view does not need it.
    if (!iconPending_) {
        iconPending_ = true;
        QTimer::singleShot(0, this, [this] { setWindowIcon(AppIcon()); });
    }
}

void DeviceMainDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UISize();
}

void DeviceMainDlg::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) UISize();
}

void DeviceMainDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect all = rect();
    if (!Skin::Instance().Paint(p, all, QString::fromLatin1(kBackground))) {
        QLinearGradient shade(all.topLeft(), all.bottomRight());
        shade.setColorAt(0, palette::kWindow.lighter(115));
        shade.setColorAt(1, palette::kWindow);
        p.fillRect(all, shade);
    }
    PaintBar(p, Ltrb(1, 1, width() - 1, kCaptionHeight), true);
    PaintBar(p, Ltrb(1, height() - 50, width() - 1, height() - 1), false);
    p.setPen(palette::kBorder);
    p.drawRect(all.adjusted(0, 0, -1, -1));
}

void DeviceMainDlg::PlaceOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    // Keep the design's aspect; shrink (down to a limit) when the screen is smaller than the design.
    const qreal fit = qMin(available.width() / qreal(kDesignSize.width()),
                           available.height() / qreal(kDesignSize.height()));
    const qreal k = qBound(kSmallestScale, fit, 1.0);
    resize((QSizeF(kDesignSize) * k).toSize());
    QRect frame = frameGeometry();
    frame.moveCenter(available.center());
    move(frame.topLeft());
}

void DeviceMainDlg::ShowFromOutside() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void DeviceMainDlg::ShowAbout() {
    AboutDlg about(this, releaseSource_ ? releaseSource_() : 0, softwareVersion_);
    QRect frame = about.frameGeometry();
    frame.moveCenter(frameGeometry().center());
    about.move(frame.topLeft());
    about.exec();
}

void DeviceMainDlg::OnCloseButton() {
    if (ReadExitMode() == 1) {
        hide();
        return;
    }
    emit ExitRequested();
}

void DeviceMainDlg::closeEvent(QCloseEvent* event) {
    // The window manager's close (Alt+F4) acts as the close button; the window itself lives until the
    // program shuts down.
    event->ignore();
    OnCloseButton();
}

bool DeviceMainDlg::InCaption(const QPoint& pos) const {
    return pos.y() < kCaptionHeight && childAt(pos) == nullptr;
}

void DeviceMainDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && InCaption(event->position().toPoint()) && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    QWidget::mousePressEvent(event);
}

void DeviceMainDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && InCaption(event->position().toPoint())) {
        ToggleMaximised();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void DeviceMainDlg::ToggleMaximised() {
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

}  // namespace quorvel
