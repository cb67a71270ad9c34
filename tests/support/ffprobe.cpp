#include "quilo_test/support.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace quilo::test {

QJsonObject ffprobe(const std::string& path) {
    ProcessResult probe = runProcess(
        "ffprobe", {"-v", "error", "-print_format", "json", "-show_format", "-show_streams", path}, 60000);
    if (probe.exitCode != 0)
        return {};
    return QJsonDocument::fromJson(QByteArray::fromStdString(probe.out)).object();
}

QJsonObject firstStream(const QJsonObject& probe, const QString& codecType) {
    for (const auto& stream : probe.value("streams").toArray()) {
        if (stream.toObject().value("codec_type").toString() == codecType)
            return stream.toObject();
    }
    return {};
}

int streamCount(const QJsonObject& probe, const QString& codecType) {
    int count = 0;
    for (const auto& stream : probe.value("streams").toArray())
        count += stream.toObject().value("codec_type").toString() == codecType;
    return count;
}

double durationSeconds(const QJsonObject& probe) {
    return probe.value("format").toObject().value("duration").toString().toDouble();
}

} // namespace quilo::test
