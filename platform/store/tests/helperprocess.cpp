#include "helperprocess.h"

#include <QElapsedTimer>
#include <QProcess>

namespace StoreTest {

bool waitForLine(QProcess& process, const QByteArray& line, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        while (process.canReadLine()) {
            if (process.readLine().trimmed() == line)
                return true;
        }
        if (!process.waitForReadyRead(int(qMax<qint64>(1, timeoutMs - timer.elapsed()))))
            return process.canReadLine() && process.readLine().trimmed() == line;
    }
    return false;
}

} // namespace StoreTest
