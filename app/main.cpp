// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Application.h"
#include "app/Startup.h"

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    return RunTrimwise(app);
}
