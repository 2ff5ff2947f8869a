#include "gui/cupsqueue.h"

#if defined(Q_OS_LINUX)
#include <dlfcn.h>
#endif

namespace veldrune {

#if defined(Q_OS_LINUX)
namespace {

// The library's own structures and the few calls used, as its header declares them: its ABI
// has been stable since CUPS 1.2.
struct CupsOption {
    char* name;
    char* value;
};
struct CupsDest {
    char* name;
    char* instance;
    int isDefault;
    int optionCount;
    CupsOption* options;
};

// The CUPS library only if Qt's print support has loaded it already.
void* loadedCups() {
    return dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD);
}

template <typename Function> Function* symbol(void* library, const char* name) {
    return reinterpret_cast<Function*>(dlsym(library, name));
}

} // namespace

QString CupsQueueRefusal(const QString& printer) {
    void* cups = loadedCups();
    if (!cups)
        return {};
    const auto getNamedDest =
        symbol<CupsDest*(void*, const char*, const char*)>(cups, "cupsGetNamedDest");
    const auto getOption =
        symbol<const char*(const char*, int, CupsOption*)>(cups, "cupsGetOption");
    const auto freeDests = symbol<void(int, CupsDest*)>(cups, "cupsFreeDests");
    QString refusal;
    if (getNamedDest && getOption && freeDests) {
        const QByteArray queue = printer.section(u'/', 0, 0).toLocal8Bit();
        if (CupsDest* dest = getNamedDest(nullptr, queue.constData(), nullptr)) {
            const char* accepting =
                getOption("printer-is-accepting-jobs", dest->optionCount, dest->options);
            if (accepting && qstrcmp(accepting, "false") == 0)
                refusal = QStringLiteral("the printer %1 does not accept jobs").arg(printer);
            freeDests(1, dest);
        }
    }
    dlclose(cups);
    return refusal;
}

QString CupsLastRefusal() {
    void* cups = loadedCups();
    if (!cups)
        return {};
    const auto lastError = symbol<int()>(cups, "cupsLastError");
    const auto lastErrorString = symbol<const char*()>(cups, "cupsLastErrorString");
    // IPP status codes below 0x0400 are successes, notes and redirections; errors of the
    // client, the server and CUPS itself lie above.
    constexpr int FirstError = 0x0400;
    QString refusal;
    if (lastError && lastErrorString && lastError() >= FirstError) {
        const char* reason = lastErrorString();
        refusal = QStringLiteral("the print system refused the job");
        QString why = QString::fromLocal8Bit(reason ? reason : "");
        if (why.endsWith(u'.'))
            why.chop(1); // it stands in parentheses
        if (!why.isEmpty())
            refusal += QStringLiteral(" (%1)").arg(why);
    }
    dlclose(cups);
    return refusal;
}

#else

QString CupsQueueRefusal(const QString&) {
    return {};
}

QString CupsLastRefusal() {
    return {};
}

#endif

} // namespace veldrune
