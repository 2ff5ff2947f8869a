#include "gui/stationfiles.h"

#include "app/veldrune.h"
#include "platform/recordingplatform.h"
#include "station/runner.h"
#include "station/stationfile.h"

namespace veldrune {

void StationFiles::open() {
    const QString path =
        m_program.platform().chooseStationFile(Platform::FileDialog::Open, m_current);
    if (!path.isEmpty())
        open(path);
}

bool StationFiles::open(const QString& path) {
    Platform& platform = m_program.platform();
    const auto refuse = [&](const QString& line) {
        platform.showMessage(line, MessageIcon::Critical, ProgramTitle);
        return false;
    };
    const auto bytes = platform.readFile(path);
    if (!bytes)
        return refuse(path + QStringLiteral(": cannot be read"));
    const auto read = ReadStation(*bytes);
    if (const auto* error = std::get_if<StationError>(&read))
        return refuse(StationErrorLine(path, *error));
    const Station& station = std::get<Station>(read);

    // The station is applied to a program of its own, started as the window was: a station
    // refused half-way (a tool the system does not offer, say) leaves the window as it was,
    // and an accepted one shows exactly what a freshly started window would.
    RecordingPlatform quiet(platform);
    Veldrune trial(quiet);
    trial.startLike(m_program);
    if (const auto refusal = ApplyStation(trial, station, quiet.messages()))
        return refuse(StationErrorLine(path, *refusal));
    m_program.takeOver(trial);
    m_program.form().startJournal();
    m_opened = station;
    // The messages the station gave, each once, as the window tells them.
    QStringList told;
    for (const QString& message : quiet.messages()) {
        if (!told.contains(message)) {
            told.append(message);
            platform.showMessage(message, MessageIcon::Critical, ProgramTitle);
        }
    }
    m_current = path;
    return true;
}

void StationFiles::save() {
    if (m_current.isEmpty())
        saveAs();
    else
        saveTo(m_current);
}

void StationFiles::saveAs() {
    const QString path =
        m_program.platform().chooseStationFile(Platform::FileDialog::Save, m_current);
    if (!path.isEmpty())
        saveTo(path);
}

void StationFiles::saveTo(const QString& path) {
    Platform& platform = m_program.platform();
    const auto station = StationOfWindow(m_program, m_opened);
    if (!station) {
        platform.showMessage(QStringLiteral("CHOOSE A TOOL BEFORE SAVING THE STATION"),
                             MessageIcon::Information, ProgramTitle);
        return;
    }
    // The file is read back as opening would read it: a text the file cannot hold exactly
    // (a broken character, say) would reopen to another window, and is not written.
    const QByteArray text = StationFileText(*station);
    const auto reread = ReadStation(text);
    if (!std::holds_alternative<Station>(reread) ||
        !Reopens(m_program, std::get<Station>(reread))) {
        platform.showMessage(
            QStringLiteral("THE STATION WAS NOT SAVED TO %1: THE FILE WOULD NOT REOPEN AS THE "
                           "WINDOW SHOWS IT")
                .arg(path),
            MessageIcon::Critical, ProgramTitle);
        return;
    }
    const QString failure = platform.writeFile(path, text);
    if (!failure.isEmpty()) {
        platform.showMessage(
            QStringLiteral("THE STATION WAS NOT SAVED TO %1: %2").arg(path, failure),
            MessageIcon::Critical, ProgramTitle);
        return;
    }
    m_current = path;
}

} // namespace veldrune
