#pragma once

#include <QtGlobal>

namespace PosixIo {

// A regular file's bytes in memory of the process's own, which may be changed in place: read at
// once into fresh pages, so that whatever happens to the file afterwards changes nothing here.
// Cheaper than a new buffer of the heap: a large file's pages are huge ones where the system
// gives them, filled by a few faults instead of one per page. isValid() is false when it cannot
// be done (an empty file, no memory, a file cut short meanwhile): the caller reads the file.
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
    size_t m_room = 0; // what is mapped at m_data
};

} // namespace PosixIo
