#pragma once

#include <QAbstractProxyModel>
#include <QString>
#include <QVector>

#include <functional>
#include <vector>

// The rows of a table model whose shown cell texts contain a text, case-insensitive, in the
// source's order. Each row's texts are gathered once and kept until the row changes, so a
// keystroke costs one search over the kept texts (over the rows still shown when the text
// grows). Rows the source inserts stay shown until the text changes: a row just added must
// not vanish before it is filled in.
class RowFilterModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    // The text a cell of the source shows.
    using CellText = std::function<QString(const QModelIndex& sourceIndex)>;

    explicit RowFilterModel(CellText cellText, QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;
    void setFilterText(const QString& text);
    QString filterText() const { return m_text; }
    // Gathers the texts of up to that many rows not gathered yet, so that later keys only
    // search; true when every row's are.
    bool gatherTexts(int rows);

Q_SIGNALS:
    // Texts kept were dropped by changes of the source: gatherTexts() has more to do.
    void textsForgotten();

public:
    // The source row of a row shown, or -1.
    int sourceRow(int row) const;

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;

private:
    void refilter(bool narrowing);
    bool matches(int sourceRow);
    const QString& rowText(int sourceRow);
    // Position in m_rows of the first shown row at or after the source row.
    int lowerBound(int sourceRow) const;

    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void sourceRowsAboutToBeInserted(const QModelIndex& parent, int first, int last);
    void sourceRowsInserted(const QModelIndex& parent, int first, int last);
    void sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void sourceRowsRemoved(const QModelIndex& parent, int first, int last);
    void sourceReset();

    const CellText m_cellText;
    QString m_text;                // case-folded
    QVector<int> m_rows;           // source rows shown, ascending
    std::vector<QString> m_texts;  // per source row: its cells' texts, case-folded, or null when not gathered
    std::vector<QMetaObject::Connection> m_connections;
    size_t m_gathered = 0;         // rows before it have been gathered (or changed since)
    bool m_removing = false;       // rows shown are being removed between the two signals
};
