#pragma once
// The tab strip of the main window and the pages behind it: the sidebar (background 47, strip 48) and the
// page containers 50-55, each page its own class. The home item (1) stands for the home page (49), which
// the window owns; the lighting item is hidden for models without lighting.

#include <QObject>
#include <QRect>
#include <vector>

class QWidget;

namespace quorvel {

class DesignLayout;
class ButtonPage;
class DeviceInfoPage;
class LightingPage;
class MPicture;
class MTabCtrl;
class MacroPage;
class Page;
class PageHost;
class PerformancePage;
class TextRegistry;

class MainTabs : public QObject {
    Q_OBJECT
public:
    enum Id {
        kTabBackground = 47,
        kTabStrip = 48,
        kButtonPage = 50,
        kPerformancePage = 52,
        kMacroPage = 53,
        kLightingPage = 54,
        kDeviceInfoPage = 55,
    };
    // Item ids of the strip, in strip order (index 0 .. 5).
    enum Item {
        kHomeItem = 1,
        kButtonsItem = 2,
        kPerformanceItem = 3,
        kMacrosItem = 4,
        kLightingItem = 5,
        kDeviceInfoItem = 7,
    };

    MainTabs(PageHost& host, QWidget* window, TextRegistry& texts);

    MTabCtrl& Strip() { return *strip_; }
    ButtonPage& Buttons() { return *buttons_; }
    PerformancePage& Performance() { return *performance_; }
    MacroPage& Macros() { return *macros_; }
    LightingPage& Lighting() { return *lighting_; }
    DeviceInfoPage& DeviceInfo() { return *deviceInfo_; }
    // Every page, in strip order.
    std::vector<Page*> Pages() const;

    // The item of the selected index (kHomeItem when nothing is selected).
    int CurrentItem() const;
    void SelectIndex(int index);
    void SelectItem(int item);
    // The lighting item follows the model; when it goes while selected, the first page is shown.
    void SetLightingVisible(bool visible);
    // The sidebar with the strip, and the selected page (never the home item's: the window shows that).
    void Show(bool shown);
    // The model's big picture behind the pages: shown with them, except behind the buttons page, whose own
    // picture of the mouse it would show through.
    void SetBackdrop(QWidget* picture) { backdrop_ = picture; }
    // Disabled while a recording holds the window.
    void SetEnabled(bool enabled);
    // The pages take no input while a picked model is still being loaded (they show the previous one).
    void SetPagesEnabled(bool enabled);

    // Declares the sidebar to the window's design layout.
    void Declare(DesignLayout& layout);
    // Puts the pages (those built so far) in their container and sets their layout scale.
    void Place(qreal scale);

signals:
    // The user picked an item of the strip.
    void itemClicked(int item);

private:
    Page* PageOf(int item) const;

    QWidget* window_;
    DesignLayout* layout_ = nullptr;
    MPicture* background_ = nullptr;
    MTabCtrl* strip_ = nullptr;
    QWidget* backdrop_ = nullptr;
    ButtonPage* buttons_ = nullptr;
    PerformancePage* performance_ = nullptr;
    MacroPage* macros_ = nullptr;
    LightingPage* lighting_ = nullptr;
    DeviceInfoPage* deviceInfo_ = nullptr;
    bool shown_ = false;
};

}  // namespace quorvel
