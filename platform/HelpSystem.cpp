#include "HelpSystem.h"

THelpSystem::THelpSystem() = default;
THelpSystem::~THelpSystem() = default;

bool THelpSystem::HelpCommand(const QString&, int, quintptr)
{
    return false;
}

void THelpSystem::Shutdown() {}
