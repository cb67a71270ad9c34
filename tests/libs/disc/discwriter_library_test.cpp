#include "discwriter.h"
#include "quilo_test/dvd_folder.h"
#include "quilo_test/support.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <vector>

namespace quilo {
namespace {

// The library as the program binds it: loaded from the program folder by name.
struct DiscLibrary {
    void* handle = dlopen((test::programDir() + "libdiscwriter.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    DiscLibrary() {
        if (handle) {
            EXPECT_EQ(bind<decltype(&discwriter_up_start)>("discwriter_up_start")(), DISCWRITER_OK);
        }
    }
    ~DiscLibrary() {
        if (handle) {
            bind<decltype(&discwriter_shut_down)>("discwriter_shut_down")();
            dlclose(handle);
        }
    }
    template <typename F> F bind(const char* name) { return reinterpret_cast<F>(dlsym(handle, name)); }
};
#define BIND(library, name) library.bind<decltype(&::name)>(#name)

struct Events {
    std::vector<int> numbers;
    uint64_t lastWritten = 0, lastTotal = 0;
};

void collectEvent(int event, void* context, void* special1, void* special2) {
    auto* events = static_cast<Events*>(context);
    events->numbers.push_back(event);
    if (event == DISCWRITER_EVENT_PROGRESS) {
        events->lastTotal = *static_cast<uint64_t*>(special1);
        events->lastWritten = *static_cast<uint64_t*>(special2);
    }
}

void collectAddress(int event, void* context, void* special1, void*) {
    if (event == DISCWRITER_EVENT_DRIVE_FOUND)
        static_cast<std::vector<std::string>*>(context)->push_back(
            static_cast<discwriter_device_record*>(special1)->address);
}

int titleCount(const std::string& lsdvdOut) {
    int count = 0;
    for (size_t at = lsdvdOut.find("'ix' :"); at != std::string::npos; at = lsdvdOut.find("'ix' :", at + 1))
        ++count;
    return count;
}

TEST(DiscWriterLibrary, WritesADvdFolderToAPseudoDriveThatLsdvdReads) {
    DiscLibrary library;
    ASSERT_NE(library.handle, nullptr) << dlerror();
    EXPECT_EQ(BIND(library, discwriter_version)(), DISCWRITER_ABI_VERSION);
    test::TempDir work;
    ASSERT_EQ(test::MakeDvdFolder(work.file("dvd"), 2), "");
    const std::string address = "stdio:" + work.file("disc.iso");

    // A pseudo-drive given by address is found after the system's drives.
    std::vector<std::string> found;
    const char* extra[] = {address.c_str(), "stdio:/no/such/folder/disc.iso"};
    const int count = BIND(library, discwriter_find_devices)(extra, 2, collectAddress, &found);
    ASSERT_GE(count, 1);
    EXPECT_EQ(found.back(), address);
    EXPECT_EQ(static_cast<int>(found.size()), count);

    Events events;
    discwriter_grabber* drive = nullptr;
    char text[1024] = "untouched";
    unsigned status = 99;
    ASSERT_EQ(BIND(library, discwriter_grabber_create)(&drive, text, sizeof text, &status, collectEvent,
                                                       &events, address.c_str(), 0),
              DISCWRITER_OK)
        << text;
    EXPECT_EQ(status, 0u);
    char vendor[1024], product[1024], revision[1024];
    unsigned cache = 1;
    ASSERT_EQ(BIND(library, discwriter_device_info)(drive, vendor, product, revision, 1024, &cache),
              DISCWRITER_OK);
    EXPECT_STRNE(product, "");
    EXPECT_EQ(BIND(library, discwriter_test_unit_ready)(drive), DISCWRITER_OK);
    EXPECT_EQ(BIND(library, discwriter_disc_type)(drive), DISCWRITER_DISC_DVD_RAM);
    unsigned char blank = 0;
    ASSERT_EQ(BIND(library, discwriter_disc_information)(drive, &blank), DISCWRITER_OK);
    EXPECT_EQ(blank, 1);
    uint64_t freeBytes = 0;
    ASSERT_EQ(BIND(library, discwriter_disc_free_space)(drive, &freeBytes), DISCWRITER_OK);
    EXPECT_GT(freeBytes, 1u << 20);

    // A file drive has no speed list: it accepts what it is asked for.
    ASSERT_EQ(BIND(library, discwriter_set_speeds)(drive, 65535, 5540), DISCWRITER_OK);
    unsigned currentWrite = 0;
    ASSERT_EQ(BIND(library, discwriter_get_speeds)(drive, nullptr, nullptr, &currentWrite, nullptr),
              DISCWRITER_OK);
    EXPECT_EQ(currentWrite, 5540u);
    unsigned char tao = 0;
    ASSERT_EQ(BIND(library, discwriter_probe_write_modes)(drive, &tao, nullptr, nullptr, nullptr),
              DISCWRITER_OK);
    EXPECT_EQ(tao, 1);

    discwriter_dvdvideo* image = nullptr;
    ASSERT_EQ(BIND(library, discwriter_dvdvideo_create)(&image, work.file("dvd/VIDEO_TS").c_str(), text,
                                                        sizeof text, &status, "MY_DVD", "Publisher",
                                                        "Application", 2010, 4, 20, 12, 10, 0, 50),
              DISCWRITER_OK)
        << text;
    const uint64_t imageSize = BIND(library, discwriter_dvdvideo_size)(image);
    EXPECT_GT(imageSize, 0u);
    ASSERT_EQ(BIND(library, discwriter_track_at_once)(drive, text, sizeof text, &status, image, 0),
              DISCWRITER_OK)
        << text;
    EXPECT_EQ(BIND(library, discwriter_close_session)(drive), DISCWRITER_OK);
    BIND(library, discwriter_dvdvideo_destroy)(&image);
    EXPECT_EQ(image, nullptr);
    BIND(library, discwriter_grabber_release)(&drive);
    EXPECT_EQ(drive, nullptr);

    // Events arrive in the order of a write, the last progress at the full size.
    ASSERT_GE(events.numbers.size(), 3u);
    EXPECT_EQ(events.numbers[0], DISCWRITER_EVENT_ANALYZE_BEGIN);
    EXPECT_EQ(events.numbers[1], DISCWRITER_EVENT_ANALYZE_END);
    EXPECT_EQ(events.numbers.back(), DISCWRITER_EVENT_PROGRESS);
    EXPECT_EQ(events.lastWritten, events.lastTotal);
    EXPECT_GE(events.lastTotal, imageSize);

    const auto lsdvd = test::runProcess("lsdvd", {"-v", "-Oy", work.file("disc.iso")});
    ASSERT_EQ(lsdvd.exitCode, 0) << lsdvd.err;
    EXPECT_EQ(titleCount(lsdvd.out), 2) << lsdvd.out;
    EXPECT_NE(lsdvd.out.find("'format' : 'PAL'"), std::string::npos) << lsdvd.out;
    const auto isoinfo = test::runProcess("isoinfo", {"-d", "-i", work.file("disc.iso")});
    EXPECT_NE(isoinfo.out.find("MY_DVD"), std::string::npos) << isoinfo.out;
    // The volume's creation date, as the primary volume descriptor holds it.
    const std::string written = test::readFile(work.file("disc.iso"));
    ASSERT_GT(written.size(), 16u * 2048 + 830);
    EXPECT_EQ(written.substr(16 * 2048 + 813, 16), "2010042012100050");
}

TEST(DiscWriterLibrary, RefusesBadInputWithAReason) {
    DiscLibrary library;
    ASSERT_NE(library.handle, nullptr) << dlerror();
    test::TempDir work;
    char text[1024] = "";
    unsigned status = 0;

    discwriter_grabber* drive = nullptr;
    EXPECT_EQ(BIND(library, discwriter_grabber_create)(&drive, text, sizeof text, &status, nullptr, nullptr,
                                                       "stdio:/no/such/folder/disc.iso", 1),
              DISCWRITER_E_NO_DRIVE);
    EXPECT_EQ(drive, nullptr);
    EXPECT_STRNE(text, "");
    EXPECT_EQ(status, unsigned(DISCWRITER_E_NO_DRIVE));
    EXPECT_EQ(
        BIND(library, discwriter_grabber_create)(&drive, text, sizeof text, &status, nullptr, nullptr, "", 1),
        DISCWRITER_E_NO_DRIVE);

    // A folder of files that are not a DVD, and a folder that does not exist.
    test::writeFile(work.file("notdvd/movie.mpg"), "not a dvd");
    discwriter_dvdvideo* image = nullptr;
    for (const std::string& folder : {work.file("notdvd"), work.file("missing"), std::string()}) {
        text[0] = '\0';
        EXPECT_EQ(BIND(library, discwriter_dvdvideo_create)(&image, folder.c_str(), text, sizeof text,
                                                            &status, "L", "", "", 2010, 4, 20, 12, 10, 0, 50),
                  DISCWRITER_E_FOLDER)
            << folder;
        EXPECT_EQ(image, nullptr);
        EXPECT_NE(std::string(text).find("VIDEO_TS"), std::string::npos) << text;
    }

    // Null handles and images are refused, not followed.
    EXPECT_EQ(BIND(library, discwriter_disc_type)(nullptr), DISCWRITER_DISC_UNKNOWN);
    EXPECT_NE(BIND(library, discwriter_test_unit_ready)(nullptr), DISCWRITER_OK);
    EXPECT_NE(BIND(library, discwriter_track_at_once)(nullptr, text, sizeof text, &status, nullptr, 0),
              DISCWRITER_OK);
    BIND(library, discwriter_grabber_release)(nullptr);
    BIND(library, discwriter_dvdvideo_destroy)(nullptr);
}

TEST(DiscWriterLibrary, AWriteThatCannotReachItsTargetFailsAndSaysSo) {
    DiscLibrary library;
    ASSERT_NE(library.handle, nullptr) << dlerror();
    test::TempDir work;
    ASSERT_EQ(test::MakeDvdFolder(work.file("dvd"), 1), "");
    char text[1024] = "";
    unsigned status = 0;
    discwriter_dvdvideo* image = nullptr;
    ASSERT_EQ(BIND(library, discwriter_dvdvideo_create)(&image, work.file("dvd").c_str(), text, sizeof text,
                                                        &status, "", "", "", 2010, 4, 20, 12, 10, 0, 50),
              DISCWRITER_OK)
        << text;

    // A file the kernel will not let anyone write, not even root.
    discwriter_grabber* drive = nullptr;
    ASSERT_EQ(BIND(library, discwriter_grabber_create)(&drive, text, sizeof text, &status, nullptr, nullptr,
                                                       "stdio:/proc/version", 0),
              DISCWRITER_OK)
        << text;
    text[0] = '\0';
    EXPECT_NE(BIND(library, discwriter_track_at_once)(drive, text, sizeof text, &status, image, 0),
              DISCWRITER_OK);
    EXPECT_STRNE(text, "");
    EXPECT_NE(status, 0u);
    EXPECT_EQ(BIND(library, discwriter_close_session)(drive), DISCWRITER_E_WRITE);
    BIND(library, discwriter_grabber_release)(&drive);
    BIND(library, discwriter_dvdvideo_destroy)(&image);
}

} // namespace
} // namespace quilo
