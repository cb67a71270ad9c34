#include "media/clip_loader.h"

#include "media/clip_text.h"
#include "shell/text_format.h"

#include <QLocale>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr double Ntsc30 = 29.97002997002997;
constexpr double Ntsc24 = 23.976023976023978;

} // namespace

std::string SystemLanguageName() {
    return QLocale::languageToString(QLocale::system().language()).toUpper().toStdString();
}

bool IsTransportStream(const std::string& path, const std::string& formatName) {
    const std::string name = fileNameOf(path);
    const auto dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : upper(name.substr(dot));
    const std::string format = upper(formatName);
    if (extension.find("TS") == std::string::npos)
        return false;
    return !(format != "BDAV" && format.starts_with("TS"));
}

float SettleFrameRate(const std::string& path, const std::string& formatName, float probeRate,
                      float engineRate, FrameRateChooser& chooser, int& containerKind) {
    const double m = probeRate;
    const double e = engineRate;
    if (formatName == "Windows Media") {
        containerKind = Container::WindowsMedia;
        return static_cast<float>(m > 0 ? m : (e > 0 ? e : 0));
    }
    if (formatName == "Matroska")
        containerKind = Container::Matroska;
    else if (formatName == "BDAV" || formatName == "MPEG-TS")
        containerKind = Container::TransportStream;
    if (m <= 0)
        return static_cast<float>(e > 0 ? e : 0);
    if (e < 0)
        return probeRate;
    const double d = std::fabs(e - m);
    if (d > 0.03)
        return chooser.ChooseFrameRate(path, probeRate, engineRate);
    if (d > 0.01) {
        if (std::fabs(e - Ntsc30) < 0.02 || std::fabs(m - Ntsc30) < 0.02)
            return static_cast<float>(Ntsc30);
        if (std::fabs(e - Ntsc24) < 0.02 || std::fabs(m - Ntsc24) < 0.02)
            return static_cast<float>(Ntsc24);
    }
    return engineRate;
}

std::pair<int, int> ThumbnailSize(int width, int height, bool useAspectCode, int aspectCode) {
    constexpr int MaxWidth = 240, MaxHeight = 180;
    int display = width;
    if (useAspectCode) {
        static constexpr double ratios[] = {4.0 / 3.0, 16.0 / 9.0, 1.0, 2.21};
        const double ratio =
            aspectCode >= 0 && aspectCode < 4 ? ratios[aspectCode] : static_cast<double>(width) / height;
        const double scaled = height * ratio;
        display = std::isfinite(scaled) && std::fabs(scaled) < 1e9 ? static_cast<int>(scaled) : 0;
    }
    const double r = static_cast<double>(display) / height;
    if (height <= 0 || !std::isfinite(r) || r <= 0)
        return {MaxWidth, MaxHeight};
    // A side is never narrower than 4 pixels, or the engine would be asked for
    // an empty picture.
    const auto fit = [](double side, int limit) {
        int value = side < limit ? static_cast<int>(side) : limit;
        if (value % 4 != 0)
            value += 4 - value % 4;
        return std::clamp(value, 4, limit);
    };
    if (r < 1.3333333333333333)
        return {fit(MaxHeight * r, MaxWidth), MaxHeight};
    return {MaxWidth, fit(MaxWidth / r, MaxHeight)};
}

void ChooseAudioStream(TVideoInfo& clip, const std::string& preferredLanguage,
                       const std::string& systemLanguage) {
    const auto& rows = clip.AudioRows();
    if (rows.empty())
        return;
    const std::string preferred = upper(preferredLanguage);
    const std::string system = upper(systemLanguage);
    TInfoListItem* chosen = nullptr;
    TInfoListItem* systemRow = nullptr;
    TInfoListItem* englishRow = nullptr;
    for (const auto& row : rows) {
        const std::string language = upper(row->Language);
        // No preference must not pick an unlabelled track over the user's language.
        if (!preferred.empty() && language == preferred) {
            chosen = row.get();
            break;
        }
        if (!system.empty() && language == system)
            systemRow = row.get();
        if (language == "ENGLISH")
            englishRow = row.get();
    }
    if (!chosen)
        chosen = systemRow ? systemRow : (englishRow ? englishRow : rows.front().get());
    chosen->Checked = true;
    clip.SelectedAudioId = chosen->StreamId;
}

ClipLoader::ClipLoader(ClipList& list, ClipEngine& engine, MediaProbe& probe, FrameRateChooser& chooser,
                       Prompter& prompter)
    : list_(list), engine_(engine), probe_(probe), chooser_(chooser), prompter_(prompter),
      systemLanguage_(SystemLanguageName()) {}

void ClipLoader::showProgress() {
    list_.Events().addProgressChanged();
}

bool ClipLoader::AddFiles(std::vector<std::string>& paths) {
    if (list_.Busy)
        return false;
    list_.Events().stopPreview();
    list_.Events().repaint();
    list_.Busy = true;
    const std::vector<std::string> given = paths;
    const int n = static_cast<int>(given.size());
    AddProgress& progress = list_.Progress;
    if (n > 1) {
        progress = AddProgress{true, 0, 0};
        showProgress();
    }
    std::vector<std::string> unsupported;
    engineError_.clear();
    for (int i = 0; i < n; ++i) {
        if (progress.Visible) {
            progress.BarPixels = static_cast<int>(static_cast<long long>(i) * AddProgress::BarWidth / n);
            progress.Percent = static_cast<int>(static_cast<long long>(i) * 100 / n);
            showProgress();
        }
        if (!LoadClip(given[static_cast<size_t>(i)]))
            unsupported.push_back(given[static_cast<size_t>(i)]);
    }
    if (progress.Visible) {
        progress.BarPixels = AddProgress::BarWidth;
        progress.Percent = 100;
        showProgress();
    }
    list_.Events().repaint();
    progress.Visible = false;
    showProgress();
    list_.Busy = false;

    if (!unsupported.empty()) {
        std::string message = FailedFilesMessage(unsupported);
        if (!engineError_.empty())
            message += "\n" + std::string(EngineRefusedText) + engineError_ + "\n";
        prompter_.ask(PromptKind::Information, message, PromptButtons::Ok);
    }
    if (list_.SelectedRows().empty() && !list_.Rows().empty())
        list_.PressRow(list_.Rows().front());
    if (notices_) {
        for (TVideoInfo* clip : list_.Clips()) {
            if (std::find(given.begin(), given.end(), clip->FilePath) != given.end() &&
                clip->AudioRows().size() > 1) {
                notices_->ShowMultiAudioNotice();
                break;
            }
        }
    }
    paths.clear();
    dropGuard_ = false;
    return true;
}

std::string FailedFilesMessage(const std::vector<std::string>& paths) {
    std::string missing, unsupported;
    for (const std::string& path : paths) {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0 && errno == ENOENT) {
            missing += path + "\n";
            continue;
        }
        const std::string reason = UnreadableFileReason(path);
        unsupported += path + (reason.empty() ? "" : " : " + reason) + "\n";
    }
    std::string text;
    if (!missing.empty())
        text = MissingFilesText + missing;
    if (!unsupported.empty())
        text += (text.empty() ? "" : "\n") + std::string(UnsupportedFilesText) + unsupported;
    return text;
}

std::string UnreadableFileReason(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return errno == ENOENT ? "no such file" : std::string("cannot be read: ") + std::strerror(errno);
    if (S_ISDIR(status.st_mode))
        return "a folder, not a file";
    if (!S_ISREG(status.st_mode))
        return "not a regular file";
    if (::access(path.c_str(), R_OK) != 0)
        return std::string("cannot be read: ") + std::strerror(errno);
    if (status.st_size == 0)
        return "an empty file";
    return {};
}

bool ClipLoader::LoadClip(const std::string& path) {
    // A pipe or a device would block the readers for good; a folder is no clip.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    try {
        std::unique_ptr<ClipEngineSession> engine = engine_.Open();
        if (!engine) {
            engineError_ = engine_.error();
            return false;
        }
        // The engine may write into the name it is given.
        std::vector<char> buffer(path.size() + 10, '\0');
        std::copy(path.begin(), path.end(), buffer.begin());

        TMediaInfo media;
        probe_.Probe(path, media);
        const bool transportStream = IsTransportStream(path, media.FormatName);
        engine->GlobalCmd(dataFolder_ + "kavotempfile.tmp", "29.976", 1);
        EngineFileInfo info;
        if (engine->GetFileInfo(buffer.data(), 10, info, transportStream ? 1 : 0) == -1)
            return false;
        // A damaged file may give rates the texts and the rate rules cannot use.
        for (float* value : {&info.FrameRate, &info.VideoBitRate, &info.AudioBitRate}) {
            if (!std::isfinite(*value))
                *value = 0;
        }

        auto clip = std::make_unique<TVideoInfo>();
        const std::string fileName = fileNameOf(path);
        clip->Row().SetLabel(RowLabel::Name, "      " + PadOrCut(fileName, 30));
        clip->FilePath = path;

        const int duration =
            media.FormatName == "MPEG-PS" ? static_cast<int>(media.Video.Duration * 0.001) : info.Duration;
        clip->SetDuration(duration);
        clip->SetEndTime(duration);
        clip->SetStartTime(0);
        clip->SetChecked(true);

        clip->VideoStreamId = media.Video.Id;
        clip->CropX = 0;
        clip->CropY = 0;
        clip->CropW = info.Width;
        clip->CropH = info.Height;

        const int width = info.Width >= 1 ? info.Width : (media.Video.Width != 0 ? media.Video.Width : 720);
        const int height =
            info.Height >= 1 ? info.Height : (media.Video.Height != 0 ? media.Video.Height : 480);
        const std::string sizeText = std::to_string(width) + "X" + std::to_string(height);
        clip->SetPicture(info.AspectCode, width, height);

        int containerKind = Container::Other;
        clip->FrameRate = SettleFrameRate(path, media.FormatName, media.Video.FrameRate, info.FrameRate,
                                          chooser_, containerKind);
        clip->ContainerKind = containerKind;

        const std::string ratePart =
            IsAutoFrameRate(clip->FrameRate) ? " , FPS Auto" : " , FPS " + FrameRateText(clip->FrameRate);
        clip->SetInfoText("Clip Name : " + fileName + "\nVideo : Size " + sizeText + " , Bitrate " +
                          FormatFixed(info.VideoBitRate, 2) + ratePart + "\nAudio : Bitrate " +
                          FormatFixed(info.AudioBitRate, 2) + ", Samplerate " +
                          std::to_string(info.AudioSampleRate));
        clip->UseAspectCode = info.AspectFlag == 0;

        const auto [thumbWidth, thumbHeight] =
            ThumbnailSize(width, height, clip->UseAspectCode, clip->AspectCode);
        Bitmap24 thumbnail(thumbWidth, thumbHeight);
        const unsigned char* pixels = engine->GetFrame(thumbWidth, thumbHeight);
        if (pixels) {
            const size_t rowBytes = static_cast<size_t>(thumbWidth) * 3;
            for (int y = 0; y < thumbHeight; ++y)
                std::copy_n(pixels + y * rowBytes, rowBytes, thumbnail.Pixels.begin() + y * rowBytes);
        } else if (info.Width >= 1 && info.Height >= 1) {
            // A picture the engine cannot render; a file without one keeps a black thumbnail.
            return false;
        }
        clip->Thumbnail = std::move(thumbnail);

        clip->ShowRateAndAspect(media.Video.AspectText);
        clip->Selected = false;
        for (size_t i = 0; i < media.Audio.size(); ++i)
            clip->AddAudioRow(media.Audio[i], i + 1 == media.Audio.size());
        ChooseAudioStream(*clip, preferredLanguage_ ? preferredLanguage_() : std::string(), systemLanguage_);

        TVideoInfo& added = list_.Append(std::move(clip));
        list_.RefreshOutputName(added);
        engine.reset();
        if (list_.Count() > 0)
            list_.IntroVisible = false;
        list_.Events().repaint();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ClipLoader::confirmLocal() {
    if (list_.Mode != ListMode::Web)
        return true;
    if (!notices_ || !notices_->ConfirmSwitchToLocal())
        return false;
    notices_->ClearWebVideos();
    // Back to the introduction state.
    list_.IntroVisible = true;
    list_.Progress = AddProgress{};
    list_.Mode = ListMode::Empty;
    return true;
}

bool ClipLoader::BeginAdd() {
    if (!confirmLocal())
        return false;
    return !list_.Busy;
}

void ClipLoader::AddChosenFiles(std::vector<std::string> paths) {
    if (paths.empty() || list_.Busy)
        return;
    list_.ListTransparent = false;
    list_.Mode = ListMode::Local;
    AddFiles(paths);
}

void ClipLoader::AddLocalFiles(std::vector<std::string> paths) {
    if (paths.empty() || !confirmLocal() || list_.Busy)
        return;
    AddChosenFiles(std::move(paths));
}

bool ClipLoader::DropFiles(const std::vector<std::string>& paths) {
    if (dropGuard_)
        return false;
    if (!confirmLocal())
        return false;
    dropGuard_ = true;
    // Whole paths: a name cut short could name another file.
    pending_ = paths;
    loadTimer_ = true;
    return true;
}

void ClipLoader::LoadTimerFired() {
    if (!loadTimer_)
        return;
    loadTimer_ = false;
    if (pending_.empty() || list_.Busy) {
        pending_.clear();
        dropGuard_ = false;
        return;
    }
    list_.ListTransparent = false;
    list_.Mode = ListMode::Local;
    AddFiles(pending_);
}

void ClipLoader::HandleVolumeEvent(const VolumeEvent& event) {
    if (event.kind == VolumeEvent::Kind::Arrival) {
        if (list_.Count() != 0 || !event.Optical)
            return;
        if (event.Label)
            list_.Events().dvdNameFound(*event.Label);
        if (event.HasVideoTs)
            list_.DvdDrive = event.Drive;
        return;
    }
    if (event.Drive == list_.DvdDrive)
        list_.ClearClips();
}

void ClipLoader::PollVolumes(VolumeSource& source) {
    for (const VolumeEvent& event : source.Poll())
        HandleVolumeEvent(event);
}

} // namespace quilo
