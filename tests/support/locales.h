#pragma once

#include <QByteArray>

#include <clocale>
#include <string>

namespace veldrune::test {

// The C library of this process in one of the locales the tests build (German, Russian and
// Greek write a decimal comma) while the object lives, as the application object sets it from
// the environment. `active` tells whether the locale was found.
class CLibraryLocale {
public:
    explicit CLibraryLocale(const char* name)
        : m_previous(std::setlocale(LC_ALL, nullptr)) {
        qputenv("LOCPATH", QByteArray(VELDRUNE_TEST_LOCALES));
        active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~CLibraryLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }

    bool active = false;

private:
    std::string m_previous;
};

} // namespace veldrune::test
