#pragma once

#include <QString>

namespace veldrune {

// What the CUPS print system knows that Qt does not pass on: whether a queue takes jobs, and
// why it refused the last one. Qt prints through the CUPS library without reading either; the
// program asks the same library, once Qt has loaded it, and never loads it itself. Where Qt
// prints otherwise (Windows, no CUPS), both are empty: nothing is known.

// Why the queue `printer` (Qt's name, "queue" or "queue/instance") takes no jobs; empty when
// it takes them or nothing tells.
QString CupsQueueRefusal(const QString& printer);

// Why the print system refused the last request the CUPS library made in this thread: after
// a page was printed to a CUPS queue, the request that sent it. Empty when it was taken.
QString CupsLastRefusal();

} // namespace veldrune
