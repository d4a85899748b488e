#pragma once
// The applications of one profile, opened from the profile dialog: the bound names under the profile's
// name, each removable; a name added from the windows open now (shown with their title and icon, as the
// desktop shows them) or typed. Every change is stored at once; closing the dialog changes nothing more.

#include <vector>

#include "platform/FocusSource.h"
#include "ui/common/SkinnedDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorvel {

class PageHost;

class ProfileAppsDlg : public SkinnedDialog {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>").
    enum Id {
        kTitle = 40,
        kList = 41,
        kEmpty = 42,
        kRemove = 43,
        kWindows = 44,
        kAddWindow = 45,
        kName = 46,
        kAddName = 47,
        kClose = 48,
        kNoDisplay = 49,
    };
    static constexpr QSize kDesignSize{460, 430};

    // Opens the dialog for the profile; the bindings are stored as they change, then `host` learns of it.
    static void Open(PageHost& host, int profile);

    ProfileAppsDlg(PageHost& host, int profile, QWidget* owner);

    // The windows offered to pick from (tests set their own; the program lists the desktop's).
    void SetOpenWindows(std::vector<OpenWindow> windows, const QString& unavailable = QString());
    // The name a window is bound by: its class, else its instance, else its program's file name.
    static QString BindingName(const FocusWindow& window);

private:
    void FillBindings();
    void Add(const QString& name);
    void RemoveSelected();

    PageHost& host_;
    int profile_;
    QLabel* title_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* empty_ = nullptr;
    QPushButton* remove_ = nullptr;
    QComboBox* windows_ = nullptr;
    QPushButton* addWindow_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* addName_ = nullptr;
    QLabel* noDisplay_ = nullptr;
    std::vector<OpenWindow> open_;
};

}  // namespace quorvel
