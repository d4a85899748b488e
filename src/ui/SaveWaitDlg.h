#pragma once
// The saving indicator shown after every change a page queues, hidden again by its timer. (Filled by the
// performance page's issue.)

#include <QWidget>

namespace quorvel {

class SaveWaitDlg : public QWidget {
    Q_OBJECT
public:
    explicit SaveWaitDlg(QWidget* owner);
    void ShowSaving();
};

}  // namespace quorvel
