// The batch calculator as its users run it: exit status, standard output and error.

#include "support/qtprinters.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

Outcome calc(const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(QStringLiteral(VELDRUNE_TEST_DATA "/stations"));
    process.start(QStringLiteral(VELDRUNE_CALC_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(BatchProgram, OneStationGivesASummary) {
    const Outcome run = calc({u"wheel-nuts.json"_s});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"KRV-110QM1-05  with angle head RH1, gear ratio 1.555"_s));
    EXPECT_TRUE(run.out.contains(u"Estimated total time: 2.47 s"_s));
    EXPECT_TRUE(run.out.contains(u"Messages: none"_s));
}

TEST(BatchProgram, SeveralStationsGiveALineEachOrAJsonArray) {
    Outcome run = calc({u"wheel-nuts.json"_s, u"slow.json"_s});
    EXPECT_EQ(run.status, 0);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], u"wheel-nuts.json: KRV-110QM1-05 RH1, total 2.47 s"_s);
    EXPECT_TRUE(lines[1].contains(u"FIRST TIME LIMIT OVER; SECOND TIME LIMIT OVER"_s));

    run = calc({u"--json"_s, u"wheel-nuts.json"_s, u"revolutions.json"_s});
    const auto doc = nlohmann::json::parse(run.out.toStdString());
    ASSERT_TRUE(doc.is_array());
    EXPECT_EQ(doc[1]["tool"], "PZS-520QM4-S12");
    EXPECT_EQ(doc[1]["fastening"]["mode"], "revolutions");
    EXPECT_TRUE(doc[1]["ratings"]["gear_ratio"].is_null());
    EXPECT_FALSE(doc[1].contains("duty_cycle"));
}

TEST(BatchProgram, BadInputIsOneLineOnStandardErrorAndNothingElse) {
    QTemporaryDir dir;
    const QString broken =
        writeFile(dir, u"broken.json"_s, "{\n  \"system\": \"MVC4800\"\n  \"tool\": \"x\"\n}");
    const QStringList cases[] = {
        {u"wheel-nuts.json"_s, broken},
        {u"missing.json"_s},
        {u"--catalogue"_s, dir.filePath(u"none.lst"_s), u"wheel-nuts.json"_s},
        {u"--unknown"_s, u"wheel-nuts.json"_s},
        {},
    };
    for (const QStringList& arguments : cases) {
        const Outcome run = calc(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    }
    const Outcome run = calc({broken});
    EXPECT_TRUE(run.err.contains(u"broken.json: line 3: JSON syntax error"_s))
        << run.err.toStdString();
}

TEST(BatchProgram, AnotherCatalogueCanBeGiven) {
    QTemporaryDir dir;
    const QString catalogue =
        writeFile(dir, u"tools.lst"_s, "A,B,C\n\"KRV-110QM1-05\",50,1000,20,1,0,2,0,0,0,1,0,0,0\n");
    const Outcome run = calc({u"--json"_s, u"--catalogue"_s, catalogue, u"wheel-nuts.json"_s});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const auto doc = nlohmann::json::parse(run.out.toStdString());
    EXPECT_EQ(doc["ratings"]["max_speed"], "643 RPM");
}

TEST(BatchProgram, TheTraceHoldsItsHeaderWithoutADutyCycle) {
    QTemporaryDir dir;
    const QString trace = dir.filePath(u"trace.csv"_s);
    EXPECT_EQ(calc({u"--trace"_s, trace, u"wheel-nuts.json"_s}).status, 0);
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        file.readAll(),
        QByteArray("step,time_s,phase_s,ramp_s,torque_percent,load_percent,x,torque_y,load_y\n"));
}

} // namespace
