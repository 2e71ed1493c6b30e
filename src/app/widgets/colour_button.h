#pragma once

#include <QToolButton>
#include <cstdint>

class QMenu;

namespace tessaly {

// A colour-picker button: shows the chosen colour as a swatch and drops down
// a panel of swatches in five columns, an entry that opens the colour dialog
// for other colours and, when one is set, an automatic entry whose value is
// -1 ("枠線なし", "背景の色を使用する"...). Values are COLORREF (0x00BBGGRR).
class ColourButton : public QToolButton {
    Q_OBJECT

public:
    explicit ColourButton(QWidget* parent = nullptr);

    // Offers the automatic entry (value -1) under `label` at the top of the
    // panel; an empty label takes it away.
    void SetAutomaticEntry(const QString& label);

    // Shows `value` without sending colourChanged.
    void SetColour(std::int32_t value);
    std::int32_t Colour() const { return colour_; }

    // What the user's choice does, for tests and for the panel's entries:
    // stores `value` and sends colourChanged when it differs.
    void Choose(std::int32_t value);

Q_SIGNALS:
    // The user chose a colour different from the one shown.
    void colourChanged(std::int32_t value);

private:
    void BuildPanel();
    void ChooseOther();
    void UpdateSwatch();

    QMenu* menu_ = nullptr;
    QString automaticLabel_;
    std::int32_t colour_ = 0;
};

}  // namespace tessaly
