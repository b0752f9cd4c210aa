// The program's entry: the application, its one window and the event loop.
#include <QApplication>
#include <cstdlib>

#include "AppInfo.h"
#include "DestroyedClose.h"
#include "Form1.h"
#include "LazySoundPlayer.h"
#include "RandomSource.h"
#include "SignalClose.h"

namespace {

// Qt 6.4 ends the process with exit(1) when it loses the X display: the window is still whole
// then (exit() unwinds no stack), so its position and length are saved on the way out.
kelo::Form1* windowAtExit = nullptr;

void saveAtExit() {
    if (windowAtExit != nullptr)
        windowAtExit->saveSettingsNow();
}

}  // namespace

int main(int argc, char* argv[]) {
    kelo::app::choosePlatform();
    kelo::app::noSessionBusAutolaunch();
    QApplication app(argc, argv);
    kelo::app::applyDesktopFileName();
    kelo::LazySoundPlayer sound(
        (QCoreApplication::applicationDirPath() + '/' + kelo::SoundModuleName).toStdString());
    kelo::ClockRandom random;
    kelo::Form1 form(sound, random);
    const kelo::SignalClose closeOnSignal(form);
    const kelo::DestroyedClose closeWhenDestroyed(form);
    windowAtExit = &form;
    std::atexit(saveAtExit);
    // What the first paint can do without comes after it, before the player's first click.
    QObject::connect(&form, &kelo::Form1::firstGameShown, &app, [&sound] {
        kelo::app::applyApplicationInfo();
        sound.load();
    });
    form.show();
    const int status = QApplication::exec();
    windowAtExit = nullptr;
    return status;
}
