#include "catalogue/tooltable.h"

namespace veldrune {

int ToolTable::toolCount() const {
    for (int i = 1; i <= Size; ++i) {
        if (isEnd(i))
            return i - 1;
    }
    return 0;
}

QString FixedModel(const QString& name) {
    return name.left(ModelLength).leftJustified(ModelLength, u' ');
}

} // namespace veldrune
