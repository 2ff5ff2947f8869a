#include "station/output.h"

#include "numbers/numberformat.h"
#include "station/rank.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iomanip>
#include <locale>
#include <regex>
#include <sstream>
#include <string_view>

namespace veldrune {

namespace {

using Json = nlohmann::ordered_json;

std::string str(const QString& text) {
    return text.toStdString();
}

// Whatever the user's locale: numbers without grouping and with a point.
std::ostringstream textStream() {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    return out;
}

Json significant(double value, int digits) {
    return Significant(value, digits);
}

Json dutyCycle(const StationReport::DutyCycle& d) {
    const LoadSimulation& load = d.load;
    Json json = {
        {"torque_unit", str(d.torqueUnit)},
        {"station_cycle_time", str(d.stationCycleTime)},
        {"fastening_torque", str(d.fasteningTorque)},
        {"prevailing_torque", d.prevailingTorque},
        {"torque_recovery_time", str(d.torqueRecoveryTime)},
        {"period_minutes", str(d.periodMinutes)},
        {"steps", load.simulatedSteps},
        {"motor_row", load.MotorRow},
        {"motor_speed", std::lround(load.MotorSpeed)},
        {"gear_ratio", load.GearRatio ? significant(*load.GearRatio, 7) : Json(nullptr)},
        {"peak_torque_percent", significant(load.peakTorquePercent, 9)},
        {"peak_load_percent", significant(load.peakLoadPercent, 9)},
        {"final_load_percent", significant(load.finalLoadPercent, 9)},
        {"overload", load.peakLoadPercent > 100},
        {"completed", load.completed},
    };
    if (!load.completed)
        json["stopped_at_step"] = load.stoppedAtStep;
    return json;
}

// The duty cycle in a few words: the peak load and whether it overloads the motor.
std::string loadVerdict(const LoadSimulation& load) {
    if (!load.setUp)
        return "no load computed: the chart stops in its set-up";
    if (load.completed && load.plannedSteps == 0)
        return "no load computed: the station cycle time is 0";
    std::string verdict = "peak motor load " +
                          DecimalText(load.peakLoadPercent, std::chars_format::fixed, 1) + " %, " +
                          (load.peakLoadPercent > 100 ? "OVERLOAD" : "no overload");
    if (!load.completed)
        verdict += " (the chart stops at step " + std::to_string(load.stoppedAtStep) + ")";
    return verdict;
}

Json document(const StationReport& r) {
    Json maxTorque = Json::object();
    for (const auto& [unit, caption] : r.maxTorque)
        maxTorque[str(unit)] = str(caption);
    Json fastening = {{"mode", r.boltLengthMode ? "bolt_length" : "revolutions"},
                      {"bolt_length", str(r.boltLength)},
                      {"bolt_pitch", str(r.boltPitch)},
                      {"revolutions", str(r.revolutions)}};
    Json messages = Json::array();
    for (const QString& message : r.messages)
        messages.push_back(str(message));
    Json json = {
        {"system", str(r.system)},
        {"tool", str(r.tool)},
        {"angle_head", str(r.angleHead)},
        {"ratings",
         {{"max_speed", str(r.maxSpeed)},
          {"min_speed", str(r.minSpeed)},
          {"max_torque", maxTorque},
          {"gear_ratio", r.gearRatio ? Json(str(*r.gearRatio)) : Json(nullptr)}}},
        {"fastening", fastening},
        {"phases",
         {{"initial",
           {{"time", str(r.initial.time)},
            {"speed", str(r.initial.speed)},
            {"revolutions", str(r.initial.revolutions)}}},
          {"freerun",
           {{"time", str(r.freerun.time)},
            {"speed", str(r.freerun.speed)},
            {"revolutions", str(r.freerun.revolutions)}}},
          {"tightening",
           {{"time", str(r.tightening.time)},
            {"angle", str(r.tightening.angle)},
            {"speed", str(r.tightening.speed)}}},
          {"communication_time", str(r.communicationTime)}}},
        {"total_time", str(r.totalTime)},
        {"messages", messages},
    };
    if (r.dutyCycle)
        json["duty_cycle"] = dutyCycle(*r.dutyCycle);
    if (r.rank) {
        const auto safe = r.dutyCycle ? r.dutyCycle->shortestSafeCycleTime : std::nullopt;
        json["rank"] = {{"position", r.rank->position},
                        {"verdict", str(r.rank->verdict)},
                        {"shortest_safe_cycle_time", safe ? Json(str(*safe)) : Json(nullptr)}};
    }
    return json;
}

// The values of a document by their dotted paths, in document order.
void flatten(const Json& json, const std::string& path, CsvCells& cells) {
    if (json.is_object()) {
        for (const auto& [key, value] : json.items())
            flatten(value, path.empty() ? key : path + "." + key, cells);
        return;
    }
    std::string cell;
    if (json.is_string()) {
        cell = json.get<std::string>();
    } else if (json.is_array()) {
        for (const Json& item : json)
            cell += (cell.empty() ? "" : " | ") +
                    (item.is_string() ? item.get<std::string>() : item.dump());
    } else if (!json.is_null()) {
        cell = json.dump();
    }
    cells.emplace_back(path, cell);
}

// A number as a spreadsheet reads one: a sign, digits with a point, an exponent.
bool plainNumber(const std::string& text) {
    static const std::regex Number(R"([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)");
    return std::regex_match(text, Number);
}

// A CSV field, quoted when it holds a separator, a quote, a line break or edge blanks. A text
// that a spreadsheet would run as a formula (one starting with =, +, -, @, a tab or a carriage
// return, unless it is a plain number such as "-3.00") is written after an apostrophe, which
// makes the spreadsheet show it as text.
std::string csvField(std::string text) {
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string::npos &&
        !plainNumber(text))
        text.insert(0, 1, '\'');
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

CsvCells StationCells(const StationReport& report) {
    CsvCells cells;
    flatten(document(report), "", cells);
    return cells;
}

void MergeColumns(std::vector<std::string>& columns, const CsvCells& cells) {
    auto at = columns.begin();
    for (const auto& [path, cell] : cells) {
        const auto found = std::find(columns.begin(), columns.end(), path);
        at = found != columns.end() ? found + 1 : columns.insert(at, path) + 1;
    }
}

std::string CsvHeader(const std::vector<std::string>& columns) {
    std::string csv = "file";
    for (const std::string& column : columns)
        csv += ',' + csvField(column);
    return csv + "\r\n";
}

std::string CsvRow(const QString& file, const CsvCells& cells,
                   const std::vector<std::string>& columns) {
    std::string csv = csvField(str(file));
    for (const std::string& column : columns) {
        const auto cell = std::find_if(cells.begin(), cells.end(),
                                       [&](const auto& c) { return c.first == column; });
        csv += ',';
        if (cell != cells.end())
            csv += csvField(cell->second);
    }
    return csv + "\r\n";
}

std::string StationsCsv(const QStringList& files, const std::vector<StationReport>& reports) {
    std::vector<CsvCells> rows;
    std::vector<std::string> columns;
    for (const StationReport& report : reports)
        MergeColumns(columns, rows.emplace_back(StationCells(report)));
    std::string csv = CsvHeader(columns);
    for (std::size_t r = 0; r < rows.size(); ++r)
        csv += CsvRow(files.value(qsizetype(r)), rows[r], columns);
    return csv;
}

RankRow RankCells(const StationReport& r) {
    RankRow row{r.rank ? r.rank->position : 0,
                r.tool,
                r.angleHead,
                r.totalTime,
                QStringLiteral("-"),
                QStringLiteral("-"),
                QStringLiteral("-"),
                QStringLiteral("-"),
                r.rank ? r.rank->verdict : QString(),
                r.messages.join(u"; ")};
    if (const auto& d = r.dutyCycle) {
        row.peakLoad = QString::fromStdString(
            DecimalText(d->load.peakLoadPercent, std::chars_format::fixed, 1));
        row.torque = d->fasteningTorque.trimmed();
        row.maximum = d->torqueMaximum;
        row.safeCycle = d->shortestSafeCycleTime.value_or(QStringLiteral("-"));
    }
    return row;
}

QString RankTitle(int column, const QString& unit) {
    const RankColumn& c = RankColumns[column];
    const QString title = QString::fromLatin1(c.title);
    return c.inUnit && !unit.isEmpty() ? title + QStringLiteral(" [%1]").arg(unit) : title;
}

QString RankCell(const RankRow& row, int column) {
    const QString* cells[] = {nullptr,        &row.tool,      &row.head,
                              &row.totalTime, &row.peakLoad,  &row.torque,
                              &row.maximum,   &row.safeCycle, &row.verdict};
    return column == 0 ? QString::number(row.position) : *cells[column];
}

std::string RankTable(const QString& file, const std::vector<StationReport>& ranked) {
    std::ostringstream out = textStream();
    const auto& first = ranked.empty() ? std::nullopt : ranked.front().dutyCycle;
    const QString unit = first ? first->torqueUnit : QString();
    out << "Ranking of " << ranked.size() << (ranked.size() == 1 ? " run" : " runs") << " of "
        << str(file) << '\n';
    // A column of numbers is right-aligned to its width, one of words left-aligned and two
    // blanks away from the numbers before it.
    const auto line = [&out](const auto& cell, const QString& messages) {
        std::ostringstream text = textStream();
        for (int c = 0; c < RankColumnCount; ++c) {
            const RankColumn& column = RankColumns[c];
            if (!column.numeric && c > 0 && RankColumns[c - 1].numeric)
                text << "  ";
            text << (column.numeric ? std::right : std::left) << std::setw(column.width)
                 << str(cell(c));
        }
        text << str(messages);
        std::string written = text.str();
        written.erase(written.find_last_not_of(' ') + 1);
        out << written << '\n';
    };
    line([&](int c) { return RankTitle(c, unit); }, QStringLiteral("Messages"));
    for (const StationReport& report : ranked) {
        const RankRow r = RankCells(report);
        line([&](int c) { return RankCell(r, c); }, r.messages);
    }
    return out.str();
}

std::string StationJson(const StationReport& report) {
    return document(report).dump(2) + "\n";
}

std::string StationJsonElement(const StationReport& report) {
    // As the document stands in an array: indented one step further.
    const std::string array = Json::array({document(report)}).dump(2);
    return array.substr(2, array.size() - 4);
}

std::string StationsJson(const std::vector<StationReport>& reports) {
    if (reports.empty())
        return "[]\n";
    std::string json = "[\n";
    for (std::size_t i = 0; i < reports.size(); ++i)
        json += (i ? ",\n" : "") + StationJsonElement(reports[i]);
    return json + "\n]\n";
}

std::string StationSummary(const StationReport& r) {
    std::ostringstream out = textStream();
    auto row = [&out](const char* label, const std::string& value) {
        out << std::left << std::setw(14) << label << value << '\n';
    };
    if (!r.description.isEmpty())
        row("Station", str(r.description));
    row("System", str(r.system));
    std::string tool = str(r.tool);
    if (!r.angleHead.isEmpty())
        tool += "  with angle head " + str(r.angleHead);
    if (r.gearRatio)
        tool += ", gear ratio " + str(*r.gearRatio);
    row("Tool", tool);
    row("Speed", "max " + str(r.maxSpeed.trimmed()) + ", min " + str(r.minSpeed.trimmed()));
    std::string torques;
    for (const auto& [unit, caption] : r.maxTorque)
        torques += (torques.empty() ? "" : "  ") + str(caption.trimmed()) + " " + str(unit);
    row("Max. torque", torques);
    std::vector<std::string> fastening;
    if (r.boltLengthMode && !r.boltLength.isEmpty())
        fastening.push_back("bolt length " + str(r.boltLength) + " mm");
    if (r.boltLengthMode && !r.boltPitch.isEmpty())
        fastening.push_back("pitch " + str(r.boltPitch) + " mm");
    if (!r.revolutions.isEmpty())
        fastening.push_back(str(r.revolutions) + " revolutions");
    std::string fasteningText = fastening.empty() ? "nothing entered" : fastening.front();
    for (std::size_t i = 1; i < fastening.size(); ++i)
        fasteningText += ", " + fastening[i];
    row("Fastening", fasteningText);

    out << '\n'
        << std::left << std::setw(16) << "Phase" << std::right << std::setw(10) << "Time [s]"
        << std::setw(14) << "Speed [RPM]" << std::setw(14) << "Revolutions" << '\n';
    auto phase = [&out](const char* name, const StationReport::Phase& p, const std::string& last) {
        out << std::left << std::setw(16) << name << std::right << std::setw(10) << str(p.time)
            << std::setw(14) << str(p.speed) << std::setw(14) << last << '\n';
    };
    phase("Initial", r.initial, str(r.initial.revolutions));
    phase("Free run", r.freerun, str(r.freerun.revolutions));
    phase("Tightening", r.tightening, str(r.tightening.angle) + " deg");
    out << std::left << std::setw(16) << "Communication" << std::right << std::setw(10)
        << str(r.communicationTime) << '\n';

    out << "\nEstimated total time: " << str(r.totalTime) << " s\n";
    out << "Messages: "
        << (r.messages.isEmpty() ? std::string("none") : str(r.messages.join(u"; "))) << '\n';
    if (r.dutyCycle) {
        const StationReport::DutyCycle& d = *r.dutyCycle;
        out << "Duty cycle: " << str(d.periodMinutes) << " minutes, cycle "
            << str(d.stationCycleTime) << " s, torque " << str(d.fasteningTorque) << ' '
            << str(d.torqueUnit) << ": " << loadVerdict(d.load) << '\n';
        out << "Verdict: " << str(Verdict(r)) << '\n';
    }
    return out.str();
}

std::string DutyCycleTrace(const StationReport& report) {
    std::string trace = TraceHeader;
    if (!report.dutyCycle)
        return trace;
    const auto number = [](double value) {
        return DecimalText(value, std::chars_format::general, 9) + ',';
    };
    const std::vector<LoadStep>& steps = report.dutyCycle->load.steps;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const LoadStep& s = steps[i];
        trace += std::to_string(i + 1) + ',' + number(s.time) + number(s.phase) + number(s.ramp) +
                 number(s.torquePercent) + number(s.load) + std::to_string(s.x) + ',' +
                 std::to_string(s.torqueY) + ',' + std::to_string(s.loadY) + '\n';
    }
    return trace;
}

std::string StationLine(const QString& file, const StationReport& r) {
    std::string line = str(file) + ": " + str(r.tool);
    if (!r.angleHead.isEmpty())
        line += " " + str(r.angleHead);
    line += ", total " + str(r.totalTime) + " s";
    if (r.dutyCycle)
        line += ", " + loadVerdict(r.dutyCycle->load);
    if (!r.messages.isEmpty())
        line += " (" + str(r.messages.join(u"; ")) + ")";
    return line + '\n';
}

} // namespace veldrune
