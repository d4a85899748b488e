#include "ui/common/Page.h"

namespace quorvel {

Page::Page(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {}

}  // namespace quorvel
