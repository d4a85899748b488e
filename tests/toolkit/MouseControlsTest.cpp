#include <gtest/gtest.h>

#include <QImage>
#include <QMap>
#include <QPainter>

#include "ToolkitTestSupport.h"
#include "shell/DeviceDescriptor.h"
#include "toolkit/MouseCtrl.h"
#include "toolkit/MouseKeyCtrl.h"
#include "toolkit/Skin.h"

namespace quorvel {
namespace {

using test::SignalLog;

// The picture's own size at the control's own size: a stand-in mouse of 480 x 340 with no margins needed
// when captions are empty, so picture coordinates are control coordinates.
TEST(MouseCtrl, ItemsAndPicking) {
    test::ScratchSkin empty;
    MouseCtrl mouse;
    mouse.resize(480, 340);
    EXPECT_EQ(mouse.ImageSize(), QSize(480, 340));  // the drawn stand-in
    mouse.SetImage("device\\Missing_mouse.png");
    EXPECT_EQ(mouse.ImageSize(), QSize(480, 340));
    EXPECT_EQ(mouse.AddItem("", 0, 0, {150, 90}, {60, 90}), 0);
    EXPECT_EQ(mouse.AddItem("", 1, 1, {330, 90}, {420, 90}), 1);
    EXPECT_EQ(mouse.AddItem("", 5, 1, {245, 130}, {420, 130}), 2);
    EXPECT_EQ(mouse.GetItemCount(), 3);
    EXPECT_EQ(mouse.GetItemKeyValue(2), 5);
    EXPECT_EQ(mouse.GetItemKeyValue(3), -1);
    mouse.SetItemCaption(1, "Right");
    EXPECT_EQ(mouse.GetItemCaption(1), QString("Right"));
    mouse.SetItemCaption(1, "");

    SignalLog clicked(&mouse, &MouseCtrl::itemClicked);
    struct Case {
        const char* what;
        QPoint at;
        int selected;  // afterwards
        QList<QVariantList> calls;
    } cases[] = {
        {"the left button's spot", {150, 90}, 0, {{0}}},
        {"next to the DPI button's spot", {248, 133}, 2, {{2}}},
        {"empty picture", {240, 300}, 2, {}},
        {"the right button's spot", {331, 88}, 1, {{1}}},
    };
    for (const Case& c : cases) {
        clicked.clear();
        test::Click(mouse, c.at);
        EXPECT_EQ(mouse.GetSelectItem(), c.selected) << c.what;
        EXPECT_EQ(clicked.calls, c.calls) << c.what;
    }
    clicked.clear();
    test::KeyClick(mouse, Qt::Key_Down);
    test::KeyClick(mouse, Qt::Key_Down);  // wraps to the first
    EXPECT_EQ(clicked.calls, (QList<QVariantList>{{2}, {0}}));
    mouse.SetSelectItem(7);
    EXPECT_EQ(mouse.GetSelectItem(), -1);
    mouse.DeleteAllItems();
    EXPECT_EQ(mouse.GetItemCount(), 0);
}

// Captions on both sides stay inside the control, however narrow, and a click on one picks its button:
// the points that pick a button span at least its caption.
TEST(MouseCtrl, CaptionsStayInsideAndArePickable) {
    test::ScratchSkin empty;
    for (int width : {800, 420}) {
        MouseCtrl mouse;
        mouse.resize(width, 340);
        mouse.AddItem("Left Click", 0, 0, {150, 90}, {60, 90});
        mouse.AddItem("Middle Click", 2, 1, {240, 40}, {420, 40});
        QMap<int, QPair<int, int>> span;  // item -> leftmost and rightmost x that picks it
        SignalLog clicked(&mouse, &MouseCtrl::itemClicked);
        for (int y = 0; y < 340; y += 6) {
            for (int x = 0; x < width; x += 4) {
                clicked.clear();
                test::Click(mouse, {x, y});
                if (clicked.count() == 0) continue;
                const int item = clicked.last().at(0).toInt();
                auto it = span.find(item);
                if (it == span.end()) {
                    span.insert(item, {x, x});
                } else {
                    it->first = qMin(it->first, x);
                    it->second = qMax(it->second, x);
                }
            }
        }
        const QFontMetrics metrics(mouse.font());
        ASSERT_EQ(span.size(), 2) << width;
        EXPECT_GE(span[0].second - span[0].first, metrics.horizontalAdvance("Left Click")) << width;
        EXPECT_GE(span[1].second - span[1].first, metrics.horizontalAdvance("Middle Click")) << width;
    }
}

// The sample pictures must show a button wherever the model's descriptor puts one: each leader line starts
// on the mouse, and its caption end lies off it.
TEST(MouseCtrl, SamplePicturesMatchTheirDescriptors) {
    test::ProductSkin skin;
    for (const char* model : {"QuorvelR2", "QuorvelR3", "QuorvelF1"}) {
        DeviceDescriptor descriptor;
        ASSERT_TRUE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, model, &descriptor)) << model;
        const QString name =
            QStringLiteral("device\\%1").arg(QString::fromStdString(descriptor.mouse_img.value()));
        const QSize size = Skin::Instance().NaturalSize(name);
        ASSERT_EQ(size, QSize(480, 340)) << model;
        const QImage picture = Skin::Instance().Pixmap(name, size).toImage();
        for (const DescriptorKey& key : descriptor.mouse_key.value()) {
            EXPECT_GT(qAlpha(picture.pixel(key.x1, key.y)), 200) << model << " button " << key.key_value;
            EXPECT_LT(qAlpha(picture.pixel(key.x2, key.y)), 60) << model << " caption end " << key.key_value;
        }
    }
}

class ButtonList : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(300, 400);
        const int codes[] = {0, 2, 1, 3, 4, 7};
        for (int i = 0; i < 6; ++i)
            list.AddItem(QString("Button %1").arg(i + 1), QString("Function %1").arg(i), codes[i]);
    }
    QPoint Row(int i) const { return {150, i * 50 + 22}; }
    MouseKeyCtrl list;
};

TEST_F(ButtonList, DescriptionsByKeyCode) {
    EXPECT_EQ(list.GetItemCount(), 6);
    EXPECT_EQ(list.GetItemKeyValue(1), 2);
    EXPECT_EQ(list.GetItemKeyName(5), QString("Button 6"));
    EXPECT_EQ(list.IndexOfKey(7), 5);
    EXPECT_EQ(list.IndexOfKey(5), -1);
    EXPECT_TRUE(list.SetItemKeyDesc(1, "Ctrl + C"));  // key code 1 is the third row
    EXPECT_EQ(list.GetItemKeyDesc(2), QString("Ctrl + C"));
    EXPECT_FALSE(list.SetItemKeyDesc(9, "nothing"));
    list.SetItemKeyName(0, "Left");
    EXPECT_EQ(list.GetItemKeyName(0), QString("Left"));
    EXPECT_EQ(list.GetItemKeyValue(6), -1);
    EXPECT_EQ(list.GetItemKeyDesc(-1), QString());
}

TEST_F(ButtonList, Picking) {
    SignalLog clicked(&list, &MouseKeyCtrl::itemClicked);
    test::Click(list, Row(3));
    test::Click(list, {150, 6 * 50 + 30});  // below the last row
    test::KeyClick(list, Qt::Key_Down);
    test::KeyClick(list, Qt::Key_Up);
    test::KeyClick(list, Qt::Key_Up);
    EXPECT_EQ(clicked.calls, (QList<QVariantList>{{3}, {4}, {3}, {2}}));
    EXPECT_EQ(list.GetSelectItem(), 2);
    list.SetItemHeight(30);
    clicked.clear();
    test::Click(list, {150, 5 * 36 + 10});
    EXPECT_EQ(clicked.calls, QList<QVariantList>{{5}});
    list.DeleteAllItems();
    EXPECT_EQ(list.GetSelectItem(), -1);
}

}  // namespace
}  // namespace quorvel
