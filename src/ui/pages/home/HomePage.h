#pragma once
// The home page of the main window (container 49): the list of the configured mice with their state
// (57, paged with the arrows 60 and 61), or, when no mouse can be used, the no-device panel (58, 59). When
// a configured mouse is present but this user may not open it, the panel says so in plain words and
// shows the one command that lets the user in (the udev rule), with a button that copies it.

#include <QString>
#include <QWidget>
#include <vector>

#include "device/DiscoveryView.h"
#include "shell/ProductConfig.h"

class QLabel;
class QPushButton;

namespace quorvel {

class CDeviceList;
class DesignLayout;
class DeviceEvents;
class CImageButton;
class TextRegistry;

// The command that makes the udev rule take effect: installs the rule of the program folder and reloads
// the rules, or only reloads them when the rule is installed already. Paths are quoted for the shell.
QString UdevRuleCommand(const QString& programFolder, bool ruleInstalled);
// The same for this machine: the program folder's rule, and whether the system's rule folders hold it.
QString UdevRuleCommand();

class HomePage : public QWidget {
    Q_OBJECT
public:
    enum Id {
        kContainer = 49,
        kDeviceList = 57,
        kNoDevicePicture = 58,
        kNoDeviceText = 59,
        kPrevious = 60,
        kNext = 61,
        kHeading = 700,
        kCommand = 701,
        kCopy = 702,
    };
    // What the page shows: nothing yet (before the first discovery), the no-device panel, or the list.
    enum class Panel { Nothing, NoDevice, DeviceList };

    HomePage(TextRegistry& texts, QWidget* window);

    // One card per configured model, in configuration order.
    void SetModels(const std::vector<DeviceEntry>& models);
    CDeviceList& List() { return *list_; }
    // The list follows discovery (states, batteries, versions, the selection); a new discovery's view
    // clears the permission problems, whose own reports follow; the device lock's holder is told.
    void Follow(DeviceEvents& events);

    void ShowPanel(Panel panel);
    Panel Shown() const { return panel_; }
    // The no-device panel speaks of permissions while any problem is known (cleared by the next
    // discovery's no-device view).
    void ClearPermissionProblems();
    void AddPermissionProblem(const HidPermissionProblem& problem);
    bool HasPermissionProblem() const { return !problems_.empty(); }
    // Another program holds the device lock ("quorvelctl (process 4711)"): the no-device panel says who
    // and that the window waits (891, 892); empty: the lock was taken.
    void SetLockHolder(const QString& holder);

    // Places the controls for the layout scale (the window places the page).
    void UISize(qreal scale);

signals:
    // A card was clicked (57).
    void deviceClicked(int deviceType);

private:
    void DeclareGeometry();
    void UpdatePanel();
    void UpdatePanelText();
    void UpdateArrows();
    QString PanelText() const;

    DesignLayout* layout_ = nullptr;
    CDeviceList* list_ = nullptr;
    QLabel* heading_ = nullptr;
    CImageButton* previous_ = nullptr;
    CImageButton* next_ = nullptr;
    QWidget* picture_ = nullptr;
    QLabel* text_ = nullptr;
    QLabel* command_ = nullptr;
    QPushButton* copy_ = nullptr;
    Panel panel_ = Panel::Nothing;
    std::vector<HidPermissionProblem> problems_;
    QString lockHolder_;
};

}  // namespace quorvel
