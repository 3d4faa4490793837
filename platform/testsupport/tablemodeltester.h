#pragma once

#include <QAbstractItemModelTester>
#include <QIdentityProxyModel>

// QAbstractItemModelTester over a table model whose root answers flags() with the cells' flags
// (35) rather than the none Qt's rules expect of it: the tester sees the model through a proxy
// that answers for the root only; every cell, signal and row change passes through unchanged.
class TableModelTester
{
public:
    explicit TableModelTester(QAbstractItemModel* model);

private:
    class RootProxy : public QIdentityProxyModel
    {
    public:
        Qt::ItemFlags flags(const QModelIndex& index) const override;
    };

    RootProxy m_proxy;
    QAbstractItemModelTester m_tester;
};
