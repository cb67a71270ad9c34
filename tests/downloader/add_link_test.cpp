// The add-link dialog's rules: what the clipboard puts into the field and
// which addresses are taken.
#include "downloader/add_link.h"
#include "quilo_test/test_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace quilo;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(AddLinkForm, TheClipboardFillsTheFieldOnlyWithAWebAddressInAnyCase) {
    AddLinkForm form;
    form.Show("https://videos.example/watch?v=1");
    EXPECT_EQ(form.Url, "https://videos.example/watch?v=1");
    form.Show("HTTP://Videos.Example/Clip"); // unchanged, capitals and all
    EXPECT_EQ(form.Url, "HTTP://Videos.Example/Clip");
    form.Show("ftp://videos.example/clip");
    form.Show("some words");
    EXPECT_EQ(form.Url, "HTTP://Videos.Example/Clip");
}

TEST(AddLinkForm, HttpAndHttpsAreTakenTrimmedAndEverythingElseIsRefused) {
    ScriptedPrompter prompter;
    AddLinkForm form;
    for (const std::string url : {"http://127.0.0.1:8080/page.html", "https://videos.example/watch?v=1"}) {
        form.Url = "  " + url + "\t\n";
        EXPECT_TRUE(form.Accept({}, prompter)) << url;
        EXPECT_EQ(form.Url, url);
    }
    EXPECT_THAT(prompter.shown(), IsEmpty());

    for (const std::string url : {"ftp://x", "HTTP://videos.example/", "https://", "http://",
                                  "www.example.com/video", "", "http://a b", "http://a\nb"}) {
        form.Url = url;
        EXPECT_FALSE(form.Accept({}, prompter)) << url;
    }
    ASSERT_EQ(prompter.shown().size(), 8u);
    for (const auto& shown : prompter.shown()) {
        EXPECT_EQ(shown.text, "Please enter the correct video URL.");
        EXPECT_EQ(shown.buttons, PromptButtons::Ok);
    }
}

TEST(AddLinkForm, ALinkAlreadyInTheListIsRefusedExactlyOnceItIsTrimmed) {
    ScriptedPrompter prompter;
    AddLinkForm form;
    const std::vector<std::string> existing = {"http://127.0.0.1/a.html", "https://b.example/v"};
    form.Url = " https://b.example/v ";
    EXPECT_FALSE(form.Accept(existing, prompter));
    form.Url = "https://B.example/v"; // the comparison is exact
    EXPECT_TRUE(form.Accept(existing, prompter));
    EXPECT_THAT(prompter.texts(), ElementsAre("The video link already exist"));
}
