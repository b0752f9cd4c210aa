// Form1: builds the window from the layout tables and connects its events to the rules.
#include "Form1.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyleOptionFrame>
#include <algorithm>
#include <limits>
#include <utility>

#include "AppInfo.h"
#include "DigitShortcuts.h"
#include "FocusStyle.h"
#include "FormLook.h"
#include "Layout.h"
#include "Lifecycle.h"
#include "OutcomeText.h"
#include "Sounds.h"
#include "ValueLabel.h"

namespace kelo {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect toPixels(const layout::Twips& t) {
    constexpr int k = layout::TwipsPerPixel;
    return {t.left / k, t.top / k, t.width / k, t.height / k};
}

QColor toColor(const layout::Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

Qt::Alignment toAlignment(layout::Align align) {
    return (align == layout::Align::Left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
}

QFont makeFont(const layout::FontStyle& style) {
    // Where the face itself is missing: Liberation Sans, narrow enough for a five-digit guess in
    // the entry box, then whatever sans-serif the desktop has.
    static const bool substituted = [] {
        QFont::insertSubstitutions(toQString(layout::FontFamily),
                                   {QStringLiteral("Liberation Sans"),
                                    QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(toQString(layout::FontFamily));
    if (!style.standIn.empty())
        font.setFamilies({toQString(layout::FontFamily), toQString(style.standIn)});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(look::fontPixels(style.points));
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    return font;
}

void setColours(QWidget* widget, const layout::Colours& colours, QPalette::ColorRole background,
                QPalette::ColorRole text) {
    QPalette palette = widget->palette();
    palette.setColor(background, toColor(colours.background));
    palette.setColor(text, toColor(colours.text));
    widget->setPalette(palette);
}

// Opaque, optionally sunken; without colours of its own it takes the platform's button colours.
void styleLabel(ValueLabel* label, const std::optional<layout::Colours>& colours, bool border) {
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    if (border) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
    }
    if (colours) {
        setColours(label, *colours, QPalette::Window, QPalette::WindowText);
    } else {
        label->setBackgroundRole(QPalette::Button);
        label->setForegroundRole(QPalette::ButtonText);
    }
}

constexpr std::int16_t KeyEnter = 13;

// A window that is shown but never activated starts its first game after this, well within the
// second a player waits before wondering.
constexpr std::chrono::milliseconds FirstGameWithoutActivation{500};

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

constexpr float toTwips(int pixels) {
    return static_cast<float>(pixels * layout::TwipsPerPixel);
}

TwipsSize toTwips(const QSize& size) {
    return {toTwips(size.width()), toTwips(size.height())};
}

// The settings and the placement speak of the primary screen's full size, taskbars included.
TwipsSize screenTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? toTwips(screen->geometry().size()) : TwipsSize{};
}

}  // namespace

Form1::Form1(SoundPlayer& sound, RandomSource& random, QWidget* parent)
    : QWidget(parent),
      sound_(sound),
      game_(*this, sound, random),
      announcer_(this),
      endProcess_(endProcessNow) {
    ValueLabel::registerAccessibility();
    focusStyle_ = new FocusStyle;
    focusStyle_->setParent(this);
    setObjectName(toQString(layout::Form.name));
    setWindowTitle(toQString(layout::Form.caption));
    setFixedSize(layout::Form.clientWidth / layout::TwipsPerPixel,
                 layout::Form.clientHeight / layout::TwipsPerPixel);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toColor(layout::Form.background));
    look::fixEdgeColours(palette);
    setPalette(palette);
    setAutoFillBackground(true);

    buildControls();
    buildCells();
    buildFrames();
    connectEvents();
    firstGameTimer_.setSingleShot(true);
    connect(&firstGameTimer_, &QTimer::timeout, this, &Form1::whenFirstGameShown);
    Form_Load();
}

void Form1::setCloseServices(PauseClocks& clocks, std::function<void(int)> endProcess) {
    clocks_ = &clocks;
    endProcess_ = std::move(endProcess);
}

// Before the first show the window manager has not framed the window yet, so the outer size is
// taken to be the client size; move() places the frame's corner once there is one.
void Form1::Form_Load() {
    const LoadedPlace placed = loadPlace(game_.state(), toTwips(size()), screenTwips());
    placedFromFile_ = placed.fromFile;
    moveFrameTo(placed.at);
}

void Form1::moveFrameTo(TwipsPoint at) {
    constexpr auto perPixel = static_cast<float>(layout::TwipsPerPixel);
    move(qRound(at.left / perPixel), qRound(at.top / perPixel));
}

// The load step kept the window on the screen by its client size; once framed, the frame's border
// and title bar could still stick out past the right or bottom edge, so the same four tests run
// again on the outer size. The centred fallback is left as it is, as the load step leaves it.
void Form1::keepFrameOnScreen() {
    if (!placedFromFile_ || isMinimized() || isMaximized() || isFullScreen())
        return;
    const QRect frame = frameGeometry();
    const TwipsPoint now{toTwips(frame.left()), toTwips(frame.top())};
    const TwipsPoint kept = keepOnScreen(now, toTwips(frame.size()), screenTwips());
    if (!(kept == now))
        moveFrameTo(kept);
}

void Form1::Form_Unload() {
    ClosingWindow window;
    if (isMinimized()) {
        window.state = WindowState::Minimized;
    } else if (isMaximized() || isFullScreen()) {
        window.state = WindowState::Maximized;
    }
    // Qt 6.4 has no capability to ask for this. Its Wayland plugins (wayland, wayland-egl, ...)
    // report every window at the origin, as the protocol keeps positions from clients.
    window.positionKnown = !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    const QRect frame = frameGeometry();
    window.position = {toTwips(frame.left()), toTwips(frame.top())};
    window.size = toTwips(frame.size());
    window.screen = screenTwips();
    closeStep(game_.state(), window, {sound_, *clocks_, endProcess_});
}

// Every way of closing the window ends here; the close step ends the process itself.
void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Form1::buildControls() {
    QWidget* previousInTabOrder = nullptr;
    for (const auto& control : layout::Controls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case layout::Kind::Button: {
                auto* button = new QPushButton(toQString(control.caption), this);
                // Enter belongs to the entry box; no button may take it as a default button.
                button->setAutoDefault(false);
                button->setDefault(false);
                button->setFocusPolicy(Qt::StrongFocus);
                widget = button;
                break;
            }
            case layout::Kind::TextBox: {
                auto* edit = new QLineEdit(toQString(control.caption), this);
                edit->setAlignment(toAlignment(control.align));
                // The rules decide what a guess may hold; the box takes any text of any length.
                edit->setMaxLength(std::numeric_limits<int>::max());
                edit->setFocusPolicy(Qt::StrongFocus);
                if (control.colours)
                    setColours(edit, *control.colours, QPalette::Base, QPalette::Text);
                text_ = edit;
                widget = edit;
                break;
            }
            case layout::Kind::Label: {
                auto* label = new ValueLabel(this);
                label->setText(toQString(control.caption));
                label->setAlignment(toAlignment(control.align));
                styleLabel(label, control.colours, control.border);
                if (control.name == "Labelncoup")
                    labelncoup_ = label;
                widget = label;
                break;
            }
        }
        widget->setObjectName(toQString(control.name));
        widget->setGeometry(toPixels(control.geometry));
        widget->setFont(makeFont(control.font));
        if (widget->focusPolicy() != Qt::NoFocus)
            widget->setStyle(focusStyle_);
        if (!control.accessibleName.empty())
            widget->setAccessibleName(toQString(control.accessibleName));
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previousInTabOrder != nullptr)
                setTabOrder(previousInTabOrder, widget);
            previousInTabOrder = widget;
        }
    }
    for (int n = MinLength; n <= MaxLength; ++n) {
        lengthButtons_.at(static_cast<std::size_t>(n - MinLength)) =
            findChild<QPushButton*>(QStringLiteral("Command%1ch").arg(n));
    }
    commandv_ = findChild<QPushButton*>(QStringLiteral("Commandv"));
    buttons_ = {lengthButtons_[0],
                lengthButtons_[1],
                lengthButtons_[2],
                commandv_,
                findChild<QPushButton*>(QStringLiteral("Commandmoins")),
                findChild<QPushButton*>(QStringLiteral("Commandplus"))};
}

void Form1::buildCells() {
    const QFont font = makeFont(layout::CellFont);
    for (const auto& column : layout::CellColumns) {
        for (int row = 0; row < BoardRows; ++row) {
            auto* label = new ValueLabel(this);
            label->setObjectName(QStringLiteral("%1_%2").arg(toQString(column.name)).arg(row));
            label->setProperty("column", toQString(column.name));
            label->setProperty("row", row);
            label->setGeometry(toPixels(layout::cellGeometry(column, row)));
            label->setFont(font);
            label->setAlignment(toAlignment(column.align));
            styleLabel(label, column.colours, true);
            label->setAccessibleName(QStringLiteral("vide"));
            cells_.at(static_cast<std::size_t>(column.column)).at(static_cast<std::size_t>(row)) =
                label;
        }
    }
}

// The decorative frames are drawn, not built: as widgets a screen reader would list each of them.
// The form draws them all, back to front, behind its controls; a label that a frame lies over
// draws that frame again over itself.
void Form1::drawFrames(QPainter& painter, const QRect& area, bool overLabelsOnly) const {
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.frameShape = QFrame::Panel;
    option.state |= QStyle::State_Sunken;
    for (auto it = layout::Frames.rbegin(); it != layout::Frames.rend(); ++it) {
        option.rect = toPixels(it->geometry);
        if ((!overLabelsOnly || it->layer == layout::Layer::OverLabels) &&
            option.rect.intersects(area)) {
            style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, this);
        }
    }
}

void Form1::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    drawFrames(painter, event->rect(), false);
}

void Form1::buildFrames() {
    for (auto* label : findChildren<ValueLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        const bool under = std::any_of(layout::Frames.begin(), layout::Frames.end(), [&](auto& f) {
            return f.layer == layout::Layer::OverLabels &&
                   toPixels(f.geometry).intersects(label->geometry());
        });
        if (!under)
            continue;
        label->setOverlay([this, label](QPainter& painter) {
            painter.translate(-label->pos());
            drawFrames(painter, label->geometry(), true);
        });
    }

    // Stack back to front: the labels, then the buttons and the entry box in front of them.
    auto raise = [this](std::string_view name) {
        findChild<QWidget*>(toQString(name), Qt::FindDirectChildrenOnly)->raise();
    };
    for (const auto& control : layout::Controls) {
        if (control.kind == layout::Kind::Label)
            raise(control.name);
    }
    for (const auto& column : cells_) {
        for (ValueLabel* label : column)
            label->raise();
    }
    for (const auto& control : layout::Controls) {
        if (control.kind != layout::Kind::Label)
            raise(control.name);
    }
}

void Form1::connectEvents() {
    for (int n = MinLength; n <= MaxLength; ++n) {
        connect(lengthButtons_.at(static_cast<std::size_t>(n - MinLength)), &QPushButton::clicked,
                this, [this, n] { act([this, n] { game_.CommandCh_Click(n); }); });
    }
    connect(commandv_, &QPushButton::clicked, this,
            [this] { act([this] { game_.Commandv_Click(); }); });
    connect(buttons_[4], &QPushButton::clicked, this,
            [this] { act([this] { game_.Commandmoins_Click(); }); });
    connect(buttons_[5], &QPushButton::clicked, this,
            [this] { act([this] { game_.Commandplus_Click(); }); });
    for (QPushButton* button : buttons_)
        button->installEventFilter(this);
    text_->installEventFilter(this);

    for (const auto& row : layout::Shortcuts) {
        auto* button = findChild<QPushButton*>(toQString(row.button));
        auto* shortcut = new QShortcut(QKeySequence(toQString(row.keys)), this);
        connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
        // The button's name is read already; the tooltip adds only the keys.
        button->setToolTip(toQString(row.spoken));
    }
    new DigitShortcuts(*this);
}

void Form1::act(const std::function<void()>& run) {
    run();
    announcer_.announce(outcomeText(game_.outcome()));
}

ValueLabel* Form1::cell(Column column, int row) const {
    return cells_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

void Form1::setCaption(Column column, int row, std::string_view text) {
    cell(column, row)->setCaption(toQString(text));
    nameCell(column, row);
}

void Form1::setRowGuess(int row, int guess) {
    if (std::exchange(rowGuess_.at(static_cast<std::size_t>(row)), guess) == guess)
        return;
    for (int c = 0; c < ColumnCount; ++c)
        nameCell(static_cast<Column>(c), row);
}

// Rereading the board, a blind player hears which guess and which place a cell is about.
void Form1::nameCell(Column column, int row) {
    ValueLabel* label = cell(column, row);
    static const QString Empty = QStringLiteral("vide");
    QString name = Empty;
    if (!label->text().isEmpty()) {
        const int guess = rowGuess_.at(static_cast<std::size_t>(row));
        name = guess == 0 ? QStringLiteral("Code, ") : QStringLiteral("Coup %1, ").arg(guess);
        name += toQString(layout::CellColumns.at(static_cast<std::size_t>(column)).accessibleStem);
        if (column != Column::Bon && column != Column::Mal) {
            // A three-digit code sits in the three middle columns.
            const int first = game_.state().NbChiffres == 3 ? 1 : 0;
            name += QStringLiteral(" %1").arg(static_cast<int>(column) - first + 1);
        }
    }
    if (label->accessibleName() != name)
        label->setAccessibleName(name);
}

void Form1::setCellVisible(Column column, int row, bool visible) {
    cell(column, row)->setVisible(visible);
}

std::string Form1::entryText() const {
    return text_->text().toStdString();
}

// A character takes one or two UTF-16 units, so twice as many units hold at least as many whole
// characters.
std::string Form1::entryStart(std::size_t characters) const {
    const auto units = static_cast<qsizetype>(std::min<std::size_t>(
        characters * 2, static_cast<std::size_t>(std::numeric_limits<qsizetype>::max())));
    return text_->text().left(units).toStdString();
}

void Form1::setEntryText(std::string_view text) {
    text_->setText(toQString(text));
}

void Form1::setLabelncoup(std::string_view text) {
    labelncoup_->setCaption(toQString(text));
}

void Form1::giveFocus(FocusTarget target) {
    QWidget* widget = text_;
    switch (target) {
        case FocusTarget::Text:
            break;
        case FocusTarget::Command3ch:
            widget = lengthButtons_[0];
            break;
        case FocusTarget::Command4ch:
            widget = lengthButtons_[1];
            break;
        case FocusTarget::Command5ch:
            widget = lengthButtons_[2];
            break;
    }
    widget->setFocus(Qt::OtherFocusReason);
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

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_)
        return textKeyPress(event);
    for (QPushButton* button : buttons_) {
        if (watched != button)
            continue;
        // Enter acts on the focused button as Space does. Only on a fresh press: the release of
        // the Enter that ended a turn, or its auto-repeat, reaches the button that the turn gave
        // the focus to, and must not start a game there.
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!isEnter(key))
                return false;
            if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
                button->click();
            return true;
        }
        buttonMouseSound(button, event);
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

bool Form1::textKeyPress(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = isEnter(key);
    const QString typed = key->text();
    // Keys that type nothing (arrows, Shift, F1...) never reach the rules.
    if (!enter && typed.isEmpty())
        return false;
    auto KeyAscii = enter ? KeyEnter : static_cast<std::int16_t>(typed.front().unicode());
    if (enter) {
        act([this, &KeyAscii] { game_.Text_KeyPress(KeyAscii); });
    } else {
        game_.Text_KeyPress(KeyAscii);
    }
    return KeyAscii == 0;
}

// The sound follows the mouse button whichever it is, so it is taken here before QPushButton,
// which only answers the left button. The release comes to the pressed button wherever the
// pointer is, because the window grabs the mouse for it until the button goes up.
void Form1::buttonMouseSound(QPushButton* button, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            Tic(sound_, game_.state().SonFlags);
            break;
        case QEvent::MouseButtonRelease:
            if (button != commandv_)
                Toc(sound_, game_.state().SonFlags);
            break;
        default:
            break;
    }
}

}  // namespace kelo
