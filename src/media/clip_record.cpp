#include "media/clip_record.h"

#include "media/clip_text.h"
#include "shell/text_format.h"

namespace quilo {

Bitmap24::Bitmap24(int width, int height)
    : Width(width > 0 ? width : 0), Height(height > 0 ? height : 0),
      Pixels(static_cast<size_t>(Width) * static_cast<size_t>(Height) * 3, 0) {}

namespace {

struct LabelPlace {
    int left;
    int width;
};

LabelPlace placeOf(RowLabel label) {
    switch (label) {
    case RowLabel::Name:
        return {3, 118};
    case RowLabel::Duration:
        return {128, 0};
    case RowLabel::FrameRate:
        return {180, 55};
    case RowLabel::Size:
        return {235, 123};
    case RowLabel::AudioTrack:
        return {228, 0};
    case RowLabel::Subtitle:
        return {314, 0};
    case RowLabel::Start:
        return {362, 0};
    case RowLabel::End:
        return {412, 0};
    case RowLabel::Output:
        return {465, 0};
    case RowLabel::AudioName:
        return {38, 82};
    case RowLabel::AudioCodec:
        return {128, 85};
    case RowLabel::AudioSampleRate:
        return {220, 50};
    case RowLabel::AudioBitRate:
        return {270, 88};
    }
    return {0, 0};
}

int validSeconds(int seconds) {
    return seconds > 86400 || seconds < 0 ? 0 : seconds;
}

} // namespace

void TInfoListItem::SetLabel(RowLabel label, std::string text) {
    auto found = labels_.find(label);
    if (found == labels_.end()) {
        const LabelPlace place = placeOf(label);
        found = labels_.emplace(label, TLabelInfo{place.left, place.width, {}}).first;
    }
    found->second.Text = std::move(text);
}

const TLabelInfo* TInfoListItem::Label(RowLabel label) const {
    const auto found = labels_.find(label);
    return found == labels_.end() ? nullptr : &found->second;
}

std::string TInfoListItem::LabelText(RowLabel label) const {
    const TLabelInfo* info = Label(label);
    return info ? info->Text : std::string();
}

int AspectCodeFromEngine(int engineAspect) {
    switch (engineAspect) {
    case 1:
        return Aspect::Ratio1x1;
    case 2:
        return Aspect::Ratio4x3;
    case 3:
        return Aspect::Ratio16x9;
    case 4:
        return Aspect::Ratio221x1;
    default:
        return Aspect::Other;
    }
}

TVideoInfo::TVideoInfo() : row_(std::make_unique<TInfoListItem>(RowKind::Clip, this)) {}

void TVideoInfo::showTimes() {
    row_->SetLabel(RowLabel::Duration, SecondsToText(Duration));
    row_->SetLabel(RowLabel::Start, StartTime == 0 ? "Beginning" : SecondsToText(StartTime));
    row_->SetLabel(RowLabel::End, EndTime == Duration ? "Ending" : SecondsToText(EndTime));
}

void TVideoInfo::SetDuration(int seconds) {
    Duration = validSeconds(seconds);
    showTimes();
}

void TVideoInfo::SetStartTime(int seconds) {
    StartTime = validSeconds(seconds);
    showTimes();
}

void TVideoInfo::SetEndTime(int seconds) {
    EndTime = validSeconds(seconds);
    showTimes();
}

void TVideoInfo::SetChecked(bool checked) {
    Checked = checked;
    row_->Checked = checked;
    if (CheckedChanged)
        CheckedChanged(*this);
}

void TVideoInfo::SetInfoText(const std::string& text) {
    InfoText = text;
    row_->Hint = text;
}

void TVideoInfo::SetOutputName(const std::string& name) {
    OutputName = name;
    row_->SetLabel(RowLabel::Output, name);
    row_->Hint = InfoText + "\nOutput Name : " + name;
}

void TVideoInfo::SetPicture(int engineAspect, int width, int height) {
    PixelAspect = height <= 0 ? 1.0 : static_cast<double>(width) / height;
    Width = width;
    Height = height;
    AspectCode = AspectCodeFromEngine(engineAspect);
}

void TVideoInfo::ShowRateAndAspect(const std::string& aspectText) {
    row_->SetLabel(RowLabel::FrameRate, ClipFrameRateLabel(FrameRate));
    row_->SetLabel(RowLabel::Size, ClipSizeLabel(Width, Height, aspectText));
}

TInfoListItem& TVideoInfo::AddAudioRow(const TAudioStream& stream, bool last) {
    auto row = std::make_unique<TInfoListItem>(RowKind::Audio, this);
    row->StreamId = stream.Id;
    row->Language = stream.Language;
    row->LastAudio = last;
    row->Number = row_->Number;
    row->SetLabel(RowLabel::AudioName, AudioNameLabel(stream.Language, stream.Id));
    row->SetLabel(RowLabel::AudioCodec, AudioCodecLabel(stream.CodecText, stream.Channels));
    row->SetLabel(RowLabel::AudioSampleRate, AudioSampleRateLabel(stream.SamplingRate));
    row->SetLabel(RowLabel::AudioBitRate, AudioBitRateLabel(stream.BitRate));
    audioRows_.push_back(std::move(row));
    return *audioRows_.back();
}

void TVideoInfo::SetAudioTrackIndex(int index) {
    AudioTrackIndex = index;
    row_->SetLabel(RowLabel::AudioTrack, TrackLabel(AudioTracks ? &*AudioTracks : nullptr, index));
}

void TVideoInfo::SetSubtitleIndex(int index) {
    SubtitleIndex = index;
    row_->SetLabel(RowLabel::Subtitle, TrackLabel(Subtitles ? &*Subtitles : nullptr, index));
}

void TVideoInfo::SetJoinedSources(const std::vector<std::string>& parts) {
    FilePath.clear();
    for (const auto& part : parts)
        FilePath += part + "\n";
    joined_ = true;
}

std::vector<std::string> TVideoInfo::SourcePaths() const {
    if (!joined_)
        return FilePath.empty() ? std::vector<std::string>{} : std::vector<std::string>{FilePath};
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start <= FilePath.size()) {
        std::size_t end = FilePath.find('\n', start);
        if (end == std::string::npos)
            end = FilePath.size();
        std::string line = FilePath.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            paths.push_back(std::move(line));
        start = end + 1;
    }
    return paths;
}

std::string TVideoInfo::FirstSourcePath() const {
    const std::vector<std::string> paths = SourcePaths();
    return paths.empty() ? std::string() : paths.front();
}

} // namespace quilo
