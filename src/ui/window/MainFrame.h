#pragma once
// The frame of the main window: the background with the caption and bottom bars, the logo, the title,
// the caption buttons, the version label, the bottom text, and the controls of the device in use (its
// picture, status title, battery, profile button and factory reset). The controls are children of the
// window itself, so their ids are found; their design rectangles go to the window's design layout
// (Declare), and Place fits what follows the skin or the width (logo, notice, model picture). The frame
// keeps its controls to itself: the window hears its buttons as signals, the views say what shows.

#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

#include "device/ModelFeatures.h"
#include "ui/common/TextIds.h"

class QLabel;
class QPainter;
class QPushButton;
class QTimer;
class QWidget;

namespace quorvel {

class BatteryCtrl;
class CaptionButton;
class DesignLayout;
class DeviceEvents;
class LogoWidget;
class MPicture;
class TextRegistry;

class MainFrame : public QObject {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>").
    enum Id {
        kModelPicture = 31,
        kLogo = 34,
        kTitle = 35,
        kVersion = 36,
        kBottomText = 37,
        kClose = 38,
        kMinimise = 39,
        kSettings = 40,
        kMaximise = 41,
        kBattery = 43,
        kStatusTitle = 44,
        kProfile = 45,
        kReset = 46,
    };
    static constexpr int kCaptionHeight = 50;
    static constexpr int kBarHeight = 50;

    // Builds the controls on `window`; title: the device name, softwareVersion: the version of config.xml.
    MainFrame(QWidget* window, TextRegistry& texts, const QString& title, const QString& softwareVersion);

    // Declares the controls' design rectangles to the window's layout.
    void Declare(DesignLayout& layout);
    // Places what the layout cannot: the logo at the skin's size, the notice between the bottom bar's
    // buttons, the model picture at its image's size times the scale; and the maximise button's kind.
    void Place(int right, int bottom, qreal scale, bool maximised);
    // The background and the two bars.
    static void Paint(QPainter& painter, const QRect& client);

    // The status title (50 no device, 51 wired, 52 wireless).
    void SetStatusTitle(int textId);
    int StatusTitle() const { return statusTitle_; }
    // The profile button shows the profile's name as the profile list shows it (default names in the
    // current language); the stored name is kept so a language change shows it again.
    void SetProfileName(const QString& storedName);
    QString ProfileName() const { return profileName_; }
    void SetProfileNameRule(std::function<QString(const QString&)> shown) { shownName_ = std::move(shown); }
    // A notice in the bottom bar, built from text ids joined by blanks, for `milliseconds`; a later notice
    // replaces it. Re-texted while it shows.
    void ShowNotice(std::vector<int> textIds, int milliseconds);
    void ClearNotice();
    // The picture of the current model ("device\<mouse_img>"); nothing when the skin lacks it.
    void SetModelPicture(const QString& image);
    QWidget* ModelPicture() const;
    // The battery and the profile name of the device in use follow the core; `features` reads what the
    // current model has (the battery shows only for a model that runs on one).
    void Follow(DeviceEvents& events, std::function<ModelFeatures()> features);

    // What the view shows: the caption's settings and maximise buttons unless the settings page is
    // open; the battery with the pages; the status title, the profile and reset buttons with the device.
    void ShowViewControls(bool settingsOpen, bool pages, bool device);
    // The profile button (no switch while a model loads or a recording runs) and the factory reset.
    void SetProfileEnabled(bool enabled);
    void SetResetEnabled(bool enabled);
    // Where the profile list opens.
    QWidget* ProfileButton() const;

signals:
    void logoClicked();
    void closeClicked();
    void minimiseClicked();
    void maximiseClicked();
    void settingsClicked();
    void profileClicked();
    void resetClicked();

private:
    void ConnectButtons();

    LogoWidget* logo = nullptr;
    QLabel* title = nullptr;
    QLabel* version = nullptr;
    QLabel* bottomText = nullptr;
    CaptionButton* close = nullptr;
    CaptionButton* minimise = nullptr;
    CaptionButton* maximise = nullptr;
    CaptionButton* settings = nullptr;
    MPicture* modelPicture = nullptr;
    BatteryCtrl* battery = nullptr;
    QLabel* statusTitle = nullptr;
    QPushButton* profile = nullptr;
    QPushButton* reset = nullptr;

    QString ShownProfileName() const;
    QString NoticeText() const;
    void PlaceModelPicture();
    void ReadBatteryFeature();
    void ShowBattery();

    QWidget* window_;
    QString softwareVersion_;
    int statusTitle_ = txt::kNoDevice;
    QString profileName_;
    std::function<QString(const QString&)> shownName_;
    std::function<ModelFeatures()> features_;
    bool hasBattery_ = false;
    bool pagesShown_ = false;
    std::vector<int> notice_;
    QTimer* noticeTimer_ = nullptr;
    int right_ = 0;
    qreal scale_ = 1.0;
};

// The bottom bar's buttons (reset, then profile) are read last: a page built later joins the window's Tab
// chain at its end, so whoever builds one calls this after it.
void KeepBottomBarLast(QWidget* window);

}  // namespace quorvel
