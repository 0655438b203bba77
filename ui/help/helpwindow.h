#pragma once

#include <QDialog>

namespace kelvane {

// The fixed, read-only instructions, shown in a small navy dialog over Main.
class HelpWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpWindow)

public:
    explicit HelpWindow(QWidget *parent = nullptr);
};

// Shows a new Help window modally over parent and returns once the user has
// closed it. The window is destroyed on return, so every call starts again at
// the top of the text.
void showHelp(QWidget *parent);

} // namespace kelvane
