#pragma once

#include "platform/Sound.hpp"
#include "platform/fake/FakeEvent.hpp"

namespace zorlo {

// Plays nothing; each bleep is recorded so that activations can be counted.
class FakeSound : public Sound {
  public:
    explicit FakeSound(FakeEventLog& log) : log_(log) {}
    void open(const std::filesystem::path& waveFile) override {
        waveFile_ = waveFile;
        open_ = true;
    }
    void play() override { log_.record("bleep"); }
    void close() override { open_ = false; }
    bool isOpen() const { return open_; }
    const std::filesystem::path& waveFile() const { return waveFile_; }

  private:
    FakeEventLog& log_;
    std::filesystem::path waveFile_;
    bool open_ = false;
};

} // namespace zorlo
