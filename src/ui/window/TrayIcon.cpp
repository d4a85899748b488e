#include "ui/window/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include "ui/common/LogoWidget.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {
std::optional<bool> g_availableForTests;
// The tip field of the notification area holds 127 characters.
constexpr int kTipLength = 127;
}  // namespace

TrayIcon::TrayIcon(TextRegistry& texts, QWidget* window) : QObject(window) {
    menu_ = new QMenu(window);
    menu_->setObjectName(QStringLiteral("Menu Window"));
    QAction* show = menu_->addAction(Text(txt::kShowWindow));
    QAction* exit = menu_->addAction(Text(txt::kExit));
    texts.Bind(menu_, UiText(txt::kShowWindow), [show](const QString& s) { show->setText(s); });
    texts.Bind(menu_, UiText(txt::kExit), [exit](const QString& s) { exit->setText(s); });
    connect(show, &QAction::triggered, this, &TrayIcon::showRequested);
    connect(exit, &QAction::triggered, this, &TrayIcon::exitRequested);
}

TrayIcon::~TrayIcon() {
    Remove();
}

bool TrayIcon::Available() {
    return g_availableForTests ? *g_availableForTests : QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::SetAvailableForTests(std::optional<bool> available) {
    g_availableForTests = available;
}

bool TrayIcon::Show(const QString& tip) {
    if (shown_) return true;
    if (!icon_) {
        icon_ = new QSystemTrayIcon(AppIcon(), this);
        icon_->setContextMenu(menu_);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                emit showRequested();
        });
    }
    icon_->setToolTip(tip.left(kTipLength));
    // Shown even while no notification area runs: at log-in the panel often starts after us, and Qt docks
    // the icon once one appears. Until then the window acts as without a tray. Tests that pretend to have
    // one have nothing to show it in.
    if (!g_availableForTests) icon_->show();
    if (!Available()) return false;
    shown_ = true;
    return true;
}

void TrayIcon::SetTip(const QString& tip) {
    if (icon_) icon_->setToolTip(tip.left(kTipLength));
}

void TrayIcon::Remove() {
    if (icon_) icon_->hide();
    shown_ = false;
}

}  // namespace quorvel
