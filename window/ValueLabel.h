// A board label whose caption screen readers read as its text, under the label's own name.
#pragma once

#include <QLabel>
#include <functional>

namespace kelo {

class ValueLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ValueLabel(QWidget* parent);

    // Sets the caption and, unless told not to, tells assistive technology that the text changed.
    void setCaption(const QString& caption);
    void setTellsTextChanges(bool tells) { tellsTextChanges_ = tells; }

    // Makes QAccessible build ValueLabel's interface; safe to call more than once.
    static void registerAccessibility();

    // Drawn over the label after the label itself, in the label's coordinates.
    void setOverlay(std::function<void(QPainter&)> overlay);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<void(QPainter&)> overlay_;
    bool tellsTextChanges_ = true;
};

}  // namespace kelo
