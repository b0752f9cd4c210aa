// The program's entry: the application, its one window and the event loop.
#include <QApplication>

#include "AppInfo.h"
#include "Form1.h"
#include "QtSoundPlayer.h"
#include "RandomSource.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kelo::app::applyApplicationInfo();
    kelo::QtSoundPlayer sound;
    kelo::ClockRandom random;
    kelo::Form1 form(sound, random);
    form.show();
    return QApplication::exec();
}
