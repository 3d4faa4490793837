#pragma once

#include <QList>
#include <QString>

namespace Common {

// The module that is loaded automatically for a channel. Files keep the number, so a kind keeps
// its number for good; a file may hold a number that this build does not know.
enum ChannelModuleType : int {
    ChannelModuleNone = -1,
    ChannelModuleListening = 0,
    ChannelModuleRecording = 1,
    ChannelModulePanorama = 2,
    ChannelModuleDemDec = 3,
    ChannelModuleDirectionFinding = 4,
    ChannelModuleAnalysis = 5,
    ChannelModuleSearch = 6,
};

// Every kind, none first, in the order a user is offered them.
extern const QList<ChannelModuleType> ChannelModules;

// The kind's human name; -1 and numbers of no known kind have one too.
QString channelModuleName(int kind);

} // namespace Common
