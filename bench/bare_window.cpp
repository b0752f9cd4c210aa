// The yardstick for the game's start-up: a bare Qt window with a label, a line edit and a button.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#ifdef BARE_WITH_MULTIMEDIA
#include <QSoundEffect>
#include <QUrl>
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(262, 382);
    auto* label = new QLabel(QStringLiteral("Bare"), &window);
    label->setGeometry(20, 20, 100, 20);
    // The launch benchmark waits for this box's white to reach the screen.
    auto* edit = new QLineEdit(&window);
    edit->setGeometry(20, 50, 100, 30);
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    button->setGeometry(20, 100, 60, 40);
#ifdef BARE_WITH_MULTIMEDIA
    // Loads Qt Multimedia as the game does by the end of a game: one effect, played once.
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(QStringLiteral("Kelo1.wav")));
    effect.play();
#endif
    window.show();
    return QApplication::exec();
}
