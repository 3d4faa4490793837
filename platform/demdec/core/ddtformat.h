#pragma once

#include "ddtnode.h"
#include "safexmlreader.h"

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
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // Null, with *error filled, when the bytes are no valid tree, are longer than MaxFileSize or
    // nest processing nodes deeper than maxDepth.
    static std::unique_ptr<DdtNode> read(const QByteArray& bytes, int maxDepth, Xml::ReadError* error);
    static QByteArray write(const DdtNode& root);
    // Whether the file format can hold the value: XML has no room for control characters.
    static bool canHold(const QString& value);
};

} // namespace DemDecData
