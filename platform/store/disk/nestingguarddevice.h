#pragma once

#include <QIODevice>

namespace CoConfig {

// Passes a file's bytes to the XML reader while following the element nesting, and cuts the
// stream when it grows deeper than any record goes: the reader (and the codec's skipping of
// unknown elements) would otherwise keep a tag stack as deep as a hostile file wants.
// Files are UTF-8 (or another ASCII-compatible encoding); UTF-16 and UTF-32 are refused.
class NestingGuardDevice : public QIODevice
{
    Q_OBJECT

public:
    explicit NestingGuardDevice(QIODevice* source, int maxDepth = 256, QObject* parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

    // Why the stream was cut; empty while it flows.
    QString refusal() const { return m_refusal; }
    qint64 refusalLine() const { return m_line; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    enum State { Text, Open, StartTag, EndTag, Bang, Comment, CData, Declaration, Instruction };

    bool scan(const char* data, qint64 size);
    // Counts the lines of the bytes scanned; returns result.
    bool lineCounted(const char* data, qint64 size, bool result);

    QIODevice* m_source;
    int m_maxDepth;
    int m_depth = 0;
    State m_state = Text;
    char m_quote = 0;
    bool m_slash = false;   // a start tag's last character was '/'
    int m_run = 0;          // characters seen after "<!", or of a closing "-->", "]]>", "?>"
    char m_bang[8] = {};
    bool m_first = true;
    qint64 m_line = 1;
    QString m_refusal;
};

} // namespace CoConfig
