#include "mainwindowlook.h"

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
}

} // namespace

void applyLook(MainWindow &window)
{
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
