#pragma once

#include "gui/qtplatform.h"

#include <QPagedPaintDevice>
#include <QStringList>

namespace veldrune::test {

// The desktop with its message boxes and printer dialogs noted instead of shown.
struct QuietDesktop : QtPlatform {
    using QtPlatform::QtPlatform;
    void showMessage(const QString& text, MessageIcon, const QString&) override {
        messages.append(text);
    }
    std::unique_ptr<QPagedPaintDevice> choosePrinter(const QString& jobName) override {
        messages.append(jobName);
        return nullptr;
    }
    QStringList messages;
};

} // namespace veldrune::test
