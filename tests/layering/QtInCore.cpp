// Compiled with the include path of the core libraries, this must fail: the core never sees Qt.
#include <QObject>
