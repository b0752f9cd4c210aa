// Files put where the game looks for Kelo1.wav that are not what a game's sound should be: other
// formats, lying or cut headers, and audio too long. Built byte by byte, so nothing is taken from
// elsewhere; those in another format are valid, so a player that decodes them would play them.
#pragma once

#include <QByteArray>
#include <QString>
#include <cmath>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "WavFile.h"

namespace kelo::test {

inline constexpr double HostileToneHz = 1800;  // far from the default sound's

// 8-bit mono PCM of a tone at HostileToneHz; `declared` replaces the data chunk's size.
inline QByteArray hostileWav(int rate, double seconds, quint32 declared = 0) {
    std::vector<double> tone;
    for (int i = 0; i < int(rate * seconds); ++i)
        tone.push_back(60.0 / 127 * std::sin(2 * std::numbers::pi * HostileToneHz * i / rate));
    return QByteArray::fromStdString(kelo::wavFile(tone, rate, 8, declared));
}

// FLAC of 3 minutes of silence at 44.1 kHz, one constant subframe per block of 4096 samples.
inline QByteArray hostileFlac() {
    constexpr quint64 Frames = 1938, Block = 4096;
    QByteArray flac = QByteArray("fLaC\x80\0\0\x22\x10\0\x10\0", 12) + QByteArray(6, 0);
    const quint64 info = (44100ULL << 44U) | (15ULL << 36U) | (Frames * Block);
    for (int shift = 56; shift >= 0; shift -= 8)
        flac.append(char((info >> unsigned(shift)) & 0xffU));
    flac += QByteArray(16, 0);  // no MD5
    for (quint64 n = 0; n < Frames; ++n) {
        QByteArray frame("\xff\xf8\xc9\x08", 4);
        if (n < 128)
            frame.append(char(n));
        else
            frame.append(char(0xc0 | (n >> 6U))).append(char(0x80 | (n & 63U)));
        unsigned crc8 = 0;
        for (char c : frame) {
            crc8 ^= quint8(c);
            for (int bit = 0; bit < 8; ++bit)
                crc8 = ((crc8 & 0x80U) != 0 ? (crc8 << 1U) ^ 0x07U : crc8 << 1U) & 0xffU;
        }
        frame.append(char(crc8)).append(QByteArray(3, 0));  // constant subframe of 0
        unsigned crc16 = 0;
        for (char c : frame) {
            crc16 ^= unsigned{quint8(c)} << 8U;
            for (int bit = 0; bit < 8; ++bit)
                crc16 = ((crc16 & 0x8000U) != 0 ? (crc16 << 1U) ^ 0x8005U : crc16 << 1U) & 0xffffU;
        }
        flac += frame + char(crc16 >> 8U) + char(crc16 & 0xffU);
    }
    return flac;
}

struct HostileSound {
    const char* name;
    QByteArray bytes;
    bool playsTone;  // what is there is heard; otherwise the default sound
};

inline std::vector<HostileSound> hostileSounds() {
    // A 5-minute note in a standard MIDI file: 192 ticks a second at the default tempo.
    const QByteArray midi(
        "MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x0e\0\x90\x3c\x64\x83\xc2\0"
        "\x80\x3c\0\0\xff\x2f\0",
        36);
    return {{"FLAC, 3 minutes of silence", hostileFlac(), false},
            {"MIDI, a 5-minute note", midi, false},
            {"WAV claiming 4 GiB", hostileWav(8000, 0.3, 0xfffffff0U), true},
            {"WAV cut in its header", hostileWav(8000, 0.3).left(30), false},
            {"empty file", QByteArray(), false},
            {"WAV of 31 seconds", hostileWav(8000, 31), false}};
}

// The process's peak resident memory in MB.
inline double peakRssMb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

}  // namespace kelo::test
