#include "ui/window/MainFrame.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "toolkit/BatteryCtrl.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/MPicture.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/LogoWidget.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

namespace {

constexpr char kBackground[] = "main_bkg.png";
constexpr char kCaptionArea[] = "img_area_caption.png";

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

QPushButton* NewButton(QWidget* parent, int id) {
    auto* button = new QPushButton(parent);
    button->setObjectName(ControlName(id));
    button->setFont(UiFont(13));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void PaintBar(QPainter& p, const QRect& rect, bool top) {
    // Soft along its length, with a crisp line at each edge.
    if (Skin::Instance().PaintSoft(p, rect, QString::fromLatin1(kCaptionArea), Qt::Horizontal)) return;
    p.fillRect(rect, palette::kSurface);
    p.setPen(palette::kBorder);
    const int y = top ? rect.bottom() : rect.top();
    p.drawLine(rect.left(), y, rect.right(), y);
}

}  // namespace

MainFrame::MainFrame(QWidget* window, TextRegistry& texts, const QString& titleText,
                     const QString& softwareVersion)
    : QObject(window), window_(window), softwareVersion_(softwareVersion) {
    // First made, lowest: the model picture lies under the page containers made later.
    modelPicture = new MPicture(window);
    modelPicture->setObjectName(ControlName(kModelPicture));
    modelPicture->SetMode(MPicture::Mode::Fit);
    modelPicture->SetFallbackColor(QColor());  // nothing at all when the skin lacks the picture
    modelPicture->hide();

    logo = new LogoWidget(window);
    logo->setObjectName(ControlName(kLogo));

    // The title is the device name: no language text. Bold and a little larger than the controls.
    title = NewLabel(window, kTitle, UiFont(18, QFont::Bold), palette::kText, Qt::AlignCenter);
    title->setText(titleText);

    QLabel* versionLabel =
        NewLabel(window, kVersion, UiFont(13), palette::kTextDim, Qt::AlignLeft | Qt::AlignVCenter);
    version = versionLabel;
    texts.BindComposed(
        versionLabel, {txt::kVersion},
        [this] { return Text(txt::kVersion) + QStringLiteral(": v") + softwareVersion_; },
        [versionLabel](const QString& s) { versionLabel->setText(s); });

    QLabel* notice = NewLabel(window, kBottomText, UiFont(13), palette::kText, Qt::AlignCenter);
    bottomText = notice;
    texts.BindComposed(
        notice, {txt::kNotSent, txt::kNotRead}, [this] { return NoticeText(); },
        [notice](const QString& s) { notice->setText(s); });
    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    connect(noticeTimer_, &QTimer::timeout, this, &MainFrame::ClearNotice);

    close = NewCaptionButton(window, kClose, CaptionKind::Close);
    minimise = NewCaptionButton(window, kMinimise, CaptionKind::Minimise);
    maximise = NewCaptionButton(window, kMaximise, CaptionKind::Maximise);
    settings = NewCaptionButton(window, kSettings, CaptionKind::Settings);
    texts.BindToolTip(close, txt::kClose);
    texts.BindToolTip(settings, txt::kSettings);

    battery = new BatteryCtrl(window);
    battery->setObjectName(ControlName(kBattery));
    texts.Bind(battery, txt::kBattery, [this](const QString& s) { battery->setAccessibleName(s); });
    battery->hide();

    QLabel* status =
        NewLabel(window, kStatusTitle, UiFont(14), palette::kText, Qt::AlignLeft | Qt::AlignVCenter);
    statusTitle = status;
    texts.BindComposed(
        status, {txt::kNoDevice, txt::kWired, txt::kWireless}, [this] { return Text(statusTitle_); },
        [status](const QString& s) { status->setText(s); });
    status->hide();

    QPushButton* profileButton = NewButton(window, kProfile);
    profile = profileButton;
    texts.BindComposed(
        profileButton, {txt::kProfile}, [this] { return ShownProfileName(); },
        [profileButton](const QString& s) { profileButton->setText(s); });
    texts.BindToolTip(profileButton, txt::kProfileTip);
    profileButton->hide();

    reset = NewButton(window, kReset);
    texts.BindText(reset, txt::kFactoryReset);
    reset->hide();
    ConnectButtons();
}

void MainFrame::ConnectButtons() {
    connect(logo, &LogoWidget::clicked, this, &MainFrame::logoClicked);
    connect(close, &QAbstractButton::clicked, this, &MainFrame::closeClicked);
    connect(minimise, &QAbstractButton::clicked, this, &MainFrame::minimiseClicked);
    connect(maximise, &QAbstractButton::clicked, this, &MainFrame::maximiseClicked);
    connect(settings, &QAbstractButton::clicked, this, &MainFrame::settingsClicked);
    connect(profile, &QPushButton::clicked, this, &MainFrame::profileClicked);
    connect(reset, &QPushButton::clicked, this, &MainFrame::resetClicked);
}

void MainFrame::Follow(DeviceEvents& events, std::function<ModelFeatures()> features) {
    features_ = std::move(features);
    ReadBatteryFeature();
    connect(&events, &DeviceEvents::batteryInfo, this, [this](int level, int status) {
        battery->SetBatteryInfo(level, status);
        ShowBattery();
    });
    // Another model may or may not run on a battery: read once per model or link, not per report.
    connect(&events, &DeviceEvents::modelLoaded, this, &MainFrame::ReadBatteryFeature);
    connect(&events, &DeviceEvents::linkChanged, this, &MainFrame::ReadBatteryFeature);
    // The name says it; the window reads the number from the core when it needs it.
    connect(&events, &DeviceEvents::profileTitle, this,
            [this](int, const QString& name) { SetProfileName(name); });
}

QWidget* MainFrame::ModelPicture() const {
    return modelPicture;
}

QWidget* MainFrame::ProfileButton() const {
    return profile;
}

void MainFrame::ShowViewControls(bool settingsOpen, bool pages, bool device) {
    settings->setVisible(!settingsOpen);
    maximise->setVisible(!settingsOpen);
    // The status title stays with the device while the settings page lies over the pages, above it.
    statusTitle->setVisible(device);
    if (settingsOpen) statusTitle->raise();
    pagesShown_ = pages;
    ShowBattery();
    profile->setVisible(device);
    reset->setVisible(device);
}

void MainFrame::ReadBatteryFeature() {
    hasBattery_ = features_ && features_().battery;
    ShowBattery();
}

void MainFrame::ShowBattery() {
    battery->setVisible(pagesShown_ && hasBattery_);
}

void MainFrame::SetProfileEnabled(bool enabled) {
    profile->setEnabled(enabled);
}

void MainFrame::SetResetEnabled(bool enabled) {
    reset->setEnabled(enabled);
}

void MainFrame::Paint(QPainter& p, const QRect& all) {
    if (!Skin::Instance().PaintSoft(p, all, QString::fromLatin1(kBackground))) {
        QLinearGradient shade(all.topLeft(), all.bottomRight());
        shade.setColorAt(0, palette::kWindow.lighter(115));
        shade.setColorAt(1, palette::kWindow);
        p.fillRect(all, shade);
    }
    PaintBar(p, Ltrb(1, 1, all.width() - 1, kCaptionHeight), true);
    PaintBar(p, Ltrb(1, all.height() - kBarHeight, all.width() - 1, all.height() - 1), false);
    p.setPen(palette::kBorder);
    p.drawRect(all.adjusted(0, 0, -1, -1));
}

void MainFrame::Declare(DesignLayout& layout) {
    // The caption buttons keep to the right edge, the title to the middle, in design pixels.
    layout.Add(close, Ltrb(1350, 10, 1380, 40), kFixedAtRight);
    layout.Add(minimise, Ltrb(1318, 10, 1348, 40), kFixedAtRight);
    layout.Add(maximise, Ltrb(1286, 10, 1316, 40), kFixedAtRight);
    layout.Add(settings, Ltrb(1254, 10, 1284, 40), kFixedAtRight);
    layout.Add(title, Ltrb(570, 10, 830, 40),
               EdgeRules{Fixed(Anchor::Centre), Fixed(), Fixed(Anchor::Centre), Fixed()});

    // Bottom bar: version at the left, the device's profile and reset at the right.
    constexpr EdgeRules kBottomLeft{Fixed(), Fixed(Anchor::End), Fixed(), Fixed(Anchor::End)};
    constexpr EdgeRules kBottomRight{Fixed(Anchor::End), Fixed(Anchor::End), Fixed(Anchor::End),
                                     Fixed(Anchor::End)};
    layout.Add(version, Ltrb(25, 750, 225, 776), kBottomLeft);
    layout.Add(profile, Ltrb(1230, 750, 1380, 776), kBottomRight);
    layout.Add(reset, Ltrb(1010, 750, 1220, 776), kBottomRight);

    // The device in use, under the tab strip of the sidebar: its line scaled, its rows in design pixels.
    layout.Add(statusTitle, Ltrb(24, 500, 192, 526),
               EdgeRules{Fixed(), Scaled(), Fixed(), Fixed(Anchor::Size)});
    layout.Add(battery, Ltrb(24, 532, 130, 556),
               EdgeRules{Fixed(), Scaled(Anchor::Start, 32), Fixed(), Fixed(Anchor::Size)});
}

void MainFrame::Place(int right, int bottom, qreal scale, bool maximised) {
    right_ = right;
    scale_ = scale;
    maximise->SetKind(maximised ? CaptionKind::Restore : CaptionKind::Maximise);
    const QSize logoSize = logo->sizeHint();
    logo->setGeometry(QRect(QPoint(10, 60), logoSize.boundedTo(QSize(180, logoSize.height()))));
    // The notice is centred between the version and the buttons.
    const int noticeLeft = qMax((right - 800) / 2, 235), noticeRight = qMin((right + 800) / 2, right - 400);
    bottomText->setGeometry(Ltrb(noticeLeft, bottom - 38, noticeRight, bottom - 12));
    PlaceModelPicture();
}

void MainFrame::PlaceModelPicture() {
    const QSize own = modelPicture->ImageSize();
    if (own.width() <= 1) {
        modelPicture->setGeometry(QRect());
        return;
    }
    const QSize size = (QSizeF(own) * scale_).toSize();
    modelPicture->setGeometry(
        QRect(QPoint(right_ - size.width() - 200, static_cast<int>(135 * scale_)), size));
}

void MainFrame::SetModelPicture(const QString& image) {
    modelPicture->SetImage(image);
    PlaceModelPicture();
}

void MainFrame::SetStatusTitle(int textId) {
    statusTitle_ = textId > 0 ? textId : txt::kNoDevice;
    statusTitle->setText(Text(statusTitle_));
}

void MainFrame::SetProfileName(const QString& storedName) {
    profileName_ = storedName;
    profile->setText(ShownProfileName());
}

QString MainFrame::ShownProfileName() const {
    return shownName_ ? shownName_(profileName_) : profileName_;
}

void MainFrame::ShowNotice(std::vector<int> textIds, int milliseconds) {
    notice_ = std::move(textIds);
    bottomText->setText(NoticeText());
    noticeTimer_->start(milliseconds);
}

void MainFrame::ClearNotice() {
    notice_.clear();
    noticeTimer_->stop();
    bottomText->clear();
}

QString MainFrame::NoticeText() const {
    QStringList parts;
    for (int id : notice_) parts << Text(id);
    return parts.join(QLatin1Char(' '));
}

void KeepBottomBarLast(QWidget* window) {
    auto* reset = window->findChild<QWidget*>(ControlName(MainFrame::kReset), Qt::FindDirectChildrenOnly);
    auto* profile = window->findChild<QWidget*>(ControlName(MainFrame::kProfile), Qt::FindDirectChildrenOnly);
    // The chain holds every widget; Qt orders only those that take focus.
    QWidget* last = window->previousInFocusChain();
    while (last != window && last->focusPolicy() == Qt::NoFocus) last = last->previousInFocusChain();
    if (!reset || !profile || last == window || last == profile) return;
    // Through `last` each time: Qt does not move a widget from the start of the chain to right after its end.
    QWidget::setTabOrder(last, reset);
    QWidget::setTabOrder(last, profile);
    QWidget::setTabOrder(last, reset);
}

}  // namespace quorvel
