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

// Qt's font engines under fontconfig lose the pattern of every fallback font they look up, once
// for each size of a font: a text that needs a fallback face (a control character, a script
// Arial lacks) leaks a little each time the page prints it in a size not printed before. None
// of that memory is the program's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
