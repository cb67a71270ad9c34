#include "platform/special_folders.h"

#include <QDir>
#include <QStandardPaths>

namespace quilo {
namespace {

std::string withSlash(const QString& folder) {
    if (folder.isEmpty())
        return {};
    std::string path = folder.toStdString();
    return path.back() == '/' ? path : path + "/";
}

std::string standardFolder(QStandardPaths::StandardLocation location) {
    return withSlash(QStandardPaths::writableLocation(location));
}

} // namespace

std::string applicationDataFolder() {
    return standardFolder(QStandardPaths::GenericDataLocation);
}
std::string documentsFolder() {
    return standardFolder(QStandardPaths::DocumentsLocation);
}
std::string videosFolder() {
    return standardFolder(QStandardPaths::MoviesLocation);
}
std::string picturesFolder() {
    return standardFolder(QStandardPaths::PicturesLocation);
}
std::string homeFolder() {
    return withSlash(QDir::homePath());
}

} // namespace quilo
