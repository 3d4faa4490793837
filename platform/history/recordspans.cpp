#include "recordspans.h"

namespace History {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The end of the markup starting at `from` ('<'): one past its last character, or -1.
qsizetype markupEnd(QByteArrayView bytes, qsizetype from)
{
    const auto after = [&bytes](qsizetype at, QByteArrayView what) {
        const qsizetype found = bytes.indexOf(what, at);
        return found < 0 ? -1 : found + what.size();
    };
    const QByteArrayView rest = bytes.sliced(from);
    if (rest.startsWith("<!--"))
        return after(from + 4, "-->");
    if (rest.startsWith("<![CDATA["))
        return after(from + 9, "]]>");
    if (rest.startsWith("<?"))
        return after(from + 2, "?>");
    char quote = 0;
    for (qsizetype i = from + 1; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return -1;
}

QByteArrayView nameOf(QByteArrayView tag)
{
    qsizetype end = 1;
    while (end < tag.size() && !isSpace(tag[end]) && tag[end] != '/' && tag[end] != '>')
        ++end;
    return tag.sliced(1, end - 1);
}

QByteArrayView uidOf(QByteArrayView tag)
{
    for (qsizetype at = tag.indexOf("uid="); at > 0; at = tag.indexOf("uid=", at + 4)) {
        if (!isSpace(tag[at - 1]) || at + 5 >= tag.size())
            continue;
        const char quote = tag[at + 4];
        const qsizetype end = tag.indexOf(quote, at + 5);
        if ((quote == '"' || quote == '\'') && end > 0)
            return tag.sliced(at + 5, end - at - 5);
    }
    return {};
}

} // namespace

bool scanRecords(QByteArrayView bytes, RecordSpans* spans)
{
    spans->records.clear();
    spans->rootTag = {};
    int depth = 0;
    qsizetype recordStart = -1;
    RecordSpan record;
    for (qsizetype at = bytes.indexOf('<'); at >= 0; at = bytes.indexOf('<', at)) {
        const qsizetype end = markupEnd(bytes, at);
        if (end < 0)
            return false;
        const QByteArrayView tag = bytes.sliced(at, end - at);
        at = end;
        if (tag.startsWith("<!") || tag.startsWith("<?"))
            continue;
        if (tag.startsWith("</")) {
            if (--depth == 0)
                return true; // the root's end
            if (depth == 1) {
                record.bytes = bytes.sliced(recordStart, end - recordStart);
                spans->records.append(record);
            }
            if (depth < 1)
                return false;
            continue;
        }
        const bool empty = tag.endsWith("/>");
        if (depth == 0) {
            spans->rootTag = tag;
            if (empty)
                return true;
        } else if (depth == 1) {
            recordStart = tag.data() - bytes.data();
            record = RecordSpan{nameOf(tag), uidOf(tag), {}};
            if (empty) {
                record.bytes = tag;
                spans->records.append(record);
                continue;
            }
        } else if (empty) {
            continue;
        }
        ++depth;
    }
    return false;
}

} // namespace History
