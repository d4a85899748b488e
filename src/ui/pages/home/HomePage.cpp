#include "ui/pages/home/HomePage.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "shell/AppContext.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/CImageButton.h"
#include "toolkit/Glyphs.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

void HomePage::Follow(DeviceEvents& events) {
    connect(&events, &DeviceEvents::allDeviceState, list_, &CDeviceList::SetAllDeviceState);
    connect(&events, &DeviceEvents::deviceState, list_, &CDeviceList::SetDeviceState);
    connect(&events, &DeviceEvents::deviceBattery, list_, &CDeviceList::SetDeviceBattery);
    connect(&events, &DeviceEvents::deviceVersion, list_,
            [list = list_](int deviceType, quint32 release) { list->SetDeviceVersion(deviceType, release); });
    connect(&events, &DeviceEvents::deviceSelected, list_, &CDeviceList::SetSelectDevice);
    connect(&events, &DeviceEvents::noDeviceView, this, &HomePage::ClearPermissionProblems);
    connect(&events, &DeviceEvents::deviceListView, this, &HomePage::ClearPermissionProblems);
    connect(&events, &DeviceEvents::permissionProblem, this, &HomePage::AddPermissionProblem);
    connect(&events, &DeviceEvents::deviceLockWaiting, this, &HomePage::SetLockHolder);
    connect(&events, &DeviceEvents::deviceLockTaken, this, [this] { SetLockHolder(QString()); });
}

namespace {

constexpr char kRuleName[] = "70-quorvel.rules";
constexpr char kRuleFolder[] = "/etc/udev/rules.d/";
const char* const kSystemRuleFolders[] = {"/etc/udev/rules.d/", "/usr/lib/udev/rules.d/",
                                          "/lib/udev/rules.d/"};
constexpr char kReload[] =
    "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw";
constexpr int kCopiedMs = 2000;

// A word for the shell: as it is when it holds only safe characters, else in single quotes.
QString ShellWord(const QString& word) {
    static const QString safe = QStringLiteral("/._-+:@%=,");
    bool plain = !word.isEmpty();
    for (QChar c : word) plain = plain && ((c.isLetterOrNumber() && c.unicode() < 128) || safe.contains(c));
    if (plain) return word;
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// The command box: selectable monospace text on a framed panel. Painted here, not by a style sheet, which
// would bring Qt's style-sheet engine into the first view for one label.
class CommandBox : public QLabel {
public:
    explicit CommandBox(QWidget* parent) : QLabel(parent) {
        setMargin(kPadding + 1);  // inside the 1 px frame
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, palette::kText);
        setPalette(pal);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        {
            QPainter p(this);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(palette::kBorder);
            p.setBrush(palette::kSurface);
            p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
        }
        QLabel::paintEvent(event);
    }

private:
    static constexpr int kPadding = 8;
    static constexpr qreal kRadius = 6;
};

// The no-device picture: the skin's "img_nodevice.png", or a mouse drawn in a ring (with a warning mark
// while the problem is a permission).
class NoDevicePicture : public QWidget {
public:
    explicit NoDevicePicture(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void SetWarning(bool warning) {
        warning_ = warning;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal side = qMin(width(), height()) - 4;
        const QRectF ring(QPointF((width() - side) / 2, (height() - side) / 2), QSizeF(side, side));
        if (Skin::Instance().PaintFit(p, ring, QStringLiteral("img_nodevice.png"))) return;
        p.setPen(QPen(palette::kBorder, 2));
        p.setBrush(palette::kSurface);
        p.drawEllipse(ring);
        const qreal inner = side * 0.5;
        PaintGlyph(p, QRectF(ring.center() - QPointF(inner / 2, inner / 2), QSizeF(inner, inner)),
                   Glyph::Mouse, palette::kTextDim);
        if (!warning_) return;
        const qreal mark = side * 0.26;
        const QRectF badge(ring.right() - mark, ring.bottom() - mark, mark, mark);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kWarn);
        p.drawEllipse(badge);
        p.setPen(QPen(palette::kWindow, mark * 0.14, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = badge.center();
        p.drawLine(c - QPointF(0, mark * 0.24), c + QPointF(0, mark * 0.06));
        p.drawPoint(c + QPointF(0, mark * 0.26));
    }

private:
    bool warning_ = false;
};

}  // namespace

QString UdevRuleCommand(const QString& programFolder, bool ruleInstalled) {
    if (ruleInstalled) return QString::fromLatin1(kReload);
    QString folder = programFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return QStringLiteral("sudo install -m 644 %1 %2 && %3")
        .arg(ShellWord(folder + QLatin1String(kRuleName)), QLatin1String(kRuleFolder),
             QLatin1String(kReload));
}

QString UdevRuleCommand() {
    bool installed = false;
    for (const char* folder : kSystemRuleFolders)
        installed = installed || QFileInfo::exists(QLatin1String(folder) + QLatin1String(kRuleName));
    return UdevRuleCommand(QString::fromStdString(ProgramDir()), installed);
}

HomePage::HomePage(TextRegistry& texts, QWidget* window) : QWidget(window) {
    setObjectName(ControlName(kContainer));

    heading_ = new QLabel(this);
    heading_->setObjectName(ControlName(kHeading));
    heading_->setFont(UiFont(16));
    heading_->setAlignment(Qt::AlignCenter);
    texts.BindText(heading_, txt::kChooseMouse);

    list_ = new CDeviceList(this);
    list_->setObjectName(ControlName(kDeviceList));
    texts.Bind(list_, UiText(txt::kDeviceList),
               [list = list_](const QString& s) { list->setAccessibleName(s); });
    texts.BindComposed(
        list_, {txt::kConnected, txt::kDisconnected, txt::kWiredCard, txt::kWirelessCard, txt::kFirmware},
        [] { return QString(); },
        [this](const QString&) {
            list_->SetTexts({Text(txt::kConnected), Text(txt::kDisconnected), Text(txt::kWiredCard),
                             Text(txt::kWirelessCard), Text(txt::kFirmware)});
        });
    connect(list_, &CDeviceList::deviceClicked, this, &HomePage::deviceClicked);

    previous_ = new CImageButton(QStringLiteral("img_btn_pre.png"), Glyph::Previous, this);
    previous_->setObjectName(ControlName(kPrevious));
    next_ = new CImageButton(QStringLiteral("img_btn_next.png"), Glyph::Next, this);
    next_->setObjectName(ControlName(kNext));
    // Pages of cards: the left arrow turns back, the right one forward (both wrap).
    connect(previous_, &QAbstractButton::clicked, this, [this] { list_->ScrollPage(-1); });
    connect(next_, &QAbstractButton::clicked, this, [this] { list_->SetSelectIndex(-1); });

    auto* picture = new NoDevicePicture(this);
    picture->setObjectName(ControlName(kNoDevicePicture));
    picture_ = picture;

    text_ = new QLabel(this);
    text_->setObjectName(ControlName(kNoDeviceText));
    text_->setFont(UiFont(15, QFont::Normal));
    text_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::RichText);
    texts.BindComposed(
        text_,
        {txt::kNoDevice, txt::kPleaseConnect, txt::kPermissionHeading, txt::kPermissionHelp, txt::kMouseInUse,
         txt::kMouseInUseBy},
        [] { return QString(); }, [this](const QString&) { UpdatePanelText(); });

    command_ = new CommandBox(this);
    command_->setObjectName(ControlName(kCommand));
    QFont mono = UiFont(13, QFont::Normal);
    mono.setStyleHint(QFont::Monospace);
    mono.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("monospace")});
    command_->setFont(mono);
    command_->setWordWrap(true);
    command_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    command_->setAlignment(Qt::AlignCenter);

    copy_ = new QPushButton(this);
    copy_->setObjectName(ControlName(kCopy));
    copy_->setFont(UiFont(13));
    auto copied = std::make_shared<bool>(false);
    texts.BindComposed(
        copy_, {txt::kCopyCommand, txt::kCopied},
        [copied] { return Text(*copied ? txt::kCopied : txt::kCopyCommand); },
        [this](const QString& s) { copy_->setText(s); });
    connect(copy_, &QPushButton::clicked, this, [this, copied] {
        QGuiApplication::clipboard()->setText(command_->text());
        *copied = true;
        copy_->setText(Text(txt::kCopied));
        QTimer::singleShot(kCopiedMs, copy_, [this, copied] {
            *copied = false;
            copy_->setText(Text(txt::kCopyCommand));
        });
    });

    UpdatePanel();
    DeclareGeometry();
}

void HomePage::SetModels(const std::vector<DeviceEntry>& models) {
    list_->ClearList();
    for (const DeviceEntry& m : models) {
        // config.xml's picture is a path in the skin's device folder (or a full path when one was given).
        QString image = QString::fromStdString(m.image);
        if (!image.isEmpty() && !image.startsWith(QLatin1Char('/')))
            image = QStringLiteral("device\\") + image;
        list_->AddDevice(QString::fromStdString(m.name), m.device_type, image);
    }
    UpdateArrows();
}

void HomePage::ShowPanel(Panel panel) {
    panel_ = panel;
    UpdatePanel();
}

void HomePage::ClearPermissionProblems() {
    problems_.clear();
    UpdatePanel();
}

void HomePage::AddPermissionProblem(const HidPermissionProblem& problem) {
    for (const HidPermissionProblem& known : problems_) {
        if (known.path == problem.path) return;
    }
    problems_.push_back(problem);
    command_->setText(UdevRuleCommand());
    UpdatePanel();
}

void HomePage::SetLockHolder(const QString& holder) {
    lockHolder_ = holder;
    if (!holder.isEmpty()) panel_ = Panel::NoDevice;
    UpdatePanel();
}

QString HomePage::PanelText() const {
    if (!lockHolder_.isEmpty()) {
        return QStringLiteral(
                   "<div style=\"font-size:22px; font-weight:600; color:%1\">%2</div>"
                   "<div style=\"color:%3; margin-top:10px\">%4</div>")
            .arg(palette::kText.name(), Text(txt::kMouseInUse).toHtmlEscaped(), palette::kTextDim.name(),
                 Text(txt::kMouseInUseBy).replace(QStringLiteral("%s"), lockHolder_).toHtmlEscaped());
    }
    const bool permission = HasPermissionProblem();
    return QStringLiteral(
               "<div style=\"font-size:22px; font-weight:600; color:%1\">%2</div>"
               "<div style=\"color:%3; margin-top:10px\">%4</div>")
        .arg(palette::kText.name(),
             Text(permission ? txt::kPermissionHeading : txt::kNoDevice).toHtmlEscaped(),
             palette::kTextDim.name(),
             Text(permission ? txt::kPermissionHelp : txt::kPleaseConnect).toHtmlEscaped());
}

void HomePage::UpdatePanel() {
    const bool list = panel_ == Panel::DeviceList, none = panel_ == Panel::NoDevice;
    const bool permission = none && HasPermissionProblem();
    heading_->setVisible(list);
    list_->setVisible(list);
    picture_->setVisible(none);
    static_cast<NoDevicePicture*>(picture_)->SetWarning(permission);
    text_->setVisible(none);
    UpdatePanelText();
    command_->setVisible(permission);
    copy_->setVisible(permission);
    UpdateArrows();
}

void HomePage::UpdatePanelText() {
    // Rich text brings Qt's document layout: set only while the panel shows, so the list view starts
    // without it.
    text_->setText(panel_ == Panel::NoDevice ? PanelText() : QString());
}

void HomePage::UpdateArrows() {
    const bool paged = panel_ == Panel::DeviceList && list_->GetPageCount() > 1;
    previous_->setVisible(paged);
    next_->setVisible(paged);
}

void HomePage::UISize(qreal scale) {
    layout_->SetScale(scale);
    UpdateArrows();
}

void HomePage::DeclareGeometry() {
    // The page fills the window's client area between the bars (20, 80 to 20, 50 from the edges). The
    // list keeps design pixels from the edges; the panel of the no-device view is centred and scaled in
    // window coordinates, 80 design pixels above the page's.
    layout_ = new DesignLayout(this, QSize(1360, 658));
    constexpr Edge kWindowTop = Scaled(Anchor::Start, -80);
    layout_->Add(heading_, Ltrb(180, 70, 1180, 110),
                 EdgeRules{Fixed(), Fixed(), Fixed(Anchor::End), Fixed()});
    layout_->Add(list_, Ltrb(180, 120, 1180, 608), kFixedStretch);
    // The arrows sit halfway down the list.
    constexpr EdgeRules kMiddle{Fixed(), Fixed(Anchor::Centre), Fixed(), Fixed(Anchor::Centre)};
    layout_->Add(previous_, Ltrb(130, 344, 170, 384), kMiddle);
    layout_->Add(
        next_, Ltrb(1190, 344, 1230, 384),
        EdgeRules{Fixed(Anchor::End), Fixed(Anchor::Centre), Fixed(Anchor::End), Fixed(Anchor::Centre)});
    constexpr EdgeRules kPanel{Scaled(Anchor::Centre), kWindowTop, Scaled(Anchor::Centre), kWindowTop};
    layout_->Add(picture_, Ltrb(610, 100, 750, 240), kPanel);
    layout_->Add(text_, Ltrb(380, 260, 980, 370), kPanel, 15, QFont::Normal);
    layout_->Add(command_, Ltrb(300, 375, 1060, 445), kPanel);
    layout_->Add(copy_, Ltrb(590, 460, 770, 496),
                 EdgeRules{Fixed(Anchor::Centre), kWindowTop, Fixed(Anchor::Centre), Fixed(Anchor::Size)});
}

}  // namespace quorvel
