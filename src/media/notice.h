// The notice window without its widgets: once, the note that clips with
// several audio tracks can be converted in a preferred language (until the user
// asks not to see it again), and the two questions before local files and web
// videos would be mixed in the list.
#pragma once

#include "platform/desktop_services.h"
#include "platform/ini_file.h"

#include <functional>
#include <string>

namespace quilo {

class Notice {
public:
    enum class Mode { MultiAudio = 1, SwitchToOnline = 2, SwitchToLocal = 3 };

    // Shows the window modally and returns true for OK; the view (or a test)
    // works the controls meanwhile.
    using ModalRunner = std::function<bool(Notice&)>;

    static constexpr const char* Caption = "tips";
    static constexpr const char* MultiAudioText =
        "We found some video files you just added include multiple audio tracks. \r\nOur software can help "
        "convert videos with your preferred audio language track.";
    static constexpr const char* LearnMoreText = "Learn more : ";
    static constexpr const char* DontShowAgainText = "Don't show this again";
    static constexpr const char* SwitchToOnlineText =
        "Warning :\r\n    \r\n    You have added some local videos. \r\n    But we can't mix the local "
        "videos "
        "and online videos, \r\n    Do you want to clear the current video list and add online videos?";
    static constexpr const char* SwitchToLocalText =
        "Warning :\r\n    \r\n    You have added some online web videos. \r\n    But we can't mix the local "
        "videos and online videos, \r\n    Do you want to clear the current video list and add local videos?";

    // `optionFile` is Option.ini; `multiTrackPage` the address the link opens.
    Notice(std::string optionFile, std::string multiTrackPage, DesktopServices& desktop,
           ModalRunner runModal);

    void ShowMultiAudioNotice();
    bool ConfirmSwitchToOnline() { return confirm(Mode::SwitchToOnline); }
    bool ConfirmSwitchToLocal() { return confirm(Mode::SwitchToLocal); }

    // Controls.
    Mode mode() const { return mode_; }
    // The multi-audio controls show in mode 1, a warning label in mode 2 or 3.
    bool multiAudioShown() const { return mode_ == Mode::MultiAudio; }
    // The warning of the current mode; empty in mode 1.
    std::string warningText() const;
    const std::string& linkAddress() const { return link_; }
    bool dontShowAgain() const { return dontShowAgain_; }
    // The box writes its state at once.
    void SetDontShowAgain(bool checked);

private:
    bool confirm(Mode mode);

    IniFile options_;
    std::string link_;
    DesktopServices& desktop_;
    ModalRunner runModal_;
    Mode mode_ = Mode::MultiAudio;
    bool dontShowAgain_ = false;
};

} // namespace quilo
