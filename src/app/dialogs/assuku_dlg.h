#pragma once

#include <QDialog>

class QLabel;
class QSlider;

namespace tessaly {

// The modal dialog "画質設定": the JPEG quality 10..100 on a slider, with ten
// buttons for the round values. It opens on the quality last confirmed
// ("Last" / "Quality", 100 at first); "決定" stores the value there.
class CAssukuDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAssukuDlg(QWidget* parent = nullptr);

    int Quality() const;

    // "決定(&S)": stores the quality and closes.
    void accept() override;

private:
    void SetQuality(int quality);

    QSlider* slider_ = nullptr;
    QLabel* value_ = nullptr;
};

}  // namespace tessaly
