#include "dvd/authoring/author_control_file.h"

#include <filesystem>
#include <fstream>

namespace quilo {
namespace {

std::string indented(int spaces, const std::string& text) {
    return std::string(spaces, ' ') + text;
}

// File names come from users and web pages: keep them from breaking the XML.
std::string xmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

std::string ChooseDvdFolder(const std::string& outputFolder) {
    std::error_code ignored;
    std::string folder = outputFolder + "DVD_DISC";
    for (int n = 1; std::filesystem::exists(folder, ignored); ++n)
        folder = outputFolder + "DVD_DISC_" + std::to_string(n);
    return folder;
}

std::vector<std::string> BuildAuthorLines(const std::string& dvdFolder, const DvdDiscSettings& settings,
                                          const std::vector<std::string>& outputList, long& totalMegabytes,
                                          bool& fileMissing) {
    std::vector<std::string> lines = {
        indented(0, "<dvdauthor dest=\"" + xmlEscaped(dvdFolder) + "\">"),
        indented(2, "<vmgm>"),
        indented(2, "</vmgm>"),
        indented(2, "<titleset>"),
        indented(6, "<titles>"),
        indented(9, std::string("<video format=\"") + (settings.pal ? "pal" : "ntsc") +
                        "\" aspect=" + (settings.aspect43 ? "\"4:3\"" : "\"16:9\"")),
        indented(16, std::string("resolution=") + (settings.pal ? "\"720x576\"" : "\"720x480\"")),
        indented(16, settings.widescreen ? "widescreen=\"nopanscan\" />" : "/>"),
        indented(9, "<audio format=\"ac3\""),
        indented(16, "quant=\"16bps\" dolby=\"surround\""),
        indented(16, "samplerate=\"48khz\"/>"),
    };

    fileMissing = false;
    for (size_t i = 0; i < outputList.size(); ++i) {
        lines.push_back(indented(8, "<pgc>"));
        std::error_code error;
        const auto size = std::filesystem::file_size(outputList[i], error);
        if (error) {
            fileMissing = true;
            break;
        }
        lines.push_back(indented(10, "<vob file=\"" + xmlEscaped(outputList[i]) + "\" />"));
        totalMegabytes += static_cast<long>(size / (1024 * 1024));
        if (i >= 100)
            break;
        if (i + 1 < outputList.size()) {
            lines.push_back(indented(10, "<post>jump title " + std::to_string(i + 2) + " ;</post>"));
            lines.push_back(indented(8, "</pgc>"));
        }
    }

    lines.push_back(indented(10, "<post>jump title 1;</post>"));
    lines.push_back(indented(8, "</pgc>"));
    lines.push_back(indented(6, "</titles>"));
    lines.push_back(indented(2, "</titleset>"));
    lines.push_back(indented(0, "</dvdauthor>"));
    return lines;
}

AuthorControlFile WriteAuthorControlFile(const std::string& dataFolder, const std::string& outputFolder,
                                         const std::vector<std::string>& outputList, int clipIndex,
                                         const DvdDiscSettings& settings, const std::string& authorInto) {
    AuthorControlFile control;
    control.path = dataFolder + "author.xml";
    std::error_code ignored;
    std::filesystem::remove(control.path, ignored);
    control.dvdFolder = ChooseDvdFolder(outputFolder);

    bool fileMissing = false;
    const auto lines = BuildAuthorLines(authorInto.empty() ? control.dvdFolder : authorInto, settings,
                                        outputList, control.totalMegabytes, fileMissing);
    std::ofstream out(control.path, std::ios::binary | std::ios::trunc);
    for (const auto& line : lines)
        out << line << "\r\n";
    out.close();

    if (clipIndex > 99)
        control.result = AuthorTooManyClips;
    else if (fileMissing)
        control.result = AuthorMissingFile;
    else
        control.result = AuthorDone;
    return control;
}

} // namespace quilo
