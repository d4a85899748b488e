#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QStyleOptionButton>
#include <functional>
#include <memory>

#include "ToolkitTestSupport.h"
#include "toolkit/BatteryCtrl.h"
#include "toolkit/CColorButton.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/CImageButton.h"
#include "toolkit/CRecordList.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/DPIControl.h"
#include "toolkit/DPISlider.h"
#include "toolkit/LightSlider.h"
#include "toolkit/MPalette.h"
#include "toolkit/MPicture.h"
#include "toolkit/MTabCtrl.h"
#include "toolkit/MacroList.h"
#include "toolkit/MouseCtrl.h"
#include "toolkit/MouseKeyCtrl.h"
#include "toolkit/ReporteCtrl.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/Theme.h"

namespace quorvel {
namespace {

// Every control, empty and with what a page puts in it, at a size a page gives it.
struct Control {
    const char* name;
    std::function<QWidget*()> make;
};

std::vector<Control> Controls() {
    return {
        {"caption close", [] { return new CaptionButton(CaptionKind::Close); }},
        {"caption settings", [] { return new CaptionButton(CaptionKind::Settings); }},
        {"image button", [] { return new CImageButton("btn_reset.png", Glyph::Reset); }},
        {"tab strip, empty", [] { return new MTabCtrl; }},
        {"tab strip",
         [] {
             auto* tabs = new MTabCtrl;
             tabs->InsertItem(1, "Home", "icon\\tab_home.png", Glyph::Home);
             tabs->InsertItem(2, "Buttons", "icon\\tab_key.png", Glyph::Keys);
             tabs->SetCurSel(1);
             return tabs;
         }},
        {"DPI levels, empty", [] { return new DPIControl; }},
        {"DPI levels",
         [] {
             auto* levels = new DPIControl;
             levels->AddItem(800, 0x0000FF);
             levels->AddItem(1600, 0x00FF00);
             levels->SetSelectItem(0);
             return levels;
         }},
        {"DPI slider", [] { return new DPISlider; }},
        {"light slider", [] { return new LightSlider; }},
        {"report rate, empty", [] { return new ReporteCtrl; }},
        {"report rate",
         [] {
             auto* rates = new ReporteCtrl;
             rates->AddItem("1000Hz", 1);
             rates->SetSelectItem(0);
             return rates;
         }},
        {"mouse picture, empty", [] { return new MouseCtrl; }},
        {"mouse picture",
         [] {
             auto* mouse = new MouseCtrl;
             mouse->SetImage("device\\QuorvelR2_mouse.png");
             mouse->AddItem("Left", 0, 0, {150, 90}, {60, 90});
             return mouse;
         }},
        {"button list, empty", [] { return new MouseKeyCtrl; }},
        {"button list",
         [] {
             auto* list = new MouseKeyCtrl;
             list->AddItem("Button 1", "Left Click", 0);
             return list;
         }},
        {"macro list, empty", [] { return new MacroList; }},
        {"macro list",
         [] {
             auto* list = new MacroList;
             list->AddString("Custom 1", 1);
             return list;
         }},
        {"event list, empty", [] { return new CRecordList; }},
        {"event list",
         [] {
             auto* list = new CRecordList;
             list->SetHeaderTexts({"No.", "Event", "Options"});
             list->AddString("50 ms", kRecordDelay, 50, 1);
             return list;
         }},
        {"colour button", [] { return new CColorButton(0x0000FF, "COLORVALUE"); }},
        {"palette", [] { return new MPalette; }},
        {"battery, not reported", [] { return new BatteryCtrl; }},
        {"battery",
         [] {
             auto* battery = new BatteryCtrl;
             battery->SetBatteryInfo(60, 0);
             return battery;
         }},
        {"device list, empty", [] { return new CDeviceList; }},
        {"device list",
         [] {
             auto* list = new CDeviceList;
             list->AddDevice("Quorvel R2", 102, "device\\QuorvelR2.png");
             list->SetDeviceState(102, 0, 1);
             return list;
         }},
        {"picture", [] { return new MPicture("img_area_bkg.png", MPicture::Mode::Frame); }},
    };
}

QSize PageSize(QWidget* widget) {
    const QSize hint = widget->sizeHint();
    return QSize(qBound(30, hint.width(), 900), qBound(24, hint.height(), 500));
}

// Without a single skin image every control still draws itself.
TEST(Render, AnEmptySkinFolderStillDrawsEveryControl) {
    test::ScratchSkin empty;
    for (const Control& c : Controls()) {
        std::unique_ptr<QWidget> widget(c.make());
        widget->resize(PageSize(widget.get()));
        const QImage image = test::Grab(*widget);
        EXPECT_GE(test::DistinctColours(image), 3) << c.name << " is blank";
    }
}

TEST(Render, TheShippedSkinDrawsEveryControl) {
    test::ProductSkin skin;
    // Every image of the shipped skin loads: without this, a skin the program cannot read would pass below
    // on the drawn look.
    const QDir folder(QStringLiteral(QUORVEL_PRODUCT_DIR "/skins/default/"));
    QDirIterator images(folder.path(), {QStringLiteral("*.svg"), QStringLiteral("*.png")}, QDir::Files,
                        QDirIterator::Subdirectories);
    int count = 0;
    while (images.hasNext()) {
        const QString name = folder.relativeFilePath(images.next());
        ++count;
        EXPECT_FALSE(Skin::Instance().Resolve(name).isEmpty()) << name.toStdString() << " does not load";
        EXPECT_FALSE(Skin::Instance().Pixmap(name, QSize(24, 24)).isNull()) << name.toStdString();
    }
    EXPECT_GE(count, 20) << "the shipped skin was not found";
    for (const Control& c : Controls()) {
        std::unique_ptr<QWidget> widget(c.make());
        widget->resize(PageSize(widget.get()));
        EXPECT_GE(test::DistinctColours(test::Grab(*widget)), 3) << c.name << " is blank";
    }
}

int warnings = 0;
void CountWarnings(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtDebugMsg) ++warnings;
}

// Damaged images are looked at once: painting the controls again and again adds no messages.
TEST(Render, DamagedImagesDoNotFloodTheLog) {
    test::ScratchSkin skin;
    for (const char* name : {"sysbtn_close.svg", "img_slider_bar.svg", "btn_more.svg", "img_list_bkg.svg",
                             "icon/tab_home.svg", "device/QuorvelR2_mouse.svg"}) {
        skin.Write(name, "<svg xmlns='http://www.w3.org/2000/svg'><rect width='");
    }
    skin.Write("img_area_bkg.png", "\x89PNG\r\n\x1a\n broken");
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(CountWarnings);
    std::vector<std::unique_ptr<QWidget>> widgets;
    for (const Control& c : Controls()) {
        widgets.emplace_back(c.make());
        widgets.back()->resize(PageSize(widgets.back().get()));
    }
    for (auto& widget : widgets) test::Grab(*widget);
    const int afterFirst = warnings;
    for (int round = 0; round < 10; ++round) {
        for (auto& widget : widgets) test::Grab(*widget);
    }
    qInstallMessageHandler(previous);
    EXPECT_LE(afterFirst, 2 * 7);  // at most a parser complaint or two per damaged file
    EXPECT_EQ(warnings, afterFirst);
    for (auto& widget : widgets) EXPECT_GE(test::DistinctColours(test::Grab(*widget)), 3);
}

// Qt's own marks come from the skin when it has them, drawn otherwise; either way a checked box shows the
// accent.
TEST(Render, SkinStyleMarks) {
    SkinStyle style;
    for (bool withSkin : {true, false}) {
        std::unique_ptr<test::ProductSkin> product;
        std::unique_ptr<test::ScratchSkin> empty;
        if (withSkin) {
            product = std::make_unique<test::ProductSkin>();
        } else {
            empty = std::make_unique<test::ScratchSkin>();
        }
        for (bool radio : {false, true}) {
            QImage image(18, 18, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            QStyleOptionButton option;
            option.rect = QRect(0, 0, 18, 18);
            option.state = QStyle::State_Enabled | QStyle::State_On;
            style.drawPrimitive(radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox,
                                &option, &painter, nullptr);
            painter.end();
            const QColor centre = image.pixelColor(9, 9);
            const QColor edge = image.pixelColor(9, 2);
            // A radio mark has an accent dot, a check mark an accent box (with a dark tick through the
            // middle).
            EXPECT_EQ(radio ? centre : edge, AccentColor()) << "skin " << withSkin << " radio " << radio;
        }
    }
    EXPECT_EQ(style.standardPalette().color(QPalette::Highlight), AccentColor());
}

}  // namespace
}  // namespace quorvel
