// Starts the program: the forms layer's set-up, then the splash window,
// which opens the first calculator.
#include "app/windows.h"
#include "forms/application.h"

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);
    forms::setUpApplication(app);
    logo();
    return QApplication::exec();
}
