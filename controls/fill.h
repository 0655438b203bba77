#pragma once

class QWidget;

namespace kelvane {

// Whether a control hands the focus to the widget inside it.
enum class InnerFocus { None, Forwarded };

// Lays inner over the whole of control, which forwards its focus there when
// asked to.
void fillWith(QWidget &control, QWidget &inner, InnerFocus focus);

} // namespace kelvane
