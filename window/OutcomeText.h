// The French sentence a screen reader speaks for what the rules just did.
#pragma once

#include <QString>

#include "Outcome.h"

namespace kelo {

// Empty when there is nothing to say.
QString outcomeText(const Outcome& outcome);

}  // namespace kelo
