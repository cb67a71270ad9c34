#include "conversion/psp_upload.h"

#include "platform/user_folders.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace quilo {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t CopyBlock = 1 << 20;

} // namespace

std::optional<std::string> FindPspVolume(const std::vector<std::string>& roots,
                                         const std::string& uploadFolder) {
    for (const std::string& root : roots) {
        std::error_code error;
        if (fs::is_directory(WithTrailingSlash(root) + uploadFolder, error))
            return WithTrailingSlash(root);
    }
    return std::nullopt;
}

bool CopyWithProgress(const std::string& source, const std::string& destination,
                      const std::function<void(int percent)>& percent) {
    std::ifstream in(source, std::ios::binary);
    std::error_code error;
    const auto size = fs::file_size(source, error);
    if (!in || error)
        return false;
    const std::string partial = destination + ".part";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    std::vector<char> block(CopyBlock);
    std::uintmax_t done = 0;
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = in.gcount();
        if (got <= 0)
            break;
        if (!out.write(block.data(), got)) {
            out.close();
            fs::remove(partial, error);
            return false;
        }
        done += static_cast<std::uintmax_t>(got);
        if (percent && size > 0)
            percent(static_cast<int>(done * 100 / size));
    }
    out.close();
    if (!out || done != size) {
        fs::remove(partial, error);
        return false;
    }
    fs::rename(partial, destination, error);
    if (error) {
        fs::remove(partial, error);
        return false;
    }
    if (percent)
        percent(100);
    return true;
}

bool UploadToPsp(const std::vector<TVideoInfo*>& clips, const std::string& jobFolder,
                 const std::vector<std::string>& volumeRoots, const OptionSettings& options,
                 Prompter& prompter, const UploadProgress& progress) {
    const auto root = FindPspVolume(volumeRoots, options.PSPUploadFolder);
    if (!root) {
        prompter.inform("Can not find PSP Video folder.\nPlease check your PSP connection!");
        return false;
    }
    for (const TVideoInfo* clip : clips) {
        if (!clip->Checked)
            continue;
        const std::string name = fs::path(clip->OutputPath).filename().string();
        const std::string source = WithTrailingSlash(jobFolder) + name;
        std::string folder = *root;
        if (name.rfind("MAQ", 0) == 0)
            folder += WithTrailingSlash(options.PSPAVCFolder);
        else if (name.rfind("M4V", 0) == 0)
            folder += WithTrailingSlash(options.PSPMP4Folder);
        std::error_code error;
        if (name.empty() || !fs::is_regular_file(source, error)) {
            prompter.error("Can not find srcfile : \n" + source + "\n");
            continue;
        }
        if (progress.status)
            progress.status("Uploading : " + clip->OutputName + " to PSP.");
        fs::create_directories(folder, error);
        if (!CopyWithProgress(source, folder + name, progress.percent))
            prompter.error("Can not copy " + source + " to " + folder + name);
    }
    if (progress.status)
        progress.status("");
    prompter.inform("Upload to PSP finish!");
    return true;
}

} // namespace quilo
