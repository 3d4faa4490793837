#include "componentuidvariant.h"

#include <QDebug>

namespace ComponentUidVariant {

int value(const QVariant& variant, int type)
{
    const QSize size = variant.toSize();
    if (size.height() == type)
        return size.width();
    qDebug("cast ComponentUid from type:%d to type:%d not available", size.height(), type);
    return -1;
}

} // namespace ComponentUidVariant
