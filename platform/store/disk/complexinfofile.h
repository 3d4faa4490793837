#pragma once

#include "recordmapfile.h"

namespace CoConfig {

// The complex's own file: its uid on the root element and its descriptions.
class ComplexInfoFile : public RecordMapFile<QMap<int, ComplexInfo>>
{
public:
    ComplexInfoFile();

    void take(ComplexData& into, ComplexData& from) const override;
    void clear(ComplexData& data) const override;
    void copy(ComplexData& into, const ComplexData& from) const override;
    bool shared(const ComplexData& a, const ComplexData& b) const override;
    bool equal(const ComplexData& a, const ComplexData& b) const override
    {
        return a.complexUid == b.complexUid && RecordMapFile::equal(a, b);
    }
    bool writtenAlike(const ComplexData& a, const ComplexData& b) const override
    {
        return a.complexUid == b.complexUid && RecordMapFile::writtenAlike(a, b);
    }
    // The complex's uid on the root is read only from the stream.
    bool readParsed(char*, qsizetype, ComplexData&) const override { return false; }

protected:
    void writeRootAttributes(Xml::TextWriter& writer, const ComplexData& data) const override;
    bool readRootAttributes(RecordDocumentReader& reader, ComplexData& data) const override;
};

} // namespace CoConfig
