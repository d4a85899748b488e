#include "ui/dialogs/ProfileAppsDlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "actions/ProfileActions.h"
#include "actions/ProfileBindings.h"
#include "store/AppList.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel {

namespace {

constexpr int kIconSize = 24;

QIcon IconOf(const OpenWindow& w) {
    if (w.iconArgb.empty()) return QIcon::fromTheme(QString::fromStdString(w.window.instance).toLower());
    QImage image(reinterpret_cast<const uchar*>(w.iconArgb.data()), w.iconWidth, w.iconHeight,
                 w.iconWidth * 4, QImage::Format_ARGB32);
    return QIcon(QPixmap::fromImage(
        image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

QLabel* DimLabel(QWidget* parent, int id, int pixelSize) {
    auto* label = new QLabel(parent);
    label->setObjectName(ControlName(id));
    label->setWordWrap(true);
    label->setFont(UiFont(pixelSize, QFont::Normal));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, palette::kTextDim);
    label->setPalette(pal);
    return label;
}

QPushButton* Button(QWidget* parent, int id, TextRegistry* texts, int text) {
    auto* b = new QPushButton(parent);
    b->setObjectName(ControlName(id));
    b->setFont(UiFont(14));
    b->setAutoDefault(false);
    texts->BindText(b, text);
    return b;
}

}  // namespace

void ProfileAppsDlg::Open(PageHost& host, int profile) {
    auto* dialog = new ProfileAppsDlg(host, profile, host.Window());
    std::string why;
    std::vector<OpenWindow> windows = ListOpenWindows(&why);
    const qint64 self = QCoreApplication::applicationPid();
    std::erase_if(windows, [self](const OpenWindow& w) { return w.window.pid == self; });
    dialog->SetOpenWindows(std::move(windows), why.empty() ? QString() : Text(txt::kFollowUnavailable));
    PageHost* owner = &host;
    connect(dialog, &QDialog::finished, dialog, [owner, dialog] {
        dialog->deleteLater();
        owner->BindingsChanged();
    });
    dialog->open();
}

ProfileAppsDlg::ProfileAppsDlg(PageHost& host, int profile, QWidget* owner)
    : SkinnedDialog(owner, Qt::Dialog, "ProfileAppsDlg", kDesignSize,
                    DialogLook{{}, DialogLook::Image::None, {}, {}, false}),
      host_(host),
      profile_(profile) {
    auto* texts = new TextRegistry(this);
    const int R = kDesignSize.width(), B = kDesignSize.height();

    auto* close = new CaptionButton(CaptionKind::Close, this);
    close->setObjectName(ControlName(kClose));
    Layout().Add(close, Ltrb(R - 40, 12, R - 14, 38));
    texts->BindToolTip(close, txt::kClose);
    connect(close, &QAbstractButton::clicked, this, [this] { done(2); });

    title_ = new QLabel(this);
    title_->setObjectName(ControlName(kTitle));
    Layout().Add(title_, Ltrb(20, 12, R - 50, 40));
    title_->setFont(UiFont(16, QFont::Bold));
    std::vector<ProfileInfo> profiles;
    ListProfiles(host_.Actions(), &profiles);
    QString shown;
    for (const ProfileInfo& p : profiles)
        if (p.profile == profile) shown = QString::fromStdString(p.shownName);
    texts->BindComposed(
        title_, {txt::kApplicationsOf},
        [shown] { return Text(txt::kApplicationsOf).replace(QStringLiteral("%s"), shown); },
        [this](const QString& s) { title_->setText(s); });

    list_ = new QListWidget(this);
    list_->setObjectName(ControlName(kList));
    Layout().Add(list_, Ltrb(20, 48, R - 20, 208));
    list_->setFont(UiFont(14, QFont::Normal));
    list_->setIconSize(QSize(kIconSize, kIconSize));
    empty_ = DimLabel(this, kEmpty, 13);
    Layout().Add(empty_, Ltrb(30, 58, R - 30, 100));
    texts->BindText(empty_, txt::kNoApplication);
    remove_ = Button(this, kRemove, texts, txt::kRemove);
    Layout().Add(remove_, Ltrb(R - 140, 216, R - 20, 246));
    connect(remove_, &QPushButton::clicked, this, &ProfileAppsDlg::RemoveSelected);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { remove_->setEnabled(row >= 0); });

    auto* windowsLabel = new QLabel(this);
    windowsLabel->setFont(UiFont(14, QFont::Bold));
    Layout().Add(windowsLabel, Ltrb(20, 258, R - 20, 282));
    texts->BindText(windowsLabel, txt::kOpenWindows);
    windows_ = new QComboBox(this);
    windows_->setObjectName(ControlName(kWindows));
    Layout().Add(windows_, Ltrb(20, 286, R - 140, 316));
    windows_->setFont(UiFont(14, QFont::Normal));
    windows_->setIconSize(QSize(kIconSize - 4, kIconSize - 4));
    addWindow_ = Button(this, kAddWindow, texts, txt::kAdd);
    Layout().Add(addWindow_, Ltrb(R - 130, 286, R - 20, 316));
    connect(addWindow_, &QPushButton::clicked, this, [this] { Add(windows_->currentData().toString()); });
    noDisplay_ = DimLabel(this, kNoDisplay, 12);
    Layout().Add(noDisplay_, Ltrb(20, 320, R - 20, 356));  // two lines

    name_ = new QLineEdit(this);
    name_->setObjectName(ControlName(kName));
    Layout().Add(name_, Ltrb(20, 350, R - 140, 380));
    name_->setFont(UiFont(14, QFont::Normal));
    name_->setMaxLength(static_cast<int>(kMaxAppNameBytes));
    texts->Bind(name_, txt::kProgramName, [this](const QString& s) { name_->setPlaceholderText(s); });
    addName_ = Button(this, kAddName, texts, txt::kAdd);
    Layout().Add(addName_, Ltrb(R - 130, 350, R - 20, 380));
    connect(addName_, &QPushButton::clicked, this, [this] { Add(name_->text()); });
    connect(name_, &QLineEdit::returnPressed, this, [this] { Add(name_->text()); });
    connect(name_, &QLineEdit::textChanged, this,
            [this](const QString& s) { addName_->setEnabled(!s.trimmed().isEmpty()); });
    addName_->setEnabled(false);

    (void)B;
    SetOpenWindows({});
}

QString ProfileAppsDlg::BindingName(const FocusWindow& window) {
    for (const std::string* name : {&window.windowClass, &window.instance, &window.executable})
        if (!name->empty()) return QString::fromStdString(*name);
    return QString();
}

void ProfileAppsDlg::SetOpenWindows(std::vector<OpenWindow> windows, const QString& unavailable) {
    open_ = std::move(windows);
    windows_->clear();
    for (const OpenWindow& w : open_) {
        const QString name = BindingName(w.window);
        const QString title = QString::fromStdString(w.title);
        windows_->addItem(
            IconOf(w), title.isEmpty() ? name : title + QStringLiteral(" (") + name + QLatin1Char(')'), name);
    }
    noDisplay_->setText(unavailable);
    noDisplay_->setVisible(!unavailable.isEmpty());
    // The notice takes two lines under the window list: the name row moves down while it shows.
    const int R = kDesignSize.width(), nameTop = unavailable.isEmpty() ? 350 : 364;
    Layout().Move(name_, Ltrb(20, nameTop, R - 140, nameTop + 30));
    Layout().Move(addName_, Ltrb(R - 130, nameTop, R - 20, nameTop + 30));
    windows_->setEnabled(!open_.empty());
    addWindow_->setEnabled(!open_.empty());
    FillBindings();  // the bound names take the icons of their open windows
}

void ProfileAppsDlg::FillBindings() {
    list_->clear();
    std::vector<ProfileBinding> bindings;
    ListBindings(host_.Actions(), &bindings);
    for (const ProfileBinding& b : bindings) {
        if (b.profile != profile_) continue;
        for (const std::string& app : b.apps) {
            auto* item = new QListWidgetItem(QString::fromStdString(app), list_);
            for (const OpenWindow& w : open_) {
                if (AppMatches(app, w.window)) {
                    item->setIcon(IconOf(w));
                    break;
                }
            }
        }
    }
    empty_->setVisible(list_->count() == 0);
    remove_->setEnabled(list_->currentRow() >= 0);
}

void ProfileAppsDlg::Add(const QString& name) {
    if (name.trimmed().isEmpty()) return;
    const ActionResult result = BindApp(host_.Actions(), profile_, name.toStdString());
    if (!result.ok) {
        OpenMessageBox(this, txt::kNotice,
                       UiText(Text(txt::kApplicationNotAdded) + QLatin1Char('\n') +
                              QString::fromStdString(result.message)),
                       kBoxOk, {});
        return;
    }
    name_->clear();
    FillBindings();
}

void ProfileAppsDlg::RemoveSelected() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    UnbindApp(host_.Actions(), profile_, item->text().toStdString());
    FillBindings();
}

}  // namespace quorvel
