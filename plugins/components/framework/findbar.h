#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

// The find line above a table: the text to look for and "N из M" beside it. Escape closes it;
// Return or the down arrow go on to the table.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent = nullptr);

    QLineEdit* line() const { return m_line; }
    QString text() const;
    void setCount(int shown, int total);
    // Shows the line with its text selected, ready to type over.
    void open();

Q_SIGNALS:
    void textChanged(const QString& text);
    void closed();
    void leave();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_line;
    QLabel* m_count;
};
