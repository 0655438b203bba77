#include "controls/commandbutton.h"

#include "controls/fill.h"
#include "controls/focusframe.h"
#include "controls/widgetcolours.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>

namespace kelvane {

namespace {

// The style a button is drawn with so that its face takes the palette's
// colour: the native styles of Windows draw their own face and ignore it, so
// the classic Windows style stands in for them; other styles are kept.
QStyle *paletteRespectingStyle()
{
    const QString name = QApplication::style()->name();
    if (!name.startsWith(QLatin1StringView("windowsvista")) &&
        !name.startsWith(QLatin1StringView("windows11")))
        return nullptr;
    static QStyle *const classic = QStyleFactory::create(QStringLiteral("windows"));
    return classic;
}

} // namespace

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QWidget(parent), m_button(new QPushButton(caption, this))
{
    fillWith(*this, *m_button, InnerFocus::Forwarded);
    new FocusFrame(*m_button, QPalette::Highlight);
    m_button->setAutoDefault(true);
    showPaletteFace(*m_button);
    connect(m_button, &QPushButton::clicked, this, &CommandButton::clicked);
}

void showPaletteFace(QPushButton &button)
{
    if (QStyle *style = paletteRespectingStyle())
        button.setStyle(style);
}

QPushButton *facedButton(const QString &caption, const QString &name, const QRect &geometry,
                         const QFont &font, const QColor &face, QWidget *window)
{
    auto *button = new QPushButton(caption, window);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(font);
    setColours(*button, {{QPalette::Button, face}});
    showPaletteFace(*button);
    return button;
}

} // namespace kelvane
