#include "controls/messagebox.h"

#include "controls/windowplacement.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

#include <optional>

namespace kelvane {

namespace {

struct Seam {
    std::function<void(const Message &)> handler;
    std::optional<MessageButton> nextAnswer;
};

Seam &seam()
{
    static Seam seam;
    return seam;
}

// Centred over its owner's frame, as the Help window is. The box takes its
// size only as it is shown, so it is placed then, before it is mapped.
class CentredMessageBox final : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        if (parentWidget() && !event->spontaneous())
            centreOverOwner(*this, *parentWidget()->window());
    }
    // What is copied holds the paths as they are, without the breaks.
    void keyPressEvent(QKeyEvent *event) override
    {
        QMessageBox::keyPressEvent(event);
        if (event == QKeySequence::Copy)
            if (QClipboard *clipboard = QGuiApplication::clipboard())
                clipboard->setText(clipboard->text().remove(kBreak));
    }

public:
    static constexpr QChar kBreak{0x200b};
};

// The text with a zero-width space where a long word (a path, a mesh name)
// may wrap: after each separator in it, or every kLongestPiece characters, so
// that it wraps inside the box instead of widening it past the screen.
QString wrappableText(const QString &text)
{
    constexpr qsizetype kLongestPiece = 24;
    const auto isSeparator = [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('_') ||
               c == QLatin1Char('-') || c == QLatin1Char('.');
    };
    QString wrappable;
    qsizetype wordStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !text[i].isSpace())
            continue;
        const QStringView word = QStringView(text).mid(wordStart, i - wordStart);
        qsizetype piece = 0;
        for (const QChar c : word) {
            wrappable.append(c);
            if (word.size() > kLongestPiece && (isSeparator(c) || ++piece >= kLongestPiece)) {
                wrappable.append(CentredMessageBox::kBreak);
                piece = 0;
            }
        }
        if (i < text.size())
            wrappable.append(text[i]);
        wordStart = i + 1;
    }
    return wrappable;
}

QMessageBox::Icon iconOf(MessageStyle style)
{
    switch (style) {
    case MessageStyle::Exclamation:
        return QMessageBox::Warning;
    case MessageStyle::Question:
        return QMessageBox::Question;
    case MessageStyle::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

// The standard buttons stand in for every answer; those without a standard
// text of their own get one.
QMessageBox::StandardButton standardButtonOf(MessageButton button)
{
    switch (button) {
    case MessageButton::Yes:
        return QMessageBox::Yes;
    case MessageButton::No:
        return QMessageBox::No;
    case MessageButton::CopyAndCreate:
        return QMessageBox::Apply;
    case MessageButton::CreateOnly:
    case MessageButton::CreateAnyway:
        return QMessageBox::Ignore;
    case MessageButton::Cancel:
        return QMessageBox::Cancel;
    case MessageButton::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QString textOf(MessageButton button)
{
    switch (button) {
    case MessageButton::CopyAndCreate:
        return QStringLiteral("&Copy and Create");
    case MessageButton::CreateOnly:
        return QStringLiteral("Create &Only");
    case MessageButton::CreateAnyway:
        return QStringLiteral("Create &Anyway");
    default:
        return {};
    }
}

MessageButton answerOf(int pressed, const Message &message)
{
    for (const MessageButton button : message.buttons) {
        if (standardButtonOf(button) == pressed)
            return button;
    }
    for (const MessageButton refusal : {MessageButton::Cancel, MessageButton::No}) {
        if (message.buttons.contains(refusal))
            return refusal;
    }
    return message.defaultButton;
}

} // namespace

Message yesNoQuestion(const QString &title, const QString &text)
{
    return {text,
            MessageStyle::Question,
            title,
            {MessageButton::Yes, MessageButton::No},
            MessageButton::No};
}

MessageButton showMessage(QWidget *parent, const Message &message)
{
    if (seam().handler) {
        seam().handler(message);
        const MessageButton answer = seam().nextAnswer.value_or(message.defaultButton);
        seam().nextAnswer.reset();
        return answer;
    }
    QMessageBox::StandardButtons buttons;
    for (const MessageButton button : message.buttons)
        buttons |= standardButtonOf(button);
    CentredMessageBox box(iconOf(message.style), message.title, wrappableText(message.text),
                          buttons, parent);
    // Names and bytes from files are shown as they are.
    box.setTextFormat(Qt::PlainText);
    for (const MessageButton button : message.buttons) {
        if (const QString text = textOf(button); !text.isEmpty())
            box.button(standardButtonOf(button))->setText(text);
    }
    box.setDefaultButton(standardButtonOf(message.defaultButton));
    // Screen readers read the box out by these.
    box.setAccessibleName(message.title);
    box.setAccessibleDescription(message.text);
    return answerOf(box.exec(), message);
}

void setMessageHandler(std::function<void(const Message &)> handler)
{
    seam().handler = std::move(handler);
    seam().nextAnswer.reset();
}

void setNextAnswer(MessageButton answer)
{
    seam().nextAnswer = answer;
}

} // namespace kelvane
