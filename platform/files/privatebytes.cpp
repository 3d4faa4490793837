#include "privatebytes.h"

#include <cerrno>
#include <cstdint>
#include <limits>

#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace PosixIo {

namespace {

constexpr size_t HugePage = size_t(2) << 20;

size_t roundedUp(size_t size, size_t unit)
{
    return (size + unit - 1) / unit * unit;
}

// Fresh zero pages for size bytes; a large room starts on a huge page's bound and asks for huge
// pages, so that it is filled by a few faults instead of one per page. nullptr when none is given.
char* freshRoom(size_t size, size_t* room)
{
    const bool large = size >= HugePage;
    *room = roundedUp(size, large ? HugePage : size_t(::sysconf(_SC_PAGESIZE)));
    const size_t mapped = *room + (large ? HugePage : 0);
    void* region = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (region == MAP_FAILED)
        return nullptr;
    char* const begin = static_cast<char*>(region);
    char* const aligned = large ? reinterpret_cast<char*>(roundedUp(reinterpret_cast<uintptr_t>(begin), HugePage)) : begin;
    if (aligned > begin)
        ::munmap(begin, size_t(aligned - begin));
    if (const size_t after = size_t(begin + mapped - (aligned + *room)))
        ::munmap(aligned + *room, after);
    // The pages are filled in one call rather than one fault each, huge ones where the system
    // gives them. Either advice may be refused (an old kernel): the faults then come one by one.
    if (large)
        ::madvise(aligned, *room, MADV_HUGEPAGE);
    ::madvise(aligned, *room, MADV_POPULATE_WRITE);
    return aligned;
}

} // namespace

PrivateBytes::PrivateBytes(int fd, qint64 size)
{
    if (size <= 0 || quint64(size) > quint64(std::numeric_limits<size_t>::max() - 2 * HugePage))
        return;
    size_t room = 0;
    char* const data = freshRoom(size_t(size), &room);
    if (!data)
        return;
    size_t done = 0;
    while (done < size_t(size)) {
        const ssize_t n = ::pread(fd, data + done, size_t(size) - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::munmap(data, room);
            return;
        }
        done += size_t(n);
    }
    m_data = data;
    m_size = qsizetype(size);
    m_room = room;
}

PrivateBytes::~PrivateBytes()
{
    if (m_data)
        ::munmap(m_data, m_room);
}

} // namespace PosixIo
