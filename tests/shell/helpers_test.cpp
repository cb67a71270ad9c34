// Time and counter texts, the mail of the log files and the product's links.
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "shell/mail_and_help.h"
#include "shell/product_links.h"
#include "shell/text_format.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(TextFormat, TimesCountersAndPaddedNames) {
    EXPECT_EQ(SecondsToText(3725), "01:02:05");
    EXPECT_EQ(SecondsToText(0), "00:00:00");
    EXPECT_EQ(SecondsToText(360000), "100:00:00");
    EXPECT_EQ(FormatCounter4(7), "0007");
    EXPECT_EQ(FormatCounter4(12345), "2345");
    EXPECT_EQ(FormatCounter4(10000), "8888");
    EXPECT_EQ(FormatCounter4(0), "8888");
    EXPECT_EQ(FormatCounter4(-3), "8888");
    EXPECT_EQ(FormatCounter4(999), "0999");
    const std::string longName(35, 'x');
    EXPECT_EQ(PadOrCut(longName, 30), std::string(30, 'x'));
    EXPECT_EQ(PadOrCut("clip1", 30), "clip1" + std::string(25, ' '));
    // Characters, not bytes: "Grüße" is five characters in seven bytes.
    EXPECT_EQ(PadOrCut("Grüße aus Köln", 4), "Grüß");
    EXPECT_EQ(PadOrCut("Grüße", 6), "Grüße ");
    EXPECT_EQ(PadOrCut("", 2), "  ");
}

TEST(LogMail, AttachesTheLogsThatExistAndWarnsWithoutAMailClient) {
    TempDir data;
    RecordingDesktopServices desktop;
    ScriptedPrompter prompter;

    writeFile(data.file("UserLog.log"), "[ProcessingInfo]\n");
    EXPECT_EQ(SendLogFiles(data.path(), "1.0", "reports@example.org", desktop, prompter),
              DesktopServices::MailSent);
    ASSERT_EQ(desktop.mails.size(), 1u);
    EXPECT_EQ(desktop.mails[0].attachments, std::vector<std::string>{data.file("UserLog.log")});
    EXPECT_EQ(desktop.mails[0].subject, "1.0 Log File");
    EXPECT_EQ(desktop.mails[0].to, "reports@example.org");
    EXPECT_TRUE(prompter.shown().empty());

    writeFile(data.file("tamberlog.log"), "engine\n");
    desktop.mailResult = DesktopServices::MailClientMissing;
    EXPECT_EQ(SendLogFiles(data.path(), "1.0", "reports@example.org", desktop, prompter),
              DesktopServices::MailClientMissing);
    EXPECT_EQ(desktop.mails[1].attachments.size(), 2u);
    ASSERT_EQ(prompter.texts(),
              std::vector<std::string>{"Cannot find email client program!\nYou cannot use this feature!"});
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Warning);
}

TEST(LogMail, AttachmentsStopAtTheFirstGapAndHelpPagesOpen) {
    const MailMessage mail = MailFromLines({"To=a@b.c", "Attachment0=/x", "Attachment2=/z", "Subject=s=t"});
    EXPECT_EQ(mail.attachments, std::vector<std::string>{"/x"});
    EXPECT_EQ(mail.subject, "s=t");
    RecordingDesktopServices desktop;
    OpenHtmlHelpPage(desktop, "/opt/help/index.html");
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"/opt/help/index.html"});
}

TEST(ProductLinks, TheShippedAddressesLeadTheHeaderButtonsAndNothingIsOpenedWithoutThem) {
    const ProductLinks shipped = ProductLinks::Read(programDir());
    ASSERT_FALSE(shipped.site.empty());
    EXPECT_TRUE(shipped.site.starts_with("https://")) << shipped.site;
    EXPECT_FALSE(shipped.site.ends_with("/"));
    EXPECT_FALSE(shipped.problemReportAddress.empty());

    RecordingDesktopServices desktop;
    CheckNewVersion(shipped, "4.0", desktop);
    ContactSupport(shipped, desktop);
    OpenHomePage(shipped, desktop);
    const std::vector<std::string> expected = {shipped.site +
                                                   "/video-converter/download.htm?type=full&version=4.0",
                                               "mailto:" + shipped.supportMail, shipped.homePage};
    EXPECT_EQ(desktop.opened, expected);

    // The update log: the page, then the local file only when it is installed.
    TempDir install;
    desktop.opened.clear();
    ViewUpdateLog(shipped, install.path(), desktop);
    EXPECT_EQ(desktop.opened, std::vector<std::string>{shipped.site + "/video-converter/updatelog.htm"});
    writeFile(install.file("updatelog.txt"), "4.0\n");
    ViewUpdateLog(shipped, install.path(), desktop);
    EXPECT_EQ(desktop.opened.back(), install.file("updatelog.txt"));

    // An installation without the file knows no address and opens nothing.
    const ProductLinks none = ProductLinks::Read(install.path());
    desktop.opened.clear();
    CheckNewVersion(none, "4.0", desktop);
    ContactSupport(none, desktop);
    OpenHomePage(none, desktop);
    EXPECT_TRUE(desktop.opened.empty());
}
