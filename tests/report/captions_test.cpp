#include "report/captions.h"

#include "platform/ansitext.h"
#include "window/form1.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <QFile>

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
    const int fontRequests = load("' a comment: 12\tIGNORED\r\n"
                                  "\r\n"
                                  "12\tVERSCHRAUBEN\r\n"
                                  "2\t BESCHREIBUNG \tthe comment after a second tab\r\n"
                                  "\"16\tSTEIGUNG, GEWINDE\"\r\n"
                                  "33\tMIN, TEIL\r\n"
                                  "3\r\n"
                                  "6\tERST\r\n"
                                  "6\tDANN\r\n"
                                  "1\tTITEL\r\n"
                                  "40\tEINTRAG NULL\r\n"
                                  "27\tANZUGSZEIT\r\n"
                                  "77\tNO SUCH KEY\r\n");
    EXPECT_EQ(form.Frame2.text(), u"VERSCHRAUBEN"_s);
    EXPECT_EQ(form.Label13.text(), u" BESCHREIBUNG "_s); // blanks kept, comment dropped
    EXPECT_EQ(form.Label8.text(), u"STEIGUNG, GEWINDE"_s);
    // Unquoted, the comma ends the record; " TEIL" is a record whose key reads as 0.
    EXPECT_EQ(form.Label14.text(), u"MIN"_s);
    EXPECT_EQ(fontRequests, 1);
    EXPECT_EQ(form.Label1.text(), QString()); // a key without a tab empties its caption
    EXPECT_EQ(form.Frame1.text(), u"DANN"_s);
    EXPECT_EQ(form.caption(), u"TITEL"_s);
    EXPECT_EQ(form.Label10(4).text(), u"ANZUGSZEIT"_s);
    EXPECT_EQ(captions[12], u"ANZUGSZEIT"_s);
    EXPECT_EQ(captions[0], u"EINTRAG NULL"_s);
    // Read to its end: the file's mode captions stand, the missing ones stay empty.
    EXPECT_TRUE(captions[8].isEmpty());
    EXPECT_TRUE(captions[13].isEmpty());
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
    const struct {
        QLocale::Language language;
        QLocale::Territory territory;
        QByteArray bytes;
        QString caption;
    } rows[] = {
        {QLocale::Russian, QLocale::Russia,
         "\xEF\xBB\xBF"
         "12\tMA\xC3\x9F",
         u"MAß"_s},
        {QLocale::Japanese, QLocale::Japan, "12\tGR\xC3\x96\xC3\x9F", u"GRÖß"_s},
        {QLocale::Russian, QLocale::Russia, "12\t\xC7\xC0\xD2\xDF\xC6\xCA\xC0", u"ЗАТЯЖКА"_s},
        // Bytes the code page cannot read (1252's gaps, a lead byte at the end) keep their value.
        {QLocale::English, QLocale::UnitedStates, "12\tGR\xD6\xDF \x80\x81", u"GRÖß €\u0081"_s},
        {QLocale::Japanese, QLocale::Japan, "12\t\x92\xF7\x95t\x83g\x83\x8B\x83N \xB1\x92",
         u"締付トルク ｱ\u0092"_s},
        {QLocale::Chinese, QLocale::Taiwan, "12\t\xC2\xEA\xBA\xF2", u"鎖緊"_s},
    };
    for (const auto& row : rows) {
        platform.locale = QLocale(row.language, row.territory);
        load(row.bytes);
        EXPECT_EQ(form.Frame2.text(), row.caption)
            << QLocale::languageToCode(row.language).toStdString();
    }
}

QByteArray Template(const QString& name) {
    QFile file(QStringLiteral(VELDRUNE_SHIPPED_DATA "/captions/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
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
