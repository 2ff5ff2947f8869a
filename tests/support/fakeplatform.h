#pragma once

#include "platform/platform.h"

#include <functional>
#include <map>
#include <vector>

namespace veldrune::test {

struct ShownMessage {
    QString text;
    MessageIcon icon;
    QString title;
    friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

// The system as the tests want it: files in memory, messages recorded instead of shown.
class FakePlatform : public Platform {
public:
    static inline const QString ProgramFolder = QStringLiteral("/opt/veldrune");
    static inline const QString WorkingFolder = QStringLiteral("/home/planner");

    void putProgramFile(const QString& name, const QByteArray& bytes) {
        m_files[JoinPath(ProgramFolder, name)] = bytes;
    }
    // A file in the working folder, as the start-up's file list sees it.
    void putWorkingFile(const QString& name) { m_workingFiles.append(name); }
    void putShippedCatalogue();

    const std::vector<ShownMessage>& messages() const { return m_messages; }
    QStringList messageTexts() const;
    void clearMessages() { m_messages.clear(); }

    void showMessage(const QString& text, MessageIcon icon, const QString& title) override {
        m_messages.push_back({text, icon, title});
    }
    QString programFolder() const override { return ProgramFolder; }
    QString workingFolder() const override { return WorkingFolder; }
    std::int32_t fileSize(const QString& path) const override {
        return std::int32_t(readFile(path).value_or(QByteArray()).size());
    }
    std::optional<QByteArray> readFile(const QString& path) const override {
        const auto it = m_files.find(path);
        return it == m_files.end() ? std::nullopt : std::optional(it->second);
    }
    QStringList listFiles(const QString& folder, const QString&) const override {
        return folder == WorkingFolder ? m_workingFiles : QStringList();
    }
    QSizeF screenSize() const override { return {19200, 16200}; } // 1280 x 1080 pixels
    std::uint32_t tickCount() const override { return ticks; }    // time stands still
    QDateTime now() const override { return clock; }
    QLocale userLocale() const override { return locale; }
    std::unique_ptr<QPagedPaintDevice> choosePrinter(const QString& jobName) override {
        printJobs.append(jobName);
        return printer ? printer() : nullptr; // no printer: the dialog is cancelled
    }
    // The trouble the printer tells of, before the page and after it.
    QString printerTrouble(QPagedPaintDevice&) override {
        return troubles.isEmpty() ? QString() : troubles.takeFirst();
    }
    QString printRefusal(QPagedPaintDevice&) override { return refusal; }
    QSizeF printerPageSize() const override { return A4InTwips; }
    // The file dialog answers with `chosenFile` (empty: cancelled) and notes what it offered.
    QString chooseStationFile(FileDialog dialog, const QString& suggested) override {
        dialogs.push_back({dialog, suggested});
        return chosenFile;
    }
    // Written files land in memory, where reading finds them, unless `writeFailure` says why
    // the write fails.
    QString writeFile(const QString& path, const QByteArray& bytes) override {
        if (writeFailure.isEmpty())
            m_files[path] = bytes;
        return writeFailure;
    }

    // Answers the question about unsaved changes with the next of `unsavedAnswers` (a cancel
    // when none is left), noting the file it named.
    UnsavedChanges askUnsavedChanges(const QString& fileName) override {
        askedToSave.append(fileName);
        return unsavedAnswers.empty() ? UnsavedChanges::Cancel : unsavedAnswers.takeFirst();
    }
    void showStatus(const QString& text) override { statuses.append(text); }

    std::uint32_t ticks = 0;
    QDateTime clock{QDate(2026, 12, 6), QTime(14, 30, 5)};
    QLocale locale{QLocale::English, QLocale::UnitedStates};
    std::function<std::unique_ptr<QPagedPaintDevice>()> printer;
    QStringList printJobs; // the names of the jobs the printer dialog was opened for
    QStringList troubles;  // what the printer tells, asked before the page, then after it
    QString refusal;       // why the print system refused the page sent
    QString chosenFile;
    std::vector<std::pair<FileDialog, QString>> dialogs;
    QString writeFailure;
    QList<UnsavedChanges> unsavedAnswers;
    QStringList askedToSave;
    QStringList statuses;

private:
    std::map<QString, QByteArray> m_files;
    QStringList m_workingFiles;
    std::vector<ShownMessage> m_messages;
};

// The bytes of a file of the test data folder.
QByteArray TestData(const QString& name);

} // namespace veldrune::test
