#include "station/apply.h"

#include "app/veldrune.h"
#include "input/entryfields.h"
#include "platform/text.h"
#include "station/session.h"
#include "window/useractions.h"

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

// The chart is drawn once, when the station has been applied: while it is applied the window
// keeps no pictures, and a period picked or UPDATE CALCULATION pressed draws nothing.
class PicturesHeld {
public:
    explicit PicturesHeld(Form1& form)
        : m_form(form)
        , m_keeps(form.keepsPictures()) {
        form.setKeepsPictures(false);
    }
    ~PicturesHeld() { m_form.setKeepsPictures(m_keeps); }
    PicturesHeld(const PicturesHeld&) = delete;
    PicturesHeld& operator=(const PicturesHeld&) = delete;

private:
    Form1& m_form;
    bool m_keeps;
};

// Applies one station to a freshly started program.
class Application {
public:
    Application(Veldrune& program, const QStringList& messages)
        : m_program(program)
        , m_form(program.form())
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
        {
            PicturesHeld held(m_form);
            if (station.description)
                m_form.typeText(m_form.Text5, *station.description);
            if (!station.system.isEmpty())
                applyPlain(station);
            for (std::size_t i = 0; i < station.session.size(); ++i) {
                if (const auto refusal = ReplayStep(m_form, station.session[i]))
                    fail(QStringLiteral("session[%1]").arg(i + 1), *refusal);
            }
            if (NoToolChosen(m_form))
                fail(QStringLiteral("session"), QStringLiteral("ends with no tool chosen"));
        }
        if (m_program.flags().LoadSectionShown)
            m_form.click(m_form.Command1(0)); // UPDATE CALCULATION draws the chart
    }

private:
    void applyPlain(const Station& station) {
        if (station.format >= 2)
            applyAsShown(station);
        else
            applyValues(station);
    }

    // Version 1 gives values: the picks, the fastening, the phases, then the duty cycle, whose
    // torque the window formats for the tool and cuts to its maximum, then the layout.
    void applyValues(const Station& station) {
        applyPicks(station);
        applyFastening(station);
        applyPhases(station);
        if (station.dutyCycle) {
            if (!m_program.flags().LoadSectionShown)
                pressLoadCalculation(QStringLiteral("duty_cycle"));
            pickUnit(station.dutyCycle->torqueUnit);
            applyDutyCycleFields(*station.dutyCycle);
        }
        setLayout(station.tallLayout.value_or(station.dutyCycle.has_value()));
    }

    // Version 2 holds the window's texts as it showed them. The duty-cycle section is filled
    // first, on the window as it starts: its system offers LOAD CALCULATION, so the section
    // shows for a system without the calculation too, and with no tool chosen the window keeps
    // a torque as it stands (formatted for the tool it was typed with, or cut to that tool's
    // maximum). Picking a system puts the unit list back to its first entry, so the unit is
    // picked after the system, still before the tool.
    void applyAsShown(const Station& station) {
        const bool tall = station.tallLayout.value_or(station.dutyCycle.has_value());
        const auto& duty = station.dutyCycle;
        if (tall || duty)
            setLayout(true);
        if (duty)
            applyDutyCycleFields(*duty);
        const bool firstUnit = !duty || duty->torqueUnit.trimmed() == m_form.TQUNIT.entry(0);
        if (firstUnit)
            setLayout(tall);
        pickSystem(station.system);
        if (duty)
            pickUnit(duty->torqueUnit);
        applyPicks(station, false);
        applyFastening(station);
        applyPhases(station);
        setLayout(tall);
    }

    void applyPicks(const Station& station, bool system = true) {
        if (system)
            pickSystem(station.system);
        pickTool(station.tool, station.toolOccurrence);
        if (!station.angleHead.isEmpty())
            pickAngleHead(station.angleHead);
    }

    void applyPhases(const Station& station) {
        typeAndLeave(m_form.Text4(0), station.initialTime);
        typeAndLeave(m_form.Text4(1), station.initialSpeed);
        typeAndLeave(m_form.Text4(3), station.freerunSpeed);
        typeAndLeave(m_form.Text4(2), station.freerunTime);
        typeAndLeave(m_form.Text4(5), station.tighteningAngle);
        typeAndLeave(m_form.Text4(6), station.torqueSpeed);
        typeAndLeave(m_form.Text4(4), station.tighteningTime);
        typeAndLeave(m_form.Text4(7), station.communicationTime);
    }

    void setLayout(bool tall) {
        if (tall != m_program.flags().LoadSectionShown)
            pressLoadCalculation(QStringLiteral("layout"));
    }

    // The bolt data are typed in the bolt-length option, which the window starts in. Revolutions
    // other than the bolt data give are typed in the revolutions option; then the option chosen.
    void applyFastening(const Station& station) {
        typeAndLeave(m_form.Text1, station.boltLength);
        typeAndLeave(m_form.Text2, station.boltPitch);
        const bool revolutionsMode = station.fastening == Station::Fastening::Revolutions;
        if (revolutionsMode ||
            (station.revolutions && *station.revolutions != m_form.Text3.text())) {
            m_form.click(m_form.Option1(1));
            typeAndLeave(m_form.Text3, station.revolutions);
        }
        if (!revolutionsMode && m_form.Option1(1).value())
            m_form.click(m_form.Option1(0));
    }

    // Makes the list's `occurrence`-th entry from `first` on whose text is `text`, surrounding
    // blanks not counting, its current entry, unless it is already. False when there is none.
    bool pick(Control& list, const QString& text, int first = 0, int occurrence = 1) {
        const QString wanted = text.trimmed();
        for (int i = first; i < list.listCount(); ++i) {
            if (list.entry(i).trimmed() == wanted && --occurrence == 0) {
                if (list.listIndex() != i)
                    m_form.pick(list, i);
                return true;
            }
        }
        return false;
    }

    void pickSystem(const QString& system) {
        if (!pick(m_form.SYSTEM, system))
            fail(QStringLiteral("system"),
                 QStringLiteral("%1 is not a controller system; choose %2")
                     .arg(Excerpt(system), choices(m_form.SYSTEM.entries())));
    }

    void pickTool(const QString& tool, int occurrence) {
        // Entry 0 is the prompt, not a tool.
        if (pick(m_form.TOOLLIST, tool, 1, occurrence))
            return;
        if (occurrence > 1 && pick(m_form.TOOLLIST, tool, 1))
            fail(QStringLiteral("tool_occurrence"),
                 QStringLiteral("%1 is offered fewer than %2 times")
                     .arg(Excerpt(tool))
                     .arg(occurrence));
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
        if (!pick(m_form.ANGLE, head))
            fail(QStringLiteral("angle_head"),
                 QStringLiteral("%1 does not fit %2; heads that fit: %3")
                     .arg(Excerpt(head), m_form.TOOLLIST.text().trimmed(),
                          choices(m_form.ANGLE.entries())));
    }

    void pressLoadCalculation(const QString& key) {
        if (!m_form.Command1(3).enabled())
            fail(key,
                 QStringLiteral("%1 has no duty-cycle calculation (LOAD CALCULATION is disabled)")
                     .arg(m_form.SYSTEM.text()));
        m_form.click(m_form.Command1(3));
    }

    void pickUnit(const QString& unit) {
        if (!pick(m_form.TQUNIT, unit))
            fail(QStringLiteral("duty_cycle.torque_unit"),
                 QStringLiteral("%1 is not offered; units: %2")
                     .arg(Excerpt(unit), choices(m_form.TQUNIT.entries())));
    }

    void applyDutyCycleFields(const Station::DutyCycle& duty) {
        typeAndLeave(m_form.Text4(8), duty.stationCycleTime);
        typeAndLeave(m_form.Text4(9), duty.fasteningTorque);
        if (duty.prevailingTorque != m_form.PREVILING.value())
            m_form.click(m_form.PREVILING);
        typeAndLeave(m_form.Text4(10), duty.torqueRecoveryTime);
        if (!pick(m_form.DURR, duty.periodMinutes))
            fail(QStringLiteral("duty_cycle.period_minutes"),
                 QStringLiteral("must be %1, not %2")
                     .arg(choices(m_form.DURR.entries()), Excerpt(duty.periodMinutes)));
    }

    void typeAndLeave(Control& field, const std::optional<QString>& text) {
        if (text && *text != field.text())
            TypeAndLeave(m_form, field, *text);
    }

    Veldrune& m_program;
    Form1& m_form;
    const QStringList& m_messages; // shown so far, such as a missing catalogue
};

} // namespace

std::optional<StationError> ApplyStation(Veldrune& program, const Station& station,
                                         const QStringList& messagesSoFar) {
    try {
        Application(program, messagesSoFar).apply(station);
    } catch (const Failure& failure) {
        return failure.error;
    }
    return std::nullopt;
}

std::variant<std::vector<ToolChoice>, StationError>
ToolsOffered(Veldrune& program, const QString& system, const QStringList& messagesSoFar) {
    try {
        return Application(program, messagesSoFar).offeredTools(system);
    } catch (const Failure& failure) {
        return failure.error;
    }
}

} // namespace veldrune
