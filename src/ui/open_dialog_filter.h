// The settings file keeps the file dialog's filter as "Name|*.a;*.b|Name|..."
// pairs; Qt's dialog wants "Name (*.a *.b);;Name (...)".
#pragma once

#include <QString>
#include <string>

namespace quilo {

// An empty or unreadable filter gives one entry for all files.
QString QtFileDialogFilter(const std::string& pairs);

} // namespace quilo
