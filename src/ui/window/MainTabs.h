#pragma once
// The tab strip of the main window and the pages behind it: the sidebar (background 47, strip 48) and the
// page containers 50-55, each page its own class. The home item (1) stands for the home page (49), which
// the window owns; the lighting item is hidden for models without lighting.
//
// A page is built the first time its item is shown, not with the window: the first view costs no page.
// A page built late takes the model loaded last and fills itself from the settings; from then on it
// follows the host's events itself.

#include <QObject>
#include <QRect>
#include <array>
#include <vector>

#include "shell/DeviceDescriptor.h"

class QWidget;

namespace quorvel {

class DesignLayout;
class MPicture;
class MTabCtrl;
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

    // Every page built so far, in strip order.
    std::vector<Page*> Pages() const;
    // The page of an item, built now if it was not (null for the home item).
    Page* PageOf(int item);
    // Reloads the built pages that the PageMask bits name.
    void Refresh(unsigned pages);

    // The item of the selected index (kHomeItem when nothing is selected).
    int CurrentItem() const;
    void SelectIndex(int index);
    void SelectItem(int item);
    // The model loader applied a descriptor: the lighting item follows it (when it goes while selected,
    // the first page is shown), and pages built later start from it.
    void SetModel(const ModelState& model);
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
    Page* Built(int item) const;
    Page* Build(int item);

    PageHost& host_;
    QWidget* window_;
    DesignLayout* layout_ = nullptr;
    MPicture* background_ = nullptr;
    MTabCtrl* strip_ = nullptr;
    QWidget* backdrop_ = nullptr;
    // By strip index 1..5 (buttons, performance, macros, lighting, device information); null until built.
    std::array<Page*, 6> pages_{};
    ModelState model_;
    bool modelSet_ = false;  // a model was loaded
    bool shown_ = false;
    bool pagesEnabled_ = true;
    qreal scale_ = 1.0;
};

}  // namespace quorvel
