#include "ui/help/helpwindow.h"

#include "controls/modalwindow.h"
#include "controls/windowplacement.h"
#include "ui/help/helptext.h"
#include "ui/look/look.h"
#include "ui/look/palette.h"
#include "ui/look/twips.h"
#include "version.h"

#include <QPlainTextEdit>

namespace kelvane {

HelpWindow::HelpWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral(KELVANE_TITLE));
    setWindowIcon(appIcon());
    setFixedSize(pixelsFromTwips(7830), pixelsFromTwips(4335));

    QPalette windowColours = palette();
    windowColours.setColor(QPalette::Window, colours::navy);
    setPalette(windowColours);
    setAutoFillBackground(true);

    auto *txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setAccessibleName(QStringLiteral("Kelvane help"));
    // The box starts above the client area, hiding its first lines of blanks.
    txtHelp->setGeometry(pixelsFromTwips(240), pixelsFromTwips(-240), pixelsFromTwips(7575),
                         pixelsFromTwips(4575));
    txtHelp->setFrameShape(QFrame::NoFrame);
    txtHelp->setFont(captionFont());
    QPalette textColours = txtHelp->palette();
    textColours.setColor(QPalette::Base, colours::navy);
    textColours.setColor(QPalette::Text, colours::white);
    txtHelp->setPalette(textColours);
    txtHelp->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtHelp->setReadOnly(true);
    txtHelp->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtHelp->setPlainText(helpText());
    txtHelp->setFocus();
}

void showHelp(QWidget *parent)
{
    HelpWindow help(parent);
    if (parent)
        centreOverOwner(help, *parent->window());
    showModal(help);
}

} // namespace kelvane
