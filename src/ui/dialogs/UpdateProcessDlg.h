#pragma once
// The software download's progress ("UpdateProcessDlg"): a small frameless box over the main window with
// the download's percentage and a Cancel that ends the transfer. It stays until the download task ends
// (the update window side closes it); Esc and the window manager's close are the Cancel.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quorvel {

class UpdateProcessDlg : public QDialog {
    Q_OBJECT
public:
    enum Id { kStatus = 31, kProgress = 32, kCancel = 33 };
    static constexpr QSize kDesignSize{400, 140};

    explicit UpdateProcessDlg(QWidget* owner);

    // "Downloading update: 45%" and the bar.
    void SetDownloadProgress(int percent);
    int Progress() const;
    // Ends the dialog once the task is over (accept: no cancel is asked for).
    void Finish();

    void reject() override;

signals:
    // The user asked to stop; the dialog waits for the task to end.
    void cancelRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
    QLabel* status_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool finishing_ = false;
};

// Draws a dialog's background picture, or the panel look without it.
void PaintDialogBackground(QWidget* dialog, const QString& image);

}  // namespace quorvel
