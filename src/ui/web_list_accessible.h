// The clip area in link mode as assistive tools see it: a list with one item per
// link row and video file row, named by the row's cells (row_list_accessible.h).
#pragma once

#include <QString>

namespace quilo {

struct WebRow;

// What a screen reader says for a row: its cells in the order they are drawn.
QString SpokenWebRowText(const WebRow& row);

// Registers the interface with Qt's accessibility; called by every web list
// view, effective once per process.
void InstallWebListAccessibility();

} // namespace quilo
