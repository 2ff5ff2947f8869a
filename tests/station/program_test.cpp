// The batch calculator as its users run it: exit status, standard output and error.

#include "support/locales.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

#include <nlohmann/json.hpp>

using namespace Qt::StringLiterals;

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

QByteArray TestStation(const QString& name) {
    QFile file(QStringLiteral(VELDRUNE_TEST_DATA "/stations/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Runs the batch calculator; with a locale, under that locale instead of the inherited one.
Outcome calc(const QStringList& arguments,
             const QString& folder = QStringLiteral(VELDRUNE_TEST_DATA "/stations"),
             const QString& locale = {}) {
    QProcess process;
    process.setWorkingDirectory(folder);
    if (!locale.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, locale);
        environment.insert(u"LOCPATH"_s, QStringLiteral(VELDRUNE_TEST_LOCALES));
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(VELDRUNE_CALC_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(BatchProgram, OneStationGivesASummaryAndATraceWithItsHeaderAlone) {
    QTemporaryDir dir;
    const QString trace = dir.filePath(u"trace.csv"_s);
    const Outcome run = calc({u"--trace"_s, trace, u"wheel-nuts.json"_s});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"KRV-110QM1-05  with angle head RH1, gear ratio 1.555"_s));
    EXPECT_TRUE(run.out.contains(u"Estimated total time: 2.47 s"_s));
    EXPECT_TRUE(run.out.contains(u"Messages: none"_s));
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "step,time_s,phase_s,ramp_s,torque_percent,load_percent,x,torque_y,"
                              "load_y\n"); // no duty cycle
}

TEST(BatchProgram, SeveralStationsGiveALineEachOrAJsonArrayOfTheWindowsTexts) {
    Outcome run = calc({u"wheel-nuts.json"_s, u"slow.json"_s});
    EXPECT_EQ(run.status, 0);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], u"wheel-nuts.json: KRV-110QM1-05 RH1, total 2.47 s"_s);
    EXPECT_TRUE(lines[1].contains(u"(FIRST TIME LIMIT OVER; SECOND TIME LIMIT OVER)"_s));

    run = calc({u"--json"_s, u"wheel-nuts.json"_s, u"revolutions.json"_s});
    const auto doc = nlohmann::ordered_json::parse(run.out.toStdString());
    ASSERT_TRUE(doc.is_array());
    const auto& ratings = doc[0]["ratings"];
    EXPECT_EQ(ratings["max_speed"], "1286 RPM");
    EXPECT_EQ(ratings["min_speed"], " 6.430868 RPM");
    EXPECT_EQ(ratings["max_torque"].dump(),
              R"({"NM":"8.78","KGM":"0.896","KGCM":"89.6","FTLBS":"6.48","INLBS":"77.6"})");
    EXPECT_EQ(ratings["gear_ratio"], "1.555");
    EXPECT_EQ(doc[0]["fastening"]["revolutions"], "16.00");
    EXPECT_EQ(doc[0]["messages"].size(), 0u);

    EXPECT_EQ(doc[1]["tool"], "PZS-520QM4-S12");
    EXPECT_TRUE(doc[1]["ratings"]["gear_ratio"].is_null());
    EXPECT_EQ(doc[1]["fastening"]["mode"], "revolutions");
    EXPECT_EQ(doc[1]["fastening"]["revolutions"], "12.00");
    // A typed tightening time derives the torque speed, then the time it really gives.
    EXPECT_EQ(doc[1]["phases"]["tightening"]["speed"], "38");
    EXPECT_EQ(doc[1]["phases"]["tightening"]["time"], "0.39");
    EXPECT_FALSE(doc[1].contains("duty_cycle"));
}

TEST(BatchProgram, ADutyCycleGivesItsLoadItsTraceAndTheChartAsTheWindowDrawsIt) {
    QTemporaryDir dir;
    const QString trace = dir.filePath(u"trace.csv"_s);
    const QString chart = dir.filePath(u"chart.png"_s);
    const QString report = dir.filePath(u"report.pdf"_s);
    Outcome run = calc({u"--json"_s, u"--trace"_s, trace, u"--chart"_s, chart, u"--report"_s,
                        report, u"duty-cycle.json"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    // The station format's own example, to the digit.
    EXPECT_EQ(nlohmann::ordered_json::parse(run.out.toStdString())["duty_cycle"].dump(),
              R"({"torque_unit":"NM","station_cycle_time":"30.00","fastening_torque":"4.50",)"
              R"("prevailing_torque":false,"torque_recovery_time":"0.50","period_minutes":"4",)"
              R"("steps":2400,"motor_row":1,"motor_speed":10000,"gear_ratio":7.575,)"
              R"("peak_torque_percent":40.4122047,"peak_load_percent":33.2387695,)"
              R"("final_load_percent":31.9133682,"overload":false,"completed":true})");
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 2402); // the header, the steps, and the end of the last line
    EXPECT_EQ(lines[1],
              "1,0.100000001,0.100000001,0.100000001,8.08244107,0.0143564437,504,2598,2800");
    EXPECT_EQ(QImage(chart).size(), QSize(781, 225));
    QFile pdf(report);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QString pages = QString::fromLatin1(pdf.readAll());
    EXPECT_EQ(pages.count(QRegularExpression(u"/Type\\s*/Page[^s]"_s)), 1);
    EXPECT_TRUE(pages.contains(u"/MediaBox [0 0 595"_s)); // A4

    run = calc({u"duty-cycle.json"_s});
    EXPECT_TRUE(run.out.contains(u"Duty cycle: 4 minutes, cycle 30.00 s, torque 4.50 NM: "
                                 u"peak motor load 33.2 %, no overload"_s))
        << run.out.toStdString();
}

TEST(BatchProgram, WritesEveryNumberAlikeUnderADecimalCommaLocale) {
    QTemporaryDir dir;
    const QString trace = dir.filePath(u"trace.csv"_s);
    const QString folder = QStringLiteral(VELDRUNE_TEST_DATA "/stations");
    const QStringList stations = QDir(folder).entryList({u"*.json"_s});
    const QList<QStringList> runs = {stations,
                                     QStringList{u"--json"_s} + stations,
                                     QStringList{u"--csv"_s} + stations,
                                     {u"--rank"_s, u"duty-cycle.json"_s},
                                     {u"--trace"_s, trace, u"duty-cycle.json"_s}};
    const auto outputs = [&](const QString& locale) {
        QString all;
        for (const QStringList& arguments : runs) {
            const Outcome run = calc(arguments, folder, locale);
            all += QString::number(run.status) + run.out + run.err;
        }
        QFile file(trace);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return all + QString::fromLatin1(file.readAll());
    };
    const QString plain = outputs(u"C"_s);
    EXPECT_TRUE(plain.contains(u"peak motor load 33.2 %"_s));
    for (const char* locale : {"de_DE.UTF-8", "ru_RU.UTF-8", "el_GR.UTF-8"}) {
        const veldrune::test::CLibraryLocale exists(locale);
        ASSERT_TRUE(exists.active) << locale << " was not built";
        EXPECT_EQ(outputs(QString::fromLatin1(locale)), plain) << locale;
    }
}

TEST(BatchProgram, RankRunsEveryToolAndHeadAndPutsTheDisqualifiedLast) {
    const Outcome table = calc({u"--rank"_s, u"duty-cycle.json"_s});
    ASSERT_EQ(table.status, 0) << table.err.toStdString();
    const QStringList lines = table.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 10);
    EXPECT_TRUE(lines[0].startsWith(u"Ranking of "_s));
    EXPECT_TRUE(lines[1].contains(u"Tool"_s) && lines[1].contains(u"Peak load"_s));

    const Outcome run = calc({u"--rank"_s, u"--json"_s, u"duty-cycle.json"_s});
    const auto ranked = nlohmann::ordered_json::parse(run.out.toStdString());
    ASSERT_EQ(qsizetype(ranked.size()), lines.size() - 2);
    // The station names a head: every tool that takes heads runs with each that fits.
    std::set<std::string> heads;
    for (const auto& r : ranked) {
        if (r["tool"] == "KRV-220QT2-A")
            heads.insert(r["angle_head"].get<std::string>());
    }
    EXPECT_EQ(heads, (std::set<std::string>{"RH3", "RH4"}));

    // Each element is what the station gives with that tool and head.
    QTemporaryDir dir;
    auto station = nlohmann::ordered_json::parse(TestStation(u"duty-cycle.json"_s));
    station["tool"] = ranked[2]["tool"];
    station["angle_head"] = ranked[2]["angle_head"];
    const QString file = writeFile(dir, u"third.json"_s, QByteArray::fromStdString(station.dump()));
    EXPECT_EQ(nlohmann::ordered_json::parse(calc({u"--json"_s, file}).out.toStdString()),
              ranked[2]);
}

TEST(BatchProgram, CsvHasARowPerStationAndAColumnPerValue) {
    const Outcome run =
        calc({u"--csv"_s, u"wheel-nuts.json"_s, u"duty-cycle.json"_s, u"slow.json"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList rows = run.out.split(u"\r\n"_s, Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4);
    const QStringList header = rows[0].split(u',');
    EXPECT_EQ(header.first(), u"file"_s);
    for (const char16_t* column : {u"phases.initial.time", u"ratings.max_torque.NM", u"messages",
                                   u"duty_cycle.peak_load_percent"})
        EXPECT_TRUE(header.contains(QString::fromUtf16(column)))
            << QString::fromUtf16(column).toStdString();
    // A leading blank is quoted; a station without a duty cycle leaves its cells empty.
    EXPECT_TRUE(rows[1].startsWith(
        u"wheel-nuts.json,MVC4800,KRV-110QM1-05,RH1,1286 RPM,\" 6.430868 RPM\","_s));
    EXPECT_TRUE(rows[1].endsWith(u",,,,,"_s));
    EXPECT_TRUE(rows[2].contains(u",33.2387695,"_s));
    EXPECT_TRUE(rows[3].contains(u"FIRST TIME LIMIT OVER | SECOND TIME LIMIT OVER"_s));

    const Outcome ranked = calc({u"--rank"_s, u"--csv"_s, u"wheel-nuts.json"_s});
    EXPECT_TRUE(ranked.out.split(u"\r\n"_s)[1].startsWith(u"wheel-nuts.json,"_s));
}

TEST(BatchProgram, BadInputIsOneShortLineOnStandardErrorAndNothingElse) {
    QTemporaryDir dir;
    const QByteArray huge(5'000'000, 'A');
    const QString broken =
        writeFile(dir, u"broken.json"_s, "{\n  \"system\": \"MVC4800\"\n  \"tool\": \"x\"\n}");
    const QString overflow =
        writeFile(dir, u"overflow.json"_s, R"({"system": "MVC4800", "colour": [-1e999]})");
    const QStringList cases[] = {
        {u"wheel-nuts.json"_s, broken},
        {overflow},
        {writeFile(dir, u"tool.json"_s, R"({"system": "MVC4800", "tool": ")" + huge + "\"}")},
        {writeFile(dir, u"key.json"_s, "{\"" + huge + "\": 1}")},
        {writeFile(dir, u"unclosed.json"_s, "{\"system\": \"" + huge)},
        {u"missing.json"_s},
        {u"--catalogue"_s, dir.filePath(u"none.lst"_s), u"wheel-nuts.json"_s},
        {u"--unknown"_s, u"wheel-nuts.json"_s},
        {u"--trace"_s, dir.filePath(u"t.csv"_s), u"wheel-nuts.json"_s, u"slow.json"_s},
        {u"--rank"_s, u"wheel-nuts.json"_s, u"slow.json"_s},
        {u"--json"_s, u"--csv"_s, u"wheel-nuts.json"_s},
        {u"--report"_s, dir.filePath(u"no/such/folder.pdf"_s), u"wheel-nuts.json"_s},
        {},
    };
    for (const QStringList& arguments : cases) {
        const Outcome run = calc(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').left(200).toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.left(1000).toStdString();
        EXPECT_LT(run.err.size(), 1000) << run.err.left(1000).toStdString();
    }
    EXPECT_TRUE(calc({broken}).err.contains(u"broken.json: line 3: JSON syntax error"_s));
    EXPECT_TRUE(
        calc({overflow})
            .err.contains(u"overflow.json: key \"colour\": number overflow parsing '-1e999'"_s));
}

TEST(BatchProgram, AnotherCatalogueAndTheWorkingFoldersNmMarkerAreHeeded) {
    QTemporaryDir dir;
    const QString catalogue =
        writeFile(dir, u"tools.lst"_s, "A,B,C\n\"KRV-110QM1-05\",50,1000,20,1,0,2,0,0,0,1,0,0,0\n");
    writeFile(dir, u"NM.TXT"_s, {});
    const QString station = QStringLiteral(VELDRUNE_TEST_DATA "/stations/wheel-nuts.json");
    const Outcome run = calc({u"--json"_s, u"--catalogue"_s, catalogue, station}, dir.path());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const auto doc = nlohmann::json::parse(run.out.toStdString());
    EXPECT_EQ(doc["ratings"]["max_speed"], "643 RPM");
    EXPECT_EQ(doc["ratings"]["max_torque"].dump(), R"({"NM":"55.000"})"); // offered units only
}

} // namespace
