#include "station/runner.h"

#include "app/veldrune.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "report/printreport.h"

#include "platform/recordingplatform.h"
#include "platform/text.h"
#include "window/useractions.h"
#include <QPdfWriter>

namespace veldrune {

namespace {

struct Failure {
    StationError error;
};

[[noreturn]] void fail(const QString& key, const QString& message) {
    throw Failure{{key, message}};
}

QString choices(const QStringList& entries) {
    QStringList names;
    for (const QString& entry : entries) {
        if (!entry.trimmed().isEmpty())
            names.append(entry.trimmed());
    }
    return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

// Applies one station to a freshly started program.
class Application {
public:
    Application(Form1& form, const QStringList& messages)
        : m_form(form)
        , m_messages(messages) {}

    // The tools of the system and the heads of each, trimmed, each tool once.
    std::vector<ToolChoice> offeredTools(const QString& system) {
        pickSystem(system);
        std::vector<ToolChoice> choices;
        QStringList seen;
        const QStringList tools = m_form.TOOLLIST.entries().mid(1); // entry 0 is the prompt
        for (int i = 0; i < tools.size(); ++i) {
            const QString tool = tools[i].trimmed();
            if (tool.isEmpty() || seen.contains(tool))
                continue;
            seen.append(tool);
            m_form.pick(m_form.TOOLLIST, i + 1);
            ToolChoice choice{tool, {}};
            if (m_form.ANGLE.visible()) {
                for (const QString& head : m_form.ANGLE.entries()) {
                    if (!head.trimmed().isEmpty())
                        choice.angleHeads.append(head.trimmed());
                }
            }
            choices.push_back(choice);
        }
        return choices;
    }

    void apply(const Station& station) {
        if (station.description)
            m_form.typeText(m_form.Text5, *station.description);
        if (!station.system.isEmpty())
            applyPlain(station);
        for (std::size_t i = 0; i < station.session.size(); ++i) {
            if (const auto refusal = ReplayStep(m_form, station.session[i]))
                fail(QStringLiteral("session[%1]").arg(i + 1), *refusal);
        }
    }

private:
    void applyPlain(const Station& station) {
        pickSystem(station.system);
        pickTool(station.tool);
        if (!station.angleHead.isEmpty())
            pickAngleHead(station.angleHead);
        switch (station.fastening) {
        case Station::Fastening::Revolutions:
            m_form.click(m_form.Option1(1));
            typeAndLeave(m_form.Text3, station.revolutions);
            break;
        case Station::Fastening::BoltData:
            typeAndLeave(m_form.Text1, station.boltLength);
            typeAndLeave(m_form.Text2, station.boltPitch);
            break;
        case Station::Fastening::Untouched:
            break;
        }
        typeAndLeave(m_form.Text4(0), station.initialTime);
        typeAndLeave(m_form.Text4(1), station.initialSpeed);
        typeAndLeave(m_form.Text4(3), station.freerunSpeed);
        typeAndLeave(m_form.Text4(2), station.freerunTime);
        typeAndLeave(m_form.Text4(5), station.tighteningAngle);
        typeAndLeave(m_form.Text4(6), station.torqueSpeed);
        typeAndLeave(m_form.Text4(4), station.tighteningTime);
        typeAndLeave(m_form.Text4(7), station.communicationTime);
        if (station.dutyCycle)
            applyDutyCycle(*station.dutyCycle);
    }

    void pickSystem(const QString& system) {
        if (!PickEntry(m_form, m_form.SYSTEM, system))
            fail(QStringLiteral("system"),
                 QStringLiteral("%1 is not a controller system; choose %2")
                     .arg(Excerpt(system), choices(m_form.SYSTEM.entries())));
    }

    void pickTool(const QString& tool) {
        // Entry 0 is the prompt, not a tool.
        if (PickEntry(m_form, m_form.TOOLLIST, tool, 1))
            return;
        QString offered = choices(m_form.TOOLLIST.entries().mid(1));
        if (m_form.TOOLLIST.listCount() <= 1 && !m_messages.isEmpty())
            offered += QStringLiteral(" (%1)").arg(m_messages.join(QStringLiteral("; ")));
        fail(QStringLiteral("tool"), QStringLiteral("%1 is not offered for %2; offered: %3")
                                         .arg(Excerpt(tool), m_form.SYSTEM.text(), offered));
    }

    void pickAngleHead(const QString& head) {
        if (!m_form.ANGLE.visible())
            fail(QStringLiteral("angle_head"),
                 QStringLiteral("%1 has no angle heads").arg(m_form.SYSTEM.text()));
        if (!PickEntry(m_form, m_form.ANGLE, head))
            fail(QStringLiteral("angle_head"),
                 QStringLiteral("%1 does not fit %2; heads that fit: %3")
                     .arg(Excerpt(head), m_form.TOOLLIST.text().trimmed(),
                          choices(m_form.ANGLE.entries())));
    }

    void applyDutyCycle(const Station::DutyCycle& duty) {
        if (!m_form.Command1(3).enabled())
            fail(QStringLiteral("duty_cycle"),
                 QStringLiteral("%1 has no duty-cycle calculation (LOAD CALCULATION is disabled)")
                     .arg(m_form.SYSTEM.text()));
        m_form.click(m_form.Command1(3));
        if (!PickEntry(m_form, m_form.TQUNIT, duty.torqueUnit))
            fail(QStringLiteral("duty_cycle.torque_unit"),
                 QStringLiteral("%1 is not offered; units: %2")
                     .arg(Excerpt(duty.torqueUnit), choices(m_form.TQUNIT.entries())));
        typeAndLeave(m_form.Text4(8), duty.stationCycleTime);
        typeAndLeave(m_form.Text4(9), duty.fasteningTorque);
        if (duty.prevailingTorque)
            m_form.click(m_form.PREVILING);
        typeAndLeave(m_form.Text4(10), duty.torqueRecoveryTime);
        if (!PickEntry(m_form, m_form.DURR, duty.periodMinutes))
            fail(QStringLiteral("duty_cycle.period_minutes"),
                 QStringLiteral("must be %1, not %2")
                     .arg(choices(m_form.DURR.entries()), Excerpt(duty.periodMinutes)));
    }

    void typeAndLeave(Control& field, const std::optional<QString>& text) {
        if (text)
            TypeAndLeave(m_form, field, *text);
    }

    Form1& m_form;
    const QStringList& m_messages; // shown so far, such as a missing catalogue
};

// From the station's own cycle time down to the cycle's estimated total time, 0.1 s at a
// time, each typed as the window would show it ("29.90"): the last cycle time before the
// first at which the motor overloads or the load cannot be computed. The load does not fall
// steadily with the cycle time (the steps of the simulation make it jump), so every one is
// tried. Typing the cycle time changes nothing else the simulation reads.
QString shortestSafeCycleTime(Veldrune& program) {
    const Form1& f = program.form();
    DutyCycleInputs inputs = ReadDutyCycleInputs(f);
    const auto hundredths = [](const QString& text) { return std::llround(TextValue(text) * 100); };
    const long long own = hundredths(f.Text4(8).text());
    const long long total = std::max(hundredths(f.TOTAL.text()), 1LL);
    long long safe = own;
    for (long long cycle = own - 10; cycle >= total; cycle -= 10) {
        inputs.cycleTime = TextValue(FormatFixed(double(cycle) / 100, 2));
        const LoadSimulation load = SimulateLoad(inputs, program.catalogue(), false);
        if (!load.completed || load.peakLoadPercent > 100)
            break;
        safe = cycle;
    }
    return FormatFixed(double(safe) / 100, 2);
}

StationReport report(Veldrune& program, const Station& station, const QStringList& messages,
                     const RunOptions& options) {
    Form1& f = program.form();
    StationReport r;
    r.description = f.Text5.text();
    r.system = f.SYSTEM.text();
    r.tool = f.TOOLLIST.text().trimmed();
    r.angleHead = f.ANGLE.visible() ? f.ANGLE.text().trimmed() : QString();
    r.maxSpeed = f.Label3(0).text();
    r.minSpeed = f.Label3(1).text();
    for (int u = 0; u < f.TQUNIT.listCount(); ++u)
        r.maxTorque.emplace_back(f.TQUNIT.entry(u), f.Label4(u).text());
    if (program.selection().HeadRatio != 1.0f)
        r.gearRatio = f.Label17.text();
    r.boltLengthMode = f.Option1(0).value();
    r.boltLength = f.Text1.text();
    r.boltPitch = f.Text2.text();
    r.revolutions = f.Text3.text();
    r.initial = {f.Text4(0).text(), f.Text4(1).text(), f.Label12(0).text(), {}};
    r.freerun = {f.Text4(2).text(), f.Text4(3).text(), f.Label12(1).text(), {}};
    r.tightening = {f.Text4(4).text(), f.Text4(6).text(), {}, f.Text4(5).text()};
    r.communicationTime = f.Text4(7).text();
    r.totalTime = f.TOTAL.text();
    for (const QString& message : messages) {
        if (!r.messages.contains(message))
            r.messages.append(message);
    }
    if (program.flags().LoadSectionShown) {
        StationReport::DutyCycle& d = r.dutyCycle.emplace();
        d.torqueUnit = f.TQUNIT.text();
        d.stationCycleTime = f.Text4(8).text();
        d.fasteningTorque = f.Text4(9).text();
        d.prevailingTorque = f.PREVILING.value();
        d.torqueRecoveryTime = f.Text4(10).text();
        d.periodMinutes = f.DURR.text();
        d.load = SimulateLoad(ReadDutyCycleInputs(f), program.catalogue(), options.steps);
        for (int u = 0; u < UnitCount; ++u) {
            if (f.TQUNIT.text() == UnitNames[u])
                d.torqueMaximum = f.Label4(u).text().trimmed();
        }
        const QString asked =
            station.dutyCycle ? station.dutyCycle->fasteningTorque.value_or(QString()) : QString();
        d.torqueAboveMaximum =
            !d.torqueMaximum.isEmpty() && TextValue(asked) > TextValue(d.torqueMaximum);
        if (options.safeCycle && !d.torqueAboveMaximum && r.messages.isEmpty() &&
            d.load.completed && d.load.peakLoadPercent <= 100)
            d.shortestSafeCycleTime = shortestSafeCycleTime(program);
    }
    r.chart = f.Picture2.picture();
    return r;
}

} // namespace

QString WriteReport(Veldrune& program, const QString& file) {
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(600);
    writer.setTitle(QStringLiteral("FASTENING CYCLE TIME CALCULATION"));
    writer.setCreator(QStringLiteral("VELDRUNE"));
    return PrintPage(writer, program.reportContext(false));
}

namespace {} // namespace

void StartProgram(Veldrune& program, RecordingPlatform& platform, const RunOptions& options) {
    program.form().setKeepsPictures(options.chart);
    if (options.like) {
        for (const QString& message : options.likeMessages)
            platform.showMessage(message, MessageIcon::Critical, ProgramTitle);
        program.startLike(*options.like);
        return;
    }
    if (!options.catalogueFile.isEmpty())
        program.setCatalogueFile(options.catalogueFile);
    program.startUp({});
}

std::variant<std::vector<ToolChoice>, StationError>
OfferedTools(const QString& system, RecordingPlatform& platform, const RunOptions& options) {
    Veldrune program(platform);
    StartProgram(program, platform, options);
    try {
        return Application(program.form(), platform.messages()).offeredTools(system);
    } catch (const Failure& failure) {
        return failure.error;
    }
}

std::optional<StationError> ApplyStation(Veldrune& program, const Station& station,
                                         const QStringList& messagesSoFar) {
    try {
        Application(program.form(), messagesSoFar).apply(station);
    } catch (const Failure& failure) {
        return failure.error;
    }
    return std::nullopt;
}

std::variant<StationReport, StationError>
RunStation(const Station& station, RecordingPlatform& platform, const RunOptions& options) {
    Veldrune program(platform);
    StartProgram(program, platform, options);
    if (auto refusal = ApplyStation(program, station, platform.messages()))
        return *refusal;
    StationReport r = report(program, station, platform.messages(), options);
    if (!options.report.isEmpty())
        r.reportFailure = WriteReport(program, options.report);
    return r;
}

} // namespace veldrune
