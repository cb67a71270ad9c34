#include "quilo_test/dvd_folder.h"

#include "quilo_test/support.h"

namespace quilo::test {

std::string MakeDvdFolder(const std::string& folder, int titles) {
    const std::string clip =
        fixture("disc-pal-title.mpg",
                {"-f", "lavfi", "-i", "testsrc2=size=352x288:rate=25:duration=1", "-f", "lavfi", "-i",
                 "sine=frequency=440:duration=1", "-target", "pal-dvd", "-b:v", "800k", "-shortest"});
    const std::map<std::string, std::string> pal = {{"VIDEO_FORMAT", "PAL"}};
    for (int i = 0; i < titles; ++i) {
        const auto title = runProcess("dvdauthor", {"-o", folder, "-t", clip}, 120000, pal);
        if (title.exitCode != 0)
            return "dvdauthor -t: " + title.err;
    }
    const auto table = runProcess("dvdauthor", {"-o", folder, "-T"}, 120000, pal);
    return table.exitCode == 0 ? std::string() : "dvdauthor -T: " + table.err;
}

} // namespace quilo::test
