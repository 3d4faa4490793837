#include "recordspans.h"

#include <cstring>

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


// Splits `bytes` into elements from `depth` on: 0 for a whole document (done at its root's end),
// 1 for a run of records (done at its end, where it must close every element it opened).
bool scanFrom(QByteArrayView bytes, int depth, RecordSpans* spans)
{
    spans->records.clear();
    spans->rootTag = {};
    const bool fragment = depth == 1;
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
                return !fragment; // the root's end
            if (depth == 1) {
                record.bytes = bytes.sliced(recordStart, end - recordStart);
                spans->records.append(record);
            }
            if (depth < 1)
                return false;
            continue;
        }
        if (depth == 0 && fragment)
            return false;
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
    return fragment && depth == 1;
}

} // namespace

bool scanRecords(QByteArrayView bytes, RecordSpans* spans)
{
    return scanFrom(bytes, 0, spans);
}

bool differingRecords(QByteArrayView before, QByteArrayView after, RecordSpans* old, RecordSpans* now)
{
    old->records.clear();
    now->records.clear();
    const qsizetype shorter = qMin(before.size(), after.size());
    constexpr qsizetype Block = 4096;
    qsizetype prefix = 0;
    while (prefix + Block <= shorter && std::memcmp(before.data() + prefix, after.data() + prefix, Block) == 0)
        prefix += Block;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    if (prefix == before.size() && prefix == after.size())
        return true;
    qsizetype suffix = 0;
    while (suffix + Block <= shorter - prefix
           && std::memcmp(before.data() + before.size() - suffix - Block, after.data() + after.size() - suffix - Block,
                          Block)
               == 0)
        suffix += Block;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    // A record's line: "\n  <" and not a record's end tag ("\n  </").
    const auto startsRecord = [](QByteArrayView bytes, qsizetype at) { return at + 4 < bytes.size() && bytes[at + 4] != '/'; };
    // From the start of the record the first difference falls in
    // (its line start lies in the common prefix, so both versions have a record there)...
    const QByteArrayView common = before.sliced(0, prefix);
    qsizetype lineStart = common.lastIndexOf("\n  <");
    while (lineStart >= 0 && !startsRecord(common, lineStart))
        lineStart = lineStart > 0 ? common.sliced(0, lineStart).lastIndexOf("\n  <") : -1;
    if (lineStart < 0)
        return false;
    const qsizetype start = lineStart + 3;
    // ...to the end of the one the last falls in: where the next record or the root's end starts.
    const auto endOf = [suffix, &startsRecord](QByteArrayView bytes) {
        const qsizetype from = bytes.size() - suffix;
        qsizetype record = bytes.indexOf("\n  <", from);
        while (record >= 0 && !startsRecord(bytes, record))
            record = bytes.indexOf("\n  <", record + 1);
        // The root's end only before that record (it is far off, at the end, when there is one).
        const qsizetype root = bytes.sliced(0, record < 0 ? bytes.size() : record).indexOf("\n</", from);
        return root >= 0 ? root : record;
    };
    const qsizetype oldEnd = endOf(before);
    const qsizetype newEnd = endOf(after);
    if (oldEnd < start || newEnd < start)
        return false;
    return scanFrom(before.sliced(start, oldEnd - start), 1, old) && scanFrom(after.sliced(start, newEnd - start), 1, now);
}

} // namespace History
