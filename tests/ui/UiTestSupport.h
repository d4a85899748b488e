#pragma once
// Helpers of the window tests: a throw-away home with the sample product's language files in English, an
// empty skin (every image missing, so the drawn look is what is tested), the control of a window by its
// id, and an action run on the next modal window once its event loop runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <set>

#include "platform/TempHome.h"
#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "toolkit/Skin.h"
#include "ui/common/Appearance.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"

namespace quorvel::test {

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool styled = (InstallAppearance(), true);
        (void)styled;
        previousSkin_ = Skin::Instance().Dir();
        Skin::Instance().SetDir(emptySkin_.path() + '/');
        SetProgramDir(QUORVEL_PRODUCT_DIR);
        SetDeviceName("Quorvel Mouse");
        SetOfferedLanguages({kLcidEnglish, kLcidChinese});
        SetCurrentLanguage(kLcidEnglish);
        InstallLanguageFont(kLcidEnglish);
    }
    void TearDown() override {
        SetCurrentLanguage(kLcidEnglish);
        InstallLanguageFont(kLcidEnglish);
        Skin::Instance().SetDir(previousSkin_);
    }

    testing::TempHome home_;
    QTemporaryDir emptySkin_;
    QString previousSkin_;
};

// The control with objectName "id<n>" among the window's children.
template <typename T = QWidget>
T* Control(QWidget* window, int id) {
    return window->findChild<T*>(ControlName(id));
}

// Runs `action` on the active modal window as soon as the modal loop that is about to start runs it.
inline void OnNextModal(std::function<void(QWidget*)> action) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, poll] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            action(modal);
            *poll = nullptr;  // breaks the cycle
            return;
        }
        QTimer::singleShot(0, *poll);
    };
    QTimer::singleShot(0, *poll);
}

// Number of different colours in the image, capped: a blank grab has one.
inline int DistinctColours(const QImage& image, int cap = 32) {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            seen.insert(image.pixel(x, y));
            if (static_cast<int>(seen.size()) >= cap) return cap;
        }
    }
    return static_cast<int>(seen.size());
}

}  // namespace quorvel::test
