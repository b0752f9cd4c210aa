// A private sound server with a null sink, a recorder on its monitor and the bursts of sound
// found in the recording: how the tests and the benchmark hear what the game plays.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <cmath>
#include <csignal>
#include <numbers>
#include <vector>

namespace kelo::test {

inline constexpr int RecordRate = 8000;  // mono, enough for tones below 4 kHz

// A private sound server with a null sink "kelo", in a temporary folder of its own and stopped
// by its processes' ids: PulseAudio, or PipeWire serving PulseAudio's protocol too, with
// WirePlumber, on a DBus of their own. `error` is empty when it answers; `env` is for a client of
// it, and PulseAudio's PULSE_SERVER also points this process's sound clients at it.
class SoundServer {
  public:
    enum Kind { PulseAudio, PipeWire };

    explicit SoundServer(Kind kind = PulseAudio) {
        env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
            env.insert(QLatin1String(name), dir_.path());
        const QString socket = dir_.filePath(QStringLiteral("pulse/native"));
        address = QStringLiteral("unix:") + socket;
        env.insert(QStringLiteral("PULSE_SERVER"), address);
        const QStringList pactl = {QStringLiteral("pactl"), QStringLiteral("info")};
        if (kind == PulseAudio) {
            // The server unpacked from its package (installing it enables its services), or an
            // installed one.
            const QStringList server = soundServers(QStringLiteral("pulseaudio"));
            steps_ = {{server.value(0, QStringLiteral("pulseaudio")),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                        QStringLiteral("--system=no"), QStringLiteral("--exit-idle-time=-1"),
                        QStringLiteral("--disable-shm=yes"),
                        QStringLiteral("--load=module-null-sink sink_name=kelo"),
                        QStringLiteral("--load=module-suspend-on-idle timeout=1"),
                        QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 "
                                       "socket=") +
                            socket},
                       pactl}};
            steps_[0].arguments = server.mid(1) + steps_[0].arguments;
            env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir_.filePath(QStringLiteral("run")));
            qputenv("PULSE_SERVER", address.toUtf8());
        } else {
            // PipeWire's binary on a configuration of this folder's, with its PulseAudio
            // protocol module; WirePlumber links the streams, with no device of the machine's.
            const QString root = wirePlumberRoot(), share = root + "/usr/share/wireplumber";
            steps_ = {{QStringLiteral("pipewire"), {"-c", dir_.filePath("pipewire.conf")}, pactl},
                      {root + "/usr/bin/wireplumber",
                       {},
                       {root + "/usr/bin/wpctl", "inspect", "@DEFAULT_AUDIO_SINK@"}}};
            writeFile("pipewire.conf", PipeWireConf.arg(socket).toUtf8());
            const QString conf = dir_.filePath("wireplumber");
            for (QDirIterator it(share, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
                const QString to = conf + it.next().mid(share.size());
                QDir().mkpath(QFileInfo(to).path());
                QFile::copy(it.filePath(), to);
            }
            writeFile("wireplumber/main.lua.d/99-kelo.lua",
                      "for _, m in ipairs({alsa_monitor, libcamera_monitor, v4l2_monitor}) do\n"
                      "  m.enabled = false\nend\n");
            writeFile("wireplumber/bluetooth.lua.d/99-kelo.lua", "bluez_monitor.enabled = false\n");
            env.insert("WIREPLUMBER_CONFIG_DIR", conf);
            env.insert("WIREPLUMBER_DATA_DIR", share);
        }
        for (const Step& step : steps_)
            if (QStandardPaths::findExecutable(step.program).isEmpty())
                error = step.program + QStringLiteral(" is not installed");
        QDir(dir_.path()).mkpath(QStringLiteral("pulse"));
        if (!error.isEmpty())
            return;
        if (kind == PipeWire) {
            const QString bus = dir_.filePath(QStringLiteral("bus"));
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=") + bus);
            bus_.setStandardOutputFile(QProcess::nullDevice());
            bus_.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--address=unix:path=") + bus});
            for (int i = 0; i < 50 && !QFileInfo::exists(bus); ++i)
                QThread::msleep(100);
        }
        start();
    }
    ~SoundServer() {
        resume();
        for (QProcess* p : {&services_[1], &services_[0], &bus_}) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(3000);
        }
    }
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    void pause() { ::kill(static_cast<pid_t>(services_[0].processId()), SIGSTOP); }
    void resume() { ::kill(static_cast<pid_t>(services_[0].processId()), SIGCONT); }
    // Every service ends as a crash would end it, and new ones start in the same folder.
    void restart() {
        for (QProcess& service : services_) {
            if (service.state() != QProcess::NotRunning)
                ::kill(static_cast<pid_t>(service.processId()), SIGKILL);
            service.waitForFinished(3000);
        }
        start();
    }

    QString error;
    QString address;
    QProcessEnvironment env;

  private:
    struct Step {
        QString program;
        QStringList arguments;
        QStringList check;  // a command that succeeds once the service answers
    };

    // Each service once the one before answers; one that came too early and gave up, again.
    void start() {
        for (std::size_t i = 0; i < steps_.size(); ++i) {
            QProcess& service = services_[i];
            service.setProcessEnvironment(env);
            service.setStandardOutputFile(QProcess::nullDevice());
            service.setStandardErrorFile(QProcess::nullDevice());
            for (int tries = 0;; ++tries) {  // up to 10 s
                if (tries == 100) {
                    error = steps_[i].program + QStringLiteral(" did not answer");
                    return;
                }
                if (service.state() == QProcess::NotRunning) {
                    service.start(steps_[i].program, steps_[i].arguments);
                    service.waitForStarted(5000);
                }
                QProcess check;
                check.setProcessEnvironment(env);
                check.start(steps_[i].check.front(), steps_[i].check.mid(1));
                if (check.waitForFinished(2000) && check.exitStatus() == QProcess::NormalExit &&
                    check.exitCode() == 0)
                    break;
                QThread::msleep(100);
            }
        }
    }

    // What tools/sound-servers.sh prints for a request, a line a word.
    static QStringList soundServers(const QString& request) {
        QProcess script;
        script.start(QStringLiteral("bash"), {QStringLiteral(KELO_SOUND_SERVERS), request});
        script.waitForFinished();
        return QString::fromUtf8(script.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
    // The root of WirePlumber unpacked by that script, or "" for the installed one.
    static QString wirePlumberRoot() {
        const QString root = soundServers(QStringLiteral("root")).value(0) + "/wireplumber";
        return QFileInfo(root + "/usr/bin/wireplumber").isExecutable() ? root : QString();
    }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(dir_.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    static inline const QString PipeWireConf = QStringLiteral(R"(
context.properties = { core.daemon = true core.name = pipewire-0 }
context.spa-libs = { audio.convert.* = audioconvert/libspa-audioconvert
                     support.* = support/libspa-support }
context.modules = [
  { name = libpipewire-module-protocol-native } { name = libpipewire-module-metadata }
  { name = libpipewire-module-spa-node-factory } { name = libpipewire-module-client-node }
  { name = libpipewire-module-client-device } { name = libpipewire-module-access }
  { name = libpipewire-module-adapter } { name = libpipewire-module-link-factory }
  { name = libpipewire-module-session-manager }
  { name = libpipewire-module-protocol-pulse args = { server.address = [ "unix:%1" ] } } ]
context.objects = [
  { factory = spa-node-factory args = { factory.name = support.node.driver
    node.name = Dummy-Driver node.group = pipewire.dummy priority.driver = 20000 } }
  { factory = adapter args = { factory.name = support.null-audio-sink node.name = kelo
    media.class = Audio/Sink audio.position = [ FL FR ] } } ]
)");

    QTemporaryDir dir_;
    std::vector<Step> steps_;
    QProcess services_[2];
    QProcess bus_;
};

// Records the null sink's monitor from the end of start() to stop(); sample 0 is some moment
// close to that, so only distances between sounds can be read from it.
class Recorder {
  public:
    void start(const QString& server = {}) {
        if (!server.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("PULSE_SERVER"), server);
            parec_.setProcessEnvironment(env);
        }
        parec_.setStandardOutputFile(
            dir_.filePath(QStringLiteral("monitor.raw")));  // a pipe would fill while no one reads
        parec_.start(
            QStringLiteral("parec"),
            {QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
             QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10"),
             QStringLiteral("--rate=%1").arg(RecordRate), QStringLiteral("--device=kelo.monitor")});
        parec_.waitForStarted();
        // The first samples can take a second or two to come, and come with up to a few seconds
        // of what the sink played before; from then on it records steadily.
        const QString file = dir_.filePath(QStringLiteral("monitor.raw"));
        for (int i = 0; i < 200 && QFileInfo(file).size() == 0; ++i)
            QThread::msleep(50);
        QThread::msleep(200);
        skipped_ = QFileInfo(file).size() & ~qint64{1};
        QThread::msleep(100);  // so nothing asked for after start() is heard at sample 0
    }
    // Mono samples in -1..1.
    std::vector<double> stop() {
        parec_.terminate();
        parec_.waitForFinished(3000);
        QFile file(dir_.filePath(QStringLiteral("monitor.raw")));
        const QByteArray raw =
            file.open(QIODevice::ReadOnly) ? file.readAll().mid(skipped_) : QByteArray();
        std::vector<double> samples(static_cast<std::size_t>(raw.size()) / 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const auto lo = static_cast<unsigned char>(raw[static_cast<qsizetype>(2 * i)]);
            const auto hi = static_cast<unsigned char>(raw[static_cast<qsizetype>(2 * i + 1)]);
            samples[i] = static_cast<std::int16_t>(lo | (hi << 8)) / 32768.0;
        }
        return samples;
    }

  private:
    QTemporaryDir dir_;
    QProcess parec_;
    qint64 skipped_ = 0;
};

struct Burst {
    double startMs;
    double endMs;
};

// Runs of sound louder than -40 dBFS, in 10 ms windows every 5 ms; with `hz`, only that
// frequency counts (Goertzel). Gaps under 80 ms are bridged, since a busy machine can starve the
// mixer's thread and break a sound up; runs under 20 ms are dropped.
inline std::vector<Burst> bursts(const std::vector<double>& samples, double hz = 0) {
    constexpr std::size_t Window = RecordRate / 100;
    constexpr std::size_t Hop = Window / 2;
    constexpr double HopMs = 1000.0 * Hop / RecordRate;
    std::vector<Burst> found;
    for (std::size_t at = 0; at + Window <= samples.size(); at += Hop) {
        double level = 0;
        if (hz == 0) {
            for (std::size_t i = at; i < at + Window; ++i)
                level += samples[i] * samples[i];
            level = std::sqrt(level / Window);
        } else {
            const double k = 2 * std::cos(2 * std::numbers::pi * hz / RecordRate);
            double s1 = 0, s2 = 0;
            for (std::size_t i = at; i < at + Window; ++i) {
                const double s0 = samples[i] + k * s1 - s2;
                s2 = s1;
                s1 = s0;
            }
            level = std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - k * s1 * s2)) * std::sqrt(2.0) /
                    Window;  // the tone's RMS
        }
        if (level < 0.01)
            continue;
        const double ms = static_cast<double>(at) * HopMs / Hop;
        if (!found.empty() && ms - found.back().endMs < 80)
            found.back().endMs = ms + HopMs;
        else
            found.push_back({ms, ms + HopMs});
    }
    // One already under way at sample 0 began before the recording: it is not counted.
    std::erase_if(found, [](const Burst& b) { return b.startMs == 0 || b.endMs - b.startMs < 20; });
    return found;
}

// "start-end" in ms for each burst, for a failure's message.
inline QString describe(const std::vector<Burst>& heard) {
    QString text = QStringLiteral("heard:");
    for (const Burst& b : heard)
        text += QStringLiteral(" %1-%2").arg(b.startMs, 0, 'f', 0).arg(b.endMs, 0, 'f', 0);
    return text;
}

}  // namespace kelo::test
