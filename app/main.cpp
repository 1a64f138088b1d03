#include "Application.h"
#include "Startup.h"

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    return RunTrimwise(app);
}
