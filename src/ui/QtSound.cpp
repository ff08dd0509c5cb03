#include "ui/QtSound.hpp"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <system_error>

namespace zorlo {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

QtSound::QtSound(std::vector<std::filesystem::path> fallbacks, ActivityLog& log)
    : fallbacks_(std::move(fallbacks)), log_(log) {}

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
    // Without a file or a device every play stays silent; activation goes on.
    if (source_.empty() || QMediaDevices::audioOutputs().isEmpty()) {
        return;
    }
    effect_ = std::make_unique<QSoundEffect>();
    effect_->setSource(QUrl::fromLocalFile(QString::fromStdU16String(source_.u16string())));
}

void QtSound::play() {
    if (heldBack_) {
        return;
    }
    log_.note("bleep");
    if (!effect_) {
        return;
    }
    effect_->stop();
    effect_->play();
}

void QtSound::close() {
    effect_.reset();
}

} // namespace zorlo
