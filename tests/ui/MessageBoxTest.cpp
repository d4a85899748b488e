#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel {
namespace {

using test::Control;
using test::OnNextModal;

class MessageBoxTest : public test::UiTest {};

enum class WayOut {
    kFirstButton,
    kSecondButton,
    kEnter,
    kEscape,
    kWindowClose,
    kCloseFromOutside,
    kOwnerGone
};

const char* Name(WayOut w) {
    switch (w) {
        case WayOut::kFirstButton:
            return "first button";
        case WayOut::kSecondButton:
            return "second button";
        case WayOut::kEnter:
            return "Enter";
        case WayOut::kEscape:
            return "Esc";
        case WayOut::kWindowClose:
            return "window manager close";
        case WayOut::kCloseFromOutside:
            return "closed from outside";
        case WayOut::kOwnerGone:
            return "owner destroyed";
    }
    return "?";
}

TEST_F(MessageBoxTest, OnlyTheFirstButtonIsConsent) {
    struct Case {
        int style;
        WayOut way;
        int result;
    };
    const Case cases[] = {
        {kBoxOk, WayOut::kFirstButton, 1},
        {kBoxOk, WayOut::kEnter, 1},
        {kBoxOk, WayOut::kEscape, 2},
        {kBoxOk, WayOut::kWindowClose, 2},
        {kBoxOk, WayOut::kCloseFromOutside, 2},
        {kBoxOk, WayOut::kOwnerGone, 2},
        {kBoxOkCancel, WayOut::kFirstButton, 1},
        {kBoxOkCancel, WayOut::kSecondButton, 2},
        {kBoxOkCancel, WayOut::kEnter, 2},  // a question starts on Cancel
        {kBoxOkCancel, WayOut::kEscape, 2},
        {kBoxOkCancel, WayOut::kWindowClose, 2},
        {kBoxOkCancel, WayOut::kCloseFromOutside, 2},
        {kBoxOkCancel, WayOut::kOwnerGone, 2},
        {7, WayOut::kEscape, 2},
        {7, WayOut::kWindowClose, 2},
        {7, WayOut::kCloseFromOutside, 2},
        {7, WayOut::kOwnerGone, 2},
    };
    for (const Case& c : cases) {
        auto* owner = new QWidget;
        owner->show();
        OnNextModal([&c, owner](QWidget* box) {
            switch (c.way) {
                case WayOut::kFirstButton:
                    Control<QPushButton>(box, 33)->click();
                    break;
                case WayOut::kSecondButton:
                    Control<QPushButton>(box, 34)->click();
                    break;
                case WayOut::kEnter:
                    QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
                    break;
                case WayOut::kEscape:
                    QTest::keyClick(box, Qt::Key_Escape);
                    break;
                case WayOut::kWindowClose:
                    box->close();
                    break;
                case WayOut::kCloseFromOutside:
                    EXPECT_EQ(CloseMessageBoxes(), 1);
                    break;
                case WayOut::kOwnerGone:
                    delete owner;
                    break;
            }
        });
        const int result = ShowMessageBox(owner, 57, 56, c.style);
        EXPECT_EQ(result, c.result) << "style " << c.style << ", " << Name(c.way);
        EXPECT_EQ(IsConsent(result), c.result == 1);
        if (c.way != WayOut::kOwnerGone) delete owner;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST_F(MessageBoxTest, ButtonsAndTextsByStyle) {
    struct Case {
        int style;
        std::vector<QString> buttons;  // texts of controls 33, 34
    };
    const Case cases[] = {{kBoxOk, {"OK"}}, {kBoxOkCancel, {"OK", "Cancel"}}, {1, {}}, {-1, {}}};
    for (const Case& c : cases) {
        CUIMessageBox box(nullptr, 57, 56, c.style);
        EXPECT_EQ(box.windowTitle(), "MessageBox");
        EXPECT_EQ(box.size(), QSize(430, 230));
        EXPECT_EQ(Control<QLabel>(&box, 31)->text(), "Device not connected");
        EXPECT_EQ(Control<QLabel>(&box, 32)->text(),
                  "Please connect the mouse or its receiver and try again.");
        std::vector<QString> buttons;
        for (int id : {33, 34}) {
            if (auto* b = Control<QPushButton>(&box, id)) buttons.push_back(b->text());
        }
        EXPECT_EQ(buttons, c.buttons) << "style " << c.style;
    }
}

TEST_F(MessageBoxTest, ButtonGeometryFollowsTheDesign) {
    CUIMessageBox one(nullptr, 57, 56, kBoxOk);
    EXPECT_EQ(Control<QPushButton>(&one, 33)->geometry(), Ltrb(60, 180, 370, 216));
    CUIMessageBox two(nullptr, 57, 56, kBoxOkCancel);
    EXPECT_EQ(Control<QPushButton>(&two, 33)->geometry(), Ltrb(95, 180, 195, 216));
    EXPECT_EQ(Control<QPushButton>(&two, 34)->geometry(), Ltrb(235, 180, 335, 216));
    EXPECT_EQ(Control<QLabel>(&two, 31)->geometry(), Ltrb(20, 15, 410, 45));
    EXPECT_EQ(Control<QLabel>(&two, 32)->geometry(), Ltrb(20, 50, 410, 180));
}

TEST_F(MessageBoxTest, FixedTextsAreShownAsGiven) {
    CUIMessageBox box(nullptr, QStringLiteral("Software Update"), QStringLiteral("Version:v2.0, Update now?"),
                      kBoxOkCancel);
    EXPECT_EQ(Control<QLabel>(&box, 31)->text(), "Software Update");
    EXPECT_EQ(Control<QLabel>(&box, 32)->text(), "Version:v2.0, Update now?");
}

TEST_F(MessageBoxTest, OpenWithoutANestedLoopReportsOnce) {
    for (const bool confirm : {true, false}) {
        std::vector<int> results;
        OpenMessageBox(nullptr, 581, 583, kBoxOkCancel, [&results](int r) { results.push_back(r); });
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        if (confirm)
            Control<QPushButton>(box, 33)->click();
        else
            box->close();
        QApplication::processEvents();
        EXPECT_EQ(results, std::vector<int>{confirm ? 1 : 2});
    }
}

}  // namespace
}  // namespace quorvel
