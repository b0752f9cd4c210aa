// Form1: the window built from the layout tables, with its events connected to the rules.
#include "Form1.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <chrono>
#include <utility>
#include <vector>

#include "AppInfo.h"
#include "DigitShortcuts.h"
#include "FocusStyle.h"
#include "FormInput.h"
#include "Layout.h"
#include "Lifecycle.h"
#include "OutcomeText.h"
#include "ValueLabel.h"

namespace kelo {
namespace {

// The window is a frame to screen readers, which read its title as the program's: a plain
// widget would be a filler with no title to tell.
QAccessibleInterface* frameFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(Form1::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

// A window that is shown but never activated starts its first game after this, well within the
// second a player waits before wondering.
constexpr std::chrono::milliseconds FirstGameWithoutActivation{500};

}  // namespace

Form1::Form1(SoundPlayer& sound, RandomSource& random, QWidget* parent)
    : QWidget(parent),
      sound_(sound),
      board_(controls_),
      game_(board_, sound, random),
      announcer_(this),
      endProcess_(endProcessNow) {
    ValueLabel::registerAccessibility();
    static const bool frameRole = [] {
        QAccessible::installFactory(frameFactory);
        return true;
    }();
    Q_UNUSED(frameRole);
    focusStyle_ = new FocusStyle;
    focusStyle_->setParent(this);
    build::styleForm(*this);
    controls_ = build::controls(*this, focusStyle_);
    build::layFrames(*this, controls_);
    connectEvents();
    firstGameTimer_.setSingleShot(true);
    connect(&firstGameTimer_, &QTimer::timeout, this, &Form1::whenFirstGameShown);
    Form_Load();
}

void Form1::connectEvents() {
    // Command3ch_Click, Command4ch_Click, Command5ch_Click, and their Alt+3, Alt+4 and Alt+5 by
    // the top-row key's place as well.
    std::vector<DigitShortcuts::Row> digits;
    for (int n = MinLength; n <= MaxLength; ++n) {
        QPushButton* button = lengthButton(controls_, n);
        connect(button, &QPushButton::clicked, this,
                [this, n] { act([this, n] { game_.CommandCh_Click(n); }); });
        digits.push_back({n, button});
    }
    new DigitShortcuts(*this, std::move(digits));
    connect(controls_.Commandv, &QPushButton::clicked, this,
            [this] { act([this] { game_.Commandv_Click(); }); });
    connect(controls_.Commandmoins, &QPushButton::clicked, this,
            [this] { act([this] { game_.Commandmoins_Click(); }); });
    connect(controls_.Commandplus, &QPushButton::clicked, this,
            [this] { act([this] { game_.Commandplus_Click(); }); });
    new FormInput(this, controls_, game_, sound_,
                  [this](const std::function<void()>& run) { act(run); });
    auto* reread = new QShortcut(QKeySequence(toQString(layout::RereadKeys)), this);
    connect(reread, &QShortcut::activated, this, [this] { act([this] { game_.rereadBoard(); }); });
}

void Form1::act(const std::function<void()>& run) {
    board_.holdFocus();
    run();
    announcer_.announce(outcomeText(game_.outcome()));
    board_.releaseFocus();
}

ValueLabel* Form1::cell(Column column, int row) const {
    return controls_.cell(column, row);
}

void Form1::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    build::drawFrames(*this, painter, event->rect(), false);
}

bool Form1::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Only the first activation starts the game; coming back from another program does not.
    if (event->type() == QEvent::WindowActivate)
        firstActivation();
    // The first paint after the activation has just reached the screen: the window is ready, and
    // what it could do without (decoding the icon) runs now rather than delay that paint. A window
    // manager or compositor that shows the window without activating it gets the same, and its
    // first game, a moment later.
    if (event->type() == QEvent::UpdateRequest && activated_ && !firstGameShown_) {
        firstGameTimer_.start(0);
    } else if (event->type() == QEvent::Show && !firstGameShown_) {
        firstGameTimer_.start(FirstGameWithoutActivation);
    }
    return handled;
}

void Form1::firstActivation() {
    if (activated_)
        return;
    activated_ = true;
    keepFrameOnScreen();
    act([this] { game_.Form_Activate(); });
}

void Form1::whenFirstGameShown() {
    if (firstGameShown_)
        return;
    firstActivation();
    firstGameShown_ = true;
    setWindowIcon(app::icon());
    emit firstGameShown();
}

}  // namespace kelo
