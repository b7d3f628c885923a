// Quillet: a desktop editor for PHP web pages.
#include "QuilletApp.h"

int main(int argc, char** argv)
{
    CQuilletApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitInstance(app.ExitCode());
    return app.ExitInstance(app.exec());
}
