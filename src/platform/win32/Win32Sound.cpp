#include "platform/win32/Win32Sound.hpp"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <mmsystem.h>

namespace zorlo::win32 {

namespace {

std::vector<unsigned char> readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
}

} // namespace

Win32Sound::Win32Sound(std::filesystem::path fallbackFolder)
    : fallbackFolder_(std::move(fallbackFolder)) {}

Win32Sound::~Win32Sound() {
    close();
}

void Win32Sound::open(const std::filesystem::path& waveFile) {
    close();
    wave_ = readWhole(waveFile);
    if (wave_.empty() && !fallbackFolder_.empty()) {
        wave_ = readWhole(fallbackFolder_ / waveFile.filename());
    }
}

void Win32Sound::play() {
    if (wave_.empty()) {
        return;
    }
    // SND_ASYNC replaces a bleep still playing, so every play starts from the beginning.
    PlaySoundW(reinterpret_cast<LPCWSTR>(wave_.data()), nullptr,
               SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

void Win32Sound::close() {
    if (!wave_.empty()) {
        // An asynchronous play reads from our buffer: stop it before the buffer goes.
        PlaySoundW(nullptr, nullptr, 0);
        wave_.clear();
    }
}

} // namespace zorlo::win32
