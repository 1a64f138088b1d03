// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"
#include "ui/Application.h"

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    return RunTrimwise(app);
}
