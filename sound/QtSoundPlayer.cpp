// Plays the game's sounds with QSoundEffect; keeps Qt Multimedia's complaints about a missing
// sound service down to one console line for the whole run.
#include "QtSoundPlayer.h"

#include <QAudioFormat>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QWaveDecoder>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <limits>
#include <mutex>
#include <optional>

namespace kelo {
namespace {

// Qt Multimedia 6.4 writes its audio warnings on the default category ("PulseAudioService:
// pa_context_connect() failed", "No audio device detected", ...), one or more per sound loaded,
// so a machine without a sound server would fill the console. They are recognised by their
// text; the first one is let through with a note, the others are dropped.
QtMessageHandler previousHandler = nullptr;
std::atomic<bool> soundMessageShown{false};

bool isSoundServiceMessage(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type != QtWarningMsg && type != QtCriticalMsg)
        return false;
    if (context.category != nullptr &&
        std::string_view(context.category).starts_with("qt.multimedia"))
        return true;
    static constexpr std::array prefixes{"PulseAudioService", "QPulseAudio", "No audio device",
                                         "QSoundEffect",      "QAudioSink",  "QSampleCache"};
    return std::any_of(prefixes.begin(), prefixes.end(), [&](const char* prefix) {
        return message.startsWith(QLatin1String(prefix));
    });
}

void forward(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (previousHandler != nullptr)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void soundMessageFilter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!isSoundServiceMessage(type, context, message)) {
        forward(type, context, message);
        return;
    }
    if (soundMessageShown.exchange(true))
        return;
    forward(
        type, context,
        message + QStringLiteral(
                      " (the game's sounds may be silent; further sound messages are not shown)"));
}

void filterSoundMessages() {
    static std::once_flag installed;
    std::call_once(installed, [] { previousHandler = qInstallMessageHandler(soundMessageFilter); });
}

// The sound's length in ms from its WAV header and the bytes actually present, or -1 when
// QSoundEffect could not play it (the same decoder reads it there).
int waveDurationMs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QWaveDecoder decoder(&file);
    if (!decoder.open(QIODevice::ReadOnly))
        return -1;
    const QAudioFormat format = decoder.audioFormat();
    if (!format.isValid())
        return -1;
    const qint64 present = std::min(
        {decoder.size(), file.size() - file.pos(), qint64{std::numeric_limits<qint32>::max()}});
    const qint64 ms = format.durationForBytes(static_cast<qint32>(present)) / 1000;
    return ms > 0 ? static_cast<int>(ms) : -1;
}

// The named file in the working directory with its identity, without looking inside it.
std::optional<SoundSource> findFile(std::string_view fileName) {
    const QString name =
        QFile::decodeName(QByteArray(fileName.data(), static_cast<qsizetype>(fileName.size())));
    if (name.isEmpty())
        return std::nullopt;
    const QFileInfo info(QDir::current(), name);
    if (!info.isFile())
        return std::nullopt;
    SoundSource source;
    source.path = info.absoluteFilePath();
    source.isDefault = false;
    source.modified = info.lastModified().toMSecsSinceEpoch();
    source.size = info.size();
    return source;
}

const SoundSource& defaultSource() {
    static const SoundSource source = [] {
        SoundSource s;
        s.path = QString::fromLatin1(DefaultSoundResource);
        s.size = QFileInfo(s.path).size();
        s.durationMs = waveDurationMs(s.path);
        return s;
    }();
    return source;
}

// Qt keeps one decoded sound per URL for as long as an effect holds it, and the effects are
// never destroyed (below), so each version of a file gets a URL of its own; the fragment names
// the version and is not part of the file's path.
QUrl urlOf(const SoundSource& source) {
    if (source.isDefault)
        return QUrl(QStringLiteral("qrc") + source.path);
    QUrl url = QUrl::fromLocalFile(source.path);
    url.setFragment(QStringLiteral("%1-%2").arg(source.modified).arg(source.size));
    return url;
}

}  // namespace

SoundSource resolveSound(std::string_view fileName) {
    std::optional<SoundSource> file = findFile(fileName);
    if (!file)
        return defaultSource();
    file->durationMs = waveDurationMs(file->path);
    return file->durationMs > 0 ? *file : defaultSource();
}

QtSoundPlayer::QtSoundPlayer() = default;

// Qt 6.4's QSoundEffect destructor waits for the sample loader thread, which at times is never
// told to stop, so destroying an effect can freeze the game for good. No effect is ever
// destroyed: a replaced one is stopped and kept, and the player itself lives as long as the
// process, which ends without running destructors.
QtSoundPlayer::~QtSoundPlayer() {
    // Left to live on, silent and no longer calling back into this player.
    const auto keep = [](std::unique_ptr<QSoundEffect>& effect) {
        if (effect == nullptr)
            return;
        effect->disconnect();
        effect->stop();
        (void)effect.release();
    };
    for (auto& [path, entry] : files)
        keep(entry.effect);
    if (fallback)
        keep(fallback->effect);
    for (auto& effect : retired)
        keep(effect);
}

void QtSoundPlayer::play(std::string_view fileName, std::int32_t flags) {
    filterSoundMessages();
    Loaded* chosen = nullptr;
    if (std::optional<SoundSource> file = findFile(fileName)) {
        Loaded& entry = files[file->path];
        if (entry.source.path.isEmpty() || entry.source.modified != file->modified ||
            entry.source.size != file->size) {
            if (entry.effect.get() == current)
                current = nullptr;
            if (entry.effect) {
                entry.effect->stop();
                retired.push_back(std::move(entry.effect));
            }
            entry.source = *file;
            entry.source.durationMs = waveDurationMs(file->path);
            if (entry.source.durationMs > 0)
                entry.effect.reset(makeEffect(entry.source));
        }
        if (entry.effect)
            chosen = &entry;
    }
    if (chosen == nullptr)
        chosen = &defaultSound();
    last = chosen->source;
    start(chosen->effect.get());
    if ((flags & 1) == 0)
        waitForEnd(chosen->effect.get(), chosen->source.durationMs);
}

int QtSoundPlayer::playingCount() const {
    int count = fallback && fallback->effect->isPlaying() ? 1 : 0;
    for (const auto& [path, entry] : files)
        if (entry.effect && entry.effect->isPlaying())
            ++count;
    return count;
}

QtSoundPlayer::Loaded& QtSoundPlayer::defaultSound() {
    if (!fallback)
        fallback.reset(new Loaded{defaultSource(),
                                  std::unique_ptr<QSoundEffect>(makeEffect(defaultSource()))});
    return *fallback;
}

QSoundEffect* QtSoundPlayer::makeEffect(const SoundSource& source) {
    auto* effect = new QSoundEffect;
    effect->setSource(urlOf(source));
    ++loadCount;
    // A file that passed the header check can still fail to decode (or vanish before it is read).
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [this, effect] {
        if (effect->status() != QSoundEffect::Error || current != effect)
            return;
        Loaded& standIn = defaultSound();
        if (standIn.effect.get() == effect)
            return;
        last = standIn.source;
        start(standIn.effect.get());
    });
    return effect;
}

void QtSoundPlayer::start(QSoundEffect* effect) {
    if (current != nullptr && current != effect)
        current->stop();
    effect->stop();
    effect->play();
    current = effect;
}

// QSoundEffect's "playing" is no clock for the end: with PulseAudio it turns false as soon as a
// short sound is handed over, sometimes only much later for a long one, and without a sound server
// never. So the wait lasts at least the sound's length, then until QSoundEffect agrees it has
// stopped, but never beyond the margin.
void QtSoundPlayer::waitForEnd(QSoundEffect* effect, int durationMs) {
    if (!effect->isPlaying())
        return;
    QEventLoop loop;
    bool lengthPassed = false;
    QTimer length, limit;
    for (QTimer* timer : {&length, &limit}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    QObject::connect(&length, &QTimer::timeout, &loop, [&] {
        lengthPassed = true;
        if (!effect->isPlaying())
            loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (lengthPassed && !effect->isPlaying())
            loop.quit();
    });
    length.start(durationMs);
    limit.start(durationMs + SyncMarginMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace kelo
