// Once per run, shortly after the main window shows: every 15 days the offer
// to look for a newer version, and the offer to send the logs after a
// conversion that never ended.
#pragma once

#include "platform/ini_file.h"
#include "platform/prompter.h"

#include <QDate>
#include <QLocale>
#include <functional>

namespace quilo {

struct UpdateReminderActions {
    std::function<void()> checkNewVersion;
    std::function<void()> sendLogFiles;
};

inline constexpr int UpdateReminderDays = 15;

// `lastConversionFinished` is what the user log says of the previous run.
void RunUpdateReminder(IniFile& options, bool lastConversionFinished, Prompter& prompter,
                       const UpdateReminderActions& actions, QDate today = QDate::currentDate(),
                       const QLocale& locale = QLocale::system());

// A date in the locale's short format, and back; an invalid date for a text
// that is not one. Two-digit years count from 1970.
QString ShortDateText(QDate date, const QLocale& locale);
QDate ParseShortDate(const QString& text, const QLocale& locale);

} // namespace quilo
