// Makes screen readers speak a sentence at once, wherever the keyboard focus is.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace kelo {

class Announcer {
  public:
    // The announcements come from an invisible child of `window`, which must outlive this.
    explicit Announcer(QWidget* window);

    // Spoken once; an empty text says nothing.
    void announce(const QString& text);

  private:
    QLabel* label_;
};

}  // namespace kelo
