#include "platform/user_folders.h"

#include <QDir>
#include <QStandardPaths>

namespace quilo {
namespace {

std::string standardFolder(QStandardPaths::StandardLocation location) {
    return WithTrailingSlash(QStandardPaths::writableLocation(location).toStdString());
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
    return WithTrailingSlash(QDir::homePath().toStdString());
}

std::string WithTrailingSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

} // namespace quilo
