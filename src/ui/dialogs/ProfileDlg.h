#pragma once
// Profile management: the profile dialog opened above the profile button, and the factory reset with its
// confirmation.
//
// The dialog is a small pop-up list of the four profiles. A click on an entry switches to that profile
// (also the current one: every setting goes to the mouse again); the pencil of an entry (or F2) renames it
// in place; Import and Export load a profile file into the selected profile or save it; Applications
// opens the applications the selected profile follows (ProfileAppsDlg). A click outside
// closes the dialog. A profile renamed in the dialog becomes the current one when it closes, so the
// profile button shows the new name. Whatever changes the profile in use ends in PageHost::ProfileChanged.

#include "ui/common/SkinnedDialog.h"

class QListWidgetItem;
class QPushButton;

namespace quorvel {

class PageHost;
class ProfileList;

class ProfileDlg : public SkinnedDialog {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>").
    enum Id { kBackground = 30, kList = 31, kImport = 32, kExport = 33, kApps = 34 };
    // What the dialog ended with.
    enum class Request { None, Switch, Import, Export, Apps };
    struct Choice {
        Request request = Request::None;
        int profile = 0;  // the clicked entry, the selected one for import and export, or the one renamed
        bool nameChanged = false;
        QString problem;  // a rename that could not be stored, shown once the dialog has closed
    };

    // Opens the dialog above `anchor` (the profile button, control 45), or the "device not connected"
    // notice while no mouse is connected. Returns at once; the choice is carried out when the dialog ends.
    static void Open(PageHost& host, QWidget* anchor);

    ProfileDlg(PageHost& host, QWidget* owner);

    const Choice& Chosen() const { return choice_; }

    // Starts renaming the entry of the profile in place (what the pencil and F2 do).
    void EditName(int profile);

    // Ends the dialog; an in-place rename still open is stored first.
    void done(int result) override;

private:
    void Fill();
    void EntryClicked(QListWidgetItem* item);
    void NameEdited(QListWidgetItem* item);
    void EndWith(Request request);
    int SelectedProfile() const;

    PageHost& host_;
    ProfileList* list_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* apps_ = nullptr;
    Choice choice_;
    bool filling_ = false;
};

// Carries out what the dialog ended with: the switch (also after a rename), then the import or export.
void RunProfileChoice(PageHost& host, const ProfileDlg::Choice& choice);

// The factory reset of buttons 46 and 250: the notice while no mouse is connected; otherwise asks first,
// then recreates the model's data and resets the mouse (task 21).
void ConfirmFactoryReset(PageHost& host);

}  // namespace quorvel
