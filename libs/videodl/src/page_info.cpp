#include "page_info.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace videodl {

namespace {

std::string text(const QJsonObject& object, const char* key) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isString())
        return value.toString().toStdString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 17).toStdString();
    return {};
}

double size(const QJsonObject& object) {
    for (const char* key : {"filesize", "filesize_approx"}) {
        const double bytes = object.value(QLatin1String(key)).toDouble();
        if (bytes > 0)
            return bytes;
    }
    return 0;
}

PageVideo videoOf(const QJsonObject& info) {
    PageVideo video;
    video.id = text(info, "id");
    video.title = text(info, "title");
    video.extension = text(info, "ext");
    video.mediaUrl = text(info, "url");
    video.protocol = text(info, "protocol");
    video.size = size(info);
    QJsonObject headers = info.value(QLatin1String("http_headers")).toObject();
    // The chosen download names the file's address and size when the info object itself does not.
    const QJsonArray downloads = info.value(QLatin1String("requested_downloads")).toArray();
    if (!downloads.isEmpty()) {
        const QJsonObject chosen = downloads.first().toObject();
        if (video.mediaUrl.empty())
            video.mediaUrl = text(chosen, "url");
        if (video.protocol.empty())
            video.protocol = text(chosen, "protocol");
        if (video.size <= 0)
            video.size = size(chosen);
        if (headers.isEmpty())
            headers = chosen.value(QLatin1String("http_headers")).toObject();
    }
    video.headersJson = QJsonDocument(headers).toJson(QJsonDocument::Compact).toStdString();
    video.infoJson = QJsonDocument(info).toJson(QJsonDocument::Compact).toStdString();
    return video;
}

} // namespace

bool parsePageInfo(const std::string& json, std::vector<PageVideo>& videos) {
    videos.clear();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject info = document.object();
    if (info.value(QLatin1String("_type")).toString() == QLatin1String("playlist")) {
        for (const QJsonValue entry : info.value(QLatin1String("entries")).toArray()) {
            if (entry.isObject())
                videos.push_back(videoOf(entry.toObject()));
        }
        return true;
    }
    videos.push_back(videoOf(info));
    return true;
}

} // namespace videodl
