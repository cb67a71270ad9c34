// The program's icon: a film frame with a play mark on the skin's dark panel,
// drawn at any size so each size is sharp.
#pragma once

#include <QIcon>
#include <QImage>

namespace quilo::skin {

// A square picture of `size` pixels with a transparent outside.
QImage ProgramIcon(int size);
// The window icon: the picture at the sizes taskbars and switchers ask for.
QIcon ProgramIcons();

} // namespace quilo::skin
