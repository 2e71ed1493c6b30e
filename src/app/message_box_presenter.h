#pragma once

#include "services/message_service.h"

namespace tessaly {

// Puts messages in front of the user as modal message boxes. The box belongs
// to the owner's window when the owner is (or lies inside) a widget, else to
// the active window.
class MessageBoxPresenter final : public MessagePresenter {
public:
    int Present(QObject* owner, const QString& caption, const QString& text, int style) override;
};

}  // namespace tessaly
