#pragma once

#include <QFont>

namespace kivrel {

// Arial, or where the system lacks it (Wine, a bare Linux) its metric twin: Qt's own stand-in
// for a missing family can be a serif face of other widths.
QFont ArialFont();

}  // namespace kivrel
