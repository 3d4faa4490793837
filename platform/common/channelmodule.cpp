#include "channelmodule.h"

#include <QCoreApplication>

namespace Common {

const QList<ChannelModuleType> ChannelModules = {
    ChannelModuleNone,     ChannelModuleListening,        ChannelModuleRecording, ChannelModulePanorama,
    ChannelModuleDemDec,   ChannelModuleDirectionFinding, ChannelModuleAnalysis,  ChannelModuleSearch,
};

QString channelModuleName(int kind)
{
    const char* const context = "Common::ChannelModule";
    switch (kind) {
    case ChannelModuleNone:
        return QCoreApplication::translate(context, "Нет");
    case ChannelModuleListening:
        return QCoreApplication::translate(context, "Слуховой контроль");
    case ChannelModuleRecording:
        return QCoreApplication::translate(context, "Запись сигнала");
    case ChannelModulePanorama:
        return QCoreApplication::translate(context, "Панорама");
    case ChannelModuleDemDec:
        return QCoreApplication::translate(context, "Демодуляция и декодирование");
    case ChannelModuleDirectionFinding:
        return QCoreApplication::translate(context, "Пеленгование");
    case ChannelModuleAnalysis:
        return QCoreApplication::translate(context, "Технический анализ");
    case ChannelModuleSearch:
        return QCoreApplication::translate(context, "Поиск сигналов");
    }
    return QCoreApplication::translate(context, "Неизвестный модуль %1").arg(kind);
}

} // namespace Common
