#include "catalogue/tooltable.h"

#include "platform/text.h"

namespace veldrune {

int ToolTable::toolCount() const {
    for (int i = 1; i <= Size; ++i) {
        if (isEnd(i))
            return i - 1;
    }
    return 0;
}

QString FixedModel(const QString& name) {
    const QString cut = LeftCharacters(name, ModelLength);
    return cut + QString(ModelLength - CharacterCount(cut), u' ');
}

} // namespace veldrune
