#include "capabilitytext.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PelengatorsModel", text);
}

} // namespace

QString capabilityText(unsigned int bit, unsigned int capabilities)
{
    const bool direction = capabilities & 1u;
    switch (bit) {
    case 0:
        return tr("Возможности пеленгатора не заданы");
    case 1:
        return tr("Quorven");
    case 2:
        return direction ? tr("Ручное направление") : tr("Ручной пеленг");
    case 4:
        return tr("Ручное МО");
    case 8:
        return direction ? tr("Автоматическое направление") : tr("Автоматический пеленг");
    case 16:
        return tr("Автоматическое МО");
    case 32:
        return direction ? tr("Направление в отложенном режиме") : tr("Пеленг в отложенном режиме");
    case 64:
        return tr("МО в отоложенном режиме");
    default:
        return tr("Неизвестная возможност пеленгатора.");
    }
}
