// Uploading a PSP job's files to a PSP mounted as a folder.
#include "conversion/psp_upload.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(PspUpload, CopiesInBlocksWithProgressAndNeverLeavesHalfAFile) {
    TempDir dir;
    std::string content(3 * 1024 * 1024 + 5, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 31);
    writeFile(dir.file("source.mp4"), content);
    std::vector<int> percents;
    ASSERT_TRUE(CopyWithProgress(dir.file("source.mp4"), dir.file("copy.mp4"),
                                 [&](int p) { percents.push_back(p); }));
    EXPECT_EQ(readFile(dir.file("copy.mp4")), content);
    ASSERT_GE(percents.size(), 4u);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.back(), 100);
    EXPECT_LT(percents.front(), 100);

    EXPECT_FALSE(CopyWithProgress(dir.file("missing.mp4"), dir.file("copy2.mp4"), nullptr));
    EXPECT_FALSE(CopyWithProgress(dir.file("source.mp4"), dir.file("no/such/folder/copy.mp4"), nullptr));
    EXPECT_FALSE(fileExists(dir.file("copy2.mp4.part")));
}

TEST(PspUpload, FindsThePspAndSortsFilesIntoItsFolders) {
    TempDir dir, job, plain, psp;
    std::filesystem::create_directories(psp.file("VIDEO"));
    OptionSettings options;
    options.PSPUploadFolder = "VIDEO";
    options.PSPAVCFolder = "MP_ROOT/100ANV01";
    options.PSPMP4Folder = "MP_ROOT/100MNV01";
    EXPECT_EQ(FindPspVolume({plain.path(), psp.path()}, "VIDEO"), psp.path());

    std::vector<std::unique_ptr<TVideoInfo>> owned;
    std::vector<TVideoInfo*> clips;
    for (const char* name : {"MAQ00001.MP4", "M4V00002.MP4", "holiday.mp4", "gone.mp4", "unchecked.mp4"}) {
        owned.push_back(std::make_unique<TVideoInfo>());
        owned.back()->OutputPath = job.file(name);
        owned.back()->OutputName = name;
        owned.back()->Checked = std::string(name) != "unchecked.mp4";
        clips.push_back(owned.back().get());
        if (std::string(name) != "gone.mp4")
            writeFile(job.file(name), name);
    }
    ScriptedPrompter prompter;
    std::vector<std::string> statuses;
    int lastPercent = -1;
    ASSERT_TRUE(
        UploadToPsp(clips, job.path(), {plain.path(), psp.path()}, options, prompter,
                    {[&](const std::string& s) { statuses.push_back(s); }, [&](int p) { lastPercent = p; }}));
    EXPECT_EQ(readFile(psp.file("MP_ROOT/100ANV01/MAQ00001.MP4")), "MAQ00001.MP4");
    EXPECT_EQ(readFile(psp.file("MP_ROOT/100MNV01/M4V00002.MP4")), "M4V00002.MP4");
    EXPECT_EQ(readFile(psp.file("holiday.mp4")), "holiday.mp4");
    EXPECT_FALSE(fileExists(psp.file("unchecked.mp4")));
    EXPECT_EQ(lastPercent, 100);
    EXPECT_EQ(statuses.front(), "Uploading : MAQ00001.MP4 to PSP.");
    EXPECT_EQ(statuses.back(), "");
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"Can not find srcfile : \n" + job.file("gone.mp4") + "\n",
                                        "Upload to PSP finish!"}));

    prompter.clear();
    EXPECT_FALSE(UploadToPsp(clips, job.path(), {plain.path()}, options, prompter, {}));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Can not find PSP Video folder.\nPlease check your PSP connection!"});
}
