#pragma once
// The notification-area icon: the program's icon with the device name as its tip. A click (or a double
// click) asks for the window; its menu shows the window or ends the program. Many desktops (and Xvfb) have
// no notification area: Available() says so, and the window then minimises where it would hide.

#include <QObject>
#include <optional>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace quorvel {

class TextRegistry;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(TextRegistry& texts, QWidget* window);
    ~TrayIcon() override;

    // Whether the desktop has a notification area (tests may decide it).
    static bool Available();
    static void SetAvailableForTests(std::optional<bool> available);

    // Adds the icon when the desktop has a notification area; false when it has none.
    bool Show(const QString& tip);
    // A new tip (the active profile changed); kept for when the icon is shown.
    void SetTip(const QString& tip);
    // Removes it (every exit path and the teardown do).
    void Remove();
    bool Shown() const { return shown_; }
    QMenu* Menu() const { return menu_; }

signals:
    void showRequested();
    void exitRequested();

private:
    QMenu* menu_ = nullptr;
    QSystemTrayIcon* icon_ = nullptr;
    bool shown_ = false;
};

}  // namespace quorvel
