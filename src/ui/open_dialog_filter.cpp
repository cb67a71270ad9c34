#include "ui/open_dialog_filter.h"

#include <QStringList>

namespace quilo {

QString QtFileDialogFilter(const std::string& pairs) {
    const QStringList parts = QString::fromStdString(pairs).split('|');
    QStringList entries;
    // A name without its patterns (an odd count) is dropped rather than guessed.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            // "*.*" means every file on the system this format came from.
            if (pattern == "*.*")
                pattern = "*";
        }
        patterns.removeAll(QString());
        if (name.isEmpty() || patterns.isEmpty())
            continue;
        // The dialog reads patterns from the last parentheses; a name's own would confuse it.
        QString shownName = name;
        const qsizetype open = shownName.indexOf('(');
        if (open > 0)
            shownName = shownName.left(open).trimmed();
        entries << shownName + " (" + patterns.join(' ') + ")";
    }
    if (entries.isEmpty())
        return QStringLiteral("All Files (*)");
    return entries.join(";;");
}

} // namespace quilo
