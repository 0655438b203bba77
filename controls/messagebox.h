#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace kelvane {

// The two kinds of message box the program shows: OK alone, with no icon or
// with the exclamation icon.
enum class MessageStyle { Plain, Exclamation };

struct Message {
    QString text;
    MessageStyle style;
    QString title;
};

// Shows a modal message box and returns when the user has closed it.
void showMessage(QWidget *parent, const Message &message);

// Replaces the box by a handler that receives each message instead, so that
// tests can see what would have been shown without a modal loop. An empty
// handler restores the real boxes.
void setMessageHandler(std::function<void(const Message &)> handler);

} // namespace kelvane
