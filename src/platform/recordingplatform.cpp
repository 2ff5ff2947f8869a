#include "platform/recordingplatform.h"

namespace veldrune {

namespace {

// The local file system and nothing else.
class LocalFilesOnly : public LocalFiles {
public:
    using LocalFiles::LocalFiles;
    void showMessage(const QString&, MessageIcon, const QString&) override {}
    QSizeF screenSize() const override { return {}; }
    std::unique_ptr<QPagedPaintDevice> choosePrinter(const QString&) override { return nullptr; }
    QSizeF printerPageSize() const override { return A4InTwips; }
};

} // namespace

RecordingPlatform::RecordingPlatform(QString programFolder, QString workingFolder)
    : m_ownFiles(
          std::make_unique<LocalFilesOnly>(std::move(programFolder), std::move(workingFolder)))
    , m_system(m_ownFiles.get()) {}

RecordingPlatform::RecordingPlatform(Platform& system)
    : m_system(&system) {}

RecordingPlatform::~RecordingPlatform() = default;

} // namespace veldrune
