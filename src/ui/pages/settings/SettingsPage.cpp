#include "ui/pages/settings/SettingsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "platform/Autostart.h"
#include "platform/Launch.h"
#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "shell/Preferences.h"
#include "shell/ProductConfig.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel {

namespace {

// The page's extent in the window's design; the page is placed, not scaled, so these are pixels.
constexpr QSize kDesign(1398, 698);
constexpr int kColumnWidth = 720;
constexpr int kColumnSides = 170;  // the least room beside the column in a narrow page
constexpr int kSectionSpacing = 14;

// A framed group of settings, drawn like the pages' panels.
class Panel : public QWidget {
public:
    explicit Panel(QWidget* parent) : QWidget(parent) {
        new QVBoxLayout(this);
        SetCompact(false);
    }
    QVBoxLayout* Layout() { return static_cast<QVBoxLayout*>(layout()); }
    // Closer rows, for a window too short for the design's.
    void SetCompact(bool compact) {
        layout()->setContentsMargins(24, compact ? 10 : 16, 24, compact ? 10 : 18);
        layout()->setSpacing(compact ? 6 : 10);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (Skin::Instance().PaintFrame(p, rect(), QStringLiteral("img_area_bkg.png"),
                                        QMargins(16, 16, 16, 16)))
            return;
        p.setPen(palette::kBorder);
        p.setBrush(palette::kSurface);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    }
};

template <typename T>
T* Named(T* widget, int id) {
    widget->setObjectName(ControlName(id));
    widget->setFont(UiFont(14, QFont::Normal));
    return widget;
}

QLabel* DimLabel(QWidget* parent, int id) {
    auto* label = Named(new QLabel(parent), id);
    label->setWordWrap(true);
    label->setFont(UiFont(13, QFont::Normal));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, palette::kTextDim);
    label->setPalette(pal);
    return label;
}

}  // namespace

SettingsPage::SettingsPage(TextRegistry& texts, const ProductConfig& product, QWidget* window)
    : QWidget(window),
      installed_(QString::fromStdString(product.version)),
      opener_([](const std::string& url) { return OpenWebAddress(url); }) {
    setObjectName(ControlName(kContainer));
    setAttribute(Qt::WA_OpaquePaintEvent);

    leave_ = Named(new QPushButton(this), kLeave);
    texts.BindText(leave_, txt::kBack);
    connect(leave_, &QPushButton::clicked, this, &SettingsPage::leaveRequested);

    // Below the design height the sections do not all fit: the column scrolls rather than squeezing them.
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setWidgetResizable(true);
    scroll_->viewport()->setAutoFillBackground(false);
    column_ = new QWidget;
    auto* layout = new QVBoxLayout(column_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kSectionSpacing);
    auto* title = Named(new QLabel(column_), kTitle);
    title->setFont(UiFont(22, QFont::Bold));
    title->setAlignment(Qt::AlignCenter);
    texts.BindText(title, txt::kSettings);
    layout->addWidget(title);
    layout->addSpacing(6);
    layout->addWidget(BuildGeneral(texts));
    layout->addWidget(BuildClosing(texts));
    layout->addWidget(BuildUpdates(texts));
    layout->addWidget(BuildLinks(texts, product));
    layout->addStretch(1);
    scroll_->setWidget(column_);
    column_->setAutoFillBackground(false);  // the page's shade shows through
    // The column closes up for the height the layout gives it, before the scroll area fits it in.
    scroll_->installEventFilter(this);

    auto* design = new DesignLayout(this, kDesign);
    design->Add(leave_, Ltrb(24, 16, 144, 52), kFixedEdges);
    const Edge side = Inside(Fixed(Anchor::Centre), kColumnSides);
    const int left = (kDesign.width() - kColumnWidth) / 2;
    design->Add(scroll_, Ltrb(left, 16, left + kColumnWidth, kDesign.height() - 8),
                EdgeRules{side, Fixed(), side, Fixed(Anchor::End)});
    Refresh();
}

void SettingsPage::SetFollow(bool on, bool available) {
    followAvailable_ = available;
    follow_->setChecked(on);
    follow_->setEnabled(available);
    followHint_->setText(Text(available ? txt::kFollowHint : txt::kFollowUnavailable));
}

QLabel* SettingsPage::SectionLabel(TextRegistry& texts, int textId) {
    auto* label = new QLabel(column_);
    label->setFont(UiFont(15, QFont::Bold));
    texts.BindText(label, textId);
    return label;
}

QWidget* SettingsPage::BuildGeneral(TextRegistry& texts) {
    auto* panel = new Panel(column_);
    panel->Layout()->addWidget(SectionLabel(texts, txt::kGeneral));

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(panel);
    label->setFont(UiFont(14, QFont::Normal));
    texts.BindText(label, txt::kLanguage);
    language_ = Named(new QComboBox(panel), kLanguage);
    // The two entries are the languages' own names, the same in every language.
    language_->addItem(QStringLiteral("简体中文"), kLcidChinese);
    language_->addItem(QStringLiteral("English"), kLcidEnglish);
    language_->setMinimumWidth(180);
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(language_);
    panel->Layout()->addLayout(row);
    connect(language_, &QComboBox::activated, this, [this](int index) {
        const int lcid = language_->itemData(index).toInt();
        if (lcid != CurrentLanguage()) ChangeUiLanguage(lcid);
    });

    autorun_ = Named(new QCheckBox(panel), kAutorun);
    texts.BindText(autorun_, txt::kAutorun);
    minimised_ = Named(new QCheckBox(panel), kStartMinimised);
    texts.BindText(minimised_, txt::kStartMinimised);
    minimised_->setContentsMargins(28, 0, 0, 0);
    panel->Layout()->addWidget(autorun_);
    panel->Layout()->addWidget(minimised_);
    connect(autorun_, &QCheckBox::clicked, this, &SettingsPage::OnAutorunClicked);
    // Start minimised decides whether the autorun entry starts the program without a window.
    connect(minimised_, &QCheckBox::clicked, this, [](bool on) { SetAutorunMinimize(on); });

    follow_ = Named(new QCheckBox(panel), kFollow);
    texts.BindText(follow_, txt::kFollowApplication);
    followHint_ = DimLabel(panel, kFollowHint);
    texts.BindComposed(
        followHint_, {txt::kFollowHint, txt::kFollowUnavailable},
        [this] { return Text(followAvailable_ ? txt::kFollowHint : txt::kFollowUnavailable); },
        [this](const QString& s) { followHint_->setText(s); });
    panel->Layout()->addWidget(follow_);
    // Indented by its row, not by the label's own margins: a wrapped label asks its height for its whole
    // width and would lose its last line.
    auto* hintRow = new QHBoxLayout;
    hintRow->setContentsMargins(28, 0, 0, 0);
    hintRow->addWidget(followHint_);
    panel->Layout()->addLayout(hintRow);
    connect(follow_, &QCheckBox::clicked, this, &SettingsPage::followToggled);
    return panel;
}

QWidget* SettingsPage::BuildClosing(TextRegistry& texts) {
    auto* panel = new Panel(column_);
    panel->Layout()->addWidget(SectionLabel(texts, txt::kOnClose));
    hide_ = Named(new QRadioButton(panel), kHideOnClose);
    exit_ = Named(new QRadioButton(panel), kExitOnClose);
    texts.BindText(hide_, txt::kCloseToTray);
    texts.BindText(exit_, txt::kCloseExits);
    auto* group = new QButtonGroup(panel);  // the exit-mode choice
    group->setObjectName(QStringLiteral("IDC_SET_STC_EXITMODE"));
    group->addButton(hide_);
    group->addButton(exit_);
    panel->Layout()->addWidget(hide_);
    panel->Layout()->addWidget(exit_);
    trayHint_ = DimLabel(panel, kTrayHint);
    texts.BindText(trayHint_, txt::kNoTray);
    trayHint_->hide();
    panel->Layout()->addWidget(trayHint_);
    connect(hide_, &QRadioButton::clicked, this, [this] {
        WriteExitMode(true);
        ShowTrayHint();
    });
    connect(exit_, &QRadioButton::clicked, this, [this] {
        WriteExitMode(false);
        ShowTrayHint();
    });
    return panel;
}

QWidget* SettingsPage::BuildUpdates(TextRegistry& texts) {
    auto* panel = new Panel(column_);
    panel->Layout()->addWidget(SectionLabel(texts, txt::kSoftwareUpdates));
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    check_ = DimLabel(panel, kSoftwareCheck);
    check_->setFont(UiFont(14, QFont::Normal));
    texts.BindComposed(
        check_, {txt::kVersion, txt::kUpToDate, txt::kNewVersion, txt::kCheckFailedDetail, txt::kChecking},
        [this] { return CheckText(); }, [this](const QString& s) { check_->setText(s); });
    auto* checkButton = Named(new QPushButton(panel), kCheckSoftware);
    texts.BindText(checkButton, txt::kCheckForUpdates);
    auto* about = Named(new QPushButton(panel), kAbout);
    texts.BindText(about, txt::kAbout);
    row->addWidget(check_, 1);
    row->addWidget(checkButton);
    row->addWidget(about);
    panel->Layout()->addLayout(row);
    connect(checkButton, &QPushButton::clicked, this, &SettingsPage::checkSoftwareRequested);
    connect(about, &QPushButton::clicked, this, &SettingsPage::aboutRequested);
    return panel;
}

QWidget* SettingsPage::BuildLinks(TextRegistry& texts, const ProductConfig& product) {
    auto* panel = new Panel(column_);
    panel->Layout()->addWidget(SectionLabel(texts, txt::kLinks));
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    const struct {
        int id, text;
        std::string address;
    } links[] = {{kWebsite, txt::kWebsite, product.website},
                 {kFeedback, txt::kFeedback, product.feedback},
                 {kQuestions, txt::kHelp, product.qa}};
    for (const auto& link : links) {
        auto* button = Named(new QPushButton(panel), link.id);
        texts.BindText(button, link.text);
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        QPalette accent = button->palette();
        accent.setColor(QPalette::ButtonText, AccentColor());
        button->setPalette(accent);
        button->setVisible(!link.address.empty());  // a product without the address shows no link
        const std::string address = link.address;
        connect(button, &QPushButton::clicked, this, [this, address] {
            if (opener_) opener_(address);
        });
        row->addWidget(button);
    }
    row->addStretch(1);
    panel->Layout()->addLayout(row);
    return panel;
}

void SettingsPage::Refresh() {
    const int lcid = CurrentLanguage();
    language_->setCurrentIndex(language_->findData(lcid));  // -1 (no selection) for another language
    const bool autorun = IsAutorunOn();
    autorun_->setChecked(autorun);
    minimised_->setEnabled(autorun);
    minimised_->setChecked(autorun && ReadAutorunMinimize() == 1);
    (ReadExitMode() == 1 ? hide_ : exit_)->setChecked(true);
    ShowTrayHint();
}

void SettingsPage::OnAutorunClicked(bool on) {
    SetAutorun(on);
    // The box shows what the system now has: an entry that could not be written (or removed) is not
    // shown as done.
    const bool now = IsAutorunOn();
    autorun_->setChecked(now);
    minimised_->setEnabled(now);
    if (!now) minimised_->setChecked(false);
    // The box went back: say why, or the click looks ignored.
    if (now != on) {
        const QString entry = QString::fromStdString(AutostartEntryPath(GetDeviceName()));
        OpenMessageBox(window(), txt::kAutorun,
                       UiText(Text(txt::kAutorunFailed).replace(QStringLiteral("%s"), entry)), kBoxOk, {});
    }
}

void SettingsPage::SetTrayAvailable(bool available) {
    trayAvailable_ = available;
    ShowTrayHint();
}

void SettingsPage::ShowTrayHint() {
    // The note is about keeping the program running on close; it means nothing when closing exits.
    trayHint_->setVisible(!trayAvailable_ && hide_->isChecked());
}

void SettingsPage::SetSoftwareCheck(Check check, const QString& newest) {
    checkState_ = check;
    newest_ = newest;
    check_->setText(CheckText());
}

QString SettingsPage::CheckText() const {
    switch (checkState_) {
        case Check::Checking:
            return Text(txt::kChecking);
        case Check::UpToDate:
            return Text(txt::kUpToDate);
        case Check::Newer:
            return Text(txt::kNewVersion) + QStringLiteral(": v") + newest_;
        case Check::Failed:
            return Text(txt::kCheckFailedDetail);
        case Check::Idle:
            break;
    }
    return Text(txt::kVersion) + QStringLiteral(": v") + installed_;
}

bool SettingsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_ && event->type() == QEvent::Resize)
        FitColumn(static_cast<QResizeEvent*>(event)->size().height());
    return QWidget::eventFilter(watched, event);
}

void SettingsPage::FitColumn(int height) {
    // A page shorter than the design's closes the sections up before the column has to scroll.
    for (bool compact : {false, true}) {
        column_->layout()->setSpacing(compact ? 6 : kSectionSpacing);
        for (QWidget* child : column_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (auto* panel = dynamic_cast<Panel*>(child)) panel->SetCompact(compact);
        if (column_->layout()->sizeHint().height() <= height) break;
    }
}

void SettingsPage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient shade(rect().topLeft(), rect().bottomRight());
    shade.setColorAt(0, palette::kWindow.lighter(112));
    shade.setColorAt(1, palette::kWindow);
    p.fillRect(rect(), shade);
}

}  // namespace quorvel
