#include "media/notice.h"

namespace quilo {
namespace {

constexpr const char* OptionSection = "Option";
constexpr const char* ShowMultiAudioKey = "ShowMultiAudio";

} // namespace

Notice::Notice(std::string optionFile, std::string multiTrackPage, DesktopServices& desktop,
               ModalRunner runModal)
    : options_(std::move(optionFile)), link_(std::move(multiTrackPage)), desktop_(desktop),
      runModal_(std::move(runModal)) {}

std::string Notice::warningText() const {
    switch (mode_) {
    case Mode::SwitchToOnline:
        return SwitchToOnlineText;
    case Mode::SwitchToLocal:
        return SwitchToLocalText;
    default:
        return {};
    }
}

void Notice::ShowMultiAudioNotice() {
    mode_ = Mode::MultiAudio;
    // The stored key means "never show it again".
    if (options_.readBool(OptionSection, ShowMultiAudioKey, false))
        return;
    dontShowAgain_ = false;
    const bool ok = runModal_ && runModal_(*this);
    if (ok && !link_.empty())
        desktop_.openDocument(link_);
}

void Notice::SetDontShowAgain(bool checked) {
    dontShowAgain_ = checked;
    options_.writeBool(OptionSection, ShowMultiAudioKey, checked);
}

bool Notice::confirm(Mode mode) {
    mode_ = mode;
    return runModal_ && runModal_(*this);
}

} // namespace quilo
