#include "support/fakeplatform.h"

#include <QFile>

namespace veldrune::test {

void FakePlatform::putShippedCatalogue() {
    QFile file(QStringLiteral(VELDRUNE_SHIPPED_DATA "/TOOLINFO.LST"));
    if (file.open(QIODevice::ReadOnly))
        putProgramFile(QStringLiteral("TOOLINFO.LST"), file.readAll());
}

QStringList FakePlatform::messageTexts() const {
    QStringList texts;
    for (const ShownMessage& m : m_messages)
        texts.append(m.text);
    return texts;
}

QByteArray TestData(const QString& name) {
    QFile file(QStringLiteral(VELDRUNE_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace veldrune::test
