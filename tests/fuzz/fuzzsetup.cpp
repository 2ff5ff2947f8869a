#include "fuzzsetup.h"

#include <QGuiApplication>

// The window's texts are measured in real fonts, so the targets run in a headless
// application that lives as long as the process.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}
