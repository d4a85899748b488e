// Texts by id, the per-window registry and the re-text of open windows when the language changes.

#include <QAbstractButton>
#include <QLabel>

#include "UiTestSupport.h"
#include "shell/Preferences.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/window/DeviceMainDlg.h"
#include "ui/window/MainFrame.h"

namespace quorvel {
namespace {

using test::Control;

class RetextTest : public test::UiTest {};

// Every text a window shows: label and button texts and tooltips of visible controls.
std::vector<std::pair<QWidget*, QString>> VisibleTexts(QWidget* window) {
    std::vector<std::pair<QWidget*, QString>> texts;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty())
            texts.emplace_back(w, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty())
            texts.emplace_back(w, button->text());
        if (!w->toolTip().isEmpty()) texts.emplace_back(w, w->toolTip());
    }
    return texts;
}

TEST_F(RetextTest, OpenWindowsFollowTheLanguage) {
    ReadLCID();  // the preference store exists, as after the start-up language choice
    DeviceMainDlg window("Quorvel Mouse", "1.0.0");
    window.show();
    CUIMessageBox box(&window, 57, 56, kBoxOkCancel);
    box.open();
    AboutDlg about(&window, 0x103, "1.0.0");
    about.show();

    struct Case {
        QWidget* window;
        int id;
        QString english, chinese;
        bool toolTip = false;
    };
    const Case cases[] = {
        {&window, MainFrame::kVersion, "Version: v1.0.0", "版本: v1.0.0"},
        {&window, MainFrame::kClose, "Close", "关闭", true},
        {&window, MainFrame::kTitle, "Quorvel Mouse", "Quorvel Mouse"},  // the device name stays
        {&box, CUIMessageBox::kTitle, "Device not connected", "设备未连接"},
        {&box, CUIMessageBox::kFirstButton, "OK", "确定"},
        {&box, CUIMessageBox::kSecondButton, "Cancel", "取消"},
        {&about, AboutDlg::kFirmwareVersion, "Firmware: v1.03", "固件: v1.03"},
        {&about, AboutDlg::kCopyright, "Copyright © Quorvel. All rights reserved.", ""},
    };
    auto shown = [](const Case& c) {
        QWidget* w = Control(c.window, c.id);
        if (c.toolTip) return w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        return qobject_cast<QAbstractButton*>(w)->text();
    };
    for (const Case& c : cases) EXPECT_EQ(shown(c), c.english) << c.id;

    ChangeUiLanguage(kLcidChinese);
    QApplication::processEvents();  // the font change reaches the widgets as an event
    EXPECT_EQ(CurrentLanguage(), kLcidChinese);
    EXPECT_EQ(ReadLCID(), kLcidChinese);
    for (const Case& c : cases) {
        if (c.chinese.isEmpty())
            EXPECT_NE(shown(c), c.english) << c.id;
        else
            EXPECT_EQ(shown(c), c.chinese) << c.id;
    }
    // Chinese text is set in the CJK face first.
    EXPECT_EQ(Control(&box, CUIMessageBox::kTitle)->font().families().value(0), kCjkFamily);

    ChangeUiLanguage(kLcidEnglish);
    QApplication::processEvents();
    for (const Case& c : cases) EXPECT_EQ(shown(c), c.english) << c.id;
    EXPECT_EQ(Control(&box, CUIMessageBox::kTitle)->font().families().value(0), kLatinFamily);
}

TEST_F(RetextTest, EveryVisibleTextIsBoundToItsId) {
    // A text set without the registry would stay in the old language: each window's texts must all be
    // registered, except the device name (no language text).
    DeviceMainDlg window("Quorvel Mouse", "1.0.0");
    CUIMessageBox box(nullptr, 57, 56, kBoxOkCancel);
    AboutDlg about(nullptr, 0x103, "1.0.0");
    for (QWidget* w : std::initializer_list<QWidget*>{&window, &box, &about}) {
        const TextRegistry* registry = w->findChild<TextRegistry*>();
        ASSERT_NE(registry, nullptr);
        for (const auto& [control, text] : VisibleTexts(w)) {
            if (text == "Quorvel Mouse") continue;
            EXPECT_FALSE(registry->IdsOf(control).empty())
                << w->objectName().toStdString() << ": \"" << text.toStdString() << "\" on "
                << control->objectName().toStdString() << " has no text id";
        }
    }
}

TEST_F(RetextTest, ADestroyedControlIsDroppedFromTheRegistry) {
    QWidget window;
    TextRegistry texts(&window);
    auto* kept = new QLabel(&window);
    auto* gone = new QLabel(&window);
    texts.BindText(kept, 20);
    texts.BindText(gone, 25);
    delete gone;
    ChangeUiLanguage(kLcidChinese);  // would write through the dead label's setter
    EXPECT_EQ(kept->text(), "确定");
    EXPECT_EQ(texts.Entries().size(), 1u);
}

TEST_F(RetextTest, MissingTextsAreEmpty) {
    EXPECT_EQ(Text(20), "OK");
    EXPECT_EQ(Text(999999), "");
    SetCurrentLanguage(1041);  // offered by no language file here
    EXPECT_EQ(Text(20), "");
}

TEST(UiFontsTest, CjkLanguagesPutTheCjkFaceFirst) {
    const std::pair<int, bool> cases[] = {{1033, false}, {2052, true},  {1028, true}, {3076, true},
                                          {1041, true},  {1049, false}, {0, false}};
    for (const auto& [lcid, cjk] : cases) {
        EXPECT_EQ(IsCjkLanguage(lcid), cjk) << lcid;
        EXPECT_EQ(LanguageFamilies(lcid).value(0), cjk ? kCjkFamily : kLatinFamily) << lcid;
        EXPECT_EQ(LanguageFamilies(lcid).size(), 2);
    }
}

}  // namespace
}  // namespace quorvel
