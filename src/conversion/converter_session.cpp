#include "conversion/converter_session.h"

#include "conversion/engine_api.h"
#include "conversion/link_downloads.h"
#include "profiles/output_naming.h"

#include <algorithm>
#include <climits>

namespace quilo {

ConverterSession::ConverterSession(Setup setup)
    : setup_(std::move(setup)),
      options_(std::make_unique<OptionsModel>(OptionsModel::Files{setup_.dataFolder + "Option.ini",
                                                                  setup_.program.files + "PfDef.dll",
                                                                  setup_.dataFolder + "PfSetting.ini"},
                                              setup_.prompter)),
      userLog_(setup_.dataFolder), engine_(setup_.program.libraries + EngineLibraryName),
      clips_(setup_.prompter), loader_(clips_, engine_, probe_, setup_.frameRateChooser, setup_.prompter),
      downloaded_(setup_.prompter),
      downloadedLoader_(downloaded_, engine_, probe_, setup_.frameRateChooser, setup_.prompter) {
    panel_ = std::make_unique<OutputPanelModel>(OutputPanelModel::Files{setup_.program.files + "PfDef.dll",
                                                                        setup_.dataFolder + "PfSetting.ini",
                                                                        setup_.dataFolder + "Option.ini"},
                                                options_->settings(), setup_.prompter);
    panel_->setClipSize(this);
    panel_->setNamingClips(this);
    panel_->SetProcessorCores(setup_.processorCores ? setup_.processorCores() : EngineCoreCount());
    clips_.setNamer(this);
    loader_.setNotices(setup_.notices);
    setUpLoader(loader_);
    setUpLoader(downloadedLoader_);
}

void ConverterSession::setUpLoader(ClipLoader& loader) const {
    loader.setDataFolder(setup_.dataFolder);
    loader.setSystemLanguage(SystemLanguageName());
    loader.setPreferredLanguage([this] { return options().DefaultAudioText(); });
}

ConverterSession::~ConverterSession() = default;

std::string ConverterSession::JobOutputFolder(const std::string& folderOverride) const {
    if (!folderOverride.empty())
        return WithTrailingSlash(folderOverride);
    return options().OutputFolder + targetSubFolder(panel_->currentTarget());
}

JobInputs ConverterSession::MakeJobInputs(const std::string& folderOverride) const {
    std::vector<TVideoInfo*> checked;
    for (TVideoInfo* clip : clips_.Clips())
        if (clip->Checked)
            checked.push_back(clip);
    return MakeJobInputs(std::move(checked), folderOverride);
}

JobInputs ConverterSession::MakeJobInputs(std::vector<TVideoInfo*> checked,
                                          const std::string& folderOverride) const {
    const JobSetup setup{panel_->currentTarget(), panel_->definitionSection(),
                         JobOutputFolder(folderOverride), std::max(0, options().MinDuration)};
    return JobInputs{TakeJobSettings(*panel_->definitions(), panel_->controls(), setup),
                     std::move(checked),
                     folderOverride.empty() ? options().OutputFolder : WithTrailingSlash(folderOverride),
                     setup_.dataFolder,
                     setup_.program.libraries,
                     options()};
}

std::string ConverterSession::OutputExtension() {
    const std::string name = OutputFileName(0);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

TVideoInfo* ConverterSession::LoadDownloadedTask(const TDownloadTask& task, const std::string& extension) {
    if (task.videos().empty())
        return nullptr;
    std::vector<std::string> paths;
    for (const auto& video : task.videos())
        paths.push_back(video->fullPath);
    return LoadDownloadedClip(paths, DownloadedClipName(task.videos().front()->name, extension));
}

TVideoInfo* ConverterSession::LoadDownloadedClip(const std::vector<std::string>& paths,
                                                 const std::string& outputName) {
    if (paths.empty() || !downloadedLoader_.LoadClip(paths.front()))
        return nullptr;
    TVideoInfo& clip = *downloaded_.Clip(downloaded_.Count() - 1);
    int duration = clip.Duration;
    std::string filePath = paths.front();
    // The later parts only lend their lengths; a scratch list keeps them out.
    ClipList parts(setup_.prompter);
    ClipLoader partLoader(parts, engine_, probe_, setup_.frameRateChooser, setup_.prompter);
    setUpLoader(partLoader);
    for (size_t i = 1; i < paths.size(); ++i) {
        filePath += "\n" + paths[i];
        if (partLoader.LoadClip(paths[i]))
            duration += parts.Clip(parts.Count() - 1)->Duration;
    }
    clip.FilePath = filePath;
    clip.SetDuration(duration);
    clip.SetEndTime(duration);
    clip.SetOutputName(outputName);
    return &clip;
}

int ConverterSession::clipCount() const {
    return clips_.Count();
}

std::optional<NamingClip> ConverterSession::clip(int position) const {
    const TVideoInfo* clip = clips_.Clip(position);
    if (!clip)
        return std::nullopt;
    return NamingClip{clip->FirstSourcePath(), clip->StartTime, clip->EndTime, clip->Width, clip->Height};
}

void ConverterSession::setOutputName(int position, const std::string& name) {
    if (TVideoInfo* clip = clips_.Clip(position))
        clip->SetOutputName(name);
}

std::optional<ClipSize> ConverterSession::currentClipSize() const {
    const TVideoInfo* clip = clips_.CurrentClip();
    if (!clip)
        return std::nullopt;
    return ClipSize{clip->Width, clip->Height};
}

std::string ConverterSession::OutputFileName(int position) {
    return OutputNamer(panel_->definitions(), options().Naming, *panel_).OutputFileName(position);
}

void ConverterSession::JobEnded(const ConversionJob& job) {
    const OutputNamer namer(panel_->definitions(), options().Naming, *panel_);
    const std::vector<TVideoInfo*>& jobClips = job.inputs().clips;
    const std::vector<EngineResult>& results = job.clipResults();
    // Downloaded clips are not in the list and are not named by the serial.
    int lastNumbered = -1;
    for (size_t i = 0; i < jobClips.size() && i < results.size(); ++i) {
        const int position = clips_.IndexOf(jobClips[i]);
        if (results[i] == EngineResult::Converted && position > lastNumbered &&
            namer.UsesSerialNumber(position))
            lastNumbered = position;
    }
    if (lastNumbered < 0)
        return;
    const long long next = static_cast<long long>(options().Naming.SerialStart) + lastNumbered + 1;
    options_->ContinueSerialAt(static_cast<int>(std::min<long long>(next, INT_MAX)));
    panel_->RefreshOutputNames();
}

void ConverterSession::OptionsClosed() {
    if (options_->changed())
        panel_->OptionsChanged();
    else // a folder chosen in the dialog is kept even on Cancel
        panel_->OutputFolderChanged();
}

void ConverterSession::ChooseOutputFolder(const std::string& folder) {
    if (folder.empty())
        return;
    options_->ChooseOutputFolder(folder);
    panel_->OutputFolderChanged();
}

bool ConverterSession::CloseRequested() {
    if (clips_.Seeking) {
        setup_.prompter.inform("Seeking disc, please waiting.");
        return false;
    }
    options_->SaveLanguageAndFolder();
    return true;
}

} // namespace quilo
