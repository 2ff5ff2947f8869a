#pragma once

#include "platform/platform.h"

namespace veldrune {

// The system without a screen: files and folders as another platform has them (by default
// the local file system), message boxes noted down instead of shown, no printer.
class RecordingPlatform : public Platform {
public:
    // The local file system, with these folders.
    RecordingPlatform(QString programFolder, QString workingFolder);
    // The files, folders, clock and locale of another platform, which must outlive this one;
    // only its message boxes stay unshown.
    explicit RecordingPlatform(Platform& system);
    ~RecordingPlatform() override;

    void showMessage(const QString& text, MessageIcon, const QString&) override {
        m_messages.append(text);
    }
    const QStringList& messages() const { return m_messages; }

    QString programFolder() const override { return m_system->programFolder(); }
    QString workingFolder() const override { return m_system->workingFolder(); }
    QString dataFolder() const override { return m_system->dataFolder(); }
    std::int32_t fileSize(const QString& path) const override { return m_system->fileSize(path); }
    std::optional<QByteArray> readFile(const QString& path) const override {
        return m_system->readFile(path);
    }
    std::variant<QByteArray, QString> readFileUpTo(const QString& path,
                                                   qint64 limit) const override {
        return m_system->readFileUpTo(path, limit);
    }
    bool fileExists(const QString& path) const override { return m_system->fileExists(path); }
    QStringList listFiles(const QString& folder, const QString& pattern) const override {
        return m_system->listFiles(folder, pattern);
    }
    QString writeFile(const QString& path, const QByteArray& bytes) override {
        return m_system->writeFile(path, bytes);
    }
    std::uint32_t tickCount() const override { return m_system->tickCount(); }
    QDateTime now() const override { return m_system->now(); }
    QLocale userLocale() const override { return m_system->userLocale(); }
    // A screen of 1280 x 1024 pixels.
    QSizeF screenSize() const override { return {19200, 15360}; }
    // No printer to choose; the page is A4.
    std::unique_ptr<QPagedPaintDevice> choosePrinter(const QString&) override { return nullptr; }
    QSizeF printerPageSize() const override { return A4InTwips; }

private:
    std::unique_ptr<Platform> m_ownFiles;
    Platform* m_system;
    QStringList m_messages;
};

} // namespace veldrune
