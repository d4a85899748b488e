// Screenshots of the controls for docs/images, in English and Chinese, at 1x and 2x. The language is
// QUORVEL_SCREENSHOT_LANG's; scripts/screenshots.sh runs them once per language and scale.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "Shots.h"
#include "shell/AppContext.h"
#include "shell/DeviceDescriptor.h"
#include "shell/Localisation.h"
#include "toolkit/BatteryCtrl.h"
#include "toolkit/CColorButton.h"
#include "toolkit/CDeviceList.h"
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
#include "toolkit/Skin.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/Theme.h"
#include "toolkit/ToolkitTestSupport.h"
#include "ui/common/TextIds.h"

namespace quorvel {
namespace {

using test::ShotDir;

QString Text(int id) {
    return QString::fromStdString(text("LAN", id));
}

// A piece of window to photograph: the window background, with panels and labels placed by hand.
class Sheet : public QWidget {
public:
    explicit Sheet(QSize size) { resize(size); }
    MPicture* Panel(QRect r) {
        auto* panel = new MPicture(QStringLiteral("img_area_bkg.png"), MPicture::Mode::Frame, this);
        panel->setGeometry(r);
        return panel;
    }
    QLabel* Label(const QString& text, QRect r, int pixels = 13, bool dim = true) {
        auto* label = new QLabel(text, this);
        QFont f = font();
        f.setPixelSize(pixels);
        f.setWeight(dim ? QFont::Normal : QFont::DemiBold);
        label->setFont(f);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, dim ? palette::kTextDim : palette::kText);
        label->setPalette(pal);
        label->setGeometry(r);
        return label;
    }
    template <typename T>
    T* Add(QRect r) {
        auto* w = new T(this);
        w->setGeometry(r);
        return w;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!Skin::Instance().Paint(p, rect(), QStringLiteral("main_bkg.png")))
            p.fillRect(rect(), palette::kWindow);
    }
};

void Hover(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), widget->mapToGlobal(QPointF(pos)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

class ToolkitScreenshots : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = ShotDir();
        SetProgramDir(QUORVEL_PRODUCT_DIR);
        const int lcid = qEnvironmentVariableIntValue("QUORVEL_SCREENSHOT_LANG");
        SetCurrentLanguage(lcid ? lcid : kLcidEnglish);
        // Latin text in the product font, Chinese from the CJK font.
        QFont font;
        font.setFamilies({QStringLiteral("Open Sans"), QStringLiteral("WenQuanYi Micro Hei")});
        font.setPixelSize(13);
        QApplication::setFont(font);
        suffix_ = QString(CurrentLanguage() == kLcidChinese ? "-zh" : "-en") +
                  (qEnvironmentVariable("QT_SCALE_FACTOR") == "2" ? "@2x" : "");
    }
    void Save(Sheet& sheet, const QString& name) {
        sheet.show();
        QApplication::processEvents();
        QDir().mkpath(dir_);
        ASSERT_TRUE(sheet.grab().save(QDir(dir_).filePath(name + suffix_ + ".png")));
    }
    QString dir_;
    QString suffix_;
    test::ProductSkin skin_;
};

TEST_F(ToolkitScreenshots, FrameTabsAndCaptionButtons) {
    Sheet sheet({760, 420});
    auto* caption = new MPicture(QStringLiteral("img_area_caption.png"), MPicture::Mode::Stretch, &sheet);
    caption->setGeometry(1, 1, 758, 50);
    auto* logo = new MPicture(QStringLiteral("logo.png"), MPicture::Mode::Fit, &sheet);
    logo->setGeometry(14, 8, 180, 36);
    const CaptionKind kinds[] = {CaptionKind::Settings, CaptionKind::Maximise, CaptionKind::Minimise,
                                 CaptionKind::Close};
    int x = 760 - 50 - 32 * 3;
    for (CaptionKind kind : kinds) {
        auto* b = new CaptionButton(kind, &sheet);
        b->setGeometry(x, 10, 30, 30);
        if (kind == CaptionKind::Close) b->setAttribute(Qt::WA_UnderMouse);
        x += 32;
    }
    auto* strip = new MPicture(QStringLiteral("img_area_bkg.png"), MPicture::Mode::Frame, &sheet);
    strip->setGeometry(8, 60, 200, 350);
    auto* tabs = sheet.Add<MTabCtrl>({13, 70, 190, 330});
    const struct {
        int id, text;
        const char* icon;
    } items[] = {
        {1, txt::kHomeTab, "icon\\tab_home.png"},       {2, txt::kButtonsTab, "icon\\tab_key.png"},
        {3, txt::kPerformanceTab, "icon\\tab_dpi.png"}, {4, txt::kMacrosTab, "icon\\tab_macro.png"},
        {5, txt::kLightingTab, "icon\\tab_light.png"},  {7, txt::kDeviceInfoTab, "icon\\tab_set.png"}};
    for (const auto& item : items) tabs->InsertItem(item.id, Text(item.text), item.icon);
    tabs->SetCurSel(2);
    Hover(tabs, {90, 190});
    sheet.Panel({222, 60, 530, 350});
    sheet.Label(Text(txt::kWired), {246, 80, 300, 24}, 15, false);
    auto* battery = sheet.Add<BatteryCtrl>({600, 80, 120, 24});
    battery->SetBatteryInfo(76, 0);
    auto* low = sheet.Add<BatteryCtrl>({600, 112, 120, 24});
    low->SetBatteryInfo(15, 1);
    auto* picture = new MPicture(QStringLiteral("device\\QuorvelR2_mouse.png"), MPicture::Mode::Fit, &sheet);
    picture->setGeometry(250, 140, 470, 250);
    Save(sheet, "toolkit-frame");
}

TEST_F(ToolkitScreenshots, PerformanceControls) {
    Sheet sheet({820, 330});
    sheet.Panel({10, 10, 800, 310});
    sheet.Label(Text(txt::kDpiSettings), {34, 26, 400, 22}, 15, false);
    auto* levels = sheet.Add<DPIControl>({34, 58, 752, 124});
    const int values[] = {400, 800, 1600, 3200, 6400, 12000};
    const int colours[] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00};
    for (int i = 0; i < 6; ++i) levels->AddItem(values[i], colours[i]);
    levels->SetSelectItem(2);
    Hover(levels, {560, 100});
    auto* slider = sheet.Add<DPISlider>({34, 196, 752, 46});
    slider->SetRange(0, 520);
    slider->SetProgress(32);
    slider->SetDPIDesc(QStringLiteral("26000"), QStringLiteral("50"));
    sheet.Label(Text(txt::kReportRate), {34, 250, 400, 22}, 15, false);
    auto* rates = sheet.Add<ReporteCtrl>({34, 276, 752, 34});
    const struct {
        const char* text;
        int code;
    } entries[] = {{"125Hz", 8},   {"250Hz", 4},   {"500Hz", 2},  {"1000Hz", 1},
                   {"2000Hz", 16}, {"4000Hz", 32}, {"8000Hz", 64}};
    for (const auto& e : entries) rates->AddItem(e.text, e.code);
    rates->SetSelectItemValue(1);
    Save(sheet, "toolkit-performance");
}

void FillButtons(const char* model, MouseCtrl* picture, MouseKeyCtrl* list) {
    DeviceDescriptor descriptor;
    ASSERT_TRUE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, model, &descriptor));
    picture->SetImage(QStringLiteral("device\\%1").arg(QString::fromStdString(*descriptor.mouse_img)));
    for (const DescriptorKey& key : *descriptor.mouse_key) {
        picture->AddItem(Text(key.name), key.key_value, key.direction, {key.x1, key.y}, {key.x2, key.y});
        if (list) list->AddItem(Text(key.name), Text(key.func_desc), key.key_value);
    }
}

TEST_F(ToolkitScreenshots, ButtonPage) {
    Sheet sheet({1000, 440});
    sheet.Panel({10, 10, 300, 420});
    sheet.Label(Text(txt::kButtonsTab), {30, 24, 260, 22}, 15, false);
    auto* list = sheet.Add<MouseKeyCtrl>({26, 56, 268, 360});
    sheet.Panel({320, 10, 670, 420});
    auto* picture = sheet.Add<MouseCtrl>({330, 30, 650, 390});
    FillButtons("QuorvelF1", picture, list);
    list->SetSelectItem(2);
    picture->SetSelectItem(2);
    Hover(list, {100, 56 * 4 + 20});
    Save(sheet, "toolkit-buttons");
}

TEST_F(ToolkitScreenshots, ModelPictures) {
    Sheet sheet({1260, 330});
    const char* models[] = {"QuorvelR2", "QuorvelR3", "QuorvelF1"};
    for (int i = 0; i < 3; ++i) {
        sheet.Panel({10 + i * 415, 10, 405, 310});
        auto* picture = sheet.Add<MouseCtrl>({16 + i * 415, 20, 393, 290});
        FillButtons(models[i], picture, nullptr);
        picture->SetSelectItem(0);
    }
    Save(sheet, "toolkit-models");
}

TEST_F(ToolkitScreenshots, MacroLists) {
    Sheet sheet({900, 400});
    sheet.Panel({10, 10, 290, 380});
    sheet.Label(Text(txt::kMacroList), {30, 24, 250, 22}, 15, false);
    auto* macros = sheet.Add<MacroList>({24, 56, 262, 320});
    macros->AddString(Text(txt::kCustomMacro) + " 1", 1);
    macros->AddString(QStringLiteral("Reload + Sprint"), 2);
    macros->AddString(Text(txt::kCustomMacro) + " 3", 3);
    macros->SetCurSel(1);
    sheet.Panel({310, 10, 580, 380});
    sheet.Label(Text(txt::kEventList), {330, 24, 300, 22}, 15, false);
    auto* events = sheet.Add<CRecordList>({324, 56, 552, 320});
    events->SetHeaderTexts({Text(txt::kEventNumber), Text(txt::kEvent), Text(txt::kEventOptions)});
    const auto down = QStringLiteral("\u2193  %1"), up = QStringLiteral("\u2191  %1");
    events->AddString(down.arg("R"), kRecordKeyDown, 0x52, 1);
    events->AddString(QStringLiteral("45 ms"), kRecordDelay, 45, 2);
    events->AddString(up.arg("R"), kRecordKeyUp, 0x52, 3);
    events->AddString(QStringLiteral("120 ms"), kRecordDelay, 120, 4);
    events->AddString(down.arg("Shift"), kRecordKeyDown, 0xA0, 5);
    events->AddString(down.arg("LB"), kRecordButtonDown, 1, 6);
    events->AddString(QStringLiteral("10 ms"), kRecordDelay, 10, 7);
    events->AddString(up.arg("LB"), kRecordButtonUp, 1, 6);
    events->AddString(up.arg("Shift"), kRecordKeyUp, 0xA0, 8);
    events->SetCurSel(4);
    Save(sheet, "toolkit-macros");
}

TEST_F(ToolkitScreenshots, LightingControls) {
    Sheet sheet({760, 330});
    sheet.Panel({10, 10, 420, 310});
    sheet.Label(Text(txt::kBrightness) + QStringLiteral(": 75%"), {30, 26, 300, 20}, 13, false);
    auto* brightness = sheet.Add<LightSlider>({30, 50, 380, 34});
    brightness->SetProgress(3);
    sheet.Label(Text(txt::kSpeed) + QStringLiteral(": 2"), {30, 92, 300, 20}, 13, false);
    auto* speed = sheet.Add<LightSlider>({30, 116, 380, 34});
    speed->SetRange(0, 4);
    speed->SetProgress(2);
    sheet.Label(Text(txt::kPresetColours), {30, 162, 300, 20}, 13, false);
    const int presets[] = {0x0000FF, 0xFF00F0, 0xFF0C00, 0xFCFF00, 0x06FF00, 0x00DEFF, 0x0048FF, 0xFFFFFF};
    for (int i = 0; i < 8; ++i) {
        auto* b = new CColorButton(presets[i], QStringLiteral("DEFAULTCOLOR"), &sheet);
        b->setGeometry(30 + i * 40, 188, 32, 32);
        if (i == 1) b->SetCheck(true);
    }
    sheet.Label(Text(txt::kColours), {30, 232, 300, 20}, 13, false);
    for (int i = 0; i < 7; ++i) {
        auto* b = new CColorButton(presets[i], QStringLiteral("COLORVALUE"), &sheet);
        b->setGeometry(30 + i * 40, 258, 32, 32);
        if (i == 0) b->SetCheck(true);
    }
    sheet.Panel({440, 10, 310, 310});
    sheet.Label(Text(txt::kCustomColour), {460, 26, 260, 20}, 13, false);
    auto* palette = sheet.Add<MPalette>({460, 54, 270, 246});
    palette->SetSelectColor(0xD027FB);
    Save(sheet, "toolkit-lighting");
}

TEST_F(ToolkitScreenshots, DeviceList) {
    Sheet sheet({1040, 460});
    auto* devices = sheet.Add<CDeviceList>({20, 20, 1000, 420});
    DeviceListTexts texts;
    texts.connected =
        CurrentLanguage() == kLcidChinese ? QStringLiteral("已连接") : QStringLiteral("Connected");
    texts.disconnected =
        CurrentLanguage() == kLcidChinese ? QStringLiteral("未连接") : QStringLiteral("Not connected");
    texts.wired = CurrentLanguage() == kLcidChinese ? QStringLiteral("有线") : QStringLiteral("Wired");
    texts.wireless = CurrentLanguage() == kLcidChinese ? QStringLiteral("无线") : QStringLiteral("Wireless");
    texts.version = Text(txt::kFirmware);
    devices->SetTexts(texts);
    const QString folder = QStringLiteral(QUORVEL_PRODUCT_DIR "/skins/default/device/");
    devices->AddDevice(QStringLiteral("Quorvel R2"), 102, folder + "QuorvelR2.png");
    devices->AddDevice(QStringLiteral("Quorvel R3 Wireless"), 103, folder + "QuorvelR3.png");
    devices->AddDevice(QStringLiteral("Quorvel F1"), 201, folder + "QuorvelF1.png");
    devices->SetDeviceState(102, 0, 1);
    devices->SetDeviceVersion(102, 0x103);
    devices->SetDeviceState(103, 1, 1);
    devices->SetDeviceBattery(103, 0, 64);
    devices->SetDeviceVersion(103, 0x1021);
    devices->SetSelectDevice(102);
    Hover(devices, {520, 200});
    Save(sheet, "toolkit-devices");
}

// Qt's own controls in the skin's style.
TEST_F(ToolkitScreenshots, PlainControlsInTheSkinStyle) {
    SkinStyle style;
    Sheet sheet({620, 250});
    sheet.setPalette(style.standardPalette());
    sheet.Panel({10, 10, 600, 230});
    auto* ok = new QPushButton(Text(txt::kOk), &sheet);
    ok->setGeometry(30, 30, 120, 36);
    ok->setDefault(true);
    auto* cancel = new QPushButton(Text(txt::kCancel), &sheet);
    cancel->setGeometry(162, 30, 120, 36);
    auto* off = new QPushButton(Text(txt::kApply), &sheet);
    off->setGeometry(294, 30, 120, 36);
    off->setEnabled(false);
    auto* check = new QCheckBox(Text(txt::kWakeOnMotion), &sheet);
    check->setGeometry(30, 86, 260, 24);
    check->setChecked(true);
    auto* uncheck = new QCheckBox(Text(txt::kLightsOffMoving), &sheet);
    uncheck->setGeometry(30, 116, 260, 24);
    auto* radio1 = new QRadioButton(QStringLiteral("1.0mm"), &sheet);
    radio1->setGeometry(300, 86, 120, 24);
    radio1->setChecked(true);
    auto* radio2 = new QRadioButton(QStringLiteral("2.0mm"), &sheet);
    radio2->setGeometry(300, 116, 120, 24);
    auto* combo = new QComboBox(&sheet);
    combo->addItems({QStringLiteral("6"), QStringLiteral("5")});
    combo->setGeometry(30, 156, 160, 32);
    auto* edit = new QLineEdit(QStringLiteral("255"), &sheet);
    edit->setGeometry(210, 156, 100, 32);
    auto* progress = new QProgressBar(&sheet);
    progress->setGeometry(30, 206, 560, 10);
    progress->setTextVisible(false);
    progress->setValue(62);
    for (QWidget* w : sheet.findChildren<QWidget*>()) w->setStyle(&style);
    Save(sheet, "toolkit-qt-controls");
}

// The same controls with no skin at all: the drawn look.
TEST_F(ToolkitScreenshots, DrawnLookWithoutSkin) {
    test::ScratchSkin empty;
    Sheet sheet({900, 480});
    sheet.Panel({10, 10, 880, 460});
    int x = 30;
    for (CaptionKind kind :
         {CaptionKind::Settings, CaptionKind::Maximise, CaptionKind::Minimise, CaptionKind::Close}) {
        (new CaptionButton(kind, &sheet))->setGeometry(x, 24, 30, 30);
        x += 34;
    }
    auto* tabs = sheet.Add<MTabCtrl>({24, 70, 190, 240});
    const Glyph glyphs[] = {Glyph::Home, Glyph::Keys, Glyph::Dpi, Glyph::Macro};
    for (int i = 0; i < 4; ++i)
        tabs->InsertItem(i + 1, Text(txt::kHomeTab + i), QStringLiteral("icon\\missing.png"), glyphs[i]);
    tabs->SetCurSel(1);
    auto* levels = sheet.Add<DPIControl>({230, 24, 640, 100});
    for (int v : {800, 1600, 3200, 6400}) levels->AddItem(v, 0x3399FF);
    levels->SetSelectItem(1);
    auto* slider = sheet.Add<DPISlider>({230, 134, 640, 36});
    slider->SetProgress(200);
    auto* rates = sheet.Add<ReporteCtrl>({230, 180, 640, 32});
    for (const char* r : {"125Hz", "250Hz", "500Hz", "1000Hz"}) rates->AddItem(r, 1);
    rates->SetSelectItem(3);
    auto* picture = sheet.Add<MouseCtrl>({230, 220, 360, 240});
    picture->AddItem(Text(txt::kLeftClick), 0, 0, {150, 90}, {60, 90});
    picture->AddItem(Text(txt::kRightClick), 1, 1, {330, 90}, {420, 90});
    picture->SetSelectItem(0);
    auto* events = sheet.Add<CRecordList>({600, 220, 270, 160});
    events->AddString(QStringLiteral("\u2193  A"), kRecordKeyDown, 0x41, 1);
    events->AddString(QStringLiteral("10 ms"), kRecordDelay, 10, 2);
    events->AddString(QStringLiteral("\u2191  A"), kRecordKeyUp, 0x41, 1);
    events->SetCurSel(0);
    auto* battery = sheet.Add<BatteryCtrl>({24, 330, 120, 24});
    battery->SetBatteryInfo(55, 0);
    auto* light = sheet.Add<LightSlider>({24, 370, 190, 30});
    light->SetProgress(2);
    auto* swatch = sheet.Add<CColorButton>({24, 410, 32, 32});
    swatch->SetColor(0x00FF00);
    auto* palette = sheet.Add<MPalette>({600, 390, 270, 70});
    palette->SetSelectColor(0x00A0FF);
    Save(sheet, "toolkit-drawn");
}

}  // namespace
}  // namespace quorvel
