#pragma once

#include <QLatin1String>
#include <QStringList>

// Element and attribute names of .ddt files and of the server's catalogue.
namespace DemDecData::Names {

inline constexpr QLatin1String ProcNode{"proc_node"};             // the root of a tree
inline constexpr QLatin1String ProcessingNode{"processing_node"}; // one demodulator or decoder
inline constexpr QLatin1String ResultsNode{"results_node"};       // an output of its parent
inline constexpr QLatin1String DemDecTask{"demdec_task"};         // attributes of a processing node
inline constexpr QLatin1String DemDecResults{"demdec_results"};   // attributes of a results node
inline constexpr QLatin1String Catalogue{"demdec_catalogue"};     // root of the server's catalogue

// "id", "aaa", "bbb", "ccc", "name", "group", "subgroup", "caps": a task, in writing order.
const QStringList& taskAttributes();
// "id", "chnl", "dem", "struct", "type": a result, in writing order.
const QStringList& resultAttributes();

} // namespace DemDecData::Names
