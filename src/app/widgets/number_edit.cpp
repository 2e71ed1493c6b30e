#include "app/widgets/number_edit.h"

#include <QLineEdit>
#include <QStyle>
#include <algorithm>

#include "edits/console_values.h"

namespace tessaly {

NumberEdit::NumberEdit(int minimum, int maximum, QWidget* parent)
    : QAbstractSpinBox(parent), minimum_(minimum), maximum_(maximum) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetValue(minimum);
}

void NumberEdit::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
}

void NumberEdit::SetValue(int value) {
    lineEdit()->setText(QString::number(value));
}

int NumberEdit::Read() {
    const EditBoxValue read = ReadEditBox(lineEdit()->text(), minimum_, maximum_);
    if (read.rewrite) SetValue(read.value);
    return read.value;
}

QSize NumberEdit::sizeHint() const {
    QSize size = QAbstractSpinBox::sizeHint();
    const int digits = fontMetrics().horizontalAdvance(QString::number(maximum_) + u'0');
    size.setWidth(digits + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16);
    return size;
}

QValidator::State NumberEdit::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

void NumberEdit::stepBy(int steps) {
    const int from = ReadEditBox(lineEdit()->text(), minimum_, maximum_).value;
    const int value = std::clamp(from + steps, minimum_, maximum_);
    SetValue(value);
    lineEdit()->selectAll();
    Q_EMIT Stepped(value);
}

QAbstractSpinBox::StepEnabled NumberEdit::stepEnabled() const {
    const int value = ReadEditBox(lineEdit()->text(), minimum_, maximum_).value;
    StepEnabled enabled = StepNone;
    if (value > minimum_) enabled |= StepDownEnabled;
    if (value < maximum_) enabled |= StepUpEnabled;
    return enabled;
}

}  // namespace tessaly
