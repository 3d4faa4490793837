#include "ddtformat.h"

#include "ddtnames.h"
#include "xmlvalues.h"

#include <QXmlStreamWriter>

namespace DemDecData {

namespace {

QLatin1String elementName(DdtNode::Kind kind)
{
    switch (kind) {
    case DdtNode::Kind::Processing:
        return Names::ProcessingNode;
    case DdtNode::Kind::Results:
        return Names::ResultsNode;
    case DdtNode::Kind::Root:
        break;
    }
    return Names::ProcNode;
}

// The element inside a node that carries the node's attributes.
QLatin1String attributeElementName(DdtNode::Kind kind)
{
    return kind == DdtNode::Kind::Results ? Names::DemDecResults : Names::DemDecTask;
}

class TreeReader
{
public:
    TreeReader(const QByteArray& bytes, int maxDepth)
        : m_xml(bytes, QString(), {ElementDepth, DdtFormat::MaxFileSize})
        , m_maxDepth(maxDepth)
    {
    }

    std::unique_ptr<DdtNode> read(Xml::ReadError* error)
    {
        auto root = std::make_unique<DdtNode>(DdtNode::Kind::Root);
        if (m_xml.readRoot(Names::ProcNode) && m_xml.expectNoAttributes() && readChildren(*root) && m_xml.finish())
            return root;
        if (error)
            *error = m_xml.error();
        return nullptr;
    }

private:
    bool readChildren(DdtNode& parent)
    {
        bool attributesRead = parent.kind() == DdtNode::Kind::Root;
        while (m_xml.readNextChild()) {
            const QStringView name = m_xml.name();
            if (!attributesRead && name == attributeElementName(parent.kind())) {
                QStringList values;
                if (!m_xml.readAttributes(parent.attributeNames(), &values) || !m_xml.expectEmpty())
                    return false;
                for (int i = 0; i < values.size(); ++i)
                    parent.setAttribute(i, values.at(i));
                attributesRead = true;
            } else if (name == Names::ProcessingNode && parent.canHold(DdtNode::Kind::Processing)) {
                if (parent.processingDepth() >= m_maxDepth)
                    return m_xml.fail(QStringLiteral("узлы обработки вложены глубже %1 уровней").arg(m_maxDepth));
                if (!readChild(parent, DdtNode::Kind::Processing))
                    return false;
            } else if (name == Names::ResultsNode && parent.canHold(DdtNode::Kind::Results)) {
                if (!readChild(parent, DdtNode::Kind::Results))
                    return false;
            } else {
                return m_xml.fail(QStringLiteral("неожиданный элемент <%1> в <%2>")
                                      .arg(name, elementName(parent.kind())));
            }
        }
        if (m_xml.hasError())
            return false;
        if (!attributesRead)
            return m_xml.fail(QStringLiteral("в <%1> нет <%2>")
                                  .arg(elementName(parent.kind()), attributeElementName(parent.kind())));
        return true;
    }

    bool readChild(DdtNode& parent, DdtNode::Kind kind)
    {
        if (!m_xml.expectNoAttributes())
            return false;
        DdtNode* child = parent.insertChild(parent.childCount(), std::make_unique<DdtNode>(kind));
        return readChildren(*child);
    }

    // The reader refuses unknown elements at once; this only bounds the scan below it.
    static constexpr int ElementDepth = 256;

    Xml::SafeXmlReader m_xml;
    int m_maxDepth;
};

void writeNode(QXmlStreamWriter& xml, const DdtNode& node)
{
    xml.writeStartElement(elementName(node.kind()));
    if (node.kind() != DdtNode::Kind::Root) {
        xml.writeEmptyElement(attributeElementName(node.kind()));
        const QStringList& names = node.attributeNames();
        for (int i = 0; i < names.size(); ++i)
            xml.writeAttribute(names.at(i), node.values().at(i));
    }
    for (int row = 0; row < node.childCount(); ++row)
        writeNode(xml, *node.child(row));
    xml.writeEndElement();
}

} // namespace

std::unique_ptr<DdtNode> DdtFormat::read(const QByteArray& bytes, int maxDepth, Xml::ReadError* error)
{
    return TreeReader(bytes, maxDepth).read(error);
}

QByteArray DdtFormat::write(const DdtNode& root)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    xml.writeStartDocument();
    writeNode(xml, root);
    xml.writeEndDocument();
    return bytes;
}

bool DdtFormat::canHold(const QString& value)
{
    return Xml::Values::isXmlText(value);
}

} // namespace DemDecData
