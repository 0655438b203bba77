#pragma once

#include <QString>

namespace kelvane {

// The instructions shown in the Help window: plain ASCII, every line ended by
// CR LF.
QString helpText();

} // namespace kelvane
