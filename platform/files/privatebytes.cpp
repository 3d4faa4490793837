#include "privatebytes.h"

#include <limits>

#include <sys/mman.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace PosixIo {

PrivateBytes::PrivateBytes(int fd, qint64 size)
{
    if (size <= 0 || quint64(size) > quint64(std::numeric_limits<size_t>::max()))
        return;
    void* mapped = ::mmap(nullptr, size_t(size), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED)
        return;
    // Every page copied now: a file cut short by another program gives an error here rather
    // than a signal later.
    if (::madvise(mapped, size_t(size), MADV_POPULATE_WRITE) != 0) {
        ::munmap(mapped, size_t(size));
        return;
    }
    m_data = static_cast<char*>(mapped);
    m_size = qsizetype(size);
}

PrivateBytes::~PrivateBytes()
{
    if (m_data)
        ::munmap(m_data, size_t(m_size));
}

} // namespace PosixIo
