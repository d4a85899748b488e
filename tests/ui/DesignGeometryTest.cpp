// The design geometry at several window sizes: the rules of the design layout, and the rectangles and font
// sizes of the window's controls, which must stay those the window has always had (the values below were
// worked out from the rules each window used to apply by hand: products truncated, the frame in design
// pixels from the client edges).

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>

#include "MainWindowFixture.h"
#include "toolkit/CDeviceList.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/UiRect.h"
#include "ui/pages/buttons/ButtonPage.h"
#include "ui/pages/buttons/ButtonPageIds.h"
#include "ui/pages/buttons/ButtonPicturePanel.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/lighting/LightingPage.h"
#include "ui/pages/macros/MacroPage.h"
#include "ui/pages/macros/MacroPageIds.h"
#include "ui/pages/performance/DpiPanel.h"
#include "ui/pages/performance/PerformancePage.h"
#include "ui/pages/performance/PowerPanel.h"
#include "ui/pages/performance/ReportRatePanel.h"
#include "ui/pages/settings/SettingsPage.h"
#include "ui/window/MainFrame.h"
#include "ui/window/MainTabs.h"

namespace quorvel::test {

using namespace macro_page;
namespace {

// One rule set on a 1000 x 500 design, in a box of another size, at a scale.
TEST(DesignLayout, EdgeRulesFollowTheBoxAndTheScale) {
    struct Case {
        const char* what;
        QRect design;
        EdgeRules rules;
        QSize box;
        qreal scale;
        QRect expected;
    };
    const EdgeRules centred{Fixed(Anchor::Centre), Fixed(), Fixed(Anchor::Centre), Fixed()};
    const EdgeRules centredScaled{Scaled(Anchor::Centre), Scaled(), Scaled(Anchor::Centre), Scaled()};
    const EdgeRules underALine{Fixed(), Scaled(Anchor::Start, 32), Fixed(), Fixed(Anchor::Size)};
    // A column centred, 720 wide at most and 170 from each side of a narrower box.
    const Edge side = Inside(Fixed(Anchor::Centre), 170), sideScaled = Inside(Scaled(Anchor::Centre), 170);
    const EdgeRules column{side, Fixed(), side, Fixed()};
    const EdgeRules columnScaled{sideScaled, Scaled(), sideScaled, Scaled()};
    // A centred button 40 wide, kept 100 inside: in a small box it moves rather than narrows.
    const EdgeRules sizedInside{Inside(Fixed(Anchor::Centre), 100), Fixed(), Fixed(Anchor::Size), Fixed()};
    const Case cases[] = {
        // Edges scaled apart: 0.75 * 25 = 18.75 -> 18; the right edge 0.75 * 601 = 450.75 -> 450.
        {"edges", Ltrb(25, 10, 601, 47), kScaledEdges, {750, 375}, 0.75, Ltrb(18, 7, 450, 35)},
        // Sizes scaled on their own: the width is 0.75 * 576 = 432, not 450 - 18.
        {"sizes", Ltrb(25, 10, 601, 47), kScaledSizes, {750, 375}, 0.75, QRect(18, 7, 432, 27)},
        // Design pixels from the right and bottom edges of a box of another size.
        {"fixed at the end",
         Ltrb(950, 460, 980, 490),
         EdgeRules{Fixed(Anchor::End), Fixed(Anchor::End), Fixed(Anchor::End), Fixed(Anchor::End)},
         {1201, 601},
         2.0,
         Ltrb(1151, 561, 1181, 591)},
        // Scaled from the end: the box is 187 / 0.75 = 249 design pixels wide; 16 from its end, scaled.
        {"scaled from the end", Ltrb(24, 56, 984, 88), kRightToEnd, {187, 132}, 0.75, Ltrb(18, 42, 174, 66)},
        // Scaled distances from the far side in pixels: 187 - 0.75 * 16 = 175, where End gives 174.
        {"scaled from the far side",
         Ltrb(24, 56, 984, 88),
         EdgeRules{Scaled(), Scaled(), Scaled(Anchor::Far), Scaled()},
         {187, 132},
         0.75,
         Ltrb(18, 42, 175, 66)},
        // A button at the far side keeps its scaled size: 187 - 0.75 * 44 = 154, 0.75 * 28 = 21 wide.
        {"sized at the far side",
         Ltrb(956, 10, 984, 38),
         EdgeRules{Scaled(Anchor::Far), Scaled(), Scaled(Anchor::Size), Scaled(Anchor::Size)},
         {187, 132},
         0.75,
         Ltrb(154, 7, 175, 28)},
        // Centred in an odd width: the middle is 1401 / 2 = 700.
        {"centred", Ltrb(370, 10, 630, 40), centred, {1401, 500}, 1.0, Ltrb(570, 10, 830, 40)},
        {"centred, scaled", Ltrb(430, 0, 570, 100), centredScaled, {1050, 375}, 0.75, Ltrb(473, 0, 577, 75)},
        {"column, wide", Ltrb(140, 10, 860, 40), column, {1401, 500}, 1.0, Ltrb(340, 10, 1060, 40)},
        {"column, exactly wide enough",
         Ltrb(140, 10, 860, 40),
         column,
         {1060, 500},
         1.0,
         Ltrb(170, 10, 890, 40)},
        // One pixel less: the middle is 529, so the column would start at 169; the sides take a pixel.
        {"column, one short", Ltrb(140, 10, 860, 40), column, {1059, 500}, 1.0, Ltrb(170, 10, 889, 40)},
        {"column, narrow", Ltrb(140, 10, 860, 40), column, {900, 500}, 1.0, Ltrb(170, 10, 730, 40)},
        // Margins scale with their edges: 85 at 0.5, where the centred column would start at 20.
        {"column, scaled", Ltrb(140, 10, 860, 40), columnScaled, {400, 250}, 0.5, Ltrb(85, 5, 315, 20)},
        // A margin of 0 keeps a rectangle wider than the box within it.
        {"inside the box",
         Ltrb(140, 10, 860, 40),
         EdgeRules{Inside(Fixed(Anchor::Centre), 0), Fixed(), Inside(Fixed(Anchor::Centre), 0), Fixed()},
         {600, 500},
         1.0,
         Ltrb(0, 10, 600, 40)},
        {"sized, kept inside", Ltrb(480, 10, 520, 40), sizedInside, {100, 500}, 1.0, Ltrb(100, 10, 140, 40)},
        // A row 32 design pixels under a scaled line keeps those pixels and its height.
        {"under a scaled line",
         Ltrb(24, 532, 130, 556),
         underALine,
         {1000, 500},
         0.75,
         Ltrb(24, 407, 130, 431)},
    };
    for (const Case& c : cases) {
        QWidget owner;
        owner.resize(c.box);
        auto* layout = new DesignLayout(&owner, QSize(1000, 500));
        auto* child = layout->Add(new QWidget(&owner), c.design, c.rules);
        layout->SetScale(c.scale);
        EXPECT_EQ(child->geometry(), c.expected) << c.what;
    }
}

TEST(DesignLayout, FontsFollowTheScaleByTheRule) {
    QWidget owner;
    auto* layout = new DesignLayout(&owner, QSize(100, 100));
    auto* label = layout->Add(new QLabel(&owner), QRect(0, 0, 10, 10), 22, QFont::Bold);
    const struct {
        FontRule rule;
        qreal scale;
        int pixels;
    } cases[] = {
        {{12, true}, 0.75, 17},  // 16.5 rounds up
        {{8, false}, 0.75, 16},  // truncated
        {{12, true}, 0.5, 12},   // never below the minimum
        {{9, true}, 1.3, 29},
    };
    for (const auto& c : cases) {
        layout->SetFontRule(c.rule);
        layout->SetScale(c.scale);
        EXPECT_EQ(label->font().pixelSize(), c.pixels) << c.scale;
        EXPECT_EQ(label->font().weight(), QFont::Bold);
    }
}

// The window at its design size, at 3/4 and at 1024 / 788: each control where it has always been.
class DesignGeometry : public MainWindowTest {};

TEST_F(DesignGeometry, ControlsKeepTheirRectanglesAndFontsAtEveryScale) {
    OpenWindow("102:wired");
    // Pages are built when first shown: a user's visit to each.
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::DeviceList; }));
    emit window->Home().List().deviceClicked(102);
    for (int item : {MainTabs::kPerformanceItem, MainTabs::kMacrosItem, MainTabs::kLightingItem,
                     MainTabs::kDeviceInfoItem})
        PickTab(item);
    auto in = [&](auto* page, int id) { return Control(page, id); };
    auto* performance = window->findChild<PerformancePage*>();
    auto* macros = window->findChild<MacroPage*>();
    auto* info = window->findChild<DeviceInfoPage*>();
    auto* lighting = window->findChild<LightingPage*>();
    auto* home = window->findChild<HomePage*>();
    ASSERT_TRUE(performance && macros && info && lighting && home);

    struct Sample {
        const char* what;
        std::function<QWidget*()> control;
        QRect at[3];  // 1400 x 788, 1050 x 591, 1820 x 1024
    };
    // The pages' content takes the window's scale unless their box is smaller than their share of it: at
    // 591 the sidebar and the bars, kept in design pixels, leave them 830 x 461 of the 1180 x 658 design.
    const qreal pageScale[3] = {1.0, 461 / 658.0, 1024 / 788.0};
    const Sample samples[] = {
        {"close",
         [&] { return Find(MainFrame::kClose); },
         {{1350, 10, 30, 30}, {1000, 10, 30, 30}, {1770, 10, 30, 30}}},
        {"title",
         [&] { return Find(MainFrame::kTitle); },
         {{570, 10, 260, 30}, {395, 10, 260, 30}, {780, 10, 260, 30}}},
        {"version",
         [&] { return Find(MainFrame::kVersion); },
         {{25, 750, 200, 26}, {25, 553, 200, 26}, {25, 986, 200, 26}}},
        {"status title",
         [&] { return Find(MainFrame::kStatusTitle); },
         {{24, 500, 168, 26}, {24, 375, 168, 26}, {24, 649, 168, 26}}},
        {"battery",
         [&] { return Find(MainFrame::kBattery); },
         {{24, 532, 106, 24}, {24, 407, 106, 24}, {24, 681, 106, 24}}},
        {"tab strip",
         [&] { return Find(MainTabs::kTabStrip); },
         {{13, 120, 182, 360}, {13, 90, 182, 270}, {13, 155, 182, 468}}},
        {"tab background",
         [&] { return Find(MainTabs::kTabBackground); },
         {{8, 58, 192, 672}, {8, 58, 192, 475}, {8, 58, 192, 908}}},
        {"performance page",
         [&] { return performance; },
         {{200, 80, 1180, 658}, {200, 80, 830, 461}, {200, 80, 1600, 894}}},
        {"home page", [&] { return home; }, {{20, 80, 1360, 658}, {20, 80, 1010, 461}, {20, 80, 1780, 894}}},
        {"home heading",
         [&] { return in(home, HomePage::kHeading); },
         {{180, 70, 1000, 40}, {180, 70, 650, 40}, {180, 70, 1420, 40}}},
        {"home copy",
         [&] { return in(home, HomePage::kCopy); },
         {{590, 460, 180, 36}, {415, 325, 180, 36}, {800, 621, 180, 36}}},
        {"home picture",
         [&] { return in(home, HomePage::kNoDevicePicture); },
         {{610, 100, 140, 140}, {453, 55, 104, 105}, {800, 153, 180, 182}}},
        {"home next",
         [&] { return in(home, HomePage::kNext); },
         {{1190, 344, 40, 40}, {840, 245, 40, 40}, {1610, 462, 40, 40}}},
        {"performance caption",
         [&] { return in(performance, PerformancePage::kCaption); },
         {{4, 0, 596, 36}, {2, 0, 418, 25}, {5, 0, 774, 46}}},
        {"DPI title",
         [&] { return in(performance, DpiPanel::kTitle); },
         {{24, 14, 576, 32}, {16, 9, 404, 23}, {31, 18, 748, 41}}},
        {"report rates",
         [&] { return in(performance, ReportRatePanel::kRates); },
         {{24, 52, 1132, 40}, {16, 36, 793, 28}, {31, 67, 1471, 52}}},
        {"sleep",
         [&] { return in(performance, PowerPanel::kSleep); },
         {{240, 56, 120, 32}, {168, 39, 84, 22}, {311, 72, 156, 42}}},
        {"macro list label",
         [&] { return in(macros, kMacroListLabel); },
         {{20, 12, 250, 32}, {14, 9, 175, 22}, {25, 15, 325, 42}}},
        {"device title",
         [&] { return in(info, DeviceInfoPage::kTitle); },
         {{54, 12, 400, 32}, {46, 8, 280, 22}, {61, 15, 519, 41}}},
        {"factory reset",
         [&] { return in(info, DeviceInfoPage::kFactoryReset); },
         {{490, 283, 160, 34}, {352, 198, 112, 23}, {627, 367, 207, 44}}},
        {"lighting title",
         [&] { return in(lighting, LightingPage::kTitle); },
         {{54, 12, 360, 32}, {46, 8, 252, 22}, {61, 15, 467, 41}}},
        {"lighting reset",
         [&] { return in(lighting, LightingPage::kReset); },
         {{474, 12, 32, 32}, {341, 8, 22, 22}, {606, 15, 41, 41}}},
    };
    const QSize sizes[3] = {{1400, 788}, {1050, 591}, {1820, 1024}};
    // Fonts: the DPI title truncated with 8 at least, the macro caption rounded with 12 at least.
    const int dpiTitlePx[3] = {16, 11, 20}, macroCaptionPx[3] = {22, 15, 29};
    for (int i = 0; i < 3; ++i) {
        window->resize(sizes[i]);
        ASSERT_TRUE(WaitFor([&] { return window->size() == sizes[i]; }));
        QCoreApplication::processEvents();
        EXPECT_NEAR(window->LayoutScale(), pageScale[i], 1e-9);
        for (const Sample& s : samples) {
            QWidget* control = s.control();
            ASSERT_NE(control, nullptr) << s.what;
            EXPECT_EQ(control->geometry(), s.at[i]) << s.what << " at " << sizes[i].height();
        }
        EXPECT_EQ(in(performance, DpiPanel::kTitle)->font().pixelSize(), dpiTitlePx[i]);
        EXPECT_EQ(in(macros, kMacroCaption)->font().pixelSize(), macroCaptionPx[i]);
    }
}

// The button page's panels at the same window sizes: each opens inside the picture's card with all its
// controls inside it, the picture gives way above it, and takes the room back when the panel closes.
TEST_F(DesignGeometry, AnOpenButtonPanelSitsInThePicturesCardAtEveryScale) {
    OpenWindow("102:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::DeviceList; }));
    emit window->Home().List().deviceClicked(102);
    PickTab(MainTabs::kButtonsItem);
    auto* page = window->findChild<ButtonPage*>();
    ASSERT_NE(page, nullptr);
    auto* buttons = page->findChild<ButtonPicturePanel*>();
    buttons->Select(1);  // not the primary button, whose function stays
    emit buttons->buttonPicked(1);
    QWidget* picture = Control(page, button_page::kPicture);
    QWidget* card = picture->parentWidget();
    auto onPage = [&](QWidget* w) { return QRect(w->mapTo(page, QPoint(0, 0)), w->size()); };

    const struct {
        int opener, close;
    } panels[] = {{button_page::kKeyOpen, button_page::kKeyClose},
                  {button_page::kClickOpen, button_page::kClickClose}};
    for (const QSize size : {QSize(1400, 788), QSize(1050, 591), QSize(1820, 1024)}) {
        window->resize(size);
        ASSERT_TRUE(WaitFor([&] { return window->size() == size; }));
        QCoreApplication::processEvents();
        for (const auto& p : panels) {
            Control<QAbstractButton>(page, p.opener)->click();
            QWidget* close = Control(page, p.close);
            QWidget* panel = close->parentWidget();
            ASSERT_TRUE(panel->isVisible()) << p.opener;
            const QRect at = onPage(panel);
            EXPECT_TRUE(onPage(card).contains(at)) << p.opener << " at " << size.height();
            for (QWidget* control : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                EXPECT_TRUE(panel->rect().contains(control->geometry()))
                    << control->objectName().toStdString() << " at " << size.height();
            EXPECT_LT(onPage(picture).bottom(), at.top()) << p.opener << " at " << size.height();
            Control<QAbstractButton>(page, p.close)->click();
            EXPECT_GT(onPage(picture).bottom(), at.bottom()) << p.opener << " at " << size.height();
        }
    }
}

// The settings page, placed in design pixels in the window less 2 x 90: the way back at the top left, the
// column 16 under the top and 8 above the bottom, centred, 720 wide at most and 170 from each side of a
// narrower page. A column too short for its sections closes them up, scrolls only if they still do not
// fit, and opens them again when the window grows.
TEST_F(DesignGeometry, TheSettingsColumnIsCentredAtMost720WideAndClosesUpWhenShort) {
    OpenWindow("102:wired");
    Find<QAbstractButton>(MainFrame::kSettings)->click();
    ASSERT_TRUE(window->SettingsOpen());
    auto* scroll = Find(SettingsPage::kContainer)->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    enum Fit { Open, Closed, ClosedAndScrolls };
    const struct {
        QSize window;
        QRect column;
        Fit fit;
    } cases[] = {
        {{1400, 788}, Ltrb(339, 16, 1059, 690), Open},   // the design: a page of 1398 x 698
        {{1821, 1024}, Ltrb(549, 16, 1269, 926), Open},  // wider, odd: (1819 -/+ 720) / 2
        {{1062, 788}, Ltrb(170, 16, 890, 690), Open},    // exactly 720 + 2 x 170
        {{1061, 788}, Ltrb(170, 16, 889, 690), Open},    // a pixel narrower: the sides win
        {{902, 788}, Ltrb(170, 16, 730, 690), Open},     // narrower
        // The sections need about 650 pixels open and 530 closed up.
        {{1400, 700}, Ltrb(339, 16, 1059, 602), Closed},
        {{1400, 591}, Ltrb(339, 16, 1059, 493), ClosedAndScrolls},
        {{1400, 788}, Ltrb(339, 16, 1059, 690), Open},
    };
    for (const auto& c : cases) {
        window->resize(c.window);
        ASSERT_TRUE(WaitFor([&] { return window->size() == c.window; }));
        QCoreApplication::processEvents();
        const std::string at =
            QStringLiteral("%1 x %2").arg(c.window.width()).arg(c.window.height()).toStdString();
        EXPECT_EQ(Find(SettingsPage::kLeave)->geometry(), Ltrb(24, 16, 144, 52)) << at;
        EXPECT_EQ(scroll->geometry(), c.column) << at;
        EXPECT_EQ(scroll->widget()->layout()->spacing(), c.fit == Open ? 14 : 6) << at;
        EXPECT_EQ(scroll->verticalScrollBar()->maximum() > 0, c.fit == ClosedAndScrolls) << at;
    }
}

}  // namespace
}  // namespace quorvel::test
