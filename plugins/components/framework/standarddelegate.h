#pragma once

class QAbstractItemDelegate;

namespace CoConfig {
class ComplexConfigInterface;
}

// Holds the Qt delegate of one column and owns it. The plugin keeps its holders so that it can
// hand every delegate the store whenever the store is (re)loaded.
class StandardDelegate
{
public:
    StandardDelegate() = default;
    StandardDelegate(const StandardDelegate&) = delete;
    StandardDelegate& operator=(const StandardDelegate&) = delete;
    virtual ~StandardDelegate();

    virtual void setComplexConfig(CoConfig::ComplexConfigInterface* store);
    virtual QAbstractItemDelegate* delegate() = 0;
};
