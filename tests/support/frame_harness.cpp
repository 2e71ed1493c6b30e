#include "support/frame_harness.h"

#include <QDir>

#include "services/app_settings.h"
#include "services/settings.h"

namespace tessaly::test {

FrameHarness::FrameHarness() {
    UseSettingsFile(QDir(temp_.Path()).filePath(QStringLiteral("settings.ini")));
    CurrentSettings() = AppSettings{};
    atelierDoc_ = std::make_unique<CAtelierDoc>(edited_, recent_);
}

FrameHarness::~FrameHarness() {
    frame_.reset();
    atelierDoc_.reset();
    UseSettingsFile({});
}

CMainFrame& FrameHarness::Frame() {
    if (!frame_) frame_ = std::make_unique<CMainFrame>(edited_, *atelierDoc_, recent_);
    return *frame_;
}

}  // namespace tessaly::test
