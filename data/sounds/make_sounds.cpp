// Synthesises the game's six WAV files and the built-in default sound at build time.
//
// Usage: kelo_make_sounds OUTPUT_DIR DEFAULT_SOUND_PATH [DEFAULT_SOUND_SOURCE]
// Writes OUTPUT_DIR/Kelo1.wav .. Kelo6.wav and the default sound, 16-bit PCM mono at 44100 Hz,
// and, when asked, the default sound's bytes as a C++ source for the player to build in.
// Every sound is brought to the same loudness: the same loudest 50 ms RMS level (LoudnessTarget),
// silence counted in for sounds shorter than the window. The output is the same at every run.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "Sounds.h"
#include "WavFile.h"

namespace {

constexpr int SampleRate = 44100;
constexpr double LoudnessWindowSeconds = 0.050;
constexpr double LoudnessTarget = 0.125;  // about -18 dBFS
constexpr double PeakLimit = 0.9;         // the generator refuses to write anything louder
constexpr double TwoPi = 2.0 * std::numbers::pi;

using Samples = std::vector<double>;

std::size_t frames(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * SampleRate));
}
double timeOf(std::size_t i) {
    return static_cast<double>(i) / SampleRate;
}

// Rises from 0 to 1 over `rise` seconds along half a cosine, so a sound never starts with a step.
double rampUp(double t, double rise) {
    return t >= rise ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * t / rise);
}

// Brings the last `fall` seconds down to exactly zero, so a sound never ends with a step.
void fadeOut(Samples& s, double fall) {
    const std::size_t n = std::min(frames(fall), s.size());
    for (std::size_t k = 0; k < n; ++k) {
        const double x = static_cast<double>(k + 1) / static_cast<double>(n);  // 1/n .. 1
        s[s.size() - n + k] *= 0.5 + 0.5 * std::cos(std::numbers::pi * x);
    }
}

// A sine whose frequency glides exponentially from f0 to f1 over `glide` seconds, then stays at f1;
// its phase is summed sample by sample so the glide has no jumps.
struct Glide {
    double f0, f1, glide;
    double phase = 0.0;
    double next(double t) {
        const double f = t >= glide ? f1 : f0 * std::pow(f1 / f0, t / glide);
        const double v = std::sin(phase);
        phase += TwoPi * f / SampleRate;
        return v;
    }
};

// Seeded white noise in [-1, 1]; mt19937's raw output is specified by the standard, so the same
// seed gives the same noise everywhere.
struct Noise {
    std::mt19937 engine;
    explicit Noise(std::uint32_t seed) : engine(seed) {}
    double next() { return static_cast<double>(engine()) / 2147483647.5 - 1.0; }
};

// Chamberlin state-variable filter: a band-pass whose centre may move from sample to sample.
struct BandPass {
    double low = 0.0, band = 0.0;
    double next(double in, double centre, double damping) {
        const double f = 2.0 * std::sin(std::numbers::pi * centre / SampleRate);
        low += f * band;
        const double high = in - low - damping * band;
        band += f * high;
        return band;
    }
};

// One struck bell-like note: a few partials, the higher ones dying faster.
double bell(double t, double f, double decay) {
    if (t < 0.0)
        return 0.0;
    constexpr std::array<std::array<double, 3>, 4> partials{{
        // ratio, level, decay factor
        {1.0, 1.0, 1.0},
        {2.0, 0.35, 0.6},
        {3.01, 0.12, 0.4},
        {4.2, 0.05, 0.25},
    }};
    double v = 0.0;
    for (const auto& [ratio, level, speed] : partials)
        v += level * std::sin(TwoPi * f * ratio * t) * std::exp(-t / (decay * speed));
    return v * rampUp(t, 0.003);
}

Samples softClickDown() {
    Samples s(frames(0.070));
    Glide body{520.0, 300.0, 0.015};
    Noise noise(0x4b656c31u);
    double smooth = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        smooth += 0.25 * (noise.next() - smooth);  // a dull, low-passed tap
        s[i] = rampUp(t, 0.0015) *
               (body.next(t) * std::exp(-t / 0.012) + 0.6 * smooth * std::exp(-t / 0.0025));
    }
    fadeOut(s, 0.010);
    return s;
}

Samples lightClickUp() {
    Samples s(frames(0.050));
    Glide body{1400.0, 1000.0, 0.008};
    Noise noise(0x4b656c32u);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        s[i] = rampUp(t, 0.001) *
               (body.next(t) * std::exp(-t / 0.006) + 0.3 * noise.next() * std::exp(-t / 0.0015));
    }
    fadeOut(s, 0.008);
    return s;
}

Samples acceptedBlip() {
    Samples s(frames(0.130));
    Glide tone{1250.0, 1320.0, 0.010};
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        const double v = tone.next(t);
        s[i] = rampUp(t, 0.004) * (v + 0.2 * (2.0 * v * v - 1.0)) *
               std::exp(-t / 0.040);  // adds the octave
    }
    fadeOut(s, 0.020);
    return s;
}

Samples winChime() {
    Samples s(frames(0.900));
    constexpr std::array<double, 4> notes{1046.50, 1318.51, 1567.98, 2093.00};  // C E G C, rising
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        double v = 0.0;
        for (std::size_t n = 0; n < notes.size(); ++n) {
            const double start = 0.080 * static_cast<double>(n);
            const double decay = n + 1 == notes.size() ? 0.300 : 0.200;
            v += bell(t - start, notes[n], decay);
        }
        s[i] = v;
    }
    fadeOut(s, 0.120);
    return s;
}

Samples fallingPff() {
    Samples s(frames(0.420));
    Noise noise(0x4b656c35u);
    BandPass breath, narrower;  // two in a row, so the falling band stands out of the hiss
    Glide sigh{420.0, 140.0, 0.380};
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        const double centre = 3000.0 * std::pow(250.0 / 3000.0, t / 0.420);
        const double band = narrower.next(breath.next(noise.next(), centre, 0.5), centre, 0.5);
        const double v = band + 0.25 * sigh.next(t);
        s[i] = rampUp(t, 0.010) * v * std::exp(-t / 0.150);
    }
    fadeOut(s, 0.060);
    return s;
}

Samples farewell() {
    Samples s(frames(0.460));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        s[i] = bell(t, 783.99, 0.120) + bell(t - 0.150, 523.25, 0.180);  // G then the C below
    }
    fadeOut(s, 0.060);
    return s;
}

// Neutral on purpose: it stands in for any sound file that is missing or broken.
Samples defaultSound() {
    Samples s(frames(0.160));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        s[i] = rampUp(t, 0.005) * std::sin(TwoPi * 587.33 * t) * std::exp(-t / 0.045);
    }
    fadeOut(s, 0.020);
    return s;
}

double loudestWindowRms(const Samples& s) {
    const std::size_t window = frames(LoudnessWindowSeconds);
    double best = 0.0;
    double energy = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        energy += s[i] * s[i];
        if (i >= window)
            energy -= s[i - window] * s[i - window];
        best = std::max(best, energy);
    }
    return std::sqrt(best / static_cast<double>(window));
}

bool writeWav(const std::filesystem::path& path, Samples s, std::string* bytes = nullptr) {
    const double gain = LoudnessTarget / loudestWindowRms(s);
    double peak = 0.0;
    for (double& v : s) {
        v *= gain;
        peak = std::max(peak, std::abs(v));
    }
    if (peak >= PeakLimit) {
        std::fprintf(stderr, "%s: peak %.3f would be too close to full scale\n",
                     path.string().c_str(), peak);
        return false;
    }
    const std::string out = kelo::wavFile(s, SampleRate);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::fprintf(stderr, "%s: cannot write\n", path.string().c_str());
        return false;
    }
    if (bytes != nullptr)
        *bytes = out;
    return true;
}

bool writeSource(const std::filesystem::path& path, const std::string& bytes) {
    std::string text =
        "// The built-in default sound, written by kelo_make_sounds.\n"
        "#include \"DefaultSound.h\"\n\n"
        "namespace kelo {\n\nconst std::uint8_t DefaultSoundWav[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += i % 16 == 0 ? "\n    " : " ";
        text += std::to_string(static_cast<unsigned char>(bytes[i])) + ",";
    }
    text +=
        "\n};\nconst std::size_t DefaultSoundWavSize = sizeof DefaultSoundWav;\n\n}  // namespace "
        "kelo\n";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file) {
        std::fprintf(stderr, "%s: cannot write\n", path.string().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR DEFAULT_SOUND_PATH [DEFAULT_SOUND_SOURCE]\n",
                     argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const std::array<std::pair<const char*, std::function<Samples()>>, 6> sounds{{
        {kelo::SoundButtonDown, softClickDown},
        {kelo::SoundButtonUp, lightClickUp},
        {kelo::SoundGuessTaken, acceptedBlip},
        {kelo::SoundWon, winChime},
        {kelo::SoundCodeShown, fallingPff},
        {kelo::SoundClosing, farewell},
    }};
    bool ok = true;
    for (const auto& [name, make] : sounds)
        ok = writeWav(dir / name, make()) && ok;
    const std::filesystem::path fallback = argv[2];
    if (fallback.has_parent_path())
        std::filesystem::create_directories(fallback.parent_path(), ec);
    std::string defaultBytes;
    ok = writeWav(fallback, defaultSound(), &defaultBytes) && ok;
    if (argc == 4)
        ok = writeSource(argv[3], defaultBytes) && ok;
    return ok ? 0 : 1;
}
