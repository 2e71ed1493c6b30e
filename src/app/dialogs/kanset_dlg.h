#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QRadioButton;

namespace tessaly {

class NumberEdit;
struct AppSettings;
struct EnvironmentSettings;

// The modal dialog "システムの環境設定": reopening the last document at
// start-up, the size pictures are shrunk to for a photomosaic, the hover
// animation, backup copies and the operation guide. It opens on the stored
// values and `app`'s; "保存して終了(&S)" stores what it shows (sizes and
// counts kept within their ranges) and "閉じる(&C)" changes nothing.
class CKansetDlg : public QDialog {
    Q_OBJECT

public:
    explicit CKansetDlg(AppSettings& app, QWidget* parent = nullptr);

    // What the controls hold now, read as "保存して終了(&S)" reads them.
    EnvironmentSettings Shown();

    // "保存して終了(&S)": closes, then stores.
    void accept() override;

private:
    QLayout* BuildSizes();
    QLayout* BuildAnimation();
    void Show(const EnvironmentSettings& env);

    AppSettings& app_;
    QCheckBox* firstOpen_ = nullptr;
    NumberEdit* height_ = nullptr;
    NumberEdit* width_ = nullptr;
    QCheckBox* animation_ = nullptr;
    NumberEdit* count_ = nullptr;
    std::array<QRadioButton*, 5> speeds_{};
    QCheckBox* makeBackup_ = nullptr;
    QCheckBox* guide_ = nullptr;
};

}  // namespace tessaly
