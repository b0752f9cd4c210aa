// The yardstick for the game's start-up: a bare Qt window with a label, a line edit and a button.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

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
    window.show();
    return QApplication::exec();
}
