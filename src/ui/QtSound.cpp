#include "ui/QtSound.hpp"

#include <QLibrary>
#include <QTimer>

#include <system_error>

namespace zorlo {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

QtSound::QtSound(std::vector<std::filesystem::path> fallbacks, ActivityLog& log,
                 PlayerLoader loadPlayer)
    : fallbacks_(std::move(fallbacks)), log_(log), loadPlayer_(std::move(loadPlayer)) {}

QtSound::~QtSound() = default;

void QtSound::open(const std::filesystem::path& waveFile) {
    close();
    source_.clear();
    if (isFile(waveFile)) {
        source_ = waveFile;
    } else {
        for (const auto& fallback : fallbacks_) {
            if (isFile(fallback)) {
                source_ = fallback;
                break;
            }
        }
    }
    // A player already loaded prepares the file now; otherwise the first
    // play does, once it has loaded one.
    if (player_ && !source_.empty()) {
        player_->open(source_);
        playerOpen_ = true;
    }
}

void QtSound::play() {
    if (heldBack_) {
        return;
    }
    log_.note("bleep");
    if (source_.empty()) {
        return;
    }
    if (playerOpen_) {
        player_->play();
        return;
    }
    waiting_ = true;
    if (onScreen_) {
        QTimer::singleShot(0, &lifetime_, [this] { playWaiting(); });
    }
}

void QtSound::windowOnScreen() {
    if (onScreen_) {
        return;
    }
    onScreen_ = true;
    if (waiting_) {
        // After the frame has gone out, not inside its paint.
        QTimer::singleShot(0, &lifetime_, [this] { playWaiting(); });
    }
}

void QtSound::playWaiting() {
    if (!waiting_) {
        return; // closed meanwhile, or played by an earlier turn
    }
    waiting_ = false;
    if (!loadTried_) {
        loadTried_ = true;
        if (loadPlayer_) {
            player_ = loadPlayer_();
        }
    }
    if (!player_ || source_.empty()) {
        return;
    }
    if (!playerOpen_) {
        player_->open(source_);
        playerOpen_ = true;
    }
    player_->play();
}

std::unique_ptr<Sound> loadSoundModule(const std::vector<std::filesystem::path>& modules) {
    for (const auto& module : modules) {
        if (!isFile(module)) {
            continue;
        }
        // Never unloaded: the player's code must stay while any of it may run.
        QLibrary library(QString::fromStdU16String(module.u16string()));
        using Make = Sound* (*)();
        if (const auto make = reinterpret_cast<Make>(library.resolve("zorlo_make_sound"))) {
            return std::unique_ptr<Sound>(make());
        }
    }
    return nullptr;
}

void QtSound::close() {
    waiting_ = false;
    playerOpen_ = false;
    if (player_) {
        player_->close();
    }
}

} // namespace zorlo
