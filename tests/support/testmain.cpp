// Every test program runs headless with a fixed resolution, whatever the machine has.

#include <QApplication>

#include <gtest/gtest.h>

// A printer loads the print system's plugin, whose smart-card library (p11-kit) keeps the locale
// it makes as it loads, under German settings: none of that memory is the program's. The fast
// stack of that allocation ends in the C library's locale code, which names it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libp11-kit.so\nleak:__argz_add_sep\n";
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
