#pragma once

#include <filesystem>

namespace zorlo {

// The activation bleep. Fire and forget: a missing file or no audio device
// makes every call a silent no-op.
class Sound {
  public:
    virtual ~Sound() = default;
    virtual void open(const std::filesystem::path& waveFile) = 0; // prepare once
    virtual void play() = 0;                                      // rewind, then play
    virtual void close() = 0;
};

} // namespace zorlo
