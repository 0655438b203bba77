#include "ui/help/about.h"

#include "controls/messagebox.h"
#include "version.h"

#include <QStringList>

namespace kelvane {

QString aboutText()
{
    const QString credit = QStringLiteral("Kelvane was developed by the Kelvane developers.") +
                           QStringLiteral(" By using this program") +
                           QStringLiteral(" you agree to the following terms:");
    const QStringList lines{
        credit,
        QStringLiteral("1. You use this program at your own risk."),
        QStringLiteral("2. Back up your game files before you let it replace any of them."),
        QString(),
        QStringLiteral("Copyright \u00a9 2026 the Kelvane developers"),
    };
    return lines.join(QStringLiteral("\r\n"));
}

void showAbout(QWidget *parent)
{
    showMessage(parent, {aboutText(), MessageStyle::Plain,
                         QStringLiteral("About Kelvane " KELVANE_VERSION)});
}

} // namespace kelvane
