#include "gui/stationfiles.h"

#include "app/veldrune.h"
#include "input/entryfields.h"
#include "platform/recordingplatform.h"
#include "station/apply.h"
#include "station/savestation.h"

#include <QFileInfo>

namespace veldrune {

StationFiles::StationFiles(Veldrune& program)
    : m_program(program)
    , m_title(program.form().caption()) {}

void StationFiles::open() {
    if (!mayLoseChanges())
        return;
    const QString path =
        m_program.platform().chooseStationFile(Platform::FileDialog::Open, m_current);
    if (!path.isEmpty())
        openFile(path);
}

bool StationFiles::open(const QString& path) {
    return mayLoseChanges() && openFile(path);
}

QByteArray StationFiles::shownText() {
    return NoToolChosen(m_program.form()) ? QByteArray() : StationFileText(PlainStation(m_program));
}

void StationFiles::hold(const QString& path) {
    m_current = path;
    m_held = shownText();
    m_program.form().setCaption(m_title + QStringLiteral(" - ") + QFileInfo(path).fileName());
    m_program.form().setModified(false);
}

void StationFiles::follow() {
    m_program.form().setModified(!m_current.isEmpty() && shownText() != m_held);
}

bool StationFiles::mayLoseChanges() {
    follow();
    if (!m_program.form().modified())
        return true;
    switch (m_program.platform().askUnsavedChanges(QFileInfo(m_current).fileName())) {
    case Platform::UnsavedChanges::Save:
        save();
        return !m_program.form().modified();
    case Platform::UnsavedChanges::Discard:
        return true;
    case Platform::UnsavedChanges::Cancel:
        break;
    }
    return false;
}

bool StationFiles::refuse(const QString& line) {
    m_program.platform().showMessage(line, MessageIcon::Critical, ProgramTitle);
    return false;
}

bool StationFiles::openFile(const QString& path) {
    m_program.form().finishEdit();
    const auto read = ReadStationFile(m_program.platform(), path);
    if (const auto* error = std::get_if<StationError>(&read))
        return refuse(StationErrorLine(path, *error));
    if (!show(std::get<Station>(read), path))
        return false;
    hold(path);
    return true;
}

bool StationFiles::show(const Station& station, const QString& name) {
    Platform& platform = m_program.platform();
    // The station is applied to a program of its own, started as the window was: a station
    // refused half-way (a tool the system does not offer, say) leaves the window as it was,
    // and an accepted one shows exactly what a freshly started window would.
    RecordingPlatform quiet(platform);
    Veldrune trial(quiet);
    trial.startLike(m_program);
    if (const auto refusal = ApplyStation(trial, station, quiet.messages()))
        return refuse(StationErrorLine(name, *refusal));
    m_program.takeOver(trial);
    // The messages the station gave, each once, as the window tells them.
    QStringList told;
    for (const QString& message : quiet.messages()) {
        if (!told.contains(message)) {
            told.append(message);
            platform.showMessage(message, MessageIcon::Critical, ProgramTitle);
        }
    }
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
    const auto saved = SaveStation(m_program);
    if (!saved) {
        platform.showMessage(QStringLiteral("CHOOSE A TOOL BEFORE SAVING THE STATION"),
                             MessageIcon::Information, ProgramTitle);
        return;
    }
    const QString failure = platform.writeFile(path, StationFileText(saved->station));
    if (!failure.isEmpty()) {
        platform.showMessage(
            QStringLiteral("THE STATION WAS NOT SAVED TO %1: %2").arg(path, failure),
            MessageIcon::Critical, ProgramTitle);
        return;
    }
    hold(path);
    platform.showStatus(QStringLiteral("SAVED TO ") + QFileInfo(path).fileName());
    // The user's work is saved whatever the file cannot hold; what it cannot is told.
    if (!saved->differences.isEmpty())
        platform.showMessage(QStringLiteral("THE STATION WAS SAVED TO %1, BUT OPENED AGAIN: %2")
                                 .arg(path, saved->differences.join(QStringLiteral("; "))),
                             MessageIcon::Information, ProgramTitle);
}

} // namespace veldrune
