#pragma once

namespace zorlo {

// Lets every pending window event run, then returns. May block briefly for the
// next event, never indefinitely (the 50 ms timer keeps events coming).
class EventPump {
  public:
    virtual ~EventPump() = default;
    virtual void doEvents() = 0;
    // For loops that wait on the user (the hotkey capture): like doEvents, but
    // may sleep until the next event arrives instead of spinning.
    virtual void waitForEvents() { doEvents(); }
};

} // namespace zorlo
