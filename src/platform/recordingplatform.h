#pragma once

#include "platform/platform.h"

namespace veldrune {

// The system without a screen: files as they are, message boxes noted down instead of shown.
class RecordingPlatform : public LocalFiles {
public:
    using LocalFiles::LocalFiles;

    void showMessage(const QString& text, MessageIcon, const QString&) override {
        m_messages.append(text);
    }
    // A screen of 1280 x 1024 pixels.
    QSizeF screenSize() const override { return {19200, 15360}; }
    // No printer to choose; the page is A4.
    std::unique_ptr<QPagedPaintDevice> choosePrinter() override { return nullptr; }
    QSizeF printerPageSize() const override { return A4InTwips; }

    const QStringList& messages() const { return m_messages; }

private:
    QStringList m_messages;
};

} // namespace veldrune
