// The batch calculator as its users run it: exit status, standard output and error.

#include "numbers/textvalue.h"
#include "support/locales.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

#include <nlohmann/json.hpp>

using namespace Qt::StringLiterals;
using Json = nlohmann::ordered_json;

namespace {

const QString Stations = QStringLiteral(VELDRUNE_TEST_DATA "/stations");

struct Outcome {
    int status = -1;
    QString out;
    QString err;
    Json json() const { return Json::parse(out.toStdString()); }
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// Runs the batch calculator; with a locale, under that locale instead of the inherited one.
Outcome calc(const QStringList& arguments, const QString& folder = Stations,
             const QString& locale = {},
             const QString& program = QStringLiteral(VELDRUNE_CALC_PROGRAM)) {
    QProcess process;
    process.setWorkingDirectory(folder);
    if (!locale.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, locale);
        environment.insert(u"LOCPATH"_s, QStringLiteral(VELDRUNE_TEST_LOCALES));
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Each run's standard output holds the text given; bad input is instead one short line on
// standard error, holding the text given, and nothing on standard output. The arguments are
// split at blanks, %1 standing for a folder with bad station files.
TEST(BatchProgram, PrintsWhatTheWindowShowsOrOneShortLineAboutBadInput) {
    QTemporaryDir dir;
    const QByteArray huge(1'000'000, 'A');
    writeFile(dir, u"broken.json"_s, "{\n\"system\": \"MVC4800\"\n\"tool\": \"x\"}");
    writeFile(dir, u"tool.json"_s, R"({"system": "MVC4800", "tool": ")" + huge + "\"}");
    writeFile(dir, u"key.json"_s, "{\"" + huge + "\": 1}");
    writeFile(dir, u"unclosed.json"_s, "{\"system\": \"" + huge);
    writeFile(dir, u"large.json"_s, "{\"system\": \"" + huge + huge + "\"}");
    writeFile(dir, u"empty.csv"_s, "system,tool\r\n");
    writeFile(dir, u"unknown.csv"_s, "system,tool,colour\r\n");
    const struct {
        QString arguments;
        QString out;
        QString err = {};
    } runs[] = {
        {u"--version"_s, u"veldrune-calc " VELDRUNE_VERSION "\n"_s},
        {u"wheel-nuts.json"_s, u"KRV-110QM1-05  with angle head RH1, gear ratio 1.555\n"_s},
        {u"wheel-nuts.json"_s, u"\nEstimated total time: 2.47 s\nMessages: none\n"_s},
        {u"duty-cycle.json"_s, u"\nDuty cycle: 4 minutes, cycle 30.00 s, torque 4.50 NM: peak "
                               u"motor load 33.2 %, no overload\nVerdict: fits\n"_s},
        {u"wheel-nuts.json slow.json"_s,
         u"wheel-nuts.json: KRV-110QM1-05 RH1, total 2.47 s\nslow.json: KRV-110QM1-05, total "
         u"2400.25 s (FIRST TIME LIMIT OVER; SECOND TIME LIMIT OVER)\n"_s},
        // CSV: a column per value of the JSON document, the columns of every station.
        {u"--csv wheel-nuts.json duty-cycle.json"_s,
         u"\r\nwheel-nuts.json,MVC4800,KRV-110QM1-05,RH1,1286 RPM,\" 6.430868 RPM\",8.78,0.896,"
         u"89.6,6.48,77.6,1.555,bolt_length,20.00,1.25,16.00,1.00,100,1.67,0.72,1200,14.33,0.50,"
         u"90,30,0.25,2.47,,,,,,,,,,,,,,,,\r\nduty-cycle.json,"_s},
        {u"--csv wheel-nuts.json duty-cycle.json"_s,
         u",total_time,messages,duty_cycle.torque_unit,"_s},
        {u"--csv duty-cycle.json"_s, u",40.4122047,33.2387695,31.9133682,false,true\r\n"_s},
        {u"--csv slow.json"_s, u",2400.25,FIRST TIME LIMIT OVER | SECOND TIME LIMIT OVER\r\n"_s},
        // The tool is picked without its blanks; a typed tightening time derives the torque
        // speed, then the time it really gives.
        {u"--csv revolutions.json"_s,
         u"\r\nrevolutions.json,MVC2400,PZS-520QM4-S12,,600 RPM,\" 18 RPM\",\"   327\",\"  33.3\","
         u"\"  3330\",\"   241\",\"  2890\",,revolutions,,,12.00,0.50,100,0.83,1.12,600,11.17,0.39,"
         u"90.0,38,0.00,2.01,\r\n"_s},
        {u"--json revolutions.json"_s, u"\"gear_ratio\": null"_s},
        {u"--rank --csv wheel-nuts.json"_s,
         u",messages,rank.position,rank.verdict,rank.shortest_safe_cycle_time\r\n"_s},
        {u"wheel-nuts.json %1/broken.json"_s, {}, u"broken.json: line 3: JSON syntax error"_s},
        {u"%1/tool.json"_s, {}, u"(cut; 1000000 characters in all) is not offered for "_s},
        {u"%1/key.json"_s, {}, u"(cut; 1000000 characters in all): unknown key"_s},
        {u"%1/unclosed.json"_s, {}, u"unclosed.json: line 1: "_s},
        {u"%1/large.json"_s, {}, u"large.json: it holds 2000014 bytes, more than the 1 MiB"_s},
        {u"%1"_s, {}, u": cannot be read: it is a folder"_s},
        {u"missing.json"_s, {}, u"missing.json: cannot be read"_s},
        {u"--catalogue %1/none.lst wheel-nuts.json"_s, {}, u"none.lst: cannot be read"_s},
        {u"--unknown wheel-nuts.json"_s, {}, u"--unknown"_s},
        {u"--trace %1/t.csv wheel-nuts.json slow.json"_s, {}, u"take one station"_s},
        {u"--rank --plan wheel-nuts.json"_s, {}, u"exclude each other"_s},
        {u"--plan --torque-band 90:10 wheel-nuts.json"_s, {}, u"0 <= LOW <= HIGH"_s},
        {u"%1/empty.csv"_s, {}, u"no stations"_s},
        {u"wheel-nuts.json %1/unknown.csv"_s,
         {},
         u"unknown.csv:1: key \"colour\": unknown column"_s},
        {u"--json --csv wheel-nuts.json"_s, {}, u"exclude each other"_s},
        {u"--report %1/no/such/folder.pdf wheel-nuts.json"_s, {}, u"folder.pdf: "_s},
        {{}, {}, u"stations is required"_s},
    };
    for (const auto& [arguments, out, err] : runs) {
        SCOPED_TRACE(arguments.toStdString());
        const Outcome run =
            calc(QString(arguments).replace(u"%1"_s, dir.path()).split(u' ', Qt::SkipEmptyParts));
        EXPECT_EQ(run.status, err.isEmpty() ? 0 : 2);
        EXPECT_TRUE(out.isEmpty() ? run.out.isEmpty() : run.out.contains(out))
            << run.out.toStdString();
        EXPECT_TRUE(err.isEmpty() ? run.err.isEmpty()
                                  : run.err.contains(err) && run.err.count(u'\n') == 1 &&
                                        run.err.size() < 1000)
            << run.err.left(1000).toStdString();
    }
}

// A line from a spreadsheet: a bad row refuses all, or with --keep-going is told on standard
// error while the others are computed, planned and reported, a page each after the summary.
TEST(BatchProgram, ALineGoesOnPastItsBadRowsAndReportsAPageAStation) {
    const QString line = QStringLiteral(VELDRUNE_TEST_DATA "/line");
    const Outcome refused = calc({u"stations-two-bad.csv"_s}, line);
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_TRUE(refused.err.startsWith(u"veldrune-calc: stations-two-bad.csv:4: key \"tool\""_s));
    const QStringList bad{u"stations-two-bad.csv:4: key \"tool\""_s,
                          u"stations-two-bad.csv:9: key \"duty_cycle.prevailing_torque\""_s};
    for (const QStringList& arguments :
         {QStringList{u"-k"_s}, {u"--keep-going"_s, u"--plan"_s, u"--json"_s}}) {
        const Outcome run = calc(arguments + QStringList{u"stations-two-bad.csv"_s}, line);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out.count(u"stations-two-bad.csv:"_s), 10) << run.out.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 2);
        for (const QString& told : bad)
            EXPECT_TRUE(run.err.contains(told)) << run.err.toStdString();
    }
    // A table the batch calculator wrote reads back as the stations it computed.
    QTemporaryDir dir;
    const QStringList files{u"duty-cycle.json"_s, u"wheel-nuts.json"_s, u"revolutions.json"_s};
    const QString table =
        writeFile(dir, u"back.csv"_s, calc(QStringList{u"--csv"_s} + files).out.toUtf8());
    EXPECT_EQ(calc({u"--json"_s, table}).out, calc(QStringList{u"--json"_s} + files).out);
    const QString pdf = dir.filePath(u"line.pdf"_s);
    const Outcome reported = calc({u"--report"_s, pdf, u"--csv"_s, u"stations-de.csv"_s}, line);
    EXPECT_EQ(reported.status, 0) << reported.err.toStdString();
    EXPECT_EQ(reported.out.count(u"\r\n"_s), 13);
    EXPECT_EQ(readFile(pdf).count("/Type /Page\n"), 13);
}

TEST(BatchProgram, ADutyCycleGivesItsLoadItsTraceAndTheChartAsTheWindowDrawsIt) {
    QTemporaryDir dir;
    const QString trace = dir.filePath(u"trace.csv"_s), chart = dir.filePath(u"chart.png"_s),
                  report = dir.filePath(u"report.pdf"_s);
    const Outcome run = calc({u"--json"_s, u"--trace"_s, trace, u"--chart"_s, chart, u"--report"_s,
                              report, u"duty-cycle.json"_s});
    EXPECT_EQ(run.err, QString());
    // The station format's own example, to the digit.
    EXPECT_EQ(run.json()["duty_cycle"].dump(),
              R"({"torque_unit":"NM","station_cycle_time":"30.00","fastening_torque":"4.50",)"
              R"("prevailing_torque":false,"torque_recovery_time":"0.50","period_minutes":"4",)"
              R"("steps":2400,"motor_row":1,"motor_speed":10000,"gear_ratio":7.575,)"
              R"("peak_torque_percent":40.4122047,"peak_load_percent":33.2387695,)"
              R"("final_load_percent":31.9133682,"overload":false,"completed":true})");
    const QList<QByteArray> lines = readFile(trace).split('\n');
    ASSERT_EQ(lines.size(), 2402); // the header, the steps, and the end of the last line
    EXPECT_EQ(lines[1],
              "1,0.100000001,0.100000001,0.100000001,8.08244107,0.0143564437,504,2598,2800");
    EXPECT_EQ(QImage(chart).size(), QSize(781, 225));
    EXPECT_TRUE(readFile(report).contains("/MediaBox [0 0 595")); // A4

    // Without a duty cycle the trace is its header alone.
    EXPECT_EQ(calc({u"--trace"_s, trace, u"wheel-nuts.json"_s}).status, 0);
    EXPECT_EQ(readFile(trace),
              "step,time_s,phase_s,ramp_s,torque_percent,load_percent,x,torque_y,load_y\n");
}

// Every number is written alike under a decimal-comma locale, and stations and ranked runs
// computed on several threads come out as one thread gives them.
TEST(BatchProgram, WritesTheSameUnderADecimalCommaLocaleAndOnSeveralThreads) {
    QTemporaryDir dir;
    const QString trace = dir.filePath(u"trace.csv"_s);
    QStringList stations = QDir(Stations).entryList({u"*.json"_s});
    stations += stations + stations;
    const QList<QStringList> runs = {stations,
                                     QStringList{u"--json"_s} + stations,
                                     QStringList{u"--csv"_s} + stations,
                                     {u"--rank"_s, u"duty-cycle.json"_s},
                                     {u"--trace"_s, trace, u"duty-cycle.json"_s}};
    const auto outputs = [&](const char* locale, const QString& jobs) {
        EXPECT_TRUE(veldrune::test::CLibraryLocale(locale).active) << locale << " was not built";
        QString all;
        for (const QStringList& arguments : runs) {
            const Outcome run =
                calc(QStringList{u"-j"_s, jobs} + arguments, Stations, QString::fromLatin1(locale));
            EXPECT_EQ(run.status, 0) << run.err.toStdString();
            all += run.out + run.err;
        }
        return all + QString::fromLatin1(readFile(trace));
    };
    const QString plain = outputs("C", u"1"_s);
    EXPECT_TRUE(plain.contains(u"peak motor load 33.2 %"_s));
    for (const char* locale : {"C", "de_DE.UTF-8", "ru_RU.UTF-8", "el_GR.UTF-8"})
        EXPECT_EQ(outputs(locale, u"3"_s), plain) << locale;
}

// Runs a station with --json in a folder, with the options given.
Json runJson(const QTemporaryDir& dir, const Json& station, const QStringList& options) {
    const QString file = writeFile(dir, u"s.json"_s, QByteArray::fromStdString(station.dump()));
    return calc(options + QStringList{u"--json"_s, file}, dir.path()).json();
}

// A ranking never recommends a tool that cannot do the job: the runs that fit come first, the
// others say why they do not, and each run is what the station gives with that tool. Another
// catalogue is read, and the working folder's NM marker leaves N·m the only unit.
TEST(BatchProgram, RankPutsTheRunsThatFitFirstAndSaysWhyTheOthersDoNot) {
    QTemporaryDir dir;
    writeFile(dir, u"NM.TXT"_s, {});
    const QStringList catalogue{u"--catalogue"_s,
                                writeFile(dir, u"tools.lst"_s, R"("TOOLS","1","SHORT"
"KRV-100QM1",50,2000,10,2,0,3,0,1,0,2,0,1,0
"KRV-200QX1",50,2000,10,2,0,3,0,1,0,2,0,1,0
"KRV-300QM1",5,2000,10,2,0,3,0,1,0,2,0,1,0
"KRV-400QM1",50,20000,10,2,0,3,0,1,0,2,0,1,0
"KRV-500QM1",50,20,1,2,0,3,0,1,0,2,0,1,0
"KRV-600QM1",50,4000,10,2,0,3,0,1,0,2,0,1,0
)")};
    Json station = Json::parse(R"({"system": "MVC4800", "tool": "KRV-100QM1",
        "fastening": {"revolutions": 400}, "freerun_speed": 20000, "duty_cycle":
        {"station_cycle_time": 30, "fastening_torque": 10, "period_minutes": 2}})");
    QStringList order;
    for (Json ranked : runJson(dir, station, catalogue + QStringList{u"--rank"_s})) {
        order.append(QString::fromStdString(ranked["tool"].get<std::string>() + ": " +
                                            ranked["rank"]["verdict"].get<std::string>()));
        EXPECT_EQ(ranked["ratings"]["max_torque"].size(), 1u);
        station["tool"] = ranked["tool"];
        ranked.erase("rank");
        EXPECT_EQ(runJson(dir, station, catalogue), ranked);
    }
    EXPECT_EQ(order, (QStringList{u"KRV-100QM1: fits"_s,              // 13.70 s
                                  u"KRV-400QM1: load not computed"_s, // 2.94 s, off the chart
                                  u"KRV-600QM1: overload"_s,          // 7.72 s
                                  u"KRV-200QX1: load not computed"_s, // no motor data
                                  u"KRV-300QM1: torque above the tool's maximum"_s,
                                  u"KRV-500QM1: cycle shorter than the fastening"_s})); // 1201.01 s
}

// At 60 N·m on the shipped catalogue only the tools of 60 N·m or more fit; the shortest safe
// cycle time of a run is the last before its load passes 100 %, 0.1 s shorter.
TEST(BatchProgram, RankAtSixtyNewtonMetresFindsTheStrongToolsAndTheirShortestSafeCycle) {
    const auto number = [](const Json& text) {
        return veldrune::TextValue(QString::fromStdString(text.get<std::string>()));
    };
    Json station = Json::parse(readFile(Stations + u"/duty-cycle.json"_s));
    station["duty_cycle"]["fastening_torque"] = 60;
    QTemporaryDir dir;
    int searched = 0;
    for (const Json& ranked : runJson(dir, station, {u"--rank"_s})) {
        EXPECT_EQ(ranked["rank"]["verdict"] == "fits",
                  number(ranked["ratings"]["max_torque"]["NM"]) >= 60)
            << ranked["tool"];
        const Json safe = ranked["rank"]["shortest_safe_cycle_time"];
        if (safe.is_null() || number(safe) - 0.1 < number(ranked["total_time"]) || safe == "30.00")
            continue; // not cut short by an overload
        ++searched;
        Json one = station;
        one["tool"] = ranked["tool"];
        one["angle_head"] = ranked["angle_head"];
        one["duty_cycle"]["station_cycle_time"] = safe;
        EXPECT_FALSE(runJson(dir, one, {})["duty_cycle"]["overload"].get<bool>()) << one.dump();
        one["duty_cycle"]["station_cycle_time"] = number(safe) - 0.1;
        const Json shorter = runJson(dir, one, {})["duty_cycle"];
        EXPECT_TRUE(shorter["overload"].get<bool>() || !shorter["completed"].get<bool>())
            << one.dump();
    }
    EXPECT_GT(searched, 0);
}

// Output that cannot be written (a full disk, a folder that cannot be written) is a failure
// with its reason, not silence.
TEST(BatchProgram, AnOutputThatCannotBeWrittenFails) {
    const QString missing = u"/nonexistent/out"_s;
    const std::tuple<const char*, QStringList, QString> rows[] = {
        {"StandardOutputFull", {u"--json"_s, u"wheel-nuts.json"_s}, {}},
        {"NoTemporaryFile", {u"wheel-nuts.json"_s, u"slow.json"_s}, u"a temporary file"_s},
        {"Report", {u"--report"_s, missing, u"wheel-nuts.json"_s}, u"--report "_s + missing},
        {"Chart", {u"--chart"_s, missing, u"duty-cycle.json"_s}, u"--chart "_s + missing},
        {"Trace", {u"--trace"_s, missing, u"duty-cycle.json"_s}, u"--trace "_s + missing}};
    for (const auto& [name, arguments, reason] : rows) {
        QProcess process;
        process.setWorkingDirectory(Stations);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TMPDIR"_s, u"/sys"_s); // no file can be made there, even by root
        process.setProcessEnvironment(environment);
        if (reason.isEmpty())
            process.setStandardOutputFile(u"/dev/full"_s);
        process.start(QStringLiteral(VELDRUNE_CALC_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 2) << name;
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains(reason)) << name;
    }
}

// A caption file whose key 0 asks for the language font, beside a copy of the program, is
// read as the window reads it: the fonts it looks at need no screen.
TEST(BatchProgram, ACaptionFileAskingForTheLanguageFontIsReadAsTheWindowReadsIt) {
    QTemporaryDir dir;
    const QString program = dir.filePath(u"veldrune-calc"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELDRUNE_CALC_PROGRAM), program));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELDRUNE_SHIPPED_DATA "/TOOLINFO.LST"),
                            dir.filePath(u"TOOLINFO.LST"_s)));
    writeFile(dir, u"VELDRUNE.TXT"_s, "0\tLANGUAGE FONT\n");
    const Outcome run = calc({u"wheel-nuts.json"_s}, Stations, {}, program);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"Estimated total time: 2.47 s"_s));
}

} // namespace
