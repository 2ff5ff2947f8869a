#include "support/fakeplatform.h"

#include <QFile>

namespace veldrune::test {

void FakePlatform::putProgramFile(const QString& name, const QByteArray& bytes) {
    m_files[JoinPath(ProgramFolder, name)] = bytes;
}

void FakePlatform::putShippedCatalogue() {
    QFile file(QStringLiteral(VELDRUNE_SHIPPED_DATA "/TOOLINFO.LST"));
    if (file.open(QIODevice::ReadOnly))
        putProgramFile(QStringLiteral("TOOLINFO.LST"), file.readAll());
}

QStringList FakePlatform::messageTexts() const {
    QStringList texts;
    for (const ShownMessage& m : m_messages)
        texts.append(m.text);
    return texts;
}

void FakePlatform::showMessage(const QString& text, MessageIcon icon, const QString& title) {
    m_messages.push_back({text, icon, title});
}

QString FakePlatform::writeFile(const QString& path, const QByteArray& bytes) {
    if (writeFailure.isEmpty())
        m_files[path] = bytes;
    return writeFailure;
}

std::int32_t FakePlatform::fileSize(const QString& path) const {
    const auto it = m_files.find(path);
    return it == m_files.end() ? 0 : std::int32_t(it->second.size());
}

std::optional<QByteArray> FakePlatform::readFile(const QString& path) const {
    const auto it = m_files.find(path);
    if (it == m_files.end())
        return std::nullopt;
    return it->second;
}

QStringList FakePlatform::listFiles(const QString& folder, const QString&) const {
    return folder == WorkingFolder ? m_workingFiles : QStringList();
}

QByteArray TestData(const QString& name) {
    QFile file(QStringLiteral(VELDRUNE_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace veldrune::test
