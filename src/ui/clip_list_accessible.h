// The clip list as assistive tools see it. The list draws its rows itself, so
// nothing of Qt's knows them: this gives the list a list role and one item per
// row it holds (clip rows and their audio rows), named by what the row shows,
// with its check and selection states and the actions a click would do.
#pragma once

#include <QString>

namespace quilo {

struct TInfoListItem;

// What a screen reader says for a row: its shown texts in the order they are drawn.
QString SpokenRowText(const TInfoListItem& row);

// Registers the interfaces with Qt's accessibility; called by every clip list
// view, effective once per process.
void InstallClipListAccessibility();

} // namespace quilo
