#include "tablemodeltester.h"

Qt::ItemFlags TableModelTester::RootProxy::flags(const QModelIndex& index) const
{
    return index.isValid() ? QIdentityProxyModel::flags(index) : Qt::NoItemFlags;
}

static QAbstractItemModel* proxied(QIdentityProxyModel& proxy, QAbstractItemModel* model)
{
    proxy.setSourceModel(model);
    return &proxy;
}

TableModelTester::TableModelTester(QAbstractItemModel* model)
    : m_tester(proxied(m_proxy, model), QAbstractItemModelTester::FailureReportingMode::QtTest)
{
}
