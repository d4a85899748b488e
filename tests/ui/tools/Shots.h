#pragma once
// What the picture makers of ui_screenshots share with its main.

#include <QString>

namespace quorvel::test {

// The folder the pictures are written to: the tool's argument, created before any maker runs.
QString ShotDir();

}  // namespace quorvel::test
