#include "controls/messagebox.h"

#include <QMessageBox>

namespace kelvane {

namespace {

std::function<void(const Message &)> &messageHandler()
{
    static std::function<void(const Message &)> handler;
    return handler;
}

} // namespace

void showMessage(QWidget *parent, const Message &message)
{
    if (messageHandler()) {
        messageHandler()(message);
        return;
    }
    const QMessageBox::Icon icon =
        message.style == MessageStyle::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(icon, message.title, message.text, QMessageBox::Ok, parent);
    // Screen readers read the box out by these.
    box.setAccessibleName(message.title);
    box.setAccessibleDescription(message.text);
    box.exec();
}

void setMessageHandler(std::function<void(const Message &)> handler)
{
    messageHandler() = std::move(handler);
}

} // namespace kelvane
