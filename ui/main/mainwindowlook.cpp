#include "ui/main/mainwindowlook.h"

#include "controls/widgetcolours.h"
#include "ui/look/look.h"
#include "ui/look/palette.h"
#include "ui/main/maincontroltable.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QPalette>

namespace kelvane {

namespace {

void setTextColour(QWidget &widget, const QColor &colour)
{
    setColours(widget, {{QPalette::WindowText, colour}, {QPalette::Text, colour}});
}

void setDriveListColours(QWidget &driveList, const QColor &back)
{
    setColours(driveList, {{QPalette::Button, back},
                           {QPalette::Base, back},
                           {QPalette::Window, back},
                           {QPalette::ButtonText, colours::white},
                           {QPalette::Text, colours::white},
                           {QPalette::WindowText, colours::white},
                           // The drop-down button is shaded from the face colour.
                           {QPalette::Light, back.lighter(115)},
                           {QPalette::Dark, back.darker(150)},
                           {QPalette::Shadow, back.darker(300)}});
}

void applyFont(QWidget &control, FontRole role)
{
    switch (role) {
    case FontRole::Default:
        return;
    case FontRole::Caption:
        return control.setFont(captionFont());
    case FontRole::Strong:
        return control.setFont(strongFont());
    case FontRole::Title:
        return control.setFont(titleFont());
    }
}

void applyColours(QWidget &control, ColourRole role)
{
    switch (role) {
    case ColourRole::Standard:
        return;
    case ColourRole::CaptionText:
        return setTextColour(control, colours::white);
    case ColourRole::InfoText:
        return setTextColour(control, colours::teal);
    case ColourRole::FolderText:
        return setTextColour(control, colours::black);
    case ColourRole::SkinsDrive:
        return setDriveListColours(control, colours::teal);
    case ColourRole::MeshDrive:
        return setDriveListColours(control, colours::blue);
    case ColourRole::ButtonFace:
        return setColours(control, {{QPalette::Button, colours::buttonFace}});
    }
}

} // namespace

void applyWindowLook(MainWindow &window)
{
    // The program's icon serves when it has one; reading the picture again
    // would only cost start-up time.
    if (QApplication::windowIcon().isNull())
        window.setWindowIcon(appIcon());
    setColours(window, {{QPalette::Window, colours::windowBack}});
    window.setAutoFillBackground(true);
}

void applyLook(QWidget &control, const MainControlRow &row)
{
    applyFont(control, row.font);
    applyColours(control, row.colour);
    // A selection stays as visible as it was when its list loses the focus;
    // some styles fade it to a grey that can hardly be seen.
    QPalette palette = control.palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    control.setPalette(palette);
}

} // namespace kelvane
