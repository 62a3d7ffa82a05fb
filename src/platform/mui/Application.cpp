#include "platform/mui/Application.h"

#include <QApplication>

namespace MUI {

Application::Application(int& argc, char** argv)
    : application_(std::make_unique<QApplication>(argc, argv))
{
}

Application::~Application() = default;

void* Application::Instance() { return QCoreApplication::instance(); }

}  // namespace MUI
