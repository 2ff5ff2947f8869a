#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <chrono>
#include <limits>

namespace veldrune {

QString JoinPath(const QString& folder, const QString& fileName) {
    return QDir(folder.trimmed()).filePath(fileName);
}

QString DataFilePath(const Platform& platform, const QString& fileName) {
    const QString beside = JoinPath(platform.programFolder(), fileName);
    if (platform.fileExists(beside))
        return beside;
    const QString dataFolder = platform.dataFolder();
    if (!dataFolder.isEmpty()) {
        const QString installed = JoinPath(dataFolder, fileName);
        if (platform.fileExists(installed))
            return installed;
    }
    return beside;
}

QString InstalledDataFolder(const QString& programFolder) {
    // An unknown program folder has no installation around it.
    if (programFolder.trimmed().isEmpty())
        return {};
    return QDir::cleanPath(JoinPath(programFolder, QStringLiteral(VELDRUNE_DATA_FROM_PROGRAM)));
}

QString Platform::dataFolder() const {
    return {};
}

QString Platform::chooseStationFile(FileDialog, const QString&) {
    return {};
}

Platform::UnsavedChanges Platform::askUnsavedChanges(const QString&) {
    return UnsavedChanges::Cancel;
}

void Platform::showStatus(const QString&) {}

QString Platform::writeFile(const QString&, const QByteArray&) {
    return QStringLiteral("there is no file system to write to");
}

std::variant<QByteArray, QString> Platform::readFileUpTo(const QString& path, qint64 limit) const {
    auto bytes = readFile(path);
    if (!bytes)
        return QStringLiteral("No such file or directory");
    bytes->truncate(limit + 1);
    return *bytes;
}

bool Platform::fileExists(const QString& path) const {
    return readFile(path).has_value();
}

std::uint32_t Platform::tickCount() const {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

QDateTime Platform::now() const {
    return QDateTime::currentDateTime();
}

QLocale Platform::userLocale() const {
    return QLocale::system();
}

LocalFiles::LocalFiles(QString programFolder, QString workingFolder)
    : m_programFolder(std::move(programFolder))
    , m_workingFolder(std::move(workingFolder)) {}

std::int32_t LocalFiles::fileSize(const QString& path) const {
    const QFileInfo info(path);
    if (!info.isFile())
        return 0;
    const qint64 size = info.size();
    return size > std::numeric_limits<std::int32_t>::max()
               ? std::numeric_limits<std::int32_t>::max()
               : std::int32_t(size);
}

QString LocalFiles::writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

bool LocalFiles::fileExists(const QString& path) const {
    return QFileInfo(path).isFile();
}

std::optional<QByteArray> LocalFiles::readFile(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::variant<QByteArray, QString> LocalFiles::readFileUpTo(const QString& path,
                                                           qint64 limit) const {
    if (QFileInfo(path).isDir())
        return QStringLiteral("it is a folder");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return bytes;
}

QStringList LocalFiles::listFiles(const QString& folder, const QString& pattern) const {
    // Name filters match regardless of letter case unless asked otherwise.
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

} // namespace veldrune
