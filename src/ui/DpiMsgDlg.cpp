#include "ui/DpiMsgDlg.h"

namespace quorvel {

DPIMsgDlg::DPIMsgDlg(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("DPIMsgDlg"));
}

void DPIMsgDlg::ShowValue(int dpiValue) {
    (void)dpiValue;
}

}  // namespace quorvel
