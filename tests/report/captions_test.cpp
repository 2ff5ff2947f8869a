#include "report/captions.h"

#include "platform/ansitext.h"
#include "window/form1.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// Every wording a caption file can reach, so that two windows can be compared whole.
QStringList Wording(const Form1& form) {
    QStringList texts{form.caption()};
    for (const auto& control : form.controls())
        texts.append(control->displayName() + u'=' + control->text());
    return texts;
}

QStringList DefaultModeCaptions() {
    ModeCaptions captions;
    StoreDefaultModeCaptions(captions);
    return {captions.begin(), captions.end()};
}

class CaptionFile : public ::testing::Test {
protected:
    // Loads the bytes as VELDRUNE.TXT; the number of times key 0 asked for the language font.
    int load(const QByteArray& bytes, ProgramFlags flags = {}) {
        platform.putProgramFile(CaptionFileName, bytes);
        int fontRequests = 0;
        LoadCaptionText(form, captions, flags, platform, [&] { ++fontRequests; });
        return fontRequests;
    }
    QStringList modeCaptions() const { return {captions.begin(), captions.end()}; }

    test::FakePlatform platform;
    Form1 form;
    ModeCaptions captions;
};

TEST_F(CaptionFile, MissingOrSkippedLeavesTheWindowAndStoresTheDefaultModeCaptions) {
    const QStringList designed = Wording(form);
    LoadCaptionText(form, captions, {}, platform, {});
    EXPECT_EQ(Wording(form), designed);
    EXPECT_EQ(modeCaptions(), DefaultModeCaptions());

    captions = {};
    EXPECT_EQ(load("12\tVERSCHRAUBEN\n0\n", {.SkipCaptionFile = true}), 0);
    EXPECT_EQ(Wording(form), designed);
    EXPECT_EQ(modeCaptions(), DefaultModeCaptions());
}

TEST_F(CaptionFile, ReadsRecordsCommentsQuotesAndTabs) {
    EXPECT_EQ(load("' a comment: 12\tIGNORED\r\n"
                   "\r\n"
                   "12\tVERSCHRAUBEN\r\n"
                   "2\t BESCHREIBUNG \tthe comment after a second tab\r\n" // blanks kept
                   "\"16\tSTEIGUNG, GEWINDE\"\r\n"
                   "33\tMIN, TEIL\r\n" // unquoted, the comma ends it; " TEIL" has the key 0
                   "3\r\n"             // a key without a tab empties its caption
                   "6\tERST\r\n"
                   "6\tDANN\r\n"
                   "1\tTITEL\r\n"
                   "40\tEINTRAG NULL\r\n"
                   "27\tANZUGSZEIT\r\n"
                   "77\tNO SUCH KEY\r\n"),
              1);
    // Read to its end: the file's mode captions (12, 0) stand, the missing ones stay empty.
    EXPECT_EQ(
        (QStringList{form.Frame2.text(), form.Label13.text(), form.Label8.text(),
                     form.Label14.text(), form.Label1.text(), form.Frame1.text(), form.caption(),
                     form.Label10(4).text(), captions[12], captions[0], captions[8], captions[13]}),
        (QStringList{u"VERSCHRAUBEN"_s, u" BESCHREIBUNG "_s, u"STEIGUNG, GEWINDE"_s, u"MIN"_s,
                     QString(), u"DANN"_s, u"TITEL"_s, u"ANZUGSZEIT"_s, u"ANZUGSZEIT"_s,
                     u"EINTRAG NULL"_s, QString(), QString()}));
}

TEST_F(CaptionFile, KeysReadAsNumbersRoundedTo16BitsAndAnOverflowStopsWithTheFallback) {
    EXPECT_EQ(load("WORD\tANY\n"
                   "11.5\tHALF TO EVEN\n"
                   " 2 7 \tBLANKS IGNORED\n"
                   "28\tWINKEL\n"
                   "99999\tTOO BIG\n"
                   "12\tNEVER READ\n"),
              1);
    EXPECT_EQ(form.Frame2.text(), u"HALF TO EVEN"_s); // 11.5 rounds to 12
    EXPECT_EQ(form.Label10(4).text(), u"BLANKS IGNORED"_s);
    EXPECT_EQ(form.Label10(5).text(), u"WINKEL"_s);   // set before the stop, and kept
    EXPECT_EQ(modeCaptions(), DefaultModeCaptions()); // entry 13 back to its default
}

TEST_F(CaptionFile, ReadsUtf8AndAnythingElseInTheCodePageOfTheUsersLanguage) {
    const std::tuple<const char*, QByteArray, QString> rows[] = {
        {"ru_RU", "\xEF\xBB\xBF\x31\x32\tMA\xC3\x9F", u"MAß"_s}, // a byte order mark, then 12
        {"ja_JP", "12\tGR\xC3\x96\xC3\x9F", u"GRÖß"_s},
        {"ru_RU", "12\t\xC7\xC0\xD2\xDF\xC6\xCA\xC0", u"ЗАТЯЖКА"_s},
        // Bytes the code page cannot read (1252's gaps, a lead byte at the end) keep their value.
        {"en_US", "12\tGR\xD6\xDF \x80\x81", u"GRÖß €\u0081"_s},
        {"ja_JP", "12\t\x92\xF7\x95t\x83g\x83\x8B\x83N \xB1\x92", u"締付トルク ｱ\u0092"_s},
        {"zh_TW", "12\t\xC2\xEA\xBA\xF2", u"鎖緊"_s},
    };
    for (const auto& [locale, bytes, caption] : rows) {
        platform.locale = QLocale(QString::fromLatin1(locale));
        load(bytes);
        EXPECT_EQ(form.Frame2.text(), caption) << locale;
    }
}

QByteArray Template(const QString& name) {
    return test::TestData(u"../../data/captions/"_s + name);
}

TEST_F(CaptionFile, ShippedTemplatesReadToTheirEndTheEnglishOneBeingTheBuiltInWording) {
    const QStringList designed = Wording(form);
    EXPECT_EQ(load(Template(u"english.txt"_s)), 0);
    EXPECT_EQ(Wording(form), designed);
    QStringList expected = DefaultModeCaptions();
    expected[11].clear(); // entry 11 is read by nothing and no key sets it
    EXPECT_EQ(modeCaptions(), expected);

    // The German one translates every key the English one sets.
    Form1 english;
    const CaptionReading englishReading =
        ApplyCaptionText(DecodeAnsiText(Template(u"english.txt"_s)), english, captions, {});
    const CaptionReading german =
        ApplyCaptionText(DecodeAnsiText(Template(u"german.txt"_s)), form, captions, {});
    EXPECT_FALSE(german.stopped);
    EXPECT_EQ(german.applied, englishReading.applied);
    EXPECT_EQ(form.Frame2.text(), u"VERSCHRAUBUNG"_s);
    EXPECT_EQ(form.Option1(0).text(), u"LÄNGE"_s);
}

} // namespace
} // namespace veldrune
