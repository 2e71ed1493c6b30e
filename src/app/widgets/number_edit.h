#pragma once

#include <QAbstractSpinBox>

namespace tessaly {

// An edit box with a spin. The box takes any text; it is read as a number
// only when its value is needed (ReadEditBox), and the arrows and the up and
// down keys step the number read within the range.
class NumberEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    NumberEdit(int minimum, int maximum, QWidget* parent = nullptr);

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

    // A new range; the text is left as it stands.
    void SetRange(int minimum, int maximum);
    // Shows `value` as "%d".
    void SetValue(int value);
    // The value the text stands for, within the range; the text is replaced
    // by that value when it showed anything else.
    int Read();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    // An arrow or key step has just written `value` into the box.
    void Stepped(int value);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;

private:
    int minimum_;
    int maximum_;
};

}  // namespace tessaly
