// The seed of a random test: KELO_SEED=<n> replays a run, otherwise each run draws its own.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <random>

namespace kelo::test {

inline unsigned testSeed() {
    const QByteArray given = qgetenv("KELO_SEED");
    return given.isEmpty() ? std::random_device{}() : given.toUInt();
}

}  // namespace kelo::test
