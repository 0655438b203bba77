#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace kelvane {

// The icons a message box shows: none, the exclamation mark or the question mark.
enum class MessageStyle { Plain, Exclamation, Question };

enum class MessageButton { Ok, Yes, No, CopyAndCreate, CreateOnly, CreateAnyway, Cancel };

struct Message {
    QString text;
    MessageStyle style;
    QString title;
    QList<MessageButton> buttons = {MessageButton::Ok};
    // Pressed by Enter; also the answer when the box is closed without a choice
    // in a box that has neither No nor Cancel.
    MessageButton defaultButton = MessageButton::Ok;
};

// A question answered by Yes or No, with No the default so that Enter changes nothing.
Message yesNoQuestion(const QString &title, const QString &text);

// Shows a modal message box and returns the button the user pressed once the
// box is closed. Escape and the close box answer Cancel or No where there is
// one. The text is shown as it is, never as rich text.
MessageButton showMessage(QWidget *parent, const Message &message);

// Replaces the box by a handler that receives each message instead, so that
// tests can see what would have been shown without a modal loop. An empty
// handler restores the real boxes.
void setMessageHandler(std::function<void(const Message &)> handler);

// The answer the next message given to the handler returns; later messages,
// and one with no answer set, return their default button.
void setNextAnswer(MessageButton answer);

} // namespace kelvane
