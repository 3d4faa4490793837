#pragma once

#include <QByteArray>

class QProcess;

namespace StoreTest {

// Waits up to timeoutMs for the child to print this line (the test helper's "ready", "written").
bool waitForLine(QProcess& process, const QByteArray& line, int timeoutMs);

} // namespace StoreTest
