#include "platform/fieldreader.h"

namespace veldrune {

namespace {

bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

} // namespace

FieldReader::FieldReader(QString text)
    : m_text(std::move(text)) {}

bool FieldReader::atEnd() const {
    for (qsizetype i = m_pos; i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c != u' ' && !isLineEnd(c))
            return false;
    }
    return true;
}

std::optional<QString> FieldReader::next() {
    const qsizetype n = m_text.size();
    // Blanks and line ends before a field are passed over.
    while (m_pos < n && (m_text[m_pos] == u' ' || isLineEnd(m_text[m_pos])))
        ++m_pos;
    if (m_pos >= n)
        return std::nullopt;

    QString field;
    if (m_text[m_pos] == u'"') {
        const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
        const qsizetype end = close < 0 ? n : close;
        field = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? n : close + 1;
        // Anything between the closing quote and the delimiter is passed over.
        while (m_pos < n && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
        field = m_text.mid(start, m_pos - start);
        while (field.endsWith(u' '))
            field.chop(1);
    }

    if (m_pos < n) {
        if (m_text[m_pos] == u',') {
            ++m_pos;
        } else {
            if (m_text[m_pos] == u'\r' && m_pos + 1 < n && m_text[m_pos + 1] == u'\n')
                ++m_pos;
            ++m_pos;
        }
    }
    return field;
}

} // namespace veldrune
