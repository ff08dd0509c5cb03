#pragma once

#include "platform/Sound.hpp"
#include "ui/ActivityLog.hpp"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace zorlo {

// The bleep. The settings folder's own Bleep.WAV wins; an installed program
// finds the shipped one in the fallback places. What plays it (Qt Multimedia
// and the sound server's client) sits in a module that loads when the first
// bleep is due and the window is on screen: loading it takes longer than
// showing the window, and the window must not wait for a sound.
class QtSound : public Sound {
  public:
    // What plays the file: called once, when the first bleep is due; null
    // when nothing can play.
    using PlayerLoader = std::function<std::unique_ptr<Sound>()>;

    explicit QtSound(std::vector<std::filesystem::path> fallbacks = {},
                     ActivityLog& log = ActivityLog::none(), PlayerLoader loadPlayer = {});
    ~QtSound() override;
    void open(const std::filesystem::path& waveFile) override;
    void play() override;
    void close() override;
    // While held back, play() stays silent: a start that stays hidden has
    // nothing to announce.
    void holdBack(bool held) { heldBack_ = held; }
    // The console's first frame is on screen: a bleep that waited for it
    // plays as soon as the player has loaded, a turn of the event loop later.
    void windowOnScreen();

    // The file that open() settled on; empty when there is none.
    const std::filesystem::path& source() const { return source_; }

  private:
    void playWaiting();

    std::vector<std::filesystem::path> fallbacks_;
    ActivityLog& log_;
    PlayerLoader loadPlayer_;
    std::filesystem::path source_;
    std::unique_ptr<Sound> player_;
    bool playerOpen_ = false;
    bool loadTried_ = false;
    bool onScreen_ = false;
    bool waiting_ = false;
    bool heldBack_ = false;
    QObject lifetime_; // ends the deferred play with the sound
};

// The player from the first of the modules that offers one; null when none does.
std::unique_ptr<Sound> loadSoundModule(const std::vector<std::filesystem::path>& modules);

} // namespace zorlo
