#include "conversion/user_log.h"

#include <QDateTime>
#include <QLocale>

namespace quilo {

std::string LocalDateTimeText() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return (locale.toString(now.date(), QLocale::ShortFormat) + " " +
            locale.toString(now.time(), QLocale::LongFormat))
        .toStdString();
}

UserLog::UserLog(const std::string& dataFolder) : file_(dataFolder + "UserLog.log") {}

void UserLog::LogClipStart(const EngineParameterSet& parameters, int targetType) {
    file_.writeString("ProcessingInfo", "SystemTime_Start", LocalDateTimeText());
    file_.writeInteger("ProcessingInfo", "ConvertType", targetType);
    for (const auto& [key, value] : parameters.loggedMembers())
        file_.writeString("ProcessingInfo", key, *value);
    file_.writeBool("UserLog", "FinishLast", false);
    file_.eraseKey("UserLog", "ReturnValue");
    const ProgressTexts unknown{"-1", "-1", "-1"};
    LogRunning(unknown);
    LogConversionWrong(unknown);
}

void UserLog::LogClipEnd(int result) {
    file_.writeBool("UserLog", "FinishLast", true);
    file_.writeInteger("UserLog", "ReturnValue", result);
    file_.writeString("ProcessingInfo", "SystemTime_End", LocalDateTimeText());
}

static void writeProgress(IniFile& file, const char* section, const ProgressTexts& texts) {
    file.writeString(section, "CurrentTime", texts.currentTime);
    file.writeString(section, "FPS", texts.fps);
    file.writeString(section, "RemainTime", texts.remainingTime);
}

void UserLog::LogRunning(const ProgressTexts& texts) {
    writeProgress(file_, "RunningInfo", texts);
}

void UserLog::LogConversionWrong(const ProgressTexts& texts) {
    writeProgress(file_, "ConversionWrongInfo", texts);
}

void UserLog::LogError(const std::string& message, const ProgressTexts& texts) {
    int n = 0;
    while (file_.find("Error", "ProgramError" + std::to_string(n)))
        ++n;
    const std::string suffix = std::to_string(n);
    file_.writeString("Error", "ProgramError" + suffix, message);
    file_.writeString("Error", "Time" + suffix, LocalDateTimeText());
    file_.writeString("Error", "CurrentTime" + suffix, texts.currentTime);
    file_.writeString("Error", "FPS" + suffix, texts.fps);
    file_.writeString("Error", "RemainTime" + suffix, texts.remainingTime);
}

void UserLog::LogJobSettings(const JobSettingsRecord& record) {
    file_.writeInteger("AdvancedSetting", "DVDCoreAmount", record.coreCount);
    file_.writeInteger("AdvancedSetting", "DVDCoreIndex", record.coreIndex);
    file_.writeBool("AdvancedSetting", "UseDeInterlace", record.deinterlace);
    file_.writeBool("AdvancedSetting", "UseAVSync", record.forceSync);
    file_.writeBool("AdvancedSetting", "UseHQE", record.highQuality);
    file_.writeString("FileSetting", "DisplayName", record.displayName);
    file_.writeString("FileSetting", "ArtistName", record.artistName);
    file_.writeString("UserInfo", "ProgramVersion", record.programVersion);
    file_.writeString("UserInfo", "ProgramBuild", record.programBuild);
}

bool UserLog::lastConversionFinished() const {
    return file_.readBool("UserLog", "FinishLast", true);
}

} // namespace quilo
