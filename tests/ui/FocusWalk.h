#pragma once
// Walking a window's Tab stops as a user does: the window active (focus is only real in the active
// window), focus cleared, then Tab from the window to the first stop and on until the walk comes round.

#include <QApplication>
#include <QtTest/QTest>
#include <ostream>
#include <vector>

namespace quorvel::test {

inline bool Activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// The widgets that took focus, in the order Tab reached them.
inline std::vector<QWidget*> WalkTab(QWidget* window, int limit = 200) {
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    QTest::keyClick(window, Qt::Key_Tab);
    std::vector<QWidget*> stops;
    QWidget* first = QApplication::focusWidget();
    for (QWidget* at = first; at && stops.size() < size_t(limit);) {
        stops.push_back(at);
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        if (at == first) break;
    }
    return stops;
}

// What a stop is called in the expected orders: its object name, or its class for an unnamed one.
inline QString StopName(const QWidget* w) {
    return w->objectName().isEmpty() ? QString("<%1>").arg(w->metaObject()->className()) : w->objectName();
}

}  // namespace quorvel::test

// Readable failure messages for the expected orders.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[' << list.join(", ").toStdString() << ']';
}
QT_END_NAMESPACE
