// The end of the process after the window has closed. Qt 6.4's Wayland plug-in can wait
// forever while QApplication is destroyed (its event thread waits for a read that the main
// thread never finishes), which leaves a process that nothing shows, that ignores SIGTERM
// and that still holds the notebook's place. By then everything of ours is closed and
// saved, so the process ends with its status at most a few seconds later, whatever the
// plug-in does.
#pragma once

class BoundedTeardown {
public:
    /// Declared right after the QApplication, so that it is destroyed just before it.
    BoundedTeardown() = default;
    ~BoundedTeardown();
    BoundedTeardown(const BoundedTeardown&) = delete;
    BoundedTeardown& operator=(const BoundedTeardown&) = delete;

    /// The status the process ends with when the teardown does not finish in time.
    void SetStatus(int status) { m_status = status; }

private:
    int m_status = 0;
};
