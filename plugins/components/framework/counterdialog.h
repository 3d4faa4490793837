#pragma once

#include <QDialog>

class QLineEdit;
class QSpinBox;

// Asks how to number the selected cells: a mask in which "[C]" stands for the counter, the first
// number, the step and the least number of digits.
class CounterDialog : public QDialog
{
public:
    explicit CounterDialog(QWidget* parent = nullptr);

    // The text of the n-th filled cell, n from 0.
    QString counterText(int n) const;

private:
    QLineEdit* m_mask;
    QSpinBox* m_start;
    QSpinBox* m_step;
    QSpinBox* m_digits;
};
