// The bleep through Qt Multimedia, in a module of its own: the library and the
// sound server's client that it brings load only when the first bleep plays,
// after the console's window is on screen.
#include "platform/Sound.hpp"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <cstdio>
#include <memory>

namespace {

QtMessageHandler previousHandler = nullptr;

// Without a sound server the PulseAudio client says so on standard error at
// every start; a console without sound just stays silent, which tells the
// user nothing they need.
void quietAboutNoServer(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("PulseAudioService:"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

bool anyOutput() {
    previousHandler = qInstallMessageHandler(quietAboutNoServer);
    const bool any = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previousHandler);
    return any;
}

class EffectSound final : public zorlo::Sound {
  public:
    void open(const std::filesystem::path& waveFile) override {
        close();
        // Without a device every play stays silent; activation goes on.
        if (!anyOutput()) {
            return;
        }
        effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl::fromLocalFile(QString::fromStdU16String(waveFile.u16string())));
    }
    void play() override {
        if (effect_) {
            effect_->stop();
            effect_->play();
        }
    }
    void close() override { effect_.reset(); }

  private:
    std::unique_ptr<QSoundEffect> effect_;
};

} // namespace

extern "C" Q_DECL_EXPORT zorlo::Sound* zorlo_make_sound() {
    return new EffectSound;
}
