#pragma once

#include "ddtnode.h"
#include "parseerror.h"

#include <QByteArray>

#include <memory>

namespace DemDecData {

// The .ddt file format: UTF-8 XML, a <proc_node> root holding <processing_node> elements; each
// processing node holds one <demdec_task> with its attributes, then processing and results nodes;
// a <results_node> holds one <demdec_results>. Writing is deterministic: the same tree always
// gives the same bytes.
class DdtFormat
{
public:
    // Null, with *error filled, when the bytes are no valid tree or processing nodes nest
    // deeper than maxDepth.
    static std::unique_ptr<DdtNode> read(const QByteArray& bytes, int maxDepth, ParseError* error);
    static QByteArray write(const DdtNode& root);
};

} // namespace DemDecData
