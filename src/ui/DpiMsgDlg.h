#pragma once
// The on-screen DPI indicator: a small always-on-top pop-up at the bottom right of the work area that never
// takes the keyboard focus, hidden again by its 2 s timer. (Filled by the performance page's issue.)

#include <QWidget>

namespace quorvel {

class DPIMsgDlg : public QWidget {
    Q_OBJECT
public:
    explicit DPIMsgDlg(QWidget* owner);
    void ShowValue(int dpiValue);
};

}  // namespace quorvel
