// The user log: an INI file in the data folder where jobs record every clip's
// parameters, progress and result, so that a failed or crashed conversion can be
// understood afterwards. Each write reaches the file at once, so a killed
// process leaves "FinishLast" at 0.
#pragma once

#include "conversion/engine_parameter_set.h"
#include "platform/ini_file.h"

#include <string>

namespace quilo {

struct ProgressTexts {
    std::string currentTime;
    std::string fps;
    std::string remainingTime;
};

struct JobSettingsRecord {
    int coreCount = 1;
    int coreIndex = 0;
    bool deinterlace = false;
    bool forceSync = false;
    bool highQuality = false;
    std::string displayName;
    std::string artistName;
    std::string programVersion;
    std::string programBuild;
};

class UserLog {
public:
    explicit UserLog(const std::string& dataFolder);

    const std::string& path() const { return file_.path(); }

    void LogClipStart(const EngineParameterSet& parameters, int targetType);
    void LogClipEnd(int result);
    void LogRunning(const ProgressTexts& texts);
    void LogConversionWrong(const ProgressTexts& texts);
    // An unhandled error, numbered after the ones already recorded.
    void LogError(const std::string& message, const ProgressTexts& texts);
    void LogJobSettings(const JobSettingsRecord& record);

    // False when the last clip's conversion never returned (a crash or a kill).
    bool lastConversionFinished() const;

private:
    IniFile file_;
};

// The local date and time in the user's short date and long time format.
std::string LocalDateTimeText();

} // namespace quilo
