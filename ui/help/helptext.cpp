#include "ui/help/helptext.h"

#include <QFile>

namespace kelvane {

QString helpText()
{
    QFile file(QStringLiteral(":/kelvane/help.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("The help text is missing from the program's resources");
        return {};
    }
    return QString::fromLatin1(file.readAll());
}

} // namespace kelvane
