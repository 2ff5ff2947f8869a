#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

namespace veldrune {

// The program's title: the title of every message box it shows.
inline const QString ProgramTitle = QStringLiteral("VELDRUNE");

// An A4 page, 210 x 297 mm, in twips.
inline constexpr QSizeF A4InTwips{11906, 16838};

enum class MessageIcon { Information, Critical };

// What the program needs of the system around it: message boxes, files and folders, the
// screen. The real window, the batch calculator and the tests each bring their own.
class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box with an OK button; returns when the user has closed it.
    virtual void showMessage(const QString& text, MessageIcon icon, const QString& title) = 0;

    // The folder that holds the program, and the folder that was current at start.
    virtual QString programFolder() const = 0;
    virtual QString workingFolder() const = 0;
    // The folder the program's data files are installed to, where a file that is not beside
    // the program is looked for; empty when there is none.
    virtual QString dataFolder() const;
    // Length of a file in bytes, 0 when it is missing or its length cannot be had.
    virtual std::int32_t fileSize(const QString& path) const = 0;
    virtual std::optional<QByteArray> readFile(const QString& path) const = 0;
    // The first `limit` bytes of a file and one more where it has more (so that reading a device
    // that never ends ends), or why it cannot be read, in the system's words.
    virtual std::variant<QByteArray, QString> readFileUpTo(const QString& path, qint64 limit) const;
    // Whether a file is there, empty or not; a folder is not a file.
    virtual bool fileExists(const QString& path) const;
    // Names of the files of a folder that match a pattern such as "*.txt", letter case not
    // counting in the match, so that "nm.txt" and "NM.TXT" are found alike.
    virtual QStringList listFiles(const QString& folder, const QString& pattern) const = 0;

    // Size of the screen in twips.
    virtual QSizeF screenSize() const = 0;

    // A millisecond counter that only ever runs forwards, as the system's tick count does.
    virtual std::uint32_t tickCount() const;
    // The date and time of day.
    virtual QDateTime now() const;
    // The user's locale, as the environment sets it.
    virtual QLocale userLocale() const;

    // The printer selection dialog: the printer (or file) the user chose, ready for a page with
    // its origin at the paper's corner and no margins, or nothing when the user cancelled. The
    // print queue shows the job as `jobName`.
    virtual std::unique_ptr<QPagedPaintDevice> choosePrinter(const QString& jobName) = 0;
    // What the print system tells of trouble with the chosen printer (stopped, unknown, an
    // error, a job aborted), asked before a page is printed and after; empty when it tells of
    // none, which is not a promise that the page comes out.
    virtual QString printerTrouble(QPagedPaintDevice&) { return {}; }
    // Once a page has gone to the chosen printer: why the print system refused it; empty when
    // it took the page or does not tell.
    virtual QString printRefusal(QPagedPaintDevice&) { return {}; }
    // The size of the default printer's page, in twips.
    virtual QSizeF printerPageSize() const = 0;

    // The file dialog for station files: the file the user chose to open, or to save under
    // (starting from `suggested`), or an empty text when the user cancelled. Without a screen
    // there is no dialog, and the answer is always a cancel.
    enum class FileDialog { Open, Save };
    virtual QString chooseStationFile(FileDialog dialog, const QString& suggested);
    // Writes a file whole or not at all: a write that fails leaves the file as it was. Returns
    // why it failed, or an empty text.
    virtual QString writeFile(const QString& path, const QByteArray& bytes);

    // What the user answers when changes to a station file would be lost (the window closes,
    // another file opens): save them first, discard them, or cancel what would lose them.
    // Without a screen there is no one to ask, and the answer is a cancel: nothing is lost.
    enum class UnsavedChanges { Save, Discard, Cancel };
    virtual UnsavedChanges askUnsavedChanges(const QString& fileName);
    // Shows a short status (that a file was saved) for a few seconds where the user looks, and
    // needs no answer; without a screen it is not shown.
    virtual void showStatus(const QString& text);
};

// Joins a folder and a file name by the rules of the system's paths.
QString JoinPath(const QString& folder, const QString& fileName);

// Where the program reads one of its data files (the tool catalogue, the caption text): beside
// the program, where it always looked, else in the data folder. When neither holds the file,
// the path beside the program, so that the reader reports the file missing as it always has.
QString DataFilePath(const Platform& platform, const QString& fileName);

// The data folder of a program installed in programFolder: share/veldrune beside its bin
// folder, whatever the installation's prefix.
QString InstalledDataFolder(const QString& programFolder);

// The local file system, for Platform implementations to build on.
class LocalFiles : public Platform {
public:
    explicit LocalFiles(QString programFolder, QString workingFolder);
    QString programFolder() const override { return m_programFolder; }
    QString workingFolder() const override { return m_workingFolder; }
    QString dataFolder() const override { return InstalledDataFolder(m_programFolder); }
    std::int32_t fileSize(const QString& path) const override;
    std::optional<QByteArray> readFile(const QString& path) const override;
    std::variant<QByteArray, QString> readFileUpTo(const QString& path,
                                                   qint64 limit) const override;
    bool fileExists(const QString& path) const override;
    QStringList listFiles(const QString& folder, const QString& pattern) const override;
    QString writeFile(const QString& path, const QByteArray& bytes) override;

private:
    QString m_programFolder;
    QString m_workingFolder;
};

} // namespace veldrune
