#pragma once

#include <QtGlobal>

namespace PosixIo {

// A regular file's bytes in memory of the process's own, which may be changed in place: a
// private mapping whose pages are all copied in at once, so that whatever happens to the file
// afterwards changes nothing here. Cheaper than reading the file into a new buffer, since the
// pages are filled in one call instead of one fault each. isValid() is false when it cannot be
// done (an empty file, an old kernel, a file cut short meanwhile): the caller reads the file.
class PrivateBytes
{
public:
    PrivateBytes(int fd, qint64 size);
    ~PrivateBytes();
    PrivateBytes(const PrivateBytes&) = delete;
    PrivateBytes& operator=(const PrivateBytes&) = delete;

    bool isValid() const { return m_data != nullptr; }
    char* data() const { return m_data; }
    qsizetype size() const { return m_size; }

private:
    char* m_data = nullptr;
    qsizetype m_size = 0;
};

} // namespace PosixIo
