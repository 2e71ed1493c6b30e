#pragma once

#include <QComboBox>

namespace tessaly {

// A drop-down list of the six frame-line styles, each entry its name beside
// the 48 x 6 picture the canvas draws for it. The entry's position is the
// stored style value.
class LineStyleCombo : public QComboBox {
    Q_OBJECT

public:
    explicit LineStyleCombo(QWidget* parent = nullptr);

    // Selects style 0..5; other values select the solid line.
    void SetStyle(int style);
    int Style() const;
};

}  // namespace tessaly
