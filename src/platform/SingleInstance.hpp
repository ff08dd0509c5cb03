#pragma once

namespace zorlo {

// One console per settings folder. The first start for a folder holds it for
// as long as it runs; a later start hands that console one hotkey press and
// ends. How the first start takes the press in belongs to its front end's
// event loop (a callback on Linux, a message to the marked window on Windows),
// so each adapter offers that step itself.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;

    // Whether this start holds the folder and so runs the console.
    virtual bool isFirst() const = 0;
    // A later start: true once the folder's console has taken the press; false
    // when none took it within waitMs (the first start may still be loading).
    virtual bool toggleRunning(int waitMs) const = 0;
};

} // namespace zorlo
