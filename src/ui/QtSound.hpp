#pragma once

#include "platform/Sound.hpp"
#include "ui/ActivityLog.hpp"

#include <memory>
#include <vector>

class QSoundEffect;

namespace zorlo {

// The bleep through Qt Multimedia. The settings folder's own Bleep.WAV wins;
// an installed program finds the shipped one in the fallback places.
class QtSound : public Sound {
  public:
    explicit QtSound(std::vector<std::filesystem::path> fallbacks = {},
                     ActivityLog& log = ActivityLog::none());
    ~QtSound() override;
    void open(const std::filesystem::path& waveFile) override;
    void play() override;
    void close() override;
    // While held back, play() stays silent: a start that stays hidden has
    // nothing to announce.
    void holdBack(bool held) { heldBack_ = held; }

    // The file that open() settled on; empty when there is none.
    const std::filesystem::path& source() const { return source_; }

  private:
    std::vector<std::filesystem::path> fallbacks_;
    ActivityLog& log_;
    std::filesystem::path source_;
    std::unique_ptr<QSoundEffect> effect_;
    bool heldBack_ = false;
};

} // namespace zorlo
