#include "station/stationtable.h"

#include "platform/ansitext.h"
#include "platform/platform.h"
#include "platform/text.h"

#include <QRegularExpression>
#include <QStringList>

#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <set>

namespace veldrune {

namespace {

using Json = nlohmann::json;

// What a column of the table is to the station it describes.
enum class Column {
    Text,    // a JSON string: a name picked from a list, or a description
    Value,   // a value typed into a field, where a decimal comma may stand for the point
    Integer, // a whole number
    Boolean, // true or false
    Result,  // what the batch calculator computed, not part of a station: ignored
};

// The station key a column names. The batch calculator's CSV output names the phase fields the
// user types by where they show ("phases.initial.time"): typing each as it shows gives the
// window it came from, so that a table the output wrote reads back as it was computed.
QString stationKey(const QString& name) {
    static const std::map<QString, QString> Shown = {
        {QStringLiteral("phases.initial.time"), QStringLiteral("initial_time")},
        {QStringLiteral("phases.initial.speed"), QStringLiteral("initial_speed")},
        {QStringLiteral("phases.freerun.speed"), QStringLiteral("freerun_speed")},
        {QStringLiteral("phases.tightening.angle"), QStringLiteral("tightening_angle")},
        {QStringLiteral("phases.tightening.speed"), QStringLiteral("torque_speed")},
        {QStringLiteral("phases.communication_time"), QStringLiteral("communication_time")},
    };
    const auto found = Shown.find(name);
    return found == Shown.end() ? name : found->second;
}

std::optional<Column> columnKind(const QString& name) {
    static const std::map<QString, Column> Keys = {
        {QStringLiteral("description"), Column::Text},
        {QStringLiteral("system"), Column::Text},
        {QStringLiteral("tool"), Column::Text},
        {QStringLiteral("angle_head"), Column::Text},
        {QStringLiteral("layout"), Column::Text},
        {QStringLiteral("format"), Column::Integer},
        {QStringLiteral("tool_occurrence"), Column::Integer},
        {QStringLiteral("fastening.mode"), Column::Text},
        {QStringLiteral("fastening.bolt_length"), Column::Value},
        {QStringLiteral("fastening.bolt_pitch"), Column::Value},
        {QStringLiteral("fastening.revolutions"), Column::Value},
        {QStringLiteral("initial_time"), Column::Value},
        {QStringLiteral("initial_speed"), Column::Value},
        {QStringLiteral("freerun_time"), Column::Value},
        {QStringLiteral("freerun_speed"), Column::Value},
        {QStringLiteral("tightening_angle"), Column::Value},
        {QStringLiteral("tightening_time"), Column::Value},
        {QStringLiteral("torque_speed"), Column::Value},
        {QStringLiteral("communication_time"), Column::Value},
        {QStringLiteral("duty_cycle.torque_unit"), Column::Text},
        {QStringLiteral("duty_cycle.station_cycle_time"), Column::Value},
        {QStringLiteral("duty_cycle.fastening_torque"), Column::Value},
        {QStringLiteral("duty_cycle.prevailing_torque"), Column::Boolean},
        {QStringLiteral("duty_cycle.torque_recovery_time"), Column::Value},
        {QStringLiteral("duty_cycle.period_minutes"), Column::Value},
        // The batch calculator's results.
        {QStringLiteral("file"), Column::Result},
        {QStringLiteral("total_time"), Column::Result},
        {QStringLiteral("messages"), Column::Result},
        {QStringLiteral("duty_cycle.steps"), Column::Result},
        {QStringLiteral("duty_cycle.motor_row"), Column::Result},
        {QStringLiteral("duty_cycle.motor_speed"), Column::Result},
        {QStringLiteral("duty_cycle.gear_ratio"), Column::Result},
        {QStringLiteral("duty_cycle.peak_torque_percent"), Column::Result},
        {QStringLiteral("duty_cycle.peak_load_percent"), Column::Result},
        {QStringLiteral("duty_cycle.final_load_percent"), Column::Result},
        {QStringLiteral("duty_cycle.overload"), Column::Result},
        {QStringLiteral("duty_cycle.completed"), Column::Result},
        {QStringLiteral("duty_cycle.stopped_at_step"), Column::Result},
        {QStringLiteral("duty_cycle.shortest_safe_cycle_time"), Column::Result},
    };
    if (const auto found = Keys.find(name); found != Keys.end())
        return found->second;
    if (stationKey(name) != name)
        return Column::Value;
    for (const char* prefix : {"ratings.", "phases.", "rank."}) {
        if (name.startsWith(QLatin1String(prefix)))
            return Column::Result;
    }
    return std::nullopt;
}

struct Failure {
    TableError error;
};

// The rows of a CSV text, each with the line it starts on. Quoted cells may hold separators,
// doubled quotes and line breaks; a line break is CR LF, LF or CR.
class CsvRows {
public:
    CsvRows(const QString& text, QChar separator)
        : m_text(text)
        , m_separator(separator) {}

    bool atEnd() const { return m_at >= m_text.size(); }
    int line() const { return m_line; }

    QStringList next() {
        QStringList cells;
        const int start = m_line;
        for (;;) {
            QString cell;
            if (m_at < m_text.size() && m_text[m_at] == u'"')
                readQuoted(cell, start);
            while (m_at < m_text.size() && m_text[m_at] != m_separator && !lineBreak())
                cell += m_text[m_at++];
            cells.append(cell);
            if (m_at < m_text.size() && m_text[m_at] == m_separator) {
                ++m_at;
                continue;
            }
            skipLineBreak();
            return cells;
        }
    }

private:
    bool lineBreak() const { return m_text[m_at] == u'\n' || m_text[m_at] == u'\r'; }

    void skipLineBreak() {
        if (m_at >= m_text.size())
            return;
        if (m_text[m_at] == u'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == u'\n')
            ++m_at;
        ++m_at;
        ++m_line;
    }

    void readQuoted(QString& cell, int start) {
        ++m_at;
        for (;;) {
            if (m_at >= m_text.size())
                throw Failure{{start, {{}, QStringLiteral("a quoted cell is not closed")}}};
            if (m_text[m_at] == u'"') {
                if (m_at + 1 < m_text.size() && m_text[m_at + 1] == u'"') {
                    cell += u'"';
                    m_at += 2;
                    continue;
                }
                ++m_at;
                return;
            }
            if (m_text[m_at] == u'\n' ||
                (m_text[m_at] == u'\r' && (m_at + 1 >= m_text.size() || m_text[m_at + 1] != u'\n')))
                ++m_line;
            cell += m_text[m_at++];
        }
    }

    const QString& m_text;
    QChar m_separator;
    qsizetype m_at = 0;
    int m_line = 1;
};

// The separator the header line uses: a semicolon where it has more of them than commas.
QChar separatorOf(const QString& text) {
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
    }
    return semicolons > commas ? u';' : u',';
}

// A cell of a value column as the station types it: a number written with a decimal comma,
// as spreadsheets write it where the comma is the decimal separator, is typed with a point;
// any other text exactly as it stands.
QString typedValue(const QString& cell, bool decimalComma) {
    static const QRegularExpression Number(
        QStringLiteral("^\\s*[-+]?[0-9]*,[0-9]+([eE][-+]?[0-9]+)?\\s*$"));
    if (decimalComma && Number.match(cell).hasMatch())
        return QString(cell).replace(u',', u'.');
    return cell;
}

Json cellValue(Column kind, const QString& cell, bool decimalComma) {
    const QString trimmed = cell.trimmed();
    switch (kind) {
    case Column::Integer: {
        bool ok = false;
        const qlonglong number = trimmed.toLongLong(&ok);
        return ok ? Json(number) : Json(cell.toStdString());
    }
    case Column::Boolean: {
        // As spreadsheets write truth values, in English and German.
        const QString word = trimmed.toLower();
        if (word == QLatin1String("true") || word == QLatin1String("wahr") ||
            word == QLatin1String("1"))
            return true;
        if (word == QLatin1String("false") || word == QLatin1String("falsch") ||
            word == QLatin1String("0"))
            return false;
        return cell.toStdString();
    }
    case Column::Value:
        return typedValue(cell, decimalComma).toStdString();
    default:
        return cell.toStdString();
    }
}

std::vector<TableStation> readTable(const QString& text) {
    const QChar separator = separatorOf(text);
    CsvRows rows(text, separator);
    const QStringList header = rows.next();
    std::vector<std::optional<Column>> kinds;
    std::set<QString> seen;
    for (int i = 0; i < header.size(); ++i) {
        const QString name = header[i].trimmed();
        if (name.isEmpty()) {
            kinds.emplace_back(); // checked below: a column without a name must be empty
            continue;
        }
        const auto kind = columnKind(name);
        if (!kind)
            throw Failure{{1, {name, QStringLiteral("unknown column")}}};
        if (!seen.insert(name).second)
            throw Failure{{1, {name, QStringLiteral("the column is named twice")}}};
        kinds.push_back(kind);
    }

    std::vector<TableStation> stations;
    while (!rows.atEnd()) {
        const int line = rows.line();
        const QStringList cells = rows.next();
        Json root = Json::object();
        bool filled = false;
        std::optional<StationError> error;
        for (int i = 0; i < cells.size(); ++i) {
            if (cells[i].isEmpty())
                continue;
            filled = true;
            if (i >= header.size() || !kinds[std::size_t(i)]) {
                error = StationError{{},
                                     QStringLiteral("column %1 has a value but no name in the "
                                                    "header")
                                         .arg(i + 1)};
                continue;
            }
            const Column kind = *kinds[std::size_t(i)];
            if (kind == Column::Result)
                continue;
            const std::string name = stationKey(header[i].trimmed()).toStdString();
            Json* place = &root;
            for (std::size_t at = 0, dot; (dot = name.find('.', at)) != std::string::npos;
                 at = dot + 1)
                place = &(*place)[name.substr(at, dot - at)];
            const std::string key = name.substr(name.rfind('.') + 1);
            if (place->contains(key))
                error = StationError{
                    QString::fromStdString(name),
                    QStringLiteral("is given twice, also as %1").arg(Excerpt(header[i].trimmed()))};
            (*place)[key] = cellValue(kind, cells[i], separator == u';');
        }
        if (!filled)
            continue;
        if (error)
            stations.push_back({line, *error});
        else
            stations.push_back({line, ReadStation(QByteArray::fromStdString(root.dump()))});
    }
    return stations;
}

} // namespace

std::variant<std::vector<TableStation>, TableError> ReadStationTable(const QByteArray& bytes) {
    if (bytes.size() > MaxStationTableBytes)
        return TableError{
            0, {{}, QStringLiteral("it holds more than the 64 MiB a table of stations may hold")}};
    try {
        return readTable(DecodeAnsiText(bytes, WesternCodePage));
    } catch (const Failure& failure) {
        return failure.error;
    }
}

std::variant<std::vector<TableStation>, TableError> ReadStationTableFile(const Platform& platform,
                                                                         const QString& path) {
    auto read = platform.readFileUpTo(path, MaxStationTableBytes);
    if (const auto* reason = std::get_if<QString>(&read))
        return TableError{0, {{}, QStringLiteral("cannot be read: ") + *reason}};
    return ReadStationTable(std::get<QByteArray>(read));
}

QString TableLineName(const QString& file, int line) {
    return line > 0 ? file + u':' + QString::number(line) : file;
}

std::vector<NamedStation> ReadStations(const Platform& platform, const QStringList& files) {
    std::vector<NamedStation> stations;
    for (const QString& file : files) {
        if (!IsStationTable(file)) {
            stations.push_back({file, ReadStationFile(platform, file)});
            continue;
        }
        auto table = ReadStationTableFile(platform, file);
        if (auto* error = std::get_if<TableError>(&table)) {
            stations.push_back({TableLineName(file, error->line), error->error});
            continue;
        }
        for (auto& row : std::get<std::vector<TableStation>>(table))
            stations.push_back({TableLineName(file, row.line), std::move(row.station)});
    }
    return stations;
}

bool IsStationTable(const QString& path) {
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
}

} // namespace veldrune
