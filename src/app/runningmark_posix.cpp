#include "app/runningmark.h"

namespace kivrel {

tRunningMark::tRunningMark() = default;
tRunningMark::~tRunningMark() = default;

}  // namespace kivrel
