#pragma once

namespace tessaly {

// Shows the wait cursor while it lives. Without a GUI application (the
// command-line tool, core tests) it does nothing.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool shown_;
};

}  // namespace tessaly
