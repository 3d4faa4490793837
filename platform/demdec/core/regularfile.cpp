#include "regularfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DemDecData {

bool readRegularFile(const QString& path, qint64 maxSize, QByteArray* bytes, QString* error)
{
    // Opened without blocking, so that a FIFO cannot hold the caller before the check.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = qt_error_string(errno);
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file.errorString();
        return false;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        *error = qt_error_string(errno);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        *error = QStringLiteral("это не обычный файл");
        return false;
    }
    const QString tooLarge = QStringLiteral("больше %1 МБ").arg(double(maxSize) / (1024 * 1024), 0, 'g', 3);
    if (status.st_size > maxSize) {
        *error = tooLarge;
        return false;
    }
    *bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    if (bytes->size() > maxSize) { // it grew while being read
        *error = tooLarge;
        return false;
    }
    return true;
}

} // namespace DemDecData
