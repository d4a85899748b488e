#include "ui/ProfileDlg.h"

#include "ui/PageHost.h"

namespace quorvel {

void ProfileDlg::Open(PageHost& host, QWidget* anchor) {
    (void)host, (void)anchor;
}

void ConfirmFactoryReset(PageHost& host) {
    (void)host;
}

}  // namespace quorvel
