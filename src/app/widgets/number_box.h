#pragma once

#include <QSpinBox>

namespace tessaly {

// A numeric edit box with a spin control, as the dialogs use them: the value
// is shown with thousands commas, anything numeric may be typed (commas
// included, out of range too), and the text is read by ReadBoxNumber, so it
// is clamped to the range when it is read or when the box loses focus.
class NumberBox : public QSpinBox {
    Q_OBJECT

public:
    explicit NumberBox(QWidget* parent = nullptr);

    // Writes `text` into the box as it stands, even out of range.
    void SetText(const QString& text);
    // The number the box holds now: its text read and clamped to the range.
    int Number() const;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
};

}  // namespace tessaly
