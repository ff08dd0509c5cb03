// Writes the console's activation sound, a short two-tone bleep, as a 16-bit
// mono PCM wave file. Made at build time so that the sound is our own.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <numbers>
#include <vector>

namespace {

constexpr std::uint32_t kRate = 22050;
constexpr double kFirstHz = 880.0;
constexpr double kSecondHz = 1320.0;
constexpr double kToneSeconds = 0.06;
constexpr double kFadeSeconds = 0.008;
constexpr double kLoudness = 0.45;

void put16(std::ofstream& out, std::uint16_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xff), static_cast<char>(value >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t value) {
    put16(out, static_cast<std::uint16_t>(value & 0xffff));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

void addTone(std::vector<std::int16_t>& samples, double hz) {
    const auto count = static_cast<std::size_t>(kRate * kToneSeconds);
    const auto fade = static_cast<std::size_t>(kRate * kFadeSeconds);
    for (std::size_t i = 0; i < count; ++i) {
        // Soft edges keep the speaker from clicking.
        const double edge = std::min({1.0, static_cast<double>(i) / static_cast<double>(fade),
                                      static_cast<double>(count - i) / static_cast<double>(fade)});
        const double value = std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / kRate);
        samples.push_back(static_cast<std::int16_t>(value * edge * kLoudness * 32767.0));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: make_bleep OUTPUT.WAV\n";
        return 2;
    }
    std::vector<std::int16_t> samples;
    addTone(samples, kFirstHz);
    addTone(samples, kSecondHz);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);

    std::ofstream out(argv[1], std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);        // format chunk size
    put16(out, 1);         // PCM
    put16(out, 1);         // mono
    put32(out, kRate);     // samples per second
    put32(out, kRate * 2); // bytes per second
    put16(out, 2);         // bytes per frame
    put16(out, 16);        // bits per sample
    out.write("data", 4);
    put32(out, dataBytes);
    for (const std::int16_t sample : samples) {
        put16(out, static_cast<std::uint16_t>(sample));
    }
    if (!out) {
        std::cerr << "make_bleep: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
