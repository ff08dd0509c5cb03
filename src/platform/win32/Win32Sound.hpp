#pragma once

#include "platform/Sound.hpp"

#include <filesystem>
#include <vector>

namespace zorlo::win32 {

// The bleep, read into memory once and played from there with PlaySoundW, so
// an activation never waits for the disk.
class Win32Sound : public Sound {
  public:
    // Where to look when the wave file is not in the settings folder: an
    // installed program keeps its settings per user but ships the sound beside
    // the executable.
    explicit Win32Sound(std::filesystem::path fallbackFolder = {});
    ~Win32Sound() override;
    Win32Sound(const Win32Sound&) = delete;
    Win32Sound& operator=(const Win32Sound&) = delete;

    void open(const std::filesystem::path& waveFile) override;
    void play() override;
    void close() override;

    bool loaded() const { return !wave_.empty(); }

  private:
    std::filesystem::path fallbackFolder_;
    std::vector<unsigned char> wave_;
};

} // namespace zorlo::win32
