#include "profiles/update_reminder.h"

namespace quilo {

QString ShortDateText(QDate date, const QLocale& locale) {
    return locale.toString(date, QLocale::ShortFormat);
}

QDate ParseShortDate(const QString& text, const QLocale& locale) {
    QDate date = locale.toDate(text.trimmed(), QLocale::ShortFormat);
    // Short formats often write two-digit years, which read as 19xx.
    if (date.isValid() && date.year() < 1970 && !locale.dateFormat(QLocale::ShortFormat).contains("yyyy"))
        date = date.addYears(100);
    return date;
}

void RunUpdateReminder(IniFile& options, bool lastConversionFinished, Prompter& prompter,
                       const UpdateReminderActions& actions, QDate today, const QLocale& locale) {
    const std::string stored = options.readString("sys", "UpdateDate", "");
    const QDate last = ParseShortDate(QString::fromStdString(stored), locale);
    const std::string todayText = ShortDateText(today, locale).toStdString();
    // A missing date, or one this locale cannot read, starts the count today.
    if (!last.isValid()) {
        options.writeString("sys", "UpdateDate", todayText);
        return;
    }
    if (last.daysTo(today) > UpdateReminderDays) {
        options.writeString("sys", "UpdateDate", todayText);
        if (prompter.ask(PromptKind::Confirmation, "Do you want to check the latest version?",
                         PromptButtons::YesNo) == PromptAnswer::Yes &&
            actions.checkNewVersion)
            actions.checkNewVersion();
    }
    if (!lastConversionFinished &&
        prompter.ask(
            PromptKind::Confirmation,
            "Our program detects abnormal end in your previous conversion.\nWould you please send us the "
            "Log File which will help us find the problem?",
            PromptButtons::YesNo) == PromptAnswer::Yes &&
        actions.sendLogFiles)
        actions.sendLogFiles();
}

} // namespace quilo
