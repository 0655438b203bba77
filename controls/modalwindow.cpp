#include "controls/modalwindow.h"

#include <QDialog>

namespace kelvane {

namespace {

std::function<void(QDialog &)> &modalHandler()
{
    static std::function<void(QDialog &)> handler;
    return handler;
}

} // namespace

void showModal(QDialog &window)
{
    if (modalHandler()) {
        modalHandler()(window);
        return;
    }
    window.setWindowModality(Qt::ApplicationModal);
    window.exec();
}

void setModalHandler(std::function<void(QDialog &)> handler)
{
    modalHandler() = std::move(handler);
}

} // namespace kelvane
