#include "mainwindowlook.h"

#include "look.h"
#include "mainwindow.h"

#include <QColor>
#include <QPalette>

namespace kelvane {

namespace {

const QColor kWindowBack(64, 64, 64);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kTeal(0, 128, 128);
const QColor kBlue(0, 0, 192);
const QColor kButtonFace(192, 192, 192);

QWidget *control(MainWindow &window, const char *name)
{
    return window.findChild<QWidget *>(QLatin1String(name));
}

void setColours(QWidget *widget,
                std::initializer_list<std::pair<QPalette::ColorRole, QColor>> roles)
{
    QPalette palette = widget->palette();
    for (const auto &[role, colour] : roles)
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    setColours(widget, {{QPalette::WindowText, colour}, {QPalette::Text, colour}});
}

void setDriveListColours(QWidget *driveList, const QColor &back)
{
    setColours(driveList, {{QPalette::Button, back},
                           {QPalette::Base, back},
                           {QPalette::Window, back},
                           {QPalette::ButtonText, kWhite},
                           {QPalette::Text, kWhite},
                           {QPalette::WindowText, kWhite}});
    // Styles shade a drop-down's face; the drive lists keep their flat colour.
    driveList->setStyleSheet(QStringLiteral("QComboBox { background-color: %1; color: white; "
                                            "border: 1px solid %2; padding-left: 3px; }")
                                 .arg(back.name(), back.darker(160).name()));
}

QFont fontFor(const char *name)
{
    static const QStringList strong = {QStringLiteral("cmdHelp"),    QStringLiteral("lblNewName"),
                                       QStringLiteral("txtNewName"), QStringLiteral("cmdDoIt"),
                                       QStringLiteral("lblSavedTo"), QStringLiteral("txtSavedTo")};
    const QString control = QLatin1String(name);
    if (control == QLatin1String("lblTitle"))
        return titleFont();
    return strong.contains(control) ? strongFont() : captionFont();
}

} // namespace

void applyLook(MainWindow &window)
{
    window.setWindowIcon(appIcon());
    // The drive lists keep the default interface font.
    for (const char *name : {"lblTitle", "cmdHelp", "lblSkins", "lblProps", "DirSkins", "DirProps",
                             "Label1", "Label2", "FileSkins", "FileProps", "lblInfo", "lblNewName",
                             "txtNewName", "cmdDoIt", "lblSavedTo", "txtSavedTo"})
        control(window, name)->setFont(fontFor(name));

    setColours(&window, {{QPalette::Window, kWindowBack}});
    window.setAutoFillBackground(true);

    for (const char *name :
         {"lblTitle", "lblSkins", "lblProps", "Label1", "Label2", "lblNewName", "lblSavedTo"})
        setTextColour(control(window, name), kWhite);
    setTextColour(control(window, "lblInfo"), kTeal);
    setTextColour(control(window, "DirSkins"), kBlack);
    setTextColour(control(window, "DirProps"), kBlack);

    setDriveListColours(control(window, "DrvSkins"), kTeal);
    setDriveListColours(control(window, "DrvProps"), kBlue);
    setColours(control(window, "cmdDoIt"), {{QPalette::Button, kButtonFace}});
}

} // namespace kelvane
